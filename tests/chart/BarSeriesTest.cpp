// Bar series on a value-to-pixel chart: bar edges, the side-by-side offsets of three series,
// stacked tops at the running sums, 100 % stacks reaching the top, origins, offsets, the
// horizontal kind and the refused settings.
#include "chart/series/BarSeries.h"

#include <gtest/gtest.h>

#include "chart/messages/ChartMessages.h"
#include "support/ValueChart.h"

namespace {

using chart::TBarSeries;
using chart::TMultiBar;

constexpr gfx::TColor kRed = 0x0000FF;
constexpr gfx::TColor kGreen = 0x00FF00;
constexpr gfx::TColor kBlue = 0xFF0000;
constexpr gfx::TColor kWhite = support::TValueChart::kWhite;

class BarSeriesTest : public ::testing::Test {
  protected:
    TBarSeries* Bars(gfx::TColor color, double a, double b, double c) {
        auto* series = new TBarSeries(&m_chart);
        series->SetSeriesColor(color);
        series->BarPen().SetVisible(false);
        series->Marks().SetVisible(false);
        m_chart.AddSeries(series);
        series->AppendXY(50, a);
        series->AppendXY(100, b);
        series->AppendXY(150, c);
        return series;
    }
    support::TValueChart m_chart{200, 100};
};

TEST_F(BarSeriesTest, ThreeSeriesStandSideBySideInTheirSlots) {
    TBarSeries* first = Bars(kRed, 30, 60, 90);
    Bars(kGreen, 20, 40, 80)->SetBarWidthPercent(60);
    Bars(kBlue, 10, 50, 70)->SetBarWidthPercent(60);
    first->SetBarWidthPercent(60);
    m_chart.Paint();
    // Slot 200 / 3 points; 60 % of it shared by three series: 13 pixels each. The group of
    // 39 pixels starts 19 left of the point: red 31..43, green 44..56, blue 57..69 at x = 50.
    EXPECT_EQ(first->BarSize(), 13);
    EXPECT_TRUE(m_chart.Is(30, 99, kWhite)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(31, 99, kRed));
    EXPECT_TRUE(m_chart.Is(43, 99, kRed));
    EXPECT_TRUE(m_chart.Is(44, 99, kGreen));
    EXPECT_TRUE(m_chart.Is(56, 99, kGreen));
    EXPECT_TRUE(m_chart.Is(57, 99, kBlue));
    EXPECT_TRUE(m_chart.Is(69, 99, kBlue));
    EXPECT_TRUE(m_chart.Is(70, 99, kWhite));
    // Heights: the value's row is the top, the origin's row (100) lies outside.
    EXPECT_TRUE(m_chart.Is(35, 70, kRed));
    EXPECT_TRUE(m_chart.Is(35, 69, kWhite));
    EXPECT_TRUE(m_chart.Is(60, 90, kBlue));
    EXPECT_TRUE(m_chart.Is(60, 89, kWhite));
    // The third point's bars stand around x = 150.
    EXPECT_TRUE(m_chart.Is(131, 99, kRed));
    EXPECT_TRUE(m_chart.Is(169, 99, kBlue));
    EXPECT_TRUE(m_chart.Is(170, 99, kWhite));

    // An offset moves a bar by a share of its width: half of 13 is 6 pixels to the right.
    first->SetOffsetPercent(50);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Is(36, 99, kWhite)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(37, 99, kRed));
    // The red bar now covers the green one's first columns (drawn before it: green wins).
    EXPECT_TRUE(m_chart.Is(44, 99, kGreen));
}

TEST_F(BarSeriesTest, AVisiblePenOutlinesTheSamePixels) {
    TBarSeries* bars = Bars(kRed, 30, 0, 0);
    bars->BarPen().SetVisible(true);
    bars->SetBarWidthPercent(30);
    m_chart.Paint();
    // One series: 200 / 3 x 30 % = 20 pixels, from 40 to 59; outline black, inside red.
    EXPECT_TRUE(m_chart.Is(39, 99, kWhite)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(40, 85, gfx::clBlack));
    EXPECT_TRUE(m_chart.Is(41, 85, kRed));
    EXPECT_TRUE(m_chart.Is(59, 85, gfx::clBlack));
    EXPECT_TRUE(m_chart.Is(60, 85, kWhite));
    EXPECT_TRUE(m_chart.Is(45, 70, gfx::clBlack));
    EXPECT_TRUE(m_chart.Is(45, 69, kWhite));
}

