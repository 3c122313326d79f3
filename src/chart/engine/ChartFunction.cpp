// The calculated-series function base: period settings, filling, calculate-all and
// calculate-by-period in points and in ranges, and the many-source rule.
#include "chart/engine/ChartFunction.h"

#include <cmath>

#include "base/Arith.h"
#include "base/Conversions.h"
#include "base/Format.h"
#include "chart/engine/Axis.h"
#include "chart/engine/Series.h"
#include "chart/engine/ValueList.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/DateSteps.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// A range's result placed at its end stands this share of the period before the end, so that
// it stays inside its own range.
constexpr double kRangeEndShare = 1.0 / 1000.0;
// The one-day step: from it up, date-time ranges start at a calendar boundary.
constexpr int32_t kFirstDayStep = 14;

// The date step of period when the positions are date-times within the calendar and the period
// is one of the axis' steps of a day or more; -1 otherwise (ranges of plain width).
int32_t CalendarStep(const TChartValueList& positions, double period) {
    if (!positions.DateTime() || positions.ValueCount() == 0) {
        return -1;
    }
    const int32_t index = DateStepIndex(period);
    if (index < kFirstDayStep || index >= kDateStepCount) {
        return -1;
    }
    const bool inCalendar =
        positions.MinimumValue() > 0 && positions.MaximumValue() < TCustomChartAxis::kDateTimeLimit;
    return inCalendar ? index : -1;
}

// Where the first range starts: the first position, or its calendar boundary.
double FirstRangeStart(const TChartValueList& positions, int32_t calendarStep) {
    const double first = positions.ValueAt(0);
    return calendarStep < 0 ? first : RoundDateToStep(calendarStep, first);
}
}  // namespace

TChartFunction::TChartFunction(classes::TComponent* owner) : classes::TComponent(owner) {}

TChartFunction::~TChartFunction() {
    if (m_functionOwner != nullptr) {
        m_functionOwner->ForgetFunction(this);
    }
}

const classes::TClassInfo& TChartFunction::StaticClass() {
    using T = TChartFunction;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TChartFunction", &classes::TComponent::StaticClass())
            .Float("Period", &T::Period, &T::SetPeriod, 0.0)
            .Enum<TFunctionPeriodAlign>("PeriodAlign", &T::PeriodAlign, &T::SetPeriodAlign,
                                        {"paFirst", "paCenter", "paLast"},
                                        TFunctionPeriodAlign::paCenter)
            .Enum<TFunctionPeriodStyle>("PeriodStyle", &T::PeriodStyle, &T::SetPeriodStyle,
                                        {"psNumPoints", "psRange"},
                                        TFunctionPeriodStyle::psNumPoints)
            .Build();
    return info;
}

const classes::TClassInfo& TChartFunction::ClassInfo() const {
    return StaticClass();
}

void TChartFunction::SetPeriod(double value) {
    if (!(value >= 0)) {
        throw ChartException(kMsgFunctionPeriod);
    }
    if (std::isinf(value)) {
        throw ChartException(base::Format(kMsgFunctionPeriodTooLarge, {base::FloatToStr(value)}));
    }
    if (value != m_period) {
        CheckRangeCount(value, m_periodStyle);
        m_period = value;
        Recalculate();
    }
}

void TChartFunction::CheckRangeCount(double period, TFunctionPeriodStyle style) const {
    if (style != TFunctionPeriodStyle::psRange || period == 0 || m_functionOwner == nullptr ||
        m_functionOwner->DataSourceCount() != 1 ||
        m_functionOwner->DataSource()->PointCount() == 0) {
        return;
    }
    const TChartValueList& positions = PositionListOf(*m_functionOwner->DataSource());
    const double start = FirstRangeStart(positions, CalendarStep(positions, period));
    if (!std::isfinite(start + period)) {
        throw ChartException(base::Format(kMsgFunctionPeriodTooLarge, {base::FloatToStr(period)}));
    }
    // Every range up to the last position gives a point, empty or not.
    const double ranges = (positions.MaximumValue() - start) / period + 1;
    if (!(ranges <= kMaxResultPoints)) {
        throw ChartException(
            base::Format(kMsgFunctionTooManyPoints,
                         {base::FloatToStr(period), static_cast<int64_t>(kMaxResultPoints)}));
    }
}

void TChartFunction::SetPeriodAlign(TFunctionPeriodAlign value) {
    if (value != m_periodAlign) {
        m_periodAlign = value;
        Recalculate();
    }
}

void TChartFunction::SetPeriodStyle(TFunctionPeriodStyle value) {
    if (value != m_periodStyle) {
        CheckRangeCount(m_period, value);
        m_periodStyle = value;
        Recalculate();
    }
}

void TChartFunction::Recalculate() {
    if (m_functionOwner != nullptr) {
        m_functionOwner->RefreshFromDataSource();
    }
}

classes::TComponent* TChartFunction::ParentComponent() const {
    return m_functionOwner;
}

void TChartFunction::SetParentComponent(classes::TComponent* parent) {
    // A function without a series is stored with its owner and read back there; no other
    // component can hold one.
    if (auto* series = dynamic_cast<TChartSeries*>(parent)) {
        series->SetFunction(this);
    } else if (parent != nullptr && parent != Owner()) {
        throw classes::EComponentError(ClassName() + " cannot be placed inside " +
                                       parent->ClassName());
    }
}

const TChartValueList& TChartFunction::ValueListOf(const TChartSeries& source) const {
    if (m_functionOwner != nullptr) {
        const std::string& name = m_functionOwner->MandatoryValueList().ValueSource();
        if (!name.empty()) {
            return const_cast<TChartSeries&>(source).ValueListByName(name);
        }
    }
    return source.MandatoryValueList();
}

