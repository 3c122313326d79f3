// Bar series: one bar per point, vertical (TBarSeries) or horizontal (THorizBarSeries), side by
// side, stacked or stacked to 100 % with the other bar series of the chart, flat or as solids.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "chart/canvas/ChartBrush.h"
#include "chart/canvas/ChartPen.h"
#include "chart/engine/Series.h"
#include "gfx/Canvas.h"

namespace chart {

enum class TBarStyle {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient
};
enum class TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

class TCustomBarSeries;
class TChartCanvas3D;
// (sender, point index, style) -> the style of that point's bar.
using TGetBarStyleEvent =
    std::function<void(TCustomBarSeries& sender, int32_t valueIndex, TBarStyle& style)>;

// Where one bar stands, pixels: [Left, Right) x [Top, Bottom) on the screen, before 3D.
struct TBarBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// Geometry, this engine's own rule:
// - The bar series of one kind in a chart form a group. Along the category axis (the
//   horizontal one for vertical bars) each point has a slot of the axis length divided by the
//   largest point count of the group's active series.
// - A bar is BarWidthPercent of its slot wide, divided by the number of active series of the
//   group when they stand side by side (mbSide); CustomBarWidth / CustomBarHeight, when set,
//   gives the width in pixels instead. At least one pixel.
// - Side by side, the group's bars are centred on the point: series k of n starts
//   k bar widths right of the group's left edge, which is half the group's width (truncated)
//   left of the point. Otherwise every series' bar is centred on the point. OffsetPercent moves
//   a bar by that percentage of its width (truncated towards zero).
// - A bar runs from its origin to its value: the origin is YOrigin (UseYOrigin) or the value
//   axis' minimum; stacked, the sum of the positive values of the group's earlier series at
//   that index; stacked 100 %, sums in percent of the index's total. Its rows (columns) run
//   from the value's pixel to the origin's pixel, the latter excluded, so stacked bars tile.
class TCustomBarSeries : public TChartSeries {
  public:
    TCustomBarSeries(classes::TComponent* owner, bool horizontal);
    ~TCustomBarSeries() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    bool Horizontal() const { return m_horizontal; }
    TChartValueList& MandatoryValueList() override;
    using TChartSeries::MandatoryValueList;

    bool AutoBarSize() const { return m_autoBarSize; }
    void SetAutoBarSize(bool value);
    bool AutoMarkPosition() const { return m_autoMarkPosition; }
    void SetAutoMarkPosition(bool value);
    TChartBrush& BarBrush() const { return *m_barBrush; }
    TChartPen& BarPen() const { return *m_barPen; }
    TBarStyle BarStyle() const { return m_barStyle; }
    void SetBarStyle(TBarStyle value);
    // 1 .. 100, else BarException "Bar Width Percent must be between 1 and 100".
    int32_t BarWidthPercent() const { return m_barWidthPercent; }
    void SetBarWidthPercent(int32_t value);
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool value);
    // Also given to every other bar series of the same kind in the chart.
    TMultiBar MultiBar() const { return m_multiBar; }
    void SetMultiBar(TMultiBar value);
    // -100 .. 100, else BarException "Bar Offset Percent must be between -100% and 100%".
    int32_t OffsetPercent() const { return m_offsetPercent; }
    void SetOffsetPercent(int32_t value);
    bool SideMargins() const { return m_sideMargins; }
    void SetSideMargins(bool value);
    bool UseYOrigin() const { return m_useYOrigin; }
    void SetUseYOrigin(bool value);
    double YOrigin() const { return m_yOrigin; }
    void SetYOrigin(double value);
    // Bar thickness in pixels; 0 = from BarWidthPercent.
    int32_t CustomBarSize() const { return m_customBarSize; }
    void SetCustomBarSize(int32_t value);
    void SetOnGetBarStyle(TGetBarStyleEvent handler) { m_onGetBarStyle = std::move(handler); }

    // The bar's thickness across the category axis, pixels.
    int32_t BarSize() const;
    // Where bar index stands on the screen.
    TBarBounds BarBoundsOf(int32_t index) const;
    // The bar's origin and end values along the value axis.
    std::pair<double, double> BarExtent(int32_t index) const;

