// The chart's walls: the back wall behind the series and, in 3D, the left and bottom walls.
#pragma once

#include <memory>

#include "chart/canvas/ChartBrush.h"
#include "chart/canvas/ChartPen.h"
#include "classes/Persistent.h"

namespace chart {

class TCustomAxisPanel;

class TChartWall : public classes::TPersistent {
  public:
    // defaultColor is the colour the wall starts with and the one design data leaves out.
    TChartWall(TCustomAxisPanel* chart, gfx::TColor defaultColor);
    ~TChartWall() override;

    TCustomAxisPanel* ParentChart() const { return m_chart; }
    TChartBrush& Brush() const { return *m_brush; }
    void SetBrush(const gfx::TBrush& value) { m_brush->Assign(value); }
    // clSeriesDefault: no colour of its own.
    gfx::TColor Color() const { return m_color; }
    void SetColor(gfx::TColor value);
    gfx::TColor WallDefaultColor() const { return m_defaultColor; }
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool value);
    TChartPen& Pen() const { return *m_pen; }
    void SetPen(const TChartPen& value) { m_pen->Assign(value); }
    // Thickness in pixels in 3D; below 1 the wall is flat.
    int32_t Size() const { return m_size; }
    void SetSize(int32_t value);
    // Sides of a thick wall are drawn darker: a filled brush and Dark3D.
    bool HasDarkSides() const;

    void Assign(const classes::TPersistent& source) override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    void Changed();

    TCustomAxisPanel* m_chart;
    std::unique_ptr<TChartBrush> m_brush;
    gfx::TColor m_color;
    bool m_dark3D = true;
    std::unique_ptr<TChartPen> m_pen;
    int32_t m_size = 0;
    gfx::TColor m_defaultColor;
};

}  // namespace chart
