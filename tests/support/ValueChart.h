// A flat white chart for series pixel tests whose axes map values straight to pixels:
// horizontal value v at column v, vertical value v at row height - v (values grow upwards).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "chart/component/Chart.h"

namespace support {

class TValueChart : public chart::TChart {
  public:
    TValueChart(int32_t width, int32_t height) : TChart(nullptr), m_width(width), m_height(height) {
        SetBounds(0, 0, width, height);
        SetColor(kWhite);
        SetBevelOuter(forms::TPanelBevel::bvNone);
        SetView3D(false);
        Legend().SetVisible(false);  // the whole panel is the plot
        SetMarginLeft(0);
        SetMarginTop(0);
        SetMarginRight(0);
        SetMarginBottom(0);
        BackWall().Pen().SetVisible(false);
        SetAxisVisible(false);
        // Shapes are probed up to the chart's edges.
        SetClipPoints(false);
    }
    // No room taken and no ranges: the axes only span the panel, so the vertical one ends at
    // its bottom row (where areas are filled down to).
    void LayoutAxes() override {
        LeftAxis().ComputePositions();
        BottomAxis().ComputePositions();
    }
    void ApplySeriesMargins() override {}
    int32_t SeriesValueToPixel(const chart::TChartSeries&, double value,
                               bool horizontal) const override {
        return static_cast<int32_t>(horizontal ? value : m_height - value);
    }
    void SeriesValuesToPixels(const chart::TChartSeries& series, std::span<const double> values,
                              std::span<int32_t> pixels, bool horizontal) const override {
        for (size_t i = 0; i < values.size(); ++i) {
            pixels[i] = SeriesValueToPixel(series, values[i], horizontal);
        }
    }
    double SeriesPixelToValue(const chart::TChartSeries&, int32_t pixel,
                              bool horizontal) const override {
        return horizontal ? pixel : m_height - pixel;
    }
    bool SeriesAxisInverted(const chart::TChartSeries&, bool) const override { return false; }

    gfx::TColorRef Pixel(int32_t x, int32_t y) const { return Surface().Canvas().Pixel(x, y); }
    bool Is(int32_t x, int32_t y, gfx::TColor color) const {
        return Pixel(x, y) == gfx::ColorToRGB(color);
    }
    // The picture as rows of characters: '.' white, '#' anything else.
    std::string Picture() const {
        std::string out;
        for (int32_t y = 0; y < m_height; ++y) {
            for (int32_t x = 0; x < m_width; ++x) {
                out += Pixel(x, y) == gfx::ColorToRGB(kWhite) ? '.' : '#';
            }
            out += '\n';
        }
        return out;
    }

    static constexpr gfx::TColor kWhite = 0xFFFFFF;

  private:
    int32_t m_width;
    int32_t m_height;
};

}  // namespace support
