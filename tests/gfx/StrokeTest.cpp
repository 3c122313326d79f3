// The line stroker against references kept apart: wide polylines against the mask stroker it
// replaced, the quadrilateral scanner against the polygon filler, and dense polylines painted
// column by column against their segments drawn one at a time. Seeded; a mismatch prints a
// line that reproduces it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Raster.h"
#include "gfx/Stroke.h"

namespace gfx {
namespace {

constexpr int32_t kWidth = 48;
constexpr int32_t kHeight = 36;
constexpr int32_t kOff = 30;  // how far points may lie outside the bitmap

// The wide-pen stroker as it was before spans went straight into the bitmap: every segment's
// body and a round dot at every point gathered in one mask over the reach, painted once.
void ReferenceWidePolyline(TBitmap& bitmap, std::span<const TPoint> points, int32_t width,
                           TPenMode mode, TColorRef color) {
    detail::TSurface surface;
    surface.Pixels = const_cast<uint32_t*>(bitmap.Pixels().data());
    surface.Width = bitmap.Width();
    surface.Height = bitmap.Height();
    surface.Clip = &bitmap.Canvas().DeviceClip();
    int32_t minX = points[0].X, maxX = points[0].X, minY = points[0].Y, maxY = points[0].Y;
    for (TPoint p : points) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    TRect reach = TRect(minX, minY, maxX + 1, maxY + 1).Inflate(width + 1, width + 1);
    detail::TMask mask(reach.Intersect(surface.Clip->Bounds()));
    if (mask.Box().IsEmpty()) {
        return;
    }
    const auto add = [&](int32_t y, int32_t x0, int32_t x1) { mask.AddSpan(y, x0, x1); };
    const auto half = [](double v) { return static_cast<int32_t>(std::floor(v + 0.5)); };
    for (size_t s = 0; s + 1 < points.size(); ++s) {
        const TPoint a = points[s];
        const TPoint b = points[s + 1];
        if (a == b) {
            continue;
        }
        if (a.Y == b.Y) {
            for (int32_t y = a.Y - width / 2; y < a.Y - width / 2 + width; ++y) {
                add(y, std::min(a.X, b.X), std::max(a.X, b.X));
            }
            continue;
        }
        if (a.X == b.X) {
            for (int32_t y = std::min(a.Y, b.Y); y < std::max(a.Y, b.Y); ++y) {
                add(y, a.X - width / 2, a.X - width / 2 + width);
            }
            continue;
        }
        const double dx = b.X - a.X;
        const double dy = b.Y - a.Y;
        const double length = std::hypot(dx, dy);
        const double wx = width * std::abs(dy) / length;
        const double wy = width * std::abs(dx) / length;
        double nx = dy;
        double ny = -dx;
        if (ny > 0 || (ny == 0 && nx > 0)) {
            nx = -nx;
            ny = -ny;
        }
        const int32_t sx = nx < 0 ? -1 : 1;
        const int32_t sy = ny < 0 ? -1 : 1;
        const TPoint nearOffset{half(wx / 2) * sx, half(wy / 2) * sy};
        const TPoint farOffset{half((wx + 1) / 2) * sx, half((wy + 1) / 2) * sy};
        const std::array<TPoint, 4> quad = {TPoint{a.X + nearOffset.X, a.Y + nearOffset.Y},
                                            TPoint{b.X + nearOffset.X, b.Y + nearOffset.Y},
                                            TPoint{b.X - farOffset.X, b.Y - farOffset.Y},
                                            TPoint{a.X - farOffset.X, a.Y - farOffset.Y}};
        detail::ScanPolygon(quad, TFillMode::fmAlternate, mask.Box().Top, mask.Box().Bottom, add);
    }
    const std::vector<detail::TRowExtent> rows = detail::RoundRectRows(width, width, width, width);
    for (TPoint p : points) {
        for (int32_t r = 0; r < width; ++r) {
            const detail::TRowExtent& row = rows[static_cast<size_t>(r)];
            add(p.Y - width / 2 + r, p.X - width / 2 + row.First, p.X - width / 2 + row.Last + 1);
        }
    }
    detail::TInk ink;
    ink.Mode = mode;
    ink.Color = color;
    mask.Paint(surface, ink);
}

// Where two pictures of the same size first differ, for failure messages.
std::string FirstDifference(const TBitmap& a, const TBitmap& b) {
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            if (a.ScanLine(y)[x] != b.ScanLine(y)[x]) {
                std::ostringstream text;
                text << "first difference at (" << x << "," << y << "): " << std::hex
                     << a.ScanLine(y)[x] << " against " << b.ScanLine(y)[x];
                return text.str();
            }
        }
    }
    return "no difference";
}

std::string PointsText(std::span<const TPoint> points) {
    std::ostringstream text;
    for (TPoint p : points) {
        text << "{" << p.X << "," << p.Y << "}";
    }
    return text.str();
}

