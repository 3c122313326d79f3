// The chart canvas on small bitmaps: projections, buffered drawing, gradient bands, bevels,
// boxes, clipping, text and the solids.
#include "chart/canvas/ChartCanvas3D.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/View3DOptions.h"
#include "gfx/Bitmap.h"

namespace {

using chart::TChartCanvas3D;
using chart::TGradientDirection;
using gfx::TBitmap;
using gfx::TRect;

constexpr gfx::TColorRef kWhite = 0xFFFFFF;

// Pixels that differ between two bitmaps of one size.
int CountDifferences(const TBitmap& a, const TBitmap& b) {
    int differences = 0;
    for (size_t i = 0; i < a.Pixels().size(); ++i) {
        differences += a.Pixels()[i] != b.Pixels()[i] ? 1 : 0;
    }
    return differences;
}

int CountNot(const TBitmap& bitmap, gfx::TColorRef color) {
    int count = 0;
    for (uint32_t pixel : bitmap.Pixels()) {
        count += pixel != color ? 1 : 0;
    }
    return count;
}

// A canvas drawing directly (unbuffered) on a white bitmap.
class ChartCanvasTest : public ::testing::Test {
  protected:
    ChartCanvasTest() : m_bitmap(40, 30), m_canvas(m_bitmap.Canvas()) {
        m_canvas.WriteBuffered(false);
        m_canvas.PrepareDrawing(&m_bitmap.Canvas(), nullptr, gfx::clWhite, false,
                                TRect(0, 0, 40, 30));
    }
    // Starts a 3D paint with the options.
    void Begin3D(chart::TView3DOptions& options, int32_t depth = 20) {
        m_canvas.PrepareDrawing(&m_bitmap.Canvas(), &options, gfx::clWhite, true,
                                TRect(0, 0, 40, 30));
        m_canvas.SetupProjection(depth, TRect(0, 0, 40, 30), TRect(5, 5, 35, 25));
    }
    gfx::TColorRef Pixel(int32_t x, int32_t y) const { return m_bitmap.Canvas().Pixel(x, y); }

    TBitmap m_bitmap;
    TChartCanvas3D m_canvas;
};

TEST_F(ChartCanvasTest, FlatSegmentAtDepthDrawsThePlainSegment) {
    m_canvas.SegmentAtDepth(10, 20, 30, 40, 500);
    TBitmap reference(40, 30);
    reference.Canvas().MoveTo(10, 20);
    reference.Canvas().LineTo(30, 40);
    EXPECT_EQ(CountDifferences(m_bitmap, reference), 0);
    EXPECT_GT(CountNot(m_bitmap, kWhite), 0);
    int32_t x = 17;
    int32_t y = 4;
    m_canvas.ScreenToWorld(x, y, 300);
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, 4);
}

TEST_F(ChartCanvasTest, ObliqueDepthMovesRightAndUpScaledByZoom) {
    chart::TView3DOptions options(nullptr);
    Begin3D(options);
    const gfx::TPoint front = m_canvas.ProjectToPoint(12, 18, 0);
    const gfx::TPoint deep = m_canvas.ProjectToPoint(12, 18, 10);
    EXPECT_EQ(deep.X, front.X + 10);
    EXPECT_EQ(deep.Y, front.Y - 10);
    // The plot centre (20, 15) stays put at any zoom; offsets move it.
    options.SetZoom(200);
    options.SetHorizOffset(3);
    Begin3D(options);
    EXPECT_EQ(m_canvas.ProjectToPoint(20, 15, 0), (gfx::TPoint{23, 15}));
    EXPECT_EQ(m_canvas.ProjectToPoint(22, 15, 1), (gfx::TPoint{29, 13}));
    int32_t x = 29;
    int32_t y = 13;
    m_canvas.ScreenToWorld(x, y, 1);
    EXPECT_EQ(x, 22);
    EXPECT_EQ(y, 15);
}

