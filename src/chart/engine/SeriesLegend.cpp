// A series' symbol in the chart's legend: its colour over the legend's and the shape.
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"

namespace chart {

void TChartSeries::DrawLegendSymbol(int32_t index, const gfx::TRect& rect) {
    TCustomAxisPanel* chart = ParentChart();
    // A series whose points have their own colours has no one colour to show for itself.
    if (chart == nullptr || (index == -1 && ColorEachPoint())) {
        return;
    }
    const gfx::TColor color = index == -1 ? SeriesColor() : LegendItemColor(index);
    if (color == gfx::clNone) {
        return;
    }
    gfx::TColor backColor = chart->LegendColor();
    gfx::TBrushStyle brushStyle = gfx::TBrushStyle::bsSolid;
    PrepareLegendCanvas(index, backColor, brushStyle);
    if (backColor == clSeriesDefault) {
        backColor = chart->LegendColor();
        if (backColor == clSeriesDefault) {
            backColor = chart->Color();
        }
    }
    chart->ApplyBrush(color, brushStyle, backColor);
    DrawLegendShape(index, rect);
}

void TChartSeries::DrawLegendShape(int32_t /*index*/, const gfx::TRect& rect) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.RectFromBounds(rect);
    // A symbol in the legend's own colour would vanish: on black it gets a white outline.
    if (canvas.Brush().Color() == chart->LegendColor() && chart->LegendColor() == gfx::clBlack) {
        canvas.Pen().SetColor(gfx::clWhite);
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.RectFromBounds(rect);
        canvas.Pen().SetColor(gfx::clBlack);
    }
}

}  // namespace chart
