// The calculated-series function kinds: add, subtract, multiply, divide, high, low, average.
#pragma once

#include "chart/engine/ChartFunction.h"

namespace chart {

// Sum over the points; across sources the sum of those that have the point.
class TAddFunction : public TChartFunction {
  public:
    using TChartFunction::TChartFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double ValueOverPoints(const TChartSeries& source, int32_t first, int32_t last) const override;
    double ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                              int32_t index) const override;
};

// First source minus each later one.
class TSubtractFunction : public TManySeriesFunction {
  public:
    using TManySeriesFunction::TManySeriesFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double CombineTwo(double accumulated, double next) const override { return accumulated - next; }
};

class TMultiplyFunction : public TManySeriesFunction {
  public:
    using TManySeriesFunction::TManySeriesFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double CombineTwo(double accumulated, double next) const override { return accumulated * next; }
};

// First source divided by each later one; a zero divisor leaves the value as it was.
class TDivideFunction : public TManySeriesFunction {
  public:
    using TManySeriesFunction::TManySeriesFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double CombineTwo(double accumulated, double next) const override {
        return next == 0 ? accumulated : accumulated / next;
    }
};

// The largest value; 0 over no points.
class THighFunction : public TChartFunction {
  public:
    using TChartFunction::TChartFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double ValueOverPoints(const TChartSeries& source, int32_t first, int32_t last) const override;
    double ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                              int32_t index) const override;
};

// The smallest value; 0 over no points.
class TLowFunction : public TChartFunction {
  public:
    using TChartFunction::TChartFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double ValueOverPoints(const TChartSeries& source, int32_t first, int32_t last) const override;
    double ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                              int32_t index) const override;
};

// The mean; 0 over no points (never a division fault).
class TAverageFunction : public TChartFunction {
  public:
    using TChartFunction::TChartFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    double ValueOverPoints(const TChartSeries& source, int32_t first, int32_t last) const override;
    double ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                              int32_t index) const override;
};

}  // namespace chart
