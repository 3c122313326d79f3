// The chart brush's published properties.
#include "chart/canvas/ChartBrush.h"

#include "classes/ClassBuilder.h"

namespace chart {

const classes::TClassInfo& TChartBrush::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TChartBrush>("TChartBrush", &gfx::TBrush::StaticClass())
            .Integer<uint32_t>("Color", &gfx::TBrush::Color, &gfx::TBrush::SetColor,
                               clSeriesDefault, &ChartColorIdents())
            .Enum<gfx::TBrushStyle>("Style", &gfx::TBrush::Style, &gfx::TBrush::SetStyle,
                                    {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                     "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"},
                                    gfx::TBrushStyle::bsSolid)
            .Build();
    return info;
}

const classes::TClassInfo& TChartBrush::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
