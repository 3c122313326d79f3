// The bar series' drawing of 10,000, 1,000 and 30 bars on a 768 x 400 chart, flat and in 3D,
// merged and bar by bar, timed from the start to the end of the series' values (thread CPU
// time, the axes and walls left out), against cairo's image backend, aliased, filling and outlining
// the same rectangles one by one in the same order. Run with --benchmark_repetitions=9
// --benchmark_enable_random_interleaving=true and compare medians.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/series/BarSeries.h"

#include "CairoPeer.h"

namespace {

constexpr int32_t kWidth = 768;
constexpr int32_t kHeight = 400;

// The CPU time this thread has used, seconds.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The same series drawn bar by bar, the general path.
class TBarByBarSeries : public chart::TBarSeries {
  public:
    using chart::TBarSeries::TBarSeries;
    void DrawPoints() override { chart::TChartSeries::DrawPoints(); }
};

// A chart of the benchmark's size with one bar series of count values, no marks.
struct TBarChart {
    TBarChart(int32_t count, bool view3D, bool barByBar = false) {
        Chart = new chart::TChart(&Form);
        Chart->SetBounds(0, 0, kWidth, kHeight);
        Chart->SetView3D(view3D);
        Bars = barByBar ? new TBarByBarSeries(&Form) : new chart::TBarSeries(&Form);
        Bars->Marks().SetVisible(false);
        Chart->AddSeries(Bars);
        for (int32_t i = 0; i < count; ++i) {
            Bars->AppendValue(100 + 50 * std::sin(i * 0.01));
        }
    }
    classes::TComponent Form{nullptr};
    chart::TChart* Chart = nullptr;
    chart::TBarSeries* Bars = nullptr;
};

// The series' own part of each paint: from its first value drawn to its last.
void SeriesDraw(benchmark::State& state, bool barByBar) {
    TBarChart bars(static_cast<int32_t>(state.range(0)), state.range(1) != 0, barByBar);
    double start = 0;
    double seconds = 0;
    bars.Bars->SetBeforeDrawValues([&](chart::TChartSeries&) { start = ThreadSeconds(); });
    bars.Bars->SetAfterDrawValues([&](chart::TChartSeries&) { seconds = ThreadSeconds() - start; });
    for (auto _ : state) {
        bars.Chart->PartChanged();
        bars.Chart->Paint();
        benchmark::DoNotOptimize(bars.Chart->Surface().Pixels().data());
        state.SetIterationTime(seconds);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_BarSeriesDraw(benchmark::State& state) {
    SeriesDraw(state, false);
}
BENCHMARK(BM_BarSeriesDraw)
    ->ArgsProduct({{10000, 1000, 30}, {0, 1}})
    ->ArgNames({"bars", "3d"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The same drawing bar by bar: what the merged drawing replaces.
void BM_BarSeriesDrawBarByBar(benchmark::State& state) {
    SeriesDraw(state, true);
}
BENCHMARK(BM_BarSeriesDrawBarByBar)
    ->ArgsProduct({{10000, 1000, 30}, {0, 1}})
    ->ArgNames({"bars", "3d"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

#ifdef KEYVET_BENCH_CAIRO
// The rectangles the flat chart's bars stand on after a paint.
std::vector<chart::TBarBounds> FlatBars(int32_t count) {
    TBarChart bars(count, false);
    bars.Chart->Paint();
    std::vector<chart::TBarBounds> bounds;
    for (int32_t i = 0; i < count; ++i) {
        bounds.push_back(bars.Bars->BarBoundsOf(i));
    }
    return bounds;
}

// Each bar as the device draws a rectangle: its inside in the bar's colour, then a one-pixel
// outline in black through the centres of its edge pixels.
void BM_CairoBars(benchmark::State& state) {
    const std::vector<chart::TBarBounds> bounds = FlatBars(static_cast<int32_t>(state.range(0)));
    bench::TCairoFrame frame(kWidth, kHeight);
    cairo_t* cr = frame.Cr();
    cairo_set_line_width(cr, 1);
    frame.Clear(1, 1, 1);
    for (auto _ : state) {
        for (const chart::TBarBounds& bar : bounds) {
            const double width = bar.Right - bar.Left;
            const double height = bar.Bottom - bar.Top;
            if (width > 2 && height > 2) {
                cairo_set_source_rgb(cr, 1, 0, 0);
                cairo_rectangle(cr, bar.Left + 1, bar.Top + 1, width - 2, height - 2);
                cairo_fill(cr);
            }
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_rectangle(cr, bar.Left + 0.5, bar.Top + 0.5, width - 1, height - 1);
            cairo_stroke(cr);
        }
        frame.Finish();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CairoBars)
    ->Arg(10000)
    ->Arg(1000)
    ->Arg(30)
    ->ArgName("bars")
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
