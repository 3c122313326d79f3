// The brush of chart parts (walls, titles, pointers): no colour of its own until one is set.
#pragma once

#include "chart/engine/ChartColors.h"
#include "gfx/Brush.h"

namespace chart {

// Starts with the colour clSeriesDefault (the part's or point's colour is used) and the solid
// style; every change calls the owner's change handler.
class TChartBrush : public gfx::TBrush {
  public:
    explicit TChartBrush(gfx::TChangeEvent onChange) {
        SetColor(clSeriesDefault);
        SetOnChange(std::move(onChange));
    }

    // Published: Color (a chart colour) and Style.
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

}  // namespace chart
