// The line series drawn on a small flat chart whose axes map a value straight to its pixel:
// segments, stair steps, null points, the segment entering from the left edge, pointer shapes,
// margins and the visible range.
#include "chart/series/LineSeries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "support/PixelChart.h"

namespace {

using chart::TLineSeries;
using chart::TSeriesPointerStyle;

using testsupport::TPixelChart;

class LineSeriesTest : public ::testing::Test {
  protected:
    LineSeriesTest() : m_series(new TLineSeries(&m_chart)) {
        m_series->SetSeriesColor(gfx::clBlue);
        m_chart.AddSeries(m_series);
    }
    TPixelChart m_chart;
    TLineSeries* m_series;
};

TEST_F(LineSeriesTest, ConsecutivePointsAreJoinedInThePointColourWithTheLinePen) {
    m_series->AppendXY(5, 10);
    m_series->AppendXY(25, 10);
    m_series->AppendXY(25, 30);
    m_series->AppendXY(45, 30);
    m_chart.Paint();
    const gfx::TColorRef blue = gfx::ColorToRGB(gfx::clBlue);
    // Horizontal, vertical, horizontal: no diagonal between the pairs that share X.
    EXPECT_EQ(m_chart.Pixel(5, 10), blue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(24, 10), blue);
    EXPECT_EQ(m_chart.Pixel(25, 20), blue);
    EXPECT_EQ(m_chart.Pixel(30, 30), blue);
    EXPECT_FALSE(m_chart.Coloured(15, 20)) << m_chart.Picture();
    // One-pixel lines: 20 + 20 + 20 pixels, the last pixel of the last segment not drawn.
    EXPECT_EQ(m_chart.CountColoured(), 60) << m_chart.Picture();

    // A two-pixel pen (the main window's) makes every segment two pixels thick.
    m_series->LinePen().SetWidth(2);
    m_chart.Paint();
    EXPECT_GT(m_chart.CountColoured(), 110) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(15, 20));
}

TEST_F(LineSeriesTest, SinglePointsAndPointsOnOnePixelDrawNoLine) {
    m_series->AppendXY(20, 20);
    m_chart.Paint();
    EXPECT_EQ(m_chart.CountColoured(), 0) << m_chart.Picture();
    m_series->AppendXY(20.2, 20.3);  // the same pixel
    m_chart.Paint();
    EXPECT_EQ(m_chart.CountColoured(), 0) << m_chart.Picture();
    // The pointer of a single point is drawn when visible.
    m_series->Pointer().SetVisible(true);
    m_series->ClearPoints();
    m_series->AppendXY(20, 20);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Coloured(20, 20)) << m_chart.Picture();
}

TEST_F(LineSeriesTest, ANullPointBreaksTheLineOnBothSides) {
    m_series->AppendXY(5, 10);
    m_series->AppendNullXY(25, 10);
    m_series->AppendXY(45, 10);
    m_chart.Paint();
    EXPECT_EQ(m_chart.CountColoured(), 0) << m_chart.Picture();
    m_series->AppendXY(55, 20);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Coloured(50, 15)) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(30, 10)) << m_chart.Picture();
}

TEST_F(LineSeriesTest, APaintEndingOnANullPointDoesNotLoseTheNextPaintsEnteringSegment) {
    m_series->AppendXY(0, 10);
    m_series->AppendXY(20, 10);
    m_series->AppendXY(40, 10);
    m_series->AppendNullXY(50, 10);
    m_chart.Paint();  // the last point drawn is the null one
    EXPECT_TRUE(m_chart.Coloured(10, 10)) << m_chart.Picture();
    // Scrolled so that X = 10 stands at the left edge: the segment from X = 0 enters the plot
    // and runs into the first visible point at X = 20 (pixel 10).
    m_chart.xOffset = 10;
    m_chart.PartChanged();
    m_chart.Paint();
    ASSERT_EQ(m_series->FirstVisibleIndex(), 1);
    EXPECT_TRUE(m_chart.Coloured(5, 10)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(20, 10)) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(35, 10)) << m_chart.Picture();  // none into the null point
}

TEST_F(LineSeriesTest, StairsDrawTwoLegsHorizontalFirstUnlessInverted) {
    m_series->SetStairs(true);
    m_series->AppendXY(10, 10);
    m_series->AppendXY(30, 30);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Coloured(20, 10)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(30, 20));
    EXPECT_FALSE(m_chart.Coloured(10, 20));
    EXPECT_FALSE(m_chart.Coloured(20, 20));
    m_series->SetInvertedStairs(true);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Coloured(10, 20)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(20, 30));
    EXPECT_FALSE(m_chart.Coloured(20, 10));
}

