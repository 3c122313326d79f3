// The device canvas' text: measurement, alignment, opaque cells and rotation by escapement.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Raster.h"
#include "gfx/TextEngine.h"

namespace gfx {

namespace {

// Tenths of a degree in a full turn.
constexpr int32_t kFullTurn = 3600;
constexpr uint32_t kHorizontalMask = kTaCenter;
constexpr uint32_t kVerticalMask = kTaBaseline;

// The text's cell as a coverage mask: glyphs, underline and strike-out.
struct TTextCell {
    int32_t Width = 0;
    int32_t Ascent = 0;
    int32_t Descent = 0;
    std::vector<uint8_t> Bits;  // Width x (Ascent + Descent)

    int32_t Height() const { return Ascent + Descent; }
    void Set(int32_t x, int32_t y) {
        if (x >= 0 && x < Width && y >= 0 && y < Height()) {
            Bits[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] = 1;
        }
    }
    bool Get(int32_t x, int32_t y) const {
        return x >= 0 && x < Width && y >= 0 && y < Height() &&
               Bits[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] !=
                   0;
    }
};

TTextCell RenderCell(TFontInstance& face, const std::u32string& text, TFontStyles style) {
    TTextCell cell;
    cell.Width = face.TextWidth(text);
    cell.Ascent = face.Ascent();
    cell.Descent = face.Descent();
    cell.Bits.assign(
        static_cast<size_t>(std::max(cell.Width, 0)) * static_cast<size_t>(cell.Height()), 0);
    int32_t penX = 0;
    for (char32_t c : text) {
        const TGlyph& glyph = face.Glyph(c);
        for (int32_t row = 0; row < glyph.Height; ++row) {
            for (int32_t col = 0; col < glyph.Width; ++col) {
                if (glyph.Bits[static_cast<size_t>(row * glyph.Width + col)] != 0) {
                    cell.Set(penX + glyph.Left + col, cell.Ascent - glyph.Top + row);
                }
            }
        }
        penX += glyph.Advance;
    }
    auto line = [&](int32_t top) {
        for (int32_t y = top; y < top + face.LineThickness(); ++y) {
            for (int32_t x = 0; x < cell.Width; ++x) {
                cell.Set(x, y);
            }
        }
    };
    if (style.Contains(TFontStyle::fsUnderline)) {
        line(cell.Ascent + face.UnderlineOffset());
    }
    if (style.Contains(TFontStyle::fsStrikeOut)) {
        line(cell.Ascent - face.StrikeOutOffset());
    }
    return cell;
}

}  // namespace

TSize TCanvas::TextExtent(const std::string& text) {
    TFontInstance* face = TTextEngine::Instance().InstanceFor(m_font);
    if (face == nullptr) {
        return {0, 0};
    }
    return {face->TextWidth(DecodeText(text)), face->Ascent() + face->Descent()};
}

void TCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
    if (text.empty()) {
        return;
    }
    Changing();
    DrawText(x, y, text);
    Changed();
}

