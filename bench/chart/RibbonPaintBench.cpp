// A full paint of a 3D chart whose line series of 2,000 points is drawn as ribbons, and as an
// area with its top ribbon and front faces, in the oblique view.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace {

constexpr int32_t kPoints = 2000;

void PaintRibbons(benchmark::State& state, bool area) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(0, 0, 768, 400);
    chart1->SetView3D(true);
    auto* series = new chart::TLineSeries(&form);
    series->SetSeriesColor(gfx::clBlue);
    series->SetDrawArea(area);
    chart1->AddSeries(series);
    for (int32_t i = 0; i < kPoints; ++i) {
        series->AppendXY(i, 50 + 40 * std::sin(i * 0.05));
    }
    for (auto _ : state) {
        chart1->PartChanged();  // the buffer is stale: every paint draws everything
        chart1->Paint();
        benchmark::DoNotOptimize(chart1->Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_PaintLineRibbons(benchmark::State& state) {
    PaintRibbons(state, false);
}
BENCHMARK(BM_PaintLineRibbons)->Unit(benchmark::kMillisecond);

void BM_PaintAreaInDepth(benchmark::State& state) {
    PaintRibbons(state, true);
}
BENCHMARK(BM_PaintAreaInDepth)->Unit(benchmark::kMillisecond);

}  // namespace
