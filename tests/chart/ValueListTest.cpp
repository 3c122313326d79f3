// Value lists: ordered append with its tie-break, lazy statistics with the multiplier, index
// errors, settings copies and the partition sort moving whole points.
#include "chart/engine/ValueList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/FalseWarnings.h"
#include "chart/engine/Series.h"

namespace {

using chart::TChartListOrder;
using chart::TChartValueList;

std::unique_ptr<TChartValueList> ListOf(TChartListOrder order, const std::vector<double>& values) {
    auto list = std::make_unique<TChartValueList>(nullptr, "V");
    list->SetOrder(order);
    for (double v : values) {
        list->InsertAt(list->ValueCount(), v);
    }
    return list;
}

std::vector<double> ValuesOf(const TChartValueList& list) {
    std::vector<double> out;
    for (int32_t i = 0; i < list.ValueCount(); ++i) {
        out.push_back(list.ValueAt(i));
    }
    return out;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const base::EListError& e) {
        return e.Message();
    }
    return "<no error>";
}

TEST(ValueListTest, AscendingAppendPlacesEqualValuesAfterExistingOnes) {
    struct Case {
        double value;
        int32_t index;
    };
    for (const Case c : {Case{10, 3}, Case{20, 4}, Case{5, 1}, Case{-1, 0}, Case{0, 1}}) {
        TChartValueList list(nullptr, "X");
        list.SetOrder(TChartListOrder::loAscending);
        for (double v : {0.0, 10.0, 10.0, 20.0}) {
            list.AppendOrdered(v);
        }
        EXPECT_EQ(list.AppendOrdered(c.value), c.index) << "appending " << c.value;
        EXPECT_EQ(list.ValueAt(c.index), c.value);
        EXPECT_EQ(list.ValueCount(), 5);
        std::vector<double> values = ValuesOf(list);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    }
}

TEST(ValueListTest, AscendingAppendInOrderNeverInsertsInTheMiddle) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(TChartListOrder::loAscending);
    int32_t expected = 0;
    for (double v : {3.0, 7.0, 7.0, 7.0, 9.0}) {
        EXPECT_EQ(list.AppendOrdered(v), expected++);
    }
}

TEST(ValueListTest, DescendingAppendKeepsTheTieBreak) {
    for (const auto& [value, index] :
         {std::pair{5.0, 3}, std::pair{7.0, 1}, std::pair{10.0, 0}, std::pair{1.0, 3}}) {
        const auto listOwner = ListOf(TChartListOrder::loDescending, {9, 5, 5});
        TChartValueList& list = *listOwner;
        EXPECT_EQ(list.AppendOrdered(value), index) << "appending " << value;
    }
}

TEST(ValueListTest, UnorderedAppendAndOrderChangeDoNotSort) {
    const auto listOwner = ListOf(TChartListOrder::loNone, {3, 1});
    TChartValueList& list = *listOwner;
    EXPECT_EQ(list.AppendOrdered(2), 2);
    list.SetOrder(TChartListOrder::loAscending);
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{3, 1, 2}));
    list.SortByOrder();
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{1, 2, 3}));
}

TEST(ValueListTest, StatisticsIncludeTheMultiplierAndAreRecomputedAfterChanges) {
    TChartValueList empty(nullptr, "Y");
    EXPECT_EQ(empty.MinimumValue(), 0);
    EXPECT_EQ(empty.MaximumValue(), 0);
    EXPECT_EQ(empty.TotalValue(), 0);
    EXPECT_EQ(empty.TotalAbsolute(), 0);

    const auto listOwner = ListOf(TChartListOrder::loNone, {-3, 2});
    TChartValueList& list = *listOwner;
    list.SetMultiplier(2);
    EXPECT_EQ(list.MinimumValue(), -6);
    EXPECT_EQ(list.MaximumValue(), 4);
    EXPECT_EQ(list.TotalValue(), -2);
    EXPECT_EQ(list.TotalAbsolute(), 10);
    EXPECT_FALSE(list.StatisticsStale());
    list.SetMultiplier(1);
    EXPECT_TRUE(list.StatisticsStale());
    EXPECT_EQ(list.MinimumValue(), -3);
    EXPECT_EQ(list.MaximumValue(), 2);
    EXPECT_EQ(list.TotalValue(), -1);
    EXPECT_EQ(list.TotalAbsolute(), 5);

    list.RemoveAt(0);
    EXPECT_EQ(list.MinimumValue(), 2);
    list.RemoveAllValues();
    EXPECT_EQ(list.TotalAbsolute(), 0);
}

TEST(ValueListTest, MaximumIsFoundWhenTheFirstValueIsTheMinimum) {
    const auto listOwner = ListOf(TChartListOrder::loNone, {5, 1, 9, -2});
    TChartValueList& list = *listOwner;
    EXPECT_EQ(list.MinimumValue(), -2);
    EXPECT_EQ(list.MaximumValue(), 9);
}

TEST(ValueListTest, WritesAreRawAndReadsAreMultiplied) {
    const auto listOwner = ListOf(TChartListOrder::loNone, {3});
    TChartValueList& list = *listOwner;
    list.SetMultiplier(2);
    EXPECT_EQ(list.IndexOfValue(6), 0);
    EXPECT_EQ(list.IndexOfValue(3), -1);
    list.SetValueAt(0, 4);
    EXPECT_EQ(list.ValueAt(0), 8);
    EXPECT_EQ(list.LastValue(), 8);
    EXPECT_EQ(list.MaximumValue(), 8);
}

