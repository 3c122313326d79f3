// Pixel rules of shapes: rectangles, fills, hatches, ellipses against the properties of an ellipse,
// rounded rectangles, arcs, pies, polygons against point-in-polygon, and clip regions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"

namespace gfx {
namespace {

using testing::TPixelSet;
using testing::Where;

// The point-in-polygon rule, below.
bool InPolygon(const std::vector<TPoint>& p, int32_t x, int32_t y, bool winding);

class CanvasShapeTest : public testing::TCanvasFixture {
  protected:
    void SetUp() override {
        Make(40, 30);
        Canvas().Brush().SetColor(clRed);
    }
    // The polygon filled (with the current pen) in the given mode paints exactly the pixels the
    // point-in-polygon rule puts inside.
    ::testing::AssertionResult FillFollowsTheRule(const std::vector<TPoint>& points, bool winding) {
        Canvas().SetPolyFillMode(winding ? TFillMode::fmWinding : TFillMode::fmAlternate);
        Clear();
        Canvas().Polygon(points);
        if (PaintedWith(clRed) == Where(40, 30, [&](int32_t px, int32_t py) {
                return InPolygon(points, px, py, winding);
            })) {
            return ::testing::AssertionSuccess();
        }
        std::string repro = std::string(winding ? "winding" : "alternate") + " polygon";
        for (TPoint p : points) {
            repro += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
        }
        return ::testing::AssertionFailure() << repro << "\n" << Picture();
    }
};

TEST_F(CanvasShapeTest, RectangleOutlinesItsEdgeColumnsAndRowsAndFillsInside) {
    Canvas().Rectangle(2, 3, 8, 7);
    EXPECT_EQ(PaintedWith(clBlack), Where(40, 30, [](int32_t x, int32_t y) {
                  bool in = x >= 2 && x < 8 && y >= 3 && y < 7;
                  return in && (x == 2 || x == 7 || y == 3 || y == 6);
              }));
    EXPECT_EQ(PaintedWith(clRed), Where(40, 30, [](int32_t x, int32_t y) {
                  return x >= 3 && x < 7 && y >= 4 && y < 6;
              }));
}

TEST_F(CanvasShapeTest, RectangleOutlinesFlipEachEdgePixelOnceOnSeededBoxesAndClips) {
    // Xor shows a pixel painted twice as unpainted; the clip (a rectangle or a polygon) only
    // takes pixels away.
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Pen().SetMode(TPenMode::pmXor);
    Canvas().Pen().SetColor(clWhite);  // white xor white: black where painted once
    std::mt19937 random(77);
    for (int trial = 0; trial < 400; ++trial) {
        Clear();
        const auto coordinate = [&](int32_t size) {
            return static_cast<int32_t>(random() % (size + 20)) - 10;
        };
        const int32_t x0 = coordinate(40), y0 = coordinate(30);
        const int32_t x1 = random() % 4 == 0 ? x0 + 1 : coordinate(40);
        const int32_t y1 = random() % 4 == 0 ? y0 + 1 : coordinate(30);
        const TRect clip(coordinate(40), coordinate(30), coordinate(40), coordinate(30));
        const bool polygonClip = random() % 2 == 0;
        if (polygonClip) {
            const std::vector<TPoint> corners = {{clip.Left, clip.Top},
                                                 {clip.Right, clip.Top},
                                                 {clip.Right, clip.Bottom},
                                                 {clip.Left, clip.Bottom}};
            Canvas().SetClipPolygon(corners);
        } else {
            Canvas().SetClipRect(clip);
        }
        Canvas().Rectangle(x0, y0, x1, y1);
        Canvas().ClearClip();
        const int32_t left = std::min(x0, x1), right = std::max(x0, x1) - 1;
        const int32_t top = std::min(y0, y1), bottom = std::max(y0, y1) - 1;
        const TRect inClip(std::min(clip.Left, clip.Right), std::min(clip.Top, clip.Bottom),
                           std::max(clip.Left, clip.Right), std::max(clip.Top, clip.Bottom));
        ASSERT_EQ(PaintedWith(clBlack),
                  Where(40, 30,
                        [&](int32_t x, int32_t y) {
                            const bool edge = x >= left && x <= right && y >= top && y <= bottom &&
                                              (x == left || x == right || y == top || y == bottom);
                            return edge && inClip.Contains(x, y);
                        }))
            << "trial " << trial << ": Rectangle(" << x0 << ", " << y0 << ", " << x1 << ", " << y1
            << ") clipped to (" << clip.Left << ", " << clip.Top << ", " << clip.Right << ", "
            << clip.Bottom << ")" << (polygonClip ? " as a polygon" : "");
    }
}

TEST_F(CanvasShapeTest, RectangleWithClearPenFillsOneLessOnTheRightAndBottom) {
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    Canvas().Rectangle(2, 3, 8, 7);
    EXPECT_EQ(Painted(), Where(40, 30, [](int32_t x, int32_t y) {
                  return x >= 2 && x < 7 && y >= 3 && y < 6;
              }));
}

TEST_F(CanvasShapeTest, FillRectExcludesRightAndBottomAndIgnoresThePenMode) {
    Canvas().Pen().SetMode(TPenMode::pmNotXor);
    Canvas().FillRect(TRect(2, 3, 8, 7));
    Canvas().FillRect(TRect(8, 7, 2, 3));  // reversed corners are normalised
    EXPECT_EQ(PaintedWith(clRed), Where(40, 30, [](int32_t x, int32_t y) {
                  return x >= 2 && x < 8 && y >= 3 && y < 7;
              }));
    EXPECT_EQ(Painted().size(), 24u);
}

TEST_F(CanvasShapeTest, FrameRectDrawsTheBrushOnTheEdgePixels) {
    Canvas().FrameRect(TRect(1, 1, 5, 4));
    EXPECT_EQ(PaintedWith(clRed), Where(40, 30, [](int32_t x, int32_t y) {
                  return x >= 1 && x < 5 && y >= 1 && y < 4 &&
                         (x == 1 || x == 4 || y == 1 || y == 3);
              }));
}

TEST_F(CanvasShapeTest, StyledRectangleOutlineStartsAtTheTopRightCornerGoingLeft) {
    Canvas().Pen().SetStyle(TPenStyle::psDot);
    Canvas().SetBackMode(TBackMode::bmTransparent);
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Rectangle(0, 0, 20, 10);
    // Top row from x = 19 leftwards: 3 on, 3 off.
    for (int32_t x = 19; x >= 0; --x) {
        EXPECT_EQ(At(x, 0) == clBlack, ((19 - x) % 6) < 3) << "x = " << x;
    }
}

TEST_F(CanvasShapeTest, InsideFrameKeepsAWideOutlineInsideTheBox) {
    Canvas().Pen().SetWidth(4);
    Canvas().Pen().SetStyle(TPenStyle::psInsideFrame);
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Rectangle(5, 5, 25, 20);
    TPixelSet painted = Painted();
    ASSERT_FALSE(painted.empty());
    for (auto [x, y] : painted) {
        EXPECT_TRUE(TRect(5, 5, 25, 20).Contains(x, y)) << x << "," << y;
    }
    EXPECT_EQ(At(5, 12), clBlack);
    EXPECT_EQ(At(24, 12), clBlack);
    EXPECT_EQ(At(15, 19), clBlack);
    EXPECT_EQ(At(9, 12), clWhite);
}

TEST_F(CanvasShapeTest, HatchesAreAlignedToTheDeviceOriginWithOpaqueGaps) {
    Canvas().Brush().SetStyle(TBrushStyle::bsFDiagonal);
    Canvas().SetBackColor(clBlue);
    Canvas().SetBackMode(TBackMode::bmOpaque);
    Canvas().FillRect(TRect(3, 5, 19, 21));
    for (int32_t y = 5; y < 21; ++y) {
        for (int32_t x = 3; x < 19; ++x) {
            ASSERT_EQ(At(x, y), (x % 8) == (y % 8) ? clRed : clBlue) << x << "," << y;
        }
    }
    Clear();
    Canvas().SetBackMode(TBackMode::bmTransparent);
    Canvas().Brush().SetStyle(TBrushStyle::bsCross);
    Canvas().FillRect(TRect(0, 0, 16, 16));
    EXPECT_EQ(PaintedWith(clRed),
              Where(16, 16, [](int32_t x, int32_t y) { return x % 8 == 4 || y % 8 == 3; }));
    EXPECT_EQ(PaintedWith(clBlue).size(), 0u);
}

TEST_F(CanvasShapeTest, EveryHatchMatchesItsTile) {
    struct TCase {
        TBrushStyle Style;
        bool (*Set)(int32_t, int32_t);
    };
    const TCase cases[] = {
        {TBrushStyle::bsHorizontal, [](int32_t, int32_t y) { return y == 3; }},
        {TBrushStyle::bsVertical, [](int32_t x, int32_t) { return x == 4; }},
        {TBrushStyle::bsBDiagonal, [](int32_t x, int32_t y) { return x + y == 7; }},
        {TBrushStyle::bsDiagCross, [](int32_t x, int32_t y) { return x == y || x + y == 7; }},
    };
    Canvas().SetBackMode(TBackMode::bmTransparent);
    for (const TCase& c : cases) {
        Clear();
        Canvas().Brush().SetStyle(c.Style);
        Canvas().FillRect(TRect(8, 8, 16, 16));
        EXPECT_EQ(PaintedWith(clRed), Where(40, 30,
                                            [&](int32_t x, int32_t y) {
                                                return x >= 8 && x < 16 && y >= 8 && y < 16 &&
                                                       c.Set(x - 8, y - 8);
                                            }))
            << static_cast<int>(c.Style);
    }
}

// Properties every filled ellipse has whatever formula draws it, checked on one drawn wholly
// inside the bitmap: a pen outline (black) closed around a brush interior (red). Returns what
// failed, or an empty text.
std::string EllipseFaults(const TPixelSet& outline, const TPixelSet& fill, TRect box) {
    TPixelSet painted = outline;
    painted.insert(fill.begin(), fill.end());
    if (painted.empty()) {
        return "nothing painted";
    }
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (auto [x, y] : painted) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    // Inside the box (right and bottom exclusive), touching all four of its sides.
    if (TRect(minX, minY, maxX + 1, maxY + 1) != box) {
        return "painted pixels do not span the box exactly";
    }
    for (auto [x, y] : painted) {
        // Symmetric about both centre lines of the box.
        if (!painted.contains({box.Left + box.Right - 1 - x, y}) ||
            !painted.contains({x, box.Top + box.Bottom - 1 - y})) {
            return "not symmetric at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    }
    // Convex: every row and every column is one run without a gap.
    for (int32_t y = minY; y <= maxY; ++y) {
        int32_t runs = 0;
        for (int32_t x = minX; x <= maxX; ++x) {
            runs += painted.contains({x, y}) && !painted.contains({x - 1, y}) ? 1 : 0;
        }
        if (runs != 1) {
            return "row " + std::to_string(y) + " is not one run";
        }
    }
    for (int32_t x = minX; x <= maxX; ++x) {
        int32_t runs = 0;
        for (int32_t y = minY; y <= maxY; ++y) {
            runs += painted.contains({x, y}) && !painted.contains({x, y - 1}) ? 1 : 0;
        }
        if (runs != 1) {
            return "column " + std::to_string(x) + " is not one run";
        }
    }
    // The interior is enclosed: no brush pixel touches an unpainted one.
    for (auto [x, y] : fill) {
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            if (!painted.contains({x + dx, y + dy})) {
                return "the interior leaks at (" + std::to_string(x) + ", " + std::to_string(y) +
                       ")";
            }
        }
    }
    // The outline is closed: one 8-connected ring.
    TPixelSet reached = {*outline.begin()};
    std::vector<std::pair<int32_t, int32_t>> todo = {*outline.begin()};
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx) {
                if (outline.contains({x + dx, y + dy}) && reached.insert({x + dx, y + dy}).second) {
                    todo.push_back({x + dx, y + dy});
                }
            }
        }
    }
    if (reached.size() != outline.size()) {
        return "the outline falls apart";
    }
    return "";
}

