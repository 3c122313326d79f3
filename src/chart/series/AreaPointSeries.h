// The point series (the line family's pointers without lines) and the area series (the line
// filled down to its origin, alone or stacked with the other area series of the chart).
#pragma once

#include <memory>

#include "chart/canvas/ChartBrush.h"
#include "chart/series/LineSeries.h"

namespace chart {

class TPointSeries : public TCustomSeries {
  public:
    // Pointer shown, points not connected, marks right at the points.
    explicit TPointSeries(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // On, the pointer brush takes each point's colour.
    void SetColorEachPoint(bool value) override;
    // Pointers 6 x 6; the chart's second series shows triangles.
    void PrepareGalleryPreview(bool enabled) override;
};

enum class TMultiArea { maNone, maStacked, maStacked100 };

// Drawing, this engine's own rule: each segment between two visible points is a quadrilateral
// from the line down to the origin line (the plot's bottom edge; stacked, the line of the
// series before), filled with AreaBrush in AreaColor (the point's colour by default) and
// outlined with AreaLinesPen, then the line with LinePen. In 3D the quadrilateral stands at
// the front of the series' depth slot and the line becomes a ribbon to its back.
class TAreaSeries : public TCustomSeries {
  public:
    explicit TAreaSeries(classes::TComponent* owner);
    ~TAreaSeries() override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    TChartBrush& AreaBrush() const { return *m_areaBrush; }
    gfx::TColor AreaColor() const { return m_areaColor; }
    void SetAreaColor(gfx::TColor value);
    TChartPen& AreaLinesPen() const { return *m_areaLinesPen; }
    bool DrawArea() const { return m_drawArea; }
    void SetDrawArea(bool value);
    // Also given to every other area series of the chart.
    TMultiArea MultiArea() const { return m_multiArea; }
    void SetMultiArea(TMultiArea value);

    // The stacked bottom and top values of point index.
    std::pair<double, double> AreaExtent(int32_t index) const;
    double HighestY() const override;
    double LowestY() const override;
    void DrawPoints() override;

  private:
    std::unique_ptr<TChartBrush> m_areaBrush;
    gfx::TColor m_areaColor = clSeriesDefault;
    std::unique_ptr<TChartPen> m_areaLinesPen;
    bool m_drawArea = false;
    TMultiArea m_multiArea = TMultiArea::maNone;
};

}  // namespace chart
