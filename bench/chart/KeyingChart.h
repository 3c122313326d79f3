// Data of the chart benchmarks: seeded random points, and the main window's keying chart (768 x
// 249, the blue two-pixel line series) filled with a seeded run of key transitions.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace bench {

constexpr gfx::TColor kLightCyan = 16777088;
// Transitions of a one-hour and of a two-minute run.
constexpr int32_t kHourTransitions = 30000;
constexpr int32_t kTwoMinuteTransitions = 1000;

// Seeded random points over a width x height bitmap.
inline std::vector<gfx::TPoint> RandomPoints(size_t count, int32_t width, int32_t height) {
    std::mt19937 random(1);
    std::uniform_int_distribution<int32_t> x(0, width - 1);
    std::uniform_int_distribution<int32_t> y(0, height - 1);
    std::vector<gfx::TPoint> points(count);
    for (gfx::TPoint& p : points) {
        p = {x(random), y(random)};
    }
    return points;
}

// The chart and its series, owned by the form.
struct TKeyingChart {
    classes::TComponent Form{nullptr};
    chart::TChart* Chart1 = nullptr;
    chart::TLineSeries* Series1 = nullptr;
};

// Appends the points a run of the given transitions gives: the two level markers, the start at
// level 0, two points per transition (the old level, then the new one) and the end. Transition
// spacing: seeded, 20 to 220 ms (120 ms on average).
inline void AppendKeyingRun(chart::TChartSeries& series, int32_t transitions) {
    series.AppendXY(0, 1.2);
    series.AppendXY(0, -0.1);
    series.AppendXY(0, 0);
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> spacing(20, 220);
    double time = 100;
    int32_t level = 0;
    for (int32_t i = 0; i < transitions; ++i) {
        series.AppendXY(time, level);
        level = 1 - level;
        series.AppendXY(time, level);
        time += spacing(random);
    }
    series.AppendXY(time + 100, 0);
}

// Builds the main window's chart with the points of a run (AppendKeyingRun).
inline void MakeKeyingChart(TKeyingChart& k, int32_t transitions) {
    k.Chart1 = new chart::TChart(&k.Form);
    k.Chart1->SetBounds(10, 16, 768, 249);
    k.Chart1->SetColor(kLightCyan);
    k.Chart1->SetView3D(false);
    k.Chart1->Legend().SetVisible(false);  // as the main window's design data hides it
    k.Chart1->BackWall().Brush().SetColor(gfx::clWhite);
    k.Chart1->BackWall().Brush().SetStyle(gfx::TBrushStyle::bsClear);
    k.Chart1->Title().Text().Add("Morse waveform");
    k.Chart1->Title().Font().SetColor(gfx::clBlue);
    k.Chart1->Title().Font().SetHeight(-16);
    k.Series1 = new chart::TLineSeries(&k.Form);
    k.Series1->SetSeriesColor(gfx::clBlue);
    k.Series1->LinePen().SetWidth(2);
    k.Chart1->AddSeries(k.Series1);
    AppendKeyingRun(*k.Series1, transitions);
}

}  // namespace bench
