// A line series over more points than plot columns, drawn as polylines, against the same series
// drawn point by point: seeded random series (steps, noise, spikes, nulls, points beyond the
// plot and beyond the device's range, stairs, own colours, pen widths 1 to 4) and keying runs
// give the same picture and leave the canvas in the same state.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"
#include "support/CanvasState.h"

namespace chart {
namespace {

// The same series drawn point by point, the general path.
class TPointByPointSeries : public TLineSeries {
  public:
    using TLineSeries::TLineSeries;
    void DrawPoints() override { TChartSeries::DrawPoints(); }
};

using testsupport::TCanvasState;

// The settings of one seeded case; Describe() reproduces it.
struct TCase {
    uint32_t Seed = 0;
    int32_t Points = 0;
    int32_t PenWidth = 1;
    bool Stairs = false;
    bool InvertedStairs = false;
    bool ZoomedX = false;  // the bottom axis shows a part of the X range
    bool ZoomedY = false;  // the left axis cuts the spikes off
    bool Plain = false;    // no nulls, no colours of their own, nothing beyond the pixel range
    // The first points at +-1e6 on a left axis fixed to 0 .. 100: tens of thousands of plot
    // heights away, far beyond the device's pixel range.
    int32_t LeadingBeyond = 0;
    std::string Describe() const {
        std::ostringstream text;
        text << "TCase{" << Seed << ", " << Points << ", " << PenWidth << ", " << Stairs << ", "
             << InvertedStairs << ", " << ZoomedX << ", " << ZoomedY << ", " << Plain << ", "
             << LeadingBeyond << "}";
        return text.str();
    }
};

// A chart like the main window's, smaller, with the case's series in it.
class TCaseChart {
  public:
    TCaseChart(const TCase& c, bool pointByPoint) {
        m_chart = new TChart(&m_form);
        m_chart->SetBounds(0, 0, 240, 120);
        m_chart->SetView3D(false);
        m_series = pointByPoint ? new TPointByPointSeries(&m_form) : new TLineSeries(&m_form);
        m_series->SetSeriesColor(gfx::clBlue);
        m_series->LinePen().SetWidth(c.PenWidth);
        m_series->SetStairs(c.Stairs);
        m_series->SetInvertedStairs(c.InvertedStairs);
        m_chart->AddSeries(m_series);
        m_series->SetAfterDrawValues(
            [this](TChartSeries&) { m_state = testsupport::CanvasStateOf(m_chart->Canvas()); });
        Fill(c);
        if (c.ZoomedX) {
            m_chart->BottomAxis().SetAxisRange(c.Points * 0.2, c.Points * 0.7);
        }
        if (c.ZoomedY) {
            m_chart->LeftAxis().SetAxisRange(-20, 120);
        }
        if (c.LeadingBeyond > 0) {
            m_chart->LeftAxis().SetAxisRange(0, 100);
        }
    }

    const std::vector<uint32_t>& Paint() {
        m_chart->Paint();
        return m_chart->Surface().Pixels();
    }
    const TCanvasState& State() const { return m_state; }

  private:
    void Fill(const TCase& c) {
        std::mt19937 random(c.Seed);
        double level = 50;
        double x = 0;
        for (int32_t i = 0; i < c.Points; ++i) {
            // X never decreases; about half the points share the X before them.
            if (random() % 2 == 0) {
                x += 0.5 + (random() % 100) * 0.01;
            }
            double y = level;
            uint32_t kind = random() % 40;
            if (c.Plain && kind >= 18 && kind <= 20) {
                kind = 40;
            }
            if (kind < 6) {
                level = random() % 100;  // a step
                y = level;
            } else if (kind < 16) {
                y = level + (random() % 9) - 4.0;  // noise
            } else if (kind < 18) {
                y = (random() % 2 == 0) ? 400 : -300;  // a spike
            } else if (kind == 18) {
                y = 1e12;  // beyond the device's pixel range
            }
            if (i < c.LeadingBeyond) {
                y = random() % 2 == 0 ? 1e6 : -1e6;
            }
            if (kind == 19) {
                m_series->AppendNullXY(x, y);
            } else if (kind == 20) {
                m_series->AppendXY(x, y, "", gfx::clRed);  // a colour of its own
            } else {
                m_series->AppendXY(x, y);
            }
        }
    }

