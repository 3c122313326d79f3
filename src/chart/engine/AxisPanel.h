// The chart control that holds series: the series list in drawing order and the repaint
// requests that series and settings send it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "chart/engine/Axis.h"
#include "chart/engine/ChartColors.h"
#include "chart/panel/ChartPanelExtended.h"

namespace chart {

class TChartSeries;

// The engine-wide switch that draws the axes before the series (so the line lies over the grid).
inline bool AxesBeforeSeries = true;

// Holds the series of a chart, turns change notifications into repaint requests and runs the
// paint sequence: background, titles, layout, walls, axes, series.
//
// The chart panel below it owns the canvas, margins, chart rectangle, 3D view and the paint
// entry; AutoRepaint is its RepaintOnChange and a repaint request also marks the canvas buffer
// stale. The concrete chart supplies the titles, walls, axis layout and the value mapping.
class TCustomAxisPanel : public TCustomChartPanelExtended {
  public:
    explicit TCustomAxisPanel(classes::TComponent* owner);
    // Frees every listed series (the series are freed, whoever owns them).
    ~TCustomAxisPanel() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Appends a series (nothing if it is listed already). A series still without a colour
    // gets the first palette colour no other series uses; at design time a series is filled
    // with its sample points. Repaints.
    void AddSeries(TChartSeries* series);
    // Removes a listed series, which then has no chart. Repaints.
    void RemoveSeries(TChartSeries* series);
    // Detaches and frees every series, the first first.
    void FreeAllSeries();
    int32_t SeriesCount() const { return static_cast<int32_t>(m_seriesList.size()); }
    // EListError outside 0 .. SeriesCount()-1.
    TChartSeries* Series(int32_t index) const;
    // The largest point count of the active series; 0 when there is none.
    int32_t MaxPointCount() const;

    // True when no series has colour as its SeriesColor and, with checkBackground, colour is
    // not the chart's Color.
    virtual bool IsColorFree(gfx::TColor color, bool checkBackground) const;
    // The first palette entry (0 .. 15) that IsColorFree accepts; entry 16 when none does.
    gfx::TColor FreeSeriesColor(bool checkBackground) const;

    // --- Legend ------------------------------------------------------------------------------

    // The k-th (from 0) series that is active and shown in the legend; nullptr when none.
    TChartSeries* LegendSeries(int32_t k) const;
    // That series' Title, else its name, else "Series " and k; empty when there is none.
    std::string LegendSeriesTitle(int32_t k) const;
    // The text the legend shows for point index of a series; nothing here, the concrete chart
    // formats it with its legend's text style.
    virtual std::string LegendValueText(const TChartSeries& /*series*/, int32_t /*index*/) const {
        return std::string();
    }
    // Box colour of the legend as last drawn, which legend symbols must stand out from;
    // clSeriesDefault until a legend is drawn.
    gfx::TColor LegendColor() const { return m_legendColor; }
    void SetLegendColor(gfx::TColor value) { m_legendColor = value; }

    // While off, change notifications do not repaint (a caller switches it off around a
    // batch of changes and repaints once afterwards).
    bool AutoRepaint() const { return RepaintOnChange(); }
    void SetAutoRepaint(bool value) { SetRepaintOnChange(value); }
    // Asks for a repaint: while AutoRepaint is on and the chart is not being destroyed,
    // counts the request, marks the chart for repainting and invalidates the control. The
    // paint itself happens later, once, however many requests came before it.
    void MarkForRepaint() override;
    // Requests counted by MarkForRepaint since the chart was created.
    int64_t RepaintRequestCount() const { return m_repaintRequests; }
    // True from a counted request until the paint takes it (ClearRepaintPending).
    bool RepaintPending() const { return m_repaintPending; }
    void ClearRepaintPending() { m_repaintPending = false; }

    // --- Paint sequence ----------------------------------------------------------------------

