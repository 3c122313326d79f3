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

}  // namespace

TSize TCanvas::TextExtent(const std::string& text) {
    TFontInstance* face = TTextEngine::Instance().InstanceFor(m_font, m_textScale);
    if (face == nullptr) {
        return {0, 0};
    }
    return {face->Utf8Width(text), face->Ascent() + face->Descent()};
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
    TFontInstance* face = TTextEngine::Instance().InstanceFor(m_font, m_textScale);
    if (face == nullptr) {
        return;
    }
    const TTextCell& cell = face->Cell(text, m_font.Style().Contains(TFontStyle::fsUnderline),
                                       m_font.Style().Contains(TFontStyle::fsStrikeOut));
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
        const TRect box(left, top, left + cell.Width, top + cell.Height());
        if (clip.IsRect() && box.Intersect(clip.Bounds()) == box) {
            // Wholly inside a rectangular clip (an axis label): the runs go straight in.
            for (int32_t row = 0; row < cell.Height(); ++row) {
                uint32_t* pixels =
                    surface.Pixels +
                    static_cast<size_t>(top + row) * static_cast<size_t>(surface.Width) +
                    static_cast<size_t>(left);
                if (opaque) {
                    detail::FillPixels(pixels, static_cast<size_t>(cell.Width), back.Color);
                }
                const auto r = static_cast<size_t>(row);
                for (uint32_t k = cell.RowRuns[r]; k < cell.RowRuns[r + 1]; ++k) {
                    const TTextRun& run = cell.Runs[k];
                    std::fill(pixels + run.First, pixels + run.End, ink.Color);
                }
            }
            return;
        }
        for (int32_t row = 0; row < cell.Height(); ++row) {
            int32_t y0 = top + row;
            if (opaque) {
                detail::FillSpan(surface, y0, left, left + cell.Width, back);
            }
            const auto r = static_cast<size_t>(row);
            for (uint32_t k = cell.RowRuns[r]; k < cell.RowRuns[r + 1]; ++k) {
                const TTextRun& run = cell.Runs[k];
                detail::FillSpan(surface, y0, left + run.First, left + run.End, ink);
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
