// The chart's legend: a framed box beside or above the chart rectangle listing the active series
// or the points of the first one, each row a colour symbol and a text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/canvas/ChartBrush.h"
#include "chart/canvas/ChartPen.h"
#include "chart/engine/Series.h"
#include "chart/panel/ChartFonts.h"
#include "gfx/Geometry.h"

namespace chart {

class TChart;
enum class TLegendStyle : uint8_t;

// The chart's hooks into its legend: replace an item's text, move the box, move a row.
using TOnGetLegendText =
    std::function<void(TChart& sender, TLegendStyle style, int32_t index, std::string& text)>;
using TOnGetLegendRect = std::function<void(TChart& sender, gfx::TRect& rect)>;
using TOnGetLegendPos = std::function<void(TChart& sender, int32_t index, int32_t& x, int32_t& y)>;

// Side of the chart rectangle the legend stands on.
enum class TLegendAlignment : uint8_t { laLeft, laRight, laTop, laBottom };
// What the rows are: series, points of the first active series, or the last point of each
// series; lsAuto lists points for fewer than two active series, series otherwise.
enum class TLegendStyle : uint8_t { lsAuto, lsSeries, lsValues, lsLastValues };

class TChartLegend : public TChartFontObject {
  public:
    explicit TChartLegend(TChart* chart);
    ~TChartLegend() override;

    TLegendAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TLegendAlignment value);
    TChartBrush& Brush() const { return *m_brush; }
    void SetBrush(const gfx::TBrush& value) { m_brush->Assign(value); }
    // Box colour; symbols must stand out from it.
    gfx::TColor Color() const { return m_color; }
    void SetColor(gfx::TColor value);
    // Symbol width, percent of the text column; LegendException outside 0 .. 100.
    int32_t ColorWidth() const { return m_colorWidth; }
    void SetColorWidth(int32_t value);
    TChartHiddenPen& DividingLines() const { return *m_dividingLines; }
    void SetDividingLines(const TChartPen& value) { m_dividingLines->Assign(value); }
    // Items before it are skipped; LegendException when negative.
    int32_t FirstValue() const { return m_firstValue; }
    void SetFirstValue(int32_t value);
    TChartPen& Frame() const { return *m_frame; }
    void SetFrame(const TChartPen& value) { m_frame->Assign(value); }
    // Gap between a left or right legend and the chart rectangle, pixels; 0: 3 % of the plot
    // width.
    int32_t HorizMargin() const { return m_horizMargin; }
    void SetHorizMargin(int32_t value);
    bool Inverted() const { return m_inverted; }
    void SetInverted(bool value);
    TLegendStyle LegendStyle() const { return m_legendStyle; }
    void SetLegendStyle(TLegendStyle value);
    // Row limit of a top or bottom legend.
    int32_t MaxNumRows() const { return m_maxNumRows; }
    void SetMaxNumRows(int32_t value);
    // The chart rectangle ends at the legend's box.
    bool ResizeChart() const { return m_resizeChart; }
    void SetResizeChart(bool value);
    gfx::TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(gfx::TColor value);
    // Shadow offset, pixels.
    int32_t ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int32_t value);
    TLegendTextStyle TextStyle() const { return m_textStyle; }
    void SetTextStyle(TLegendTextStyle value);
    // Position along the free side, percent; LegendException outside 0 .. 100.
    int32_t TopPos() const { return m_topPos; }
    void SetTopPos(int32_t value);
    // Gap for a top or bottom legend, pixels; 0: 4 % of the plot height.
    int32_t VertMargin() const { return m_vertMargin; }
    void SetVertMargin(int32_t value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // laLeft and laRight.
    bool Vertical() const;
    // LegendStyle with lsAuto resolved by the number of active series.
    TLegendStyle ResolvedStyle() const;
    // Rows the legend lists, FirstValue and those before it left out; at least 0.
    int32_t ItemCount() const;
    // Text of item index (counted from 0 including the skipped items), after the chart's
    // OnGetLegendText.
    std::string ItemText(int32_t index) const;

    // Draws the box, its rows and symbols, and takes the legend's room and gap from the chart
    // rectangle. A legend without rows draws nothing and takes nothing.
    void DrawLegend();
    // Position of the row (or cell) at (x, y) of the last drawn legend; -1 outside.
    int32_t LegendClicked(int32_t x, int32_t y);

    // Layout of the last draw.
    const gfx::TRect& RectLegend() const { return m_rectLegend; }
    int32_t LegendColumns() const { return m_legendColumns; }
    int32_t LegendRows() const { return m_legendRows; }
    // Width of the colour symbols, pixels.
    int32_t SymbolWidth() const { return m_symbolWidth; }

    void Assign(const classes::TPersistent& source) override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    // Largest text width among the first k listed items (k = -1: all), pixels.
    int32_t TextColumnWidth(int32_t k) const;
    // Rows (or columns) of the given height (width) that fit from start to the chart
    // rectangle's far edge; at most the item count.
    int32_t RowsThatFit(int32_t start, int32_t size, int32_t itemCount) const;
    // The row at item position p: its text, symbol and dividing line.
    void DrawItem(int32_t index, int32_t p, int32_t h, int32_t tx, int32_t t, int32_t s);
    // The series that draws the symbol of item index in the resolved style; nullptr when none.
    TChartSeries* SymbolSeries(int32_t index, int32_t& symbolIndex) const;

    TChart* m_chart;
    TLegendAlignment m_alignment = TLegendAlignment::laRight;
    std::unique_ptr<TChartBrush> m_brush;
    gfx::TColor m_color = gfx::clWhite;
    int32_t m_colorWidth = 12;
    std::unique_ptr<TChartHiddenPen> m_dividingLines;
    int32_t m_firstValue = 0;
    std::unique_ptr<TChartPen> m_frame;
    int32_t m_horizMargin = 0;
    bool m_inverted = false;
    TLegendStyle m_legendStyle = TLegendStyle::lsAuto;
    int32_t m_maxNumRows = 10;
    bool m_resizeChart = true;
    gfx::TColor m_shadowColor = gfx::clBlack;
    int32_t m_shadowSize = 3;
    TLegendTextStyle m_textStyle = TLegendTextStyle::ltsLeftValue;
    int32_t m_topPos = 10;
    int32_t m_vertMargin = 0;
    bool m_visible = true;

    gfx::TRect m_rectLegend;
    int32_t m_legendColumns = 0;
    int32_t m_legendRows = 0;
    int32_t m_symbolWidth = 0;  // pixels
};

}  // namespace chart