// ScreenToWorld solves each screen axis on its own, which is exact while the view is only
// elevated (no rotation or tilt mixes x into y) and perspective is off.
TEST_F(ChartCanvasTest, RotatedScreenToWorldUndoesAnElevatedProjection) {
    chart::TView3DOptions options(nullptr);
    options.SetOrthogonal(false);
    options.SetPerspective(0);
    options.SetRotation(0);
    options.SetElevation(340);
    options.SetTilt(0);
    Begin3D(options, 40);
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> coordinate(-200, 200);
    for (int i = 0; i < 200; ++i) {
        const int32_t wx = coordinate(random);
        const int32_t wy = coordinate(random);
        const int32_t wz = coordinate(random) / 4;
        gfx::TPoint screen = m_canvas.ProjectToPoint(wx, wy, wz);
        m_canvas.ScreenToWorld(screen.X, screen.Y, wz);
        EXPECT_NEAR(screen.X, wx, 1) << "world " << wx << "," << wy << "," << wz;
        EXPECT_NEAR(screen.Y, wy, 1) << "world " << wx << "," << wy << "," << wz;
    }
    // Rotation about the vertical axis moves a deeper point sideways.
    options.SetRotation(20);
    Begin3D(options, 40);
    EXPECT_NE(m_canvas.ProjectToPoint(20, 15, 40).X, m_canvas.ProjectToPoint(20, 15, 0).X);
}

TEST_F(ChartCanvasTest, PerspectiveShrinksDistantPointsTowardsTheCentre) {
    chart::TView3DOptions options(nullptr);
    options.SetOrthogonal(false);
    options.SetRotation(0);
    options.SetElevation(0);
    options.SetPerspective(350);  // factor 0.01
    Begin3D(options, 0);
    EXPECT_DOUBLE_EQ(m_canvas.PerspectiveFactor(), 0.01);
    // With no rotation the perspective term is dz * cos(0) * cos(0): farther is smaller.
    const gfx::TPoint nearPoint = m_canvas.ProjectToPoint(30, 15, 0);
    const gfx::TPoint farPoint = m_canvas.ProjectToPoint(30, 15, 20);
    EXPECT_EQ(nearPoint.X, 30);
    EXPECT_LT(farPoint.X, nearPoint.X);
}

TEST_F(ChartCanvasTest, VerticalGradientUsesAtMost256BandsFirstColourAtTheBottom) {
    TBitmap tall(4, 300);
    TChartCanvas3D canvas(tall.Canvas());
    canvas.PaintGradient(TRect(0, 0, 4, 300), gfx::clBlack, gfx::clWhite,
                         TGradientDirection::gdTopBottom);
    std::set<uint32_t> colours;
    for (int32_t y = 0; y < 300; ++y) {
        colours.insert(tall.Canvas().Pixel(2, y));
        EXPECT_EQ(tall.Canvas().Pixel(0, y), tall.Canvas().Pixel(3, y)) << "row " << y;
    }
    EXPECT_EQ(colours.size(), 256u);
    EXPECT_EQ(tall.Canvas().Pixel(0, 299), 0u);
    EXPECT_EQ(tall.Canvas().Pixel(0, 0), kWhite);

    TBitmap shallow(2, 3);
    TChartCanvas3D small(shallow.Canvas());
    small.PaintGradient(TRect(0, 3, 2, 0), gfx::RGB(0, 0, 0), gfx::RGB(200, 100, 50),
                        TGradientDirection::gdBottomTop);
    EXPECT_EQ(shallow.Canvas().Pixel(1, 2), gfx::RGB(0, 0, 0));
    EXPECT_EQ(shallow.Canvas().Pixel(1, 1), gfx::RGB(100, 50, 25));
    EXPECT_EQ(shallow.Canvas().Pixel(1, 0), gfx::RGB(200, 100, 50));
}

