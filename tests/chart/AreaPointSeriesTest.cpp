// Area and point series on a value-to-pixel chart: an area filled down to the bottom, stacked
// areas whose tops are the running sums, 100 % stacks, and the point series' settings.
#include "chart/series/AreaPointSeries.h"

#include <gtest/gtest.h>

#include "support/ValueChart.h"

namespace {

constexpr gfx::TColor kRed = 0x0000FF;
constexpr gfx::TColor kGreen = 0x00FF00;
constexpr gfx::TColor kWhite = support::TValueChart::kWhite;

class AreaSeriesTest : public ::testing::Test {
  protected:
    chart::TAreaSeries* Area(gfx::TColor color, double a, double b) {
        auto* area = new chart::TAreaSeries(&m_chart);
        area->SetSeriesColor(color);
        area->AreaLinesPen().SetVisible(false);
        m_chart.AddSeries(area);
        area->AppendXY(10, a);
        area->AppendXY(90, b);
        return area;
    }
    support::TValueChart m_chart{100, 100};
};

TEST_F(AreaSeriesTest, StackedAreasTopOutAtTheRunningSums) {
    chart::TAreaSeries* lower = Area(kRed, 20, 20);
    chart::TAreaSeries* upper = Area(kGreen, 30, 10);
    m_chart.Paint();
    // Unstacked, the later area covers the earlier one down to the bottom.
    EXPECT_TRUE(m_chart.Is(50, 90, kGreen)) << m_chart.Picture();

    lower->SetMultiArea(chart::TMultiArea::maStacked);
    EXPECT_EQ(upper->MultiArea(), chart::TMultiArea::maStacked);
    m_chart.Paint();
    // Red from the bottom to 20 (row 80); green from there to 20 + 30 = 50 at x = 10 and
    // 20 + 10 = 30 at x = 90, so 40 (row 60) in the middle.
    EXPECT_TRUE(m_chart.Is(50, 95, kRed)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(50, 82, kRed));
    EXPECT_TRUE(m_chart.Is(50, 78, kGreen));
    EXPECT_TRUE(m_chart.Is(50, 62, kGreen));
    EXPECT_TRUE(m_chart.Is(50, 58, kWhite));
    EXPECT_TRUE(m_chart.Is(12, 52, kGreen));
    EXPECT_TRUE(m_chart.Is(12, 48, kWhite));
    EXPECT_EQ(upper->HighestY(), 50);
    EXPECT_EQ(lower->HighestY(), 20);

    // To 100 %: 20 of 50 is 40 % at x = 10, 20 of 30 is 66.7 % at x = 90; the top is 100.
    lower->SetMultiArea(chart::TMultiArea::maStacked100);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Is(12, 62, kRed)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(12, 58, kGreen));
    EXPECT_TRUE(m_chart.Is(12, 2, kGreen));
    EXPECT_TRUE(m_chart.Is(88, 36, kRed));
    EXPECT_TRUE(m_chart.Is(88, 30, kGreen));
    EXPECT_EQ(upper->HighestY(), 100);
    EXPECT_EQ(lower->LowestY(), 0);
}

TEST(PointSeriesTest, PointsAreShownByPointersWithoutLines) {
    support::TValueChart chart(60, 60);
    auto* points = new chart::TPointSeries(&chart);
    points->SetSeriesColor(kRed);
    chart.AddSeries(points);
    EXPECT_FALSE(points->ConnectPoints());
    EXPECT_TRUE(points->Pointer().Visible());
    EXPECT_EQ(points->Marks().ArrowLength(), 0);
    points->AppendXY(10, 50);
    points->AppendXY(50, 10);
    chart.Paint();
    EXPECT_TRUE(chart.Is(10, 10, kRed)) << chart.Picture();
    EXPECT_TRUE(chart.Is(50, 50, kRed));
    // Nothing between them.
    EXPECT_TRUE(chart.Is(30, 30, kWhite));
    // Each point in its own colour: the pointer brush gives way to the point colour.
    points->Pointer().Brush().SetColor(kGreen);
    points->SetColorEachPoint(true);
    EXPECT_EQ(points->Pointer().Brush().Color(), chart::clSeriesDefault);
}

}  // namespace
