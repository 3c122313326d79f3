// The chart widget and its canvas buffer.
#include "ui/ChartView.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "ui/ExtViews.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"

namespace ui {

class TChartWidget : public Fl_Widget {
  public:
    explicit TChartWidget(TChartView& view) : Fl_Widget(0, 0, 0, 0), m_view(view) {}
    void draw() override { DrawBitmap(m_view.UpdatedBuffer(), x(), y()); }
    int handle(int event) override { return m_view.HandleMouse(event); }

  private:
    TChartView& m_view;
};

namespace {

forms::TMouseButton EventButton() {
    switch (Fl::event_button()) {
        case FL_RIGHT_MOUSE:
            return forms::TMouseButton::mbRight;
        case FL_MIDDLE_MOUSE:
            return forms::TMouseButton::mbMiddle;
        default:
            return forms::TMouseButton::mbLeft;
    }
}

forms::TShiftState EventShift(bool press) {
    const int state = Fl::event_state();
    forms::TShiftState shift = 0;
    shift |= (state & FL_SHIFT) != 0 ? forms::ssShift : 0u;
    shift |= (state & FL_ALT) != 0 ? forms::ssAlt : 0u;
    shift |= (state & FL_CTRL) != 0 ? forms::ssCtrl : 0u;
    shift |= (state & FL_BUTTON1) != 0 ? forms::ssLeft : 0u;
    shift |= (state & FL_BUTTON2) != 0 ? forms::ssMiddle : 0u;
    shift |= (state & FL_BUTTON3) != 0 ? forms::ssRight : 0u;
    shift |= press && Fl::event_clicks() > 0 ? forms::ssDouble : 0u;
    return shift;
}

Fl_Cursor FltkCursor(int16_t cursor) {
    switch (cursor) {
        case forms::crHandPoint:
            return FL_CURSOR_HAND;
        case forms::crCross:
            return FL_CURSOR_CROSS;
        case forms::crSizeAll:
            return FL_CURSOR_MOVE;
        case forms::crArrow:
            return FL_CURSOR_ARROW;
        default:
            return FL_CURSOR_DEFAULT;
    }
}

}  // namespace

void PaintChart(chart::TChart& chart, gfx::TBitmap& buffer) {
    // The chart paints through its own off-screen buffer and copies it onto ours in one block;
    // with nothing changed it only copies.
    chart.SetWindowCanvas(&buffer.Canvas());
    if (buffer.Width() == chart.Width() && buffer.Height() == chart.Height()) {
        chart.Paint();
        return;
    }
    // At a display size other than 100 % the chart is laid out and drawn at the buffer's size,
    // its text at the canvas's scale: sharp, not stretched.
    chart.PaintToCanvas(&buffer.Canvas(), gfx::TRect(0, 0, buffer.Width(), buffer.Height()));
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
        m_buffer->Canvas().SetTextScale(DisplayPercent());
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

bool TChartView::AcceptsMouse() const {
    return Control() != nullptr && (!m_mouseGate || m_mouseGate());
}

bool TChartView::WantsRightButton(int event, const Fl_Window* window) const {
    if (!AcceptsMouse()) {
        return false;
    }
    if (event == FL_PUSH) {
        return m_widget->window() == window && m_widget->visible_r() &&
               Fl::event_inside(m_widget) != 0;
    }
    return (event == FL_DRAG || event == FL_RELEASE) && Fl::pushed() == m_widget;
}

int TChartView::HandleMouse(int event) {
    if (Control() == nullptr) {
        return 0;
    }
    const int32_t x = Fl::event_x() - m_widget->x();
    const int32_t y = Fl::event_y() - m_widget->y();
    switch (event) {
        case FL_ENTER:
            AfterMouse();
            return 1;  // and the moves over the chart come here
        case FL_LEAVE:
            m_chart.MouseLeave();
            AfterMouse();
            return 1;
        case FL_PUSH:
            if (!AcceptsMouse()) {
                return 0;
            }
            Dispatch([&] { m_chart.MouseDown(EventButton(), EventShift(true), x, y); });
            return 1;
        case FL_DRAG:
        case FL_MOVE:
            if (AcceptsMouse()) {
                Dispatch([&] { m_chart.MouseMove(EventShift(false), x, y); });
            }
            return 1;
        case FL_RELEASE:
            if (AcceptsMouse()) {
                Dispatch([&] { m_chart.MouseUp(EventButton(), EventShift(false), x, y); });
            }
            return 1;
        case FL_MOUSEWHEEL:
            if (!AcceptsMouse() || Fl::event_dy() == 0) {
                return 0;
            }
            Dispatch([&] { m_chart.MouseWheel(Fl::event_dy() > 0); });
            return 1;
        default:
            return 0;
    }
}

void TChartView::Dispatch(const std::function<void()>& handler) {
    // The chart's click events are the program's handlers: an exception that leaves one is
    // shown, and the program goes on.
    FormView().FrontEnd().RunHandler(handler);
    AfterMouse();
}

void TChartView::AfterMouse() {
    if (Fl_Window* window = m_widget->window()) {
        window->cursor(FltkCursor(m_chart.Cursor()));
    }
    m_widget->redraw();
}

}  // namespace ui