TEST_F(CanvasShapeTest, EllipsesOnSeededRandomBoxesAreSymmetricConvexClosedAndFilled) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int32_t> size(1, 30);
    for (int trial = 0; trial < 300; ++trial) {
        const int32_t w = size(random), h = size(random) % 25 + 1;
        const int32_t l = std::uniform_int_distribution<int32_t>(0, 40 - w)(random);
        const int32_t t = std::uniform_int_distribution<int32_t>(0, 30 - h)(random);
        Clear();
        Canvas().Ellipse(l, t, l + w, t + h);
        const TPixelSet outline = PaintedWith(clBlack), fill = PaintedWith(clRed);
        ASSERT_EQ(outline.size() + fill.size(), Painted().size()) << "stray colours";
        ASSERT_EQ(EllipseFaults(outline, fill, TRect(l, t, l + w, t + h)), "")
            << "Ellipse(" << l << ", " << t << ", " << l + w << ", " << t + h << ")\n"
            << Picture();
        // Wider than three pixels both ways, an ellipse has an interior.
        if (w > 3 && h > 3) {
            ASSERT_FALSE(fill.empty())
                << "Ellipse(" << l << ", " << t << ", " << l + w << ", " << t + h << ")";
        }
    }
}

TEST_F(CanvasShapeTest, EllipsesCutByTheBitmapEdgeKeepTheirPixelsInside) {
    // Drawn partly off the bitmap, an ellipse paints exactly the pixels it paints when drawn
    // whole on a larger bitmap, shifted, that fall inside.
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> pos(-12, 30), size(1, 30);
    TBitmap large;
    large.SetSize(120, 120);
    for (int trial = 0; trial < 100; ++trial) {
        const int32_t l = pos(random), t = pos(random), w = size(random), h = size(random);
        Clear();
        Canvas().Ellipse(l, t, l + w, t + h);
        large.Canvas().Brush().SetColor(clWhite);
        large.Canvas().FillRect(TRect(0, 0, 120, 120));
        large.Canvas().Brush().SetColor(clRed);
        large.Canvas().Ellipse(l + 40, t + 40, l + w + 40, t + h + 40);
        const TPixelSet expected = Where(40, 30, [&](int32_t x, int32_t y) {
            return large.Canvas().Pixel(x + 40, y + 40) != clWhite;
        });
        ASSERT_EQ(Painted(), expected)
            << "Ellipse(" << l << ", " << t << ", " << l + w << ", " << t + h << ")\n"
            << Picture();
    }
}

