// Internal pieces of the line stroker: the spans of wide-pen segments and round ends without a
// mask, and the column-run painter of dense polylines.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/Raster.h"

namespace gfx::detail {

// Scan-converts a four-point polygon with the alternate rule exactly as ScanPolygon does, but
// without allocating and stepping the edges from row to row. Calls span(y, x0, x1) for rows in
// [rowTop, rowBottom), top to bottom, runs left to right.
template <class Span>
void ScanQuad(const std::array<TPoint, 4>& quad, int32_t rowTop, int32_t rowBottom, Span&& span);

// The four corners of a slanted wide segment's body: its sides are offset from the centre line
// by round(wx / 2) and round((wx + 1) / 2), wx = width |dy| / length, likewise in y with |dx|.
std::array<TPoint, 4> WideSegmentQuad(TPoint a, TPoint b, int32_t width);

// Calls span(y, x0, x1) for the rows in [rowTop, rowBottom) of the body of a wide segment from
// a to b, its ends not included: a horizontal segment at y covers rows [y - w/2, y - w/2 + w)
// and columns [min, max), a vertical one the same turned, a slanted one its quadrilateral.
template <class Span>
void WideSegmentSpans(TPoint a, TPoint b, int32_t width, int32_t rowTop, int32_t rowBottom,
                      Span&& span);

// A round end or join of a wide pen: an elliptic dot of width x width pixels whose top-left
// corner is (x - width / 2, y - width / 2). Rows and columns relative to that corner, inclusive.
struct TRoundDot {
    std::vector<TRowExtent> Rows;     // per row: first and last column
    std::vector<TRowExtent> Columns;  // per column: first and last row
    // Every column is one run and holds the centre row (width / 2), so a dot stacked on a
    // vertical body of the same width covers whole runs per column.
    bool ColumnsAreRuns = false;
};
// The dot of a width, built once per width and kept.
const TRoundDot& RoundDot(int32_t width);

// Calls span(y, x0, x1) for the rows in [rowTop, rowBottom) of the round dot at the point.
template <class Span>
void RoundDotSpans(TPoint at, int32_t width, int32_t rowTop, int32_t rowBottom, Span&& span) {
    const TRoundDot& dot = RoundDot(width);
    const int32_t left = at.X - width / 2;
    const int32_t top = at.Y - width / 2;
    const int32_t first = std::max(0, rowTop - top);
    const int32_t end = std::min(width, rowBottom - top);
    for (int32_t r = first; r < end; ++r) {
        const TRowExtent& row = dot.Rows[static_cast<size_t>(r)];
        span(top + r, left + row.First, left + row.Last + 1);
    }
}

// Whether painting a pixel twice in the mode leaves what painting it once does, so overlapping
// pieces of one outline may be painted straight into the bitmap.
bool PaintingTwiceIsOnce(TPenMode mode);

// Fewer points than this are not worth a column pass.
constexpr size_t kMinDensePoints = 64;

// Whether DensePolyline pays for the polyline: x never turns back, and it has more points than
// the columns it spans (and at least kMinDensePoints). The pen's colour, mode and the clip are
// the caller's to check.
bool IsDensePolyline(std::span<const TPoint> points, int32_t width);

// Paints a polyline of a solid pen in one colour (copy mode) through a rectangular clip, one
// run per pixel column: the same pixels as stroking every segment (width 1: the LineTo rule;
// wider: bodies and round ends), found per column as the lowest and highest row covered. The
// points are those IsDensePolyline accepts: x never turns back.
void DensePolyline(const TSurface& surface, std::span<const TPoint> points, int32_t width,
                   uint32_t color);

// Pixels per vector step of the column runs' painter: 4 everywhere, 8 and 16 where the processor
// has the wider vector units (kAvx2Lanes, kAvx512Lanes).
constexpr size_t kAvx2Lanes = 8;
constexpr size_t kAvx512Lanes = 16;
// The widest step this processor takes.
size_t WidestDenseLanes();
// Makes this thread's dense polylines paint with the given step (at most the widest), or with
// the widest again for 0: each step is tested on the same polylines.
void ChooseDenseLanes(size_t lanes);

// ---------------------------------------------------------------------------------------------

namespace stroke {

// A non-horizontal edge of a polygon, top end first, stepped one row at a time: its crossing
// with row y is the first integer x at or right of it, ceil(num / dy), num = q dy + r.
struct TSteppedEdge {
    int64_t Y0 = 0;
    int64_t Y1 = 0;  // rows Y0 <= y < Y1
    int64_t Dy = 1;
    int64_t Q = 0;
    int64_t R = 0;  // 0 <= R < Dy
    int64_t StepQ = 0;
    int64_t StepR = 0;  // 0 <= StepR < Dy