void TCanvas::DrawText(int32_t x, int32_t y, const std::string& text) {
    TFontInstance* face = TTextEngine::Instance().InstanceFor(m_font);
    if (face == nullptr) {
        return;
    }
    TTextCell cell = RenderCell(*face, DecodeText(text), m_font.Style());
    if (cell.Width <= 0 || cell.Height() <= 0) {
        return;
    }
    // The cell's top-left corner relative to the reference point, in the text's own frame.
    int32_t offsetX = 0;
    switch (m_textAlign & kHorizontalMask) {
        case kTaCenter:
            offsetX = -(cell.Width / 2);
            break;
        case kTaRight:
            offsetX = -cell.Width;
            break;
        default:
            offsetX = 0;
            break;
    }
    int32_t baseline = 0;
    switch (m_textAlign & kVerticalMask) {
        case kTaBaseline:
            baseline = 0;
            break;
        case kTaBottom:
            baseline = -cell.Descent;
            break;
        default:
            baseline = cell.Ascent;
            break;
    }
    int32_t offsetY = baseline - cell.Ascent;
    TPoint origin = LogicalToDevice({x, y});
    detail::TSurface surface = Surface();
    const TRegion& clip = *surface.Clip;
    if (clip.IsEmpty()) {
        return;
    }
    detail::TInk ink{TPenMode::pmCopy, DeviceColor(m_font.Color()), nullptr, 0, false};
    detail::TInk back{TPenMode::pmCopy, DeviceColor(m_backColor), nullptr, 0, false};
    bool opaque = m_backMode == TBackMode::bmOpaque;

    int32_t angle = ((m_font.Orientation() % kFullTurn) + kFullTurn) % kFullTurn;
    if (angle == 0) {
        int32_t left = origin.X + offsetX;
        int32_t top = origin.Y + offsetY;
        for (int32_t row = 0; row < cell.Height(); ++row) {
            int32_t y0 = top + row;
            if (opaque) {
                detail::FillSpan(surface, y0, left, left + cell.Width, back);
            }
            const uint8_t* bits =
                cell.Bits.data() + static_cast<size_t>(row) * static_cast<size_t>(cell.Width);
            int32_t col = 0;
            while (col < cell.Width) {
                while (col < cell.Width && bits[col] == 0) {
                    ++col;
                }
                int32_t start = col;
                while (col < cell.Width && bits[col] != 0) {
                    ++col;
                }
                if (start < col) {
                    detail::FillSpan(surface, y0, left + start, left + col, ink);
                }
            }
        }
        return;
    }

    // Rotated: each device pixel centre is turned back into the text's frame and sampled.
    // Quarter turns use exact sines so that they stay pixel-exact.
    double radians = angle * std::numbers::pi / (kFullTurn / 2);
    double c = std::cos(radians);
    double s = std::sin(radians);
    if (angle % (kFullTurn / 4) == 0) {
        constexpr double kCos[] = {1, 0, -1, 0};
        constexpr double kSin[] = {0, 1, 0, -1};
        c = kCos[angle / (kFullTurn / 4)];
        s = kSin[angle / (kFullTurn / 4)];
    }
    // Corners of the cell turned counter-clockwise on the screen (y down).
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (int32_t cy : {offsetY, offsetY + cell.Height()}) {
        for (int32_t cx : {offsetX, offsetX + cell.Width}) {
            double dx = cx * c + cy * s;
            double dy = -cx * s + cy * c;
            minX = first ? dx : std::min(minX, dx);
            maxX = first ? dx : std::max(maxX, dx);
            minY = first ? dy : std::min(minY, dy);
            maxY = first ? dy : std::max(maxY, dy);
            first = false;
        }
    }
    TRect area(origin.X + static_cast<int32_t>(std::floor(minX)) - 1,
               origin.Y + static_cast<int32_t>(std::floor(minY)) - 1,
               origin.X + static_cast<int32_t>(std::ceil(maxX)) + 1,
               origin.Y + static_cast<int32_t>(std::ceil(maxY)) + 1);
    area = area.Intersect(clip.Bounds());
    for (int32_t py = area.Top; py < area.Bottom; ++py) {
        for (int32_t px = area.Left; px < area.Right; ++px) {
            double vx = px + 0.5 - origin.X;
            double vy = py + 0.5 - origin.Y;
            double u = vx * c - vy * s - offsetX;
            double v = vx * s + vy * c - offsetY;
            auto cu = static_cast<int32_t>(std::floor(u));
            auto cv = static_cast<int32_t>(std::floor(v));
            if (cu < 0 || cv < 0 || cu >= cell.Width || cv >= cell.Height()) {
                continue;
            }
            if (cell.Get(cu, cv)) {
                detail::FillSpan(surface, py, px, px + 1, ink);
            } else if (opaque) {
                detail::FillSpan(surface, py, px, px + 1, back);
            }
        }
    }
}

}  // namespace gfx