TEST_F(CanvasShapeTest, EllipseTouchesEverySideOfItsBoxAndStaysInside) {
    for (auto [w, h] : {std::pair{4, 20}, {20, 4}, {3, 3}, {10, 10}, {25, 7}}) {
        Clear();
        Canvas().Ellipse(5, 5, 5 + w, 5 + h);
        TPixelSet painted = Painted();
        int32_t minX = 99, maxX = -1, minY = 99, maxY = -1;
        for (auto [x, y] : painted) {
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
            maxY = std::max(maxY, y);
        }
        EXPECT_EQ(TRect(minX, minY, maxX + 1, maxY + 1), TRect(5, 5, 5 + w, 5 + h))
            << w << "x" << h;
    }
}

TEST_F(CanvasShapeTest, RoundRectHasStraightEdgesBetweenItsCorners) {
    Canvas().RoundRect(2, 2, 30, 20, 8, 6);
    for (int32_t x = 6; x < 26; ++x) {
        EXPECT_EQ(At(x, 2), clBlack) << x;
        EXPECT_EQ(At(x, 19), clBlack) << x;
    }
    EXPECT_EQ(At(2, 2), clWhite);  // the corner is cut
    EXPECT_EQ(At(2, 10), clBlack);
    EXPECT_EQ(At(29, 10), clBlack);
    EXPECT_EQ(At(30, 10), clWhite);
    Clear();
    Canvas().RoundRect(2, 2, 30, 20, 2, 2);  // small corners: a plain rectangle
    EXPECT_EQ(At(2, 2), clBlack);
}

