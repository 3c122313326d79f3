// The line family in depth and area, and its hit test: ribbons with their front face and dark
// undersides, solid pointers, areas flat and in depth, oblique and rotated views, and
// PointAtScreen with the pointer-click event.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "chart/series/LineSeries.h"
#include "support/PixelChart.h"

namespace {

using chart::TLineSeries;
using testsupport::TPixelChart;

const gfx::TColorRef kBlue = gfx::ColorToRGB(gfx::clBlue);
const gfx::TColorRef kRed = gfx::ColorToRGB(gfx::clRed);
const gfx::TColorRef kBlack = gfx::ColorToRGB(gfx::clBlack);
const gfx::TColorRef kWhite = gfx::ColorToRGB(testsupport::kChartWhite);
// Blue and red with each channel lowered by 128 (side faces, undersides) and by 64 (top faces).
const gfx::TColorRef kDarkBlue = gfx::RGB(0, 0, 127);
const gfx::TColorRef kTopBlue = gfx::RGB(0, 0, 191);
const gfx::TColorRef kDarkRed = gfx::RGB(127, 0, 0);

// A 100 x 80 chart in the oblique view: a point (x, y) at depth z lands on (x + z, y - z). The
// one series stands from depth 0 to depth 10 (a tenth of the plot width).
class RibbonTest : public ::testing::Test {
  protected:
    RibbonTest() : m_chart(100, 80), m_series(new TLineSeries(&m_chart)) {
        m_chart.UseObliqueView();
        m_series->SetSeriesColor(gfx::clBlue);
        m_chart.AddSeries(m_series);
    }
    void Paint() {
        m_chart.PartChanged();
        m_chart.Paint();
        ASSERT_EQ(m_series->StartZ(), 0);
        ASSERT_EQ(m_series->EndZ(), 10);
    }
    TPixelChart m_chart;
    TLineSeries* m_series;
};

TEST_F(RibbonTest, ASegmentBecomesARibbonAcrossTheSeriesDepthOutlinedByTheLinePen) {
    // (20, 50) - (60, 50) and 10 deep: the parallelogram (20, 50), (60, 50), (70, 40), (30, 40).
    m_series->AppendXY(20, 50);
    m_series->AppendXY(60, 50);
    Paint();
    EXPECT_EQ(m_chart.Pixel(40, 45), kBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(26, 45), kBlue);   // first pixel inside the slanted left edge
    EXPECT_EQ(m_chart.Pixel(25, 45), kBlack);  // the edge itself, in the line pen
    EXPECT_EQ(m_chart.Pixel(24, 45), kWhite);
    EXPECT_EQ(m_chart.Pixel(64, 45), kBlue);  // last pixel inside the right edge
    EXPECT_EQ(m_chart.Pixel(65, 45), kBlack);
    EXPECT_EQ(m_chart.Pixel(66, 45), kWhite);
    EXPECT_EQ(m_chart.Pixel(50, 40), kBlack);  // back edge
    EXPECT_EQ(m_chart.Pixel(50, 39), kWhite);
    EXPECT_EQ(m_chart.Pixel(50, 50), kBlack);  // front edge
    EXPECT_EQ(m_chart.Pixel(50, 51), kWhite);

    // An invisible line pen leaves the fill alone; a clear line brush leaves nothing at all.
    m_series->LinePen().SetVisible(false);
    Paint();
    EXPECT_EQ(m_chart.Pixel(50, 45), kBlue) << m_chart.Picture();
    m_series->LinePen().SetVisible(true);
    m_series->SetLineBrush(gfx::TBrushStyle::bsClear);
    Paint();
    EXPECT_EQ(m_chart.CountColoured(), 0) << m_chart.Picture();
}

TEST_F(RibbonTest, SegmentsRisingSteeperThanTheDepthShowADarkerUnderside) {
    // Rising by 40 over 10 pixels (steeper than the depth's 1 in 1), then by 10 over 40.
    m_series->AppendXY(20, 70);
    m_series->AppendXY(30, 30);
    m_series->AppendXY(70, 20);
    Paint();
    EXPECT_DOUBLE_EQ(m_series->DepthSlopeLimit(), 1.0);
    // Steep: (20, 70), (30, 30), (40, 20), (30, 60); gentle: (30, 30), (70, 20), (80, 10), (40,
    // 20).
    EXPECT_EQ(m_chart.Pixel(30, 45), kDarkBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(55, 20), kBlue);
    m_series->SetDark3D(false);
    Paint();
    EXPECT_EQ(m_chart.Pixel(30, 45), kBlue);

    // Falling steeply shows the top side.
    m_series->SetDark3D(true);
    m_series->ClearPoints();
    m_series->AppendXY(20, 30);
    m_series->AppendXY(30, 70);
    Paint();
    EXPECT_EQ(m_chart.Pixel(30, 45), kBlue) << m_chart.Picture();
}

TEST_F(RibbonTest, LineHeightAddsAFrontFaceAndLowersASteepUnderside) {
    m_series->SetLineHeight(6);
    m_series->AppendXY(20, 50);
    m_series->AppendXY(60, 50);
    Paint();
    // The front face (20, 50) - (60, 56) below the ribbon.
    EXPECT_EQ(m_chart.Pixel(40, 53), kBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(40, 56), kBlack);
    EXPECT_EQ(m_chart.Pixel(40, 57), kWhite);
    EXPECT_EQ(m_chart.Pixel(40, 45), kBlue);

    // Steep: the dark underside hangs from the face's lower edge (20, 76) - (30, 36), so
    // (25, 68) lies on it; without a line height it lies outside everything.
    m_series->ClearPoints();
    m_series->AppendXY(20, 70);
    m_series->AppendXY(30, 30);
    Paint();
    EXPECT_EQ(m_chart.Pixel(25, 68), kDarkBlue) << m_chart.Picture();
    m_series->SetLineHeight(0);
    Paint();
    EXPECT_EQ(m_chart.Pixel(25, 68), kWhite) << m_chart.Picture();
}

TEST_F(RibbonTest, StairLegsAreTwoRibbonsTheVerticalOneDarker) {
    m_series->SetStairs(true);
    m_series->AppendXY(20, 60);
    m_series->AppendXY(60, 30);
    Paint();
    // Level leg (20, 60) - (60, 60) deep to (30, 50) - (70, 50); upright leg at x = 60 from y 60
    // to 30, deep to x = 70.
    EXPECT_EQ(m_chart.Pixel(40, 55), kBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(65, 40), kDarkBlue);
    m_series->SetDark3D(false);
    Paint();
    EXPECT_EQ(m_chart.Pixel(65, 40), kBlue);
}

TEST_F(RibbonTest, AnAreaHasATopRibbonAFrontFaceDownToTheOriginAndADarkerEnd) {
    m_series->SetDrawArea(true);
    m_series->SetAreaColor(gfx::clRed);
    m_series->AppendXY(20, 50);
    m_series->AppendXY(60, 30);
    Paint();
    // Front (20, 50), (60, 30), (60, 80), (20, 80); top (20, 50), (60, 30), (70, 20), (30, 40);
    // end (60, 30), (70, 20), (70, 70), (60, 80).
    EXPECT_EQ(m_chart.Pixel(40, 60), kRed) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(45, 35), kRed);
    EXPECT_EQ(m_chart.Pixel(65, 50), kDarkRed);
    EXPECT_EQ(m_chart.Pixel(15, 60), kWhite);
    EXPECT_EQ(m_chart.Pixel(75, 50), kWhite);
    EXPECT_EQ(m_chart.Pixel(35, 30), kWhite);  // above the top
    // The area colour left to the points: the point's colour.
    m_series->SetAreaColor(chart::clSeriesDefault);
    Paint();
    EXPECT_EQ(m_chart.Pixel(40, 60), kBlue);
    EXPECT_EQ(m_chart.Pixel(65, 50), kDarkBlue);
}

