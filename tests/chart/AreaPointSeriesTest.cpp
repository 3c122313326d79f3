// Area and point series on a value-to-pixel chart: an area filled down to the bottom, stacked
// areas whose tops are the running sums, 100 % stacks, the area as the line family draws it
// (legend box, DrawArea, pointers, clicks in the fill, scrolled views, copies; flat and 3D
// against a line series with its area on), and the point series' settings.
#include "chart/series/AreaPointSeries.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

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

TEST_F(AreaSeriesTest, TheAreaIsTheLineFamilysAreaSwitchedByDrawArea) {
    chart::TAreaSeries* area = Area(kRed, 40, 40);
    EXPECT_TRUE(area->DrawArea());
    EXPECT_TRUE(area->ConnectPoints());
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Is(50, 80, kRed)) << m_chart.Picture();  // under the line
    EXPECT_TRUE(m_chart.Is(50, 50, kWhite));                     // above it
    // Off, only the line is left.
    area->SetDrawArea(false);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Is(50, 80, kWhite)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(50, 60, kRed));
    // A hatch in the area colour over the chart's colour.
    area->SetDrawArea(true);
    area->SetAreaBrush(gfx::TBrushStyle::bsHorizontal);
    area->SetAreaColor(kGreen);
    m_chart.Paint();
    int32_t green = 0;
    int32_t white = 0;
    for (int32_t y = 70; y < 90; ++y) {
        green += m_chart.Is(50, y, kGreen) ? 1 : 0;
        white += m_chart.Is(50, y, kWhite) ? 1 : 0;
    }
    EXPECT_GT(green, 1);
    EXPECT_GT(white, 10);
}

TEST_F(AreaSeriesTest, PointersAreDrawnAndAClickInsideTheFillFindsTheSegment) {
    chart::TAreaSeries* area = Area(kRed, 40, 40);
    area->Pointer().SetVisible(true);
    area->Pointer().Brush().SetColor(kGreen);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Is(10, 60, kGreen)) << m_chart.Picture();  // the pointer at (10, 40)
    EXPECT_TRUE(m_chart.Is(90, 60, kGreen));
    area->Pointer().SetVisible(false);
    m_chart.Paint();
    // Well inside the fill, away from the line: the segment from point 0.
    EXPECT_EQ(area->PointAtScreen(50, 85), 0);
    EXPECT_EQ(area->PointAtScreen(50, 30), -1);  // above the line
    area->SetDrawArea(false);
    EXPECT_EQ(area->PointAtScreen(50, 85), -1);
}

TEST_F(AreaSeriesTest, TheLegendShowsAFilledBoxNotALine) {
    chart::TAreaSeries* area = Area(kRed, 40, 40);
    m_chart.Paint();
    const gfx::TRect box(20, 20, 40, 30);
    area->DrawLegendSymbol(-1, box);
    int32_t red = 0;
    for (int32_t y = box.Top; y < box.Bottom; ++y) {
        for (int32_t x = box.Left; x < box.Right; ++x) {
            red += m_chart.Is(x, y, kRed) ? 1 : 0;
        }
    }
    // A box is red in more than a line's one or two rows.
    EXPECT_GT(red, 100) << m_chart.Picture();
}

TEST_F(AreaSeriesTest, CopyingAnAreaKeepsItsColourBrushPenAndStacking) {
    chart::TAreaSeries* source = Area(kRed, 40, 40);
    source->SetAreaColor(kGreen);
    source->SetAreaBrush(gfx::TBrushStyle::bsCross);
    source->AreaLinesPen().SetColor(kGreen);
    source->AreaLinesPen().SetWidth(3);
    source->SetMultiArea(chart::TMultiArea::maStacked);
    source->SetDrawArea(false);
    chart::TAreaSeries target(nullptr);
    target.Assign(*source);
    EXPECT_EQ(target.AreaColor(), kGreen);
    EXPECT_EQ(target.AreaBrush(), gfx::TBrushStyle::bsCross);
    EXPECT_EQ(target.AreaLinesPen().Color(), kGreen);
    EXPECT_EQ(target.AreaLinesPen().Width(), 3);
    EXPECT_TRUE(target.AreaLinesPen().Visible() == source->AreaLinesPen().Visible());
    EXPECT_EQ(target.MultiArea(), chart::TMultiArea::maStacked);
    EXPECT_FALSE(target.DrawArea());
}

