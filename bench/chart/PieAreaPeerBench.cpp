// Pies and areas against cairo: the slices of a pie of 1,000 slices and the faces of an area of
// 2,000 points (flat and in 3D), drawn by the series on a painted chart and by cairo's image
// backend, aliased, on the same geometry: the same slices and area polygons with their outlines.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "CairoPeer.h"
#include "chart/component/Chart.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/PieSeries.h"

namespace {

constexpr int32_t kWidth = 768;
constexpr int32_t kHeight = 400;
constexpr int32_t kSlices = 1000;
constexpr int32_t kAreaPoints = 2000;

chart::TChart* NewChart(classes::TComponent& form, bool view3D) {
    auto* chart = new chart::TChart(&form);
    chart->SetBounds(0, 0, kWidth, kHeight);
    chart->SetView3D(view3D);
    chart->Legend().SetVisible(false);
    return chart;
}

chart::TPieSeries* NewPie(classes::TComponent& form, chart::TChart& chart) {
    auto* pie = new chart::TPieSeries(&form);
    pie->Marks().SetVisible(false);
    chart.AddSeries(pie);
    for (int32_t i = 0; i < kSlices; ++i) {
        pie->AppendValue(1 + (i * 7) % 13);
    }
    chart.Paint();  // lays the chart out once; the loops draw the series again and again
    return pie;
}

chart::TAreaSeries* NewArea(classes::TComponent& form, chart::TChart& chart) {
    auto* area = new chart::TAreaSeries(&form);
    area->SetSeriesColor(gfx::clBlue);
    chart.AddSeries(area);
    for (int32_t i = 0; i < kAreaPoints; ++i) {
        area->AppendXY(i, 50 + 40 * std::sin(i * 0.05));
    }
    chart.Paint();
    return area;
}

// Draws the series again on the painted chart's canvas: the series' own drawing, no layout.
void DrawSeriesAgain(benchmark::State& state, chart::TChart& chart, chart::TChartSeries& series,
                     int32_t items) {
    for (auto _ : state) {
        series.DrawPoints();
        benchmark::DoNotOptimize(chart.Surface().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * items);
}

void BM_PeerPieSlices(benchmark::State& state) {
    classes::TComponent form(nullptr);
    chart::TChart* chart = NewChart(form, false);
    chart::TPieSeries* pie = NewPie(form, *chart);
    DrawSeriesAgain(state, *chart, *pie, kSlices);
}
BENCHMARK(BM_PeerPieSlices)->Unit(benchmark::kMillisecond);

void BM_PeerAreaFaces(benchmark::State& state) {
    classes::TComponent form(nullptr);
    chart::TChart* chart = NewChart(form, state.range(0) != 0);
    chart::TAreaSeries* area = NewArea(form, *chart);
    DrawSeriesAgain(state, *chart, *area, kAreaPoints);
}
BENCHMARK(BM_PeerAreaFaces)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef KEYVET_BENCH_CAIRO

void SetSource(cairo_t* cr, gfx::TColor color) {
    const gfx::TColorRef ref = gfx::ColorToRGB(color);
    cairo_set_source_rgb(cr, (ref & 0xFF) / 255.0, ((ref >> 8) & 0xFF) / 255.0,
                         ((ref >> 16) & 0xFF) / 255.0);
}

void AddPolygon(cairo_t* cr, std::span<const gfx::TPoint> points) {
    cairo_move_to(cr, points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i) {
        cairo_line_to(cr, points[i].X, points[i].Y);
    }
    cairo_close_path(cr);
}

// The same slices: each an elliptic sector round the pie's centre, filled in its colour and
// outlined one pixel wide in black.
void BM_CairoPieSlices(benchmark::State& state) {
    classes::TComponent form(nullptr);
    chart::TChart* chart = NewChart(form, false);
    chart::TPieSeries* pie = NewPie(form, *chart);
    const gfx::TPoint centre = pie->CircleCentre();
    const double rx = pie->SliceXRadius();
    const double ry = pie->SliceYRadius();
    const std::vector<chart::TPieSlice> slices = pie->Slices();
    bench::TCairoFrame frame(kWidth, kHeight);
    cairo_t* cr = frame.Cr();
    cairo_set_line_width(cr, 1);
    for (auto _ : state) {
        for (const chart::TPieSlice& slice : slices) {
            // Counter-clockwise on the screen is towards smaller angles in cairo's y-down frame.
            const double a0 = -slice.StartAngle * std::numbers::pi / 180;
            const double a1 = -slice.EndAngle * std::numbers::pi / 180;
            cairo_new_path(cr);
            cairo_save(cr);
            cairo_translate(cr, centre.X, centre.Y);
            cairo_scale(cr, rx, ry);
            cairo_move_to(cr, 0, 0);
            cairo_arc_negative(cr, 0, 0, 1, a0, a1);
            cairo_close_path(cr);
            cairo_restore(cr);
            SetSource(cr, slice.Color);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_stroke(cr);
        }
        frame.Finish();
    }
    state.SetItemsProcessed(state.iterations() * kSlices);
}
BENCHMARK(BM_CairoPieSlices)->Unit(benchmark::kMillisecond);

// The same area faces, each colour in one fill: flat, the area polygon down to the origin with
// every segment's quadrilateral outlined and the line on top; in 3D, the top ribbons across the
// depth (lighter and darker faces each one fill) with their outlines, then the front polygon
// with its outlines.
void BM_CairoAreaFaces(benchmark::State& state) {
    const bool view3D = state.range(0) != 0;
    classes::TComponent form(nullptr);
    chart::TChart* chart = NewChart(form, view3D);
    chart::TAreaSeries* area = NewArea(form, *chart);
    chart::TChartCanvas3D& canvas = chart->Canvas();
    const int32_t z0 = area->StartZ();
    const int32_t z1 = area->EndZ();
    const auto at = [&](int32_t x, int32_t y, int32_t z) {
        return view3D ? canvas.ProjectToPoint(x, y, z) : gfx::TPoint{x, y};
    };
    std::vector<gfx::TPoint> top;
    std::vector<int32_t> origin;
    for (int32_t i = area->FirstVisibleIndex(); i <= area->LastVisibleIndex(); ++i) {
        top.push_back({area->PointScreenX(i), area->LineScreenY(i)});
        origin.push_back(area->OriginPixel(i));
    }
    // The front polygon and each segment's quadrilateral.
    std::vector<gfx::TPoint> front;
    std::vector<std::array<gfx::TPoint, 4>> quads;
    std::vector<std::array<gfx::TPoint, 4>> ribbons;
    std::vector<bool> steep;
    for (size_t i = 0; i < top.size(); ++i) {
        front.push_back(at(top[i].X, top[i].Y, z0));
    }
    for (size_t i = top.size(); i-- > 0;) {
        front.push_back(at(top[i].X, origin[i], z0));
    }
    for (size_t i = 1; i < top.size(); ++i) {
        quads.push_back({at(top[i - 1].X, top[i - 1].Y, z0), at(top[i].X, top[i].Y, z0),
                         at(top[i].X, origin[i], z0), at(top[i - 1].X, origin[i - 1], z0)});
        ribbons.push_back({at(top[i - 1].X, top[i - 1].Y, z1), at(top[i].X, top[i].Y, z1),
                           at(top[i].X, top[i].Y, z0), at(top[i - 1].X, top[i - 1].Y, z0)});
        steep.push_back(top[i].Y < top[i - 1].Y);
    }
    bench::TCairoFrame frame(kWidth, kHeight);
    cairo_t* cr = frame.Cr();
    cairo_set_line_width(cr, 1);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (auto _ : state) {
        if (view3D) {
            for (const bool dark : {false, true}) {
                cairo_new_path(cr);
                for (size_t i = 0; i < ribbons.size(); ++i) {
                    if (steep[i] == dark) {
                        AddPolygon(cr, ribbons[i]);
                    }
                }
                SetSource(cr, dark ? 0x800000 : gfx::clBlue);
                cairo_fill(cr);
            }
            cairo_new_path(cr);
            for (const auto& ribbon : ribbons) {
                AddPolygon(cr, ribbon);
            }
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_stroke(cr);
        }
        cairo_new_path(cr);
        AddPolygon(cr, front);
        SetSource(cr, gfx::clBlue);
        cairo_fill(cr);
        cairo_new_path(cr);
        for (const auto& quad : quads) {
            AddPolygon(cr, quad);
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);
        if (!view3D) {
            cairo_new_path(cr);
            cairo_move_to(cr, top[0].X, top[0].Y);
            for (size_t i = 1; i < top.size(); ++i) {
                cairo_line_to(cr, top[i].X, top[i].Y);
            }
            SetSource(cr, gfx::clBlue);
            cairo_stroke(cr);
        }
        frame.Finish();
    }
    state.SetItemsProcessed(state.iterations() * kAreaPoints);
}
BENCHMARK(BM_CairoAreaFaces)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
