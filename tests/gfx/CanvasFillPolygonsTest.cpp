// The fills of many polygons in one call against Polygon with a clear pen called for each in
// turn: seeded random polygons (three to seven corners, some of fewer, crossing themselves and
// one another, beyond the bitmap) under random brushes, pen modes, fill modes, clips and origins
// give the same pixels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace gfx {
namespace {

constexpr int32_t kSize = 48;

TEST(CanvasFillPolygonsTest, FillsMatchPolygonOneByOneOnSeededRandomCases) {
    const TBrushStyle brushStyles[] = {TBrushStyle::bsSolid, TBrushStyle::bsClear,
                                       TBrushStyle::bsDiagCross};
    std::mt19937 random(31);
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        const TBrushStyle brush = brushStyles[random() % 3];
        const TPenMode mode = random() % 4 == 0 ? TPenMode::pmXor : TPenMode::pmCopy;
        const TFillMode fill = random() % 3 == 0 ? TFillMode::fmWinding : TFillMode::fmAlternate;
        const uint32_t clip = random() % 3;
        const bool shifted = random() % 4 == 0;
        const bool opaque = random() % 2 == 0;
        std::mt19937 shapes(seed);
        std::uniform_int_distribution<int32_t> corner(-6, kSize + 6);
        std::vector<TPoint> points;
        std::vector<int32_t> counts(1 + shapes() % 12);
        for (int32_t& count : counts) {
            count = static_cast<int32_t>(shapes() % 8);
            for (int32_t i = 0; i < count; ++i) {
                points.push_back({corner(shapes), corner(shapes)});
            }
        }
        TBitmap batched(kSize, kSize);
        TBitmap single(kSize, kSize);
        // A noisy ground shows every pixel written, whatever its colour.
        std::mt19937 ground(seed);
        for (int32_t y = 0; y < kSize; ++y) {
            for (int32_t x = 0; x < kSize; ++x) {
                batched.ScanLine(y)[x] = single.ScanLine(y)[x] = ground() & 0xFFFFFF;
            }
        }
        for (TBitmap* bitmap : {&batched, &single}) {
            TCanvas& canvas = bitmap->Canvas();
            canvas.Pen().SetMode(mode);
            canvas.Brush().SetStyle(brush);
            canvas.Brush().SetColor(static_cast<TColor>(0x3366CC + seed));
            canvas.SetBackColor(clYellow);
            canvas.SetBackMode(opaque ? TBackMode::bmOpaque : TBackMode::bmTransparent);
            canvas.SetPolyFillMode(fill);
            if (shifted) {
                canvas.SetWindowOrg({3, -2});
            }
            if (clip == 1) {
                canvas.SetClipRect(TRect(5, 7, 40, 33));
            } else if (clip == 2) {
                const TPoint corners[] = {{2, 20}, {24, 1}, {46, 22}, {20, 45}};
                canvas.SetClipPolygon(corners);
            }
        }
        batched.Canvas().FillPolygons(points, counts);
        single.Canvas().Pen().SetStyle(TPenStyle::psClear);
        size_t at = 0;
        for (const int32_t count : counts) {
            single.Canvas().Polygon(std::span<const TPoint>(points).subspan(at, count));
            at += static_cast<size_t>(count);
        }
        for (int32_t y = 0; y < kSize; ++y) {
            for (int32_t x = 0; x < kSize; ++x) {
                ASSERT_EQ(batched.ScanLine(y)[x], single.ScanLine(y)[x])
                    << "pixel (" << x << ", " << y << "), seed " << seed;
            }
        }
    }
}

}  // namespace
}  // namespace gfx