TEST_F(ChartCanvasTest, OtherGradientsPutTheFirstColourAtTheRightEdgeOrCorner) {
    m_canvas.PaintGradient(TRect(0, 0, 40, 30), gfx::clRed, gfx::clBlue,
                           TGradientDirection::gdLeftRight);
    EXPECT_EQ(Pixel(39, 10), gfx::clRed);
    EXPECT_EQ(Pixel(0, 10), gfx::clBlue);
    EXPECT_EQ(Pixel(20, 0), Pixel(20, 29));

    m_canvas.PaintGradient(TRect(0, 0, 40, 30), gfx::clRed, gfx::clBlue,
                           TGradientDirection::gdFromCenter);
    for (auto [x, y] : {std::pair{0, 0}, {39, 29}, {39, 0}, {0, 29}, {20, 0}, {0, 15}}) {
        EXPECT_EQ(Pixel(x, y), gfx::clRed) << x << "," << y;
    }
    EXPECT_GT(gfx::GetBValue(Pixel(20, 15)), 200);

    m_canvas.PaintGradient(TRect(0, 0, 40, 30), gfx::clRed, gfx::clBlue,
                           TGradientDirection::gdFromTopLeft);
    EXPECT_EQ(Pixel(0, 0), gfx::clRed);
    EXPECT_GT(gfx::GetBValue(Pixel(39, 29)), gfx::GetBValue(Pixel(10, 10)));
    m_canvas.PaintGradient(TRect(0, 0, 40, 30), gfx::clRed, gfx::clBlue,
                           TGradientDirection::gdFromBottomLeft);
    EXPECT_EQ(Pixel(0, 29), gfx::clRed);
    EXPECT_EQ(Pixel(5, 29), Pixel(0, 24));  // quarter rings round the corner
    // The brush the caller had is back.
    EXPECT_EQ(m_canvas.Brush().Color(), gfx::clWhite);
}

TEST_F(ChartCanvasTest, BevelFrameDrawsTopLeftAndBottomRightInsideTheRectangle) {
    m_canvas.BevelFrame(TRect(2, 2, 12, 10), gfx::clRed, 2, gfx::clBlue);
    EXPECT_EQ(Pixel(2, 2), gfx::clRed);
    EXPECT_EQ(Pixel(10, 2), gfx::clRed);   // top row up to right - 2
    EXPECT_EQ(Pixel(11, 2), gfx::clBlue);  // the last column is bottom colour
    EXPECT_EQ(Pixel(2, 9), gfx::clBlue);   // the last row too, from its first pixel
    EXPECT_EQ(Pixel(3, 3), gfx::clRed);    // second ring
    EXPECT_EQ(Pixel(10, 8), gfx::clBlue);
    EXPECT_EQ(Pixel(4, 4), kWhite);   // inside untouched
    EXPECT_EQ(Pixel(12, 5), kWhite);  // right edge excluded
    EXPECT_EQ(Pixel(5, 10), kWhite);
}

TEST_F(ChartCanvasTest, ObliqueBoxShowsDarkenedSideAndTopFaces) {
    chart::TView3DOptions options(nullptr);
    Begin3D(options);
    m_canvas.Pen().SetStyle(gfx::TPenStyle::psClear);
    m_canvas.Brush().SetColor(gfx::RGB(200, 100, 40));
    m_canvas.BoxShape(10, 20, 12, 22, 0, 5, true);
    EXPECT_EQ(Pixel(14, 18), gfx::RGB(200, 100, 40));  // front
    EXPECT_EQ(Pixel(21, 16), gfx::RGB(72, 0, 0));      // right side, less 128
    EXPECT_EQ(Pixel(16, 10), gfx::RGB(136, 36, 0));    // top, less 64
    EXPECT_EQ(Pixel(8, 16), kWhite);
    EXPECT_EQ(m_canvas.Brush().Color(), gfx::RGB(200, 100, 40));
}

TEST_F(ChartCanvasTest, ClipToBoxInFlatModeKeepsTheInnerRectangle) {
    m_canvas.ClipToBox(TRect(5, 5, 15, 15), 0, 10);
    m_canvas.Brush().SetColor(gfx::clBlack);
    m_canvas.FillArea(TRect(0, 0, 40, 30));
    m_canvas.ClearClip();
    EXPECT_EQ(Pixel(6, 6), 0u);
    EXPECT_EQ(Pixel(14, 13), 0u);
    EXPECT_EQ(Pixel(5, 6), kWhite);
    EXPECT_EQ(Pixel(6, 5), kWhite);
    EXPECT_EQ(Pixel(14, 14), kWhite);
    EXPECT_EQ(Pixel(15, 10), kWhite);
}

TEST_F(ChartCanvasTest, ClipToBoxInObliqueModeCoversTheProjectedBoxOnly) {
    chart::TView3DOptions options(nullptr);
    Begin3D(options);
    m_canvas.ClipToBox(TRect(10, 12, 20, 22), 0, 5);
    m_canvas.Brush().SetColor(gfx::clBlack);
    m_canvas.FillArea(TRect(0, 0, 40, 30));
    m_canvas.ClearClip();
    EXPECT_EQ(Pixel(12, 20), 0u);  // front face
    EXPECT_EQ(Pixel(22, 10), 0u);  // towards the back corner
    EXPECT_EQ(Pixel(11, 8), kWhite);
    EXPECT_EQ(Pixel(24, 21), kWhite);
}

