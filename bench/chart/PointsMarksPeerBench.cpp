// Point series and series marks against a general-purpose vector library (cairo's image backend,
// aliased: a benchmark-only peer) drawing the same geometry: the same pointers (filled squares
// with their outlines) for 1,000 and 10,000 points, and a line of 1,000 points with the same
// mark boxes, arrows and texts (cairo's own text). Ours is a whole chart paint (walls, axes,
// labels besides the series), theirs only the series on a cleared frame; the paint of the same
// chart with no points shows what the series themselves cost us. The legend is hidden: for one
// series it lists every point's value, which is not the geometry compared here. The point-by-point
// drawing is timed too. Run with --benchmark_repetitions=9
// --benchmark_enable_random_interleaving=true and compare medians.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/LineSeries.h"

#include "CairoPeer.h"

namespace {

constexpr int32_t kWidth = 768;
constexpr int32_t kHeight = 400;
constexpr int32_t kMarkedPoints = 1000;
constexpr double kWaveScale = 100.0;

// The point series drawn point by point, the general path.
class TPointByPointSeries : public chart::TPointSeries {
  public:
    using chart::TPointSeries::TPointSeries;
    void DrawPoints() override { chart::TChartSeries::DrawPoints(); }
};

// The line series whose marks are drawn one by one, the general path.
class TMarkByMarkSeries : public chart::TLineSeries {
  public:
    using chart::TLineSeries::TLineSeries;
    void DrawMarks() override { DrawMarksOneByOne(); }
};

// A chart of the benchmarks' size with one series of count points: a slow wave with seeded
// jitter, so neighbouring points sometimes share their pixels and sometimes do not.
struct TPointsChart {
    classes::TComponent Form{nullptr};
    chart::TChart* Chart1 = nullptr;
    chart::TCustomSeries* Series = nullptr;

