// The seven calculated-series function kinds and their design-data classes.
#include "chart/functions/ChartFunctions.h"

#include <algorithm>

#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {

// Folds the values first .. last of source's value list with pick (max, min or sum); 0 when
// last < first.
template <class Pick>
double FoldRange(const TChartValueList& list, int32_t first, int32_t last, Pick pick) {
    if (last < first) {
        return 0;
    }
    double result = list.ValueAt(first);
    for (int32_t i = first + 1; i <= last; ++i) {
        result = pick(result, list.ValueAt(i));
    }
    return result;
}

double Sum(double a, double b) {
    return a + b;
}

// Walks the sources in order: the first source's value (when it has point index) or a later
// source's value that better wins; 0 when none has the point.
template <class Better>
double WalkSources(const TChartFunction& function, const std::vector<TChartSeries*>& sources,
                   int32_t index, Better better) {
    double result = 0;
    for (size_t k = 0; k < sources.size(); ++k) {
        if (index >= sources[k]->PointCount()) {
            continue;
        }
        const double value = function.ValueListOf(*sources[k]).ValueAt(index);
        if (k == 0 || better(value, result)) {
            result = value;
        }
    }
    return result;
}

// Sum and number of the sources that have point index.
std::pair<double, int32_t> SumAcross(const TChartFunction& function,
                                     const std::vector<TChartSeries*>& sources, int32_t index) {
    double sum = 0;
    int32_t count = 0;
    for (const TChartSeries* source : sources) {
        if (index < source->PointCount()) {
            sum += function.ValueListOf(*source).ValueAt(index);
            ++count;
        }
    }
    return {sum, count};
}

template <class T>
const classes::TClassInfo& FunctionClass(const char* name, const classes::TClassInfo& parent) {
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>(name, &parent).Creatable().Build();
    return info;
}

}  // namespace

// --- Add -------------------------------------------------------------------------------------

const classes::TClassInfo& TAddFunction::StaticClass() {
    return FunctionClass<TAddFunction>("TAddFunction", TChartFunction::StaticClass());
}

const classes::TClassInfo& TAddFunction::ClassInfo() const {
    return StaticClass();
}

double TAddFunction::ValueOverPoints(const TChartSeries& source, int32_t first,
                                     int32_t last) const {
    const TChartValueList& list = ValueListOf(source);
    return first == -1 ? list.TotalValue() : FoldRange(list, first, last, Sum);
}

double TAddFunction::ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                                        int32_t index) const {
    return SumAcross(*this, sources, index).first;
}

// --- Subtract, multiply, divide --------------------------------------------------------------

const classes::TClassInfo& TSubtractFunction::StaticClass() {
    return FunctionClass<TSubtractFunction>("TSubtractFunction",
                                            TManySeriesFunction::StaticClass());
}

const classes::TClassInfo& TSubtractFunction::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& TMultiplyFunction::StaticClass() {
    return FunctionClass<TMultiplyFunction>("TMultiplyFunction",
                                            TManySeriesFunction::StaticClass());
}

const classes::TClassInfo& TMultiplyFunction::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& TDivideFunction::StaticClass() {
    return FunctionClass<TDivideFunction>("TDivideFunction", TManySeriesFunction::StaticClass());
}

const classes::TClassInfo& TDivideFunction::ClassInfo() const {
    return StaticClass();
}

// --- High, low -------------------------------------------------------------------------------

const classes::TClassInfo& THighFunction::StaticClass() {
    return FunctionClass<THighFunction>("THighFunction", TChartFunction::StaticClass());
}

const classes::TClassInfo& THighFunction::ClassInfo() const {
    return StaticClass();
}

double THighFunction::ValueOverPoints(const TChartSeries& source, int32_t first,
                                      int32_t last) const {
    const TChartValueList& list = ValueListOf(source);
    return first == -1
               ? list.MaximumValue()
               : FoldRange(list, first, last, [](double a, double b) { return std::max(a, b); });
}

double THighFunction::ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                                         int32_t index) const {
    return WalkSources(*this, sources, index, [](double v, double r) { return v > r; });
}

const classes::TClassInfo& TLowFunction::StaticClass() {
    return FunctionClass<TLowFunction>("TLowFunction", TChartFunction::StaticClass());
}

const classes::TClassInfo& TLowFunction::ClassInfo() const {
    return StaticClass();
}

double TLowFunction::ValueOverPoints(const TChartSeries& source, int32_t first,
                                     int32_t last) const {
    const TChartValueList& list = ValueListOf(source);
    return first == -1
               ? list.MinimumValue()
               : FoldRange(list, first, last, [](double a, double b) { return std::min(a, b); });
}

double TLowFunction::ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                                        int32_t index) const {
    return WalkSources(*this, sources, index, [](double v, double r) { return v < r; });
}

// --- Average ---------------------------------------------------------------------------------

const classes::TClassInfo& TAverageFunction::StaticClass() {
    return FunctionClass<TAverageFunction>("TAverageFunction", TChartFunction::StaticClass());
}

const classes::TClassInfo& TAverageFunction::ClassInfo() const {
    return StaticClass();
}

double TAverageFunction::ValueOverPoints(const TChartSeries& source, int32_t first,
                                         int32_t last) const {
    const TChartValueList& list = ValueListOf(source);
    if (first == -1) {
        const int32_t count = source.PointCount();
        return count == 0 ? 0 : list.TotalValue() / count;
    }
    if (last < first) {
        return 0;
    }
    return FoldRange(list, first, last, Sum) / (last - first + 1);
}

double TAverageFunction::ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                                            int32_t index) const {
    const auto [sum, count] = SumAcross(*this, sources, index);
    return count == 0 ? 0 : sum / count;
}

}  // namespace chart
