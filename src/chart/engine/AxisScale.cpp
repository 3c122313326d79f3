// The axis' scaling: ranges from the bound series (with paging), the label increment, the pixel
// extent and position, and the linear, logarithmic and depth mappings with their inverses.
#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chart/engine/Axis.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"
#include "chart/panel/ChartProcs.h"
#include "chart/panel/DateSteps.h"

namespace chart {

namespace {

// Pixel offsets at or beyond this magnitude do not fit a coordinate.
constexpr double kMaxPixelOffset = 2147483647.0;
// Smallest label step of a value axis.
constexpr double kMinimumStep = 1e-12;
// Smallest width of a fixed range.
constexpr double kMinimumFixedRange = 1e-10;
// A date-time axis considers at most this many steps before it widens the step directly.
constexpr double kMaxDateSteps = 1000000.0;
constexpr int32_t kOneYearStepIndex = 24;

// Nearest integer, halves to even, for values known to fit 32 bits: adding and taking away
// 1.5 * 2^52 leaves no fraction bits, so the sum rounds the way nearbyint does.
constexpr double kRounder = 6755399441055744.0;
int32_t RoundPixel(double value) {
    return static_cast<int32_t>((value + kRounder) - kRounder);
}

// Offsets below this magnitude are mapped through the scale; beyond it, by division.
constexpr double kScaledOffsetLimit = 1073741824.0;  // 2^30
// The offset through the scale differs from the divided one by less than 1e-15 of its size
// (a few roundings), so below 2^30 by less than 2e-6 pixels: farther than this from a tie it
// rounds to the same pixel.
constexpr double kTieMargin = 1e-5;

int64_t RoundCount(double value) {
    return static_cast<int64_t>(std::nearbyint(value));
}

double OneSecond() {
    return DateStepDays()[0];
}

double ValueOn(const TChartSeries& series, int32_t index, bool inX) {
    return inX ? series.XValueAt(index) : series.YValueAt(index);
}

// The series' depth slot: its own index, or the one the chart chose.
double SeriesDepth(const TChartSeries& series) {
    return static_cast<double>(series.EffectiveDepth());
}

}  // namespace

bool TCustomChartAxis::UsesAxis(const TChartSeries& series) const {
    if (m_isZAxis || !series.UsesAxes()) {
        return false;
    }
    // A series in a chart knows the axes of that chart it was resolved to (custom axes among
    // them); an axis standing outside the chart's axis list binds by its kind alone.
    if (series.HorizontalAxisRef() != nullptr && m_chart != nullptr) {
        const std::vector<TCustomChartAxis*>& axes = m_chart->AxesList();
        if (std::find(axes.begin(), axes.end(), this) != axes.end()) {
            return series.UsesAxis(*this);
        }
    }
    if (m_horizontal) {
        switch (series.HorizAxis()) {
            case THorizAxis::aTopAxis:
                return m_otherSide;
            case THorizAxis::aBottomAxis:
                return !m_otherSide;
            case THorizAxis::aBothHorizAxis:
                return true;
            case THorizAxis::aCustomHorizAxis:
                return false;
        }
        return false;
    }
    switch (series.VertAxis()) {
        case TVertAxis::aLeftAxis:
            return !m_otherSide;
        case TVertAxis::aRightAxis:
            return m_otherSide;
        case TVertAxis::aBothVertAxis:
            return true;
        case TVertAxis::aCustomVertAxis:
            return false;
    }
    return false;
}

double TCustomChartAxis::SeriesExtreme(bool inX, bool maximum) const {
    if (m_chart == nullptr) {
        return 0;
    }
    const TAxisChartHooks& hooks = ChartHooks();
    const int32_t count = m_chart->SeriesCount();
    if (m_isZAxis) {
        if (EffectiveLabelStyle() != TAxisLabelStyle::talValue) {
            return maximum ? hooks.MaxDepthIndex + 0.5 : -0.5;
        }
        for (int32_t i = 0; i < count; ++i) {
            if (m_chart->Series(i)->Active()) {
                return SeriesDepth(*m_chart->Series(i));
            }
        }
        return 0;
    }
    TChartSeries* first = nullptr;
    bool anyActive = false;
    for (int32_t i = 0; i < count; ++i) {
        TChartSeries* series = m_chart->Series(i);
        if (!UsesAxis(*series)) {
            continue;
        }
        if (series->Active()) {
            if (!anyActive) {
                first = series;
            }
            anyActive = true;
        } else if (first == nullptr) {
            first = series;
        }
    }
    const int32_t perPage = hooks.MaxPointsPerPage;
    const bool independent = first == nullptr ? inX : inX == first->YIsMandatory();
    if (perPage > 0 && independent) {
        const int32_t n = first == nullptr ? 0 : first->PointCount();
        if (n <= 0) {
            return 0;
        }
        int32_t firstIndex = perPage * (hooks.Page - 1);
        if (firstIndex >= n || firstIndex < 0) {
            firstIndex = std::max(0, n / perPage - 1) * perPage;
        }
        int32_t lastIndex = firstIndex + perPage - 1;
        if (lastIndex >= n) {
            lastIndex = firstIndex + (n % perPage) - 1;
        }
        const double low = ValueOn(*first, firstIndex, inX);
        if (!maximum) {
            return low;
        }
        const double high = ValueOn(*first, lastIndex, inX);
        const int32_t onPage = lastIndex - firstIndex + 1;
        if (!hooks.ScaleLastPage && onPage < perPage) {
            return low + (high - low) * perPage / onPage;
        }
        return high;
    }
    bool found = false;
    double result = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TChartSeries* series = m_chart->Series(i);
        if ((!series->Active() && anyActive) || series->PointCount() == 0 || !UsesAxis(*series)) {
            continue;
        }
        double value = 0;
        if (maximum) {
            value = inX ? series->HighestX() : series->HighestY();
        } else {
            value = inX ? series->LowestX() : series->LowestY();
        }
        if (!found || (maximum ? value > result : value < result)) {
            result = value;
        }
        found = true;
    }
    return result;
}

