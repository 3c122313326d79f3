// The concrete chart class and the registration of the chart classes for design data.
#include "chart/component/Chart.h"

#include "chart/series/LineSeries.h"
#include "classes/ClassBuilder.h"

namespace chart {

TChart::TChart(classes::TComponent* owner) : TCustomAxisPanel(owner) {}

const classes::TClassInfo& TChart::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TChart>("TChart", &TCustomAxisPanel::StaticClass())
            .Creatable()
            .Build();
    return info;
}

const classes::TClassInfo& TChart::ClassInfo() const {
    return StaticClass();
}

void TChart::DrawChartContent(const gfx::TRect& rect) {
    PaintPanelFrame(rect);
}

void RegisterChartClasses() {
    classes::RegisterClass(TChart::StaticClass());
    classes::RegisterClass(TLineSeries::StaticClass());
}

}  // namespace chart
