// Bar series drawn merged column by column (row by row when horizontal) against the same series
// drawn bar by bar: seeded random charts (vertical and horizontal, counts from a few to more bars
// than columns, negative values, points of their own colour and null points, pens of widths 0 to 2
// and other styles, solid, clear and hatched brushes, side-by-side and stacked groups, offsets,
// fixed widths, zoomed and scrolled views, clipped or not, flat and 3D) give the same picture and
// leave the canvas in the same state.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "chart/component/Chart.h"
#include "chart/series/BarSeries.h"
#include "support/CanvasState.h"

namespace chart {
namespace {

// The same series drawn bar by bar, the general path.
template <class TKind>
class TBarByBar : public TKind {
  public:
    using TKind::TKind;
    void DrawPoints() override { TChartSeries::DrawPoints(); }
};

using testsupport::TCanvasState;

// The settings of one seeded case; Describe() reproduces it.
struct TCase {
    uint32_t Seed = 0;
    int32_t Bars = 0;
    int32_t Series = 1;  // 1 .. 3
    TMultiBar Multi = TMultiBar::mbSide;
    bool PenVisible = true;
    int32_t PenWidth = 1;  // 0 .. 2
    gfx::TPenStyle PenStyle = gfx::TPenStyle::psSolid;
    gfx::TBrushStyle BrushStyle = gfx::TBrushStyle::bsSolid;
    bool OwnBrushColor = false;
    bool Negative = false;    // values around zero
    bool OwnColours = false;  // some points of a colour of their own, some null
    int32_t CustomWidth = 0;  // pixels; 0 = from the percentage
    int32_t WidthPercent = 70;
    int32_t OffsetPercent = 0;
    bool Zoomed = false;  // the axes show a part of the bars, scrolled
    bool ClipPoints = true;
    bool View3D = false;
    bool Horizontal = false;
    int32_t Depth3D = 15;  // percent of the plot
    bool Rotated = false;  // a rotated view instead of the oblique one
    bool Dark3D = true;
    std::string Describe() const {
        std::ostringstream text;
        text << "TCase{" << Seed << ", " << Bars << ", " << Series << ", "
             << static_cast<int>(Multi) << ", " << PenVisible << ", " << PenWidth << ", "
             << static_cast<int>(PenStyle) << ", " << static_cast<int>(BrushStyle) << ", "
             << OwnBrushColor << ", " << Negative << ", " << OwnColours << ", " << CustomWidth
             << ", " << WidthPercent << ", " << OffsetPercent << ", " << Zoomed << ", "
             << ClipPoints << ", " << View3D << ", " << Depth3D << ", " << Rotated << ", " << Dark3D
             << ", " << Horizontal << "}";
        return text.str();
    }
};

TCase RandomCase(std::mt19937& random, int32_t maxBars) {
    TCase c;
    c.Seed = random();
    c.Bars = 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(maxBars));
    c.Series = 1 + static_cast<int32_t>(random() % 3);
    c.Multi = static_cast<TMultiBar>(random() % 4);
    c.PenVisible = random() % 4 != 0;
    c.PenWidth = static_cast<int32_t>(random() % 5 == 0 ? 2 : random() % 2);
    c.PenStyle = random() % 6 == 0 ? gfx::TPenStyle::psDash : gfx::TPenStyle::psSolid;
    const uint32_t brush = random() % 8;
    c.BrushStyle = brush == 0   ? gfx::TBrushStyle::bsClear
                   : brush == 1 ? gfx::TBrushStyle::bsDiagCross
                                : gfx::TBrushStyle::bsSolid;
    c.OwnBrushColor = random() % 5 == 0;
    c.Negative = random() % 3 == 0;
    c.OwnColours = random() % 3 == 0;
    c.CustomWidth = random() % 6 == 0 ? 1 + static_cast<int32_t>(random() % 12) : 0;
    c.WidthPercent = 1 + static_cast<int32_t>(random() % 100);
    c.OffsetPercent = random() % 4 == 0 ? static_cast<int32_t>(random() % 201) - 100 : 0;
    c.Zoomed = random() % 3 == 0;
    c.ClipPoints = random() % 5 != 0;
    return c;
}

// A chart with the case's bar series in it, merged or bar by bar.
class TCaseChart {
  public:
    TCaseChart(const TCase& c, bool barByBar) {
        m_chart = new TChart(&m_form);
        m_chart->SetBounds(0, 0, 240, 140);
        m_chart->SetView3D(c.View3D);
        m_chart->SetChart3DPercent(c.Depth3D);
        m_chart->View3DOptions().SetOrthogonal(!c.Rotated);
        m_chart->SetClipPoints(c.ClipPoints);
        std::mt19937 random(c.Seed);
        for (int32_t s = 0; s < c.Series; ++s) {
            TCustomBarSeries* bars = nullptr;
            if (c.Horizontal) {
                bars = barByBar ? new TBarByBar<THorizBarSeries>(&m_form)
                                : new THorizBarSeries(&m_form);
            } else {
                bars = barByBar ? new TBarByBar<TBarSeries>(&m_form) : new TBarSeries(&m_form);
            }
            m_series.push_back(bars);
            bars->Marks().SetVisible(false);
            bars->BarPen().SetVisible(c.PenVisible);
            bars->BarPen().SetWidth(c.PenWidth);
            bars->BarPen().SetStyle(c.PenStyle);
            bars->BarPen().SetColor(s == 1 ? gfx::clNavy : gfx::clBlack);
            bars->BarBrush().SetStyle(c.BrushStyle);
            if (c.OwnBrushColor) {
                bars->BarBrush().SetColor(gfx::clYellow);
            }
            bars->SetCustomBarSize(c.CustomWidth);
            bars->SetBarWidthPercent(c.WidthPercent);
            bars->SetOffsetPercent(c.OffsetPercent);
            bars->SetDark3D(c.Dark3D);
            m_chart->AddSeries(bars);
            bars->SetMultiBar(c.Multi);
            Fill(c, *bars, random);
        }
        m_series.back()->SetAfterDrawValues(
            [this](TChartSeries&) { m_state = testsupport::CanvasStateOf(m_chart->Canvas()); });
        if (c.Zoomed) {
            const double from = static_cast<double>(random() % static_cast<uint32_t>(c.Bars));
            TChartAxis& categories = c.Horizontal ? m_chart->LeftAxis() : m_chart->BottomAxis();
            TChartAxis& values = c.Horizontal ? m_chart->BottomAxis() : m_chart->LeftAxis();
            categories.SetAxisRange(from - 0.5, from + 1 + c.Bars * 0.3);
            values.SetAxisRange(-40, 60 + static_cast<double>(random() % 60));
        }
    }

