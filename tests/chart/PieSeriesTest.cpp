// The pie series on a 100 x 100 chart: slice edges at their computed angles (a point just
// inside and just outside each edge), rotation, the other slice, explosion, its legend of
// slices and the refused rotation.
#include "chart/series/PieSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "support/ValueChart.h"

namespace {

using chart::TPieSeries;

constexpr gfx::TColor kRed = 0x0000FF;
constexpr gfx::TColor kGreen = 0x00FF00;
constexpr gfx::TColor kBlue = 0xFF0000;
constexpr gfx::TColor kYellow = 0x00FFFF;
constexpr gfx::TColor kWhite = support::TValueChart::kWhite;

class PieSeriesTest : public ::testing::Test {
  protected:
    PieSeriesTest() {
        m_pie = new TPieSeries(&m_chart);
        m_pie->PiePen().SetVisible(false);
        m_pie->Marks().SetVisible(false);
        m_chart.AddSeries(m_pie);
    }
    // The pixel at radius r (pixels) and angle a (degrees, counter-clockwise from three
    // o'clock) from (cx, cy).
    bool At(double a, double r, gfx::TColor color, int32_t cx = 50, int32_t cy = 50) const {
        const double rad = a * std::numbers::pi / 180;
        const auto x = static_cast<int32_t>(std::lround(cx + r * std::cos(rad)));
        const auto y = static_cast<int32_t>(std::lround(cy - r * std::sin(rad)));
        return m_chart.Is(x, y, color);
    }
    support::TValueChart m_chart{100, 100};
    TPieSeries* m_pie;
};

TEST_F(PieSeriesTest, SlicesMeetAtTheirComputedAngles) {
    m_pie->AppendValue(1, "", kRed);
    m_pie->AppendValue(1, "", kGreen);
    m_pie->AppendValue(2, "", kBlue);
    EXPECT_FALSE(m_pie->UsesAxes());
    m_chart.Paint();
    // Red 0 .. 90 degrees, green 90 .. 180, blue 180 .. 360; probed 6 degrees either side of
    // each edge at 25 pixels from the centre (50, 50), so 2.6 pixels off the edge.
    EXPECT_TRUE(At(6, 25, kRed)) << m_chart.Picture();
    EXPECT_TRUE(At(-6, 25, kBlue));
    EXPECT_TRUE(At(84, 25, kRed));
    EXPECT_TRUE(At(96, 25, kGreen));
    EXPECT_TRUE(At(174, 25, kGreen));
    EXPECT_TRUE(At(186, 25, kBlue));
    // The circle's radius is half the chart: inside at 47, outside at 52 pixels.
    EXPECT_TRUE(At(45, 47, kRed));
    EXPECT_TRUE(At(45, 52, kWhite));

    // Rotated by 90 degrees every edge moves with it.
    m_pie->SetRotationAngle(90);
    m_chart.Paint();
    EXPECT_TRUE(At(96, 25, kRed)) << m_chart.Picture();
    EXPECT_TRUE(At(84, 25, kBlue));
    EXPECT_TRUE(At(174, 25, kRed));
    EXPECT_TRUE(At(186, 25, kGreen));
    EXPECT_TRUE(At(264, 25, kGreen));
    EXPECT_TRUE(At(276, 25, kBlue));
}

TEST_F(PieSeriesTest, SmallSlicesGoIntoTheOtherSliceLast) {
    m_pie->AppendValue(10, "ten", kRed);
    m_pie->AppendValue(1, "one", kYellow);
    m_pie->AppendValue(10, "ten too", kGreen);
    m_pie->AppendValue(1, "one too", kYellow);
    m_pie->OtherSlice().SetStyle(chart::TPieOtherStyle::poBelowPercent);
    m_pie->OtherSlice().SetValue(10);  // 1 of 22 is 4.5 %
    m_chart.Paint();
    // Red 0 .. 163.6, green 163.6 .. 327.3, other 327.3 .. 360 in grey.
    const gfx::TColor grey = 0x808080;
    EXPECT_TRUE(At(158, 25, kRed)) << m_chart.Picture();
    EXPECT_TRUE(At(169, 25, kGreen));
    EXPECT_TRUE(At(322, 25, kGreen));
    EXPECT_TRUE(At(333, 25, grey));
    EXPECT_TRUE(At(354, 25, grey));
    // The legend lists the drawn slices; the other slice by its text.
    ASSERT_EQ(m_pie->LegendItemCount(), 3);
    EXPECT_EQ(m_pie->LegendItemText(1, chart::TLegendTextStyle::ltsPlain), "ten too");
    EXPECT_EQ(m_pie->LegendItemText(2, chart::TLegendTextStyle::ltsPlain), "Other");
    EXPECT_EQ(m_pie->LegendToValueIndex(1), 2);
    EXPECT_EQ(m_pie->LegendToValueIndex(2), -1);
    EXPECT_EQ(m_pie->LegendItemText(1, chart::TLegendTextStyle::ltsRightValue), "ten too 10");
    EXPECT_EQ(m_pie->LegendItemColor(2), grey);
    // By value: below 5 goes too; nothing below 1 does.
    m_pie->OtherSlice().SetStyle(chart::TPieOtherStyle::poBelowValue);
    m_pie->OtherSlice().SetValue(1);
    EXPECT_EQ(m_pie->LegendItemCount(), 4);
}

TEST_F(PieSeriesTest, TheExplodedSliceMovesOutAndTheCircleShrinksToFit) {
    m_pie->AppendValue(1, "", kRed);
    m_pie->AppendValue(1, "", kGreen);
    m_pie->AppendValue(2, "", kBlue);
    m_pie->SetExplodeBiggest(20);
    m_chart.Paint();
    // Radius 50 x 100 / 120 = 41; blue (180 .. 360, middle 270) moves down by 20 % of 41,
    // 8 pixels: its centre is (50, 58), the others stay at (50, 50).
    EXPECT_EQ(m_pie->SliceXRadius(), 41);
    EXPECT_TRUE(m_chart.Is(50, 53, kWhite)) << m_chart.Picture();
    EXPECT_TRUE(m_chart.Is(50, 60, kBlue));
    EXPECT_TRUE(At(240, 39, kBlue, 50, 58));
    EXPECT_TRUE(At(240, 43, kWhite, 50, 58));
    EXPECT_TRUE(At(45, 39, kRed));
    EXPECT_TRUE(At(45, 44, kWhite));
    // A slice exploded by its own amount.
    m_pie->SetExplodeBiggest(0);
    m_pie->SetExplodedSlice(0, 50);
    m_chart.Paint();
    EXPECT_EQ(m_pie->SliceXRadius(), 33);
    EXPECT_TRUE(At(45, 5, kWhite)) << m_chart.Picture();
    EXPECT_TRUE(At(45, 20, kRed));
}

TEST_F(PieSeriesTest, RotationIsKeptWithinOneTurn) {
    try {
        m_pie->SetRotationAngle(-1);
        FAIL() << "no exception";
    } catch (const chart::PieException& e) {
        EXPECT_STREQ(e.what(), "Rotation Angle must be between 0 and 359 degrees");
    }
    EXPECT_EQ(m_pie->RotationAngle(), 0);
    m_pie->SetRotationAngle(370);
    EXPECT_EQ(m_pie->RotationAngle(), 10);
    EXPECT_DOUBLE_EQ(m_pie->RotationRadians(), 10 * std::numbers::pi / 180);
    // Created with each point coloured, marks 8 pixels out, values named "Pie".
    EXPECT_TRUE(m_pie->ColorEachPoint());
    EXPECT_EQ(m_pie->Marks().ArrowLength(), 8);
    EXPECT_EQ(m_pie->YValues().Name(), "Pie");
    EXPECT_EQ(m_pie->XValues().Name(), "");
    EXPECT_EQ(m_pie->OtherSlice().Text(), "Other");
}

// The legend's entries are taken once per paint; a change after the paint shows at once, even
// one that leaves the number of points as it was.
TEST(PieSeriesLegendTest, TheLegendFollowsAChangeMadeAfterThePaint) {
    chart::TChart chart(nullptr);
    chart.SetBounds(0, 0, 200, 150);
    chart.SetView3D(false);
    auto* pie = new TPieSeries(&chart);
    pie->Marks().SetVisible(false);
    chart.AddSeries(pie);
    pie->AppendValue(10, "ten", kRed);
    pie->AppendValue(10, "ten too", kGreen);
    pie->AppendValue(10, "ten again", kBlue);
    pie->OtherSlice().SetStyle(chart::TPieOtherStyle::poBelowPercent);
    pie->OtherSlice().SetValue(10);
    chart.Paint();
    ASSERT_EQ(pie->LegendItemCount(), 3);
    pie->PieValues().SetValueAt(1, 1);  // 1 of 21 is 4.8 %: into the other slice
    EXPECT_EQ(pie->LegendItemCount(), 3);
    EXPECT_EQ(pie->LegendToValueIndex(1), 2);
    EXPECT_EQ(pie->LegendItemText(2, chart::TLegendTextStyle::ltsPlain), "Other");
    EXPECT_EQ(pie->LegendItemColor(1), kBlue);
}

// Seeded pies of every kind, drawn in one batch and slice by slice through the device pie:
// random slice counts and values (zero, tiny and huge ones among them), exploded slices, the
// biggest one exploded, the other slice, patterns, pens, circled or not, rotation, chart
// sizes; every pixel of the chart must agree.
TEST(PieSeriesBatchTest, TheBatchOfSlicesDrawsTheDevicePiesPixels) {
    std::mt19937 random(2024);
    const auto pick = [&](int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(random);
    };
    for (int32_t round = 0; round < 120; ++round) {
        chart::TChart chart(nullptr);
        chart.SetBounds(0, 0, pick(60, 260), pick(50, 200));
        chart.SetView3D(false);
        chart.Legend().SetVisible(pick(0, 3) == 0);
        auto* pie = new TPieSeries(&chart);
        pie->Marks().SetVisible(false);
        chart.AddSeries(pie);
        const int32_t count = pick(1, 400);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t kind = pick(0, 9);
            const double value = kind == 0   ? 0.0
                                 : kind == 1 ? 1e-3
                                 : kind == 2 ? 2000.0
                                 : kind == 3 ? -pick(1, 50)
                                             : pick(1, 100);
            pie->AppendValue(value);
            if (pick(0, 20) == 0) {
                pie->SetExplodedSlice(i, pick(1, 60));
            }
        }
        pie->SetExplodeBiggest(pick(0, 2) == 0 ? pick(0, 40) : 0);
        pie->SetRotationAngle(pick(0, 359));
        pie->SetCircled(pick(0, 1) == 0);
        pie->SetUsePatterns(pick(0, 3) == 0);
        if (pick(0, 3) == 0) {
            pie->OtherSlice().SetStyle(chart::TPieOtherStyle::poBelowPercent);
            pie->OtherSlice().SetValue(pick(1, 5));
        }
        switch (pick(0, 4)) {
            case 0:
                pie->PiePen().SetVisible(false);
                break;
            case 1:
                pie->PiePen().SetWidth(pick(2, 3));
                break;
            case 2:
                pie->PiePen().SetStyle(gfx::TPenStyle::psDot);
                break;
            default:
                pie->PiePen().SetColor(static_cast<gfx::TColor>(random() & 0xFFFFFF));
                break;
        }
        chart.Paint();
        const std::vector<uint32_t> batch(chart.Surface().Pixels().begin(),
                                          chart.Surface().Pixels().end());
        pie->SetSliceBySlice(true);
        chart.PartChanged();
        chart.Paint();
        const std::vector<uint32_t> reference(chart.Surface().Pixels().begin(),
                                              chart.Surface().Pixels().end());
        ASSERT_EQ(batch.size(), reference.size());
        size_t differing = 0;
        for (size_t i = 0; i < batch.size(); ++i) {
            differing += batch[i] != reference[i] ? 1 : 0;
        }
        ASSERT_EQ(differing, 0u) << "round " << round << ": " << count << " slices";
    }
}

}  // namespace