TEST_F(ChartCanvasTest, PolygonShapeUsesPointsUpToTheHighestIndex) {
    const gfx::TPoint points[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}, {30, 25}};
    m_canvas.Brush().SetColor(gfx::clBlack);
    m_canvas.PolygonShape(points, 3);
    EXPECT_EQ(Pixel(7, 7), 0u);
    EXPECT_EQ(Pixel(20, 20), kWhite);
    m_canvas.PolygonShape(points, 99);  // never past the end
    m_canvas.PolygonShape(points, -1);
    EXPECT_EQ(Pixel(25, 22), 0u);
}

TEST_F(ChartCanvasTest, EllipseAtDepthInFlatModeIncludesRightAndBottom) {
    m_canvas.Brush().SetColor(gfx::clBlack);
    m_canvas.EllipseAtDepth(5, 5, 15, 15, 9);
    TBitmap reference(40, 30);
    reference.Canvas().Brush().SetColor(gfx::clBlack);
    reference.Canvas().Ellipse(5, 5, 16, 16);
    EXPECT_EQ(CountDifferences(m_bitmap, reference), 0);
}

TEST_F(ChartCanvasTest, RotatedEllipseIsClosedAndFilled) {
    chart::TView3DOptions options(nullptr);
    options.SetOrthogonal(false);
    options.SetRotation(0);
    options.SetElevation(0);
    options.SetPerspective(0);
    Begin3D(options, 0);
    m_canvas.Brush().SetColor(gfx::clBlack);
    m_canvas.EllipseAtDepth(10, 5, 30, 25, 0);
    EXPECT_EQ(Pixel(20, 15), 0u);
    EXPECT_EQ(Pixel(12, 15), 0u);  // left and right halves both covered
    EXPECT_EQ(Pixel(28, 15), 0u);
    EXPECT_EQ(Pixel(20, 7), 0u);
    EXPECT_EQ(Pixel(11, 6), kWhite);
}

TEST_F(ChartCanvasTest, ArrowShapeDrawsHeadAndShaftAndNothingWhenEmpty) {
    m_canvas.Brush().SetColor(gfx::clBlack);
    m_canvas.ArrowShape(true, {5, 15}, {5, 15}, 8, 6, 0);
    EXPECT_EQ(CountNot(m_bitmap, kWhite), 0);
    m_canvas.ArrowShape(true, {5, 15}, {35, 15}, 8, 6, 0);
    EXPECT_EQ(Pixel(15, 15), 0u);  // shaft
    EXPECT_EQ(Pixel(15, 18), kWhite);
    EXPECT_EQ(Pixel(31, 17), 0u);  // head wider than the shaft
    EXPECT_EQ(Pixel(35, 15), 0u);  // tip
    TBitmap lines(40, 30);
    TChartCanvas3D open(lines.Canvas());
    open.ArrowShape(false, {5, 15}, {35, 15}, 8, 6, 0);
    EXPECT_EQ(lines.Canvas().Pixel(15, 15), 0u);
    EXPECT_EQ(lines.Canvas().Pixel(31, 17), kWhite);
}

TEST_F(ChartCanvasTest, ApplyChartPenHidesSmallDotsOrCopiesThePen) {
    chart::TChartPen pen(nullptr);
    pen.SetColor(gfx::clRed);
    pen.SetWidth(3);
    pen.SetStyle(gfx::TPenStyle::psDash);
    m_canvas.ApplyChartPen(pen);
    EXPECT_EQ(m_canvas.Pen().Color(), gfx::clRed);
    EXPECT_EQ(m_canvas.Pen().Width(), 3);
    EXPECT_EQ(m_canvas.Pen().Style(), gfx::TPenStyle::psDash);
    pen.SetWidth(1);
    pen.SetSmallDots(true);
    m_canvas.ApplyChartPen(pen);
    EXPECT_EQ(m_canvas.Pen().Style(), gfx::TPenStyle::psAlternate);
    m_canvas.HorzSegment(0, 10, 3);
    EXPECT_EQ(Pixel(0, 3), gfx::clRed);
    EXPECT_EQ(Pixel(1, 3), kWhite);
    EXPECT_EQ(Pixel(2, 3), gfx::clRed);
    pen.SetVisible(false);
    m_canvas.ApplyChartPen(pen);
    EXPECT_EQ(m_canvas.Pen().Style(), gfx::TPenStyle::psClear);
    EXPECT_EQ(m_canvas.Pen().Color(), gfx::clRed);
}