    TPointsChart(int32_t count, bool pointByPoint) {
        Chart1 = new chart::TChart(&Form);
        Chart1->SetBounds(0, 0, kWidth, kHeight);
        Chart1->SetView3D(false);
        Chart1->Legend().SetVisible(false);  // it would list every point's value
        Series = pointByPoint ? new TPointByPointSeries(&Form) : new chart::TPointSeries(&Form);
        Chart1->AddSeries(Series);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> jitter(-4, 4);
        for (int32_t i = 0; i < count; ++i) {
            Series->AppendXY(i, kWaveScale * (1 + std::sin(i * 0.01)) + jitter(random));
        }
        Series->Marks().SetVisible(false);
    }
    void Paint() {
        Chart1->PartChanged();  // the buffer is stale: every paint draws everything
        Chart1->Paint();
        benchmark::DoNotOptimize(Chart1->Surface().Pixels().data());
    }
};

void BM_PaintPointSeries(benchmark::State& state) {
    TPointsChart c(static_cast<int32_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        c.Paint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Arguments: points, point by point.
BENCHMARK(BM_PaintPointSeries)
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

// The same chart with no points: walls, axes and their labels.
void BM_PaintEmptyPointChart(benchmark::State& state) {
    TPointsChart c(0, false);
    for (auto _ : state) {
        c.Paint();
    }
}
BENCHMARK(BM_PaintEmptyPointChart)->Unit(benchmark::kMillisecond);

// A line of 1,000 points with a mark (its value) on each.
struct TMarksChart {
    classes::TComponent Form{nullptr};
    chart::TChart* Chart1 = nullptr;
    chart::TLineSeries* Series = nullptr;

    explicit TMarksChart(bool markByMark) {
        Chart1 = new chart::TChart(&Form);
        Chart1->SetBounds(0, 0, kWidth, kHeight);
        Chart1->SetView3D(false);
        Chart1->Legend().SetVisible(false);
        Series = markByMark ? new TMarkByMarkSeries(&Form) : new chart::TLineSeries(&Form);
        Chart1->AddSeries(Series);
        for (int32_t i = 0; i < kMarkedPoints; ++i) {
            Series->AppendXY(i, kWaveScale * (1 + std::sin(i * 0.05)));
        }
        Series->Marks().SetVisible(true);
        Series->Marks().SetStyle(chart::TSeriesMarksStyle::smsValue);
    }
    void Paint() {
        Chart1->PartChanged();
        Chart1->Paint();
        benchmark::DoNotOptimize(Chart1->Surface().Pixels().data());
    }
};

void BM_PaintLineWithMarks(benchmark::State& state) {
    TMarksChart c(state.range(0) != 0);
    for (auto _ : state) {
        c.Paint();
    }
    state.SetItemsProcessed(state.iterations() * kMarkedPoints);
}
// Argument: mark by mark.
BENCHMARK(BM_PaintLineWithMarks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef KEYVET_BENCH_CAIRO
// Components 0..1 of a chart colour (0x00BBGGRR).
void SetSource(cairo_t* cr, gfx::TColor color) {
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

// The peer's pointers: each point's square filled in the point's colour, then its one-pixel
// black outline on the square's edge pixels, at the pixel positions our paint gave.
void BM_CairoPointSeries(benchmark::State& state) {
    TPointsChart c(static_cast<int32_t>(state.range(0)), false);
    c.Paint();
    std::vector<gfx::TPoint> points;
    c.Series->PointsToScreen(c.Series->FirstVisibleIndex(), c.Series->LastVisibleIndex(), points);
    const gfx::TColor color = c.Series->SeriesColor();
    const int32_t hx = c.Series->Pointer().HorizSize();
    const int32_t hy = c.Series->Pointer().VertSize();
    bench::TCairoFrame frame(kWidth, kHeight);
    cairo_t* cr = frame.Cr();
    cairo_set_line_width(cr, 1);
    for (auto _ : state) {
        frame.Clear(1, 1, 1);
        for (const gfx::TPoint& p : points) {
            cairo_rectangle(cr, p.X - hx, p.Y - hy, 2 * hx + 1, 2 * hy + 1);
            SetSource(cr, color);
            cairo_fill(cr);
            cairo_rectangle(cr, p.X - hx + 0.5, p.Y - hy + 0.5, 2 * hx, 2 * hy);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_stroke(cr);
        }
        frame.Finish();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CairoPointSeries)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The peer's marks: the same one-pixel line, then per mark its arrow, its box (back colour,
// black frame) and its text centred in the box by cairo's toy text interface in the same face
// and pixel size; boxes, arrows and texts where our paint stored them.
void BM_CairoLineWithMarks(benchmark::State& state) {
    TMarksChart c(false);
    c.Paint();
    chart::TLineSeries& series = *c.Series;
    std::vector<gfx::TPoint> points;
    series.PointsToScreen(series.FirstVisibleIndex(), series.LastVisibleIndex(), points);
    std::vector<chart::TSeriesMarkPosition> boxes;
    std::vector<std::string> texts;
    for (int32_t i = series.FirstVisibleIndex(); i <= series.LastVisibleIndex(); ++i) {
        boxes.push_back(series.Marks().Position(i));
        texts.push_back(series.MarkText(i));
    }
    c.Chart1->Canvas().ReferenceCanvas().Font().Assign(series.Marks().Font());
    const int32_t pixelSize = c.Chart1->Canvas().TextLineHeight();
    const gfx::TColor line = series.SeriesColor();
    const gfx::TColor back = series.Marks().BackColor();
    bench::TCairoFrame frame(kWidth, kHeight);
    cairo_t* cr = frame.Cr();
    cairo_set_line_width(cr, 1);
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, pixelSize);
    for (auto _ : state) {
        frame.Clear(1, 1, 1);
        cairo_move_to(cr, points[0].X + 0.5, points[0].Y + 0.5);
        for (size_t i = 1; i < points.size(); ++i) {
            cairo_line_to(cr, points[i].X + 0.5, points[i].Y + 0.5);
        }
        SetSource(cr, line);
        cairo_stroke(cr);
        for (size_t i = 0; i < boxes.size(); ++i) {
            const chart::TSeriesMarkPosition& b = boxes[i];
            cairo_move_to(cr, b.ArrowFromX + 0.5, b.ArrowFromY + 0.5);
            cairo_line_to(cr, b.ArrowToX + 0.5, b.ArrowToY + 0.5);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_stroke(cr);
            cairo_rectangle(cr, b.Left, b.Top, b.Width, b.Height);
            SetSource(cr, back);
            cairo_fill(cr);
            cairo_rectangle(cr, b.Left + 0.5, b.Top + 0.5, b.Width - 1, b.Height - 1);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_stroke(cr);
            cairo_text_extents_t extents;
            cairo_text_extents(cr, texts[i].c_str(), &extents);
            cairo_move_to(cr, b.Left + (b.Width - extents.x_advance) / 2, b.Top + 1 + pixelSize);
            cairo_show_text(cr, texts[i].c_str());
        }
        frame.Finish();
    }
    state.SetItemsProcessed(state.iterations() * kMarkedPoints);
}
BENCHMARK(BM_CairoLineWithMarks)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
