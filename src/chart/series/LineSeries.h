// The line series: points joined by straight segments in their colours. Its data flags are set
// here; the line pen, the pointer and the drawing come with the line family's own work.
#pragma once

#include "chart/engine/Series.h"

namespace chart {

class TLineSeries : public TChartSeries {
  public:
    // The first point beyond the axis' high edge stays visible so the segment into it is
    // drawn; a function over one whole source gives a flat two-point line.
    explicit TLineSeries(classes::TComponent* owner);

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

}  // namespace chart
