// Many rectangles in one call against Rectangle called for each in turn: seeded random
// rectangles (any corner order, empty, one or two pixels, beyond the bitmap) under random pens,
// brushes, clips and origins give the same pixels.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace gfx {
namespace {

constexpr int32_t kSize = 48;

// The settings of one seeded case; Describe() reproduces it.
struct TCase {
    uint32_t Seed = 0;
    TPenStyle PenStyle = TPenStyle::psSolid;
    int32_t PenWidth = 1;
    TPenMode PenMode = TPenMode::pmCopy;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    int32_t Clip = 0;      // 0 none, 1 a rectangle, 2 a polygon
    bool Shifted = false;  // the window origin moved
    std::string Describe() const {
        std::ostringstream text;
        text << "seed " << Seed << ", pen style " << static_cast<int>(PenStyle) << " width "
             << PenWidth << " mode " << static_cast<int>(PenMode) << ", brush "
             << static_cast<int>(BrushStyle) << ", clip " << Clip << ", shifted " << Shifted;
        return text.str();
    }
};

std::vector<TRect> RandomRects(std::mt19937& random) {
    std::uniform_int_distribution<int32_t> count(1, 40);
    std::uniform_int_distribution<int32_t> corner(-6, kSize + 6);
    std::uniform_int_distribution<int32_t> small(-2, 3);
    std::vector<TRect> rects(static_cast<size_t>(count(random)));
    for (TRect& r : rects) {
        r.Left = corner(random);
        r.Top = corner(random);
        // Mostly small ones (the pointers of a point series), some of any size and order.
        const bool tiny = random() % 3 != 0;
        r.Right = tiny ? r.Left + small(random) : corner(random);
        r.Bottom = tiny ? r.Top + small(random) : corner(random);
    }
    return rects;
}

void Prepare(TCanvas& canvas, const TCase& c, std::mt19937& colours) {
    canvas.Pen().SetStyle(c.PenStyle);
    canvas.Pen().SetWidth(c.PenWidth);
    canvas.Pen().SetMode(c.PenMode);
    canvas.Pen().SetColor(static_cast<TColor>(colours() & 0xFFFFFF));
    canvas.Brush().SetStyle(c.BrushStyle);
    canvas.Brush().SetColor(static_cast<TColor>(colours() & 0xFFFFFF));
    if (c.Shifted) {
        canvas.SetWindowOrg({3, -2});
    }
    if (c.Clip == 1) {
        canvas.SetClipRect(TRect(5, 7, 40, 33));
    } else if (c.Clip == 2) {
        const TPoint corners[] = {{2, 20}, {24, 1}, {46, 22}, {20, 45}};
        canvas.SetClipPolygon(corners);
    }
}

TEST(CanvasRectanglesTest, ManyRectanglesMatchRectangleOneByOneOnSeededRandomCases) {
    const TPenStyle penStyles[] = {TPenStyle::psSolid, TPenStyle::psInsideFrame, TPenStyle::psClear,
                                   TPenStyle::psDash};
    const TBrushStyle brushStyles[] = {TBrushStyle::bsSolid, TBrushStyle::bsClear,
                                       TBrushStyle::bsCross};
    std::mt19937 random(24);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        TCase c;
        c.Seed = seed;
        c.PenStyle = penStyles[random() % 4];
        c.PenWidth = random() % 4 == 0 ? static_cast<int32_t>(random() % 4) : 1;
        c.PenMode = random() % 5 == 0 ? TPenMode::pmXor : TPenMode::pmCopy;
        c.BrushStyle = brushStyles[random() % 3];
        c.Clip = static_cast<int32_t>(random() % 3);
        c.Shifted = random() % 4 == 0;
        std::mt19937 shapes(seed);
        const std::vector<TRect> rects = RandomRects(shapes);

        TBitmap batched(kSize, kSize);
        TBitmap single(kSize, kSize);
        // A noisy ground shows every pixel written, whatever its colour.
        std::mt19937 ground(seed);
        for (int32_t y = 0; y < kSize; ++y) {
            for (int32_t x = 0; x < kSize; ++x) {
                batched.ScanLine(y)[x] = single.ScanLine(y)[x] = ground() & 0xFFFFFF;
            }
        }
        std::mt19937 colours(seed);
        Prepare(batched.Canvas(), c, colours);
        colours.seed(seed);
        Prepare(single.Canvas(), c, colours);
        batched.Canvas().Rectangles(rects);
        for (const TRect& r : rects) {
            single.Canvas().Rectangle(r);
        }
        for (int32_t y = 0; y < kSize; ++y) {
            for (int32_t x = 0; x < kSize; ++x) {
                ASSERT_EQ(batched.ScanLine(y)[x], single.ScanLine(y)[x])
                    << "pixel (" << x << ", " << y << ") of " << c.Describe();
            }
        }
    }
}

}  // namespace
}  // namespace gfx