TEST_F(ChartCanvasTest, RotatedTextBeyond360TurnsOnceLess) {
    auto draw = [](int32_t angle) {
        auto bitmap = std::make_unique<TBitmap>(60, 60);
        TChartCanvas3D canvas(bitmap->Canvas());
        canvas.Font().SetName("Liberation Sans");
        canvas.Font().SetHeight(-14);
        canvas.PutRotatedText(30, 50, angle, "Keyvet");
        EXPECT_EQ(canvas.Font().Orientation(), 0);
        return bitmap;
    };
    const auto upright = draw(90);
    EXPECT_EQ(CountDifferences(*draw(450), *upright), 0);
    EXPECT_GT(CountNot(*upright, kWhite), 20);
    EXPECT_GT(CountDifferences(*draw(0), *upright), 20);
}

TEST_F(ChartCanvasTest, ZoomedTextAtDepthUsesAScaledFontAndRestoresIt) {
    chart::TView3DOptions options(nullptr);
    options.SetZoom(200);
    Begin3D(options);
    m_canvas.Font().SetName("Liberation Sans");
    m_canvas.Font().SetSize(8);
    const int32_t height = m_canvas.Font().Height();
    m_canvas.PutTextAtDepth(20, 15, 0, "W");
    EXPECT_EQ(m_canvas.Font().Height(), height);
    TBitmap plain(40, 30);
    plain.Canvas().Font().SetName("Liberation Sans");
    plain.Canvas().Font().SetSize(16);
    plain.Canvas().TextOut(20, 15, "W");
    EXPECT_EQ(CountDifferences(m_bitmap, plain), 0);
}

TEST_F(ChartCanvasTest, TextWithAClearBrushHasNoBoxEvenWhenTheDeviceIsOpaque) {
    // A hatched wall leaves the device opaque with a white background colour; the labels
    // drawn after it with a clear brush must not get white boxes.
    const gfx::TColorRef yellow = gfx::ColorToRGB(gfx::clYellow);
    const auto draw = [&](gfx::TBrushStyle style, bool rotated) {
        m_canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        m_canvas.Brush().SetColor(gfx::clYellow);
        m_canvas.EraseArea(TRect(0, 0, 40, 30));
        m_canvas.Font().SetName("Liberation Sans");
        m_canvas.Font().SetHeight(-12);
        m_canvas.WriteBackMode(gfx::TBackMode::bmOpaque);
        m_canvas.WriteBackColor(gfx::clWhite);
        m_canvas.Brush().SetStyle(style);
        if (rotated) {
            m_canvas.PutRotatedText(30, 28, 90, "10");  // rotated text always clears the brush
        } else {
            m_canvas.PutText(5, 5, "10");
        }
        // The device keeps the mode it had.
        EXPECT_EQ(m_canvas.ReadBackMode(), gfx::TBackMode::bmOpaque);
        int32_t white = 0;
        int32_t ink = 0;
        for (uint32_t pixel : m_bitmap.Pixels()) {
            white += (pixel & 0xFFFFFF) == kWhite ? 1 : 0;
            ink += (pixel & 0xFFFFFF) != kWhite && (pixel & 0xFFFFFF) != yellow ? 1 : 0;
        }
        return std::pair{white, ink};
    };
    const auto [clearWhite, clearInk] = draw(gfx::TBrushStyle::bsClear, false);
    EXPECT_EQ(clearWhite, 0);
    EXPECT_GT(clearInk, 10);
    const auto [rotatedWhite, rotatedInk] = draw(gfx::TBrushStyle::bsSolid, true);
    EXPECT_EQ(rotatedWhite, 0);
    EXPECT_GT(rotatedInk, 10);
    // Any other brush leaves it to the device: an opaque box behind the text.
    const auto [solidWhite, solidInk] = draw(gfx::TBrushStyle::bsSolid, false);
    EXPECT_GT(solidWhite, 20);
    EXPECT_EQ(solidInk, clearInk);
}

