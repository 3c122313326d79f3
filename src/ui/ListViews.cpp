// The list box view through FLTK's browser that holds one picked line.
#include "ui/ListViews.h"

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>

#include "ui/FltkStyle.h"

namespace ui {

namespace {
// The browser with the right button left to the Morse key.
class TListWidget : public Fl_Hold_Browser {
  public:
    TListWidget() : Fl_Hold_Browser(0, 0, 0, 0) {}
    int handle(int event) override {
        if ((event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE) &&
            Fl::event_button() != FL_LEFT_MOUSE) {
            return 0;
        }
        return Fl_Hold_Browser::handle(event);
    }
};
}  // namespace

TListBoxView::TListBoxView(TFormView& formView, forms::TListBox& listBox)
    : TControlView(formView, listBox, new TListWidget()),
      m_listBox(listBox),
      m_widget(static_cast<Fl_Hold_Browser*>(Widget())) {
    m_widget->box(FL_DOWN_BOX);
    m_widget->format_char(0);  // item texts are shown as they are, never as format codes
    m_widget->when(FL_WHEN_CHANGED);
    m_widget->callback(&TListBoxView::Picked, this);
}

void TListBoxView::Picked(Fl_Widget* /*widget*/, void* view) {
    auto* self = static_cast<TListBoxView*>(view);
    if (self->Control() == nullptr) {
        return;
    }
    const int32_t index = self->m_widget->value() - 1;
    forms::TListBox& listBox = self->m_listBox;
    self->RunHandler([&listBox, index] {
        listBox.SetItemIndex(index);
        listBox.Click();
    });
}

void TListBoxView::FontChanged() {
    m_widget->textfont(FltkFace(m_listBox.Font()));
    m_widget->textsize(FontSize(m_listBox.Font()));
    m_widget->textcolor(FltkColor(m_listBox.Font().Color()));
    m_widget->redraw();
}

void TListBoxView::LinesChanged() {
    const classes::TStringList& items = m_listBox.Items();
    const bool same = m_widget->size() == items.Count();
    if (!same) {
        m_widget->clear();
        for (int32_t i = 0; i < items.Count(); ++i) {
            m_widget->add(items.Strings(i).c_str());
        }
    } else {
        for (int32_t i = 0; i < items.Count(); ++i) {
            m_widget->text(i + 1, items.Strings(i).c_str());
        }
    }
    m_widget->value(m_listBox.ItemIndex() + 1);
}

}  // namespace ui