const TChartValueList& TChartFunction::PositionListOf(const TChartSeries& source) {
    return source.YIsMandatory() ? source.XValues() : source.YValues();
}

void TChartFunction::AddFunctionPoint(const TChartSeries& source, double position, double value) {
    if (source.YIsMandatory()) {
        m_functionOwner->AppendXY(position, value, std::string(), clSeriesDefault);
    } else {
        m_functionOwner->AppendXY(value, position, std::string(), clSeriesDefault);
    }
}

void TChartFunction::Fill(const TChartSeries& source) {
    if (m_functionOwner == nullptr) {
        return;
    }
    TChartSeries& owner = *m_functionOwner;
    if (owner.DataSourceCount() > 1) {
        const std::vector<TChartSeries*> sources = owner.DataSources();
        const TChartValueList& positions = PositionListOf(source);
        for (int32_t i = 0; i < source.PointCount(); ++i) {
            const double p = positions.ValueAt(i);
            const double v = ValueAcrossSources(sources, i);
            if (source.YIsMandatory()) {
                owner.AppendXY(p, v, source.PointLabel(i), clSeriesDefault);
            } else {
                owner.AppendXY(v, p, source.PointLabel(i), clSeriesDefault);
            }
        }
        return;
    }
    if (source.PointCount() == 0) {
        return;
    }
    if (m_period == 0) {
        CalculateAll(source, PositionListOf(source));
    } else {
        CalculateByPeriod(source, PositionListOf(source));
    }
}

void TChartFunction::CalculateAll(const TChartSeries& source, const TChartValueList& positions) {
    const double v = ValueOverPoints(source, -1, -1);
    const double low = positions.MinimumValue();
    const double high = positions.MaximumValue();
    if (!m_functionOwner->SinglePointResult()) {
        AddFunctionPoint(source, low, v);
        AddFunctionPoint(source, high, v);
        return;
    }
    const double middle = (high - low) * 0.5 + low;
    if (m_functionOwner->YIsMandatory()) {
        m_functionOwner->AppendXY(middle, v, std::string(), clSeriesDefault);
    } else {
        m_functionOwner->AppendXY(v, middle, std::string(), clSeriesDefault);
    }
}

void TChartFunction::CalculateByPeriod(const TChartSeries& source,
                                       const TChartValueList& positions) {
    switch (m_periodStyle) {
        case TFunctionPeriodStyle::psNumPoints:
            CalculateByPoints(source, positions);
            return;
        case TFunctionPeriodStyle::psRange:
            CalculateByRanges(source, positions);
            return;
    }
}

double TChartFunction::AlignedPosition(double start, double end) const {
    switch (m_periodAlign) {
        case TFunctionPeriodAlign::paFirst:
            return start;
        case TFunctionPeriodAlign::paCenter:
            return (start + end) / 2;
        case TFunctionPeriodAlign::paLast:
            return end;
    }
    return start;
}

void TChartFunction::AddPeriodPoint(const TChartSeries& source, int32_t first, int32_t last,
                                    double position) {
    AddFunctionPoint(source, position, ValueOverPoints(source, first, last));
}

void TChartFunction::CalculateByPoints(const TChartSeries& source,
                                       const TChartValueList& positions) {
    const int32_t n = source.PointCount();
    // A group longer than the source gives nothing (and a period past the integers cannot
    // be rounded).
    if (m_period > n) {
        return;
    }
    // A period below one point (0 < Period <= 0.5 rounds to 0) would never advance: groups
    // hold at least one point.
    int64_t k = base::Round(m_period);
    if (k < 1) {
        k = 1;
    }
    int64_t d = 0;
    while (d <= n - 1) {
        const int64_t i = d + k - 1;
        if (i < n) {
            const auto first = static_cast<int32_t>(d);
            const auto last = static_cast<int32_t>(i);
            AddPeriodPoint(source, first, last,
                           AlignedPosition(positions.ValueAt(first), positions.ValueAt(last)));
        }
        d = i + 1;
    }
}

void TChartFunction::CalculateByRanges(const TChartSeries& source,
                                       const TChartValueList& positions) {
    // The source may have grown past the bound since the period was set.
    CheckRangeCount(m_period, TFunctionPeriodStyle::psRange);
    const int32_t n = source.PointCount();
    int32_t d = 0;
    const int32_t calendarStep = CalendarStep(positions, m_period);
    double start = FirstRangeStart(positions, calendarStep);
    while (d <= n - 1) {
        double end = start;
        StepDate(calendarStep >= 0, true, end, calendarStep, m_period);
        if (end <= start) {
            // A period too small to move a position this large: the range ends just past it.
            end = std::nextafter(start, HUGE_VAL);
        }
        int32_t i = d - 1;
        while (i + 1 < n && positions.ValueAt(i + 1) < end) {
            ++i;
        }
        const double position = AlignedPosition(start, end - m_period * kRangeEndShare);
        if (i >= d) {
            AddPeriodPoint(source, d, i, position);
            d = i + 1;
        } else {
            AddFunctionPoint(source, position, 0);
        }
        start = end;
    }
}

const classes::TClassInfo& TManySeriesFunction::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TManySeriesFunction>("TManySeriesFunction",
                                                    &TChartFunction::StaticClass())
            .Build();
    return info;
}

const classes::TClassInfo& TManySeriesFunction::ClassInfo() const {
    return StaticClass();
}

double TManySeriesFunction::ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                                               int32_t index) const {
    bool started = false;
    double accumulated = 0;
    for (const TChartSeries* source : sources) {
        if (index >= source->PointCount()) {
            continue;
        }
        const double value = ValueListOf(*source).ValueAt(index);
        accumulated = started ? CombineTwo(accumulated, value) : value;
        started = true;
    }
    return accumulated;
}

}  // namespace chart
