// The fast line series: one pen for the whole line, points on one pixel skipped, and the
// append without a repaint that changes exactly the pixels of the new segment.
#include "chart/series/FastLineSeries.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/Bitmap.h"
#include "support/ValueChart.h"

namespace {

constexpr gfx::TColor kRed = 0x0000FF;
constexpr gfx::TColor kWhite = support::TValueChart::kWhite;

std::vector<gfx::TColorRef> Pixels(const support::TValueChart& chart, int32_t w, int32_t h) {
    std::vector<gfx::TColorRef> out;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            out.push_back(chart.Pixel(x, y));
        }
    }
    return out;
}

TEST(FastLineSeriesTest, AnAppendedPointDrawsOnlyItsSegment) {
    support::TValueChart chart(80, 60);
    auto* line = new chart::TFastLineSeries(&chart);
    line->SetSeriesColor(kRed);
    chart.AddSeries(line);
    line->AppendXY(5, 10);
    line->AppendXY(30, 40);
    line->AppendXY(50, 20);
    chart.Paint();
    const int64_t requests = chart.RepaintRequestCount();
    const std::vector<gfx::TColorRef> before = Pixels(chart, 80, 60);

    line->SetAutoRepaint(false);
    line->AppendXY(75, 55);
    EXPECT_EQ(chart.RepaintRequestCount(), requests);
    const std::vector<gfx::TColorRef> after = Pixels(chart, 80, 60);

    // What a plain move and line from (50, 60 - 20) to (75, 60 - 55) paints on a blank bitmap.
    gfx::TBitmap reference(80, 60);
    reference.Canvas().Brush().SetColor(kWhite);
    reference.Canvas().FillRect({0, 0, 80, 60});
    reference.Canvas().Pen().SetColor(kRed);
    reference.Canvas().MoveTo(50, 40);
    reference.Canvas().LineTo(75, 5);
    int32_t changed = 0;
    for (int32_t y = 0; y < 60; ++y) {
        for (int32_t x = 0; x < 80; ++x) {
            const size_t k = static_cast<size_t>(y * 80 + x);
            const bool inSegment = reference.Canvas().Pixel(x, y) == gfx::ColorToRGB(kRed);
            if (inSegment) {
                EXPECT_EQ(after[k], gfx::ColorToRGB(kRed)) << x << "," << y;
            } else {
                EXPECT_EQ(after[k], before[k])
                    << "changed outside the segment at " << x << "," << y;
            }
            changed += after[k] != before[k] ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 20);

    // A repaint draws the whole line, the new segment included, the same way.
    chart.Paint();
    const std::vector<gfx::TColorRef> repainted = Pixels(chart, 80, 60);
    for (size_t k = 0; k < after.size(); ++k) {
        EXPECT_EQ(repainted[k], after[k]) << "at " << k % 80 << "," << k / 80;
    }
}

TEST(FastLineSeriesTest, TheWholeLineTakesOnePenAndSkipsRepeatedPixels) {
    support::TValueChart chart(40, 40);
    auto* line = new chart::TFastLineSeries(&chart);
    line->SetSeriesColor(kRed);
    chart.AddSeries(line);
    line->AppendXY(5, 30, "", gfx::clBlue);  // point colours are not used
    line->AppendXY(20, 30);
    line->AppendXY(20.3, 29.8);  // the same pixel
    line->AppendXY(35, 30);
    line->LinePen().SetWidth(1);
    chart.Paint();
    int32_t red = 0;
    for (int32_t x = 0; x < 40; ++x) {
        red += chart.Is(x, 10, kRed) ? 1 : 0;
    }
    // One run from 5 to 34: the end pixel of a line is never drawn.
    EXPECT_EQ(red, 30) << chart.Picture();
    EXPECT_TRUE(chart.Is(5, 10, kRed));
    EXPECT_TRUE(chart.Is(34, 10, kRed));
    EXPECT_TRUE(line->IncludePointBeyondEnd());
    EXPECT_FALSE(line->SinglePointResult());
}

}  // namespace