    // The edge from top to bottom (top.Y < bottom.Y) placed at row.
    void Start(TPoint top, TPoint bottom, int64_t row) {
        Y0 = top.Y;
        Y1 = bottom.Y;
        Dy = Y1 - Y0;
        const int64_t dx = int64_t{bottom.X} - top.X;
        StepQ = dx / Dy;
        StepR = dx % Dy;
        if (StepR < 0) {
            StepR += Dy;
            --StepQ;
        }
        const __int128 num =
            static_cast<__int128>(top.X) * Dy + static_cast<__int128>(row - Y0) * dx;
        __int128 q = num / Dy;
        __int128 r = num % Dy;
        if (r < 0) {
            r += Dy;
            --q;
        }
        Q = static_cast<int64_t>(q);
        R = static_cast<int64_t>(r);
    }
    int64_t X() const { return R > 0 ? Q + 1 : Q; }
    void Step() {
        Q += StepQ;
        R += StepR;
        if (R >= Dy) {
            R -= Dy;
            ++Q;
        }
    }
};

// Keeps span ends within the range every caller clips against.
inline int32_t ClampSpanEnd(int64_t x) {
    constexpr int64_t kLimit = int64_t{1} << 30;
    return static_cast<int32_t>(std::clamp(x, -kLimit, kLimit));
}

}  // namespace stroke

template <class Span>
void ScanQuad(const std::array<TPoint, 4>& quad, int32_t rowTop, int32_t rowBottom, Span&& span) {
    int64_t minY = quad[0].Y;
    int64_t maxY = quad[0].Y;
    for (const TPoint& p : quad) {
        minY = std::min<int64_t>(minY, p.Y);
        maxY = std::max<int64_t>(maxY, p.Y);
    }
    const int64_t yStart = std::max<int64_t>(minY, rowTop);
    const int64_t yEnd = std::min<int64_t>(maxY, rowBottom);
    if (yStart >= yEnd) {
        return;
    }
    // Each edge starts at its top row or at the first row produced, whichever is lower.
    std::array<stroke::TSteppedEdge, 4> edges{};
    size_t count = 0;
    for (size_t i = 0; i < 4; ++i) {
        const TPoint& p = quad[i];
        const TPoint& q = quad[(i + 1) % 4];
        if (p.Y == q.Y) {
            continue;  // horizontal edges cover no row
        }
        const TPoint& top = p.Y < q.Y ? p : q;
        const TPoint& bottom = p.Y < q.Y ? q : p;
        edges[count++].Start(top, bottom, std::max<int64_t>(top.Y, yStart));
    }
    std::array<int64_t, 4> crossings{};
    for (int64_t y = yStart; y < yEnd; ++y) {
        size_t n = 0;
        for (size_t e = 0; e < count; ++e) {
            stroke::TSteppedEdge& edge = edges[e];
            if (edge.Y0 <= y && y < edge.Y1) {
                // Insertion keeps the crossings sorted.
                int64_t x = edge.X();
                size_t at = n++;
                while (at > 0 && crossings[at - 1] > x) {
                    crossings[at] = crossings[at - 1];
                    --at;
                }
                crossings[at] = x;
                edge.Step();
            }
        }
        const auto row = static_cast<int32_t>(y);
        for (size_t i = 0; i + 1 < n; i += 2) {
            if (crossings[i] < crossings[i + 1]) {
                span(row, stroke::ClampSpanEnd(crossings[i]),
                     stroke::ClampSpanEnd(crossings[i + 1]));
            }
        }
    }
}

template <class Span>
void WideSegmentSpans(TPoint a, TPoint b, int32_t width, int32_t rowTop, int32_t rowBottom,
                      Span&& span) {
    if (a == b) {
        return;
    }
    if (a.Y == b.Y) {
        const int32_t top = a.Y - width / 2;
        const int32_t first = std::max(top, rowTop);
        const int32_t end = std::min(top + width, rowBottom);
        for (int32_t y = first; y < end; ++y) {
            span(y, std::min(a.X, b.X), std::max(a.X, b.X));
        }
        return;
    }
    if (a.X == b.X) {
        const int32_t left = a.X - width / 2;
        const int32_t first = std::max(std::min(a.Y, b.Y), rowTop);
        const int32_t end = std::min(std::max(a.Y, b.Y), rowBottom);
        for (int32_t y = first; y < end; ++y) {
            span(y, left, left + width);
        }
        return;
    }
    ScanQuad(WideSegmentQuad(a, b, width), rowTop, rowBottom, span);
}

}  // namespace gfx::detail
