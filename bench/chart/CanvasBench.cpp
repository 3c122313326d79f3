// Chart canvas and panel throughput: lines through the canvas (1- and 2-pixel pens, random and
// monotone 60,000-point polylines on 768 x 249), polygon fill, text, a full panel paint and a
// repaint served from the buffer.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "KeyingChart.h"
#include "chart/canvas/ChartCanvas3D.h"
#include "chart/panel/ChartPanelExtended.h"
#include "gfx/Bitmap.h"

namespace {

constexpr int32_t kWidth = 768;
constexpr int32_t kHeight = 249;
constexpr int32_t kPoints = 60000;

std::vector<gfx::TPoint> RandomPoints() {
    return bench::RandomPoints(kPoints, kWidth, kHeight);
}

// A keying square wave: x rising across the width, y jumping between two levels.
std::vector<gfx::TPoint> MonotonePoints() {
    std::vector<gfx::TPoint> points(kPoints);
    for (int32_t i = 0; i < kPoints; ++i) {
        const int32_t x = 20 + static_cast<int32_t>(int64_t{i} * (kWidth - 40) / kPoints);
        points[static_cast<size_t>(i)] = {x, (i / 2) % 2 == 0 ? 40 : 200};
    }
    return points;
}

void DrawPolyline(benchmark::State& state, const std::vector<gfx::TPoint>& points) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    chart::TChartCanvas3D canvas(bitmap.Canvas());
    canvas.Pen().SetWidth(static_cast<int32_t>(state.range(0)));
    canvas.Pen().SetColor(gfx::clRed);
    for (auto _ : state) {
        canvas.PenMoveTo(points[0].X, points[0].Y);
        for (size_t i = 1; i < points.size(); ++i) {
            canvas.PenLineTo(points[i].X, points[i].Y);
        }
        benchmark::DoNotOptimize(bitmap.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size() - 1));
}

void BM_RandomPolyline(benchmark::State& state) {
    DrawPolyline(state, RandomPoints());
}
BENCHMARK(BM_RandomPolyline)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_MonotonePolyline(benchmark::State& state) {
    DrawPolyline(state, MonotonePoints());
}
BENCHMARK(BM_MonotonePolyline)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PolygonFill(benchmark::State& state) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    chart::TChartCanvas3D canvas(bitmap.Canvas());
    canvas.Brush().SetColor(gfx::clBlue);
    std::vector<gfx::TPoint> points;
    std::mt19937 random(2);
    std::uniform_int_distribution<int32_t> y(0, kHeight - 1);
    // An area under a 200-point curve across the bitmap.
    points.push_back({0, kHeight - 1});
    for (int32_t i = 0; i < 200; ++i) {
        points.push_back({i * (kWidth - 1) / 199, y(random)});
    }
    points.push_back({kWidth - 1, kHeight - 1});
    for (auto _ : state) {
        canvas.PolygonShape(points, static_cast<int32_t>(points.size()) - 1);
        benchmark::DoNotOptimize(bitmap.Pixels().data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PolygonFill)->Unit(benchmark::kMicrosecond);

void BM_TextOut(benchmark::State& state) {
    gfx::TBitmap bitmap(kWidth, kHeight);
    chart::TChartCanvas3D canvas(bitmap.Canvas());
    canvas.Font().SetName("Arial");
    canvas.Font().SetSize(8);
    canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
    for (auto _ : state) {
        canvas.PutText(100, 100, "1,234.567");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextOut)->Unit(benchmark::kMicrosecond);

// A panel that paints its frame, like the main window's chart with no series.
class TBenchPanel : public chart::TCustomChartPanelExtended {
  public:
    TBenchPanel() : chart::TCustomChartPanelExtended(nullptr) {
        SetBounds(0, 0, kWidth, kHeight);
        SetColor(16777088);
        SetView3D(false);
    }
    void DrawChartContent(const gfx::TRect& rect) override { PaintPanelFrame(rect); }
};

void BM_FullPanelPaint(benchmark::State& state) {
    TBenchPanel panel;
    for (auto _ : state) {
        panel.MarkForRepaint();
        panel.Paint();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullPanelPaint)->Unit(benchmark::kMicrosecond);

void BM_RepaintFromBuffer(benchmark::State& state) {
    TBenchPanel panel;
    panel.Paint();
    for (auto _ : state) {
        panel.Paint();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RepaintFromBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace
