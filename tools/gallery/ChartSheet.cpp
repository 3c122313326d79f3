// The gallery's chart sheet: the same three line series drawn by a flat chart and a 3D chart,
// each with its title, legend, marks and axes.
#include "gallery/ChartSheet.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"
#include "gfx/Bitmap.h"

namespace gallery {

namespace {

using gfx::TRect;

constexpr int32_t kSheetWidth = 1000;
constexpr int32_t kSheetHeight = 420;
constexpr int32_t kChartWidth = 490;
constexpr int32_t kChartHeight = 400;
constexpr int32_t kMargin = 10;  // pixels around and between the charts
constexpr int32_t kPoints = 9;
// Legend symbols a third of the text column wide, so line and pointer both show.
constexpr int32_t kLegendColorWidth = 30;
// Depth of the 3D chart, percent.
constexpr int32_t k3DPercent = 40;

// Three series of a keying session: dit, dah and space lengths over nine runs, milliseconds.
void AddKeyingSeries(chart::TChart& chart) {
    const char* const titles[] = {"Dah", "Space", "Dit"};
    const gfx::TColor colors[] = {gfx::RGB(200, 60, 40), gfx::RGB(40, 140, 70),
                                  gfx::RGB(40, 80, 190)};
    const double base[] = {180, 110, 62};
    for (int s = 0; s < 3; ++s) {
        auto* series = new chart::TLineSeries(&chart);
        series->SetTitle(titles[s]);
        series->SetSeriesColor(colors[s]);
        series->LinePen().SetWidth(2);
        series->Pointer().SetVisible(true);
        series->Pointer().SetStyle(static_cast<chart::TSeriesPointerStyle>(s));
        series->Pointer().SetHorizSize(3);
        series->Pointer().SetVertSize(3);
        series->Marks().SetVisible(true);
        for (int i = 0; i < kPoints; ++i) {
            const double wobble = std::sin(i * 0.9 + s) * base[s] * 0.12;
            series->AppendXY(i + 1, std::round(base[s] - i * base[s] * 0.03 + wobble));
        }
        chart.AddSeries(series);
    }
}

std::unique_ptr<chart::TChart> NewChart(const std::string& title, bool view3D) {
    auto chart = std::make_unique<chart::TChart>(nullptr);
    chart->SetBounds(0, 0, kChartWidth, kChartHeight);
    chart->SetColor(gfx::RGB(236, 242, 250));
    chart->SetView3D(view3D);
    chart->Title().Text().Add(title);
    chart->Title().Font().SetName("Arial");
    chart->Title().Font().SetHeight(-14);
    chart->Legend().Font().SetName("Arial");
    chart->BottomAxis().Title().SetCaption("run");
    chart->LeftAxis().Title().SetCaption("ms");
    chart->BackWall().SetColor(gfx::clWhite);
    chart->BackWall().Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    chart->Legend().SetColorWidth(kLegendColorWidth);
    if (view3D) {
        chart->SetChart3DPercent(k3DPercent);
        chart->Legend().SetAlignment(chart::TLegendAlignment::laBottom);
    }
    AddKeyingSeries(*chart);
    return chart;
}

}  // namespace

void SaveChartSheet(const std::string& path) {
    gfx::TBitmap sheet(kSheetWidth, kSheetHeight);
    sheet.Canvas().Brush().SetColor(gfx::clWhite);
    sheet.Canvas().FillRect(TRect(0, 0, kSheetWidth, kSheetHeight));
    const auto flat = NewChart("Keying lengths (flat)", false);
    flat->PaintToCanvas(&sheet.Canvas(),
                        TRect::FromSize(kMargin, kMargin, kChartWidth, kChartHeight));
    const auto deep = NewChart("Keying lengths (3D)", true);
    deep->PaintToCanvas(&sheet.Canvas(), TRect::FromSize(2 * kMargin + kChartWidth, kMargin,
                                                         kChartWidth, kChartHeight));
    sheet.SaveToFile(path);
}

}  // namespace gallery
