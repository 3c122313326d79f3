// The concrete chart control that design data names TChart. Its title, walls, legend, axes and
// painting come with their own parts; for now it is the axis panel with its series.
#pragma once

#include "chart/engine/AxisPanel.h"

namespace chart {

class TChart : public TCustomAxisPanel {
  public:
    explicit TChart(classes::TComponent* owner);

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // For now the panel frame only: background, back image and bevels.
    void DrawChartContent(const gfx::TRect& rect) override;
};

// Registers the chart and series classes that design data can name (TChart, TLineSeries).
// Safe to call more than once.
void RegisterChartClasses();

}  // namespace chart
