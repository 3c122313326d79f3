// The point series (the line family's pointers without lines) and the area series (the line
// filled down to its origin, alone or stacked with the other area series of the chart).
#pragma once

#include <utility>

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

// The line family with its area on: each segment filled down to the origin (the vertical
// axis' end; stacked, the line of the area series before it) by the line family's own area
// drawing, flat and 3D, with its legend box, pointers, clicks inside the fill and copying.
class TAreaSeries : public TCustomSeries {
  public:
    explicit TAreaSeries(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Also given to every other area series of the chart.
    TMultiArea MultiArea() const { return m_multiArea; }
    void SetMultiArea(TMultiArea value);

    // The stacked bottom and top values of point index.
    std::pair<double, double> AreaExtent(int32_t index) const;
    double HighestY() const override;
    double LowestY() const override;
    // Stacked, the line runs along the running sums and the fill stands on the line below.
    int32_t LineScreenY(int32_t index) const override;
    int32_t OriginPixel(int32_t index) const override;
    // The line family's copy, then MultiArea from another area series.
    void Assign(const classes::TPersistent& source) override;

  private:
    TMultiArea m_multiArea = TMultiArea::maNone;
};

}  // namespace chart
