// The panel background gradient: direction, start and end colours and visibility.
#pragma once

#include "chart/canvas/ChartCanvas.h"
#include "classes/Persistent.h"
#include "gfx/Colors.h"

namespace chart {

class TCustomChartPanel;

// Repaints its owner panel (when it has one) after every change.
class TCustomChartGradient : public classes::TPersistent {
  public:
    explicit TCustomChartGradient(TCustomChartPanel* owner);

    TGradientDirection Direction() const { return m_direction; }
    void SetDirection(TGradientDirection value);
    gfx::TColor EndColor() const { return m_endColor; }
    void SetEndColor(gfx::TColor value);
    gfx::TColor StartColor() const { return m_startColor; }
    void SetStartColor(gfx::TColor value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    TCustomChartPanel* Owner() const { return m_owner; }

    // From another gradient: the four values, silently. Anything else fails with
    // "Cannot assign a <source> to a <target>".
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    void Repaint();

    TGradientDirection m_direction = TGradientDirection::gdTopBottom;
    gfx::TColor m_endColor = gfx::clYellow;
    TCustomChartPanel* m_owner;
    gfx::TColor m_startColor = gfx::clWhite;
    bool m_visible = false;
};

// The published gradient: top to bottom, white to yellow, hidden.
class TChartGradient : public TCustomChartGradient {
  public:
    using TCustomChartGradient::TCustomChartGradient;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

}  // namespace chart