    // The visible bars merged column by column where the picture allows (below), otherwise
    // point by point.
    void DrawPoints() override;
    // Whether the visible bars can be drawn by DrawMerged: flat rectangles, or boxes under the
    // plain oblique projection, of a solid or clear brush and a solid
    // one-pixel pen (or none) in copy mode; the same kind's own DrawPoint, no style event.
    bool DrawsMerged() const;
    void DrawPoint(int32_t index) override;
    double HighestX() const override;
    double HighestY() const override;
    double LowestX() const override;
    double LowestY() const override;
    // Room for half a group of bars at both ends of the category axis (SideMargins).
    void HorizontalMargins(int32_t& left, int32_t& right) const override;
    void VerticalMargins(int32_t& top, int32_t& bottom) const override;

  private:
    // Across the category axis: the bar's thickness and its first pixel from the point's centre.
    struct TBarPlace {
        int32_t Size = 1;
        int32_t Start = 0;
    };
    // A rectangle of a flat bar and its brush colour.
    struct TFlatBar {
        TBarBounds Bounds;
        gfx::TColor Brush = 0;
    };
    // One drawn run of a column, [Top, Bottom).
    struct TCoveredRows {
        int32_t Top = 0;
        int32_t Bottom = 0;
    };
    TBarPlace Place() const;
    TBarBounds BarBoundsAt(int32_t index, const TBarPlace& place) const;
    // Draws the visible bars as DrawPoint does one after the other, as the pixels they leave:
    // each column of the plot as runs, the last bar over a pixel deciding its colour, every
    // pixel set once; the bars (m_flatBars) walked from the last drawn to the first.
    void DrawMerged();
    // DrawMerged's boxes in 3D, from the last drawn to the first.
    void DrawMergedBoxes(const TChartCanvas3D& canvas);
    // Within the clip: adds the rows [top, bottom) of column x to its drawn runs (sorted, apart
    // from one another), and the rows not drawn before to the runs to draw in the colour.
    void PaintRows(int32_t x, int32_t top, int32_t bottom, gfx::TColor color);
    // Whether the rows [top, bottom) of column x are drawn already or outside the clip.
    bool RowsDrawn(int32_t x, int32_t top, int32_t bottom) const;
    // The group's active series of this kind, in chart order, and this series' place.
    std::vector<const TCustomBarSeries*> Group() const;
    double ValueHigh() const;
    double ValueLow() const;
    int32_t SideMargin() const;
    void DrawBar(const TBarBounds& bar, TBarStyle style, gfx::TColor color);
    void Changed() { RequestRepaint(); }

    bool m_horizontal;
    bool m_autoBarSize = false;
    bool m_autoMarkPosition = true;
    std::unique_ptr<TChartBrush> m_barBrush;
    std::unique_ptr<TChartPen> m_barPen;
    TBarStyle m_barStyle = TBarStyle::bsRectangle;
    int32_t m_barWidthPercent = 70;  // percent of the slot
    bool m_dark3D = true;
    TMultiBar m_multiBar = TMultiBar::mbSide;
    int32_t m_offsetPercent = 0;  // percent of the bar width
    bool m_sideMargins = true;
    bool m_useYOrigin = true;
    double m_yOrigin = 0;
    int32_t m_customBarSize = 0;  // pixels; 0 = automatic
    TGetBarStyleEvent m_onGetBarStyle;
    // DrawMerged's working storage, kept between paints: the bars in drawing order, the rows
    // already drawn per plot column, the runs to draw.
    std::vector<TFlatBar> m_flatBars;
    std::vector<std::vector<TCoveredRows>> m_covered;
    gfx::TRect m_mergeClip;  // the clip's box, logical coordinates
    std::vector<gfx::TColumnRun> m_runs;
    std::vector<gfx::TRowRun> m_rowRuns;  // the runs of horizontal bars, turned back
};

class TBarSeries : public TCustomBarSeries {
  public:
    explicit TBarSeries(classes::TComponent* owner) : TCustomBarSeries(owner, false) {}
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// Bars along the vertical axis: the X values are the bars' values.
class THorizBarSeries : public TCustomBarSeries {
  public:
    explicit THorizBarSeries(classes::TComponent* owner) : TCustomBarSeries(owner, true) {}
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // numValues <= 0: BarException "FillSampleValues NumValues must be > 0". Otherwise a
    // random walk of values from 1000 .. 1999 in steps of -250 .. 249, one per vertical step
    // from the vertical axis' minimum.
    void FillSampleValues(int32_t numValues) override;
};

// Sum of the positive mandatory values at index of the chart's active series related to
// series by class (the same, a base or a derived class) that have that point, in chart order,
// up to series (and with it when includeSelf).
double StackedSum(const TChartSeries& series, int32_t index, bool includeSelf);

}  // namespace chart
