// Finding the line family's point under a screen position: pointers, points, segments, stair
// legs, ribbons and areas, and the pointer-click event.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "chart/engine/AxisPanel.h"
#include "chart/series/LineSeries.h"

namespace chart {

namespace {

// Squared distance from (x, y) to the segment (x0, y0)-(x1, y1), pixels squared.
double DistanceSquared(double x, double y, gfx::TPoint a, gfx::TPoint b) {
    const double dx = static_cast<double>(b.X) - a.X;
    const double dy = static_cast<double>(b.Y) - a.Y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0) {
        t = std::clamp(((x - a.X) * dx + (y - a.Y) * dy) / lengthSquared, 0.0, 1.0);
    }
    const double ex = a.X + t * dx - x;
    const double ey = a.Y + t * dy - y;
    return ex * ex + ey * ey;
}

// (x, y) lies within reach pixels of the segment a-b.
bool NearSegment(int32_t x, int32_t y, gfx::TPoint a, gfx::TPoint b, double reach) {
    return DistanceSquared(x, y, a, b) <= reach * reach;
}

// A line drawn with a pen of the width is hit within half its width plus half a pixel, so a
// one-pixel line is hit on its own pixels and on those beside them.
double LineReach(int32_t penWidth) {
    return (std::max(penWidth, 1) + 1) / 2.0;
}

// A polygon's outline pixels count as inside.
constexpr double kEdgeReach = 0.5;

// (x, y) lies inside the polygon (alternate rule) or on one of its edges.
bool InPolygon(std::span<const gfx::TPoint> points, int32_t x, int32_t y) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const gfx::TPoint a = points[i];
        const gfx::TPoint b = points[j];
        if (NearSegment(x, y, a, b, kEdgeReach)) {
            return true;
        }
        if ((a.Y > y) != (b.Y > y)) {
            const double crossX = a.X + (static_cast<double>(y) - a.Y) * (b.X - a.X) / (b.Y - a.Y);
            if (x < crossX) {
                inside = !inside;
            }
        }
    }
    return inside;
}

}  // namespace

bool TCustomSeries::PointerHit(int32_t /*index*/, int32_t px, int32_t py, int32_t x,
                               int32_t y) const {
    return std::abs(x - px) < m_pointer->HorizSize() && std::abs(y - py) < m_pointer->VertSize();
}

bool TCustomSeries::SegmentHit(int32_t px, int32_t py, int32_t previousOrigin, int32_t x, int32_t y,
                               int32_t origin, int32_t sx, int32_t sy, int32_t wx,
                               int32_t wy) const {
    const TCustomAxisPanel& chart = *ParentChart();
    const TChartCanvas3D& canvas = chart.Canvas();
    const bool is3D = chart.View3D();
    // The legs as drawn: one segment, or two stair legs meeting at the corner.
    std::array<gfx::TPoint, 3> legs{{{px, py}, {x, y}, {x, y}}};
    if (m_stairs) {
        legs[1] = m_invertedStairs ? gfx::TPoint{px, y} : gfx::TPoint{x, py};
    }
    const bool lineDrawn = m_connectPoints && (!is3D || m_lineBrush != gfx::TBrushStyle::bsClear);
    if (lineDrawn || m_drawArea) {
        for (size_t k = 0; k < 2; ++k) {
            const gfx::TPoint a = legs[k];
            const gfx::TPoint b = legs[k + 1];
            if (is3D) {
                const std::array<gfx::TPoint, 4> ribbon{canvas.ProjectToPoint(a.X, a.Y, StartZ()),
                                                        canvas.ProjectToPoint(b.X, b.Y, StartZ()),
                                                        canvas.ProjectToPoint(b.X, b.Y, EndZ()),
                                                        canvas.ProjectToPoint(a.X, a.Y, EndZ())};
                if (InPolygon(ribbon, sx, sy)) {
                    return true;
                }
            } else if (NearSegment(wx, wy, a, b, LineReach(m_linePen->Width()))) {
                return true;
            }
        }
    }
    if (m_drawArea) {
        const int32_t topLeft = m_stairs ? legs[1].Y : py;
        const int32_t topRight = m_stairs ? topLeft : y;
        const std::array<gfx::TPoint, 4> area{
            {{px, topLeft}, {x, topRight}, {x, origin}, {px, previousOrigin}}};
        if (InPolygon(area, wx, wy)) {
            return true;
        }
    }
    return false;
}

int32_t TCustomSeries::PointAtScreen(int32_t x, int32_t y) {
    TCustomAxisPanel* chart = ParentChart();
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    if (chart == nullptr || first < 0 || last < first) {
        return -1;
    }
    // The position on the series' front depth plane.
    int32_t wx = x;
    int32_t wy = y;
    chart->Canvas().ScreenToWorld(wx, wy, StartZ());
    bool havePrevious = false;
    gfx::TPoint previous;
    int32_t previousOrigin = 0;
    for (int32_t i = first; i <= last; ++i) {
        // A null point is not drawn, nor are the segments into and out of it.
        if (PointColor(i) == gfx::clNone) {
            havePrevious = false;
            continue;
        }
        const int32_t px = PointScreenX(i);
        const int32_t py = LineScreenY(i);
        const int32_t origin = OriginPixel(i);
        if (m_pointer->Visible() && PointerHit(i, px, py, wx, wy)) {
            if (m_onClickPointer) {
                m_onClickPointer(*this, i, x, y);
            }
            return i;
        }
        if (px == wx && py == wy) {
            return i;
        }
        if (havePrevious && m_segmentsClickable &&
            SegmentHit(previous.X, previous.Y, previousOrigin, px, py, origin, x, y, wx, wy)) {
            return i - 1;
        }
        previous = {px, py};
        previousOrigin = origin;
        havePrevious = true;
    }
    return -1;
}

}  // namespace chart
