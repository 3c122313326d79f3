// Calculated series on small hand-computed sets: each function kind over all points, by groups
// of points and by position ranges with each alignment, across several sources of unequal
// length, and the result following its sources as they change.
#include "chart/engine/ChartFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/functions/ChartFunctions.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/DateSteps.h"
#include "chart/series/BarSeries.h"
#include "chart/series/LineSeries.h"

namespace {

using chart::TChartSeries;
using chart::TFunctionPeriodAlign;
using chart::TFunctionPeriodStyle;
using TPoints = std::vector<std::pair<double, double>>;

TPoints PointsOf(const TChartSeries& series) {
    TPoints out;
    for (int32_t i = 0; i < series.PointCount(); ++i) {
        out.emplace_back(series.XValueAt(i), series.YValueAt(i));
    }
    return out;
}

class ChartFunctionTest : public ::testing::Test {
  protected:
    // A line series on the chart holding the given (x, y) points.
    chart::TLineSeries* Source(const TPoints& points) {
        auto* series = new chart::TLineSeries(&m_chart);
        m_chart.AddSeries(series);
        for (const auto& [x, y] : points) {
            series->AppendXY(x, y);
        }
        return series;
    }
    // A line series computed by function from source.
    template <class F>
    chart::TLineSeries* Result(TChartSeries* source, F*& function) {
        auto* series = new chart::TLineSeries(&m_chart);
        m_chart.AddSeries(series);
        function = new F(nullptr);
        series->SetFunction(function);
        series->SetDataSource(source);
        return series;
    }
    chart::TChart m_chart{nullptr};
};

TEST_F(ChartFunctionTest, AWholeSourceGivesAFlatLineOrOneMiddlePoint) {
    TChartSeries* source = Source({{2, 1}, {4, 2}, {10, 3}});
    chart::TAddFunction* add = nullptr;
    TChartSeries* line = Result(source, add);
    EXPECT_EQ(PointsOf(*line), (TPoints{{2, 6}, {10, 6}}));

    // A series kind with SinglePointResult shows the whole-source result as one middle point.
    auto* single = new TChartSeries(&m_chart);
    m_chart.AddSeries(single);
    ASSERT_TRUE(single->SinglePointResult());
    single->SetFunction(new chart::TAddFunction(nullptr));
    single->SetDataSource(source);
    EXPECT_EQ(PointsOf(*single), (TPoints{{6, 6}}));

    // Each kind over the whole source.
    const std::vector<std::pair<chart::TChartFunction*, double>> kinds = {
        {new chart::THighFunction(nullptr), 3},
        {new chart::TLowFunction(nullptr), 1},
        {new chart::TAverageFunction(nullptr), 2},
        // The combining kinds give nothing over points of one source.
        {new chart::TSubtractFunction(nullptr), 0},
        {new chart::TMultiplyFunction(nullptr), 0},
        {new chart::TDivideFunction(nullptr), 0},
    };
    for (const auto& [function, expected] : kinds) {
        single->SetFunction(function);
        EXPECT_EQ(PointsOf(*single), (TPoints{{6, expected}})) << function->ClassName();
    }
}

TEST_F(ChartFunctionTest, GroupsOfPointsArePlacedByTheirAlignment) {
    TChartSeries* source = Source({{0, 10}, {1, 20}, {2, 30}, {3, 40}, {4, 50}});
    chart::TAverageFunction* average = nullptr;
    TChartSeries* result = Result(source, average);
    average->SetPeriod(2);
    // The fifth point forms no group.
    EXPECT_EQ(PointsOf(*result), (TPoints{{0.5, 15}, {2.5, 35}}));
    average->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
    EXPECT_EQ(PointsOf(*result), (TPoints{{0, 15}, {2, 35}}));
    average->SetPeriodAlign(TFunctionPeriodAlign::paLast);
    EXPECT_EQ(PointsOf(*result), (TPoints{{1, 15}, {3, 35}}));

    // Groups of three (2.5 rounds to the even 2, 3.4 to 3) with each kind.
    average->SetPeriod(3.4);
    EXPECT_EQ(PointsOf(*result), (TPoints{{2, 20}}));
    average->SetPeriod(2.5);
    EXPECT_EQ(PointsOf(*result), (TPoints{{1, 15}, {3, 35}}));
    result->SetFunction(new chart::THighFunction(nullptr));
    result->Function()->SetPeriod(3);
    EXPECT_EQ(PointsOf(*result), (TPoints{{1, 30}}));
    result->SetFunction(new chart::TLowFunction(nullptr));
    result->Function()->SetPeriod(2);
    EXPECT_EQ(PointsOf(*result), (TPoints{{0.5, 10}, {2.5, 30}}));
    result->SetFunction(new chart::TAddFunction(nullptr));
    result->Function()->SetPeriod(4);
    result->Function()->SetPeriodAlign(TFunctionPeriodAlign::paLast);
    EXPECT_EQ(PointsOf(*result), (TPoints{{3, 100}}));
}

TEST_F(ChartFunctionTest, APeriodBelowOnePointMakesGroupsOfOnePoint) {
    TChartSeries* source = Source({{0, 10}, {1, 20}, {5, 60}});
    chart::TAverageFunction* average = nullptr;
    TChartSeries* result = Result(source, average);
    average->SetPeriod(0.3);  // rounds to 0
    EXPECT_EQ(PointsOf(*result), (TPoints{{0, 10}, {1, 20}, {5, 60}}));
    average->SetPeriod(0.5);  // rounds to the even 0
    EXPECT_EQ(result->PointCount(), 3);
}

TEST_F(ChartFunctionTest, RangesGroupByPositionAndEmptyRangesGiveZero) {
    TChartSeries* source = Source({{0, 1}, {1, 2}, {2, 3}, {5, 4}, {6, 5}});
    chart::TAddFunction* add = nullptr;
    TChartSeries* result = Result(source, add);
    add->SetPeriodStyle(TFunctionPeriodStyle::psRange);
    add->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
    add->SetPeriod(2);
    // [0, 2) holds 0 and 1; [2, 4) holds 2; [4, 6) holds 5; [6, 8) holds 6.
    EXPECT_EQ(PointsOf(*result), (TPoints{{0, 3}, {2, 3}, {4, 4}, {6, 5}}));
    // The end of a range is a thousandth of the period before the next range's start.
    add->SetPeriodAlign(TFunctionPeriodAlign::paLast);
    const TPoints last = PointsOf(*result);
    ASSERT_EQ(last.size(), 4U);
    EXPECT_DOUBLE_EQ(last[0].first, 1.998);
    EXPECT_DOUBLE_EQ(last[3].first, 7.998);
    add->SetPeriodAlign(TFunctionPeriodAlign::paCenter);
    EXPECT_DOUBLE_EQ(PointsOf(*result)[1].first, 2.999);

    // A gap wider than a range leaves a zero point in each empty range.
    TChartSeries* gappy = Source({{0, 7}, {5, 9}});
    chart::THighFunction* high = nullptr;
    TChartSeries* highs = Result(gappy, high);
    high->SetPeriodStyle(TFunctionPeriodStyle::psRange);
    high->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
    high->SetPeriod(2);
    EXPECT_EQ(PointsOf(*highs), (TPoints{{0, 7}, {2, 0}, {4, 9}}));
}

TEST_F(ChartFunctionTest, AnEmptyGroupOrSourceIsZeroNotAFault) {
    TChartSeries* source = Source({{0, 4}});
    const chart::TAverageFunction average(nullptr);
    const chart::THighFunction high(nullptr);
    const chart::TLowFunction low(nullptr);
    const chart::TAddFunction add(nullptr);
    EXPECT_EQ(average.ValueOverPoints(*source, 1, 0), 0);
    EXPECT_EQ(high.ValueOverPoints(*source, 1, 0), 0);
    EXPECT_EQ(low.ValueOverPoints(*source, 1, 0), 0);
    EXPECT_EQ(add.ValueOverPoints(*source, 1, 0), 0);
    TChartSeries* empty = Source({});
    EXPECT_EQ(average.ValueOverPoints(*empty, -1, -1), 0);
    // An empty source gives no result points at all.
    chart::TAverageFunction* linked = nullptr;
    EXPECT_EQ(Result(empty, linked)->PointCount(), 0);
    EXPECT_EQ(average.ValueAcrossSources({}, 0), 0);
}

TEST_F(ChartFunctionTest, ANegativePeriodIsRefusedAndTheOldOneKept) {
    chart::TAddFunction add(nullptr);
    add.SetPeriod(3);
    try {
        add.SetPeriod(-1);
        FAIL() << "no exception";
    } catch (const chart::ChartException& e) {
        EXPECT_STREQ(e.what(), "Function Period should be >= 0");
    }
    EXPECT_EQ(add.Period(), 3);
}

TEST_F(ChartFunctionTest, MonthlyRangesOverDatesStartOnTheFirstAndFollowTheCalendar) {
    // Sums per calendar month: a period of 30 days over date-time positions groups January,
    // February (29 days in 2024) and March, each result at the 1st of its month.
    const auto day = [](int32_t month, int32_t d) { return chart::EncodeDate(2024, month, d); };
    TChartSeries* source = Source({{day(1, 10), 1},
                                   {day(1, 31) + 0.75, 2},
                                   {day(2, 1), 3},
                                   {day(2, 29), 4},
                                   {day(3, 15), 5}});
    source->XValues().SetDateTime(true);
    chart::TAddFunction* add = nullptr;
    TChartSeries* result = Result(source, add);
    add->SetPeriodStyle(TFunctionPeriodStyle::psRange);
    add->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
    add->SetPeriod(30);
    EXPECT_EQ(PointsOf(*result), (TPoints{{day(1, 1), 3}, {day(2, 1), 7}, {day(3, 1), 5}}));
    // At the end: a thousandth of the period before the next month begins.
    add->SetPeriodAlign(TFunctionPeriodAlign::paLast);
    const TPoints ends = PointsOf(*result);
    ASSERT_EQ(ends.size(), 3U);
    for (size_t k = 0; k < ends.size(); ++k) {
        EXPECT_NEAR(ends[k].first, day(static_cast<int32_t>(k) + 2, 1) - 0.03, 1e-9) << k;
    }
    // Years start on January 1st; weeks (a step of days) at midnight of the first day.
    add->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
    add->SetPeriod(365);
    EXPECT_EQ(PointsOf(*result), (TPoints{{day(1, 1), 15}}));
    add->SetPeriod(7);
    const TPoints weeks = PointsOf(*result);
    ASSERT_FALSE(weeks.empty());
    EXPECT_EQ(weeks[0], (std::pair<double, double>{day(1, 10), 1}));
    EXPECT_EQ(weeks[3], (std::pair<double, double>{day(1, 31), 5}));  // Jan 31 and Feb 1
    // The same numbers without the date-time flag are plain widths from the first position.
    source->XValues().SetDateTime(false);
    add->SetPeriod(30);
    EXPECT_EQ(PointsOf(*result).front(), (std::pair<double, double>{day(1, 10), 6}));
}

TEST_F(ChartFunctionTest, APeriodGivingTooManyPointsIsRefusedAndTheOldOneKept) {
    TChartSeries* source = Source({{0, 1}, {1e9, 2}});
    chart::TAddFunction* add = nullptr;
    TChartSeries* result = Result(source, add);
    add->SetPeriodStyle(TFunctionPeriodStyle::psRange);
    add->SetPeriod(1e4);  // a hundred thousand ranges: allowed
    EXPECT_EQ(result->PointCount(), 100'001);
    const auto messageOf = [](const auto& call) {
        try {
            call();
        } catch (const chart::ChartException& e) {
            return e.Message();
        }
        return std::string("<no error>");
    };
    EXPECT_EQ(messageOf([&] { add->SetPeriod(10); }),
              "Function Period 10 would give more than 10000000 points");
    EXPECT_EQ(add->Period(), 1e4);
    EXPECT_EQ(result->PointCount(), 100'001);
    // A period too large for the positions, or no number at all.
    EXPECT_EQ(messageOf([&] { add->SetPeriod(HUGE_VAL); }), "Function Period INF is too large");
    EXPECT_EQ(messageOf([&] { add->SetPeriod(std::nan("")); }), "Function Period should be >= 0");
    EXPECT_EQ(add->Period(), 1e4);
    // A fine period by points is harmless; switching it to ranges is refused.
    add->SetPeriodStyle(TFunctionPeriodStyle::psNumPoints);
    add->SetPeriod(0.001);
    EXPECT_EQ(messageOf([&] { add->SetPeriodStyle(TFunctionPeriodStyle::psRange); }),
              "Function Period 0.001 would give more than 10000000 points");
    EXPECT_EQ(add->PeriodStyle(), TFunctionPeriodStyle::psNumPoints);
    // A period longer than the source gives no group, however large.
    add->SetPeriod(1e300);
    EXPECT_EQ(result->PointCount(), 0);
    // The function stays usable: later changes of the source are calculated.
    add->SetPeriod(1);
    source->AppendXY(1e9 + 1, 5);
    EXPECT_EQ(result->PointCount(), 3);
    // A source that grows past the bound under a range period is refused when it refreshes.
    add->SetPeriod(1e4);
    add->SetPeriodStyle(TFunctionPeriodStyle::psRange);
    EXPECT_EQ(messageOf([&] { source->AppendXY(1e12, 1); }),
              "Function Period 10000 would give more than 10000000 points");
}

TEST_F(ChartFunctionTest, SeveralSourcesCombinePointByPoint) {
    TChartSeries* a = Source({{0, 5}, {1, 7}});
    TChartSeries* b = Source({{0, 2}});
    chart::TSubtractFunction* subtract = nullptr;
    TChartSeries* result = Result(a, subtract);
    result->AddDataSource(b);
    ASSERT_EQ(result->DataSourceCount(), 2);
    // Point 1 exists only in A, so A's value stands.
    EXPECT_EQ(PointsOf(*result), (TPoints{{0, 3}, {1, 7}}));

    // Three sources of unequal length; the first decides how many points there are.
    TChartSeries* c = Source({{0, 4}, {1, 0}, {2, 9}});
    result->AddDataSource(c);
    const std::vector<std::pair<chart::TChartFunction*, TPoints>> kinds = {
        {new chart::TSubtractFunction(nullptr), {{0, -1}, {1, 7}}},
        {new chart::TAddFunction(nullptr), {{0, 11}, {1, 7}}},
        {new chart::TMultiplyFunction(nullptr), {{0, 40}, {1, 0}}},
        // 5 / 2 / 4; 7 / 0 keeps 7.
        {new chart::TDivideFunction(nullptr), {{0, 0.625}, {1, 7}}},
        {new chart::THighFunction(nullptr), {{0, 5}, {1, 7}}},
        {new chart::TLowFunction(nullptr), {{0, 2}, {1, 0}}},
        {new chart::TAverageFunction(nullptr), {{0, 11.0 / 3}, {1, 3.5}}},
    };
    for (const auto& [function, expected] : kinds) {
        result->SetFunction(function);
        EXPECT_EQ(PointsOf(*result), expected) << function->ClassName();
    }

    // High across sources starts from the first source's value even when it is negative.
    TChartSeries* negative = Source({{0, -3}});
    TChartSeries* lower = Source({{0, -8}});
    chart::THighFunction* high = nullptr;
    TChartSeries* highs = Result(negative, high);
    highs->AddDataSource(lower);
    EXPECT_EQ(PointsOf(*highs), (TPoints{{0, -3}}));
}

TEST_F(ChartFunctionTest, TheResultFollowsItsSourcesAfterLinking) {
    TChartSeries* a = Source({{0, 1}, {1, 2}});
    TChartSeries* b = Source({{0, 10}, {1, 20}});
    chart::TAddFunction* add = nullptr;
    TChartSeries* total = Result(a, add);
    total->AddDataSource(b);
    EXPECT_EQ(PointsOf(*total), (TPoints{{0, 11}, {1, 22}}));
    a->AppendXY(2, 3);
    EXPECT_EQ(PointsOf(*total), (TPoints{{0, 11}, {1, 22}, {2, 3}}));
    b->AppendXY(2, 30);
    EXPECT_EQ(PointsOf(*total), (TPoints{{0, 11}, {1, 22}, {2, 33}}));
    b->YValues().SetValueAt(0, 100);
    EXPECT_EQ(PointsOf(*total)[0], std::make_pair(0.0, 101.0));
    a->DeletePoint(2);
    EXPECT_EQ(total->PointCount(), 2);
    // Clearing the second source leaves the first one's values.
    b->ClearPoints();
    EXPECT_EQ(PointsOf(*total), (TPoints{{0, 1}, {1, 2}}));
    // A series fed by the calculated one follows it in turn.
    auto* copy = new chart::TLineSeries(&m_chart);
    m_chart.AddSeries(copy);
    copy->SetDataSource(total);
    a->AppendXY(5, 5);
    EXPECT_EQ(PointsOf(*copy), (TPoints{{0, 1}, {1, 2}, {5, 5}}));
    // Freeing a source drops it; the result is computed from what is left.
    delete b;
    EXPECT_EQ(total->DataSourceCount(), 1);
}

TEST_F(ChartFunctionTest, HorizontalBarsGiveAndTakeTheirValuesInX) {
    // Horizontal bars hold their values in X and their positions in Y.
    auto* source = new chart::THorizBarSeries(&m_chart);
    m_chart.AddSeries(source);
    source->AppendValue(3);  // (3, 0)
    source->AppendValue(5);  // (5, 1)
    auto* total = new chart::THorizBarSeries(&m_chart);
    m_chart.AddSeries(total);
    total->SetFunction(new chart::TAddFunction(nullptr));
    total->SetDataSource(source);
    // One middle point: the sum in X at the middle position in Y.
    EXPECT_EQ(PointsOf(*total), (TPoints{{8, 0.5}}));
    // By groups of one point the results stay crosswise.
    total->Function()->SetPeriod(1);
    EXPECT_EQ(PointsOf(*total), (TPoints{{3, 0}, {5, 1}}));
}

}  // namespace