TEST_F(RibbonTest, PointersBecomeShadedCubesUnlessFlatOrUnshaded) {
    m_series->Pointer().SetVisible(true);
    m_series->AppendXY(50, 40);
    Paint();
    // Front (46, 36) - (54, 44); right side to x 64 a step higher; top (46, 36), (54, 36),
    // (64, 26), (56, 26).
    EXPECT_EQ(m_chart.Pixel(50, 40), kBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(59, 35), kDarkBlue);
    EXPECT_EQ(m_chart.Pixel(55, 31), kTopBlue);
    m_series->Pointer().SetDark3D(false);
    Paint();
    EXPECT_EQ(m_chart.Pixel(59, 35), kBlue) << m_chart.Picture();
    m_series->Pointer().SetDraw3D(false);
    Paint();
    EXPECT_EQ(m_chart.Pixel(50, 40), kBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(59, 35), kWhite);
    // A flat diamond stands at the series' depth like every other flat shape: a second series
    // in front moves this one 10 deep, to 10 pixels right and up.
    m_series->Pointer().SetStyle(chart::TSeriesPointerStyle::psDiamond);
    m_chart.AddSeries(new TLineSeries(&m_chart));
    m_chart.Paint();
    ASSERT_EQ(m_series->StartZ(), 10);
    EXPECT_EQ(m_chart.Pixel(60, 30), kBlue) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(50, 40), kWhite);
}

