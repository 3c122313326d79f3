// The fast line series: one pen for the whole series, move-to and line-to only, and an append
// that draws just the new segment when the chart is not repainted for it.
#pragma once

#include <memory>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "chart/engine/Series.h"

namespace chart {

class TFastLineSeries : public TChartSeries {
  public:
    explicit TFastLineSeries(classes::TComponent* owner);
    ~TFastLineSeries() override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Off, an appended point is drawn at once onto the chart's canvas (the segment from the
    // point before it) instead of asking for a repaint.
    bool AutoRepaint() const { return m_autoRepaint; }
    void SetAutoRepaint(bool value) { m_autoRepaint = value; }
    TChartPen& LinePen() const { return *m_linePen; }

    // The pen moves to the first visible point (or draws from the point before it), then
    // draws a line to each following point that maps to another pixel.
    void DrawPoints() override;

  protected:
    void RepaintAfterAdd(int32_t valueIndex) override;
    // Whether the line can be drawn as one polyline of its mapped points, the same pixels as
    // its segments one by one: flat, with a solid pen in copy mode.
    virtual bool DrawsDense() const;

  private:
    // The canvas takes the line pen and a clear brush.
    void PrepareCanvas();
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void DrawDense();

    bool m_autoRepaint = true;
    std::unique_ptr<TChartPen> m_linePen;
    std::vector<gfx::TPoint> m_screen;  // DrawDense's mapped points, kept between paints
};

}  // namespace chart