void TCustomChartAxis::ComputeRange() {
    if (m_automatic || m_automaticMaximum) {
        m_maximum = SeriesMaximumOn(m_horizontal);
    }
    if (m_automatic || m_automaticMinimum) {
        m_minimum = SeriesMinimumOn(m_horizontal);
    }
    m_currentMaximum = m_maximum;
    m_currentMinimum = m_minimum;
    m_currentRange = m_currentMaximum - m_currentMinimum;
}

void TCustomChartAxis::ExpandRangeForMargins(int32_t left, int32_t top, int32_t right,
                                             int32_t bottom) {
    const int32_t m1 = m_horizontal ? left : top;
    const int32_t m2 = m_horizontal ? right : bottom;
    if (m1 == 0 && m2 == 0) {
        return;
    }
    // Margins that leave no pixel of the axis cannot be honoured; the range stays as it is
    // rather than collapsing to 0 .. 0.
    if (m_axisLength - m1 - m2 < 1) {
        return;
    }
    const int32_t s = m_startPixel;
    const int32_t e = m_endPixel;
    m_startPixel += m1;
    m_endPixel -= m2;
    m_axisLength = m_endPixel - m_startPixel;
    double newMinimum = PosToValue(s);
    double newMaximum = PosToValue(e);
    if (newMinimum > newMaximum) {
        std::swap(newMinimum, newMaximum);
    }
    ComputePositions();
    m_currentMinimum = newMinimum;
    m_currentMaximum = newMaximum;
    m_currentRange = newMaximum - newMinimum;
}

void TCustomChartAxis::SetPixelExtent(int32_t startPixel, int32_t endPixel) {
    m_startPixel = startPixel;
    m_endPixel = endPixel;
    m_axisLength = endPixel - startPixel;
    m_centerPixel = (startPixel + endPixel) / 2;
}

void TCustomChartAxis::ComputePositions() {
    if (m_chart == nullptr) {
        return;
    }
    const gfx::TRect& plot = m_chart->PlotRect();
    const int32_t origin = m_horizontal ? plot.Left : plot.Top;
    const int32_t size = m_horizontal ? m_chart->PlotWidth() : m_chart->PlotHeight();
    SetPixelExtent(origin + RoundPixel(size * 0.01 * m_startPosition),
                   origin + RoundPixel(size * 0.01 * m_endPosition));
}

int32_t TCustomChartAxis::EdgeOfRectangle(const gfx::TRect& rect) const {
    if (m_horizontal) {
        return m_otherSide ? rect.Top : rect.Bottom;
    }
    return m_otherSide ? rect.Right : rect.Left;
}

