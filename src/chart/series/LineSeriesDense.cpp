// The line family's dense drawing: a flat line with a solid pen and no pointers, with more
// visible points than plot columns, drawn as one polyline per colour instead of per segment.
#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "chart/engine/AxisPanel.h"
#include "chart/series/LineSeries.h"

namespace chart {

namespace {

// The smallest and the largest x and y of some points.
struct TPixelBounds {
    gfx::TPoint Low;
    gfx::TPoint High;
};

// PixelBounds of a non-empty run of points, four coordinates at a time.
TPixelBounds PixelBounds(std::span<const gfx::TPoint> points) {
    using TLanes = int32_t __attribute__((vector_size(16)));  // x, y, x, y
    const gfx::TPoint p0 = points.front();
    TLanes low = {p0.X, p0.Y, p0.X, p0.Y};
    TLanes high = low;
    static_assert(sizeof(gfx::TPoint) * 2 == sizeof(TLanes), "two points fill the lanes");
    const auto* bytes = reinterpret_cast<const unsigned char*>(points.data());
    const size_t pairs = points.size() / 2;
    for (size_t i = 0; i < pairs; ++i) {
        TLanes lanes;
        std::memcpy(&lanes, bytes + i * sizeof lanes, sizeof lanes);
        low = lanes < low ? lanes : low;
        high = lanes > high ? lanes : high;
    }
    const gfx::TPoint pn = points.back();
    return {{std::min({low[0], low[2], pn.X}), std::min({low[1], low[3], pn.Y})},
            {std::max({high[0], high[2], pn.X}), std::max({high[1], high[3], pn.Y})}};
}

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
    // Only the line series itself: a kind derived from it may draw its points its own way
    // (DrawPoint, PointColor), whether or not it names a class of its own. The polylines
    // carry no area.
    if (chart == nullptr || chart->View3D() || !m_connectPoints || m_drawArea ||
        m_pointer->Visible() || typeid(*this) != typeid(TLineSeries)) {
        return false;
    }
    const TChartPen& pen = *m_linePen;
    if (!pen.Visible() || pen.Style() != gfx::TPenStyle::psSolid ||
        pen.Mode() != gfx::TPenMode::pmCopy || (pen.SmallDots() && pen.Width() == 1)) {
        return false;
    }
    const int64_t visible = int64_t{LastVisibleIndex()} - FirstVisibleIndex() + 1;
    return FirstVisibleIndex() >= 0 && XValues().Order() == TChartListOrder::loAscending &&
           visible > std::max(chart->PlotRect().Width(), 1);
}

void TCustomSeries::DrawDense() {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    TPolylineRuns runs(canvas, chart, *m_linePen);
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    std::vector<gfx::TPoint>& screen = m_denseScreen;
    // The point before the first visible one is mapped too: its place is taken by the start of
    // the segment that comes into the plot.
    const int32_t from = first > 0 ? first - 1 : first;
    PointsToScreen(from, last, screen);
    const std::span<const gfx::TPoint> visible(screen.data() + (first - from),
                                               static_cast<size_t>(last - first + 1));
    if (!m_stairs && SeriesColor() != gfx::clNone && PointsTakeSeriesColor(from, last) &&
        DrawDenseLine(first > 0)) {
        return;
    }
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
        const auto [x, y] = visible[static_cast<size_t>(index - first)];
        if (!InPixelRange(x) || !InPixelRange(y)) {
            // Before the first point in range the previous point is of an earlier paint: the
            // next point starts from its own position.
            previous.Color = lastDrawn >= 0 ? color : gfx::clNone;
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
    m_drawnInPaint = lastDrawn >= 0;
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

bool TCustomSeries::DrawDenseLine(bool fromEdge) {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    std::vector<gfx::TPoint>& line = m_denseScreen;
    const std::span<const gfx::TPoint> visible = std::span(line).subspan(fromEdge ? 1 : 0);
    const TPixelBounds bounds = PixelBounds(visible);
    if (!InPixelRange(bounds.Low.X) || !InPixelRange(bounds.Low.Y) ||
        !InPixelRange(bounds.High.X) || !InPixelRange(bounds.High.Y)) {
        return false;
    }
    if (fromEdge) {
        // The segment coming into the plot from the point before the first visible one.
        const bool inverted = chart.SeriesAxisInverted(*this, true);
        const int32_t edgeX = inverted ? chart.PlotRect().Right : chart.PlotRect().Left;
        line.front() = {edgeX, EdgeStartY(first, edgeX)};
    }
    // A point in the place of the one before it draws nothing, in the polyline as point by
    // point, and ends no segment; a line of one place draws nothing at all.
    const size_t count = line.size();
    const bool lastConnected = count >= 2 && line[count - 1] != line[count - 2];
    const bool onePlace = bounds.Low == bounds.High && line.front() == bounds.Low;
    const gfx::TColor color = SeriesColor();
    if (!onePlace) {
        TPolylineRuns(canvas, chart, *m_linePen).ApplyPen(color);
        canvas.Polyline(line);
    }
    // Leave the canvas and the previous point as the point-by-point walk does.
    canvas.Pen().SetColor(lastConnected ? color : gfx::clBlack);
    canvas.Brush().SetColor(color);
    const gfx::TPoint end = line.back();
    m_previous = {end.X, end.Y, OriginPixel(last), color};
    m_drawnInPaint = true;
    return true;
}

}  // namespace chart
