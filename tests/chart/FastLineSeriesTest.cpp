// The fast line series: one pen for the whole line, points on one pixel skipped, and the
// append without a repaint that changes exactly the pixels of the new segment.
#include "chart/series/FastLineSeries.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "chart/component/Chart.h"

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

// The same line drawn segment by segment, with move-to and line-to.
class TSegmentFastLine : public chart::TFastLineSeries {
  public:
    using TFastLineSeries::TFastLineSeries;

  protected:
    bool DrawsDense() const override { return false; }
};

// One seeded fast line (steps, noise, spikes, values beyond any pixel, runs on one pixel, X out
// of order when unordered) in a chart of its own, drawn one way or the other.
struct TFastLineCase {
    uint32_t Seed = 0;
    int32_t Points = 0;
    int32_t PenWidth = 1;
    bool Ordered = true;
    bool Zoomed = false;

    std::string Describe() const {
        std::ostringstream text;
        text << "TFastLineCase{" << Seed << ", " << Points << ", " << PenWidth << ", " << Ordered
             << ", " << Zoomed << "}";
        return text.str();
    }

    std::vector<uint32_t> Paint(bool segments) const {
        classes::TComponent form(nullptr);
        auto* chart = new chart::TChart(&form);
        chart->SetBounds(0, 0, 200, 110);
        chart->SetView3D(false);
        chart::TFastLineSeries* line =
            segments ? new TSegmentFastLine(&form) : new chart::TFastLineSeries(&form);
        line->SetSeriesColor(kRed);
        line->LinePen().SetWidth(PenWidth);
        if (!Ordered) {
            line->XValues().SetOrder(chart::TChartListOrder::loNone);
        }
        chart->AddSeries(line);
        std::mt19937 random(Seed);
        double x = 0;
        double level = 50;
        for (int32_t i = 0; i < Points; ++i) {
            x = Ordered ? x + (random() % 3) * 0.4 : static_cast<double>(random() % 1000);
            const uint32_t kind = random() % 30;
            if (kind < 4) {
                level = random() % 100;
            }
            const double y = kind < 12    ? level + (random() % 7) - 3.0
                             : kind < 14  ? (random() % 2 == 0 ? 500 : -400)
                             : kind == 14 ? 1e12
                                          : level;
            line->AppendXY(x, y);
        }
        if (Zoomed) {
            chart->BottomAxis().SetAxisRange(x * 0.25, x * 0.6);
            chart->LeftAxis().SetAxisRange(-10, 110);
        }
        chart->Paint();
        return chart->Surface().Pixels();
    }
};

TEST(FastLineSeriesTest, SeededLinesLookAsWhenDrawnSegmentBySegment) {
    std::mt19937 random(31337);
    for (int trial = 0; trial < 300; ++trial) {
        TFastLineCase c;
        c.Seed = random();
        c.Points = 2 + static_cast<int32_t>(random() % 600);
        c.PenWidth = 1 + trial % 4;
        c.Ordered = random() % 4 != 0;
        c.Zoomed = c.Ordered && random() % 2 == 0;
        ASSERT_EQ(c.Paint(false), c.Paint(true)) << "trial " << trial << ": " << c.Describe();
    }
}

TEST(FastLineSeriesTest, ALineOnOnePixelDrawsNothing) {
    for (int32_t width = 1; width <= 4; ++width) {
        support::TValueChart chart(40, 40);
        auto* line = new chart::TFastLineSeries(&chart);
        line->SetSeriesColor(kRed);
        line->LinePen().SetWidth(width);
        chart.AddSeries(line);
        for (int i = 0; i < 50; ++i) {
            line->AppendXY(20, 20);
        }
        chart.Paint();
        int32_t red = 0;
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                red += chart.Is(x, y, kRed) ? 1 : 0;
            }
        }
        EXPECT_EQ(red, 0) << "width " << width;
    }
}

}  // namespace
