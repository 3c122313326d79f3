// The series' part in a paint: its visible points, the value-to-pixel mapping through its axes,
// its depth slot and the drawing events.
#include <algorithm>
#include <array>
#include <span>

#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"

namespace chart {

void TChartSeries::ComputeVisibleRange() {
    m_firstVisibleIndex = -1;
    m_lastVisibleIndex = -1;
    const int32_t last = PointCount() - 1;
    if (last < 0) {
        return;
    }
    const bool alongX = YIsMandatory();
    const TChartValueList& list = alongX ? XValues() : YValues();
    if (!m_visibleRangeEnabled || list.Order() == TChartListOrder::loNone ||
        m_parentChart == nullptr) {
        m_firstVisibleIndex = 0;
        m_lastVisibleIndex = last;
        return;
    }
    const gfx::TRect& plot = m_parentChart->PlotRect();
    const bool inverted = m_parentChart->SeriesAxisInverted(*this, alongX);
    // The low end of a horizontal axis is its left edge, of a vertical one its bottom edge.
    int32_t lowPixel = alongX ? plot.Left : plot.Bottom;
    int32_t highPixel = alongX ? plot.Right : plot.Top;
    if (inverted) {
        std::swap(lowPixel, highPixel);
    }
    const double low = m_parentChart->SeriesPixelToValue(*this, lowPixel, alongX);
    const double high = m_parentChart->SeriesPixelToValue(*this, highPixel, alongX);
    int32_t first = 0;
    while (list.ValueAt(first) < low) {
        if (++first > last) {
            return;
        }
    }
    m_firstVisibleIndex = first;
    if (list.LastValue() <= high) {
        m_lastVisibleIndex = last;
        return;
    }
    int32_t lastVisible = first;
    while (lastVisible < last && list.ValueAt(lastVisible) < high) {
        ++lastVisible;
    }
    if (!m_includePointBeyondEnd && list.ValueAt(lastVisible) > high) {
        --lastVisible;
    }
    m_lastVisibleIndex = lastVisible;
}

void TChartSeries::DrawPoints() {
    if (m_lastVisibleIndex < m_firstVisibleIndex || m_firstVisibleIndex < 0) {
        return;
    }
    if (DrawInAscendingOrder()) {
        for (int32_t i = m_firstVisibleIndex; i <= m_lastVisibleIndex; ++i) {
            DrawPoint(i);
        }
    } else {
        for (int32_t i = m_lastVisibleIndex; i >= m_firstVisibleIndex; --i) {
            DrawPoint(i);
        }
    }
}

void TChartSeries::DoBeforeDrawValues() {
    if (m_beforeDrawValues) {
        m_beforeDrawValues(*this);
    }
}

void TChartSeries::DoAfterDrawValues() {
    if (m_afterDrawValues) {
        m_afterDrawValues(*this);
    }
}

int32_t TChartSeries::CalcXPosValue(double value) const {
    return m_parentChart == nullptr ? 0 : m_parentChart->SeriesValueToPixel(*this, value, true);
}

int32_t TChartSeries::CalcYPosValue(double value) const {
    return m_parentChart == nullptr ? 0 : m_parentChart->SeriesValueToPixel(*this, value, false);
}

void TChartSeries::PointsToScreen(int32_t first, int32_t last,
                                  std::vector<gfx::TPoint>& screen) const {
    screen.clear();
    if (last < first) {
        return;
    }
    const auto count = static_cast<size_t>(last - first + 1);
    if (m_parentChart == nullptr) {
        screen.assign(count, gfx::TPoint{});
        return;
    }
    // Read and map a block of values at a time.
    constexpr size_t kBlock = 512;
    std::array<double, kBlock> values{};
    std::array<int32_t, kBlock> xs{};
    std::array<int32_t, kBlock> ys{};
    screen.reserve(count);
    for (size_t done = 0; done < count; done += kBlock) {
        const size_t n = std::min(kBlock, count - done);
        const int32_t at = first + static_cast<int32_t>(done);
        XValues().ReadValues(at, std::span(values.data(), n));
        m_parentChart->SeriesValuesToPixels(*this, std::span(values.data(), n),
                                            std::span(xs.data(), n), true);
        YValues().ReadValues(at, std::span(values.data(), n));
        m_parentChart->SeriesValuesToPixels(*this, std::span(values.data(), n),
                                            std::span(ys.data(), n), false);
        for (size_t i = 0; i < n; ++i) {
            screen.push_back({xs[i], ys[i]});
        }
    }
}

double TChartSeries::XScreenToValue(int32_t pixel) const {
    return m_parentChart == nullptr ? 0 : m_parentChart->SeriesPixelToValue(*this, pixel, true);
}

double TChartSeries::YScreenToValue(int32_t pixel) const {
    return m_parentChart == nullptr ? 0 : m_parentChart->SeriesPixelToValue(*this, pixel, false);
}

void TChartSeries::SetDepthPositions(int32_t startZ, int32_t endZ) {
    m_startZ = startZ;
    m_endZ = endZ;
    m_middleZ = (startZ + endZ) / 2;
}

}  // namespace chart
