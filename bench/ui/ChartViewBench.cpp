// The front end's repaint of the main window's chart after a part changed: the chart view's
// painter (the chart paints through its own buffer and copies it onto the view's in one
// block), the path a window takes before the screen gets the picture. Beside the chart
// library's keying chart benchmark it shows what the window's way of painting adds.
#include <benchmark/benchmark.h>

#include "../app/MainWindowChart.h"
#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "platform/IsolatedSystemServices.h"
#include "ui/ChartView.h"

namespace {

// range(0): transitions of the run, or -1 for the window as it opens, with no points at all.
void BM_ChartViewRepaint(benchmark::State& state) {
    platform::TIsolatedSystemServices system;
    const auto form = bench::MakeMainWindow(state.range(0));
    chart::TChart& chart1 = form->Chart1();
    gfx::TBitmap buffer;
    buffer.SetSize(chart1.Width(), chart1.Height());
    ui::PaintChart(chart1, buffer);
    for (auto _ : state) {
        chart1.PartChanged();
        ui::PaintChart(chart1, buffer);
        benchmark::DoNotOptimize(buffer.Pixels().data());
    }
    state.counters["points"] = form->Series1().PointCount();
}
BENCHMARK(BM_ChartViewRepaint)->Arg(30000)->Arg(0)->Arg(-1)->Unit(benchmark::kMicrosecond);

}  // namespace
