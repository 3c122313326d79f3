// Pixel rules of lines: current position, last pixel, tie rule, clipping, pen styles and widths.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "CanvasTestSupport.h"
#include "gfx/Raster.h"

namespace gfx {
namespace {

using testing::TPixelSet;

class CanvasLineTest : public testing::TCanvasFixture {
  protected:
    void SetUp() override { Make(40, 30); }
    TPixelSet Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        Clear();
        Canvas().MoveTo(x0, y0);
        Canvas().LineTo(x1, y1);
        return Painted();
    }
};

TEST_F(CanvasLineTest, HorizontalAndVerticalLinesAreRunsWithoutTheirEndPixel) {
    EXPECT_EQ(Line(10, 3, 5, 3), (TPixelSet{{6, 3}, {7, 3}, {8, 3}, {9, 3}, {10, 3}}));
    EXPECT_EQ(Line(5, 3, 10, 3), (TPixelSet{{5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}}));
    EXPECT_EQ(Line(2, 4, 2, 1), (TPixelSet{{2, 2}, {2, 3}, {2, 4}}));
    EXPECT_TRUE(Line(7, 7, 7, 7).empty());
}

TEST_F(CanvasLineTest, LineToMovesTheCurrentPositionAndMoveToDrawsNothing) {
    Canvas().MoveTo(1, 1);
    EXPECT_TRUE(Painted().empty());
    Canvas().LineTo(4, 1);
    Canvas().LineTo(4, 3);
    EXPECT_EQ(Canvas().PenPos(), (TPoint{4, 3}));
    EXPECT_EQ(Painted(), (TPixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}));
}