// Draws a little scene through the canvas.
void DrawScene(TChartCanvas3D& canvas, const TRect& bounds) {
    canvas.Brush().SetColor(gfx::clYellow);
    canvas.EraseArea(bounds);
    canvas.Pen().SetColor(gfx::clNavy);
    canvas.RectShape(bounds.Left + 2, bounds.Top + 2, bounds.Right - 2, bounds.Bottom - 2);
    canvas.Segment(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsDiagCross);
    canvas.EllipseShape(bounds.Left + 5, bounds.Top + 5, bounds.Left + 25, bounds.Top + 20);
}

TEST(ChartCanvasBufferTest, BufferedAndDirectDrawingAreIdentical) {
    TBitmap direct(56, 48);
    TBitmap buffered(56, 48);
    // Hatches align to the device origin; a target offset by whole tiles keeps them aligned.
    const TRect area(8, 16, 48, 48);
    TChartCanvas3D directCanvas(direct.Canvas());
    directCanvas.WriteBuffered(false);
    const TRect directBounds =
        directCanvas.PrepareDrawing(&direct.Canvas(), nullptr, gfx::clWhite, false, area);
    EXPECT_EQ(directBounds, area);
    DrawScene(directCanvas, directBounds);
    directCanvas.PresentBuffer(&direct.Canvas(), direct.Canvas(), area);

    TChartCanvas3D bufferedCanvas(buffered.Canvas());
    const TRect bufferBounds =
        bufferedCanvas.PrepareDrawing(&buffered.Canvas(), nullptr, gfx::clWhite, false, area);
    EXPECT_EQ(bufferBounds, TRect(0, 0, 40, 32));
    bufferedCanvas.ReferenceCanvas().SetWindowOrg({area.Left, area.Top});
    DrawScene(bufferedCanvas, area);
    bufferedCanvas.ReferenceCanvas().SetWindowOrg({0, 0});
    EXPECT_EQ(CountNot(buffered, kWhite), 0);  // nothing reaches the window before presenting
    bufferedCanvas.PresentBuffer(&buffered.Canvas(), buffered.Canvas(), area);
    EXPECT_EQ(CountDifferences(direct, buffered), 0);
    EXPECT_FALSE(bufferedCanvas.BufferStale());
    EXPECT_EQ(&bufferedCanvas.ReferenceCanvas(), &buffered.Canvas());
}

TEST(ChartCanvasBufferTest, RepaintFromBufferOnlyWhileTheBufferIsCurrent) {
    TBitmap window(20, 10);
    TChartCanvas3D canvas(window.Canvas());
    EXPECT_FALSE(canvas.RepaintFromBuffer());
    const TRect r = canvas.PrepareDrawing(&window.Canvas(), nullptr, 0, false, TRect(0, 0, 20, 10));
    canvas.Brush().SetColor(gfx::clRed);
    canvas.FillArea(r);
    canvas.PresentBuffer(&window.Canvas(), window.Canvas(), TRect(0, 0, 20, 10));
    window.Canvas().Brush().SetColor(gfx::clWhite);
    window.Canvas().FillRect(TRect(0, 0, 20, 10));
    EXPECT_TRUE(canvas.RepaintFromBuffer());
    EXPECT_EQ(window.Canvas().Pixel(19, 9), gfx::clRed);
    canvas.MarkBufferStale();
    EXPECT_FALSE(canvas.RepaintFromBuffer());

    canvas.PrepareDrawing(&window.Canvas(), nullptr, 0, false, TRect(0, 0, 20, 10));
    canvas.PresentBuffer(&window.Canvas(), window.Canvas(), TRect(0, 0, 20, 10));
    ASSERT_NE(canvas.Buffer(), nullptr);
    canvas.WriteBuffered(false);
    EXPECT_EQ(canvas.Buffer(), nullptr);
    EXPECT_FALSE(canvas.RepaintFromBuffer());
}