// The rotated view: faces are checked against the canvas' own projection of their corners.
TEST_F(RibbonTest, RibbonsAndAreasFollowTheRotatedProjection) {
    m_chart.View3DOptions().SetOrthogonal(false);
    m_chart.View3DOptions().SetPerspective(0);
    m_chart.View3DOptions().SetRotation(340);
    m_chart.View3DOptions().SetElevation(340);
    m_series->AppendXY(20, 50);
    m_series->AppendXY(60, 50);
    m_chart.Paint();
    const int32_t z0 = m_series->StartZ();
    const int32_t z1 = m_series->EndZ();
    ASSERT_EQ(z1 - z0, 20);  // twice as deep as oblique
    const chart::TChartCanvas3D& canvas = m_chart.Canvas();
    const auto centre = [](std::initializer_list<gfx::TPoint> corners) {
        int32_t x = 0;
        int32_t y = 0;
        for (const gfx::TPoint& p : corners) {
            x += p.X;
            y += p.Y;
        }
        const auto n = static_cast<int32_t>(corners.size());
        return gfx::TPoint{x / n, y / n};
    };
    const gfx::TPoint a0 = canvas.ProjectToPoint(20, 50, z0);
    const gfx::TPoint b0 = canvas.ProjectToPoint(60, 50, z0);
    const gfx::TPoint a1 = canvas.ProjectToPoint(20, 50, z1);
    const gfx::TPoint b1 = canvas.ProjectToPoint(60, 50, z1);
    ASSERT_GT(a0.Y - a1.Y, 4) << "the depth must rise on the screen";
    const gfx::TPoint ribbon = centre({a0, b0, b1, a1});
    EXPECT_EQ(m_chart.Pixel(ribbon.X, ribbon.Y), kBlue) << m_chart.Picture();
    // Beyond the back edge and below the front edge.
    EXPECT_EQ(m_chart.Pixel(ribbon.X, std::min(a1.Y, b1.Y) - 3), kWhite);
    EXPECT_EQ(m_chart.Pixel(ribbon.X, std::max(a0.Y, b0.Y) + 3), kWhite);

    m_series->SetDrawArea(true);
    m_series->SetAreaColor(gfx::clRed);
    m_chart.PartChanged();
    m_chart.Paint();
    const gfx::TPoint front =
        centre({a0, b0, canvas.ProjectToPoint(60, 80, z0), canvas.ProjectToPoint(20, 80, z0)});
    EXPECT_EQ(m_chart.Pixel(front.X, front.Y), kRed) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(ribbon.X, ribbon.Y), kRed);
}

// Flat areas on the 60 x 40 identity chart: the origin is the plot's bottom (y 40).
class FlatAreaTest : public ::testing::Test {
  protected:
    FlatAreaTest() : m_series(new TLineSeries(&m_chart)) {
        m_series->SetSeriesColor(gfx::clBlue);
        m_chart.AddSeries(m_series);
        m_series->SetDrawArea(true);
        m_series->SetAreaColor(gfx::clRed);
    }
    TPixelChart m_chart;
    TLineSeries* m_series;
};

