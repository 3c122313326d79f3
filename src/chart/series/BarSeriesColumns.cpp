// The bar series' merged drawing: many bars on few plot columns (rows for horizontal bars)
// reduced to the pixels they leave, each column's runs set once, instead of one rectangle or box
// per bar.
#include <algorithm>
#include <typeinfo>

#include "chart/canvas/ChartColorMath.h"
#include "chart/engine/AxisPanel.h"
#include "chart/series/BarSeries.h"

namespace chart {

namespace {

// A pen whose outlines are whole one-pixel lines in its colour (or no pen), and a copy mode in
// which the brush fills; the device keeps the mode it had when the pen is not visible.
bool SolidThinPen(const TChartCanvas3D& canvas, const TChartPen& pen) {
    if (!pen.Visible()) {
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
    TChartSeries::DrawPoints();
}

bool TCustomBarSeries::DrawsMerged() const {
    const TCustomAxisPanel* chart = ParentChart();
    // Only the bar kinds themselves: a kind derived from them may draw its bars its own way.
    if (chart == nullptr ||
        (typeid(*this) != typeid(TBarSeries) && typeid(*this) != typeid(THorizBarSeries)) ||
        m_barStyle != TBarStyle::bsRectangle || m_onGetBarStyle) {
        return false;
    }
    const TChartCanvas3D& canvas = chart->Canvas();
    const gfx::TBrushStyle brush = m_barBrush->Style();
    if (!chart->View3D()) {
        return (brush == gfx::TBrushStyle::bsSolid || brush == gfx::TBrushStyle::bsClear) &&
               SolidThinPen(canvas, *m_barPen);
    }
    // Boxes under the plain oblique projection: depth moves a point as far right as up.
    const int32_t depth = EndZ() - StartZ();
    const gfx::TPoint front = canvas.ProjectToPoint(0, 0, StartZ());
    const gfx::TPoint back = canvas.ProjectToPoint(0, 0, EndZ());
    return canvas.Is3D() && canvas.IsOrthogonal() && canvas.ZoomFactor() == 1.0 && depth > 0 &&
           back.X == front.X + depth && back.Y == front.Y - depth &&
           (brush == gfx::TBrushStyle::bsSolid || brush == gfx::TBrushStyle::bsClear) &&
           SolidThinPen(canvas, *m_barPen);
}

void TCustomBarSeries::DrawMergedBoxes(const TChartCanvas3D& canvas) {
    // Each box as the canvas draws it: the front face, the side face on the right and the top
    // face, each filled and then outlined, the sides darker with Dark3D. Under the oblique
    // projection the faces' edges are rows, columns and diagonals, so every column of a face
    // is a run of its colour between two outline pixels, or all outline; without a pen, the
    // fill leaves out the right and bottom edges.
    const int32_t depth = EndZ() - StartZ();
    const gfx::TPoint shift = canvas.ProjectToPoint(0, 0, StartZ());
    const bool pen = m_barPen->Visible();
    const bool fill = m_barBrush->Style() != gfx::TBrushStyle::bsClear;
    const gfx::TColor penColor = canvas.Pen().Color();
    const auto outlined = [&](int32_t x, int32_t top, int32_t bottom, bool edge,
                              gfx::TColor color) {
        // Rows [top, bottom] inclusive; drawn last to first, the outline before the fill.
        if (edge || bottom - top < 2) {
            PaintRows(x, top, bottom + 1, penColor);
            return;
        }
        PaintRows(x, top, top + 1, penColor);
        PaintRows(x, bottom, bottom + 1, penColor);
        if (fill) {
            PaintRows(x, top + 1, bottom, color);
        }
    };
    gfx::TColor lastBrush = gfx::clNone;
    gfx::TColor side = 0;
    gfx::TColor topColor = 0;
    for (auto bar = m_flatBars.rbegin(); bar != m_flatBars.rend(); ++bar) {
        if (bar->Brush != lastBrush) {
            lastBrush = bar->Brush;
            side = m_dark3D ? DarkenColor(lastBrush, kBoxSideDarkening) : lastBrush;
            topColor = m_dark3D ? DarkenColor(lastBrush, kBoxTopDarkening) : lastBrush;
        }
        const int32_t l = bar->Bounds.Left + shift.X;
        const int32_t r = bar->Bounds.Right + shift.X;
        const int32_t t = bar->Bounds.Top + shift.Y;
        const int32_t b = bar->Bounds.Bottom + shift.Y;
        for (int32_t x = std::max(l, m_mergeClip.Left);
             x <= std::min(r + depth, m_mergeClip.Right - 1); ++x) {
            // The box's rows in this column: from the top face's back edge to the front's or
            // the side's bottom edge.
            const int32_t top = t - std::min(depth, x - l);
            const int32_t bottom = x <= r ? b : b - (x - r);
            if (RowsDrawn(x, top, bottom + 1)) {
                continue;
            }
            if (pen) {
                // The top face between its back edge or left diagonal and its front edge or
                // right diagonal, the side between its diagonals.
                outlined(x, top, t - std::max(0, x - r), false, topColor);
                if (x >= r) {
                    outlined(x, t - (x - r), b - (x - r), x == r || x == r + depth, side);
                }
                if (x <= r) {
                    outlined(x, t, b, x == l || x == r, bar->Brush);
                }
            } else if (fill) {
                PaintRows(x, top, t - std::max(0, x - r), topColor);
                if (x >= r && x < r + depth) {
                    PaintRows(x, t - (x - r), b - (x - r), side);
                }
                if (x < r) {
                    PaintRows(x, t, b, bar->Brush);
                }
            }
        }
    }
}

void TCustomBarSeries::PaintRows(int32_t x, int32_t top, int32_t bottom, gfx::TColor color) {
    const gfx::TRect& clip = m_mergeClip;
    top = std::max(top, clip.Top);
    bottom = std::min(bottom, clip.Bottom);
    if (top >= bottom || x < clip.Left || x >= clip.Right) {
        return;
    }
    std::vector<TCoveredRows>& covered = m_covered[static_cast<size_t>(x - clip.Left)];
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
            m_runs.push_back({x, at, std::min(last->Top, bottom), color});
        }
        at = std::max(at, last->Bottom);
        low = std::min(low, last->Top);
        high = std::max(high, last->Bottom);
    }
    if (at < bottom) {
        m_runs.push_back({x, at, bottom, color});
    }
    if (first == last) {
        covered.insert(first, {low, high});
        return;
    }
    *first = {low, high};
    covered.erase(first + 1, last);
}

bool TCustomBarSeries::RowsDrawn(int32_t x, int32_t top, int32_t bottom) const {
    const gfx::TRect& clip = m_mergeClip;
    top = std::max(top, clip.Top);
    bottom = std::min(bottom, clip.Bottom);
    if (top >= bottom || x < clip.Left || x >= clip.Right) {
        return true;
    }
    const std::vector<TCoveredRows>& covered = m_covered[static_cast<size_t>(x - clip.Left)];
    return std::any_of(covered.begin(), covered.end(), [&](const TCoveredRows& rows) {
        return rows.Top <= top && rows.Bottom >= bottom;
    });
}

void TCustomBarSeries::DrawMerged() {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    const TBarPlace place = Place();
    std::vector<TFlatBar>& bars = m_flatBars;
    bars.clear();
    const gfx::TColor ownBrush = m_barBrush->Color();
    // Flat horizontal bars are worked out turned over the diagonal: their rows as columns. (A
    // box is the same box whichever way its bar stands.)
    const bool turned = m_horizontal && !chart.View3D();
    const auto collect = [&](int32_t index) {
        const gfx::TColor color = PointColor(index);
        if (color != gfx::clNone) {
            TBarBounds bounds = BarBoundsAt(index, place);
            if (turned) {
                bounds = {bounds.Top, bounds.Left, bounds.Bottom, bounds.Right};
            }
            bars.push_back({bounds, ownBrush == clSeriesDefault ? color : ownBrush});
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
    m_mergeClip = {clip.Left - offset.X, clip.Top - offset.Y, clip.Right - offset.X,
                   clip.Bottom - offset.Y};
    if (turned) {
        m_mergeClip = {m_mergeClip.Top, m_mergeClip.Left, m_mergeClip.Bottom, m_mergeClip.Right};
    }
    const int32_t clipLeft = m_mergeClip.Left;
    const int32_t clipRight = m_mergeClip.Right;
    if (m_mergeClip.IsEmpty()) {
        return;
    }
    m_covered.resize(static_cast<size_t>(clipRight - clipLeft));
    for (std::vector<TCoveredRows>& column : m_covered) {
        column.clear();
    }
    m_runs.clear();
    // The bars from the last drawn to the first: a pixel takes the colour of the first bar
    // over it in this order and is never drawn again.
    if (chart.View3D()) {
        DrawMergedBoxes(canvas);
    } else {
        for (auto bar = bars.rbegin(); bar != bars.rend(); ++bar) {
            // A rectangle: with a pen, a one-pixel outline on its edge columns and rows around
            // the brush; without, the brush over the whole bar.
            const auto [l, t, r, b] = bar->Bounds;
            if (t >= b || l >= r) {
                continue;
            }
            const int32_t from = std::max(l, clipLeft);
            const int32_t to = std::min(r, clipRight);
            for (int32_t x = from; x < to; ++x) {
                if (!pen) {
                    if (fill) {
                        PaintRows(x, t, b, bar->Brush);
                    }
                } else if (x == l || x == r - 1) {
                    PaintRows(x, t, b, penColor);
                } else {
                    PaintRows(x, t, t + 1, penColor);
                    if (fill) {
                        PaintRows(x, t + 1, b - 1, bar->Brush);
                    }
                    PaintRows(x, b - 1, b, penColor);
                }
            }
        }
    }
    if (!turned) {
        device.FillColumns(m_runs);
        return;
    }
    m_rowRuns.clear();
    for (const gfx::TColumnRun& run : m_runs) {
        m_rowRuns.push_back({run.X, run.Top, run.Bottom, run.Color});
    }
    device.FillRows(m_rowRuns);
}

}  // namespace chart
