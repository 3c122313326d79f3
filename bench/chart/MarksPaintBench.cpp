// A paint of a chart whose line series shows a mark on each of its 1,000 points: the text, box
// and arrow of every mark on top of the line (argument 1), against the same paint without marks
// (argument 0).
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace {

constexpr int32_t kPoints = 1000;
constexpr double kWaveScale = 100.0;

void BM_PaintLineSeriesWithMarks(benchmark::State& state) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(0, 0, 800, 500);
    chart1->SetView3D(false);
    auto* series = new chart::TLineSeries(&form);
    chart1->AddSeries(series);
    for (int32_t i = 0; i < kPoints; ++i) {
        series->AppendXY(i, kWaveScale * (1 + std::sin(i * 0.05)));
    }
    series->Marks().SetVisible(state.range(0) != 0);
    series->Marks().SetStyle(chart::TSeriesMarksStyle::smsValue);
    for (auto _ : state) {
        chart1->PartChanged();  // the buffer is stale: every paint draws everything
        chart1->Paint();
        benchmark::DoNotOptimize(chart1->Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PaintLineSeriesWithMarks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
