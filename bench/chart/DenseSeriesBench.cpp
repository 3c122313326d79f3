// The keying chart's line and a 60,000-point random polyline, two pixels wide, drawn by the
// canvas and by a general-purpose vector library (cairo's image backend, aliased: a
// benchmark-only peer) on the same pixel points, and a plain copy of a frame, the yardstick of
// a repaint from the buffer (ChartPaintBench.cpp). Run with repetitions; compare medians.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "KeyingChart.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

#include "CairoPeer.h"

namespace {

constexpr int32_t kWidth = 768;
constexpr int32_t kHeight = 249;
constexpr int32_t kRandomPoints = 60000;
constexpr int32_t kPenWidth = 2;

// The pixel points the chart's series maps its visible points to, after one paint.
std::vector<gfx::TPoint> KeyingPixels(int32_t transitions) {
    bench::TKeyingChart k;
    bench::MakeKeyingChart(k, transitions);
    k.Chart1->Paint();
    std::vector<gfx::TPoint> points;
    k.Series1->PointsToScreen(k.Series1->FirstVisibleIndex(), k.Series1->LastVisibleIndex(),
                              points);
    return points;
}

std::vector<gfx::TPoint> RandomPixels() {
    return bench::RandomPoints(kRandomPoints, kWidth, kHeight);
}

void GfxPolyline(benchmark::State& state, const std::vector<gfx::TPoint>& points) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    bitmap.Canvas().Pen().SetWidth(kPenWidth);
    bitmap.Canvas().Pen().SetColor(gfx::clBlue);
    for (auto _ : state) {
        bitmap.Canvas().Polyline(points);
        benchmark::DoNotOptimize(bitmap.Pixels().data());
    }
    state.counters["points"] = static_cast<double>(points.size());
}

void BM_KeyingPolyline(benchmark::State& state) {
    GfxPolyline(state, KeyingPixels(static_cast<int32_t>(state.range(0))));
}
BENCHMARK(BM_KeyingPolyline)
    ->Arg(bench::kHourTransitions)
    ->Arg(bench::kTwoMinuteTransitions)
    ->Unit(benchmark::kMicrosecond);

void BM_RandomPolyline(benchmark::State& state) {
    GfxPolyline(state, RandomPixels());
}
BENCHMARK(BM_RandomPolyline)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint32_t> from(static_cast<size_t>(kWidth) * kHeight, 0x00FF0000);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

#ifdef KEYVET_BENCH_CAIRO
// The peer: an aliased stroke of the same pixel points with its default ends and joins (round
// ones cost it more than ten times as much on the keying line).
void CairoStroke(benchmark::State& state, const std::vector<gfx::TPoint>& points) {
    bench::TCairoFrame frame(kWidth, kHeight);
    cairo_t* cr = frame.Cr();
    cairo_set_line_width(cr, kPenWidth);
    cairo_set_source_rgb(cr, 0, 0, 1);
    for (auto _ : state) {
        cairo_new_path(cr);
        cairo_move_to(cr, points[0].X, points[0].Y);
        for (size_t i = 1; i < points.size(); ++i) {
            cairo_line_to(cr, points[i].X, points[i].Y);
        }
        cairo_stroke(cr);
        frame.Finish();
    }
    state.counters["points"] = static_cast<double>(points.size());
}

void BM_CairoKeyingStroke(benchmark::State& state) {
    CairoStroke(state, KeyingPixels(static_cast<int32_t>(state.range(0))));
}
BENCHMARK(BM_CairoKeyingStroke)
    ->Arg(bench::kHourTransitions)
    ->Arg(bench::kTwoMinuteTransitions)
    ->Unit(benchmark::kMicrosecond);

void BM_CairoRandomStroke(benchmark::State& state) {
    CairoStroke(state, RandomPixels());
}
// The peer takes seconds over this one (its cost grows with the crossings): one iteration.
BENCHMARK(BM_CairoRandomStroke)->Iterations(1)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
