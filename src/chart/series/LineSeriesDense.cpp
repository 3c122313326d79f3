// The line family's dense drawing: a flat line with a solid pen and no pointers, with more
// visible points than plot columns, drawn as one polyline per colour instead of per segment.
#include <algorithm>

#include "chart/engine/AxisPanel.h"
#include "chart/series/LineSeries.h"

namespace chart {

namespace {

// Joins the segments of one paint into polylines of one colour, each drawn through the
// canvas when a segment does not continue the current one or changes colour. For a solid pen
// in copy mode the pixels are those of the segments drawn one by one, in the same order.
class TPolylineRuns {
  public:
    TPolylineRuns(TChartCanvas3D& canvas, TCustomAxisPanel& chart, const TChartPen& pen)
        : m_canvas(canvas), m_chart(chart), m_pen(pen) {}

    void Segment(int32_t x0, int32_t y0, int32_t x1, int32_t y1, gfx::TColor color) {
        if (m_points.empty() || color != m_color || m_points.back() != gfx::TPoint{x0, y0}) {
            Flush();
            m_color = color;
            m_points.push_back({x0, y0});
        }
        m_points.push_back({x1, y1});
    }

    void Flush() {
        if (m_points.size() >= 2) {
            ApplyPen(m_color);
            m_canvas.Polyline(m_points);
        }
        m_points.clear();
    }

    // The pen and brush a connection in this colour sets.
    void ApplyPen(gfx::TColor color) {
        m_canvas.ApplyChartPen(m_pen);
        m_chart.AdjustPenForPrinter(m_canvas.Pen());
        m_canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        m_canvas.Pen().SetColor(color);
    }

  private:
    TChartCanvas3D& m_canvas;
    TCustomAxisPanel& m_chart;
    const TChartPen& m_pen;
    std::vector<gfx::TPoint> m_points;
    gfx::TColor m_color = gfx::clNone;
};

}  // namespace

bool TCustomSeries::DrawsDense() const {
    const TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || chart->View3D() || !m_connectPoints || m_pointer->Visible() ||
        &ClassInfo() != &TLineSeries::StaticClass()) {
        return false;
    }
    const TChartPen& pen = *m_linePen;
    if (!pen.Visible() || pen.Style() != gfx::TPenStyle::psSolid ||
        pen.Mode() != gfx::TPenMode::pmCopy || (pen.SmallDots() && pen.Width() == 1)) {
        return false;
    }
    const int64_t visible = int64_t{LastVisibleIndex()} - FirstVisibleIndex() + 1;
    return FirstVisibleIndex() >= 0 && XValues().Order() == TChartListOrder::loAscending &&
           visible > chart->PlotRect().Width();
}

void TCustomSeries::DrawDense() {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    TPolylineRuns runs(canvas, chart, *m_linePen);
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    std::vector<gfx::TPoint> screen;
    PointsToScreen(first, last, screen);
    // The same walk as DrawPoint's, collecting segments instead of drawing each; the previous
    // point lives in a local during the walk.
    TPreviousPoint previous = m_previous;
    const auto connect = [&](int32_t x, int32_t y, gfx::TColor color) {
        const bool samePlace = x == previous.X && y == previous.Y;
        if (samePlace || color == gfx::clNone || previous.Color == gfx::clNone) {
            return false;
        }
        if (m_stairs && m_invertedStairs) {
            runs.Segment(previous.X, previous.Y, previous.X, y, color);
            runs.Segment(previous.X, y, x, y, color);
        } else if (m_stairs) {
            runs.Segment(previous.X, previous.Y, x, previous.Y, color);
            runs.Segment(x, previous.Y, x, y, color);
        } else {
            runs.Segment(previous.X, previous.Y, x, y, color);
        }
        return true;
    };
    int32_t lastDrawn = -1;      // the last point inside the pixel range
    bool lastConnected = false;  // whether a line led into it
    bool anyConnected = false;
    for (int32_t index = first; index <= last; ++index) {
        const gfx::TColor color = PointColor(index);
        const auto [x, y] = screen[static_cast<size_t>(index - first)];
        if (!InPixelRange(x) || !InPixelRange(y)) {
            previous.Color = color;
            continue;
        }
        if (previous.Color == gfx::clNone) {
            previous.X = x;
            previous.Y = y;
        }
        bool connected = false;
        if (index == first) {
            if (index > 0) {
                // The segment coming into the plot from the point before it.
                const bool inverted = chart.SeriesAxisInverted(*this, true);
                previous.X = inverted ? chart.PlotRect().Right : chart.PlotRect().Left;
                previous.Y = m_stairs ? PointScreenY(index - 1) : EdgeStartY(index, previous.X);
                if (PointColor(index - 1) != gfx::clNone) {
                    connected = connect(x, y, color);
                }
            }
        } else {
            connected = connect(x, y, color);
        }
        previous.X = x;
        previous.Y = y;
        previous.Color = color;
        lastDrawn = index;
        lastConnected = connected;
        anyConnected = anyConnected || connected;
    }
    runs.Flush();
    m_previous = previous;
    if (lastDrawn < 0) {
        return;
    }
    // Leave the canvas and the previous point as the point-by-point walk does.
    const gfx::TColor lastColor = PointColor(lastDrawn);
    if (anyConnected) {
        runs.ApplyPen(lastColor);
    }
    canvas.Pen().SetColor(lastConnected ? lastColor : gfx::clBlack);
    canvas.Brush().SetColor(lastColor);
    m_previous.Origin = OriginPixel(lastDrawn);
}

}  // namespace chart
