// Geometry hit tests, text lines, the 1-2-5 sequence and the date steps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/Exceptions.h"
#include "chart/panel/ChartProcs.h"
#include "chart/panel/ClassBitmaps.h"
#include "chart/panel/DateSteps.h"
#include "gfx/Canvas.h"

namespace {

using gfx::TPoint;

TEST(ChartHitTest, PointNearSegmentHonoursLineDistanceAndEnds) {
    const TPoint p{10, 10};
    const TPoint q{30, 20};
    EXPECT_TRUE(chart::PointOnSegment({20, 15}, p, q));
    EXPECT_TRUE(chart::PointOnSegment(p, p, q));
    EXPECT_FALSE(chart::PointOnSegment({20, 17}, p, q));
    EXPECT_FALSE(chart::PointOnSegment({32, 21}, p, q));  // on the line, past the end
    EXPECT_TRUE(chart::PointNearSegment({32, 21}, p, q, 2));
    EXPECT_FALSE(chart::PointNearSegment({33, 21}, p, q, 2));
    EXPECT_FALSE(chart::PointOnSegment({10, 10}, p, p));  // a point segment has no line
}

TEST(ChartHitTest, PolygonTrianglesAndEllipse) {
    const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {100, 100}};
    EXPECT_TRUE(chart::PointInPolygonArea({5, 5}, square, 3));
    EXPECT_TRUE(chart::PointInPolygonArea({0, 0}, square, 3));    // top-left edges in
    EXPECT_FALSE(chart::PointInPolygonArea({10, 5}, square, 3));  // right edge out
    EXPECT_FALSE(chart::PointInPolygonArea({5, 10}, square, 3));  // bottom edge out
    EXPECT_FALSE(chart::PointInPolygonArea({5, 5}, square, -1));
    EXPECT_TRUE(chart::PointInPolygonArea({5, 5}, square, 40));  // never past the end

    EXPECT_TRUE(chart::PointInUprightTriangle({10, 8}, 0, 20, 10, 0));
    EXPECT_FALSE(chart::PointInUprightTriangle({2, 2}, 0, 20, 10, 0));
    EXPECT_TRUE(chart::PointInSidewaysTriangle({8, 10}, 0, 20, 10, 0));
    EXPECT_FALSE(chart::PointInSidewaysTriangle({9, 1}, 0, 20, 10, 0));

    const gfx::TRect box(0, 0, 20, 10);
    EXPECT_TRUE(chart::PointInEllipseArea({10, 5}, box));
    EXPECT_TRUE(chart::PointInEllipseArea({0, 5}, box));
    EXPECT_FALSE(chart::PointInEllipseArea({1, 1}, box));
    EXPECT_FALSE(chart::PointInEllipseArea({0, 0}, gfx::TRect(0, 0, 1, 10)));
}

TEST(ChartTextLinesTest, SplitAndCount) {
    std::string text = "one|two|three";
    chart::SplitIntoLines(text, "|");
    EXPECT_EQ(text, "one\rtwo\rthree");
    EXPECT_EQ(chart::CountTextLines(text), 3);
    std::string pairs = "a--b";
    chart::SplitIntoLines(pairs, "--");
    EXPECT_EQ(pairs, "a\r-b");
    std::string unchanged = "a\rb";
    chart::SplitIntoLines(unchanged, "\r");
    chart::SplitIntoLines(unchanged, "");
    EXPECT_EQ(unchanged, "a\rb");
    EXPECT_EQ(chart::CountTextLines(""), 0);
    EXPECT_EQ(chart::CountTextLines("a\r"), 1);
    EXPECT_EQ(chart::CountTextLines("\r\r"), 2);
}

TEST(NextOneTwoFiveTest, StepsThroughOneTwoFiveInEveryDecade) {
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(1), 2);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(2), 5);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(4.99), 5);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(5), 10);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(10), 20);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(350), 500);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(0.3), 0.5);
    EXPECT_DOUBLE_EQ(chart::NextOneTwoFive(0.01), 0.02);
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
        EXPECT_THROW(chart::NextOneTwoFive(bad), base::EInvalidOp) << bad;
    }
}

