// The bar series' merged drawing: many flat bars on few plot columns reduced to the pixels they
// leave, each column's runs set once, instead of one rectangle per bar.
#include <algorithm>
#include <typeinfo>
#include <unordered_map>

#include "chart/engine/AxisPanel.h"
#include "chart/series/BarSeries.h"

namespace chart {

namespace {
// The pen and brush under which a drawn bar covers every pixel of its shape in its colours.
bool CoversItsShape(const TChartCanvas3D& canvas, const TChartPen& pen, const TChartBrush& brush) {
    if (brush.Style() != gfx::TBrushStyle::bsSolid) {
        return false;
    }
    if (!pen.Visible()) {
        // The device keeps the mode it had; the brush fills in it.
        return canvas.Pen().Mode() == gfx::TPenMode::pmCopy;
    }
    return pen.Style() == gfx::TPenStyle::psSolid && pen.Width() <= 1 &&
           pen.Mode() == gfx::TPenMode::pmCopy && !pen.SmallDots();
}
}  // namespace

void TCustomBarSeries::DrawPoints() {
    if (DrawsMerged()) {
        DrawMerged();
        return;
    }
    if (LeavesOutHidden()) {
        DrawUnhidden();
        return;
    }
    TChartSeries::DrawPoints();
}

bool TCustomBarSeries::DrawsMerged() const {
    const TCustomAxisPanel* chart = ParentChart();
    // Only the bar kinds themselves: a kind derived from them may draw its bars its own way.
    if (chart == nullptr || chart->View3D() || m_horizontal ||
        typeid(*this) != typeid(TBarSeries) || m_barStyle != TBarStyle::bsRectangle ||
        m_onGetBarStyle) {
        return false;
    }
    const gfx::TBrushStyle brush = m_barBrush->Style();
    if (brush != gfx::TBrushStyle::bsSolid && brush != gfx::TBrushStyle::bsClear) {
        return false;
    }
    const TChartPen& pen = *m_barPen;
    if (!pen.Visible()) {
        // The device keeps the mode it had; the brush fills in it.
        return chart->Canvas().Pen().Mode() == gfx::TPenMode::pmCopy;
    }
    return pen.Style() == gfx::TPenStyle::psSolid && pen.Width() <= 1 &&
           pen.Mode() == gfx::TPenMode::pmCopy && !pen.SmallDots();
}

bool TCustomBarSeries::LeavesOutHidden() const {
    const TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || !chart->View3D() || m_horizontal ||
        typeid(*this) != typeid(TBarSeries) || m_barStyle != TBarStyle::bsRectangle ||
        m_onGetBarStyle) {
        return false;
    }
    const TChartCanvas3D& canvas = chart->Canvas();
    return canvas.Is3D() && canvas.IsOrthogonal() && canvas.ZoomFactor() == 1.0 &&
           CoversItsShape(canvas, *m_barPen, *m_barBrush);
}

void TCustomBarSeries::DrawUnhidden() {
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    if (first < 0 || last < first) {
        return;
    }
    const TBarPlace place = Place();
    const bool ascending = DrawInAscendingOrder();
    // From the last drawn to the first: the boxes already met on each bar's columns, only
    // those not inside another.
    std::unordered_map<int32_t, std::vector<TCoveredRows>> later;
    std::vector<int32_t>& kept = m_kept;
    kept.clear();
    for (int32_t k = 0; k <= last - first; ++k) {
        const int32_t index = ascending ? last - k : first + k;
        if (PointColor(index) == gfx::clNone) {
            continue;
        }
        const TBarBounds bar = BarBoundsAt(index, place);
        std::vector<TCoveredRows>& boxes = later[bar.Left];
        const bool hidden = std::any_of(boxes.begin(), boxes.end(), [&](const TCoveredRows& box) {
            return box.Top <= bar.Top && box.Bottom >= bar.Bottom;
        });
        if (hidden) {
            continue;
        }
        kept.push_back(index);
        std::erase_if(boxes, [&](const TCoveredRows& box) {
            return bar.Top <= box.Top && bar.Bottom >= box.Bottom;
        });
        boxes.push_back({bar.Top, bar.Bottom});
    }
    for (auto index = kept.rbegin(); index != kept.rend(); ++index) {
        DrawPoint(*index);
    }
}

