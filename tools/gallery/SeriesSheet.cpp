// The series sheet: one small chart per registered kind and function, flat and in 3D, with
// fixed sample data so the sheet is the same on every run.
#include "gallery/SeriesSheet.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "gfx/Bitmap.h"

namespace gallery {

namespace {

constexpr int32_t kColumns = 4;      // 2D and 3D of two entries per row
constexpr int32_t kCellWidth = 250;  // pixels
constexpr int32_t kCellHeight = 180;
constexpr int32_t kGap = 6;
constexpr int32_t kSamplePoints = 6;
constexpr int32_t kPieSlices = 5;

// A fixed sample value: a gentle wave per series so neighbouring series differ.
double Sample(int32_t series, int32_t index) {
    return 40 + 25 * std::sin(0.9 * index + 1.7 * series) + 10 * series;
}

void FillSamples(chart::TChartSeries& series, int32_t seriesIndex) {
    if (dynamic_cast<chart::TPieSeries*>(&series) != nullptr) {
        for (int32_t i = 0; i < kPieSlices; ++i) {
            series.AppendValue(10 + 7 * ((i * 3) % kPieSlices));
        }
        return;
    }
    for (int32_t i = 0; i < kSamplePoints; ++i) {
        series.AppendValue(Sample(seriesIndex, i));
    }
}

// One chart showing entry, flat or in 3D.
std::unique_ptr<chart::TChart> ChartOf(const chart::TChartSeriesType& entry, bool in3D) {
    auto chart = std::make_unique<chart::TChart>(nullptr);
    chart->SetBounds(0, 0, kCellWidth, kCellHeight);
    chart->SetView3D(in3D);
    chart->Title().Text().Clear();
    chart->Title().Text().Add(entry.Description + (in3D ? " (3D)" : " (2D)"));
    if (entry.SeriesClass != nullptr) {
        for (int32_t k = 0; k < entry.GalleryCount; ++k) {
            chart::TChartSeries* series = chart::CreateSeriesOfKind(entry, chart.get());
            chart->AddSeries(series);
            FillSamples(*series, k);
            if (auto* pie = dynamic_cast<chart::TPieSeries*>(series)) {
                pie->SetCircled(true);
                pie->SetExplodedSlice(1, 15);
            }
            series->Marks().SetVisible(false);
        }
        return chart;
    }
    // A function: two thin source lines and the result drawn over them.
    std::vector<chart::TChartSeries*> sources;
    for (int32_t k = 0; k < entry.GalleryCount; ++k) {
        auto* source = new chart::TLineSeries(chart.get());
        chart->AddSeries(source);
        FillSamples(*source, k);
        sources.push_back(source);
    }
    chart::TChartSeries* result = chart::CreateSeriesOfKind(entry, chart.get());
    chart->AddSeries(result);
    result->SetSeriesColor(gfx::clRed);
    if (auto* line = dynamic_cast<chart::TLineSeries*>(result)) {
        line->LinePen().SetWidth(3);
    }
    result->SetDataSource(sources.front());
    for (size_t k = 1; k < sources.size(); ++k) {
        result->AddDataSource(sources[k]);
    }
    return chart;
}

void SavePng(const gfx::TBitmap& sheet, const std::string& path) {
    const std::string temporary = path + ".tmp";
    sheet.SaveToFile(temporary);
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

void WriteSeriesSheet(const std::string& path) {
    chart::RegisterChartClasses();
    const chart::TChartSeriesTypes& kinds = *chart::SeriesKinds();
    const int32_t cells = kinds.Count() * 2;
    const int32_t rows = (cells + kColumns - 1) / kColumns;
    gfx::TBitmap sheet(kColumns * (kCellWidth + kGap) + kGap, rows * (kCellHeight + kGap) + kGap);
    sheet.Canvas().Brush().SetColor(gfx::clWhite);
    sheet.Canvas().FillRect({0, 0, sheet.Width(), sheet.Height()});
    for (int32_t i = 0; i < kinds.Count(); ++i) {
        for (const bool in3D : {false, true}) {
            const int32_t cell = i * 2 + (in3D ? 1 : 0);
            const int32_t x = kGap + (cell % kColumns) * (kCellWidth + kGap);
            const int32_t y = kGap + (cell / kColumns) * (kCellHeight + kGap);
            std::unique_ptr<chart::TChart> chart = ChartOf(kinds.Item(i), in3D);
            chart->PaintToCanvas(&sheet.Canvas(),
                                 gfx::TRect::FromSize(x, y, kCellWidth, kCellHeight));
        }
    }
    SavePng(sheet, path);
}

}  // namespace gallery
