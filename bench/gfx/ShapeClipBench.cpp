// Cost of shapes far larger than their bitmap: a 100 x 100 bitmap shows a small part of each
// shape, whose half-size in pixels is the argument; the cost should follow the visible part.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace {

constexpr int32_t kSide = 100;  // bitmap width and height, pixels

// Runs draw(canvas, halfSize) on a fresh 100 x 100 bitmap with a solid red brush.
template <class Draw>
void Huge(benchmark::State& state, int32_t penWidth, Draw&& draw) {
    gfx::TBitmap bitmap(kSide, kSide);
    gfx::TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(gfx::clRed);
    canvas.Pen().SetWidth(penWidth);
    auto n = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        draw(canvas, n);
        benchmark::ClobberMemory();
    }
}

void BM_HugeRectangle(benchmark::State& state) {
    Huge(state, 1, [](gfx::TCanvas& c, int32_t n) { c.Rectangle(-n, -n, n, n); });
}
void BM_HugeWideRectangle(benchmark::State& state) {
    Huge(state, 5, [](gfx::TCanvas& c, int32_t n) { c.Rectangle(-n, -n, n, n); });
}
void BM_HugeRoundRect(benchmark::State& state) {
    Huge(state, 1, [](gfx::TCanvas& c, int32_t n) { c.RoundRect(-n, -n, n, n, n, n); });
}
void BM_HugeEllipse(benchmark::State& state) {
    Huge(state, 1, [](gfx::TCanvas& c, int32_t n) { c.Ellipse(-n, -n, n, n); });
}
// The right end of the ellipse crosses the bitmap, so its outline is visible.
void BM_HugeEllipseEdge(benchmark::State& state) {
    Huge(state, 1, [](gfx::TCanvas& c, int32_t n) { c.Ellipse(60 - 2 * n, 50 - n, 60, 50 + n); });
}
void BM_HugeWideEllipseEdge(benchmark::State& state) {
    Huge(state, 5, [](gfx::TCanvas& c, int32_t n) { c.Ellipse(60 - 2 * n, 50 - n, 60, 50 + n); });
}
// The upper-right quarter of a pie centred in the bitmap, and the matching arc.
void BM_HugeArc(benchmark::State& state) {
    Huge(state, 1,
         [](gfx::TCanvas& c, int32_t n) { c.Arc(50 - n, 50 - n, 50 + n, 50 + n, 100, 50, 50, 0); });
}
void BM_HugePie(benchmark::State& state) {
    Huge(state, 1,
         [](gfx::TCanvas& c, int32_t n) { c.Pie(50 - n, 50 - n, 50 + n, 50 + n, 100, 50, 50, 0); });
}
// Dash order follows the outline, so styled outlines sort their visible pixels by angle.
void BM_HugeDottedPie(benchmark::State& state) {
    gfx::TBitmap bitmap(kSide, kSide);
    gfx::TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetStyle(gfx::TPenStyle::psDot);
    auto n = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        canvas.Pie(95 - 2 * n, 50 - n, 95, 50 + n, 100, 50, 50, 0);
        benchmark::ClobberMemory();
    }
}

// Half-sizes up to 1e8; a Pie of half-size 32,767 is the largest the line series' pixel range
// reaches. Runs beyond 1e6 were out of reach before shapes were clipped.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {1000, 32767, 100000, 1000000, 10000000, 100000000}) {
        b->Arg(n);
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_HugeRectangle)->Apply(Sizes);
BENCHMARK(BM_HugeWideRectangle)->Apply(Sizes);
BENCHMARK(BM_HugeRoundRect)->Apply(Sizes);
BENCHMARK(BM_HugeEllipse)->Apply(Sizes);
BENCHMARK(BM_HugeEllipseEdge)->Apply(Sizes);
BENCHMARK(BM_HugeWideEllipseEdge)->Apply(Sizes);
BENCHMARK(BM_HugeArc)->Apply(Sizes);
BENCHMARK(BM_HugePie)->Apply(Sizes);
BENCHMARK(BM_HugeDottedPie)->Apply(Sizes);

}  // namespace