    classes::TComponent m_form{nullptr};
    TChart* m_chart = nullptr;
    TLineSeries* m_series = nullptr;
    TCanvasState m_state;
};

TEST(DenseLineTest, DenseSeriesLookAsWhenDrawnPointByPoint) {
    std::mt19937 random(4711);
    for (int trial = 0; trial < 1000; ++trial) {
        TCase c;
        c.Seed = random();
        c.Points = 250 + static_cast<int32_t>(random() % 500);
        c.PenWidth = 1 + trial % 4;
        c.Stairs = random() % 5 == 0;
        c.InvertedStairs = c.Stairs && random() % 2 == 0;
        c.ZoomedX = random() % 3 == 0;
        c.ZoomedY = random() % 3 == 0;
        TCaseChart dense(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(dense.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(dense.State(), general.State()) << "trial " << trial << ": " << c.Describe();
    }
}

TEST(DenseLineTest, PlainDenseSeriesLookAsWhenDrawnPointByPoint) {
    // One colour and every point in the pixel range: the whole line is one polyline.
    std::mt19937 random(1913);
    for (int trial = 0; trial < 300; ++trial) {
        TCase c;
        c.Seed = random();
        c.Points = 250 + static_cast<int32_t>(random() % 500);
        c.PenWidth = 1 + trial % 4;
        c.ZoomedX = random() % 2 == 0;
        c.ZoomedY = random() % 3 == 0;
        c.Plain = true;
        TCaseChart dense(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(dense.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(dense.State(), general.State()) << "trial " << trial << ": " << c.Describe();
        // Painted again: what the first paint left behind changes nothing.
        ASSERT_EQ(dense.Paint(), general.Paint())
            << "again, trial " << trial << ": " << c.Describe();
    }
}

TEST(DenseLineTest, FirstPointsBeyondThePixelRangeDrawNoSegmentFromAnEarlierPaint) {
    // The first visible points map beyond +-32,767 pixels; the line starts at the first point
    // in range, in every paint: a second paint is the first one again, on both paths.
    std::mt19937 random(2718);
    for (int trial = 0; trial < 300; ++trial) {
        TCase c;
        c.Seed = random();
        c.Points = trial == 0 ? 600 : 250 + static_cast<int32_t>(random() % 500);
        c.PenWidth = trial == 0 ? 1 : 1 + trial % 4;
        c.Stairs = trial > 0 && random() % 5 == 0;
        c.InvertedStairs = c.Stairs && random() % 2 == 0;
        c.Plain = trial % 2 == 0;
        c.LeadingBeyond = trial == 0 ? 1 : 1 + static_cast<int32_t>(random() % 3);
        TCaseChart dense(c, false);
        TCaseChart general(c, true);
        const std::vector<uint32_t> first = general.Paint();
        ASSERT_EQ(dense.Paint(), first) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(general.Paint(), first) << "again, trial " << trial << ": " << c.Describe();
        ASSERT_EQ(dense.Paint(), first) << "again, trial " << trial << ": " << c.Describe();
        ASSERT_EQ(dense.State(), general.State()) << "trial " << trial << ": " << c.Describe();
    }
}

TEST(DenseLineTest, FlatAndOnePlaceLinesLookAsWhenDrawnPointByPoint) {
    // Every point on one row; then every point in one place, which draws nothing.
    for (const double spread : {1.0, 0.0}) {
        for (int32_t width = 1; width <= 4; ++width) {
            classes::TComponent form(nullptr);
            std::vector<uint32_t> pictures[2];
            for (int route = 0; route < 2; ++route) {
                auto* chart = new TChart(&form);
                chart->SetBounds(0, 0, 200, 100);
                chart->SetView3D(false);
                TLineSeries* series =
                    route == 0 ? new TLineSeries(&form) : new TPointByPointSeries(&form);
                series->LinePen().SetWidth(width);
                chart->AddSeries(series);
                for (int i = 0; i < 600; ++i) {
                    series->AppendXY(i * spread, 7);
                }
                chart->LeftAxis().SetAxisRange(0, 10);
                chart->Paint();
                pictures[route] = chart->Surface().Pixels();
            }
            EXPECT_EQ(pictures[0], pictures[1]) << "spread " << spread << ", width " << width;
        }
    }
}

TEST(DenseLineTest, DenseLineWithItsAreaOnKeepsTheArea) {
    // The polylines carry no area: a line series with its area on over more points than
    // columns is filled down to the axis as when drawn point by point.
    classes::TComponent form(nullptr);
    std::vector<uint32_t> pictures[2];
    for (int route = 0; route < 2; ++route) {
        auto* chart = new TChart(&form);
        chart->SetBounds(0, 0, 200, 100);
        chart->SetView3D(false);
        TLineSeries* series = route == 0 ? new TLineSeries(&form) : new TPointByPointSeries(&form);
        series->SetSeriesColor(gfx::clBlue);
        series->SetDrawArea(true);
        series->AreaLinesPen().SetVisible(false);
        chart->AddSeries(series);
        for (int i = 0; i < 600; ++i) {
            series->AppendXY(i, 5 + (i % 7));
        }
        chart->LeftAxis().SetAxisRange(0, 20);
        chart->Paint();
        pictures[route] = chart->Surface().Pixels();
        // Filled: just above the axis, in the middle of the plot, is the area's colour.
        const gfx::TRect plot = chart->PlotRect();
        EXPECT_EQ(
            chart->Canvas().ReferenceCanvas().Pixel((plot.Left + plot.Right) / 2, plot.Bottom - 3),
            gfx::clBlue)
            << "route " << route;
    }
    EXPECT_EQ(pictures[0], pictures[1]);
}

// A kind derived from the line series that colours its points itself and names no class of its
// own.
class TShadedSeries : public TLineSeries {
  public:
    using TLineSeries::TLineSeries;
    gfx::TColor PointColor(int32_t index) const override {
        return index % 2 == 0 ? gfx::clRed : gfx::clGreen;
    }
};

TEST(DenseLineTest, DerivedKindsDrawTheirOwnPointColours) {
    classes::TComponent form(nullptr);
    auto* chart = new TChart(&form);
    chart->SetBounds(0, 0, 200, 100);
    chart->SetView3D(false);
    auto* series = new TShadedSeries(&form);
    series->SetSeriesColor(gfx::clBlue);
    chart->AddSeries(series);
    for (int i = 0; i < 600; ++i) {
        series->AppendXY(i, i % 7);
    }
    chart->Paint();
    const std::vector<uint32_t>& pixels = chart->Surface().Pixels();
    const auto count = [&](gfx::TColor color) {
        return std::count(pixels.begin(), pixels.end(), gfx::ColorToRGB(color));
    };
    EXPECT_EQ(count(gfx::clBlue), 0);
    EXPECT_GT(count(gfx::clRed), 0);
    EXPECT_GT(count(gfx::clGreen), 0);
}

// The main window's chart and series after a keying run of the given transitions.
void FillKeying(TChart& chart1, TLineSeries& series1, int32_t transitions, uint32_t seed) {
    chart1.SetBounds(10, 16, 768, 249);
    chart1.SetView3D(false);
    chart1.Title().Text().Add("Morse waveform");
    series1.SetSeriesColor(gfx::clBlue);
    series1.LinePen().SetWidth(2);
    chart1.AddSeries(&series1);
    series1.AppendXY(0, 1.2);
    series1.AppendXY(0, -0.1);
    series1.AppendXY(0, 0);
    std::mt19937 random(seed);
    double time = 100;
    int32_t level = 0;
    for (int32_t i = 0; i < transitions; ++i) {
        series1.AppendXY(time, level);
        level = 1 - level;
        series1.AppendXY(time, level);
        time += 20 + random() % 200;
    }
    series1.AppendXY(time + 100, 0);
}

TEST(DenseLineTest, KeyingRunsLookAsWhenDrawnPointByPoint) {
    for (const int32_t transitions : {1000, 30000}) {
        classes::TComponent form(nullptr);
        auto* denseChart = new TChart(&form);
        auto* generalChart = new TChart(&form);
        FillKeying(*denseChart, *new TLineSeries(&form), transitions, 5);
        FillKeying(*generalChart, *new TPointByPointSeries(&form), transitions, 5);
        denseChart->Paint();
        generalChart->Paint();
        EXPECT_EQ(denseChart->Surface().Pixels(), generalChart->Surface().Pixels())
            << transitions << " transitions";
        // Zoomed into the middle: the line enters at the left edge and leaves at the right.
        for (TChart* chart : {denseChart, generalChart}) {
            chart->BottomAxis().SetAxisRange(transitions * 30.0, transitions * 60.0);
            chart->Paint();
        }
        EXPECT_EQ(denseChart->Surface().Pixels(), generalChart->Surface().Pixels())
            << transitions << " transitions, zoomed";
    }
}

}  // namespace
}  // namespace chart
