// The picture: an optional bitmap loaded from or saved to a file, drawn into a rectangle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/Geometry.h"
#include "gfx/GraphicsObject.h"

namespace gfx {

class TBitmap;
class TCanvas;

class TPicture : public TGraphicsObject {
  public:
    TPicture();
    ~TPicture() override;

    // The picture's bitmap, or null when it holds none.
    const TBitmap* Graphic() const { return m_bitmap.get(); }
    // The picture's bitmap, created empty when it holds none; changes to it fire the
    // picture's change event.
    TBitmap& Bitmap();
    int32_t Width() const;   // pixels, 0 when empty
    int32_t Height() const;  // pixels, 0 when empty
    bool Empty() const;

    void Clear();
    // PNG or 24/32-bit BMP; on failure raises EInvalidGraphic and keeps the old picture.
    void LoadFromFile(const std::string& path);
    // PNG; raises EInvalidGraphic for an empty picture.
    void SaveToFile(const std::string& path) const;
    // Draws the picture stretched into the rectangle; nothing when empty.
    void Draw(TCanvas& canvas, const TRect& rect) const;

    // Copies another picture's bitmap (or its emptiness), or takes a copy of a bitmap.
    void Assign(const classes::TPersistent& source) override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    std::unique_ptr<TBitmap> m_bitmap;
};

}  // namespace gfx
