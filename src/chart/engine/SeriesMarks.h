// The per-point text boxes of a series as settings: style, colours, visibility and the stored
// box positions of the points last drawn.
#pragma once

#include <cstdint>
#include <vector>

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

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // Copies the settings of other marks (not the positions); other sources are refused.
    void Assign(const classes::TPersistent& source) override;

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

  private:
    void Changed();

    TChartSeries& m_series;
    int32_t m_arrowLength = kDefaultMarksArrowLength;
    gfx::TColor m_backColor = kDefaultMarksBackColor;
    bool m_clip = false;
    gfx::TFont m_font;
    TSeriesMarksStyle m_style = TSeriesMarksStyle::smsLabel;
    bool m_transparent = false;
    bool m_visible = false;
    std::vector<TSeriesMarkPosition> m_positions;
};

}  // namespace chart