void TCustomBarSeries::Cover(std::vector<TCoveredRows>& covered, int32_t x, int32_t top,
                             int32_t bottom, gfx::TColor color,
                             std::vector<gfx::TColumnRun>& runs) {
    auto first = covered.begin();
    while (first != covered.end() && first->Bottom < top) {
        ++first;
    }
    auto last = first;
    int32_t at = top;
    int32_t low = top;
    int32_t high = bottom;
    // Runs that overlap or touch the new rows join them.
    for (; last != covered.end() && last->Top <= bottom; ++last) {
        if (last->Top > at) {
            runs.push_back({x, at, std::min(last->Top, bottom), color});
        }
        at = std::max(at, last->Bottom);
        low = std::min(low, last->Top);
        high = std::max(high, last->Bottom);
    }
    if (at < bottom) {
        runs.push_back({x, at, bottom, color});
    }
    if (first == last) {
        covered.insert(first, {low, high});
        return;
    }
    *first = {low, high};
    covered.erase(first + 1, last);
}

void TCustomBarSeries::DrawMerged() {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    const TBarPlace place = Place();
    std::vector<TFlatBar>& bars = m_flatBars;
    bars.clear();
    const gfx::TColor ownBrush = m_barBrush->Color();
    const auto collect = [&](int32_t index) {
        const gfx::TColor color = PointColor(index);
        if (color != gfx::clNone) {
            bars.push_back(
                {BarBoundsAt(index, place), ownBrush == clSeriesDefault ? color : ownBrush});
        }
    };
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    if (first < 0 || last < first) {
        return;
    }
    if (DrawInAscendingOrder()) {
        for (int32_t i = first; i <= last; ++i) {
            collect(i);
        }
    } else {
        for (int32_t i = last; i >= first; --i) {
            collect(i);
        }
    }
    if (bars.empty()) {
        return;
    }
    // The canvas as the last bar drawn point by point leaves it.
    canvas.ApplyChartPen(*m_barPen);
    chart.AdjustPenForPrinter(canvas.Pen());
    canvas.Brush().SetColor(bars.back().Brush);
    canvas.Brush().SetStyle(m_barBrush->Style());
    const bool pen = m_barPen->Visible();
    const bool fill = m_barBrush->Style() != gfx::TBrushStyle::bsClear;
    const gfx::TColor penColor = canvas.Pen().Color();

    // The clip's box in logical coordinates: nothing outside it is drawn.
    gfx::TCanvas& device = canvas.ReferenceCanvas();
    const gfx::TRect clip = device.DeviceClip().Bounds();
    const gfx::TPoint offset = device.LogicalToDevice({0, 0});
    const int32_t clipLeft = clip.Left - offset.X;
    const int32_t clipRight = clip.Right - offset.X;
    const int32_t clipTop = clip.Top - offset.Y;
    const int32_t clipBottom = clip.Bottom - offset.Y;
    if (clipLeft >= clipRight || clipTop >= clipBottom) {
        return;
    }
    m_covered.resize(static_cast<size_t>(clipRight - clipLeft));
    for (std::vector<TCoveredRows>& column : m_covered) {
        column.clear();
    }
    m_runs.clear();
    // The bars from the last drawn to the first: a pixel takes the colour of the first bar
    // over it in this order and is never drawn again.
    const auto paint = [&](int32_t x, int32_t top, int32_t bottom, gfx::TColor color) {
        top = std::max(top, clipTop);
        bottom = std::min(bottom, clipBottom);
        if (top >= bottom) {
            return;
        }
        Cover(m_covered[static_cast<size_t>(x - clipLeft)], x, top, bottom, color, m_runs);
    };
    for (auto bar = bars.rbegin(); bar != bars.rend(); ++bar) {
        // A rectangle: with a pen, a one-pixel outline on its edge columns and rows around the
        // brush; without, the brush over the whole bar.
        const auto [l, t, r, b] = bar->Bounds;
        if (t >= b) {
            continue;
        }
        const int32_t from = std::max(l, clipLeft);
        const int32_t to = std::min(r, clipRight);
        for (int32_t x = from; x < to; ++x) {
            if (!pen) {
                if (fill) {
                    paint(x, t, b, bar->Brush);
                }
            } else if (x == l || x == r - 1) {
                paint(x, t, b, penColor);
            } else {
                paint(x, t, t + 1, penColor);
                if (fill) {
                    paint(x, t + 1, b - 1, bar->Brush);
                }
                paint(x, b - 1, b, penColor);
            }
        }
    }
    device.FillColumns(m_runs);
}

}  // namespace chart