TEST_F(LineSeriesTest, TheFirstSegmentEntersAtTheLeftEdgeAtItsInterpolatedHeight) {
    // X 0, 10, 20, 30 with Y 0, 10, 20, 30 seen from X = 5 at the left edge: the points before
    // the edge are skipped, the segment into the first visible one starts at (0, 5).
    for (int v = 0; v <= 60; v += 10) {
        m_series->AppendXY(v, v);
    }
    m_chart.xOffset = 5;
    m_chart.SetClipPoints(false);  // the clip would hide the plot's edge pixels
    m_chart.Paint();
    EXPECT_EQ(m_series->FirstVisibleIndex(), 1);
    EXPECT_EQ(m_series->LastVisibleIndex(), 6);
    EXPECT_TRUE(m_chart.Coloured(0, 5)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(4, 9));
    EXPECT_FALSE(m_chart.Coloured(0, 0));
}

TEST_F(LineSeriesTest, TheVisibleRangeKeepsTheFirstPointBeyondTheHighEdge) {
    for (int v : {0, 40, 80, 120}) {
        m_series->AppendXY(v, 1);
    }
    m_chart.xOffset = 10;  // the plot shows X 10 .. 70
    m_chart.Paint();
    EXPECT_EQ(m_series->FirstVisibleIndex(), 1);
    EXPECT_EQ(m_series->LastVisibleIndex(), 2);  // 80 lies beyond, but the line runs to it
    m_chart.xOffset = 200;
    m_chart.PartChanged();
    m_chart.Paint();
    EXPECT_EQ(m_series->FirstVisibleIndex(), -1);
    EXPECT_EQ(m_series->LastVisibleIndex(), -1);
    EXPECT_EQ(m_chart.CountColoured(), 0);
}

TEST_F(LineSeriesTest, TheLegendSymbolIsALineUnlessTheAreaIsFilled) {
    m_chart.Paint();
    const gfx::TRect symbol(10, 10, 30, 20);
    const gfx::TColorRef blue = gfx::ColorToRGB(gfx::clBlue);
    // Without pointers a connected line shows as a stretch of its line across the middle row.
    m_series->DrawLegendSymbol(-1, symbol);
    EXPECT_EQ(m_chart.Pixel(20, 15), blue) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(20, 12)) << m_chart.Picture();

    // With its area on it shows as the filled box of its colour.
    m_series->SetDrawArea(true);
    m_chart.Paint();
    m_series->DrawLegendSymbol(-1, symbol);
    EXPECT_EQ(m_chart.Pixel(20, 12), blue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(20, 17), blue) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(20, 21)) << m_chart.Picture();
}

TEST_F(LineSeriesTest, TheLineIsClippedToThePlotRectangle) {
    m_chart.SetMarginLeft(20);  // 12 pixels of 60
    m_series->AppendXY(0, 20);
    m_series->AppendXY(59, 20);
    m_chart.Paint();
    const int32_t left = m_chart.PlotRect().Left;
    ASSERT_GT(left, 5);
    // The clip keeps the back wall's outline at the left edge free.
    EXPECT_FALSE(m_chart.Coloured(left, 20)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(left + 1, 20)) << m_chart.Picture();
    // Unclipped, the line still starts at the edge: the point before it is not visible and the
    // segment into the first visible point begins at the plot's left edge.
    m_chart.SetClipPoints(false);
    m_chart.Paint();
    EXPECT_TRUE(m_chart.Coloured(left, 20)) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(left - 1, 20)) << m_chart.Picture();
}

// The shapes of the pointer styles at (30, 20) with half-sizes 4, in red on white.
class PointerShapeTest : public LineSeriesTest {
  protected:
    void Draw(TSeriesPointerStyle style) {
        m_series->ClearPoints();
        m_series->SetSeriesColor(gfx::clRed);
        m_series->Pointer().SetVisible(true);
        m_series->Pointer().SetStyle(style);
        m_series->AppendXY(30, 20);
        m_chart.Paint();
    }
};