TEST_F(CanvasLineTest, TiesGoToTheUpperPixelWhenMostlyHorizontalAndLeftWhenMostlyVertical) {
    // (0,0)-(4,1) passes half way between rows at x = 2: the upper row wins either way.
    EXPECT_EQ(Line(0, 0, 4, 1), (TPixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    TPixelSet back = Line(4, 1, 0, 0);
    EXPECT_EQ(back, (TPixelSet{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
    // (0,0)-(1,4): half way at y = 2, the left column wins.
    EXPECT_EQ(Line(0, 0, 1, 4), (TPixelSet{{0, 0}, {0, 1}, {0, 2}, {1, 3}}));
    EXPECT_EQ(Line(1, 4, 0, 0), (TPixelSet{{1, 4}, {1, 3}, {0, 2}, {0, 1}}));
}

// Drawing a line in either direction lights the same pixels apart from which end is left out.
TEST_F(CanvasLineTest, EitherDirectionLightsTheSamePixelsOnSeededRandomLines) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> x(0, 39), y(0, 29);
    for (int trial = 0; trial < 500; ++trial) {
        int32_t x0 = x(random), y0 = y(random), x1 = x(random), y1 = y(random);
        TPixelSet forward = Line(x0, y0, x1, y1);
        TPixelSet backward = Line(x1, y1, x0, y0);
        if (x0 != x1 || y0 != y1) {
            forward.insert({x1, y1});
            backward.insert({x0, y0});
        }
        ASSERT_EQ(forward, backward)
            << "line (" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ")";
    }
}

// The clipped part of a line lights exactly the pixels of the whole line inside the clip.
TEST_F(CanvasLineTest, ClippingNeverChangesWhichPixelsALineLightsOnSeededRandomLines) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> x(-30, 70), y(-30, 60);
    for (int trial = 0; trial < 500; ++trial) {
        int32_t x0 = x(random), y0 = y(random), x1 = x(random), y1 = y(random);
        TRect clip(5, 4, 31, 23);
        TPixelSet whole;
        detail::StepLine(x0, y0, x1, y1, TRect(-1000, -1000, 1000, 1000),
                         [&](int32_t px, int32_t py, int64_t) {
                             if (clip.Contains(px, py)) {
                                 whole.insert({px, py});
                             }
                         });
        Canvas().SetClipRect(clip);
        TPixelSet clipped = Line(x0, y0, x1, y1);
        Canvas().ClearClip();
        ASSERT_EQ(clipped, whole) << "line (" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ")";
    }
}

TEST_F(CanvasLineTest, PolylineLightsSharedVerticesOnceAndLeavesTheLastPointAndPenPosAlone) {
    Canvas().MoveTo(30, 20);
    Canvas().Pen().SetMode(TPenMode::pmNotXor);
    std::vector<TPoint> points = {{1, 1}, {5, 1}, {5, 4}};
    Canvas().Polyline(points);
    // A black pen under not-xor turns white pixels black; a pixel lit twice would be white again.
    EXPECT_EQ(Painted(), (TPixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}}));
    EXPECT_EQ(Canvas().PenPos(), (TPoint{30, 20}));
}

TEST_F(CanvasLineTest, NotXorAppliedTwiceRestoresThePixels) {
    Canvas().Pen().SetColor(clRed);
    Canvas().Pen().SetMode(TPenMode::pmNotXor);
    Canvas().Rectangle(3, 3, 20, 15);
    EXPECT_FALSE(Painted().empty());
    Canvas().Rectangle(3, 3, 20, 15);
    EXPECT_TRUE(Painted().empty());
}

TEST_F(CanvasLineTest, DashPatternsAdvanceOnePerPixelAndCarryAcrossSegments) {
    Make(60, 5);
    Canvas().Pen().SetStyle(TPenStyle::psDot);
    Canvas().SetBackMode(TBackMode::bmTransparent);
    std::vector<TPoint> points = {{0, 1}, {4, 1}, {20, 1}};
    Canvas().Polyline(points);
    // Dot: 3 on, 3 off, carried through the vertex at x = 4.
    for (int32_t x = 0; x < 20; ++x) {
        EXPECT_EQ(At(x, 1) == clBlack, (x % 6) < 3) << "x = " << x;
    }
    Clear();
    Canvas().Pen().SetStyle(TPenStyle::psDashDotDot);
    Canvas().MoveTo(0, 2);
    Canvas().LineTo(48, 2);
    std::string seen;
    for (int32_t x = 0; x < 24; ++x) {
        seen += At(x, 2) == clBlack ? '#' : '.';
    }
    EXPECT_EQ(seen, "#########...###...###...");
}

// Seeded polylines of horizontal, vertical, slanted and empty segments, in every one-pixel
// style, clipped to a rectangle, with opaque or transparent gaps, against pixels placed one by
// one from the whole line, the dash runs of the device rules and the clip.
TEST_F(CanvasLineTest, StyledPolylinesInACopyModeRectangleClipMatchAPixelByPixelReference) {
    struct TStyle {
        TPenStyle Style;
        std::vector<int32_t> Runs;  // on, off, ...; empty for solid
    };
    const TStyle styles[] = {{TPenStyle::psSolid, {}},
                             {TPenStyle::psDash, {18, 6}},
                             {TPenStyle::psDot, {3, 3}},
                             {TPenStyle::psDashDot, {9, 6, 3, 6}},
                             {TPenStyle::psDashDotDot, {9, 3, 3, 3, 3, 3}},
                             {TPenStyle::psAlternate, {1, 1}}};
    const auto isOn = [](const std::vector<int32_t>& runs, int64_t step) {
        if (runs.empty()) {
            return true;
        }
        int64_t period = 0;
        for (int32_t r : runs) {
            period += r;
        }
        int64_t at = step % period;
        for (size_t k = 0;; ++k) {
            if (at < runs[k]) {
                return k % 2 == 0;
            }
            at -= runs[k];
        }
    };
    TBitmap drawn(50, 40);
    TBitmap expected(50, 40);
    std::mt19937 random(4242);
    std::uniform_int_distribution<int32_t> x(-20, 70), y(-20, 60);
    for (int trial = 0; trial < 400; ++trial) {
        const TStyle& style = styles[static_cast<size_t>(trial) % std::size(styles)];
        const bool opaque = random() % 2 == 0;
        const TRect clip(static_cast<int32_t>(random() % 10), static_cast<int32_t>(random() % 10),
                         40 + static_cast<int32_t>(random() % 15),
                         30 + static_cast<int32_t>(random() % 15));
        std::vector<TPoint> points = {{x(random), y(random)}};
        for (int k = 0; k < 6; ++k) {
            TPoint next = points.back();
            switch (random() % 4) {
                case 0:
                    next.X = x(random);
                    break;
                case 1:
                    next.Y = y(random);
                    break;
                case 2:
                    next = {x(random), y(random)};
                    break;
                default:
                    break;  // an empty segment
            }
            points.push_back(next);
        }
        for (TBitmap* bitmap : {&drawn, &expected}) {
            bitmap->Canvas().Brush().SetColor(clWhite);
            bitmap->Canvas().FillRect(TRect(0, 0, 50, 40));
        }
        TCanvas& canvas = drawn.Canvas();
        canvas.Pen().SetStyle(style.Style);
        canvas.Pen().SetColor(clBlue);
        canvas.SetBackMode(opaque ? TBackMode::bmOpaque : TBackMode::bmTransparent);
        canvas.SetBackColor(clRed);
        canvas.SetClipRect(clip);
        canvas.Polyline(points);
        int64_t position = 0;
        const auto place = [&](int32_t px, int32_t py, int64_t step) {
            const bool on = isOn(style.Runs, step);
            if (clip.Contains(px, py) && px < 50 && py < 40 && (on || opaque)) {  // 50 x 40
                expected.Canvas().SetPixel(px, py, on ? clBlue : clRed);
            }
        };
        for (size_t k = 0; k + 1 < points.size(); ++k) {
            const TPoint a = points[k];
            const TPoint b = points[k + 1];
            const int32_t dx = b.X > a.X ? 1 : (b.X < a.X ? -1 : 0);
            const int32_t dy = b.Y > a.Y ? 1 : (b.Y < a.Y ? -1 : 0);
            if (dx == 0 || dy == 0) {
                const int32_t count = std::abs(b.X - a.X) + std::abs(b.Y - a.Y);
                for (int32_t i = 0; i < count; ++i) {
                    place(a.X + i * dx, a.Y + i * dy, position + i);
                }
                position += count;
            } else {
                position += detail::StepLine(
                    a.X, a.Y, b.X, b.Y, TRect(-1000, -1000, 1000, 1000),
                    [&](int32_t px, int32_t py, int64_t i) { place(px, py, position + i); });
            }
        }
        std::string path;
        for (TPoint p : points) {
            path += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
        }
        ASSERT_TRUE(drawn.Pixels() == expected.Pixels())
            << "trial " << trial << " style " << static_cast<int>(style.Style) << " opaque "
            << opaque << " clip (" << clip.Left << "," << clip.Top << "," << clip.Right << ","
            << clip.Bottom << ") Polyline" << path;
    }
}

TEST_F(CanvasLineTest, StyledGapsTakeTheBackgroundColourOnlyWhenOpaque) {
    Canvas().Pen().SetStyle(TPenStyle::psDash);
    Canvas().SetBackColor(clRed);
    Canvas().SetBackMode(TBackMode::bmOpaque);
    Canvas().MoveTo(0, 0);
    Canvas().LineTo(30, 0);
    EXPECT_EQ(At(17, 0), clBlack);
    EXPECT_EQ(At(18, 0), clRed);
    EXPECT_EQ(At(23, 0), clRed);
    EXPECT_EQ(At(24, 0), clBlack);
    Canvas().SetBackMode(TBackMode::bmTransparent);
    Canvas().MoveTo(0, 1);
    Canvas().LineTo(30, 1);
    EXPECT_EQ(At(18, 1), clWhite);
}

TEST_F(CanvasLineTest, AlternatePenLightsEveryOtherPixel) {
    Canvas().Pen().SetStyle(TPenStyle::psAlternate);
    Canvas().SetBackMode(TBackMode::bmTransparent);
    Canvas().MoveTo(2, 2);
    Canvas().LineTo(2, 12);
    for (int32_t y = 2; y < 12; ++y) {
        EXPECT_EQ(At(2, y) == clBlack, (y - 2) % 2 == 0) << "y = " << y;
    }
}

TEST_F(CanvasLineTest, StyledWidePensDrawSolid) {
    Canvas().Pen().SetStyle(TPenStyle::psDot);
    Canvas().Pen().SetWidth(2);
    Canvas().MoveTo(5, 10);
    Canvas().LineTo(30, 10);
    for (int32_t x = 5; x < 30; ++x) {
        EXPECT_EQ(At(x, 9), clBlack) << x;
        EXPECT_EQ(At(x, 10), clBlack) << x;
    }
}

TEST_F(CanvasLineTest, WideHorizontalSegmentCoversItsRowsWithRoundEnds) {
    Canvas().Pen().SetWidth(3);
    Canvas().MoveTo(10, 10);
    Canvas().LineTo(20, 10);
    // Rows [y - 1, y + 2) between the end points.
    for (int32_t x = 10; x < 20; ++x) {
        EXPECT_EQ(At(x, 8), clWhite) << x;
        EXPECT_EQ(At(x, 9), clBlack) << x;
        EXPECT_EQ(At(x, 11), clBlack) << x;
        EXPECT_EQ(At(x, 12), clWhite) << x;
    }
    // The round end reaches one pixel past the end point, not two.
    EXPECT_EQ(At(21, 10), clBlack);
    EXPECT_EQ(At(22, 10), clWhite);
    EXPECT_EQ(At(9, 10), clBlack);
    EXPECT_EQ(At(8, 10), clWhite);
}

TEST_F(CanvasLineTest, EvenWidthsReachOnePixelFurtherUpAndLeft) {
    Canvas().Pen().SetWidth(2);
    Canvas().MoveTo(10, 10);
    Canvas().LineTo(20, 10);
    EXPECT_EQ(At(15, 9), clBlack);
    EXPECT_EQ(At(15, 10), clBlack);
    EXPECT_EQ(At(15, 11), clWhite);
    Clear();
    Canvas().MoveTo(10, 5);
    Canvas().LineTo(10, 20);
    EXPECT_EQ(At(9, 12), clBlack);
    EXPECT_EQ(At(10, 12), clBlack);
    EXPECT_EQ(At(11, 12), clWhite);
}

// A wide outline is one region painted once: not-xor over overlapping joins flips each pixel
// once, so drawing it twice restores the picture.
TEST_F(CanvasLineTest, WidePolylineIsPaintedOnce) {
    Canvas().Pen().SetWidth(5);
    Canvas().Pen().SetMode(TPenMode::pmNotXor);
    std::vector<TPoint> points = {{5, 5}, {30, 8}, {10, 25}, {33, 25}};
    Canvas().Polyline(points);
    TPixelSet once = Painted();
    EXPECT_EQ(once, PaintedWith(clBlack));  // every painted pixel flipped exactly once
    Canvas().Polyline(points);
    EXPECT_TRUE(Painted().empty());
}

TEST_F(CanvasLineTest, ClearPenDrawsNothingButStillMovesThePosition) {
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    Canvas().MoveTo(1, 1);
    Canvas().LineTo(20, 20);
    EXPECT_TRUE(Painted().empty());
    EXPECT_EQ(Canvas().PenPos(), (TPoint{20, 20}));
}

TEST_F(CanvasLineTest, LinesFollowTheLogicalToDeviceOffset) {
    Canvas().SetWindowOrg({10, 0});
    Canvas().SetViewportOrg({0, 5});
    Canvas().MoveTo(12, 0);
    Canvas().LineTo(15, 0);
    EXPECT_EQ(Painted(), (TPixelSet{{2, 5}, {3, 5}, {4, 5}}));
}

}  // namespace
}  // namespace gfx
