// The calculated-series function base: period settings, filling, calculate-all and
// calculate-by-period in points and in ranges, and the many-source rule.
#include "chart/engine/ChartFunction.h"

#include <cmath>

#include "base/Arith.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// A range's result placed at its end stands this share of the period before the end, so that
// it stays inside its own range.
constexpr double kRangeEndShare = 1.0 / 1000.0;
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
    if (value < 0) {
        throw ChartException(kMsgFunctionPeriod);
    }
    if (value != m_period) {
        m_period = value;
        Recalculate();
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
    const int32_t n = source.PointCount();
    int32_t d = 0;
    double start = positions.ValueAt(0);
    while (d <= n - 1) {
        double end = start + m_period;
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