TEST_F(CanvasShapeTest, ArcRunsCounterClockwiseBetweenItsRays) {
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    // From the ray pointing right to the ray pointing up: the upper-right quarter only.
    Canvas().Arc(0, 0, 21, 21, 30, 10, 10, -5);
    for (auto [x, y] : Painted()) {
        EXPECT_GE(x, 10);
        EXPECT_LE(y, 10);
    }
    EXPECT_EQ(At(20, 10), clBlack);
    EXPECT_EQ(At(10, 0), clBlack);
    EXPECT_EQ(At(0, 10), clWhite);
    EXPECT_EQ(At(10, 20), clWhite);
    // Swapping the rays draws the other three quarters.
    Clear();
    Canvas().Arc(0, 0, 21, 21, 10, -5, 30, 10);
    EXPECT_EQ(At(0, 10), clBlack);
    EXPECT_EQ(At(10, 20), clBlack);
    EXPECT_EQ(At(17, 3), clWhite);
}

TEST_F(CanvasShapeTest, PieFillsItsSectorAndDrawsBothRadii) {
    Canvas().Pie(0, 0, 21, 21, 30, 10, 10, -5);
    EXPECT_EQ(At(15, 6), clRed);    // inside the upper-right quarter
    EXPECT_EQ(At(5, 15), clWhite);  // the lower-left stays empty
    for (int32_t x = 10; x <= 20; ++x) {
        EXPECT_EQ(At(x, 10), clBlack) << x;  // radius to the right
    }
    for (int32_t y = 0; y <= 10; ++y) {
        EXPECT_EQ(At(10, y), clBlack) << y;  // radius upwards
    }
}

