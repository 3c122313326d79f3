// The progress chart's arithmetic: thinning against hand-worked columns and a slow reference that
// slices the range itself, and the date axis' formats and titles.
#include "app/ProgressPoints.h"

#include <gtest/gtest.h>

#include <random>

#include "support/TimeZone.h"

namespace {

using app::TProgressPoint;

TEST(ProgressPointsTest, FewPointsAreKeptAsTheyAre) {
    const std::vector<TProgressPoint> points = {{1, 5}, {2, 6}, {2, 7}};
    EXPECT_EQ(points, app::ThinnedPoints(points, 3));
    EXPECT_EQ(points, app::ThinnedPoints(points, 300));
    EXPECT_TRUE(app::ThinnedPoints({}, 10).empty());
}

TEST(ProgressPointsTest, ManyPointsBecomeTheMeanOfEachColumn) {
    // Range 0..10 in two columns of 5: x 0, 1, 2, 3 in the first; 10, the range's end, in the
    // last rather than in a third.
    EXPECT_EQ((std::vector<TProgressPoint>{{1.5, 2.5}, {10, 5}}),
              app::ThinnedPoints({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {10, 5}}, 2));
    // An empty middle column gives no point.
    EXPECT_EQ((std::vector<TProgressPoint>{{0.5, 1}, {8.5, 3}}),
              app::ThinnedPoints({{0, 0}, {1, 2}, {8, 2}, {9, 4}}, 3));
    // All at one time: one point.
    EXPECT_EQ((std::vector<TProgressPoint>{{4, 2}}),
              app::ThinnedPoints({{4, 1}, {4, 2}, {4, 3}}, 2));
}

TEST(ProgressPointsTest, ThinningMatchesASlowReferenceOnSeededRuns) {
    std::mt19937 engine(7);
    std::uniform_real_distribution<double> days(46000, 46400);
    std::uniform_real_distribution<double> figure(-20, 120);
    for (const int32_t columns : {1, 2, 97, 700}) {
        std::vector<TProgressPoint> points(5000);
        for (TProgressPoint& point : points) {
            point = {days(engine), figure(engine)};
        }
        std::sort(points.begin(), points.end(),
                  [](const auto& a, const auto& b) { return a.X < b.X; });
        // The reference: for each slice [first + c w, first + (c + 1) w), the last one closed,
        // the mean of the points inside.
        const double first = points.front().X;
        const double width = (points.back().X - first) / columns;
        std::vector<TProgressPoint> expected;
        for (int32_t c = 0; c < columns; ++c) {
            double sumX = 0, sumY = 0;
            int n = 0;
            for (const TProgressPoint& point : points) {
                const bool inside = point.X >= first + c * width &&
                                    (c == columns - 1 || point.X < first + (c + 1) * width);
                if (inside) {
                    sumX += point.X;
                    sumY += point.Y;
                    ++n;
                }
            }
            if (n > 0) {
                expected.push_back({sumX / n, sumY / n});
            }
        }
        const std::vector<TProgressPoint> thinned = app::ThinnedPoints(points, columns);
        ASSERT_EQ(expected.size(), thinned.size()) << columns << " columns";
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(expected[i].X, thinned[i].X, 1e-9) << columns << " columns, point " << i;
            EXPECT_NEAR(expected[i].Y, thinned[i].Y, 1e-9) << columns << " columns, point " << i;
        }
    }
}

TEST(ProgressPointsTest, TimesWithinADayDatesBeyond) {
    const testsupport::TScopedTimeZone zone("UTC");
    constexpr int64_t kStart = 1796651361000;  // 2026-12-07 13:49:21
    constexpr int64_t kDay = 86400000;
    app::TDateAxisStyle style = app::DateAxisStyle(kStart, kStart);
    EXPECT_EQ("hh:nn", style.Format);
    EXPECT_DOUBLE_EQ(1.0 / 1440, style.SmallestStepDays);
    EXPECT_EQ("2026-12-07", style.Title);
    style = app::DateAxisStyle(kStart, kStart + kDay);  // exactly a day: still times
    EXPECT_EQ("hh:nn", style.Format);
    EXPECT_EQ("2026-12-07 to 2026-12-08", style.Title);
    style = app::DateAxisStyle(kStart, kStart + kDay + 1);
    EXPECT_EQ("yyyy-mm-dd", style.Format);
    EXPECT_DOUBLE_EQ(1, style.SmallestStepDays);
    EXPECT_EQ("", style.Title);
}

}  // namespace