// The reference: a line series with the line family's area turned on, drawn point by point.
class TLineWithArea : public chart::TLineSeries {
  public:
    explicit TLineWithArea(classes::TComponent* owner) : TLineSeries(owner) { SetDrawArea(true); }
};

// One seeded case of an area on a chart with real axes.
struct TAreaCase {
    uint32_t Seed = 0;
    int32_t Points = 0;
    bool View3D = false;
    bool Stairs = false;
    bool Zoomed = false;  // the bottom axis shows the middle of the points: scrolled
    bool Hatched = false;
    std::string Describe() const {
        std::ostringstream text;
        text << "TAreaCase{" << Seed << ", " << Points << ", " << View3D << ", " << Stairs << ", "
             << Zoomed << ", " << Hatched << "}";
        return text.str();
    }
};

std::vector<uint32_t> PaintAreaCase(const TAreaCase& c, bool reference) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(0, 0, 200, 150);
    chart1->SetView3D(c.View3D);
    chart1->Legend().SetVisible(false);
    chart::TCustomSeries* series =
        reference ? static_cast<chart::TCustomSeries*>(new TLineWithArea(&form))
                  : new chart::TAreaSeries(&form);
    series->SetSeriesColor(kRed);
    series->SetStairs(c.Stairs);
    if (c.Hatched) {
        series->SetAreaBrush(gfx::TBrushStyle::bsDiagCross);
        series->SetAreaColor(kGreen);
    }
    chart1->AddSeries(series);
    std::mt19937 random(c.Seed);
    double y = 50;
    for (int32_t i = 0; i < c.Points; ++i) {
        y += static_cast<double>(random() % 41) - 20;
        if (random() % 10 == 0) {
            series->AppendNullXY(i, y);
        } else {
            series->AppendXY(i, y, "", random() % 7 == 0 ? kGreen : chart::clSeriesDefault);
        }
    }
    if (c.Zoomed) {
        chart1->BottomAxis().SetAxisRange(c.Points * 0.3 + 0.5, c.Points * 0.7);
    }
    chart1->Paint();
    return chart1->Surface().Pixels();
}

TEST(AreaSeriesDrawingTest, SeededAreasLookAsTheLineFamilysAreaFlatAnd3D) {
    std::mt19937 random(90210);
    for (int trial = 0; trial < 120; ++trial) {
        TAreaCase c;
        c.Seed = random();
        c.Points = 2 + static_cast<int32_t>(random() % 40);
        c.View3D = trial % 2 == 1;
        c.Stairs = random() % 4 == 0;
        c.Zoomed = random() % 2 == 0;
        c.Hatched = random() % 3 == 0;
        ASSERT_EQ(PaintAreaCase(c, false), PaintAreaCase(c, true))
            << "trial " << trial << ": " << c.Describe();
    }
}

TEST(AreaSeriesDrawingTest, AScrolledAreaIsFilledFromTheLeftEdge) {
    // Zoomed in between points: the segment coming from the point before the view fills the
    // plot from its left edge.
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(0, 0, 200, 150);
    chart1->SetView3D(false);
    chart1->Legend().SetVisible(false);
    auto* area = new chart::TAreaSeries(&form);
    area->SetSeriesColor(kRed);
    chart1->AddSeries(area);
    for (int32_t i = 0; i <= 10; ++i) {
        area->AppendXY(i * 10, 50);
    }
    chart1->LeftAxis().SetAxisRange(0, 100);
    chart1->BottomAxis().SetAxisRange(25, 75);
    chart1->Paint();
    const gfx::TRect plot = chart1->PlotRect();
    const int32_t row = chart1->LeftAxis().ValueToYPos(25);
    const gfx::TColorRef red = gfx::ColorToRGB(kRed);
    for (int32_t x = plot.Left + 1; x < chart1->BottomAxis().ValueToXPos(30); ++x) {
        ASSERT_EQ(chart1->Surface().Canvas().Pixel(x, row), red) << "column " << x;
    }
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
