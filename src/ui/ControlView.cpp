// The control view: following a control's changes, placing and anchoring its widget.
#include "ui/ControlView.h"

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

#include "forms/Form.h"
#include "ui/FltkStyle.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"

namespace ui {

void ParentClientSize(const forms::TControl& control, int32_t& width, int32_t& height) {
    const forms::TWinControl* parent = control.Parent();
    if (parent == nullptr) {
        width = 0;
        height = 0;
        return;
    }
    if (const auto* form = dynamic_cast<const forms::TForm*>(parent)) {
        width = form->ClientWidth();
        height = form->ClientHeight();
        return;
    }
    width = parent->Width();
    height = parent->Height();
}

TControlView::TControlView(TFormView& formView, forms::TControl& control, Fl_Widget* widget)
    : m_formView(formView), m_control(&control), m_widget(widget) {}

TControlView::~TControlView() {
    if (m_control != nullptr && m_control->View() == this) {
        m_control->SetView(nullptr);
    }
}

void TControlView::Attach() {
    m_attached = true;
    m_control->SetView(this);
    RememberPlacement();
    Place();
    VisibleChanged();
    if (m_control->Enabled()) {
        m_widget->activate();
    } else {
        m_widget->deactivate();
    }
    ColorChanged();
    FontChanged();
    CaptionChanged();
    LinesChanged();
    PictureChanged();
}

void TControlView::ControlChanged(forms::TControl& control, forms::TControlChange change) {
    if (&control != m_control) {
        return;
    }
    switch (change) {
        case forms::TControlChange::ccBounds:
            if (!m_anchoring) {
                RememberPlacement();
            }
            Place();
            break;
        case forms::TControlChange::ccVisible:
            VisibleChanged();
            break;
        case forms::TControlChange::ccEnabled:
            if (control.Enabled()) {
                m_widget->activate();
            } else {
                m_widget->deactivate();
            }
            break;
        case forms::TControlChange::ccCaption:
            CaptionChanged();
            break;
        case forms::TControlChange::ccFont:
            FontChanged();
            break;
        case forms::TControlChange::ccColor:
            ColorChanged();
            break;
        case forms::TControlChange::ccLines:
            LinesChanged();
            break;
        case forms::TControlChange::ccPicture:
            PictureChanged();
            break;
        case forms::TControlChange::ccRepaint:
            RepaintRequested();
            break;
        case forms::TControlChange::ccBringToFront:
            // Widgets keep their stacking order; only windows come to the front.
            break;
        case forms::TControlChange::ccPaintNow:
            PaintNow();
            break;
    }
}

void TControlView::ControlDestroyed(forms::TControl& control) {
    if (&control == m_control) {
        m_control = nullptr;
        m_widget->hide();
    }
}

void TControlView::ParentResized(int32_t width, int32_t height) {
    if (m_control == nullptr || !m_attached) {
        return;
    }
    const TBounds bounds = AnchoredBounds(m_placed, m_placedParentWidth, m_placedParentHeight,
                                          width, height, m_control->Anchors());
    m_anchoring = true;
    m_control->SetBounds(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    m_anchoring = false;
}

TBounds TControlView::WindowBounds() const {
    if (m_control == nullptr) {
        return {m_widget->x(), m_widget->y(), m_widget->w(), m_widget->h()};
    }
    TBounds bounds{m_control->Left(), m_control->Top(), m_control->Width(), m_control->Height()};
    for (const forms::TWinControl* parent = m_control->Parent();
         parent != nullptr && dynamic_cast<const forms::TForm*>(parent) == nullptr;
         parent = parent->Parent()) {
        bounds.Left += parent->Left();
        bounds.Top += parent->Top();
    }
    // The edges are scaled, so controls that meet in the design meet on the screen.
    const TFrontEnd& frontEnd = m_formView.FrontEnd();
    const int32_t left = frontEnd.Scaled(bounds.Left);
    const int32_t top = frontEnd.Scaled(bounds.Top);
    return {left, top + m_formView.ClientTop(), frontEnd.Scaled(bounds.Left + bounds.Width) - left,
            frontEnd.Scaled(bounds.Top + bounds.Height) - top};
}

void TControlView::Rescale() {
    if (m_control == nullptr || !m_attached) {
        return;
    }
    FontChanged();
    Place();
    RepaintRequested();
}

int32_t TControlView::FontSize(const gfx::TFont& font) const {
    return m_formView.FrontEnd().Scaled(CharacterHeight(font));
}

int32_t TControlView::DisplayPercent() const {
    return m_formView.FrontEnd().DisplayPercent();
}

void TControlView::RunHandler(const std::function<void()>& handler) {
    m_formView.FrontEnd().RunHandler(handler);
}

void TControlView::ColorChanged() {
    m_widget->color(FltkColor(m_control->Color()));
    m_widget->redraw();
}

void TControlView::RepaintRequested() {
    m_widget->redraw();
}

void TControlView::PaintNow() {
    RepaintRequested();
    Fl::flush();
}

void TControlView::VisibleChanged() {
    if (m_control->Visible()) {
        m_widget->show();
    } else {
        m_widget->hide();
    }
}

void TControlView::Place() {
    const TBounds bounds = WindowBounds();
    const TBounds old{m_widget->x(), m_widget->y(), m_widget->w(), m_widget->h()};
    if (!(bounds == old)) {
        m_widget->resize(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
        // Only the uncovered part of the window is drawn again, not the whole window.
        if (Fl_Window* window = m_widget->window()) {
            window->damage(FL_DAMAGE_ALL, old.Left, old.Top, old.Width, old.Height);
        }
        m_widget->redraw();
    }
    BoundsChanged();
    for (TControlView* child : m_children) {
        child->Place();
        child->ParentResized(m_control->Width(), m_control->Height());
    }
}

void TControlView::RememberPlacement() {
    m_placed = {m_control->Left(), m_control->Top(), m_control->Width(), m_control->Height()};
    ParentClientSize(*m_control, m_placedParentWidth, m_placedParentHeight);
}

}  // namespace ui
