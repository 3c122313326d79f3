// The point pointer of the line family: a small shape drawn at each point of a series.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "chart/canvas/ChartBrush.h"
#include "chart/canvas/ChartPen.h"
#include "classes/Persistent.h"

namespace chart {

class TChartSeries;
class TChartCanvas3D;

enum class TSeriesPointerStyle : uint8_t {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot
};

// Owned by its series; every change asks the series' chart to repaint.
class TSeriesPointer : public classes::TPersistent {
  public:
    explicit TSeriesPointer(TChartSeries& series);
    ~TSeriesPointer() override;

    TChartBrush& Brush() const { return *m_brush; }
    void SetBrush(const gfx::TBrush& value) { m_brush->Assign(value); }
    TChartPen& Pen() const { return *m_pen; }
    void SetPen(const TChartPen& value) { m_pen->Assign(value); }
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool value);
    bool Draw3D() const { return m_draw3D; }
    void SetDraw3D(bool value);
    // Half-width and half-height of the shape, pixels; below 1: ChartException "Pointer size
    // must be greater than zero".
    int32_t HorizSize() const { return m_horizSize; }
    void SetHorizSize(int32_t value);
    int32_t VertSize() const { return m_vertSize; }
    void SetVertSize(int32_t value);
    // Ask the axes for room so the shapes at the ends are not cut.
    bool InflateMargins() const { return m_inflateMargins; }
    void SetInflateMargins(bool value);
    TSeriesPointerStyle Style() const { return m_style; }
    void SetStyle(TSeriesPointerStyle value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // The canvas takes the pen and brush, a clSeriesDefault colour in either replaced by colour.
    void PrepareCanvas(TChartCanvas3D& canvas, gfx::TColor color) const;
    // The shape of a style centred on (x, y), flat at depth z (z is ignored by a flat chart).
    void DrawShape(TChartCanvas3D& canvas, bool is3D, int32_t x, int32_t y, int32_t z,
                   gfx::TColor color, TSeriesPointerStyle style) const;
    // The same with half-width hx and half-height hy instead of the pointer's sizes, pixels.
    void DrawSizedShape(TChartCanvas3D& canvas, bool is3D, int32_t x, int32_t y, int32_t z,
                        int32_t hx, int32_t hy, gfx::TColor color, TSeriesPointerStyle style) const;
    // The solid form of a style across depths z0 .. z1 centred on (x, y): a cube for
    // psRectangle, pyramids (apex up or down) for the triangles, a sphere for psCircle on a
    // canvas that renders whole scenes; side faces darker with Dark3D. False when the style
    // has no solid form here (nothing is drawn then).
    bool DrawSolidShape(TChartCanvas3D& canvas, int32_t x, int32_t y, int32_t z0, int32_t z1,
                        TSeriesPointerStyle style) const;

    void Assign(const classes::TPersistent& source) override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    void Changed();

    TChartSeries& m_series;
    std::unique_ptr<TChartBrush> m_brush;
    bool m_dark3D = true;
    bool m_draw3D = true;
    int32_t m_horizSize = 4;
    bool m_inflateMargins = true;
    std::unique_ptr<TChartPen> m_pen;
    TSeriesPointerStyle m_style = TSeriesPointerStyle::psRectangle;
    int32_t m_vertSize = 4;
    bool m_visible = true;
};

}  // namespace chart
