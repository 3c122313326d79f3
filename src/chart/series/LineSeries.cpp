// The line series' class information and data flags.
#include "chart/series/LineSeries.h"

#include "classes/ClassBuilder.h"

namespace chart {

TLineSeries::TLineSeries(classes::TComponent* owner) : TChartSeries(owner) {
    SetIncludePointBeyondEnd(true);
    SetSinglePointResult(false);
}

const classes::TClassInfo& TLineSeries::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TLineSeries>("TLineSeries", &TChartSeries::StaticClass())
            .Creatable()
            .Object("XValues", [](TLineSeries& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](TLineSeries& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TLineSeries::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
