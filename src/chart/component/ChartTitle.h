// A chart title: lines of text above (title) or below (foot) the chart rectangle, in a box that
// can be filled and framed.
#pragma once

#include <memory>

#include "chart/canvas/ChartBrush.h"
#include "chart/canvas/ChartPen.h"
#include "chart/panel/ChartFonts.h"
#include "classes/StringList.h"
#include "gfx/Geometry.h"

namespace chart {

enum class TTitleAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

class TChartTitle : public TChartFontObject {
  public:
    // The font starts as the default chart font in blue.
    explicit TChartTitle(TCustomChartPanel* chart);
    ~TChartTitle() override;

    // Shrink a filled or framed box to the widest line.
    bool AdjustFrame() const { return m_adjustFrame; }
    void SetAdjustFrame(bool value);
    TTitleAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TTitleAlignment value);
    TChartBrush& Brush() const { return *m_brush; }
    void SetBrush(const gfx::TBrush& value) { m_brush->Assign(value); }
    // Box colour; clSeriesDefault: none of its own.
    gfx::TColor Color() const { return m_color; }
    void SetColor(gfx::TColor value);
    TChartHiddenPen& Frame() const { return *m_frame; }
    void SetFrame(const TChartPen& value) { m_frame->Assign(value); }
    classes::TStringList& Text() const { return *m_text; }
    // Copies the lines; repaints.
    void SetText(const classes::TStringList& value) { m_text->Assign(value); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    // The box as last drawn, pixels.
    const gfx::TRect& TitleRect() const { return m_titleRect; }
    void SetTitleRect(const gfx::TRect& value) { m_titleRect = value; }
    // The title is visible and (x, y) lies in its box.
    bool Clicked(int32_t x, int32_t y) const;
    // The font values that design data leaves out.
    gfx::TColor DefaultFontColor() const { return m_defaultFontColor; }
    void SetDefaultFontColor(gfx::TColor value) { m_defaultFontColor = value; }

    void Assign(const classes::TPersistent& source) override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    bool m_adjustFrame = true;
    TTitleAlignment m_alignment = TTitleAlignment::taCenter;
    std::unique_ptr<TChartBrush> m_brush;
    gfx::TColor m_color;
    std::unique_ptr<TChartHiddenPen> m_frame;
    std::unique_ptr<classes::TStringList> m_text;
    gfx::TRect m_titleRect;
    bool m_visible = true;
    gfx::TColor m_defaultFontColor = gfx::clBlue;
};

}  // namespace chart
