// Shapes cut by the bitmap's edges and the clip: the same pixels as the whole shape drawn on a
// larger bitmap, and shapes far larger than their bitmap drawn exactly and at the cost of their
// visible part.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"

namespace gfx {
namespace {

using testing::TPixelSet;
using testing::Where;

// One random drawing call with the canvas state it needs.
struct TShapeCall {
    enum class TKind : uint8_t { Rectangle, RoundRect, Ellipse, Arc, Pie, FrameRect, Polygon };
    TKind Kind = TKind::Rectangle;
    std::array<int32_t, 8> V{};  // box corners, then corner size or ray points
    std::vector<TPoint> Points;  // polygon vertices
    int32_t PenWidth = 1;
    TPenStyle PenStyle = TPenStyle::psSolid;
    TPenMode PenMode = TPenMode::pmCopy;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TBackMode BackMode = TBackMode::bmOpaque;

    void Draw(TCanvas& c) const {
        c.Pen().SetWidth(PenWidth);
        c.Pen().SetStyle(PenStyle);
        c.Pen().SetMode(PenMode);
        c.Pen().SetColor(clBlue);
        c.Brush().SetStyle(BrushStyle);
        c.Brush().SetColor(clRed);
        c.SetBackMode(BackMode);
        c.SetBackColor(clLime);
        switch (Kind) {
            case TKind::Rectangle:
                c.Rectangle(V[0], V[1], V[2], V[3]);
                break;
            case TKind::RoundRect:
                c.RoundRect(V[0], V[1], V[2], V[3], V[4], V[5]);
                break;
            case TKind::Ellipse:
                c.Ellipse(V[0], V[1], V[2], V[3]);
                break;
            case TKind::Arc:
                c.Arc(V[0], V[1], V[2], V[3], V[4], V[5], V[6], V[7]);
                break;
            case TKind::Pie:
                c.Pie(V[0], V[1], V[2], V[3], V[4], V[5], V[6], V[7]);
                break;
            case TKind::FrameRect:
                c.FrameRect(TRect(V[0], V[1], V[2], V[3]));
                break;
            case TKind::Polygon:
                c.Polygon(Points);
                break;
        }
    }
    std::string Describe() const {
        std::ostringstream text;
        text << "kind " << static_cast<int>(Kind) << " values";
        for (int32_t v : V) {
            text << ' ' << v;
        }
        for (TPoint p : Points) {
            text << " (" << p.X << ", " << p.Y << ")";
        }
        text << " pen width " << PenWidth << " style " << static_cast<int>(PenStyle) << " mode "
             << static_cast<int>(PenMode) << " brush " << static_cast<int>(BrushStyle) << " back "
             << static_cast<int>(BackMode);
        return text.str();
    }
};

// Shapes reaching up to 40 pixels past every edge of a 32 x 24 bitmap.
TShapeCall RandomCall(std::mt19937& random) {
    auto pick = [&](int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(random);
    };
    TShapeCall call;
    call.Kind = static_cast<TShapeCall::TKind>(pick(0, 6));
    for (size_t i = 0; i < 4; ++i) {
        call.V[i] = i % 2 == 0 ? pick(-40, 72) : pick(-40, 64);
    }
    call.V[4] = pick(-60, 90);
    call.V[5] = pick(-60, 90);
    call.V[6] = pick(-60, 90);
    call.V[7] = pick(-60, 90);
    if (call.Kind == TShapeCall::TKind::RoundRect) {
        call.V[4] = pick(-30, 60);
        call.V[5] = pick(-30, 60);
    }
    if (call.Kind == TShapeCall::TKind::Polygon) {
        call.Points.resize(static_cast<size_t>(pick(3, 6)));
        for (TPoint& p : call.Points) {
            p = {pick(-40, 72), pick(-40, 64)};
        }
    }
    call.PenWidth = pick(1, 4);
    constexpr TPenStyle kStyles[] = {
        TPenStyle::psSolid,       TPenStyle::psSolid, TPenStyle::psDash,     TPenStyle::psDot,
        TPenStyle::psInsideFrame, TPenStyle::psClear, TPenStyle::psAlternate};
    call.PenStyle = kStyles[pick(0, 6)];
    constexpr TPenMode kModes[] = {TPenMode::pmCopy, TPenMode::pmCopy, TPenMode::pmXor,
                                   TPenMode::pmNotXor};
    call.PenMode = kModes[pick(0, 3)];
    constexpr TBrushStyle kBrushes[] = {TBrushStyle::bsSolid, TBrushStyle::bsClear,
                                        TBrushStyle::bsDiagCross};
    call.BrushStyle = kBrushes[pick(0, 2)];
    call.BackMode = pick(0, 1) == 0 ? TBackMode::bmOpaque : TBackMode::bmTransparent;
    return call;
}

// A background that differs from pixel to pixel, so mix modes show what they did.
TColorRef Background(int32_t x, int32_t y) {
    return static_cast<TColorRef>((x * 2654435761u) ^ (y * 40503u)) & 0x00FFFFFF;
}

constexpr int32_t kWidth = 32;
constexpr int32_t kHeight = 24;
constexpr int32_t kMargin = 64;  // a multiple of the 8-pixel hatch tile

// The bitmap the calls are clipped by, and a larger one that holds every shape whole, its
// logical origin moved so that the same calls land kMargin pixels in.
struct TTwoRoutes {
    TBitmap Small{kWidth, kHeight};
    TBitmap Large{kWidth + 2 * kMargin, kHeight + 2 * kMargin};

