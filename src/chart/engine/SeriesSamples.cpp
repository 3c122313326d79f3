// The series' gallery hook: a preview chart switched between flat and 3D.
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"

namespace chart {

void TChartSeries::GalleryChanged3D(bool is3D) {
    if (TCustomAxisPanel* chart = ParentChart()) {
        chart->SetView3D(is3D);
        chart->SetClipPoints(!is3D);
    }
}

}  // namespace chart