    // Frame, titles, depth order, layout, margins, projection, walls, axes and series, in this
    // order; the axes after the series when AxesBeforeSeries is off.
    void DrawChartContent(const gfx::TRect& rect) override;
    // Ranges and room of the axes, which give the final chart rectangle.
    virtual void LayoutAxes() = 0;
    // Widens the ranges so the series' pixel margins fit.
    virtual void ApplySeriesMargins() = 0;
    // Titles and legend, each taking its room from the chart rectangle.
    virtual void DrawTitlesAndLegend() = 0;
    virtual void DrawWalls() = 0;
    // Every shown axis, in AxesList order, with its title, labels, ticks, grid and line.
    virtual void DrawAxes();
    // Draws one active series: its visible range, events, clipped points, marks and after
    // event.
    void DrawSeries(TChartSeries& series);
    // The series' marks when they are visible, clipped to the chart rectangle when the marks
    // ask for it.
    void DrawSeriesMarks(TChartSeries& series);

    // Draws the active series from first onward that share first's depth slot in 3D, point
    // index by point index, so their shapes at one index stand together.
    void DrawSharedSlot(TChartSeries& first);
    // In 3D, another active series has the same depth slot. Slots are compared as the paint
    // numbered them (AutoDepth), so a series with its own DepthIndex and one numbered by the
    // chart meet only when they really stand at the same depth.
    bool SharesDepth(const TChartSeries& series) const;
    // Value to pixel, pixel to value and inversion of the axis the series is bound to in the
    // horizontal or vertical direction (a series on both axes of a direction uses the bottom
    // or left one).
    virtual int32_t SeriesValueToPixel(const TChartSeries& series, double value,
                                       bool horizontal) const;
    virtual double SeriesPixelToValue(const TChartSeries& series, int32_t pixel,
                                      bool horizontal) const;
    virtual bool SeriesAxisInverted(const TChartSeries& series, bool horizontal) const;
    // SeriesValueToPixel of many values at once, values[i] to pixels[i]; a chart that maps
    // values its own way overrides both.
    virtual void SeriesValuesToPixels(const TChartSeries& series, std::span<const double> values,
                                      std::span<int32_t> pixels, bool horizontal) const;
    TCustomChartAxis& HorizAxisOf(const TChartSeries& series) const;
    TCustomChartAxis& VertAxisOf(const TChartSeries& series) const;

    // --- Axes ---------------------------------------------------------------------------------

    // Every axis in creation order: bottom, top, left, right, depth, then those added later.
    const std::vector<TCustomChartAxis*>& AxesList() const { return m_axesList; }
    TChartAxis& BottomAxis() const { return *m_bottomAxis; }
    TChartAxis& TopAxis() const { return *m_topAxis; }
    TChartAxis& LeftAxis() const { return *m_leftAxis; }
    TChartAxis& RightAxis() const { return *m_rightAxis; }
    TChartDepthAxis& DepthAxis() const { return *m_depthAxis; }
    // Setting an axis copies the given axis' settings into the chart's own.
    void SetBottomAxis(const TChartAxis& value) { m_bottomAxis->Assign(value); }
    void SetTopAxis(const TChartAxis& value) { m_topAxis->Assign(value); }
    void SetLeftAxis(const TChartAxis& value) { m_leftAxis->Assign(value); }
    void SetRightAxis(const TChartAxis& value) { m_rightAxis->Assign(value); }
    void SetDepthAxis(const TChartDepthAxis& value) { m_depthAxis->Assign(value); }
    // Takes ownership of an axis created for this chart (already in AxesList) or of another
    // one, which is appended.
    void AddAxis(std::unique_ptr<TCustomChartAxis> axis);
    // Called by an axis created for this chart and by one freed before it. A removed axis is
    // no longer laid out, drawn or freed by the chart, and loses the chart's hooks (tests take
    // axes of their own out this way).
    void AppendAxis(TCustomChartAxis& axis);
    void RemoveAxis(TCustomChartAxis& axis);
    // Axes are drawn when AxisVisible and the axis' Visible; the depth axis exactly in 3D; a
    // side axis when an active series is bound to it, or when no active series uses axes.
    bool IsAxisShown(const TCustomChartAxis& axis) const;
    // Thickness of the wall under the left or bottom axis in 3D, pixels; none here.
    virtual int32_t AxisWallSize(TAxisWall /*wall*/) const { return 0; }
    void SetOnGetAxisLabel(TAxisOnGetLabel h) { m_axisHooks.OnGetAxisLabel = std::move(h); }
    void SetOnGetNextAxisLabel(TAxisOnGetNextLabel h) {
        m_axisHooks.OnGetNextAxisLabel = std::move(h);
    }

