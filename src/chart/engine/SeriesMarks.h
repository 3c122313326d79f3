// The per-point text boxes of a series: style, colours, pens, visibility, the stored box
// positions of the points last drawn, and the drawing of one mark.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "classes/Persistent.h"
#include "gfx/Colors.h"
#include "gfx/Font.h"

namespace chart {

class TChartSeries;

enum class TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};

// Where one point's mark was drawn, pixels. A custom position (moved by the user) replaces
// the computed one when the mark is drawn again.
struct TSeriesMarkPosition {
    int32_t ArrowFromX = 0;
    int32_t ArrowFromY = 0;
    int32_t ArrowToX = 0;
    int32_t ArrowToY = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Height = 0;
    int32_t Width = 0;
    bool Custom = false;
};

// Default back colour of a mark box: pale yellow.
inline constexpr gfx::TColor kDefaultMarksBackColor = 0x80FFFF;
// Length of the arrow from the point to its box at construction, pixels.
inline constexpr int32_t kDefaultMarksArrowLength = 8;

class TSeriesMarks : public classes::TPersistent {
  public:
    explicit TSeriesMarks(TChartSeries& series);
    ~TSeriesMarks() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // Copies the settings of other marks (not the positions); other sources are refused.
    void Assign(const classes::TPersistent& source) override;

    // The line from the point to its box.
    TChartArrowPen& Arrow() const { return *m_arrow; }
    void SetArrow(const TChartPen& value) { m_arrow->Assign(value); }
    // The box outline.
    TChartPen& Frame() const { return *m_frame; }
    void SetFrame(const TChartPen& value) { m_frame->Assign(value); }
    // Pixels.
    int32_t ArrowLength() const { return m_arrowLength; }
    void SetArrowLength(int32_t value);
    gfx::TColor BackColor() const { return m_backColor; }
    void SetBackColor(gfx::TColor value);
    bool Clip() const { return m_clip; }
    void SetClip(bool value);
    gfx::TFont& Font() { return m_font; }
    const gfx::TFont& Font() const { return m_font; }
    // True when the font is the default chart font (Arial, 8 points, black, plain).
    bool IsDefaultFont() const;
    TSeriesMarksStyle Style() const { return m_style; }
    void SetStyle(TSeriesMarksStyle value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // Stored box positions by point index; the list grows with unmarked entries as needed.
    int32_t PositionCount() const { return static_cast<int32_t>(m_positions.size()); }
    TSeriesMarkPosition& Position(int32_t index);
    void ClearPositions();
    // Removes the stored position of a deleted point, if there is one.
    void DeletePosition(int32_t index);
    // Depth the arrows and boxes stand at in 3D, pixels from the front: the series' middle
    // depth, set with the series' depth positions each paint; series kinds may move it.
    int32_t ZPosition() const { return m_zPosition; }
    void SetZPosition(int32_t value) { m_zPosition = value; }

    // Draws the mark of point index (whose colour is pointColor) on the series' chart: a custom
    // stored position replaces position, otherwise position is stored; then the arrow, the box
    // and the centred text lines. The marks font is the canvas font already.
    void DrawMarkItem(int32_t index, gfx::TColor pointColor, const std::string& text,
                      TSeriesMarkPosition& position);
    // Set by the series around the drawing of all its marks in one paint: the height of a text
    // line in the marks font, measured once for them all (pixels; 0, the default, measures it
    // for each mark), and the boxes then go straight into the rows.
    void SetPaintLineHeight(int32_t pixels) { m_paintLineHeight = pixels; }

  private:
    void Changed();

    TChartSeries& m_series;
    std::unique_ptr<TChartArrowPen> m_arrow;
    std::unique_ptr<TChartPen> m_frame;
    int32_t m_arrowLength = kDefaultMarksArrowLength;
    gfx::TColor m_backColor = kDefaultMarksBackColor;
    bool m_clip = false;
    gfx::TFont m_font;
    TSeriesMarksStyle m_style = TSeriesMarksStyle::smsLabel;
    bool m_transparent = false;
    bool m_visible = false;
    std::vector<TSeriesMarkPosition> m_positions;
    int32_t m_zPosition = 0;
    int32_t m_paintLineHeight = 0;  // pixels; 0 outside a paint of all the marks
};

}  // namespace chart
