// One frame of an animated zoom on the main window's keying chart after a one-hour run: the four
// side axes moved a third of the way towards the dragged span, then a full paint.
#include <benchmark/benchmark.h>

#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "chart/series/LineSeries.h"

namespace {

constexpr int32_t kTransitions = 30000;       // a one-hour run
constexpr double kTransitionSpacing = 120.0;  // milliseconds between transitions
constexpr gfx::TColor kLightCyan = 16777088;

void BM_AnimatedZoomFrameOfAnHourRun(benchmark::State& state) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(10, 16, 768, 249);
    chart1->SetColor(kLightCyan);
    chart1->SetView3D(false);
    chart1->Title().Text().Add("Morse waveform");
    auto* series1 = new chart::TLineSeries(&form);
    series1->SetSeriesColor(gfx::clBlue);
    series1->LinePen().SetWidth(2);
    chart1->AddSeries(series1);
    series1->AppendXY(0, 1.2);
    series1->AppendXY(0, -0.1);
    double level = 0;
    for (int32_t i = 1; i <= kTransitions; ++i) {
        series1->AppendXY(i * kTransitionSpacing, level);
        level = 1 - level;
        series1->AppendXY(i * kTransitionSpacing, level);
    }
    chart1->Paint();
    const double end = kTransitions * kTransitionSpacing;
    // The first step of a zoom into the first minute: a third of the way from the whole run.
    const double stepMaximum = end - (end - 60000.0) / chart::AnimatedZoomFactor;
    for (auto _ : state) {
        chart1->BottomAxis().SetAxisRange(0, stepMaximum);
        chart1->TopAxis().SetAxisRange(0, stepMaximum);
        chart1->LeftAxis().SetAxisRange(-0.1, 1.2);
        chart1->RightAxis().SetAxisRange(-0.1, 1.2);
        chart1->Paint();
        benchmark::DoNotOptimize(chart1->Surface().Pixels().data());
    }
}
BENCHMARK(BM_AnimatedZoomFrameOfAnHourRun)->Unit(benchmark::kMillisecond);

}  // namespace
