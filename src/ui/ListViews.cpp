// The list box view through FLTK's browser that holds one picked line.
#include "ui/ListViews.h"

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>

#include <string>

#include "ui/FltkStyle.h"

namespace ui {

namespace {
// Format codes before a line: greyed, then the rest as it stands ("@." ends the codes).
constexpr const char* kDimmed = "@C8@.";  // colour 8: FLTK's inactive grey
constexpr const char* kAsItStands = "@.";

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
    // Item texts are shown as they are: a line is given format codes only to grey it, and one
    // that starts with the format character is told to show the rest as it stands.
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
    }
    std::string line;
    for (int32_t i = 0; i < items.Count(); ++i) {
        const std::string& text = items.Strings(i);
        const char* shown = text.c_str();
        if (m_listBox.ItemDimmed(i) || (!text.empty() && text[0] == m_widget->format_char())) {
            line.assign(m_listBox.ItemDimmed(i) ? kDimmed : kAsItStands);
            line += text;
            shown = line.c_str();
        }
        if (same) {
            m_widget->text(i + 1, shown);
        } else {
            m_widget->add(shown);
        }
    }
    m_widget->value(m_listBox.ItemIndex() + 1);
}

}  // namespace ui
