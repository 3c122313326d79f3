// The chart pen: a device pen that can be hidden or drawn as small dots, and its five variants
// that differ only in their defaults.
#pragma once

#include "gfx/Pen.h"

namespace chart {

// A pen owned by a chart part. The owner's change handler (usually a repaint request) becomes
// the pen's change event, fired after any change of Color, Mode, Style, Width, SmallDots or
// Visible. The variants install it after setting their defaults, so construction is silent.
class TChartPen : public gfx::TPen {
  public:
    explicit TChartPen(gfx::TChangeEvent onChange);

    // Draw a one-pixel pen as alternate pixels.
    bool SmallDots() const { return m_smallDots; }
    void SetSmallDots(bool value);
    // False makes every line drawn with this pen invisible.
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // From another chart pen: Visible and SmallDots silently, then the pen's own values with
    // one change event. From a plain pen: the pen's values only.
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    bool m_smallDots = false;
    bool m_visible = true;
};

// Invisible unless switched on.
class TChartHiddenPen : public TChartPen {
  public:
    explicit TChartHiddenPen(gfx::TChangeEvent onChange);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// Gray dots (grids).
class TDottedGrayPen : public TChartPen {
  public:
    explicit TDottedGrayPen(gfx::TChangeEvent onChange);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// Solid gray.
class TDarkGrayPen : public TChartPen {
  public:
    explicit TDarkGrayPen(gfx::TChangeEvent onChange);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// White (arrows of marks).
class TChartArrowPen : public TChartPen {
  public:
    explicit TChartArrowPen(gfx::TChangeEvent onChange);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// Two pixels wide (axis lines).
class TChartAxisPen : public TChartPen {
  public:
    explicit TChartAxisPen(gfx::TChangeEvent onChange);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

}  // namespace chart
