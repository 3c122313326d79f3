// One frame of an animated zoom on the main window's keying chart after a one-hour run: the four
// side axes moved a third of the way from the whole run towards its first minute, then a full
// paint.
#include <benchmark/benchmark.h>

#include "KeyingChart.h"
#include "chart/engine/Axis.h"

namespace {

void BM_AnimatedZoomFrameOfAnHourRun(benchmark::State& state) {
    bench::TKeyingChart k;
    bench::MakeKeyingChart(k, bench::kHourTransitions);
    k.Chart1->Paint();
    const double end = k.Series1->XValues().MaximumValue();
    const double stepMaximum = end - (end - 60000.0) / chart::AnimatedZoomFactor;
    for (auto _ : state) {
        k.Chart1->BottomAxis().SetAxisRange(0, stepMaximum);
        k.Chart1->TopAxis().SetAxisRange(0, stepMaximum);
        k.Chart1->LeftAxis().SetAxisRange(-0.1, 1.2);
        k.Chart1->RightAxis().SetAxisRange(-0.1, 1.2);
        k.Chart1->Paint();
        benchmark::DoNotOptimize(k.Chart1->Surface().Pixels().data());
    }
}
BENCHMARK(BM_AnimatedZoomFrameOfAnHourRun)->Unit(benchmark::kMicrosecond);

}  // namespace