    TTwoRoutes() {
        for (int32_t y = 0; y < Large.Height(); ++y) {
            for (int32_t x = 0; x < Large.Width(); ++x) {
                Large.ScanLine(y)[x] = Background(x - kMargin, y - kMargin);
            }
        }
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                Small.ScanLine(y)[x] = Background(x, y);
            }
        }
        Large.Canvas().SetViewportOrg({kMargin, kMargin});
    }
    // The first pixel of the small bitmap that differs from the large one's window.
    std::string Difference() {
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                TColorRef want = Large.ScanLine(y + kMargin)[x + kMargin];
                if (Small.ScanLine(y)[x] != want) {
                    std::ostringstream text;
                    text << "pixel (" << x << ", " << y << ") is " << std::hex
                         << Small.ScanLine(y)[x] << ", whole shape gives " << want;
                    return text.str();
                }
            }
        }
        return {};
    }
};

TEST(CanvasShapeClipTest, ShapesCutByTheEdgesMatchTheWholeShapeOnSeededRandomStreams) {
    std::mt19937 random(8);
    for (int trial = 0; trial < 300; ++trial) {
        TTwoRoutes routes;
        // Some streams are clipped to a random rectangle too; the large bitmap then takes the
        // same clip as a polygon region, the general path.
        bool clipped = random() % 3 == 0;
        TRect clip(0, 0, kWidth, kHeight);
        if (clipped) {
            int32_t l = static_cast<int32_t>(random() % 20) - 4;
            int32_t t = static_cast<int32_t>(random() % 16) - 4;
            clip = TRect(l, t, l + 4 + static_cast<int32_t>(random() % 30),
                         t + 4 + static_cast<int32_t>(random() % 24))
                       .Intersect(TRect(0, 0, kWidth, kHeight));
            routes.Small.Canvas().SetClipRect(clip);
        }
        std::vector<std::string> calls;
        for (int step = 0; step < 4; ++step) {
            TShapeCall call = RandomCall(random);
            // A dash pattern counts only the pixels the clip shows along a curved outline, so
            // for a dashed pen the large bitmap shows no more than the small one does.
            bool dashed = call.PenStyle != TPenStyle::psSolid &&
                          call.PenStyle != TPenStyle::psInsideFrame &&
                          call.PenStyle != TPenStyle::psClear;
            if (clipped || dashed) {
                std::array<TPoint, 4> corners = {
                    TPoint{clip.Left, clip.Top}, TPoint{clip.Right, clip.Top},
                    TPoint{clip.Right, clip.Bottom}, TPoint{clip.Left, clip.Bottom}};
                routes.Large.Canvas().SetClipPolygon(corners);
            } else {
                routes.Large.Canvas().ClearClip();
            }
            call.Draw(routes.Small.Canvas());
            call.Draw(routes.Large.Canvas());
            calls.push_back(call.Describe());
            std::string difference = routes.Difference();
            if (!difference.empty()) {
                std::ostringstream text;
                text << "seed 8 trial " << trial << " clip " << clip.Left << ' ' << clip.Top << ' '
                     << clip.Right << ' ' << clip.Bottom << "; the last call differs:\n";
                for (const std::string& c : calls) {
                    text << "  " << c << '\n';
                }
                FAIL() << text.str() << difference;
            }
        }
    }
}