TEST_F(BarSeriesTest, StackedBarsTopOutAtTheRunningSums) {
    TBarSeries* first = Bars(kRed, 30, 10, 5);
    TBarSeries* second = Bars(kGreen, 20, 10, 5);
    TBarSeries* third = Bars(kBlue, 10, 10, 5);
    first->SetMultiBar(TMultiBar::mbStacked);
    for (TBarSeries* series : {first, second, third}) {
        series->SetBarWidthPercent(60);
    }
    EXPECT_EQ(third->MultiBar(), TMultiBar::mbStacked);
    m_chart.Paint();
    // At x = 50: red 0..30, green 30..50, blue 50..60; one bar width for all (40 pixels).
    EXPECT_TRUE(m_chart.Is(50, 70, kRed)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(50, 69, kGreen));
    EXPECT_TRUE(m_chart.Is(50, 50, kGreen));
    EXPECT_TRUE(m_chart.Is(50, 49, kBlue));
    EXPECT_TRUE(m_chart.Is(50, 40, kBlue));
    EXPECT_TRUE(m_chart.Is(50, 39, kWhite));
    EXPECT_TRUE(m_chart.Is(30, 45, kBlue));
    EXPECT_TRUE(m_chart.Is(29, 45, kWhite));
    // The last series of the stack reaches the highest sum, which the axis takes.
    EXPECT_EQ(first->HighestY(), 30);
    EXPECT_EQ(third->HighestY(), 60);

    // To 100 %: 7 + 11 + 13 = 31 reaches exactly 100, the top row.
    m_chart.FreeAllSeries();
    TBarSeries* a = Bars(kRed, 7, 1, 1);
    Bars(kGreen, 11, 1, 1);
    Bars(kBlue, 13, 0, 0);
    a->SetMultiBar(TMultiBar::mbStacked100);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Is(50, 0, kBlue)) << m_chart.Picture();
    // Red is 7 / 31 = 22.58 %: its top is row 100 - 22.58 = 77.42, truncated to 77.
    EXPECT_TRUE(m_chart.Is(50, 77, kRed));
    EXPECT_TRUE(m_chart.Is(50, 76, kGreen));
    // Two series of 1 at x = 100: each half.
    EXPECT_TRUE(m_chart.Is(100, 50, kRed));
    EXPECT_TRUE(m_chart.Is(100, 49, kGreen));
    EXPECT_TRUE(m_chart.Is(100, 0, kGreen));
    EXPECT_EQ(a->HighestY(), 100);
}

TEST_F(BarSeriesTest, BarsStandOnTheirOriginInEitherDirection) {
    TBarSeries* bars = Bars(kRed, 80, 30, 50);
    bars->SetMultiBar(TMultiBar::mbNone);
    bars->SetYOrigin(50);
    m_chart.Paint();
    // Up from 50 to 80: rows 20 .. 49; down from 50 to 30: rows 51 .. 70.
    EXPECT_TRUE(m_chart.Is(50, 20, kRed)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(50, 49, kRed));
    EXPECT_TRUE(m_chart.Is(50, 50, kWhite));
    EXPECT_TRUE(m_chart.Is(100, 50, kWhite));
    EXPECT_TRUE(m_chart.Is(100, 51, kRed));
    EXPECT_TRUE(m_chart.Is(100, 70, kRed));
    EXPECT_TRUE(m_chart.Is(100, 71, kWhite));
    EXPECT_EQ(bars->LowestY(), 30);
    EXPECT_EQ(bars->HighestY(), 80);
}

TEST_F(BarSeriesTest, HorizontalBarsRunAlongTheValueAxis) {
    auto* bars = new chart::THorizBarSeries(&m_chart);
    bars->SetSeriesColor(kRed);
    bars->BarPen().SetVisible(false);
    m_chart.AddSeries(bars);
    EXPECT_FALSE(bars->YIsMandatory());
    EXPECT_EQ(bars->XValues().Name(), "Bar");
    bars->AppendValue(120);  // value in X, index in Y
    bars->AppendXY(60, 50);
    EXPECT_EQ(bars->YValueAt(0), 0);
    bars->SetCustomBarSize(10);
    m_chart.Paint();
    // The second bar: columns 0 .. 60 (origin column 0 excluded), rows 45 .. 54.
    EXPECT_TRUE(m_chart.Is(1, 50, kRed)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(60, 50, kRed));
    EXPECT_TRUE(m_chart.Is(61, 50, kWhite));
    EXPECT_TRUE(m_chart.Is(30, 45, kRed));
    EXPECT_TRUE(m_chart.Is(30, 44, kWhite));
    EXPECT_TRUE(m_chart.Is(30, 54, kRed));
    EXPECT_TRUE(m_chart.Is(30, 55, kWhite));
    EXPECT_EQ(bars->HighestX(), 120);

    try {
        bars->FillSampleValues(0);
        FAIL() << "no exception";
    } catch (const chart::BarException& e) {
        EXPECT_STREQ(e.what(), "FillSampleValues NumValues must be > 0");
    }
    EXPECT_EQ(bars->PointCount(), 2);
    bars->FillSampleValues(5);
    ASSERT_EQ(bars->PointCount(), 5);
    EXPECT_GE(bars->XValueAt(0), 1000);
    EXPECT_LT(bars->XValueAt(0), 2000);
    EXPECT_EQ(bars->YValueAt(4) - bars->YValueAt(0), 4);
}

TEST_F(BarSeriesTest, OutOfRangePercentagesAreRefused) {
    TBarSeries bars(nullptr);
    const auto refused = [](auto set, const char* message) {
        try {
            set();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const chart::BarException& e) {
            EXPECT_STREQ(e.what(), message);
        }
    };
    refused([&] { bars.SetBarWidthPercent(0); }, "Bar Width Percent must be between 1 and 100");
    refused([&] { bars.SetBarWidthPercent(101); }, "Bar Width Percent must be between 1 and 100");
    refused([&] { bars.SetOffsetPercent(-101); },
            "Bar Offset Percent must be between -100% and 100%");
    refused([&] { bars.SetOffsetPercent(101); },
            "Bar Offset Percent must be between -100% and 100%");
    EXPECT_EQ(bars.BarWidthPercent(), 70);
    EXPECT_EQ(bars.OffsetPercent(), 0);
    bars.SetBarWidthPercent(100);
    bars.SetOffsetPercent(-100);
    EXPECT_EQ(bars.BarWidthPercent(), 100);
    EXPECT_EQ(bars.OffsetPercent(), -100);
    // Created with marks shown 20 pixels away, values in a list named "Bar".
    EXPECT_TRUE(bars.Marks().Visible());
    EXPECT_EQ(bars.Marks().ArrowLength(), 20);
    EXPECT_EQ(bars.YValues().Name(), "Bar");
    EXPECT_EQ(bars.YValues().Order(), chart::TChartListOrder::loNone);
}

}  // namespace