TEST(DateStepsTest, StepTableLookups) {
    const auto& steps = chart::DateStepDays();
    EXPECT_DOUBLE_EQ(steps[0] * 86400, 1);
    EXPECT_DOUBLE_EQ(steps[13], 0.5);
    EXPECT_DOUBLE_EQ(steps[24], 365);
    EXPECT_DOUBLE_EQ(chart::NextDateStep(1), 2);
    EXPECT_DOUBLE_EQ(chart::NextDateStep(8), 15);
    EXPECT_DOUBLE_EQ(chart::NextDateStep(1000), 365);
    EXPECT_DOUBLE_EQ(chart::NextDateStep(0.1 / 86400), 365);
    EXPECT_EQ(chart::DateStepIndex(7), 17);
    EXPECT_EQ(chart::DateStepIndex(1.0 / 24 + 0.5 / 86400), 10);
    EXPECT_EQ(chart::DateStepIndex(4), chart::kDateStepCount);
    EXPECT_EQ(chart::DateDefaultFormat(2), chart::DateFormats().ShortDateFormat);
    EXPECT_EQ(chart::DateDefaultFormat(1), chart::DateFormats().ShortTimeFormat);
}

TEST(DateStepsTest, RoundingAndSteppingByCalendar) {
    EXPECT_DOUBLE_EQ(chart::EncodeDate(1899, 12, 30), 0);
    EXPECT_DOUBLE_EQ(chart::EncodeDate(1900, 1, 1), 2);
    const double march17 = chart::EncodeDate(2020, 3, 17) + 0.75;
    EXPECT_DOUBLE_EQ(chart::RoundDateToStep(18, march17), chart::EncodeDate(2020, 3, 15));
    EXPECT_DOUBLE_EQ(chart::RoundDateToStep(20, march17), chart::EncodeDate(2020, 3, 1));
    EXPECT_DOUBLE_EQ(chart::RoundDateToStep(24, march17), chart::EncodeDate(2020, 1, 1));
    EXPECT_DOUBLE_EQ(chart::RoundDateToStep(5, march17), chart::EncodeDate(2020, 3, 17));
    EXPECT_DOUBLE_EQ(chart::RoundDateToStep(24, 1.5), 1.5);

    double value = chart::EncodeDate(2020, 11, 20);
    chart::StepDate(true, true, value, 22, 120);  // 4 months
    EXPECT_DOUBLE_EQ(value, chart::EncodeDate(2021, 3, 1));
    chart::StepDate(true, false, value, 23, 182);  // 6 months back
    EXPECT_DOUBLE_EQ(value, chart::EncodeDate(2020, 9, 1));
    value = chart::EncodeDate(2020, 2, 29);
    chart::StepDate(true, true, value, 24, 365);
    EXPECT_DOUBLE_EQ(value, chart::EncodeDate(2021, 2, 28));
    value = chart::EncodeDate(2020, 1, 1);
    chart::StepDate(true, false, value, 18, 15);
    EXPECT_DOUBLE_EQ(value, chart::EncodeDate(2019, 12, 15));
    chart::StepDate(true, true, value, 18, 15);
    EXPECT_DOUBLE_EQ(value, chart::EncodeDate(2020, 1, 1));
    chart::StepDate(true, true, value, 18, 15);
    EXPECT_DOUBLE_EQ(value, chart::EncodeDate(2020, 1, 15));
    value = 10;
    chart::StepDate(false, true, value, 20, 60);
    EXPECT_DOUBLE_EQ(value, 70);
    chart::StepDate(true, false, value, 3, 0.5);
    EXPECT_DOUBLE_EQ(value, 69.5);
}

}  // namespace

namespace {

TEST(ClassBitmapTest, FoundForTheClassOrItsParentOnly) {
    static const classes::TClassInfo grandParent("TKeyvetGrand", nullptr);
    static const classes::TClassInfo parent("TKeyvetParent", &grandParent);
    static const classes::TClassInfo child("TKeyvetChild", &parent);
    gfx::TBitmap icon(3, 2);
    icon.Canvas().SetPixel(0, 0, gfx::clRed);
    chart::RegisterClassBitmap("TKeyvetGrand", icon);
    gfx::TBitmap found;
    EXPECT_FALSE(chart::FindClassBitmap(child, found));
    EXPECT_TRUE(found.Empty());
    chart::RegisterClassBitmap("TKeyvetParent", icon);
    ASSERT_TRUE(chart::FindClassBitmap(child, found));
    EXPECT_EQ(found.Width(), 3);
    EXPECT_EQ(found.Canvas().Pixel(0, 0), gfx::clRed);
}

}  // namespace
