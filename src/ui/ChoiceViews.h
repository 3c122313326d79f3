// Views of the choosing controls: the drop-down list as an FLTK choice, the check box as an
// FLTK check button.
#pragma once

#include "forms/ChoiceCtrls.h"
#include "ui/ControlView.h"

class Fl_Choice;
class Fl_Check_Button;

namespace ui {

class TComboBoxView : public TControlView {
  public:
    TComboBoxView(TFormView& formView, forms::TComboBox& comboBox);

  protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void LinesChanged() override;

  private:
    static void Chosen(Fl_Widget* widget, void* view);
    forms::TComboBox& m_comboBox;
    Fl_Choice* m_widget;
};

class TCheckBoxView : public TControlView {
  public:
    TCheckBoxView(TFormView& formView, forms::TCheckBox& checkBox);

  protected:
    void CaptionChanged() override;
    void FontChanged() override;

  private:
    static void Clicked(Fl_Widget* widget, void* view);
    forms::TCheckBox& m_checkBox;
    Fl_Check_Button* m_widget;
};

}  // namespace ui
