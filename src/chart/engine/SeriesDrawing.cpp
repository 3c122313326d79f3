// The series' part in a paint: its visible points, the value-to-pixel mapping through its axes,
// its depth slot, the drawing events, and its marks with their texts.
#include <algorithm>
#include <array>
#include <span>

#include "base/Conversions.h"
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
    if (last < first) {
        screen.clear();
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
    screen.resize(count);
    for (size_t done = 0; done < count; done += kBlock) {
        const size_t n = std::min(kBlock, count - done);
        const int32_t at = first + static_cast<int32_t>(done);
        XValues().ReadValues(at, std::span(values.data(), n));
        m_parentChart->SeriesValuesToPixels(*this, std::span(values.data(), n),
                                            std::span(xs.data(), n), true);
        YValues().ReadValues(at, std::span(values.data(), n));
        m_parentChart->SeriesValuesToPixels(*this, std::span(values.data(), n),
                                            std::span(ys.data(), n), false);
        gfx::TPoint* out = screen.data() + done;
        for (size_t i = 0; i < n; ++i) {
            out[i] = {xs[i], ys[i]};
        }
    }
}

double TChartSeries::XScreenToValue(int32_t pixel) const {
    return m_parentChart == nullptr ? 0 : m_parentChart->SeriesPixelToValue(*this, pixel, true);
}

double TChartSeries::YScreenToValue(int32_t pixel) const {
    return m_parentChart == nullptr ? 0 : m_parentChart->SeriesPixelToValue(*this, pixel, false);
}

std::string TChartSeries::XValueText(int32_t index) const {
    const double x = XValueAt(index);
    if (m_horizontalAxisRef != nullptr) {
        return m_horizontalAxisRef->ValueLabelText(x);
    }
    return base::FormatFloat(m_valueFormat, x);
}

std::string TChartSeries::MarkText(int32_t index) {
    std::string text;
    switch (m_marks->Style()) {
        case TSeriesMarksStyle::smsValue:
            text = ValueText(index);
            break;
        case TSeriesMarksStyle::smsPercent:
            text = PercentText(index, false);
            break;
        case TSeriesMarksStyle::smsLabel:
            text = LabelOrValueText(index);
            break;
        case TSeriesMarksStyle::smsLabelPercent:
            text = LabelOrValueText(index) + " " + PercentText(index, false);
            break;
        case TSeriesMarksStyle::smsLabelValue:
            text = LabelOrValueText(index) + " " + ValueText(index);
            break;
        case TSeriesMarksStyle::smsLegend:
            if (m_parentChart != nullptr) {
                text = m_parentChart->LegendValueText(*this, index);
            }
            break;
        case TSeriesMarksStyle::smsPercentTotal:
            text = PercentText(index, true);
            break;
        case TSeriesMarksStyle::smsLabelPercentTotal:
            text = LabelOrValueText(index) + " " + PercentText(index, true);
            break;
        case TSeriesMarksStyle::smsXValue:
            text = XValueText(index);
            break;
    }
    if (m_onGetMarkText) {
        m_onGetMarkText(*this, index, text);
    }
    return text;
}

int32_t TChartSeries::MaxMarkWidth() {
    int32_t widest = 0;
    if (m_parentChart == nullptr) {
        return widest;
    }
    int32_t lines = 0;
    for (int32_t i = 0; i < PointCount(); ++i) {
        widest = std::max(widest, m_parentChart->WidestLineWidth(MarkText(i), lines));
    }
    return widest;
}

void TChartSeries::DrawMarks() {
    DrawMarksMeasured(true);
}

void TChartSeries::DrawMarksOneByOne() {
    DrawMarksMeasured(false);
}

void TChartSeries::DrawMarksMeasured(bool measuredOnce) {
    if (m_parentChart == nullptr || m_firstVisibleIndex < 0) {
        return;
    }
    TChartCanvas3D& canvas = m_parentChart->Canvas();
    m_parentChart->ApplyFont(m_marks->Font());
    const int32_t lineHeight = canvas.TextLineHeight();
    const int32_t wideChar = canvas.TextWidthOf("W");
    const int32_t frameRoom = m_marks->Frame().Visible() ? 2 * m_marks->Frame().Width() : 0;
    // Every mark's text lines are as high as this one: measured once, not for each mark.
    struct TPaintLineHeight {
        TSeriesMarks& Marks;
        TPaintLineHeight(TSeriesMarks& marks, int32_t pixels) : Marks(marks) {
            Marks.SetPaintLineHeight(pixels);
        }
        ~TPaintLineHeight() { Marks.SetPaintLineHeight(0); }
        TPaintLineHeight(const TPaintLineHeight&) = delete;
        TPaintLineHeight& operator=(const TPaintLineHeight&) = delete;
    };
    const TPaintLineHeight once(*m_marks, measuredOnce ? lineHeight : 0);
    for (int32_t i = m_firstVisibleIndex; i <= m_lastVisibleIndex; ++i) {
        if (PointColor(i) == gfx::clNone) {
            continue;
        }
        const std::string text = MarkText(i);
        if (text.empty()) {
            continue;
        }
        int32_t lines = 0;
        const int32_t textWidth = m_parentChart->WidestLineWidth(text, lines);
        TSeriesMarkPosition position;
        position.Width = textWidth + wideChar + frameRoom;
        position.Height = lines * lineHeight + frameRoom;
        position.ArrowFromX = PointScreenX(i);
        position.ArrowFromY = PointScreenY(i);
        position.ArrowToX = position.ArrowFromX;
        position.ArrowToY = position.ArrowFromY;
        position.Left = position.ArrowToX - position.Width / 2;
        position.Top = position.ArrowToY - position.Height;
        DrawMark(i, text, position);
    }
}

void TChartSeries::DrawMark(int32_t index, const std::string& text, TSeriesMarkPosition& position) {
    m_marks->DrawMarkItem(index, PointColor(index), text, position);
}

void TChartSeries::SetDepthPositions(int32_t startZ, int32_t endZ) {
    m_startZ = startZ;
    m_endZ = endZ;
    m_middleZ = (startZ + endZ) / 2;
    m_marks->SetZPosition(m_middleZ);
}

}  // namespace chart
