// A chart for series drawing tests whose axes map a value straight to its pixel, flat or in 3D.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "chart/component/Chart.h"

namespace testsupport {

inline constexpr gfx::TColor kChartWhite = 0xFFFFFF;

// A white chart of the given size without bevels, margins, axes or walls whose axes are the
// identity: value v lies at pixel v (x) and pixel v (y, downwards), within the plot rectangle
// (0, 0, width, height). An offset shifts the horizontal values so that the left edge stands at
// a chosen value. The vertical axes end at the plot's bottom, the origin of areas.
class TPixelChart : public chart::TChart {
  public:
    explicit TPixelChart(int32_t width = 60, int32_t height = 40)
        : TChart(nullptr), m_width(width), m_height(height) {
        SetBounds(0, 0, width, height);
        SetColor(kChartWhite);
        SetBevelOuter(forms::TPanelBevel::bvNone);
        SetView3D(false);
        SetMarginLeft(0);
        SetMarginTop(0);
        SetMarginRight(0);
        SetMarginBottom(0);
        BackWall().Pen().SetVisible(false);
        SetAxisVisible(false);
        Legend().SetVisible(false);
    }
    // An oblique view (depth moves a point right and up, one pixel per unit) with one depth
    // slot of a tenth of the plot width per series, and no walls.
    void UseObliqueView() {
        SetView3D(true);
        SetView3DWalls(false);
        SetChart3DPercent(100);
        View3DOptions().SetOrthogonal(true);
    }
    void LayoutAxes() override {
        NormalizePlotRect();
        Compute3DSize();
        LeftAxis().SetPixelExtent(PlotRect().Top, PlotRect().Bottom);
        RightAxis().SetPixelExtent(PlotRect().Top, PlotRect().Bottom);
    }
    void ApplySeriesMargins() override {}
    int32_t SeriesValueToPixel(const chart::TChartSeries&, double value,
                               bool horizontal) const override {
        return static_cast<int32_t>(horizontal ? value - xOffset : value);
    }
    void SeriesValuesToPixels(const chart::TChartSeries& series, std::span<const double> values,
                              std::span<int32_t> pixels, bool horizontal) const override {
        for (size_t i = 0; i < values.size(); ++i) {
            pixels[i] = SeriesValueToPixel(series, values[i], horizontal);
        }
    }
    double SeriesPixelToValue(const chart::TChartSeries&, int32_t pixel,
                              bool horizontal) const override {
        return horizontal ? pixel + xOffset : pixel;
    }
    bool SeriesAxisInverted(const chart::TChartSeries&, bool) const override { return false; }

    gfx::TColorRef Pixel(int32_t x, int32_t y) const { return Surface().Canvas().Pixel(x, y); }
    bool Coloured(int32_t x, int32_t y) const {
        return Pixel(x, y) != gfx::ColorToRGB(kChartWhite);
    }
    // The coloured pixels as rows of '#' and '.', for readable failures.
    std::string Picture() const {
        std::string out;
        for (int32_t y = 0; y < m_height; ++y) {
            for (int32_t x = 0; x < m_width; ++x) {
                out += Coloured(x, y) ? '#' : '.';
            }
            out += '\n';
        }
        return out;
    }
    int32_t CountColoured() const {
        int32_t n = 0;
        for (int32_t y = 0; y < m_height; ++y) {
            for (int32_t x = 0; x < m_width; ++x) {
                n += Coloured(x, y) ? 1 : 0;
            }
        }
        return n;
    }

    double xOffset = 0;

  private:
    int32_t m_width;
    int32_t m_height;
};

}  // namespace testsupport