TEST_F(PointerShapeTest, EachStyleCoversItsBoxAsDrawn) {
    Draw(TSeriesPointerStyle::psRectangle);  // (26, 16) .. (34, 24) inclusive
    EXPECT_TRUE(m_chart.Coloured(26, 16)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(34, 24));
    EXPECT_FALSE(m_chart.Coloured(35, 24));
    EXPECT_FALSE(m_chart.Coloured(34, 25));
    EXPECT_EQ(m_chart.CountColoured(), 81);

    Draw(TSeriesPointerStyle::psCross);  // 9 + 9 pixels sharing the centre
    EXPECT_EQ(m_chart.CountColoured(), 17) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(30, 16));
    EXPECT_TRUE(m_chart.Coloured(30, 24));
    EXPECT_TRUE(m_chart.Coloured(34, 20));
    EXPECT_FALSE(m_chart.Coloured(27, 17));

    Draw(TSeriesPointerStyle::psDiagCross);
    EXPECT_TRUE(m_chart.Coloured(26, 16)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(34, 24));
    EXPECT_TRUE(m_chart.Coloured(34, 16));
    EXPECT_TRUE(m_chart.Coloured(26, 24));
    EXPECT_FALSE(m_chart.Coloured(30, 16));

    Draw(TSeriesPointerStyle::psStar);
    EXPECT_TRUE(m_chart.Coloured(30, 16)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(26, 16));

    Draw(TSeriesPointerStyle::psSmallDot);
    EXPECT_EQ(m_chart.CountColoured(), 1) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(30, 20), gfx::ColorToRGB(gfx::clRed));

    Draw(TSeriesPointerStyle::psTriangle);  // apex up
    EXPECT_TRUE(m_chart.Coloured(30, 17)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(27, 23));
    EXPECT_FALSE(m_chart.Coloured(27, 17));

    Draw(TSeriesPointerStyle::psDownTriangle);  // apex down
    EXPECT_TRUE(m_chart.Coloured(27, 17)) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(27, 23));

    Draw(TSeriesPointerStyle::psDiamond);
    EXPECT_TRUE(m_chart.Coloured(30, 17)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Coloured(27, 20));
    EXPECT_FALSE(m_chart.Coloured(27, 17));

    Draw(TSeriesPointerStyle::psCircle);
    EXPECT_TRUE(m_chart.Coloured(30, 20)) << m_chart.Picture();
    EXPECT_FALSE(m_chart.Coloured(26, 16));
}

TEST_F(PointerShapeTest, AStyleHandlerChoosesPerPointAndThePenColourStaysItsOwn) {
    m_series->SetOnGetPointerStyle(
        [](chart::TChartSeries&, int32_t) { return TSeriesPointerStyle::psSmallDot; });
    Draw(TSeriesPointerStyle::psRectangle);
    EXPECT_EQ(m_chart.CountColoured(), 1) << m_chart.Picture();
    m_series->SetOnGetPointerStyle(nullptr);
    m_series->Pointer().Pen().SetColor(gfx::clBlack);
    Draw(TSeriesPointerStyle::psRectangle);
    EXPECT_EQ(m_chart.Pixel(26, 16), gfx::ColorToRGB(gfx::clBlack));
    EXPECT_EQ(m_chart.Pixel(30, 20), gfx::ColorToRGB(gfx::clRed));
}

TEST_F(PointerShapeTest, PointersAreDrawnOverTheSegmentEndingAtThem) {
    m_series->Pointer().SetVisible(true);
    m_series->Pointer().SetStyle(TSeriesPointerStyle::psRectangle);
    m_series->Pointer().Pen().SetColor(gfx::clBlack);
    m_series->AppendXY(10, 20);
    m_series->AppendXY(40, 20);
    m_chart.Paint();
    // The outline of each pointer lies over the line through it.
    EXPECT_EQ(m_chart.Pixel(14, 20), gfx::ColorToRGB(gfx::clBlack)) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(36, 20), gfx::ColorToRGB(gfx::clBlack));
    EXPECT_EQ(m_chart.Pixel(25, 20), gfx::ColorToRGB(gfx::clBlue));
}

TEST(SeriesPointerTest, SizesBelowOneAreRefusedAndLeaveTheSize) {
    TLineSeries series(nullptr);
    try {
        series.Pointer().SetHorizSize(0);
        FAIL() << "no exception";
    } catch (const chart::ChartException& e) {
        EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
    }
    EXPECT_THROW(series.Pointer().SetVertSize(-3), chart::ChartException);
    EXPECT_EQ(series.Pointer().HorizSize(), 4);
    EXPECT_EQ(series.Pointer().VertSize(), 4);
}

TEST(SeriesPointerTest, MarginsComeFromAVisibleInflatingPointerAndFromStairs) {
    TLineSeries series(nullptr);
    EXPECT_FALSE(series.Pointer().Visible());
    EXPECT_TRUE(series.ConnectPoints());
    int32_t a = -1;
    int32_t b = -1;
    series.HorizontalMargins(a, b);  // hidden pointer: none, even with InflateMargins
    EXPECT_EQ(a + b, 0);
    series.Pointer().SetVisible(true);
    series.Pointer().SetHorizSize(6);
    series.HorizontalMargins(a, b);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 7);
    series.VerticalMargins(a, b);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 5);
    series.Pointer().SetInflateMargins(false);
    series.SetStairs(true);
    series.LinePen().SetWidth(3);
    series.VerticalMargins(a, b);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 4);
    series.SetLineHeight(9);
    series.VerticalMargins(a, b);
    EXPECT_EQ(b, 9);
}

}  // namespace
