// Paints of the further series kinds at sizes far beyond a gallery preview: 10,000 bars, a pie
// of 1,000 slices, and appending 60,000 points to a fast line one at a time without repaints.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/component/Chart.h"
#include "chart/series/BarSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/PieSeries.h"

namespace {

constexpr int32_t kBars = 10000;
constexpr int32_t kSlices = 1000;
constexpr int32_t kAppends = 60000;

chart::TChart* NewChart(classes::TComponent& form) {
    auto* chart = new chart::TChart(&form);
    chart->SetBounds(0, 0, 768, 400);
    chart->SetView3D(false);
    return chart;
}

void BM_PaintTenThousandBars(benchmark::State& state) {
    classes::TComponent form(nullptr);
    chart::TChart* chart = NewChart(form);
    chart->SetView3D(state.range(0) != 0);
    auto* bars = new chart::TBarSeries(&form);
    bars->Marks().SetVisible(false);
    chart->AddSeries(bars);
    for (int32_t i = 0; i < kBars; ++i) {
        bars->AppendValue(100 + 50 * std::sin(i * 0.01));
    }
    for (auto _ : state) {
        chart->PartChanged();
        chart->Paint();
        benchmark::DoNotOptimize(chart->Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kBars);
}
BENCHMARK(BM_PaintTenThousandBars)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PaintPieOfAThousandSlices(benchmark::State& state) {
    classes::TComponent form(nullptr);
    chart::TChart* chart = NewChart(form);
    chart->SetView3D(state.range(0) != 0);
    auto* pie = new chart::TPieSeries(&form);
    pie->Marks().SetVisible(false);
    chart->AddSeries(pie);
    for (int32_t i = 0; i < kSlices; ++i) {
        pie->AppendValue(1 + (i * 7) % 13);
    }
    for (auto _ : state) {
        chart->PartChanged();
        chart->Paint();
        benchmark::DoNotOptimize(chart->Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kSlices);
}
BENCHMARK(BM_PaintPieOfAThousandSlices)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Each append draws its own segment onto the painted chart; reported per append.
void BM_AppendToFastLineOneAtATime(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        classes::TComponent form(nullptr);
        chart::TChart* chart = NewChart(form);
        // Fixed axes: the appended points stay where the first paint put the scale.
        for (chart::TChartAxis* axis : {&chart->LeftAxis(), &chart->BottomAxis()}) {
            axis->SetAutomatic(false);
        }
        chart->LeftAxis().SetMaximum(1);
        chart->LeftAxis().SetMinimum(-1);
        chart->BottomAxis().SetMaximum(kAppends);
        chart->BottomAxis().SetMinimum(0);
        auto* line = new chart::TFastLineSeries(&form);
        chart->AddSeries(line);
        line->AppendXY(0, 0);
        chart->Paint();
        line->SetAutoRepaint(false);
        state.ResumeTiming();
        for (int32_t i = 1; i < kAppends; ++i) {
            line->AppendXY(i, std::sin(i * 0.001));
        }
        benchmark::DoNotOptimize(chart->Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * (kAppends - 1));
}
BENCHMARK(BM_AppendToFastLineOneAtATime)->Unit(benchmark::kMillisecond);

}  // namespace
