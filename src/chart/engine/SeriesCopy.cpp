// Copying one series into another, design-time sample points and the click on a point.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <random>

#include "base/Arith.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"

namespace chart {

namespace {

// The colour of a series shown disabled in the gallery: silver.
constexpr gfx::TColor kGalleryDisabledColor = 0xC0C0C0;
// Sample points in a gallery preview.
constexpr int32_t kGalleryPreviewPoints = 4;
// Sample values span 0 .. this without other series to take a range from.
constexpr double kSampleMaxY = 1000;
// Days from the chart's day zero (1899-12-30) to 1970-01-01.
constexpr int64_t kUnixEpochDay = 25569;

// Today's local date as a chart date-time (whole days since 1899-12-30).
double Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::chrono::year_month_day date{
        std::chrono::year(local.tm_year + 1900),
        std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
        std::chrono::day(static_cast<unsigned>(local.tm_mday))};
    return static_cast<double>(std::chrono::sys_days(date).time_since_epoch().count() +
                               kUnixEpochDay);
}

// A random integer 0 .. limit-1; 0 when limit is not positive.
int64_t RandomBelow(std::mt19937_64& random, int64_t limit) {
    if (limit <= 0) {
        return 0;
    }
    return std::uniform_int_distribution<int64_t>(0, limit - 1)(random);
}

}  // namespace

void TChartSeries::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TChartSeries*>(&source);
    if (other == nullptr) {
        TComponent::Assign(source);  // refuses with EConvertError
        return;
    }
    if (other == this) {
        return;
    }
    SetTag(other->Tag());
    SetDataSource(nullptr);
    const bool crosswise = other->YIsMandatory() != YIsMandatory();
    m_xValues->CopySettingsFrom(crosswise ? *other->m_yValues : *other->m_xValues);
    m_yValues->CopySettingsFrom(crosswise ? *other->m_xValues : *other->m_yValues);
    m_xLabelsSource = other->m_xLabelsSource;
    m_colorSource = other->m_colorSource;
    const size_t extras = std::min(m_valueLists.size(), other->m_valueLists.size());
    for (size_t i = 2; i < extras; ++i) {
        m_valueLists[i]->CopySettingsFrom(*other->m_valueLists[i]);
    }
    if (!other->m_dataSources.empty() && m_parentChart != nullptr) {
        for (TChartSeries* dataSource : other->m_dataSources) {
            if (dataSource != this) {
                CheckCircular(*dataSource);
                LinkDataSource(dataSource);
            }
        }
        RefreshFromDataSource();
    } else if (!other->Loading()) {
        RefreshFromSource(*other);
    }
    m_marks->Assign(*other->m_marks);
    SetSeriesColor(other->m_seriesColor);
    SetColorEachPoint(other->m_colorEachPoint);
    SetTitle(other->m_title);
    SetValueFormat(other->m_valueFormat);
    SetPercentFormat(other->m_percentFormat);
    SetActive(other->m_active);
    // Custom axes belong to a chart: they are taken only within the same chart.
    if (other->m_parentChart == m_parentChart) {
        m_customHorizAxis = other->m_customHorizAxis;
        m_customVertAxis = other->m_customVertAxis;
    }
    SetHorizAxis(other->m_horizAxis);
    SetVertAxis(other->m_vertAxis);
    ResolveAxes();
    SetLinkEventMask(other->m_linkEventMask);
    SetCursor(other->m_cursor);
    SetShowInLegend(other->m_showInLegend);
    SetDepthIndex(other->m_depthIndex);
}

void TChartSeries::FillSampleValues(int32_t numValues) {
    if (numValues <= 0) {
        throw ChartException(kMsgFillSampleValues);
    }
    ClearPoints();
    std::mt19937_64 random(std::random_device{}());
    double minX = 0;
    double maxX = 0;
    double minY = 0;
    double maxY = 0;
    if (m_parentChart != nullptr && m_parentChart->SeriesCount() > 0 &&
        m_horizontalAxisRef != nullptr && m_verticalAxisRef != nullptr) {
        minY = m_verticalAxisRef->SeriesMinimumOn(false);
        maxY = m_verticalAxisRef->SeriesMaximumOn(false);
        minX = m_horizontalAxisRef->SeriesMinimumOn(true);
        maxX = m_horizontalAxisRef->SeriesMaximumOn(true);
        if (maxY == minY) {
            maxY = minY == 0 ? kSampleMaxY : 2 * minY;
        }
        if (maxX == minX) {
            maxX = minX == 0 ? numValues : 2 * minX;
        }
    } else {
        maxY = kSampleMaxY;
        if (m_xValues->DateTime()) {
            minX = Today();
        }
        maxX = minX + numValues - 1;
    }
    double stepX = maxX - minX;
    if (numValues > 1) {
        stepX /= numValues - 1;
    }
    constexpr double kLimit = std::numeric_limits<int32_t>::max();
    const double difY = std::clamp(maxY - minY, -kLimit, kLimit);
    const auto d = static_cast<int64_t>(base::Round(difY));
    double y = minY + static_cast<double>(RandomBelow(random, d));
    const int64_t r = d / 4;
    const bool wasAutoRepaint = m_parentChart != nullptr && m_parentChart->AutoRepaint();
    if (wasAutoRepaint) {
        m_parentChart->SetAutoRepaint(false);
    }
    try {
        double x = minX;
        for (int32_t i = 0; i < numValues; ++i) {
            y = std::fabs(y + static_cast<double>(RandomBelow(random, r) - r / 2));
            AppendXY(x, y, std::string(), clSeriesDefault);
            x += stepX;
        }
    } catch (...) {
        if (wasAutoRepaint) {
            m_parentChart->SetAutoRepaint(true);
        }
        throw;
    }
    if (wasAutoRepaint) {
        m_parentChart->SetAutoRepaint(true);
    }
    NotifyLinkedSeries(TLinkEvent::leRefresh, 0);
}

void TChartSeries::PrepareGalleryPreview(bool enabled) {
    FillSampleValues(kGalleryPreviewPoints);
    m_marks->SetVisible(false);
    SetColorEachPoint(false);
    if (!enabled) {
        SetSeriesColor(kGalleryDisabledColor);
    }
}

bool TChartSeries::SeriesClicked(int32_t valueIndex, forms::TMouseButton button,
                                 forms::TShiftState shift, int32_t x, int32_t y) {
    const bool doubleClick = (shift & forms::ssDouble) != 0 && m_onDblClick;
    const TSeriesClickEvent& handler = doubleClick ? m_onDblClick : m_onClick;
    if (!handler) {
        return false;
    }
    handler(*this, valueIndex, button, shift, x, y);
    return true;
}

}  // namespace chart
