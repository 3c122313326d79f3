// Full paints of the main window's keying chart after a one-hour run (30,000 transitions,
// 60,004 points), a two-minute run (1,000 transitions) and no run (what the rest of the chart
// costs), and a repaint from the buffer.
#include <benchmark/benchmark.h>

#include "KeyingChart.h"

namespace {

void BM_KeyingChartPaint(benchmark::State& state) {
    bench::TKeyingChart k;
    bench::MakeKeyingChart(k, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        k.Chart1->PartChanged();  // the buffer is stale: every paint draws everything
        k.Chart1->Paint();
        benchmark::DoNotOptimize(k.Chart1->Surface().Pixels().data());
    }
    state.counters["points"] = k.Series1->PointCount();
}
BENCHMARK(BM_KeyingChartPaint)
    ->Arg(bench::kHourTransitions)
    ->Arg(bench::kTwoMinuteTransitions)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);

void BM_KeyingChartRepaintFromBuffer(benchmark::State& state) {
    bench::TKeyingChart k;
    bench::MakeKeyingChart(k, bench::kHourTransitions);
    k.Chart1->Paint();
    for (auto _ : state) {
        k.Chart1->Paint();  // nothing changed: served from the buffer
        benchmark::DoNotOptimize(k.Chart1->Surface().Pixels().data());
    }
}
BENCHMARK(BM_KeyingChartRepaintFromBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace
