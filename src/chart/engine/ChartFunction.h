// The base of the calculated-series functions: the period settings and the algorithms that turn
// a series' data sources into its points (over all points, by groups, or across sources).
#pragma once

#include <cstdint>
#include <vector>

#include "classes/Component.h"

namespace chart {

class TChartSeries;
class TChartValueList;

// Where a group's result point is placed along the positions.
enum class TFunctionPeriodAlign { paFirst, paCenter, paLast };
// Groups of Period points, or position ranges Period wide.
enum class TFunctionPeriodStyle { psNumPoints, psRange };

// Computes its series (the FunctionOwner) from the series' data sources. The series owns it:
// SetFunction hands it over, and the series frees it.
class TChartFunction : public classes::TComponent {
  public:
    explicit TChartFunction(classes::TComponent* owner);
    ~TChartFunction() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // 0: one result for the whole source; else the group size in points or in position units.
    // Below 0 (or not a number), infinite, or (by range) giving more than kMaxResultPoints
    // points over the current source: ChartException, the old value stays. Over date-time
    // positions a period of a day or more steps by the axis' date steps: groups start at
    // midnight, on the 1st (or 15th) of the month or on January 1st and months and years
    // follow the calendar.
    double Period() const { return m_period; }
    void SetPeriod(double value);
    TFunctionPeriodAlign PeriodAlign() const { return m_periodAlign; }
    void SetPeriodAlign(TFunctionPeriodAlign value);
    TFunctionPeriodStyle PeriodStyle() const { return m_periodStyle; }
    // Refused like Period when the ranges would give too many points.
    void SetPeriodStyle(TFunctionPeriodStyle value);
    // The most points a calculation by ranges may give; a source that grows past it makes the
    // refresh fail with the same message.
    static constexpr double kMaxResultPoints = 10'000'000;

    // The series this function fills; nullptr until a series takes it.
    TChartSeries* FunctionOwner() const { return m_functionOwner; }
    // Told by the series in SetFunction (and cleared when the series lets it go).
    void SetFunctionOwner(TChartSeries* series) { m_functionOwner = series; }

    // Called by the owner's RefreshFromSource after it cleared itself: across the sources when
    // the owner has several, else over all points (Period 0) or by period.
    virtual void Fill(const TChartSeries& source);
    // One value over points first .. last of source (first -1: all points); 0 here.
    virtual double ValueOverPoints(const TChartSeries& /*source*/, int32_t /*first*/,
                                   int32_t /*last*/) const {
        return 0;
    }
    // One value from point index of every source that has one; 0 here.
    virtual double ValueAcrossSources(const std::vector<TChartSeries*>& /*sources*/,
                                      int32_t /*index*/) const {
        return 0;
    }

    // The list of source that holds the values: its mandatory list, or the list the owner's
    // mandatory list names as its ValueSource.
    const TChartValueList& ValueListOf(const TChartSeries& source) const;
    // The other list of source: the positions along which the values stand.
    static const TChartValueList& PositionListOf(const TChartSeries& source);

    // Appends (position, value) to the owner, crosswise when source's Y values are not the
    // mandatory ones.
    void AddFunctionPoint(const TChartSeries& source, double position, double value);

    // Design data: a function is stored inside its series.
    bool HasParent() const override { return m_functionOwner != nullptr; }
    classes::TComponent* ParentComponent() const override;
    void SetParentComponent(classes::TComponent* parent) override;

  protected:
    // One result over the whole source: a flat two-point line or a single middle point, as the
    // owner's SinglePointResult says.
    virtual void CalculateAll(const TChartSeries& source, const TChartValueList& positions);
    virtual void CalculateByPeriod(const TChartSeries& source, const TChartValueList& positions);
    // The result of the group first .. last, placed at position.
    virtual void AddPeriodPoint(const TChartSeries& source, int32_t first, int32_t last,
                                double position);

  private:
    void CalculateByPoints(const TChartSeries& source, const TChartValueList& positions);
    void CalculateByRanges(const TChartSeries& source, const TChartValueList& positions);
    double AlignedPosition(double start, double end) const;
    // Throws when ranges of period over the owner's only data source would give more than
    // kMaxResultPoints points (or positions beyond the floating range).
    void CheckRangeCount(double period, TFunctionPeriodStyle style) const;
    // Asks the owner to reload from its data source after a setting changed.
    void Recalculate();

    double m_period = 0;
    TFunctionPeriodAlign m_periodAlign = TFunctionPeriodAlign::paCenter;
    TFunctionPeriodStyle m_periodStyle = TFunctionPeriodStyle::psNumPoints;
    TChartSeries* m_functionOwner = nullptr;  // not owned: the series owns this function
};

// The base of functions that combine the sources point by point, two values at a time.
class TManySeriesFunction : public TChartFunction {
  public:
    using TChartFunction::TChartFunction;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // The first source that has point index starts the value; each later one that has it is
    // combined into it; 0 when none has it.
    double ValueAcrossSources(const std::vector<TChartSeries*>& sources,
                              int32_t index) const override;
    virtual double CombineTwo(double accumulated, double next) const = 0;
};

}  // namespace chart