int32_t TCustomChartAxis::ApplyPositionPercent(int32_t coordinate, const gfx::TRect& rect) const {
    if (m_positionPercent == 0) {
        return coordinate;
    }
    const int32_t size = m_horizontal ? rect.Height() : rect.Width();
    int32_t shift = RoundPixel(m_positionPercent * 0.01 * size);
    if (m_otherSide) {
        shift = -shift;
    }
    return m_horizontal ? coordinate - shift : coordinate + shift;
}

bool TCustomChartAxis::IsDateTimeAxis() const {
    if (m_chart == nullptr) {
        return false;
    }
    for (int32_t i = 0; i < m_chart->SeriesCount(); ++i) {
        const TChartSeries* series = m_chart->Series(i);
        if (series->Active() && UsesAxis(*series)) {
            return m_horizontal ? series->XValues().DateTime() : series->YValues().DateTime();
        }
    }
    return false;
}

int32_t TCustomChartAxis::LabelExtent(const std::string& text, bool width) {
    int32_t lines = 0;
    const int32_t textWidth = MultiLineWidth(text, lines);
    const bool upright = m_labelsAngle == 90 || m_labelsAngle == 270;
    const bool flat = m_labelsAngle == 0 || m_labelsAngle == 180;
    if (width ? upright : flat) {
        return FontHeight() * lines;
    }
    return textWidth;
}

double TCustomChartAxis::ComputeIncrement() {
    int32_t size = 0;
    if (m_chart != nullptr) {
        m_isDateTimeAxis = IsDateTimeAxis();
        SelectFont(*m_labelsFont);
        size = std::max(LabelExtent(LabelText(m_currentMaximum), m_horizontal),
                        LabelExtent(LabelText(m_currentMinimum), m_horizontal));
    }
    int32_t count = 1;
    if (size > 0) {
        const double spaced =
            m_labelsSeparation > 0 ? size + RoundPixel(m_labelsSeparation * 0.01 * size) : size;
        count = static_cast<int32_t>(std::clamp<double>(std::nearbyint(m_axisLength * 1.0 / spaced),
                                                        -kMaxPixelOffset, kMaxPixelOffset));
    }
    return IncrementForCount(count);
}

double TCustomChartAxis::IncrementForCount(int32_t maxLabels) const {
    if (maxLabels < 1) {
        return m_isDateTimeAxis ? OneSecond() : kMinimumStep;
    }
    if (m_isDateTimeAxis) {
        double d = std::max(OneSecond(), m_increment);
        if (m_currentRange / d > kMaxDateSteps) {
            d = m_currentRange / kMaxDateSteps;
        }
        const double oneYear = DateStepDays()[kOneYearStepIndex];
        while (RoundCount(m_currentRange / d) > maxLabels) {
            d = d >= oneYear ? d * 2 : NextDateStep(d);
        }
        return std::max(OneSecond(), d);
    }
    double step = m_increment;
    if (step <= 0) {
        step = std::fabs(m_currentRange) >= 1 ? 1.0 : kMinimumStep;
    }
    if (m_labelsSeparation > 0 && std::isfinite(m_currentRange)) {
        while (true) {
            const double q = m_currentRange / step;
            if (std::fabs(q) < kMaxPixelOffset) {
                if (RoundCount(q) <= maxLabels) {
                    break;
                }
            }
            step = NextOneTwoFive(step);
        }
    }
    return std::max(kMinimumStep, step);
}

int32_t TCustomChartAxis::Depth() const {
    return m_chart == nullptr ? 0 : m_chart->DepthExtent();
}

std::pair<double, double> TCustomChartAxis::LogBounds() const {
    return {m_currentMinimum > 0 ? std::log(m_currentMinimum) : 0,
            m_currentMaximum > 0 ? std::log(m_currentMaximum) : 0};
}

int32_t TCustomChartAxis::ValueToPos(double value) const {
    return m_horizontal ? ValueToXPos(value) : ValueToYPos(value);
}

int32_t TPixelMapping::Pixel(double value) const {
    if (Range == 0) {
        return Centre;
    }
    double offset = 0;
    if (Logarithmic) {
        if (!(value > 0)) {
            return NotPositive;
        }
        offset =
            (Inverted ? Maximum - std::log(value) : std::log(value) - Minimum) * Length / Range;
    } else {
        offset = (value - Minimum) * Length / Range;
    }
    return std::fabs(offset) < kMaxPixelOffset ? Origin + Sign * RoundPixel(offset) : Centre;
}

