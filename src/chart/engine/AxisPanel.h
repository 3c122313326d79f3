// The chart control that holds series: the series list in drawing order and the repaint
// requests that series and settings send it.
#pragma once

#include <cstdint>
#include <vector>

#include "chart/engine/ChartColors.h"
#include "chart/panel/ChartPanelExtended.h"

namespace chart {

class TChartSeries;

// Holds the series of a chart and turns change notifications into repaint requests.
//
// The chart panel below it owns the canvas, margins, chart rectangle, 3D view and the paint
// entry; AutoRepaint is its RepaintOnChange and a repaint request also marks the canvas buffer
// stale. Axes, paging and the paint sequence come with the axis work.
class TCustomAxisPanel : public TCustomChartPanelExtended {
  public:
    explicit TCustomAxisPanel(classes::TComponent* owner);
    // Frees every listed series (the series are freed, whoever owns them).
    ~TCustomAxisPanel() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Appends a series (nothing if it is listed already). A series still without a colour
    // gets the first palette colour no other series uses. Repaints.
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

    // After the controls inside it, the listed series owned by root: series are stored
    // inside their chart.
    void GetChildren(const std::function<void(classes::TComponent*)>& proc,
                     classes::TComponent* root) const override;

  private:
    std::vector<TChartSeries*> m_seriesList;  // not owned: the series' owner frees them
    bool m_repaintPending = false;
    int64_t m_repaintRequests = 0;
};

}  // namespace chart