// Point-in-polygon at integer sample points: an edge counts on rows ymin <= y < ymax when it
// crosses at or left of x; alternate wants an odd count, winding a non-zero sum.
bool InPolygon(const std::vector<TPoint>& p, int32_t x, int32_t y, bool winding) {
    int count = 0;
    int sum = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        TPoint a = p[i];
        TPoint b = p[(i + 1) % p.size()];
        int dir = 1;
        if (a.Y > b.Y) {
            std::swap(a, b);
            dir = -1;
        }
        if (a.Y == b.Y || y < a.Y || y >= b.Y) {
            continue;
        }
        // crossing x <= x  <=>  a.X + (y - a.Y)(b.X - a.X)/(b.Y - a.Y) <= x
        if (int64_t{b.X - a.X} * (y - a.Y) <= int64_t{x - a.X} * (b.Y - a.Y)) {
            ++count;
            sum += dir;
        }
    }
    return winding ? sum != 0 : (count % 2) == 1;
}

TEST_F(CanvasShapeTest, PolygonFillMatchesPointInPolygonOnSeededRandomShapes) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> x(-5, 44), y(-5, 34), n(3, 7);
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<TPoint> points(static_cast<size_t>(n(random)));
        for (TPoint& p : points) {
            p = {x(random), y(random)};
        }
        ASSERT_TRUE(FillFollowsTheRule(points, trial % 2 == 1));
    }
}