TEST_F(FlatAreaTest, TheAreaFillsDownToTheOriginUnderTheLine) {
    m_series->AppendXY(10, 20);
    m_series->AppendXY(50, 10);
    m_chart.Paint();
    EXPECT_EQ(m_series->OriginPixel(0), 40);
    EXPECT_EQ(m_chart.Pixel(30, 30), kRed) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(30, 15), kBlue);   // the line on top
    EXPECT_EQ(m_chart.Pixel(30, 13), kWhite);  // above it
    EXPECT_EQ(m_chart.Pixel(10, 30), kBlack);  // the area lines pen
    EXPECT_EQ(m_chart.Pixel(9, 30), kWhite);
    // A clear area brush keeps only the outline and the line.
    m_series->SetAreaBrush(gfx::TBrushStyle::bsClear);
    m_chart.Paint();
    EXPECT_EQ(m_chart.Pixel(30, 30), kWhite) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(10, 30), kBlack);
    // A hatch: rows 3 of every 8 in the area colour, the gaps in the chart's colour.
    m_series->SetAreaBrush(gfx::TBrushStyle::bsHorizontal);
    m_series->AreaLinesPen().SetVisible(false);
    m_chart.Paint();
    EXPECT_EQ(m_chart.Pixel(30, 27), kRed) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(30, 28), kWhite);
}

TEST_F(FlatAreaTest, AStairStepAreaIsLevelUnderEachStep) {
    m_series->SetStairs(true);
    m_series->AreaLinesPen().SetVisible(false);
    m_series->AppendXY(10, 20);
    m_series->AppendXY(50, 10);
    m_chart.Paint();
    // Level at the first point's height up to the second point's x.
    EXPECT_EQ(m_chart.Pixel(45, 21), kRed) << m_chart.Picture();
    EXPECT_EQ(m_chart.Pixel(45, 18), kWhite);
    m_series->SetInvertedStairs(true);
    m_chart.Paint();
    EXPECT_EQ(m_chart.Pixel(15, 12), kRed) << m_chart.Picture();
}

// PointAtScreen on the 60 x 40 identity chart, one-pixel line.
class PointAtScreenTest : public ::testing::Test {
  protected:
    PointAtScreenTest() : m_series(new TLineSeries(&m_chart)) {
        m_series->SetSeriesColor(gfx::clBlue);
        m_chart.AddSeries(m_series);
    }
    TPixelChart m_chart;
    TLineSeries* m_series;
};

TEST_F(PointAtScreenTest, PointsAndSegmentsAreHitWithinOnePixelOfTheLine) {
    EXPECT_EQ(m_series->PointAtScreen(10, 20), -1);  // nothing painted yet
    m_series->AppendXY(10, 20);
    m_series->AppendXY(30, 20);
    m_series->AppendXY(30, 30);
    m_chart.Paint();
    EXPECT_EQ(m_series->PointAtScreen(10, 20), 0);
    EXPECT_EQ(m_series->PointAtScreen(30, 30), 2);
    EXPECT_EQ(m_series->PointAtScreen(20, 21), 0);  // one pixel off the level segment
    EXPECT_EQ(m_series->PointAtScreen(20, 22), -1);
    EXPECT_EQ(m_series->PointAtScreen(9, 20), 0);  // one pixel beyond its end
    EXPECT_EQ(m_series->PointAtScreen(8, 20), -1);
    EXPECT_EQ(m_series->PointAtScreen(31, 25), 1);  // beside the upright segment
    EXPECT_EQ(m_series->PointAtScreen(32, 25), -1);
    // A wider pen reaches further: 3 pixels wide, two pixels off counts.
    m_series->LinePen().SetWidth(3);
    EXPECT_EQ(m_series->PointAtScreen(20, 22), 0);
    EXPECT_EQ(m_series->PointAtScreen(20, 23), -1);
    m_series->SetSegmentsClickable(false);
    EXPECT_EQ(m_series->PointAtScreen(20, 20), -1);
    EXPECT_EQ(m_series->PointAtScreen(30, 20), 1);
}

