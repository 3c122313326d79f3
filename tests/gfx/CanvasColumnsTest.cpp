// Column and row runs set the pixels a one-pixel-wide (or -tall) fill sets, in the same colour:
// seeded random runs against the brush fill under rectangle and polygon clips, moved logical
// origins, monochrome bitmaps and coordinates far beyond the bitmap.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace gfx {
namespace {

constexpr int32_t kWidth = 40;
constexpr int32_t kHeight = 30;

// One seeded case: the clip and origin its runs are drawn under; Describe() reproduces it.
struct TColumnsCase {
    uint32_t Seed = 0;
    int32_t Clip = 0;  // 0 none, 1 a rectangle, 2 a polygon
    bool MovedOrigin = false;
    bool Monochrome = false;
    std::string Describe() const {
        std::ostringstream text;
        text << "TColumnsCase{" << Seed << ", " << Clip << ", " << MovedOrigin << ", " << Monochrome
             << "}";
        return text.str();
    }
};

// A bitmap with the case's clip and origin, filled with a pattern so that unset pixels show.
class TColumnsBitmap {
  public:
    explicit TColumnsBitmap(const TColumnsCase& c) : m_bitmap(kWidth, kHeight) {
        m_bitmap.SetMonochrome(c.Monochrome);
        TCanvas& canvas = m_bitmap.Canvas();
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                canvas.SetPixel(x, y, static_cast<TColor>((x * 7 + y * 13) % 251));
            }
        }
        if (c.MovedOrigin) {
            canvas.SetWindowOrg({5, -3});
        }
        if (c.Clip == 1) {
            canvas.SetClipRect(TRect(8, 2, 31, 25));
        } else if (c.Clip == 2) {
            const std::vector<TPoint> diamond = {{20, -2}, {42, 14}, {18, 33}, {3, 12}};
            canvas.SetClipPolygon(diamond);
        }
    }
    TCanvas& Canvas() { return m_bitmap.Canvas(); }
    const std::vector<uint32_t>& Pixels() const { return m_bitmap.Pixels(); }

  private:
    TBitmap m_bitmap;
};

TEST(CanvasColumnsTest, RunsSetThePixelsOfAOneColumnFill) {
    std::mt19937 random(1234);
    for (int32_t trial = 0; trial < 300; ++trial) {
        TColumnsCase c;
        c.Seed = random();
        c.Clip = static_cast<int32_t>(random() % 3);
        c.MovedOrigin = random() % 2 == 0;
        c.Monochrome = random() % 5 == 0;
        std::mt19937 runsRandom(c.Seed);
        std::vector<TColumnRun> runs;
        const int32_t count = 1 + static_cast<int32_t>(runsRandom() % 40);
        for (int32_t i = 0; i < count; ++i) {
            TColumnRun run;
            run.X = static_cast<int32_t>(runsRandom() % 60) - 10;
            run.Top = static_cast<int32_t>(runsRandom() % 50) - 10;
            run.Bottom = run.Top + static_cast<int32_t>(runsRandom() % 30) - 3;
            run.Color = i % 7 == 0 ? clBtnFace : static_cast<TColor>(runsRandom() & 0xFFFFFF);
            if (i % 11 == 0) {
                // Far beyond the bitmap, where a sum of coordinates could overflow.
                run.Top = -2'000'000'000;
                run.Bottom = 2'000'000'000;
            }
            runs.push_back(run);
        }
        TColumnsBitmap columns(c);
        columns.Canvas().FillColumns(runs);
        // The reference: each run as a brush fill one column wide, one after the other.
        TColumnsBitmap fills(c);
        TCanvas& canvas = fills.Canvas();
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        for (const TColumnRun& run : runs) {
            if (run.Top < run.Bottom) {
                canvas.Brush().SetColor(run.Color);
                canvas.FillRect(TRect(run.X, run.Top, run.X + 1, run.Bottom));
            }
        }
        ASSERT_EQ(columns.Pixels(), fills.Pixels()) << "trial " << trial << ": " << c.Describe();
    }
}

TEST(CanvasColumnsTest, RowRunsSetThePixelsOfAOneRowFill) {
    std::mt19937 random(4321);
    for (int32_t trial = 0; trial < 300; ++trial) {
        TColumnsCase c;
        c.Seed = random();
        c.Clip = static_cast<int32_t>(random() % 3);
        c.MovedOrigin = random() % 2 == 0;
        c.Monochrome = random() % 5 == 0;
        std::mt19937 runsRandom(c.Seed);
        std::vector<TRowRun> runs;
        const int32_t count = 1 + static_cast<int32_t>(runsRandom() % 40);
        for (int32_t i = 0; i < count; ++i) {
            TRowRun run;
            run.Y = static_cast<int32_t>(runsRandom() % 50) - 10;
            run.Left = static_cast<int32_t>(runsRandom() % 60) - 10;
            run.Right = run.Left + static_cast<int32_t>(runsRandom() % 30) - 3;
            run.Color = i % 7 == 0 ? clBtnFace : static_cast<TColor>(runsRandom() & 0xFFFFFF);
            if (i % 11 == 0) {
                // Far beyond the bitmap, where a sum of coordinates could overflow.
                run.Left = -2'000'000'000;
                run.Right = 2'000'000'000;
            }
            runs.push_back(run);
        }
        TColumnsBitmap columns(c);
        columns.Canvas().FillRows(runs);
        // The reference: each run as a brush fill one row tall, one after the other.
        TColumnsBitmap fills(c);
        TCanvas& canvas = fills.Canvas();
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        for (const TRowRun& run : runs) {
            if (run.Left < run.Right) {
                canvas.Brush().SetColor(run.Color);
                canvas.FillRect(TRect(run.Left, run.Y, run.Right, run.Y + 1));
            }
        }
        ASSERT_EQ(columns.Pixels(), fills.Pixels()) << "trial " << trial << ": " << c.Describe();
    }
}

}  // namespace
}  // namespace gfx