// The shapes an area chart hands over: vertical sides on a few shared columns, polygons of a
// single column (nothing to fill), and outlines of many vertices whose rows cross more edges
// than a few.
TEST_F(CanvasShapeTest, PolygonFillMatchesPointInPolygonOnColumnsAndManyEdges) {
    std::mt19937 random(11);
    const auto pick = [&](int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(random);
    };
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    for (int trial = 0; trial < 600; ++trial) {
        const int32_t columns[] = {pick(-5, 44), pick(-5, 44), pick(-5, 44)};
        const int32_t kind = trial % 3;
        std::vector<TPoint> points(static_cast<size_t>(kind == 2 ? pick(17, 40) : pick(3, 8)));
        for (TPoint& p : points) {
            const int32_t px = kind == 0   ? columns[0]
                               : kind == 1 ? columns[pick(0, 2)]
                                           : pick(-5, 44);
            p = {px, pick(-5, 34)};
        }
        ASSERT_TRUE(FillFollowsTheRule(points, trial % 2 == 1));
    }
}

TEST_F(CanvasShapeTest, PolygonOutlineReachesTheMaximumEdgesWhereARectangleDoesNot) {
    std::vector<TPoint> square = {{2, 2}, {8, 2}, {8, 6}, {2, 6}};
    Canvas().Polygon(square);
    EXPECT_EQ(At(8, 6), clBlack);
    EXPECT_EQ(At(8, 4), clBlack);
    EXPECT_EQ(At(5, 4), clRed);
    EXPECT_EQ(Painted().size(), 7u * 5u);
}

TEST_F(CanvasShapeTest, WindingFillsTheCentreOfAStarThatAlternateLeavesOpen) {
    std::vector<TPoint> star = {{20, 2}, {26, 26}, {5, 10}, {35, 10}, {14, 26}};
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    Canvas().Polygon(star);
    EXPECT_EQ(At(20, 15), clWhite);
    Canvas().SetPolyFillMode(TFillMode::fmWinding);
    Canvas().Polygon(star);
    EXPECT_EQ(At(20, 15), clRed);
}

TEST_F(CanvasShapeTest, ClipRectangleExcludesItsRightAndBottomEdges) {
    Canvas().SetClipRect(TRect(5, 5, 10, 8));
    Canvas().FillRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(PaintedWith(clRed), Where(40, 30, [](int32_t x, int32_t y) {
                  return x >= 5 && x < 10 && y >= 5 && y < 8;
              }));
    EXPECT_EQ(Canvas().SetPixel(10, 5, clBlue), kInvalidColor);
    EXPECT_EQ(Canvas().SetPixel(9, 7, clBlue), clBlue);
}

TEST_F(CanvasShapeTest, PolygonClipSelectsExactlyThePixelsOfThePolygonFill) {
    std::vector<TPoint> triangle = {{3, 2}, {30, 9}, {9, 27}};
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    Canvas().Polygon(triangle);
    TPixelSet fill = PaintedWith(clRed);
    Clear();
    Canvas().SetClipPolygon(triangle);
    Canvas().Brush().SetColor(clBlue);
    Canvas().FillRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(PaintedWith(clBlue), fill);
}

TEST_F(CanvasShapeTest, ClipCornersAreConvertedFromLogicalToDeviceCoordinates) {
    Canvas().SetWindowOrg({-3, -2});
    Canvas().SetClipRect(TRect(0, 0, 4, 4));
    Canvas().SetWindowOrg({0, 0});
    Canvas().FillRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(PaintedWith(clRed), Where(40, 30, [](int32_t x, int32_t y) {
                  return x >= 3 && x < 7 && y >= 2 && y < 6;
              }));
}

TEST_F(CanvasShapeTest, ShapesOutsideTheBitmapOrEmptyDoNothing) {
    Canvas().Rectangle(50, 50, 60, 60);
    Canvas().Ellipse(-20, -20, -5, -5);
    Canvas().Rectangle(5, 5, 5, 10);
    Canvas().Polygon(std::vector<TPoint>{});
    Canvas().Polyline(std::vector<TPoint>{{1, 1}});
    EXPECT_TRUE(Painted().empty());
}

}  // namespace
}  // namespace gfx
