// Device canvas throughput: 60,000-point polylines on the keying chart's 768 x 249 bitmap,
// polygon fill and text output.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace {

constexpr int32_t kWidth = 768;
constexpr int32_t kHeight = 249;
constexpr size_t kPoints = 60000;

std::vector<gfx::TPoint> RandomPoints() {
    std::mt19937 random(1);
    std::uniform_int_distribution<int32_t> x(0, kWidth - 1), y(0, kHeight - 1);
    std::vector<gfx::TPoint> points(kPoints);
    for (gfx::TPoint& p : points) {
        p = {x(random), y(random)};
    }
    return points;
}

// A keying square wave: x grows monotonically, y jumps between two levels.
std::vector<gfx::TPoint> MonotonePoints() {
    std::vector<gfx::TPoint> points(kPoints);
    for (size_t i = 0; i < kPoints; ++i) {
        int32_t x = static_cast<int32_t>(i * (kWidth - 1) / kPoints);
        int32_t level = ((i / 2) % 2 == 0) ? 40 : 200;
        points[i] = {x, level};
    }
    return points;
}

void Polyline(benchmark::State& state, const std::vector<gfx::TPoint>& points) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    bitmap.Canvas().Pen().SetWidth(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        bitmap.Canvas().Polyline(points);
        benchmark::ClobberMemory();
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(points.size() - 1),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PolylineRandom(benchmark::State& state) {
    Polyline(state, RandomPoints());
}
void BM_PolylineMonotone(benchmark::State& state) {
    Polyline(state, MonotonePoints());
}
BENCHMARK(BM_PolylineRandom)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylineMonotone)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PolygonFill(benchmark::State& state) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    std::vector<gfx::TPoint> points = MonotonePoints();
    points.resize(static_cast<size_t>(state.range(0)));
    points.push_back({points.back().X, kHeight - 1});
    points.push_back({0, kHeight - 1});
    bitmap.Canvas().Brush().SetColor(gfx::clAqua);
    for (auto _ : state) {
        bitmap.Canvas().Polygon(points);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PolygonFill)->Arg(16)->Arg(6000)->Unit(benchmark::kMicrosecond);

void BM_TextOut(benchmark::State& state) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    bitmap.Canvas().Font().SetName("Arial");
    bitmap.Canvas().Font().SetSize(8);
    bitmap.Canvas().Font().SetOrientation(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        bitmap.Canvas().TextOut(300, 120, "Morse waveform 12345");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TextOut)->Arg(0)->Arg(900)->Unit(benchmark::kMicrosecond);

}  // namespace
