// The drop-down list and check box widgets and their views.
#include "ui/ChoiceViews.h"

#include <FL/Fl.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>

#include <string>

#include "ui/FltkStyle.h"

namespace ui {

namespace {

// FLTK widgets that ignore the right button: it is the Morse key.
template <class TWidget>
class TLeftButtonOnly : public TWidget {
  public:
    TLeftButtonOnly() : TWidget(0, 0, 0, 0) {}
    int handle(int event) override {
        if ((event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE) &&
            Fl::event_button() == FL_RIGHT_MOUSE) {
            return 0;
        }
        return TWidget::handle(event);
    }
};

// An item's text as the menu's add() takes it: '/' would start a sub-menu, '&' mark a shortcut,
// a leading '_' draw a divider, '\\' escape the next character.
std::string MenuItemText(const std::string& text) {
    std::string escaped;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '/' || c == '\\' || (c == '_' && i == 0)) {
            escaped += '\\';
        } else if (c == '&') {
            escaped += '&';
        }
        escaped += c;
    }
    return escaped;
}

}  // namespace

TComboBoxView::TComboBoxView(TFormView& formView, forms::TComboBox& comboBox)
    : TControlView(formView, comboBox, new TLeftButtonOnly<Fl_Choice>()),
      m_comboBox(comboBox),
      m_widget(static_cast<Fl_Choice*>(Widget())) {
    m_widget->box(FL_DOWN_BOX);
    m_widget->down_box(FL_BORDER_BOX);
    m_widget->callback(&TComboBoxView::Chosen, this);
}

void TComboBoxView::Chosen(Fl_Widget* /*widget*/, void* view) {
    auto* self = static_cast<TComboBoxView*>(view);
    if (self->Control() == nullptr) {
        return;
    }
    const int chosen = self->m_widget->value();
    self->RunHandler([self, chosen] { self->m_comboBox.SetItemIndex(chosen); });
}

void TComboBoxView::LinesChanged() {
    m_widget->clear();
    for (int32_t i = 0; i < m_comboBox.Items().Count(); ++i) {
        m_widget->add(MenuItemText(m_comboBox.Items().Strings(i)).c_str());
    }
    CaptionChanged();
}

void TComboBoxView::CaptionChanged() {
    const int32_t index = m_comboBox.ItemIndex();
    if (index >= 0 && index < m_widget->size()) {
        m_widget->value(index);
    } else {
        m_widget->value(-1);
    }
    m_widget->redraw();
}

void TComboBoxView::FontChanged() {
    m_widget->textfont(FltkFace(m_comboBox.Font()));
    m_widget->textsize(FontSize(m_comboBox.Font()));
    m_widget->redraw();
}

TCheckBoxView::TCheckBoxView(TFormView& formView, forms::TCheckBox& checkBox)
    : TControlView(formView, checkBox, new TLeftButtonOnly<Fl_Check_Button>()),
      m_checkBox(checkBox),
      m_widget(static_cast<Fl_Check_Button*>(Widget())) {
    m_widget->callback(&TCheckBoxView::Clicked, this);
}

void TCheckBoxView::Clicked(Fl_Widget* /*widget*/, void* view) {
    auto* self = static_cast<TCheckBoxView*>(view);
    if (self->Control() == nullptr) {
        return;
    }
    // The widget has flipped itself; the control's click flips the control the same way.
    self->RunHandler([self] { self->m_checkBox.Click(); });
}

void TCheckBoxView::CaptionChanged() {
    m_widget->copy_label(LabelText(m_checkBox.Caption()).c_str());
    m_widget->value(m_checkBox.Checked() ? 1 : 0);
    m_widget->redraw();
}

void TCheckBoxView::FontChanged() {
    m_widget->labelfont(FltkFace(m_checkBox.Font()));
    m_widget->labelsize(FontSize(m_checkBox.Font()));
    m_widget->redraw();
}

}  // namespace ui
