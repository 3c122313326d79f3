// A batch of pies (the slices of a pie chart): each wedge's rows are cut straight from its two
// rays by exact integer arithmetic, so a slice costs its own rows and pixels, not a test of
// every pixel of the whole ellipse; the pixels are those of the device pie.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/CanvasSector.h"
#include "gfx/Raster.h"

namespace gfx {

namespace {

using detail::TColumnRange;
using Wide = __int128;

// Beyond any column a row can have, yet far from overflowing when a centre is added.
constexpr int64_t kFar = std::numeric_limits<int64_t>::max() / 4;
// How far an ellipse grows on each axis to hold every pixel of the shape drawn in its box: the
// pixels stray from the exact curve by under a pixel, and the box's integer centre lies half a
// pixel from the curve's centre in an even box, pixels.
constexpr double kGrowth = 2.0;

// floor(n / d), d != 0, limited to +-kFar.
int64_t FloorDiv(Wide n, int64_t d) {
    constexpr Wide kNarrow = std::numeric_limits<int64_t>::max();
    if (n < kNarrow && n > -kNarrow) {
        const auto a = static_cast<int64_t>(n);
        int64_t q = a / d;
        if (a % d != 0 && ((a < 0) != (d < 0))) {
            --q;
        }
        return std::clamp(q, -kFar, kFar);
    }
    Wide q = n / d;
    if (n % d != 0 && ((n < 0) != (d < 0))) {
        --q;
    }
    return static_cast<int64_t>(std::clamp<Wide>(q, -kFar, kFar));
}

int64_t CeilDiv(Wide n, int64_t d) {
    return -FloorDiv(-n, d);
}

// A range of offsets from the centre column, both ends in; empty when Min > Max.
struct TOffsets {
    int64_t Min = -kFar;
    int64_t Max = kFar;
    bool Empty() const { return Min > Max; }
};
constexpr TOffsets kAll{};
constexpr TOffsets kNone{kFar, -kFar};

}  // namespace

int32_t TCanvas::TSector::RowColumns(int64_t y, std::array<TColumnRange, 2>& columns) const {
    const Wide vy = Wide{CentreY} - y;
    // Left of the start ray: StartY * vx <= StartX * vy.
    const Wide n = StartX * vy;
    TOffsets start;
    if (StartY > 0) {
        start = {-kFar, FloorDiv(n, StartY)};
    } else if (StartY < 0) {
        start = {CeilDiv(n, StartY), kFar};
    } else {
        start = n >= 0 ? kAll : kNone;
    }
    // Right of the end ray: EndY * vx >= EndX * vy.
    const Wide m = EndX * vy;
    TOffsets end;
    if (EndY > 0) {
        end = {CeilDiv(m, EndY), kFar};
    } else if (EndY < 0) {
        end = {-kFar, FloorDiv(m, EndY)};
    } else {
        end = m <= 0 ? kAll : kNone;
    }
    int32_t count = 0;
    const auto put = [&](TOffsets o) {
        if (!o.Empty()) {
            columns[static_cast<size_t>(count++)] = {CentreX + o.Min, CentreX + o.Max + 1};
        }
    };
    const Wide startEnd = Wide{StartX} * EndY - Wide{StartY} * EndX;
    if (startEnd > 0) {
        put({std::max(start.Min, end.Min), std::min(start.Max, end.Max)});
    } else if (startEnd < 0) {
        // Either side: two half-lines, joined where they meet.
        if (start.Empty() || end.Empty()) {
            put(start.Empty() ? end : start);
        } else {
            TOffsets low = start.Min <= end.Min ? start : end;
            TOffsets high = start.Min <= end.Min ? end : start;
            if (high.Min <= low.Max + 1) {
                put({low.Min, std::max(low.Max, high.Max)});
            } else {
                put(low);
                put(high);
            }
        }
    } else if (Wide{StartX} * EndX + Wide{StartY} * EndY > 0) {
        put(kAll);
    } else {
        put(start);
    }
    return count;
}

void TCanvas::Pies(std::span<const TPieWedge> wedges) {
    if (wedges.empty()) {
        return;
    }
    const bool pen = PenVisible();
    const bool solidPen =
        m_pen.Style() == TPenStyle::psSolid || m_pen.Style() == TPenStyle::psInsideFrame;
    if (m_pen.Mode() != TPenMode::pmCopy || (pen && (PenWidth() > 1 || !solidPen))) {
        // Dashes that follow the outline, wide outlines and mixing modes: one pie at a time.
        for (const TPieWedge& w : wedges) {
            m_brush.SetColor(w.Color);
            m_brush.SetStyle(w.Style);
            Pie(w.Box.Left, w.Box.Top, w.Box.Right, w.Box.Bottom, w.Start.X, w.Start.Y, w.End.X,
                w.End.Y);
        }
        return;
    }

    Changing();
    detail::TSurface surface = Surface();
    const TRect clip = surface.Clip->Bounds();
    const detail::TInk penInk = PenInk();
    // The rows of the last shape box, kept while the wedges share it (an unexploded pie).
    TRect64 rowsBox{0, 0, -1, -1};
    std::vector<detail::TRowParts> rows;
    int64_t rowsTop = 0;
    std::array<TColumnRange, 2> columns;
    // Paints the part of [from, to) inside the sector's columns and the clip's columns.
    const auto paint = [&](int32_t y, int32_t count, int64_t from, int64_t to,
                           const detail::TInk& ink) {
        from = std::max<int64_t>(from, clip.Left);
        to = std::min<int64_t>(to, clip.Right);
        for (int32_t k = 0; k < count; ++k) {
            const int64_t x0 = std::max(from, columns[static_cast<size_t>(k)].First);
            const int64_t x1 = std::min(to, columns[static_cast<size_t>(k)].End);
            if (x0 < x1) {
                detail::FillSpan(surface, y, static_cast<int32_t>(x0), static_cast<int32_t>(x1),
                                 ink);
            }
        }
    };

    for (const TPieWedge& w : wedges) {
        m_brush.SetColor(w.Color);
        m_brush.SetStyle(w.Style);
        const bool brush = BrushVisible();
        const TRect64 box = detail::BoxBetween(LogicalToDevice({w.Box.Left, w.Box.Top}),
                                               LogicalToDevice({w.Box.Right, w.Box.Bottom}));
        if (box.IsEmpty() || (!pen && !brush)) {
            continue;
        }
        const TPoint start = LogicalToDevice(w.Start);
        const TPoint end = LogicalToDevice(w.End);
        const TSector sector = TSector::Place(box, start.X, start.Y, end.X, end.Y);
        // Without a pen the fill reaches one pixel less on the right and bottom.
        const TRect64 shape = pen ? box : TRect64{box.Left, box.Top, box.LastX(), box.LastY()};
        const int64_t top = std::max<int64_t>(shape.Top, clip.Top);
        const int64_t bottom = std::min<int64_t>(shape.Bottom, clip.Bottom);
        if (shape.Left != rowsBox.Left || shape.Top != rowsBox.Top ||
            shape.Right != rowsBox.Right || shape.Bottom != rowsBox.Bottom) {
            rowsBox = shape;
            rowsTop = top;
            rows.clear();
            if (!shape.IsEmpty()) {
                detail::TShapeRows shapeRows(shape, detail::kWholeBox, detail::kWholeBox);
                for (int64_t y = top; y < bottom; ++y) {
                    if (pen) {
                        rows.push_back(shapeRows.Parts(y));
                    } else {
                        const detail::TWideRowExtent row = shapeRows.Row(y);
                        rows.push_back({row.First, row.Last, row.First, row.Last});
                    }
                }
            }
        }
        // A convex wedge lies between the rows of its corners on an ellipse grown enough to
        // hold every pixel of the shape, and reaches the top or bottom only when it holds the
        // straight up or down direction.
        int64_t first = top;
        int64_t last = bottom - 1;
        if (sector.Convex()) {
            const double a = static_cast<double>(box.Width() - 1) / 2.0 + kGrowth;
            const double b = static_cast<double>(box.Height() - 1) / 2.0 + kGrowth;
            const auto cornerY = [&](int64_t vx, int64_t vy) {
                const double dx = static_cast<double>(vx);
                const double dy = static_cast<double>(vy);
                return static_cast<double>(sector.CentreY) -
                       dy / std::sqrt(dx * dx / (a * a) + dy * dy / (b * b));
            };
            const double y0 = cornerY(sector.StartX, sector.StartY);
            const double y1 = cornerY(sector.EndX, sector.EndY);
            const auto cy = static_cast<double>(sector.CentreY);
            if (!sector.ContainsVector(0, 1)) {
                first =
                    std::max(first, static_cast<int64_t>(std::floor(std::min({cy, y0, y1}))) - 1);
            }
            if (!sector.ContainsVector(0, -1)) {
                last = std::min(last, static_cast<int64_t>(std::ceil(std::max({cy, y0, y1}))) + 1);
            }
        }
        const detail::TInk brushInk = BrushInk(m_pen.Mode());
        for (int64_t y = first; y <= last && !shape.IsEmpty(); ++y) {
            const int32_t count = sector.RowColumns(y, columns);
            if (count == 0) {
                continue;
            }
            const detail::TRowParts& p = rows[static_cast<size_t>(y - rowsTop)];
            const auto row = static_cast<int32_t>(y);
            if (!pen) {
                paint(row, count, p.First, p.Last + 1, brushInk);
                continue;
            }
            if (brush) {
                paint(row, count, p.LeftEnd + 1, p.RightStart, brushInk);
            }
            if (p.LeftEnd + 1 >= p.RightStart) {
                paint(row, count, p.First, p.Last + 1, penInk);
            } else {
                paint(row, count, p.First, p.LeftEnd + 1, penInk);
                paint(row, count, p.RightStart, p.Last + 1, penInk);
            }
        }
        if (pen) {
            // The radii over the fill, both ends in.
            const TPoint centre{static_cast<int32_t>(sector.CentreX),
                                static_cast<int32_t>(sector.CentreY)};
            const auto radius = [&](TPoint from, TPoint to) {
                detail::StepLine(from.X, from.Y, to.X, to.Y, clip,
                                 [&](int32_t x, int32_t y, int64_t) {
                                     detail::FillSpan(surface, y, x, x + 1, penInk);
                                 });
                if (clip.Contains(to.X, to.Y)) {
                    detail::FillSpan(surface, to.Y, to.X, to.X + 1, penInk);
                }
            };
            radius(sector.EndPoint, centre);
            radius(centre, sector.StartPoint);
        }
    }
    Changed();
}

}  // namespace gfx