void TPixelMapping::Pixels(std::span<const double> values, std::span<int32_t> pixels) const {
    const size_t count = std::min(values.size(), pixels.size());
    if (count == 0) {
        return;
    }
    size_t done = 0;
    if (!Logarithmic && Scale != 0) {
        done = ScaledPixels(values.first(count), pixels);
        if (done == count) {
            return;
        }
    }
    // Equal values map to equal pixels; NaN equals nothing and is always computed.
    double recent[2] = {values[done], values[done]};
    int32_t recentPixel[2] = {Pixel(values[done]), Pixel(values[done])};
    size_t older = 0;
    for (size_t i = done; i < count; ++i) {
        const double value = values[i];
        if (value == recent[0]) {
            pixels[i] = recentPixel[0];
        } else if (value == recent[1]) {
            pixels[i] = recentPixel[1];
        } else {
            pixels[i] = Pixel(value);
            recent[older] = value;
            recentPixel[older] = pixels[i];
            older = 1 - older;
        }
    }
}

size_t TPixelMapping::ScaledPixels(std::span<const double> values,
                                   std::span<int32_t> pixels) const {
    // Two values at a time in the compiler's portable vector types. Rounding halves to even
    // is symmetric, so the sign goes into the scale and the origin is added before converting
    // (both exact: whole numbers below 2^31). Whether every offset was safe from a tie is
    // checked once per block; a block in which one was not is mapped again value by value, so
    // one value near a tie costs its block, not the whole series.
    using TPair = double __attribute__((vector_size(16)));
    using TPixelPair = int32_t __attribute__((vector_size(8)));
    constexpr size_t kPair = 2;
    constexpr size_t kBlock = 64;  // values checked together
    const double signedScale = Sign * Scale;
    const double within = 0.5 - kTieMargin;
    const auto origin = static_cast<double>(Origin);
    const TPair minimum = {Minimum, Minimum};
    const TPair scale = {signedScale, signedScale};
    const TPair rounder = {kRounder, kRounder};
    const TPair limit = {kScaledOffsetLimit, kScaledOffsetLimit};
    const TPair margin = {within, within};
    const TPair start = {origin, origin};
    const size_t count = values.size() - values.size() % kPair;
    // Whether both offsets are safely inside the limit and their fractions away from a tie
    // (NaN fails every comparison and so is never sure); SSE2's comparisons where there is SSE2,
    // for the portable vectors' comparisons of doubles become scalar moves there.
    const auto bothSure = [&](const TPair& offset, const TPair& fraction) {
#if defined(__SSE2__)
        const __m128d inside =
            _mm_and_pd(_mm_cmplt_pd(offset, limit), _mm_cmpgt_pd(offset, -limit));
        const __m128d away =
            _mm_and_pd(_mm_cmplt_pd(fraction, margin), _mm_cmpgt_pd(fraction, -margin));
        return _mm_movemask_pd(_mm_and_pd(inside, away)) == 3;
#else
        using TPairMask = int64_t __attribute__((vector_size(16)));
        const TPairMask sure =
            (offset < limit) & (offset > -limit) & (fraction < margin) & (fraction > -margin);
        return (sure[0] & sure[1]) != 0;
#endif
    };
    for (size_t block = 0; block < count; block += kBlock) {
        const size_t end = std::min(count, block + kBlock);
        bool sure = true;
        for (size_t i = block; i < end; i += kPair) {
            TPair value;
            std::memcpy(&value, values.data() + i, sizeof value);
            const TPair offset = (value - minimum) * scale;
            const TPair rounded = (offset + rounder) - rounder;
            const TPair fraction = offset - rounded;
            sure &= bothSure(offset, fraction);
            const TPixelPair pixel = __builtin_convertvector(rounded + start, TPixelPair);
            std::memcpy(pixels.data() + i, &pixel, sizeof pixel);
        }
        if (sure) {
            continue;
        }
        // Again one by one, dividing only for the values that are not sure.
        for (size_t i = block; i < end; ++i) {
            const double offset = (values[i] - Minimum) * signedScale;
            const double rounded = (offset + kRounder) - kRounder;
            const double fraction = offset - rounded;
            const bool valueSure = offset < kScaledOffsetLimit && offset > -kScaledOffsetLimit &&
                                   fraction < within && fraction > -within;
            pixels[i] = valueSure ? static_cast<int32_t>(rounded + origin) : Pixel(values[i]);
        }
    }
    return count;
}

