// The series' sample data for design-time previews and its gallery preview hooks.
#include <cmath>
#include <random>

#include "base/Arith.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"

namespace chart {

namespace {
// Sample values without other series: 0 .. 1000.
constexpr double kDefaultSampleMaximum = 1000;
constexpr double kLargestDifference = 2147483647.0;
// Points of a gallery preview and the colour of a disabled one (silver).
constexpr int32_t kPreviewPoints = 4;
constexpr gfx::TColor kDisabledPreviewColor = 0xC0C0C0;

// A random integer 0 .. n-1; 0 when n < 1.
int64_t RandomBelow(std::mt19937_64& random, int64_t n) {
    return n < 1 ? 0 : std::uniform_int_distribution<int64_t>(0, n - 1)(random);
}
}  // namespace

void TChartSeries::FillSampleValues(int32_t numValues) {
    if (numValues <= 0) {
        throw ChartException(kMsgFillSampleValues);
    }
    ClearPoints();
    std::mt19937_64 random(std::random_device{}());
    double minX = 0;
    double maxX = numValues - 1;
    double minY = 0;
    double maxY = kDefaultSampleMaximum;
    TCustomAxisPanel* chart = ParentChart();
    if (chart != nullptr && chart->SeriesCount() > 0) {
        const TCustomChartAxis& horizontal = chart->HorizAxisOf(*this);
        const TCustomChartAxis& vertical = chart->VertAxisOf(*this);
        minY = vertical.SeriesMinimumOn(false);
        maxY = vertical.SeriesMaximumOn(false);
        minX = horizontal.SeriesMinimumOn(true);
        maxX = horizontal.SeriesMaximumOn(true);
        if (maxY == minY) {
            maxY = minY == 0 ? kDefaultSampleMaximum : 2 * minY;
        }
        if (maxX == minX) {
            maxX = minX == 0 ? numValues : 2 * minX;
        }
    }
    const double stepX = numValues > 1 ? (maxX - minX) / (numValues - 1) : maxX - minX;
    const double difY = std::clamp(maxY - minY, -kLargestDifference, kLargestDifference);
    const int64_t d = base::Round(difY);
    double y = minY + static_cast<double>(RandomBelow(random, d));
    const int64_t r = d / 4;
    const bool autoRepaint = chart != nullptr && chart->AutoRepaint();
    if (chart != nullptr) {
        chart->SetAutoRepaint(false);
    }
    double x = minX;
    for (int32_t i = 0; i < numValues; ++i) {
        y = std::fabs(y + static_cast<double>(RandomBelow(random, r) - r / 2));
        AppendXY(x, y, std::string(), clSeriesDefault);
        x += stepX;
    }
    if (chart != nullptr) {
        chart->SetAutoRepaint(autoRepaint);
    }
    NotifyLinkedSeries(TLinkEvent::leRefresh, 0);
}

void TChartSeries::PrepareGalleryPreview(bool enabled) {
    FillSampleValues(kPreviewPoints);
    Marks().SetVisible(false);
    SetColorEachPoint(false);
    if (!enabled) {
        SetSeriesColor(kDisabledPreviewColor);
    }
}

void TChartSeries::GalleryChanged3D(bool is3D) {
    if (TCustomAxisPanel* chart = ParentChart()) {
        chart->SetView3D(is3D);
        chart->SetClipPoints(!is3D);
    }
}

}  // namespace chart
