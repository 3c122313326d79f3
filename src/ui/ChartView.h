// The chart control on screen: the chart paints into its canvas buffer, a bitmap the size of the
// control, and the widget shows that buffer in one block copy. A repaint request of the chart
// (its Invalidate) marks the buffer stale; the next paint of the window paints it again once,
// however many requests came before; a paint with nothing changed is served from the buffer.
#pragma once

#include <functional>
#include <memory>

#include "ui/ControlView.h"

namespace chart {
class TChart;
}
namespace gfx {
class TBitmap;
}

namespace ui {

class TChartWidget;

// Paints a chart into its buffer, which has the chart's size.
using TChartPainter = std::function<void(chart::TChart& chart, gfx::TBitmap& buffer)>;

// The chart's own paint entry onto the buffer: background, bevels, and what the engine draws.
void PaintChart(chart::TChart& chart, gfx::TBitmap& buffer);

class TChartView : public TControlView {
  public:
    TChartView(TFormView& formView, chart::TChart& chart);
    ~TChartView() override;

    void SetPainter(TChartPainter painter);
    // The buffer as last painted (empty before the first paint).
    const gfx::TBitmap& Buffer() const { return *m_buffer; }
    bool BufferStale() const { return m_stale; }
    // Brings the buffer up to date (painting it when stale or resized); returns it.
    const gfx::TBitmap& UpdatedBuffer();
    // Paints of the buffer since the view was made.
    int64_t PaintCount() const { return m_paintCount; }

  protected:
    void ColorChanged() override;
    void RepaintRequested() override;
    void BoundsChanged() override;

  private:
    chart::TChart& m_chart;
    TChartWidget* m_widget;
    TChartPainter m_painter;
    std::unique_ptr<gfx::TBitmap> m_buffer;
    bool m_stale = true;
    int64_t m_paintCount = 0;
};

}  // namespace ui