    const std::vector<uint32_t>& Paint() {
        m_chart->Paint();
        return m_chart->Surface().Pixels();
    }
    const TCanvasState& State() const { return m_state; }
    // Whether the first series drew merged in the last paint.
    bool Merged() const { return m_series.front()->DrawsMerged(); }

  private:
    static void Fill(const TCase& c, TCustomBarSeries& bars, std::mt19937& random) {
        double level = 50;
        for (int32_t i = 0; i < c.Bars; ++i) {
            // A random walk with jumps: neighbours of the same height, taller and shorter.
            const uint32_t kind = random() % 10;
            if (kind < 2) {
                level = static_cast<double>(random() % 100);
            } else if (kind < 8) {
                level += static_cast<double>(random() % 9) - 4.0;
            }
            const double value = c.Negative ? level - 50 : level;
            const uint32_t own = c.OwnColours ? random() % 12 : 12;
            const double x = c.Horizontal ? value : i;
            const double y = c.Horizontal ? i : value;
            if (own == 0) {
                bars.AppendNullXY(x, y);
            } else if (own == 1) {
                bars.AppendXY(x, y, "", gfx::clRed);
            } else {
                bars.AppendXY(x, y);
            }
        }
    }

    classes::TComponent m_form{nullptr};
    TChart* m_chart = nullptr;
    std::vector<TCustomBarSeries*> m_series;
    TCanvasState m_state;
};

TEST(BarMergedTest, FlatBarsLookAsWhenDrawnBarByBar) {
    std::mt19937 random(8086);
    int32_t merged = 0;
    constexpr int32_t kTrials = 600;
    for (int32_t trial = 0; trial < kTrials; ++trial) {
        // Up to about four times as many bars as plot columns.
        TCase c = RandomCase(random, trial % 3 == 0 ? 20 : 900);
        c.Horizontal = trial % 4 == 3;
        TCaseChart fast(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(fast.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(fast.State(), general.State()) << "trial " << trial << ": " << c.Describe();
        // Painted again: what the first paint left behind changes nothing.
        ASSERT_EQ(fast.Paint(), general.Paint())
            << "again, trial " << trial << ": " << c.Describe();
        merged += fast.Merged() ? 1 : 0;
    }
    // Most cases take the merged path, the rest check that they fall back.
    EXPECT_GT(merged, kTrials / 3);
}

TEST(BarMergedTest, BarsIn3DLookAsWhenDrawnBarByBar) {
    // Boxes of every depth from a pixel or two to the whole plot's, merged or with the hidden ones
    // left out under the oblique projection, bar by bar in a rotated view.
    std::mt19937 random(6502);
    int32_t merged = 0;
    constexpr int32_t kTrials = 400;
    for (int32_t trial = 0; trial < kTrials; ++trial) {
        TCase c = RandomCase(random, trial % 3 == 0 ? 20 : 900);
        c.View3D = true;
        c.Depth3D = 1 + static_cast<int32_t>(random() % 100);
        c.Rotated = random() % 8 == 0;
        c.Dark3D = random() % 4 != 0;
        c.Horizontal = trial % 4 == 3;
        TCaseChart fast(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(fast.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(fast.State(), general.State()) << "trial " << trial << ": " << c.Describe();
        merged += fast.Merged() ? 1 : 0;
    }
    // About a third of the cases have a pen and brush that merge.
    EXPECT_GT(merged, kTrials / 5);
}

}  // namespace
}  // namespace chart