// The radius of this pie ends exactly half-way between two rows; where it ends must not
// depend on where the pie stands. The end of the radius shows as the round end of a wide pen.
TEST(CanvasShapeClipTest, ARadiusEndingHalfWayBetweenRowsEndsAlikeWhereverThePieStands) {
    TPixelSet first;
    for (TPoint origin : {TPoint{0, 0}, TPoint{64, 64}, TPoint{7, 101}}) {
        TBitmap bitmap(200, 200);
        TCanvas& c = bitmap.Canvas();
        c.SetViewportOrg(origin);
        c.Pen().SetWidth(4);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.Pie(0, 3, 50, 57, 70, -35, 25, -37);  // the end ray points straight up
        TPixelSet painted;
        for (int32_t y = 0; y < 200; ++y) {
            for (int32_t x = 0; x < 200; ++x) {
                if (bitmap.ScanLine(y)[x] != clWhite) {
                    painted.insert({x - origin.X, y - origin.Y});
                }
            }
        }
        if (first.empty()) {
            first = painted;
        }
        EXPECT_EQ(painted, first) << "origin " << origin.X << ", " << origin.Y;
    }
}

class CanvasHugeShapeTest : public testing::TCanvasFixture {
  protected:
    void SetUp() override {
        Make(100, 100);
        Canvas().Brush().SetColor(clRed);
    }
};

constexpr int32_t kHuge = 100000000;

// The implicit ellipse of a box w x h at (l, t): pixel centres inside the ellipse whose
// semi-axes are a quarter pixel short of the box edges, plus its centre column(s) and row(s).
// Doubled offsets, compared without overflow for any box of 32-bit size.
bool InHugeEllipse(int64_t x, int64_t y, int64_t l, int64_t t, int64_t w, int64_t h) {
    int64_t bx = 2 * (x - l) - (w - 1);
    int64_t by = 2 * (y - t) - (h - 1);
    if (bx < -(w - 1) || bx > w - 1 || by < -(h - 1) || by > h - 1) {
        return false;
    }
    if ((bx >= -1 && bx <= 1) || (by >= -1 && by <= 1)) {
        return true;
    }
    // (2 bx)^2 b^2 + (2 by)^2 a^2 <= a^2 b^2, divided by a^2 b^2 in long double: the visible
    // rows of these tests lie far from any tie.
    long double a = 2.0L * static_cast<long double>(w) - 1;
    long double b = 2.0L * static_cast<long double>(h) - 1;
    long double u = 2.0L * static_cast<long double>(bx) / a;
    long double v = 2.0L * static_cast<long double>(by) / b;
    return u * u + v * v <= 1.0L;
}

TEST_F(CanvasHugeShapeTest, ARectangleWiderThanTheBitmapShowsOnlyItsVisibleEdges) {
    Canvas().Rectangle(-kHuge, -kHuge, 60, 70);
    EXPECT_EQ(PaintedWith(clBlack), Where(100, 100, [](int32_t x, int32_t y) {
                  return (x == 59 && y <= 69) || (y == 69 && x <= 59);
              }));
    EXPECT_EQ(PaintedWith(clRed),
              Where(100, 100, [](int32_t x, int32_t y) { return x < 59 && y < 69; }));
    // A five-pixel pen covers the two columns either side of the one-pixel outline.
    Clear();
    Canvas().Pen().SetWidth(5);
    Canvas().Rectangle(-kHuge, -kHuge, 60, kHuge);
    EXPECT_EQ(PaintedWith(clBlack),
              Where(100, 100, [](int32_t x, int32_t) { return x >= 57 && x <= 61; }));
    EXPECT_EQ(PaintedWith(clRed), Where(100, 100, [](int32_t x, int32_t) { return x < 57; }));
}

