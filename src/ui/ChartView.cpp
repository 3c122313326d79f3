// The chart widget and its canvas buffer.
#include "ui/ChartView.h"

#include <FL/Fl_Widget.H>

#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "ui/ExtViews.h"

namespace ui {

class TChartWidget : public Fl_Widget {
  public:
    explicit TChartWidget(TChartView& view) : Fl_Widget(0, 0, 0, 0), m_view(view) {}
    void draw() override { DrawBitmap(m_view.UpdatedBuffer(), x(), y()); }

  private:
    TChartView& m_view;
};

void PaintChart(chart::TChart& chart, gfx::TBitmap& buffer) {
    // The chart paints through its own off-screen buffer and copies it onto ours in one block;
    // with nothing changed it only copies.
    chart.SetWindowCanvas(&buffer.Canvas());
    chart.Paint();
}

TChartView::TChartView(TFormView& formView, chart::TChart& chart)
    : TControlView(formView, chart, new TChartWidget(*this)),
      m_chart(chart),
      m_widget(static_cast<TChartWidget*>(Widget())),
      m_painter(&PaintChart),
      m_buffer(std::make_unique<gfx::TBitmap>()) {}

TChartView::~TChartView() = default;

void TChartView::SetPainter(TChartPainter painter) {
    m_painter = std::move(painter);
    RepaintRequested();
}

const gfx::TBitmap& TChartView::UpdatedBuffer() {
    const int32_t width = m_widget->w();
    const int32_t height = m_widget->h();
    if (m_stale || m_buffer->Width() != width || m_buffer->Height() != height) {
        m_buffer->SetSize(std::max(width, 0), std::max(height, 0));
        if (Control() != nullptr && !m_buffer->Empty()) {
            m_painter(m_chart, *m_buffer);
            ++m_paintCount;
        }
        if (Control() != nullptr) {
            m_chart.ClearRepaintPending();
        }
        m_stale = false;
    }
    return *m_buffer;
}

void TChartView::ColorChanged() {
    TControlView::ColorChanged();
    RepaintRequested();
}

void TChartView::RepaintRequested() {
    m_stale = true;
    m_widget->redraw();
}

void TChartView::BoundsChanged() {
    m_widget->redraw();
}

}  // namespace ui