TEST_F(PointAtScreenTest, StairLegsAreasAndNullPointsDecideAsDrawn) {
    m_series->SetStairs(true);
    m_series->AppendXY(10, 10);
    m_series->AppendXY(30, 30);
    m_chart.Paint();
    EXPECT_EQ(m_series->PointAtScreen(20, 10), 0);
    EXPECT_EQ(m_series->PointAtScreen(30, 20), 0);
    EXPECT_EQ(m_series->PointAtScreen(20, 20), -1);  // the diagonal is not drawn
    m_series->SetInvertedStairs(true);
    EXPECT_EQ(m_series->PointAtScreen(10, 20), 0);
    EXPECT_EQ(m_series->PointAtScreen(20, 30), 0);
    EXPECT_EQ(m_series->PointAtScreen(20, 10), -1);
    // The area under the segment, down to the origin.
    m_series->SetDrawArea(true);
    EXPECT_EQ(m_series->PointAtScreen(20, 35), 0);
    // A null point is hit neither itself nor through its segments.
    m_series->SetStairs(false);
    m_series->SetDrawArea(false);
    m_series->SetPointColor(1, gfx::clNone);
    EXPECT_EQ(m_series->PointAtScreen(30, 30), -1);
    EXPECT_EQ(m_series->PointAtScreen(20, 20), -1);
}

TEST_F(PointAtScreenTest, APointerHitFiresThePointerClickStrictlyInsideItsHalfSizes) {
    std::vector<std::array<int32_t, 3>> clicks;
    m_series->SetOnClickPointer([&](chart::TChartSeries&, int32_t index, int32_t x, int32_t y) {
        clicks.push_back({index, x, y});
    });
    m_series->Pointer().SetVisible(true);
    m_series->AppendXY(10, 20);
    m_series->AppendXY(30, 20);
    m_series->AppendXY(30, 30);
    m_chart.Paint();
    EXPECT_EQ(m_series->PointAtScreen(10, 23), 0);
    EXPECT_EQ(m_series->PointAtScreen(10, 24), -1);  // |dy| = VertSize: outside
    EXPECT_EQ(m_series->PointAtScreen(27, 30), 2);
    EXPECT_EQ(m_series->PointAtScreen(26, 30), -1);  // |dx| = HorizSize: outside
    ASSERT_EQ(clicks.size(), 2U);
    EXPECT_EQ(clicks[0], (std::array<int32_t, 3>{0, 10, 23}));
    EXPECT_EQ(clicks[1], (std::array<int32_t, 3>{2, 27, 30}));
    // A hidden pointer is not hit and fires nothing.
    m_series->Pointer().SetVisible(false);
    EXPECT_EQ(m_series->PointAtScreen(27, 30), -1);
    EXPECT_EQ(clicks.size(), 2U);
}

TEST_F(RibbonTest, PointAtScreenFindsRibbonsAndPointsOnTheSeriesDepthPlane) {
    // The first series stands at the back, the second one in front of it.
    auto* front = new TLineSeries(&m_chart);
    m_chart.AddSeries(front);
    m_series->AppendXY(20, 50);
    m_series->AppendXY(60, 50);
    front->AppendXY(20, 50);
    front->AppendXY(60, 50);
    m_chart.Paint();
    ASSERT_EQ(front->StartZ(), 0);
    const int32_t z = m_series->StartZ();
    ASSERT_GT(z, 0);
    EXPECT_EQ(front->PointAtScreen(40, 45), 0);  // inside the front series' ribbon
    EXPECT_EQ(front->PointAtScreen(40, 50 - front->EndZ() - 2), -1);
    // The back series' second point is seen z pixels right of and above its values.
    EXPECT_EQ(m_series->PointAtScreen(60 + z, 50 - z), 1);
    EXPECT_EQ(m_series->PointAtScreen(60, 50), -1);
    front->SetLineBrush(gfx::TBrushStyle::bsClear);  // no ribbon, nothing to hit
    EXPECT_EQ(front->PointAtScreen(40, 45), -1);
}

}  // namespace
