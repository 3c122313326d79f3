// The chart control on screen: the chart paints into its canvas buffer, a bitmap the size of the
// control, and the widget shows that buffer in one block copy. A repaint request of the chart
// (its Invalidate) marks the buffer stale; the next paint of the window paints it again once,
// however many requests came before; a paint with nothing changed is served from the buffer.
// The widget hands the mouse (press, drag, release, wheel, enter, leave) to the chart, which
// zooms, pans and scrolls, and shows the cursor the chart asks for.
#pragma once

#include <functional>
#include <memory>

#include <FL/Fl_Window.H>

#include "ui/ControlView.h"

namespace chart {
class TChart;
}
namespace gfx {
class TBitmap;
}

namespace ui {

class TChartWidget;

// Paints a chart into its buffer, which has the chart's size at the display size.
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

    // Whether the chart takes the mouse now (a keying run switches it off); always when unset.
    void SetMouseGate(std::function<bool()> gate) { m_mouseGate = std::move(gate); }
    bool AcceptsMouse() const;
    // Whether a right-button event (which is also the Morse key) belongs to this chart: a press
    // on it while it takes the mouse, and the drag and release of a press it took.
    bool WantsRightButton(int event, const Fl_Window* window) const;
    // A mouse event of the widget, in FLTK's terms; returns whether it was used.
    int HandleMouse(int event);

  protected:
    void ColorChanged() override;
    void RepaintRequested() override;
    void BoundsChanged() override;

  private:
    // Runs a mouse handler of the chart as the event loop runs handlers, then AfterMouse.
    void Dispatch(const std::function<void()>& handler);
    // Shows the chart's cursor and the buffer (with a zoom frame drawn into it) on screen.
    void AfterMouse();

    chart::TChart& m_chart;
    std::function<bool()> m_mouseGate;
    TChartWidget* m_widget;
    TChartPainter m_painter;
    std::unique_ptr<gfx::TBitmap> m_buffer;
    bool m_stale = true;
    int64_t m_paintCount = 0;
};

}  // namespace ui