TEST_F(CanvasHugeShapeTest, AnEllipseOfHugeRadiusShowsTheImplicitEllipseNearItsEnd) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    // Boxes whose right end lies on column 59, up to the whole 32-bit range.
    const std::array<TRect, 3> boxes = {TRect(60 - 2 * kHuge, 50 - kHuge, 60, 50 + kHuge),
                                        TRect(60 - (1 << 30), 50 - (1 << 29), 60, 50 + (1 << 29)),
                                        TRect(kMin, kMin, 60, kMax)};
    for (const TRect& box : boxes) {
        Clear();
        Canvas().Ellipse(box);
        int64_t w = int64_t{box.Right} - box.Left;
        int64_t h = int64_t{box.Bottom} - box.Top;
        auto inside = [&](int32_t x, int32_t y) {
            return InHugeEllipse(x, y, box.Left, box.Top, w, h);
        };
        auto outline = [&](int32_t x, int32_t y) {
            return inside(x, y) && (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                                    !inside(x, y + 1));
        };
        EXPECT_EQ(PaintedWith(clBlack), Where(100, 100, outline)) << w << '\n' << Picture();
        EXPECT_EQ(
            PaintedWith(clRed),
            Where(100, 100, [&](int32_t x, int32_t y) { return inside(x, y) && !outline(x, y); }))
            << w;
        EXPECT_EQ(At(60, 50), clWhite) << w;
    }
}

TEST_F(CanvasHugeShapeTest, ArcsAndPiesOfHugeRadiusKeepTheirSectorAndRadii) {
    // The pie's upper-right quarter, centred in the bitmap: both radii and the fill between.
    Canvas().Pie(50 - kHuge, 50 - kHuge, 50 + kHuge, 50 + kHuge, 100, 50, 50, 0);
    EXPECT_EQ(PaintedWith(clBlack), Where(100, 100, [](int32_t x, int32_t y) {
                  return (y == 50 && x >= 50) || (x == 50 && y <= 50);
              }));
    EXPECT_EQ(PaintedWith(clRed),
              Where(100, 100, [](int32_t x, int32_t y) { return x > 50 && y < 50; }));
    // Half a turn from the ray pointing right: the upper half of the outline near its end.
    Clear();
    auto l = 60 - 2 * kHuge;
    auto t = 50 - kHuge;
    Canvas().Arc(l, t, 60, 50 + kHuge, 60, 50, l, 50);
    EXPECT_EQ(PaintedWith(clBlack), Where(100, 100, [&](int32_t x, int32_t y) {
                  auto inside = [&](int32_t px, int32_t py) {
                      return InHugeEllipse(px, py, l, t, 2 * int64_t{kHuge}, 2 * int64_t{kHuge});
                  };
                  return y <= 50 && inside(x, y) &&
                         (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                          !inside(x, y + 1));
              }));
}

// Each of these needed memory or time in proportion to the whole shape: gigabytes at 1e8.
TEST_F(CanvasHugeShapeTest, ShapesAcrossTheWhole32BitRangeDrawAtTheCostOfTheirVisiblePart) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    for (int32_t width : {1, 5}) {
        for (TPenStyle style : {TPenStyle::psSolid, TPenStyle::psDot, TPenStyle::psInsideFrame}) {
            Canvas().Pen().SetWidth(width);
            Canvas().Pen().SetStyle(style);
            Clear();
            Canvas().Rectangle(-kHuge, -kHuge, kHuge, kHuge);
            EXPECT_EQ(PaintedWith(clRed).size(), 10000u);
            Canvas().RoundRect(-kHuge, -kHuge, kHuge, kHuge, kHuge, kHuge);
            Canvas().Ellipse(-kHuge, -kHuge, kHuge, kHuge);
            Canvas().Arc(-kHuge, -kHuge, kHuge, kHuge, kHuge, 0, 0, -kHuge);
            EXPECT_EQ(PaintedWith(clRed).size(), 10000u);
            Canvas().Pie(50 - kHuge, 50 - kHuge, 50 + kHuge, 50 + kHuge, 100, 50, 50, 0);
            Canvas().FrameRect(TRect(-kHuge, -kHuge, kHuge, kHuge));
            Canvas().Rectangle(kMin, kMin, kMax, kMax);
            Canvas().RoundRect(kMin, kMin, kMax, kMax, kMax, kMin);
            Canvas().Ellipse(kMin, kMin, kMax, kMax);
            EXPECT_EQ(PaintedWith(clRed).size(), 10000u) << width;
        }
    }
}

}  // namespace
}  // namespace gfx
