// Many rectangles in one call: the pixels of Rectangle drawn for each in turn, written straight
// into the rows when the pen is one solid pixel wide and the brush solid or clear, in copy mode.
#include <algorithm>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Raster.h"

namespace gfx {

void TCanvas::Rectangles(std::span<const TRect> rects) {
    const TPenStyle penStyle = m_pen.Style();
    const TBrushStyle brushStyle = m_brush.Style();
    const bool direct = m_pen.Mode() == TPenMode::pmCopy && PenWidth() == 1 &&
                        (penStyle == TPenStyle::psSolid || penStyle == TPenStyle::psInsideFrame ||
                         penStyle == TPenStyle::psClear) &&
                        (brushStyle == TBrushStyle::bsSolid || brushStyle == TBrushStyle::bsClear);
    if (!direct) {
        for (const TRect& rect : rects) {
            Rectangle(rect);
        }
        return;
    }
    const bool pen = PenVisible();
    const bool brush = BrushVisible();
    if (rects.empty() || (!pen && !brush)) {
        return;
    }
    Changing();
    const detail::TSurface surface = Surface();
    const TRegion& clip = *surface.Clip;
    const TRect bounds = clip.Bounds();
    const detail::TInk penInk = PenInk();
    const detail::TInk brushInk = BrushInk(TPenMode::pmCopy);
    // [x0, x1) on row y (a row of the clip's bounds) in the ink.
    const auto span = [&](int32_t y, int32_t x0, int32_t x1, const detail::TInk& ink) {
        if (!clip.IsRect()) {
            detail::FillSpan(surface, y, x0, x1, ink);
            return;
        }
        x0 = std::max(x0, bounds.Left);
        x1 = std::min(x1, bounds.Right);
        if (x0 < x1) {
            detail::FillPixels(surface.Pixels +
                                   static_cast<size_t>(y) * static_cast<size_t>(surface.Width) +
                                   static_cast<size_t>(x0),
                               static_cast<size_t>(x1 - x0), ink.Color);
        }
    };
    for (const TRect& rect : rects) {
        const TPoint a = LogicalToDevice({rect.Left, rect.Top});
        const TPoint b = LogicalToDevice({rect.Right, rect.Bottom});
        const TRect box(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X),
                        std::max(a.Y, b.Y));
        if (box.IsEmpty() || box.Intersect(bounds).IsEmpty()) {
            continue;
        }
        if (!pen) {
            // Without a pen the fill reaches one pixel less on the right and bottom.
            const int32_t end = std::min(box.LastY(), bounds.Bottom);
            for (int32_t y = std::max(box.Top, bounds.Top); y < end; ++y) {
                span(y, box.Left, box.LastX(), brushInk);
            }
            continue;
        }
        // The fill inside the outline, then the outline's edge rows and columns: the two never
        // share a pixel, so each row is done at once.
        const int32_t end = std::min(box.Bottom, bounds.Bottom);
        for (int32_t y = std::max(box.Top, bounds.Top); y < end; ++y) {
            if (y == box.Top || y == box.LastY()) {
                span(y, box.Left, box.Right, penInk);
                continue;
            }
            if (brush) {
                span(y, box.Left + 1, box.LastX(), brushInk);
            }
            span(y, box.Left, box.Left + 1, penInk);
            if (box.LastX() > box.Left) {
                span(y, box.LastX(), box.Right, penInk);
            }
        }
    }
    Changed();
}

}  // namespace gfx