TEST(ChartCanvasBufferTest, BufferIsKeptAcrossPaintsAndRemadeOnResizeOrMonochrome) {
    TBitmap window(30, 30);
    TChartCanvas3D canvas(window.Canvas());
    canvas.PrepareDrawing(&window.Canvas(), nullptr, 0, false, TRect(0, 0, 20, 10));
    const TBitmap* first = canvas.Buffer();
    canvas.PresentBuffer(&window.Canvas(), window.Canvas(), TRect(0, 0, 20, 10));
    canvas.PrepareDrawing(&window.Canvas(), nullptr, 0, false, TRect(0, 0, 20, 10));
    EXPECT_EQ(canvas.Buffer(), first);
    canvas.PrepareDrawing(&window.Canvas(), nullptr, 0, false, TRect(0, 0, 25, 10));
    ASSERT_NE(canvas.Buffer(), nullptr);
    EXPECT_EQ(canvas.Buffer()->Width(), 25);
    // Discarding the buffer mid-paint puts the canvas back on the window.
    canvas.WriteMonochrome(true);
    EXPECT_EQ(canvas.Buffer(), nullptr);
    EXPECT_TRUE(canvas.BufferStale());
    EXPECT_EQ(&canvas.ReferenceCanvas(), &window.Canvas());
    canvas.PrepareDrawing(&window.Canvas(), nullptr, 0, false, TRect(0, 0, 25, 10));
    EXPECT_TRUE(canvas.Buffer()->Monochrome());
}

// The solids in an oblique view stay inside their projected box and cover its middle; in
// flat mode they fall back to their outline shapes.
TEST_F(ChartCanvasTest, SolidsDrawInsideTheirProjectedBox) {
    chart::TView3DOptions options(nullptr);
    using TSolid = std::function<void(TChartCanvas3D&)>;
    const std::vector<std::pair<const char*, TSolid>> solids = {
        {"cylinder", [](TChartCanvas3D& c) { c.CylinderShape(true, 12, 10, 24, 24, 0, 6, true); }},
        {"pyramid", [](TChartCanvas3D& c) { c.PyramidShape(true, 12, 10, 24, 24, 0, 6, true); }},
        {"cone", [](TChartCanvas3D& c) { c.ConeShape(false, 12, 10, 24, 24, 0, 6, false); }},
        {"pie",
         [](TChartCanvas3D& c) {
             c.DepthPieShape({18, 17}, 6, 7, 0.0, 2.0, 0, 6, true);
         }},
    };
    for (const auto& [name, draw] : solids) {
        SCOPED_TRACE(name);
        m_canvas.Brush().SetColor(gfx::clWhite);
        m_canvas.FillArea(TRect(0, 0, 40, 30));
        Begin3D(options);
        m_canvas.Brush().SetColor(gfx::clRed);
        m_canvas.Pen().SetColor(gfx::clBlack);
        draw(m_canvas);
        EXPECT_GT(CountNot(m_bitmap, kWhite), 30);
        for (int32_t y = 0; y < 30; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                const bool inBox = x >= 11 && x <= 31 && y >= 3 && y <= 25;
                if (!inBox) {
                    ASSERT_EQ(Pixel(x, y), kWhite) << x << "," << y;
                }
            }
        }
        EXPECT_EQ(m_canvas.Brush().Color(), gfx::clRed);
    }
    m_canvas.PrepareDrawing(&m_bitmap.Canvas(), nullptr, gfx::clWhite, false, TRect(0, 0, 40, 30));
    m_canvas.Brush().SetColor(gfx::clWhite);
    m_canvas.FillArea(TRect(0, 0, 40, 30));
    m_canvas.Brush().SetColor(gfx::clRed);
    m_canvas.CylinderShape(true, 12, 10, 24, 24, 0, 6, true);
    TBitmap reference(40, 30);
    reference.Canvas().Brush().SetColor(gfx::clRed);
    reference.Canvas().Rectangle(12, 10, 24, 24);
    EXPECT_EQ(CountDifferences(m_bitmap, reference), 0);
}

TEST_F(ChartCanvasTest, FlatModeSuspendsAndRestoresTheProjection) {
    chart::TView3DOptions options(nullptr);
    options.SetOrthogonal(false);
    Begin3D(options);
    const gfx::TPoint rotated = m_canvas.ProjectToPoint(30, 10, 5);
    m_canvas.EnterFlatMode();
    EXPECT_EQ(m_canvas.ProjectToPoint(30, 10, 5), (gfx::TPoint{30, 10}));
    m_canvas.LeaveFlatMode();
    EXPECT_EQ(m_canvas.ProjectToPoint(30, 10, 5), rotated);
}

}  // namespace
