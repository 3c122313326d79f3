// The line family's legend symbol: a stretch of its line, its pointer, or both.
#include <algorithm>

#include "chart/engine/AxisPanel.h"
#include "chart/series/LineSeries.h"

namespace chart {

void TCustomSeries::DrawLegendShape(int32_t index, const gfx::TRect& rect) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    const gfx::TColor color = index == -1 ? SeriesColor() : PointColor(index);
    // The line pen in the symbol's colour: across the middle when flat, the box in 3D.
    const auto lineSymbol = [&] {
        canvas.ApplyChartPen(*m_linePen);
        if (m_linePen->Visible()) {
            canvas.Pen().SetColor(color);
        }
        if (chart->View3D()) {
            canvas.RectFromBounds(rect);
        } else {
            canvas.HorzSegment(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
        }
    };
    if (!m_pointer->Visible()) {
        // A filled area shows as the base box in the series' colour, not as its outline line.
        if (!m_connectPoints || m_drawArea) {
            TChartSeries::DrawLegendShape(index, rect);
        } else {
            lineSymbol();
        }
        return;
    }
    if (m_connectPoints) {
        lineSymbol();
    }
    // The pointer in the middle, small enough to leave the line visible beside it.
    const int32_t w = rect.Width();
    const int32_t h = rect.Height();
    const int32_t hx = m_linePen->Visible() ? std::min(m_pointer->HorizSize(), w / 3)
                                            : std::min(m_pointer->HorizSize(), w / 2 + 1);
    const int32_t hy = m_linePen->Visible() ? std::min(m_pointer->VertSize(), h / 3)
                                            : std::min(m_pointer->VertSize(), h / 2 + 1);
    m_pointer->PrepareCanvas(canvas, color);
    m_pointer->DrawSizedShape(canvas, false, (rect.Left + rect.Right) / 2,
                              (rect.Top + rect.Bottom) / 2, 0, hx, hy, color, m_pointer->Style());
}

void TLineSeries::PrepareLegendCanvas(int32_t /*index*/, gfx::TColor& /*backColor*/,
                                      gfx::TBrushStyle& brushStyle) {
    ParentChart()->Canvas().ApplyChartPen(LinePen());
    brushStyle = LineBrush();
}

}  // namespace chart