// Fills the bitmap with seeded noise so that mix modes show every pixel they touch.
void Noise(TBitmap& bitmap, uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            bitmap.ScanLine(y)[x] = random() & 0x00FFFFFF;
        }
    }
}

// The clip of a trial: none, a rectangle or a triangle, as the canvas' clip.
void SetTrialClip(TCanvas& canvas, int32_t kind, std::mt19937& random) {
    std::uniform_int_distribution<int32_t> x(-5, kWidth + 5), y(-5, kHeight + 5);
    switch (kind) {
        case 0:
            canvas.ClearClip();
            break;
        case 1:
            canvas.SetClipRect(TRect(x(random), y(random), x(random), y(random)).Normalized());
            break;
        default: {
            const std::array<TPoint, 3> triangle = {TPoint{x(random), y(random)},
                                                    TPoint{x(random), y(random)},
                                                    TPoint{x(random), y(random)}};
            canvas.SetClipPolygon(triangle);
            break;
        }
    }
}

TEST(StrokeTest, WidePolylinesPaintWhatTheMaskStrokerPainted) {
    const std::array<TPenMode, 5> modes = {TPenMode::pmCopy, TPenMode::pmXor, TPenMode::pmNotXor,
                                           TPenMode::pmMerge, TPenMode::pmMaskPenNot};
    std::mt19937 random(2024);
    TBitmap fast(kWidth, kHeight);
    TBitmap slow(kWidth, kHeight);
    for (int trial = 0; trial < 600; ++trial) {
        std::uniform_int_distribution<int32_t> x(-kOff, kWidth + kOff), y(-kOff, kHeight + kOff);
        std::vector<TPoint> points(2 + random() % 10);
        for (TPoint& p : points) {
            p = {x(random), y(random)};
        }
        if (trial % 5 == 0) {
            points[1] = points[0];  // a repeated point
        }
        const int32_t width = 2 + static_cast<int32_t>(random() % 6);
        const TPenMode mode = modes[random() % modes.size()];
        const int32_t clipKind = static_cast<int32_t>(random() % 3);
        const uint32_t clipSeed = random();
        for (TBitmap* bitmap : {&fast, &slow}) {
            Noise(*bitmap, static_cast<uint32_t>(trial));
            std::mt19937 clipRandom(clipSeed);
            SetTrialClip(bitmap->Canvas(), clipKind, clipRandom);
        }
        fast.Canvas().Pen().SetWidth(width);
        fast.Canvas().Pen().SetMode(mode);
        fast.Canvas().Pen().SetColor(static_cast<TColor>(0x3366CC));
        fast.Canvas().Polyline(points);
        ReferenceWidePolyline(slow, points, width, mode, 0x3366CC);
        ASSERT_TRUE(fast.Pixels() == slow.Pixels())
            << FirstDifference(fast, slow) << "; trial " << trial << ": Polyline("
            << PointsText(points) << ") width " << width << " mode " << static_cast<int>(mode)
            << " clip kind " << clipKind << " clip seed " << clipSeed;
    }
}

TEST(StrokeTest, TheQuadrilateralScannerFillsWhatThePolygonFillerFills) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int32_t> coordinate(-40, 40);
    for (int trial = 0; trial < 3000; ++trial) {
        std::array<TPoint, 4> quad;
        for (TPoint& p : quad) {
            p = {coordinate(random), coordinate(random)};
        }
        if (trial % 7 == 0) {
            quad[2].Y = quad[1].Y;  // horizontal edges
        }
        const int32_t top = coordinate(random) / 2;
        const int32_t bottom = top + static_cast<int32_t>(random() % 60);
        std::vector<std::array<int32_t, 3>> fast;
        std::vector<std::array<int32_t, 3>> slow;
        detail::ScanQuad(quad, top, bottom, [&](int32_t y, int32_t x0, int32_t x1) {
            fast.push_back({y, x0, x1});
        });
        detail::ScanPolygon(quad, TFillMode::fmAlternate, top, bottom,
                            [&](int32_t y, int32_t x0, int32_t x1) {
                                slow.push_back({y, x0, x1});
                            });
        ASSERT_EQ(fast, slow) << "trial " << trial << ": quad " << PointsText(quad) << " rows "
                              << top << " .. " << bottom;
    }
}

// A seeded dense polyline: x never turns back, many points per column, levels held and jumped
// (steps), noise, spikes, runs of repeated points, and points well outside the bitmap.
std::vector<TPoint> DenseSeries(std::mt19937& random, bool falling) {
    const int32_t count = 64 + static_cast<int32_t>(random() % 400);
    const int32_t x0 = -kOff + static_cast<int32_t>(random() % 40);
    const int32_t columns = std::min(kWidth + kOff, count / 2);
    const int32_t x1 = x0 + 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(columns));
    std::vector<TPoint> points;
    int32_t level = static_cast<int32_t>(random() % kHeight);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = x0 + static_cast<int32_t>(int64_t{i} * (x1 - x0) / count);
        int32_t y = level;
        switch (random() % 6) {
            case 0:
                level = static_cast<int32_t>(random() % kHeight);  // a step
                y = level;
                break;
            case 1:
                y = level + static_cast<int32_t>(random() % 5) - 2;  // noise
                break;
            case 2:
                y = (random() % 2 == 0) ? -kOff - 5 : kHeight + kOff;  // a spike out of sight
                break;
            default:
                break;
        }
        points.push_back({x, y});
    }
    if (falling) {
        for (TPoint& p : points) {
            p.X = kWidth - p.X;
        }
    }
    return points;
}