TPixelMapping TCustomChartAxis::PixelMapping(bool alongX) const {
    TPixelMapping mapping;
    mapping.Logarithmic = m_logarithmic;
    mapping.Inverted = m_inverted;
    mapping.Length = m_axisLength;
    mapping.Centre = m_centerPixel;
    if (m_logarithmic) {
        // The offset counts from the low end (or the high end when inverted).
        const auto [lmin, lmax] = LogBounds();
        mapping.Minimum = lmin;
        mapping.Maximum = lmax;
        mapping.Range = lmax - lmin;
        mapping.Origin = alongX ? m_startPixel : m_endPixel;
        mapping.Sign = alongX ? 1 : -1;
        mapping.NotPositive = (alongX != m_inverted) ? m_startPixel : m_endPixel;
    } else {
        // The offset counts from the minimum; inverting turns the direction.
        mapping.Minimum = m_currentMinimum;
        mapping.Maximum = m_currentMaximum;
        mapping.Range = m_currentRange;
        const bool fromStart = alongX != m_inverted;
        mapping.Origin = fromStart ? m_startPixel : m_endPixel;
        mapping.Sign = fromStart ? 1 : -1;
        // The scaled mapping adds offsets below 2^30 to the origin within 32 bits.
        if (m_currentRange != 0 && std::abs(mapping.Origin) < kScaledOffsetLimit) {
            mapping.Scale = m_axisLength / m_currentRange;
        }
    }
    return mapping;
}

int32_t TCustomChartAxis::ValueToXPos(double value) const {
    if (m_isZAxis) {
        const int32_t depth = Depth();
        if (m_currentRange == 0) {
            return depth / 2;
        }
        const double along = m_inverted ? m_currentMaximum - value : value - m_currentMinimum;
        const double p = depth * along / m_currentRange;
        return std::fabs(p) < kMaxPixelOffset ? RoundPixel(p) : depth / 2;
    }
    return PixelMapping(true).Pixel(value);
}

int32_t TCustomChartAxis::ValueToYPos(double value) const {
    if (m_isZAxis) {
        return ValueToXPos(value);
    }
    return PixelMapping(false).Pixel(value);
}

double TCustomChartAxis::PosToValue(int32_t pixel) const {
    if (m_logarithmic) {
        const bool startIsMinimum = m_horizontal != m_inverted;
        if (pixel == m_startPixel) {
            return startIsMinimum ? m_currentMinimum : m_currentMaximum;
        }
        if (pixel == m_endPixel) {
            return startIsMinimum ? m_currentMaximum : m_currentMinimum;
        }
        const auto [lmin, lmax] = LogBounds();
        const double span = lmax - lmin;
        if (span == 0 || m_axisLength < 1) {
            return m_currentMinimum;
        }
        const int32_t along = m_inverted ? m_endPixel - pixel : pixel - m_startPixel;
        const double d = span * along / m_axisLength;
        return m_horizontal ? std::exp(lmin + d) : std::exp(lmax - d);
    }
    if (m_axisLength < 1) {
        return 0;
    }
    const int64_t along = m_inverted ? int64_t{m_endPixel} - pixel : int64_t{pixel} - m_startPixel;
    const double a = static_cast<double>(along) * m_currentRange / m_axisLength;
    return m_horizontal ? m_currentMinimum + a : m_currentMaximum - a;
}

void TCustomChartAxis::SetAxisRange(double minimum, double maximum) {
    m_automatic = false;
    m_automaticMinimum = false;
    m_automaticMaximum = false;
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    m_minimum = minimum;
    m_maximum = maximum;
    if (m_maximum - m_minimum < kMinimumFixedRange) {
        m_maximum = m_minimum + kMinimumFixedRange;
    }
    Repaint();
}

void TCustomChartAxis::ShiftAxisRange(double offset, bool checkLimits) {
    if (checkLimits) {
        const bool forward = offset > 0 && SeriesMaximumOn(m_horizontal) > m_maximum;
        const bool backward = offset < 0 && SeriesMinimumOn(m_horizontal) < m_minimum;
        if (!forward && !backward) {
            return;
        }
    }
    m_automatic = false;
    m_automaticMinimum = false;
    m_automaticMaximum = false;
    m_maximum += offset;
    m_minimum += offset;
    Repaint();
}

}  // namespace chart
