// The off-screen bitmap: sizing, monochrome conversion, files and assignment.
#include "gfx/Bitmap.h"

#include <algorithm>

#include "classes/Properties.h"
#include "gfx/Canvas.h"
#include "gfx/ImageFiles.h"

namespace gfx {

namespace {
// Channel sum at or above which a colour counts as white on a monochrome bitmap.
constexpr int kMonochromeThreshold = 3 * 128;
}  // namespace

TColorRef MonochromeOf(TColorRef color) {
    int sum = GetRValue(color) + GetGValue(color) + GetBValue(color);
    return sum >= kMonochromeThreshold ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

TBitmap::TBitmap() : m_canvas(std::make_unique<TCanvas>(*this)) {
    m_canvas->SetOnChange([this] { Changed(); });
}

TBitmap::TBitmap(int32_t width, int32_t height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || int64_t{width} * height > kMaxBitmapPixels) {
        throw EInvalidGraphic("Invalid bitmap size " + std::to_string(width) + " x " +
                              std::to_string(height));
    }
    if (width == m_width && height == m_height) {
        return;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height),
                                 RGB(255, 255, 255));
    int32_t keepW = std::min(width, m_width);
    int32_t keepH = std::min(height, m_height);
    for (int32_t y = 0; y < keepH; ++y) {
        std::copy_n(ScanLine(y), keepW,
                    pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width));
    }
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value == m_monochrome) {
        return;
    }
    m_monochrome = value;
    if (value) {
        std::transform(m_pixels.begin(), m_pixels.end(), m_pixels.begin(), MonochromeOf);
    }
    Changed();
}

void TBitmap::LoadFromFile(const std::string& path) {
    TImageData image = ReadImageFile(path);
    m_width = image.Width;
    m_height = image.Height;
    m_pixels = std::move(image.Pixels);
    if (m_monochrome) {
        std::transform(m_pixels.begin(), m_pixels.end(), m_pixels.begin(), MonochromeOf);
    }
    Changed();
}

void TBitmap::SaveToFile(const std::string& path) const {
    WritePng(path, TImageData{m_width, m_height, m_pixels});
}

void TBitmap::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TBitmap*>(&source);
    if (other == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    m_width = other->m_width;
    m_height = other->m_height;
    m_monochrome = other->m_monochrome;
    m_pixels = other->m_pixels;
    Changed();
}

const classes::TClassInfo& TBitmap::StaticClass() {
    static const classes::TClassInfo info("TBitmap", &TGraphicsObject::StaticClass());
    return info;
}

const classes::TClassInfo& TBitmap::ClassInfo() const {
    return StaticClass();
}

}  // namespace gfx
