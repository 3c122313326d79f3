// The concrete chart control that design data names TChart: the axis panel with a title, a
// foot, three walls and the drawing steps the axis panel leaves to it.
#pragma once

#include <memory>

#include "chart/component/ChartTitle.h"
#include "chart/component/ChartWall.h"
#include "chart/engine/AxisPanel.h"

namespace chart {

class TChart : public TCustomAxisPanel {
  public:
    explicit TChart(classes::TComponent* owner);
    ~TChart() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    TChartTitle& Title() const { return *m_title; }
    TChartTitle& Foot() const { return *m_foot; }
    TChartWall& BackWall() const { return *m_backWall; }
    TChartWall& LeftWall() const { return *m_leftWall; }
    TChartWall& BottomWall() const { return *m_bottomWall; }
    // The back wall's colour; set at run time it also makes the back wall's brush solid.
    gfx::TColor BackColor() const { return m_backWall->Color(); }
    void SetBackColor(gfx::TColor value);
    // Draw the back image inside the chart rectangle (on the back wall) instead of the panel.
    bool BackImageInside() const { return m_backImageInside; }
    void SetBackImageInside(bool value);

    // From another chart: BackImageInside, the walls, foot and title, then the axis panel's
    // settings.
    void Assign(const classes::TPersistent& source) override;

    // Title at the top, then foot at the bottom, each taking its room from the chart rectangle.
    void DrawTitlesAndLegend() override;
    // One title with its lines and box; moves the chart rectangle's top (or bottom) past it.
    void DrawTitle(TChartTitle& title, bool atTop);
    // The back wall, the back image inside it and, in 3D, the left and bottom walls.
    void DrawWalls() override;
    // The axes' ranges, the 3D room and the axes' room, which give the final chart rectangle,
    // then the axes' pixel extents.
    void LayoutAxes() override;
    // Widens the side axes' ranges so the pixel margins of their series fit.
    void ApplySeriesMargins() override;
    // The left or bottom wall's thickness in a 3D chart with walls, pixels.
    int32_t AxisWallSize(TAxisWall wall) const override;
    // The back image over the whole panel only when it is not drawn inside the walls.
    void PaintBackImage(const gfx::TRect& rect) override;

  private:
    // The canvas pen and brush for one wall.
    void PrepareWall(const TChartWall& wall);

    std::unique_ptr<TChartTitle> m_title;
    std::unique_ptr<TChartTitle> m_foot;
    std::unique_ptr<TChartWall> m_backWall;
    std::unique_ptr<TChartWall> m_leftWall;
    std::unique_ptr<TChartWall> m_bottomWall;
    bool m_backImageInside = false;
};

// Registers the chart and series classes that design data can name (TChart, TLineSeries).
// Safe to call more than once.
void RegisterChartClasses();

}  // namespace chart
