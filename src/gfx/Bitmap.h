// The off-screen bitmap: 32-bit pixels holding colour references, with its own canvas.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Colors.h"
#include "gfx/GraphicsObject.h"

namespace gfx {

class TCanvas;

class TBitmap : public TGraphicsObject {
  public:
    TBitmap();
    TBitmap(int32_t width, int32_t height);
    ~TBitmap() override;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    // Pixels. Keeps the overlapping old pixels; new ones are white. Negative sizes and sizes
    // beyond kMaxBitmapPixels raise EInvalidGraphic.
    void SetSize(int32_t width, int32_t height);
    void SetWidth(int32_t value) { SetSize(value, m_height); }
    void SetHeight(int32_t value) { SetSize(m_width, value); }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    // A monochrome bitmap holds only black and white: every colour drawn becomes the nearer
    // of the two, and switching it on converts the pixels already there.
    bool Monochrome() const { return m_monochrome; }
    void SetMonochrome(bool value);

    TCanvas& Canvas() { return *m_canvas; }
    const TCanvas& Canvas() const { return *m_canvas; }
    uint32_t* ScanLine(int32_t y) {
        return m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width);
    }
    const uint32_t* ScanLine(int32_t y) const {
        return m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width);
    }
    const std::vector<uint32_t>& Pixels() const { return m_pixels; }

    // PNG or 24/32-bit BMP; raises EInvalidGraphic with the reason.
    void LoadFromFile(const std::string& path);
    // Always PNG.
    void SaveToFile(const std::string& path) const;

    // Copies size, monochrome flag and pixels from another bitmap.
    void Assign(const classes::TPersistent& source) override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Largest pixel count of a bitmap (a quarter of a gigabyte of pixels).
    static constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

  private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_monochrome = false;
    std::vector<uint32_t> m_pixels;
    std::unique_ptr<TCanvas> m_canvas;
};

// The nearer of black and white to a colour reference.
TColorRef MonochromeOf(TColorRef color);

}  // namespace gfx
