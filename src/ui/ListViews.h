// The view of a list box: one line per item, one picked at a time.
#pragma once

#include "forms/StdCtrls.h"
#include "ui/ControlView.h"

class Fl_Hold_Browser;

namespace ui {

// A list box: picking a line with the left button sets the control's item index and runs its
// click handler; the program's changes of the items or the index show at once.
class TListBoxView : public TControlView {
  public:
    TListBoxView(TFormView& formView, forms::TListBox& listBox);

  protected:
    void FontChanged() override;
    void LinesChanged() override;

  private:
    static void Picked(Fl_Widget* widget, void* view);
    forms::TListBox& m_listBox;
    Fl_Hold_Browser* m_widget;
};

}  // namespace ui
