// Timing spread, histogram bins and ideal lengths against hand-computed values.
#include "coach/Spread.h"

#include <gtest/gtest.h>

#include "coach/Details.h"
#include "support/MorseKeying.h"

namespace {

using coach::TElementKind;

TEST(SpreadTest, StatisticsOfHandComputedSets) {
    // Mean 60; deviations 0, 2, -2, 4, -4 square to 40; 40 / 4 = 10; sd = sqrt(10).
    const coach::TSpread five = coach::SpreadOf({60, 62, 58, 64, 56});
    EXPECT_EQ(five.Count, 5u);
    EXPECT_DOUBLE_EQ(five.MeanMs, 60);
    EXPECT_NEAR(five.DeviationMs, 3.16227766, 1e-8);
    EXPECT_NEAR(five.VariationPercent, 5.27046277, 1e-7);
    EXPECT_EQ(five.MinMs, 56u);
    EXPECT_EQ(five.MaxMs, 64u);
    // Two values 170 and 185: mean 177.5, sd = 15 / sqrt(2).
    const coach::TSpread two = coach::SpreadOf({185, 170});
    EXPECT_DOUBLE_EQ(two.MeanMs, 177.5);
    EXPECT_NEAR(two.DeviationMs, 10.6066017, 1e-7);
    EXPECT_EQ(two.MinMs, 170u);
    const coach::TSpread one = coach::SpreadOf({70});
    EXPECT_EQ(one.Count, 1u);
    EXPECT_EQ(one.DeviationMs, 0);
    EXPECT_EQ(one.VariationPercent, 0);
    EXPECT_EQ(one.MinMs, 70u);
    const coach::TSpread none = coach::SpreadOf({});
    EXPECT_EQ(none.Count, 0u);
    EXPECT_EQ(none.MeanMs, 0);
    // Lengths near the 32-bit limit do not overflow the sum.
    const coach::TSpread huge = coach::SpreadOf({4000000000u, 4000000002u});
    EXPECT_DOUBLE_EQ(huge.MeanMs, 4000000001);
}

TEST(SpreadTest, TheTableOfTheAnalysisWorkedExample) {
    const auto run =
        testsupport::RunOfLengths({64, 52, 180, 58, 62, 170, 175, 50, 66, 56, 190, 185, 60});
    const coach::TDetails details = coach::ComputeDetails({run, ""});
    const coach::TSpreadTable& table = details.Spread;
    // Dits 64, 62, 66, 60: mean 63, squares 1 + 1 + 9 + 9 = 20, sd = sqrt(20 / 3).
    const coach::TSpread& dits = table[static_cast<size_t>(TElementKind::ekDit)];
    EXPECT_EQ(dits.Count, 4u);
    EXPECT_DOUBLE_EQ(dits.MeanMs, 63);
    EXPECT_NEAR(dits.DeviationMs, 2.58198890, 1e-8);
    // Dahs 180, 175, 190: mean 181.67, sd = sqrt((11.11 + 44.44 + 69.44) / 2) = 7.6376.
    const coach::TSpread& dahs = table[static_cast<size_t>(TElementKind::ekDah)];
    EXPECT_EQ(dahs.Count, 3u);
    EXPECT_NEAR(dahs.MeanMs, 181.666667, 1e-6);
    EXPECT_NEAR(dahs.DeviationMs, 7.63762616, 1e-8);
    EXPECT_EQ(table[static_cast<size_t>(TElementKind::ekElementGap)].Count, 4u);
    EXPECT_EQ(table[static_cast<size_t>(TElementKind::ekCharacterGap)].Count, 2u);
    EXPECT_EQ(table[static_cast<size_t>(TElementKind::ekWordGap)].Count, 0u);

    // Marks in bins of 63 / 4 = 15.75 ms: 60 and 62 in bin 3, 64 and 66 in bin 4, 175 and 180 in
    // bin 11, 190 in bin 12; 20 bins (five units).
    ASSERT_EQ(details.MarkHistogram.Counts.size(), 20u);
    EXPECT_DOUBLE_EQ(details.MarkHistogram.BinWidthMs, 15.75);
    std::vector<uint32_t> marks(20, 0);
    marks[3] = 2;
    marks[4] = 2;
    marks[11] = 2;
    marks[12] = 1;
    EXPECT_EQ(details.MarkHistogram.Counts, marks);
    // Spaces in bins of 31.5 ms: 50 to 58 in bin 1, 170 and 185 in bin 5.
    std::vector<uint32_t> spaces(20, 0);
    spaces[1] = 4;
    spaces[5] = 2;
    EXPECT_EQ(details.SpaceHistogram.Counts, spaces);

    // The ideal lines at the unit the histograms and the speed use, the average dit of 63 ms
    // (not at the main window's 20 wpm, a unit of 60 ms).
    const std::array<double, 5> ideal = {63, 189, 63, 189, 441};
    EXPECT_EQ(details.IdealMs, ideal);
    EXPECT_EQ(coach::IdealLengthsMs(0), (std::array<double, 5>{}));
    EXPECT_NEAR(coach::IdealLengthsMs(1200.0 / 13)[1], 276.923077, 1e-6);
    EXPECT_EQ(coach::IdealLengthsMs(-1), (std::array<double, 5>{}));
}

TEST(SpreadTest, HistogramBinsIncludeTheirLowerEdgeAndTheLastTakesTheRest) {
    const coach::THistogram h = coach::HistogramOf({0, 9, 10, 19, 20, 1000, 4294967295u}, 10, 3);
    EXPECT_EQ(h.Counts, (std::vector<uint32_t>{2, 2, 3}));
    EXPECT_EQ(coach::HistogramOf({}, 10, 4).Counts, (std::vector<uint32_t>{0, 0, 0, 0}));
    // A fractional width: 7.5 ms bins put 7 in bin 0 and 8 in bin 1.
    EXPECT_EQ(coach::HistogramOf({7, 8, 15}, 7.5, 3).Counts, (std::vector<uint32_t>{1, 1, 1}));
}

}  // namespace
