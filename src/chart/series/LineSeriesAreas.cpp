// The line family's flat area in batches: the segments collected during DrawPoint's walk, the
// fills of each colour in one canvas call, then the outlines and lines in their order.
#include <typeinfo>
#include <vector>

#include "chart/engine/AxisPanel.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/LineSeries.h"

namespace chart {

bool TCustomSeries::DrawsAreaBatch() const {
    const TCustomAxisPanel* chart = ParentChart();
    // Only the line and area series themselves: a kind derived from them may draw its area its
    // own way. A canvas that renders whole scenes may test depths against what it drew before.
    if (chart == nullptr || !m_drawArea || chart->View3D() || m_pointer->Visible() ||
        FirstVisibleIndex() < 0 || chart->Canvas().RendersWholeScene() ||
        (typeid(*this) != typeid(TAreaSeries) && typeid(*this) != typeid(TLineSeries))) {
        return false;
    }
    const TChartPen& outline = *m_areaLinesPen;
    const TChartPen& line = *m_linePen;
    if (!outline.Visible()) {
        // Nothing then covers a line's pixels in the column where the next fill starts, which
        // the fill drawn after the line would have covered.
        return !line.Visible();
    }
    // The outline must cover every pixel of its fill's first column (no dash gaps, no dots);
    // a line or outline wider than a pixel reaches into the next segment's fill.
    const bool thinLine =
        !line.Visible() || (line.Width() <= 1 && line.Mode() == gfx::TPenMode::pmCopy);
    return thinLine && outline.Style() == gfx::TPenStyle::psSolid && !outline.SmallDots() &&
           outline.Width() <= 1 && outline.Mode() == gfx::TPenMode::pmCopy;
}

void TCustomSeries::DrawAreaBatch() {
    std::vector<TAreaCall>& calls = m_areaCalls;
    calls.clear();
    m_areaTail = false;
    {
        const TCollecting collecting(m_collectAreas);
        TChartSeries::DrawPoints();
    }
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    // The quadrilaterals as the canvas places them. Each fill covers the columns from its left
    // edge up to, not including, its right edge; when no segment's columns go back, no fill
    // reaches a column an earlier outline or line drew in, but the first, whose pixels the
    // segment's own outline (its left edge, one pixel, solid) draws again. So all fills may come
    // first, and fills of one colour together.
    std::vector<gfx::TPoint> quads;
    quads.reserve(4 * calls.size());
    bool ordered = true;
    int32_t reached = INT32_MIN;
    for (const TAreaCall& call : calls) {
        for (const gfx::TPoint& corner : AreaQuad(call)) {
            quads.push_back(canvas.ProjectToPoint(corner.X, corner.Y, StartZ()));
        }
        const gfx::TPoint* q = &quads[quads.size() - 4];
        const int32_t left = q[0].X;
        const int32_t right = q[1].X;
        if (q[3].X != left || q[2].X != right || right < left || left < reached) {
            ordered = false;
            break;
        }
        reached = right;
    }
    if (!ordered) {
        for (const TAreaCall& call : calls) {
            DrawAreaFace(call.PreviousX, call.PreviousY, call.PreviousOrigin, call.X, call.Y,
                         call.Origin, call.Color);
            DrawFlatLine(call.PreviousX, call.PreviousY, call.X, call.Y, call.Color);
        }
    } else if (!calls.empty()) {
        gfx::TCanvas& device = canvas.ReferenceCanvas();
        // The fill's ink takes the outline pen's mode.
        canvas.ApplyChartPen(*m_areaLinesPen);
        chart.AdjustPenForPrinter(canvas.Pen());
        std::vector<uint8_t> done(calls.size(), 0);
        std::vector<gfx::TPoint> points;
        std::vector<int32_t> counts;
        for (size_t i = 0; i < calls.size(); ++i) {
            if (done[i] != 0) {
                continue;
            }
            const gfx::TColor fill = AreaFillColor(calls[i].Color);
            points.clear();
            counts.clear();
            for (size_t k = i; k < calls.size(); ++k) {
                if (done[k] == 0 && AreaFillColor(calls[k].Color) == fill) {
                    done[k] = 1;
                    points.insert(points.end(), quads.begin() + static_cast<ptrdiff_t>(4 * k),
                                  quads.begin() + static_cast<ptrdiff_t>(4 * k + 4));
                    counts.push_back(4);
                }
            }
            chart.ApplyBrush(fill, m_areaBrush, chart.Color());
            device.FillPolygons(points, counts);
        }
        canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
        for (size_t k = 0; k < calls.size(); ++k) {
            const TAreaCall& call = calls[k];
            canvas.ApplyChartPen(*m_areaLinesPen);
            chart.AdjustPenForPrinter(canvas.Pen());
            canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
            device.Polygon(std::span<const gfx::TPoint>(quads).subspan(4 * k, 4));
            DrawFlatLine(call.PreviousX, call.PreviousY, call.X, call.Y, call.Color);
        }
        // The brush and background the last segment's face left.
        chart.ApplyBrush(AreaFillColor(calls.back().Color), m_areaBrush, chart.Color());
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
    }
    if (m_areaTail) {
        // The colours DrawPoint set for the points after the last segment.
        canvas.Pen().SetColor(gfx::clBlack);
        canvas.Brush().SetColor(m_areaTailColor);
    }
}

}  // namespace chart
