// A full paint of the main window's keying chart after a one-hour run: 60,002 points (the two
// level markers and 30,000 transitions of two points each) drawn as a two-pixel blue line.
#include <benchmark/benchmark.h>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace {

// Transitions of a one-hour run and the milliseconds between them.
constexpr int32_t kTransitions = 30000;
constexpr double kTransitionSpacing = 120.0;
constexpr gfx::TColor kLightCyan = 16777088;

void BM_PaintKeyingChartOfAnHourRun(benchmark::State& state) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(10, 16, 768, 249);
    chart1->SetColor(kLightCyan);
    chart1->SetView3D(false);
    chart1->Title().Text().Add("Morse waveform");
    chart1->Title().Font().SetHeight(-16);
    auto* series1 = new chart::TLineSeries(&form);
    series1->SetSeriesColor(gfx::clBlue);
    series1->LinePen().SetWidth(2);
    chart1->AddSeries(series1);
    // The level markers the program adds first, then the run.
    series1->AppendXY(0, 1.2);
    series1->AppendXY(0, -0.1);
    double level = 0;
    for (int32_t i = 1; i <= kTransitions; ++i) {
        const double time = i * kTransitionSpacing;
        series1->AppendXY(time, level);
        level = 1 - level;
        series1->AppendXY(time, level);
    }
    for (auto _ : state) {
        chart1->PartChanged();  // the buffer is stale: every paint draws everything
        chart1->Paint();
        benchmark::DoNotOptimize(chart1->Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * series1->PointCount());
}
BENCHMARK(BM_PaintKeyingChartOfAnHourRun)->Unit(benchmark::kMillisecond);

}  // namespace
