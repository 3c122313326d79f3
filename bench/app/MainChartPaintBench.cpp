// Full paints of the chart inside the main window, built from its design data as the program
// builds it, after PartChanged: a one-hour run and the frame of a run with no transitions (the
// same points as the chart library's keying chart benchmark, so the two programs' figures
// compare), and the window as it opens.
#include <benchmark/benchmark.h>

#include "MainWindowChart.h"
#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"
#include "platform/IsolatedSystemServices.h"

namespace {

// range(0): transitions of the run, or -1 for the window as it opens, with no points at all.
void BM_MainWindowChartPaint(benchmark::State& state) {
    platform::TIsolatedSystemServices system;
    const auto form = bench::MakeMainWindow(state.range(0));
    chart::TChart& chart1 = form->Chart1();
    chart1.Paint();
    for (auto _ : state) {
        chart1.PartChanged();  // as a setter of a chart part does
        chart1.Paint();
        benchmark::DoNotOptimize(chart1.Surface().Pixels().data());
    }
    state.counters["points"] = form->Series1().PointCount();
}
BENCHMARK(BM_MainWindowChartPaint)->Arg(30000)->Arg(0)->Arg(-1)->Unit(benchmark::kMicrosecond);

}  // namespace
