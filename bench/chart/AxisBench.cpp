// The axis' per-paint costs: mapping a keying run's 60,000 values to pixels, and drawing the
// keying chart's time axis with its labels, ticks and grid.
#include <benchmark/benchmark.h>

#include <vector>

#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "chart/series/LineSeries.h"

namespace {

constexpr int32_t kValueCount = 60000;

void BM_AxisValueToPos60000(benchmark::State& state) {
    chart::TCustomChartAxis axis(nullptr);
    axis.SetHorizontal(true);
    axis.SetAxisRange(0, 3600000);
    axis.ComputeRange();
    axis.SetPixelExtent(55, 745);
    std::vector<double> values(kValueCount);
    for (int32_t i = 0; i < kValueCount; ++i) {
        values[i] = i * 60.0;
    }
    for (auto _ : state) {
        int64_t sum = 0;
        for (double v : values) {
            sum += axis.ValueToPos(v);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kValueCount);
}
BENCHMARK(BM_AxisValueToPos60000);

void BM_AxisDrawKeyingTimeAxis(benchmark::State& state) {
    classes::TComponent form(nullptr);
    auto* chart1 = new chart::TChart(&form);
    chart1->SetBounds(0, 0, 768, 249);
    chart1->SetView3D(false);
    auto* series = new chart::TLineSeries(&form);
    series->SetParentChart(chart1);
    series->AppendXY(0, 0);
    series->AppendXY(4730, 1);
    chart1->Paint();
    chart::TChartAxis bottom(chart1);
    chart1->RemoveAxis(bottom);  // the benchmark's own: the chart neither lays it out nor draws it
    bottom.SetHorizontal(true);
    for (auto _ : state) {
        bottom.ComputeRange();
        gfx::TRect rect(23, 10, 745, 239);
        bottom.ReserveSpace(rect, true);
        chart1->SetPlotRect(rect);
        chart1->NormalizePlotRect();
        bottom.ComputePositions();
        bottom.DrawAxis(true);
    }
}
BENCHMARK(BM_AxisDrawKeyingTimeAxis);

}  // namespace