// Draws seeded dense polylines (pen widths 1 to 4, clipped or not) through Polyline and segment
// by segment, and expects the same pixels.
void ExpectDensePolylinesPaintTheirSegments(uint32_t seed, int trials) {
    std::mt19937 random(seed);
    TBitmap dense(kWidth, kHeight);
    TBitmap segments(kWidth, kHeight);
    for (int trial = 0; trial < trials; ++trial) {
        const std::vector<TPoint> points = DenseSeries(random, trial % 4 == 3);
        const int32_t width = 1 + trial % 4;
        const bool clipped = random() % 2 == 0;
        const uint32_t clipSeed = random();
        for (TBitmap* bitmap : {&dense, &segments}) {
            Noise(*bitmap, static_cast<uint32_t>(trial));
            std::mt19937 clipRandom(clipSeed);
            SetTrialClip(bitmap->Canvas(), clipped ? 1 : 0, clipRandom);
            bitmap->Canvas().Pen().SetWidth(width);
            bitmap->Canvas().Pen().SetColor(clBlue);
        }
        ASSERT_TRUE(detail::IsDensePolyline(points, width)) << "trial " << trial;
        dense.Canvas().Polyline(points);
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            segments.Canvas().MoveTo(points[i].X, points[i].Y);
            segments.Canvas().LineTo(points[i + 1].X, points[i + 1].Y);
        }
        ASSERT_TRUE(dense.Pixels() == segments.Pixels())
            << FirstDifference(dense, segments) << "; seed " << seed << " trial " << trial
            << ": Polyline(" << PointsText(points) << ") width " << width << " clip seed "
            << (clipped ? std::to_string(clipSeed) : "none");
    }
}

TEST(StrokeTest, DensePolylinesPaintWhatTheirSegmentsPaintOneByOne) {
    ExpectDensePolylinesPaintTheirSegments(31337, 1000);
}

// The painter's vector steps of every width this processor has (whole steps, the four-pixel
// rest and single pixels at the right) paint what the segments paint.
TEST(StrokeTest, EveryVectorStepOfTheDensePainterPaintsTheSamePixels) {
    struct TWidestAgain {
        ~TWidestAgain() { detail::ChooseDenseLanes(0); }
    } widestAgain;
    for (size_t lanes : {detail::kLanes, detail::kAvx2Lanes, detail::kAvx512Lanes}) {
        if (lanes > detail::WidestDenseLanes()) {
            continue;
        }
        SCOPED_TRACE("lanes " + std::to_string(lanes));
        detail::ChooseDenseLanes(lanes);
        ExpectDensePolylinesPaintTheirSegments(static_cast<uint32_t>(lanes) * 7919, 250);
    }
}

TEST(StrokeTest, OnlyPolylinesThatNeverTurnBackAndCrowdTheirColumnsAreDense) {
    std::vector<TPoint> crowded;
    for (int32_t i = 0; i < 100; ++i) {
        crowded.push_back({i / 4, i % 2 == 0 ? 3 : 20});
    }
    EXPECT_TRUE(detail::IsDensePolyline(crowded, 2));
    std::vector<TPoint> turning = crowded;
    turning[50].X = 0;
    EXPECT_FALSE(detail::IsDensePolyline(turning, 2));
    std::vector<TPoint> sparse = crowded;
    sparse.back().X = 500;
    EXPECT_FALSE(detail::IsDensePolyline(sparse, 2));
    EXPECT_FALSE(detail::IsDensePolyline(std::span(crowded).first(10), 2));
}

// A clip rectangle wholly above the bitmap leaves nothing to draw on: its intersection with
// the bitmap is empty, not turned round into rows above the first.
TEST(StrokeTest, AClipBesideTheBitmapClipsEverything) {
    TBitmap bitmap(kWidth, kHeight);
    Noise(bitmap, 1);
    const std::vector<uint32_t> before = bitmap.Pixels();
    TCanvas& canvas = bitmap.Canvas();
    canvas.SetClipRect(TRect(-4, -4, 24, -3));
    EXPECT_TRUE(canvas.DeviceClip().IsEmpty());
    canvas.Pen().SetWidth(3);
    const std::array<TPoint, 3> points = {TPoint{0, -10}, TPoint{20, 20}, TPoint{40, -10}};
    canvas.Polyline(points);
    canvas.Pen().SetWidth(1);
    canvas.Polyline(points);
    canvas.FillRect(TRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(bitmap.Pixels(), before);
}

}  // namespace
}  // namespace gfx
