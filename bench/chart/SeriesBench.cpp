// Feeding a series the points of a one-hour keying run (30,000 transitions, two points each, in
// ascending time) and clearing it again.
#include <benchmark/benchmark.h>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace {

// Points of a one-hour run: each key transition gives two points at the same time.
constexpr int32_t kRunPoints = 60000;
// Milliseconds between transitions of the simulated run.
constexpr double kTransitionSpacing = 120.0;

void FeedRun(chart::TChartSeries& series) {
    double level = 0;
    for (int32_t i = 0; i < kRunPoints / 2; ++i) {
        const double time = i * kTransitionSpacing;
        series.AppendXY(time, level);
        level = 1 - level;
        series.AppendXY(time, level);
    }
}

void BM_AppendRunInTimeOrder(benchmark::State& state) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    auto* series1 = new chart::TLineSeries(&form);
    series1->SetParentChart(chart1);
    for (auto _ : state) {
        state.PauseTiming();
        series1->ClearPoints();
        state.ResumeTiming();
        FeedRun(*series1);
        benchmark::DoNotOptimize(series1->PointCount());
    }
    state.SetItemsProcessed(state.iterations() * kRunPoints);
}
BENCHMARK(BM_AppendRunInTimeOrder)->Unit(benchmark::kMillisecond);

void BM_ClearPointsOfRun(benchmark::State& state) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    auto* series1 = new chart::TLineSeries(&form);
    series1->SetParentChart(chart1);
    for (auto _ : state) {
        state.PauseTiming();
        FeedRun(*series1);
        state.ResumeTiming();
        series1->ClearPoints();
        benchmark::DoNotOptimize(series1->PointCount());
    }
}
BENCHMARK(BM_ClearPointsOfRun)->Unit(benchmark::kMicrosecond);

}  // namespace
