// The fast line series: drawing with one pen, and the append that draws only the new segment.
#include "chart/series/FastLineSeries.h"

#include <algorithm>

#include "chart/engine/AxisPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

TFastLineSeries::TFastLineSeries(classes::TComponent* owner)
    : TChartSeries(owner), m_linePen(std::make_unique<TChartPen>([this] { RequestRepaint(); })) {
    SetIncludePointBeyondEnd(true);
    SetSinglePointResult(false);
    // The line takes the series' colour until the pen is given one of its own.
    m_linePen->SetColor(clSeriesDefault);
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::PrepareCanvas() {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    canvas.ApplyChartPen(*m_linePen);
    if (m_linePen->Color() == clSeriesDefault) {
        canvas.Pen().SetColor(SeriesColor());
    }
    chart.AdjustPenForPrinter(canvas.Pen());
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
}

void TFastLineSeries::MoveTo(int32_t x, int32_t y) {
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    if (ParentChart()->View3D()) {
        canvas.PenMoveToAtDepth(x, y, StartZ());
    } else {
        canvas.PenMoveTo(x, y);
    }
}

void TFastLineSeries::LineTo(int32_t x, int32_t y) {
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    if (ParentChart()->View3D()) {
        canvas.PenLineToAtDepth(x, y, StartZ());
    } else {
        canvas.PenLineTo(x, y);
    }
}

void TFastLineSeries::DrawPoints() {
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    if (ParentChart() == nullptr || first < 0 || last < first) {
        return;
    }
    PrepareCanvas();
    if (DrawsDense()) {
        DrawDense();
        return;
    }
    if (first == 0) {
        MoveTo(PointScreenX(0), PointScreenY(0));
    } else {
        MoveTo(PointScreenX(first - 1), PointScreenY(first - 1));
        LineTo(PointScreenX(first), PointScreenY(first));
    }
    int32_t oldX = PointScreenX(first);
    int32_t oldY = PointScreenY(first);
    for (int32_t i = first + 1; i <= last; ++i) {
        const int32_t x = PointScreenX(i);
        const int32_t y = PointScreenY(i);
        if (x != oldX || y != oldY) {
            LineTo(x, y);
            oldX = x;
            oldY = y;
        }
    }
}

bool TFastLineSeries::DrawsDense() const {
    const TCustomAxisPanel* chart = ParentChart();
    const TChartPen& pen = *m_linePen;
    // A styled pen's pattern would run on across the segments, a mixing mode would see the
    // shared ends twice, and 3D projects every point on its own.
    return chart != nullptr && !chart->View3D() && pen.Visible() &&
           pen.Style() == gfx::TPenStyle::psSolid && pen.Mode() == gfx::TPenMode::pmCopy &&
           !(pen.SmallDots() && pen.Width() == 1);
}

void TFastLineSeries::DrawDense() {
    // The point before the first visible one starts the line, as its move-to does.
    const int32_t first = FirstVisibleIndex();
    PointsToScreen(first > 0 ? first - 1 : first, LastVisibleIndex(), m_screen);
    const gfx::TPoint start = m_screen.front();
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    // Points on one pixel draw nothing one by one; a line of one place draws nothing at all.
    if (std::any_of(m_screen.begin(), m_screen.end(),
                    [&](const gfx::TPoint& p) { return p != start; })) {
        canvas.Polyline(m_screen);
    }
    // The pen stands where the line-to of the last point leaves it.
    canvas.PenMoveTo(m_screen.back().X, m_screen.back().Y);
}

void TFastLineSeries::RepaintAfterAdd(int32_t valueIndex) {
    if (m_autoRepaint || ParentChart() == nullptr) {
        RequestRepaint();
        return;
    }
    if (valueIndex == 0) {
        return;
    }
    // Only the new segment: the canvas draws on the window between paints.
    PrepareCanvas();
    MoveTo(PointScreenX(valueIndex - 1), PointScreenY(valueIndex - 1));
    LineTo(PointScreenX(valueIndex), PointScreenY(valueIndex));
    // The buffer lacks the segment: whatever paints the chart next draws it afresh rather
    // than copying the old picture over it.
    ParentChart()->Canvas().MarkBufferStale();
}

const classes::TClassInfo& TFastLineSeries::StaticClass() {
    using T = TFastLineSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TFastLineSeries", &TChartSeries::StaticClass())
            .Creatable()
            .Boolean("AutoRepaint", &T::AutoRepaint, &T::SetAutoRepaint, true)
            .Object("LinePen", [](T& s) -> gfx::TPen& { return s.LinePen(); })
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TFastLineSeries::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
