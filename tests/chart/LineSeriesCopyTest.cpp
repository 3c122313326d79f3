// The line family's marks (lifted by the arrow length, at the series' front depth) and the
// copy of a series into a line series.
#include <gtest/gtest.h>

#include "chart/series/LineSeries.h"
#include "support/PixelChart.h"

namespace {

using chart::TLineSeries;
using testsupport::TPixelChart;

const gfx::TColorRef kBlack = gfx::ColorToRGB(gfx::clBlack);
const gfx::TColorRef kWhite = gfx::ColorToRGB(testsupport::kChartWhite);
const gfx::TColorRef kMarkBack = gfx::ColorToRGB(chart::kDefaultMarksBackColor);

class LineMarksTest : public ::testing::Test {
  protected:
    LineMarksTest() : m_chart(100, 80), m_series(new TLineSeries(&m_chart)) {
        m_series->SetSeriesColor(gfx::clBlue);
        m_chart.AddSeries(m_series);
        m_series->Marks().SetVisible(true);
        m_series->Marks().SetStyle(chart::TSeriesMarksStyle::smsValue);
        m_series->AppendXY(50, 60);
    }
    TPixelChart m_chart;
    TLineSeries* m_series;
};

TEST_F(LineMarksTest, TheBoxStandsTheArrowLengthAboveThePoint) {
    m_chart.Paint();
    const chart::TSeriesMarkPosition& p = m_series->Marks().Position(0);
    // The arrow runs from the point 8 pixels up, where the box's bottom edge ends.
    EXPECT_EQ(p.ArrowFromY, 60);
    EXPECT_EQ(p.ArrowToY, 52);
    EXPECT_EQ(p.Top + p.Height, 52);
    EXPECT_EQ(m_chart.Pixel(50, 55), kBlack) << m_chart.Picture();  // the arrow
    EXPECT_EQ(m_chart.Pixel(p.Left + 2, 53), kWhite);  // below the box, beside the arrow
    EXPECT_EQ(m_chart.Pixel(p.Left + 2, 50), kMarkBack);
    // A longer arrow lifts the box further.
    m_series->Marks().SetArrowLength(20);
    m_chart.Paint();
    EXPECT_EQ(m_series->Marks().Position(0).Top + p.Height, 40);
}

TEST_F(LineMarksTest, InDepthTheMarkStandsAtTheSeriesFront) {
    m_chart.UseObliqueView();
    m_chart.Paint();
    ASSERT_EQ(m_series->StartZ(), 0);
    ASSERT_EQ(m_series->MiddleZ(), 5);
    EXPECT_EQ(m_series->Marks().ZPosition(), 0);
    // At depth 0 the oblique view moves nothing: the arrow is where it is in 2D.
    EXPECT_EQ(m_chart.Pixel(50, 55), kBlack) << m_chart.Picture();
}
TEST(LineSeriesAssignTest, ALineSeriesCopiesEverySettingButKeepsItsLinesAndDropsTheArea) {
    TLineSeries source(nullptr);
    source.LinePen().SetWidth(3);
    source.LinePen().SetColor(gfx::clRed);
    source.Pointer().SetVisible(true);
    source.Pointer().SetStyle(chart::TSeriesPointerStyle::psDiamond);
    source.Pointer().SetHorizSize(6);
    source.Pointer().SetVertSize(7);
    source.Pointer().SetDraw3D(false);
    source.Pointer().SetDark3D(false);
    source.SetStairs(true);
    source.SetInvertedStairs(true);
    source.SetDark3D(false);
    source.SetLineBrush(gfx::TBrushStyle::bsCross);
    source.SetLineHeight(5);
    source.SetSegmentsClickable(false);
    source.SetDrawArea(true);
    source.SetAreaBrush(gfx::TBrushStyle::bsFDiagonal);
    source.SetAreaColor(gfx::clGreen);
    source.AreaLinesPen().SetWidth(2);
    source.SetConnectPoints(false);
    source.SetSeriesColor(gfx::clRed);
    source.AppendXY(1, 2);
    source.AppendXY(3, 4);

    TLineSeries target(nullptr);
    target.Assign(source);
    EXPECT_EQ(target.LinePen().Width(), 3);
    EXPECT_EQ(target.LinePen().Color(), gfx::clRed);
    EXPECT_TRUE(target.Pointer().Visible());  // same class: the pointer stays as it was
    EXPECT_EQ(target.Pointer().Style(), chart::TSeriesPointerStyle::psDiamond);
    EXPECT_EQ(target.Pointer().HorizSize(), 6);
    EXPECT_EQ(target.Pointer().VertSize(), 7);
    EXPECT_FALSE(target.Pointer().Draw3D());
    EXPECT_FALSE(target.Pointer().Dark3D());
    EXPECT_TRUE(target.Stairs());
    EXPECT_TRUE(target.InvertedStairs());
    EXPECT_FALSE(target.Dark3D());
    EXPECT_EQ(target.LineBrush(), gfx::TBrushStyle::bsCross);
    EXPECT_EQ(target.LineHeight(), 5);
    EXPECT_FALSE(target.SegmentsClickable());
    EXPECT_EQ(target.AreaBrush(), gfx::TBrushStyle::bsFDiagonal);
    EXPECT_EQ(target.AreaColor(), gfx::clGreen);
    EXPECT_EQ(target.AreaLinesPen().Width(), 2);
    EXPECT_TRUE(target.ConnectPoints());  // a line series keeps its lines
    EXPECT_FALSE(target.DrawArea());      // and has no area
    EXPECT_EQ(target.SeriesColor(), gfx::clRed);
    ASSERT_EQ(target.PointCount(), 2);
    EXPECT_EQ(target.YValueAt(1), 4);

    // From another kind of the line family the pointer is hidden.
    chart::TCustomSeries other(nullptr);
    other.Pointer().SetVisible(true);
    other.SetLineHeight(9);
    target.Assign(other);
    EXPECT_FALSE(target.Pointer().Visible());
    EXPECT_EQ(target.LineHeight(), 9);
}

}  // namespace
