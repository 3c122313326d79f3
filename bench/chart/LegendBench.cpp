// A paint of a chart whose legend lists 20 line series, against the same paint with the legend
// hidden: what the legend's texts, symbols and box cost.
#include <benchmark/benchmark.h>

#include <string>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace {

constexpr int32_t kSeries = 20;
constexpr int32_t kPointsPerSeries = 50;

void PaintWithLegend(benchmark::State& state, bool legendVisible) {
    classes::TComponent form(nullptr);
    auto* chart = new chart::TChart(&form);
    chart->SetBounds(0, 0, 768, 480);
    chart->SetView3D(false);
    chart->Legend().SetVisible(legendVisible);
    for (int32_t s = 0; s < kSeries; ++s) {
        auto* series = new chart::TLineSeries(&form);
        series->SetTitle("Series number " + std::to_string(s + 1));
        chart->AddSeries(series);
        for (int32_t i = 0; i < kPointsPerSeries; ++i) {
            series->AppendXY(i, (i * 7 + s * 13) % 100);
        }
    }
    chart->Paint();
    if (legendVisible && chart->Legend().LegendRows() != kSeries) {
        state.SkipWithError("the legend does not list every series");
    }
    for (auto _ : state) {
        chart->PartChanged();  // the buffer is stale: every paint draws everything
        chart->Paint();
        benchmark::DoNotOptimize(chart->Surface().Pixels().data());
    }
}

void BM_PaintChartWithALegendOf20Series(benchmark::State& state) {
    PaintWithLegend(state, true);
}
BENCHMARK(BM_PaintChartWithALegendOf20Series)->Unit(benchmark::kMillisecond);

void BM_PaintSameChartWithoutLegend(benchmark::State& state) {
    PaintWithLegend(state, false);
}
BENCHMARK(BM_PaintSameChartWithoutLegend)->Unit(benchmark::kMillisecond);

}  // namespace