TEST(ValueListTest, IndexErrorsNameTheIndexAndChangeNothing) {
    const auto listOwner = ListOf(TChartListOrder::loNone, {1, 2});
    TChartValueList& list = *listOwner;
    EXPECT_EQ(ErrorOf([&] { list.ValueAt(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { list.ValueAt(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf([&] { list.SetValueAt(5, 0); }), "List index out of bounds (5)");
    EXPECT_EQ(ErrorOf([&] { list.RemoveAt(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf([&] { list.InsertAt(3, 0); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.InsertAt(2, 7); }), "<no error>");
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{1, 2, 7}));
    TChartValueList empty(nullptr, "E");
    EXPECT_EQ(ErrorOf([&] { empty.LastValue(); }), "List index out of bounds (-1)");
}

TEST(ValueListTest, RotateFirstToEndKeepsValidStatistics) {
    const auto listOwner = ListOf(TChartListOrder::loNone, {1, 2, 3});
    TChartValueList& list = *listOwner;
    EXPECT_EQ(list.MaximumValue(), 3);
    list.RotateFirstToEnd();
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{2, 3, 1}));
    EXPECT_FALSE(list.StatisticsStale());
    TChartValueList empty(nullptr, "E");
    empty.RotateFirstToEnd();
    EXPECT_EQ(empty.ValueCount(), 0);
}

TEST(ValueListTest, CopySettingsCopiesAllButNameAndValues) {
    const auto sourceOwner = ListOf(TChartListOrder::loDescending, {1});
    TChartValueList& source = *sourceOwner;
    source.SetDateTime(true);
    source.SetMultiplier(3);
    source.SetValueSource("Field");
    const auto targetOwner = ListOf(TChartListOrder::loNone, {5, 6});
    TChartValueList& target = *targetOwner;
    target.Assign(source);
    EXPECT_EQ(target.Order(), TChartListOrder::loDescending);
    EXPECT_TRUE(target.DateTime());
    EXPECT_EQ(target.Multiplier(), 3);
    EXPECT_EQ(target.ValueSource(), "Field");
    EXPECT_EQ(target.Name(), "V");
    EXPECT_EQ(target.ValueCount(), 2);
    EXPECT_EQ(target.MaximumValue(), 18);
}

// The sort moves whole points: the Y value, colour and label of each point follow its X.
// GCC 12 at -O3 raises its false -Wrestrict on "p" + std::to_string(...) here.
KEYVET_FALSE_RESTRICT_BEGIN
TEST(ValueListTest, SortMovesWholePointsInBothOrders) {
    std::mt19937 random(12345);
    for (TChartListOrder order : {TChartListOrder::loAscending, TChartListOrder::loDescending}) {
        for (int32_t count : {0, 1, 2, 3, 7, 64, 1000}) {
            chart::TChartSeries series(nullptr);
            series.XValues().SetOrder(TChartListOrder::loNone);
            std::uniform_int_distribution<int> pick(0, count / 3 + 1);  // many equal X values
            for (int32_t i = 0; i < count; ++i) {
                const double x = pick(random);
                series.AppendXY(x, x * 10 + 0.5, "p" + std::to_string(static_cast<int>(x)),
                                static_cast<gfx::TColor>(x));
            }
            series.XValues().SetOrder(order);
            series.XValues().SortByOrder();
            ASSERT_EQ(series.PointCount(), count);
            for (int32_t i = 0; i < count; ++i) {
                const double x = series.XValueAt(i);
                ASSERT_EQ(series.YValueAt(i), x * 10 + 0.5) << "count " << count << " at " << i;
                ASSERT_EQ(series.PointLabel(i), "p" + std::to_string(static_cast<int>(x)));
                ASSERT_EQ(series.PointColor(i), static_cast<gfx::TColor>(x));
                if (i > 0) {
                    const double previous = series.XValueAt(i - 1);
                    ASSERT_TRUE(order == TChartListOrder::loAscending ? previous <= x
                                                                      : previous >= x)
                        << "count " << count << " at " << i;
                }
            }
        }
    }
}
KEYVET_FALSE_RESTRICT_END

TEST(ValueListTest, SortOfAlreadyOrderedAndReversedRunsOfManyPoints) {
    const int32_t count = 50000;
    TChartValueList up(nullptr, "X");
    TChartValueList down(nullptr, "X");
    for (int32_t i = 0; i < count; ++i) {
        up.InsertAt(i, i);
        down.InsertAt(i, count - i);
    }
    up.SetOrder(TChartListOrder::loAscending);
    down.SetOrder(TChartListOrder::loAscending);
    up.SortByOrder();
    down.SortByOrder();
    std::vector<double> a = ValuesOf(up);
    std::vector<double> b = ValuesOf(down);
    EXPECT_TRUE(std::is_sorted(a.begin(), a.end()));
    EXPECT_TRUE(std::is_sorted(b.begin(), b.end()));
    EXPECT_EQ(b.front(), 1);
}

}  // namespace