    // Depth: slot depth in pixels, the highest slot, and the depth order of the series.
    int32_t SeriesDepth() const { return m_seriesDepth; }
    int32_t MaxDepthIndex() const { return m_maxDepthIndex; }
    void Compute3DSize();
    void ComputeDepthOrder();
    void ComputeDepthPositions();

    // Settings.
    bool AxisVisible() const { return m_axisVisible; }
    void SetAxisVisible(bool value);
    bool ClipPoints() const { return m_clipPoints; }
    void SetClipPoints(bool value);
    bool View3DWalls() const { return m_view3DWalls; }
    void SetView3DWalls(bool value);
    bool ScaleLastPage() const { return m_scaleLastPage; }
    void SetScaleLastPage(bool value);
    // Points per page; 0 = no paging. Negative: ChartException "MaxPointsPerPage must be >= 0".
    int32_t MaxPointsPerPage() const { return m_maxPointsPerPage; }
    void SetMaxPointsPerPage(int32_t value);
    // 1 .. NumPages; a value outside is clamped. A change repaints and fires OnPageChange.
    int32_t Page() const { return m_page; }
    void SetPage(int32_t value);
    virtual int32_t NumPages() const;

    void SetOnBeforeDrawAxes(classes::TNotifyEvent h) { m_onBeforeDrawAxes = std::move(h); }
    void SetOnBeforeDrawSeries(classes::TNotifyEvent h) { m_onBeforeDrawSeries = std::move(h); }
    void SetOnPageChange(classes::TNotifyEvent h) { m_onPageChange = std::move(h); }

    // From another axis panel: AxisVisible, ClipPoints, MaxPointsPerPage, Page, ScaleLastPage,
    // View3DWalls and the five axes by value, then the chart panel's settings.
    void Assign(const classes::TPersistent& source) override;

    // After the controls inside it, the listed series owned by root: series are stored
    // inside their chart.
    void GetChildren(const std::function<void(classes::TComponent*)>& proc,
                     classes::TComponent* root) const override;

  private:
    // The hooks and axes come first so the axes can use the hooks while they are destroyed.
    TAxisChartHooks m_axisHooks;
    std::vector<TCustomChartAxis*> m_axesList;  // owned
    TChartAxis* m_bottomAxis = nullptr;
    TChartAxis* m_topAxis = nullptr;
    TChartAxis* m_leftAxis = nullptr;
    TChartAxis* m_rightAxis = nullptr;
    TChartDepthAxis* m_depthAxis = nullptr;
    std::vector<TChartSeries*> m_seriesList;  // not owned: the series' owner frees them
    bool m_repaintPending = false;
    int64_t m_repaintRequests = 0;
    bool m_axisVisible = true;
    bool m_clipPoints = true;
    bool m_view3DWalls = true;
    bool m_scaleLastPage = true;
    int32_t m_maxPointsPerPage = 0;
    int32_t m_page = 1;
    int32_t m_seriesDepth = 0;  // pixels per depth slot
    int32_t m_maxDepthIndex = 0;
    classes::TNotifyEvent m_onBeforeDrawAxes;
    classes::TNotifyEvent m_onBeforeDrawSeries;
    classes::TNotifyEvent m_onPageChange;
    gfx::TColor m_legendColor = clSeriesDefault;
};

}  // namespace chart
