// The line family in depth and area: ribbons between the series' start and end depth with their
// front face and darker steep undersides, and the area's faces down to the origin pixels.
#include <array>

#include "chart/canvas/ChartColorMath.h"
#include "chart/engine/AxisPanel.h"
#include "chart/series/LineSeries.h"

namespace chart {

namespace {

// How much a ribbon face turned away from the light is darkened, per channel: the underside of
// a steep segment, the vertical leg of a stair step, the end side of an area.
constexpr int32_t kRibbonDarkening = 128;

// The segment from (x0, y0) to (x1, y1) rises more steeply on the screen than limit, so the
// ribbon's underside faces the viewer. A vertical rise is steeper than any limit.
bool SteeperThan(int32_t x0, int32_t y0, int32_t x1, int32_t y1, double limit) {
    const double rise = static_cast<double>(y0) - y1;
    const double run = static_cast<double>(x1) - x0;
    if (run == 0) {
        return rise > 0;
    }
    return rise / run > limit;
}

}  // namespace

gfx::TColor TCustomSeries::AreaFillColor(gfx::TColor pointColor) const {
    return m_areaColor == clSeriesDefault ? pointColor : m_areaColor;
}

void TCustomSeries::DrawRibbon(int32_t x0, int32_t y0, int32_t x1, int32_t y1, gfx::TColor fill,
                               gfx::TBrushStyle style) {
    TCustomAxisPanel& chart = *ParentChart();
    chart.ApplyBrush(fill, style, chart.Color());
    chart.Canvas().DepthQuad({x0, y0}, {x1, y1}, StartZ(), EndZ());
}

void TCustomSeries::DrawRibbonConnection(int32_t index, int32_t x, int32_t y, gfx::TColor color) {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    const int32_t px = m_previous.X;
    const int32_t py = m_previous.Y;
    const gfx::TColor fill = m_drawArea ? AreaFillColor(color) : color;
    const gfx::TColor darker = DarkenColor(fill, kRibbonDarkening);
    const gfx::TBrushStyle style = m_drawArea ? m_areaBrush : m_lineBrush;
    canvas.ApplyChartPen(*m_linePen);
    chart.AdjustPenForPrinter(canvas.Pen());
    if (m_stairs) {
        // Two legs, each its own ribbon; the vertical one darker.
        const int32_t cornerX = m_invertedStairs ? px : x;
        const int32_t cornerY = m_invertedStairs ? y : py;
        for (const auto& leg : {std::array<int32_t, 4>{px, py, cornerX, cornerY},
                                std::array<int32_t, 4>{cornerX, cornerY, x, y}}) {
            const bool vertical = leg[0] == leg[2];
            if (leg[0] != leg[2] || leg[1] != leg[3]) {
                DrawRibbon(leg[0], leg[1], leg[2], leg[3], vertical && m_dark3D ? darker : fill,
                           style);
            }
        }
    } else {
        const bool ownHeight = m_lineHeight > 0 && !m_drawArea;
        if (ownHeight) {
            // The ribbon's front: between the segment and its copy LineHeight pixels lower.
            chart.ApplyBrush(fill, style, chart.Color());
            canvas.QuadAtDepth(
                {gfx::TPoint{px, py}, gfx::TPoint{x, y}, gfx::TPoint{x, y + m_lineHeight},
                 gfx::TPoint{px, py + m_lineHeight}},
                StartZ());
        }
        const bool steep =
            m_dark3D && !canvas.RendersWholeScene() && SteeperThan(px, py, x, y, m_depthSlopeLimit);
        // A steep ribbon shows its underside, which lies at the bottom of the line's height.
        const int32_t shift = steep && m_lineHeight > 0 ? m_lineHeight : 0;
        DrawRibbon(px, py + shift, x, y + shift, steep ? darker : fill, style);
    }
    if (m_drawArea) {
        if (index == LastVisibleIndex() &&
            canvas.ProjectToPoint(x, y, EndZ()).X > canvas.ProjectToPoint(x, y, StartZ()).X) {
            // The area's right end faces the viewer.
            canvas.ApplyChartPen(*m_areaLinesPen);
            chart.ApplyBrush(m_dark3D ? darker : fill, m_areaBrush, chart.Color());
            canvas.VertRectAcrossDepth(x, y, m_currentOrigin, StartZ(), EndZ());
        }
        DrawAreaFace(px, py, m_previous.Origin, x, y, m_currentOrigin, color);
    }
    // A hatched brush made the background opaque; text drawn later must not get a box.
    canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
}

void TCustomSeries::DrawAreaFace(int32_t px, int32_t py, int32_t previousOrigin, int32_t x,
                                 int32_t y, int32_t origin, gfx::TColor color) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(*m_areaLinesPen);
    chart->AdjustPenForPrinter(canvas.Pen());
    chart->ApplyBrush(AreaFillColor(color), m_areaBrush, chart->Color());
    canvas.QuadAtDepth(AreaQuad({px, py, previousOrigin, x, y, origin, color}), StartZ());
    canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
}

std::array<gfx::TPoint, 4> TCustomSeries::AreaQuad(const TAreaCall& call) const {
    // Under a stair step the top is level: at the previous height, or at the new one when the
    // step goes up first.
    const int32_t topLeft =
        m_stairs ? (m_invertedStairs ? call.Y : call.PreviousY) : call.PreviousY;
    const int32_t topRight = m_stairs ? topLeft : call.Y;
    return {gfx::TPoint{call.PreviousX, topLeft}, gfx::TPoint{call.X, topRight},
            gfx::TPoint{call.X, call.Origin}, gfx::TPoint{call.PreviousX, call.PreviousOrigin}};
}

}  // namespace chart
