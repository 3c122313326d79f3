// Views of the standard controls: push button, label, single-line edit box and memo box.
#pragma once

#include "forms/StdCtrls.h"
#include "ui/ControlView.h"

namespace ui {

class TPushButtonWidget;
class TLabelWidget;
class TEditWidget;
class TMemoWidget;

// A push button: the left mouse button, Space when it has the focus, and Enter for the default
// button of its window click it; other mouse buttons do nothing.
class TButtonView : public TControlView {
  public:
    TButtonView(TFormView& formView, forms::TButton& button);

  protected:
    void CaptionChanged() override;
    void FontChanged() override;

  private:
    static void Clicked(Fl_Widget* widget, void* view);
    forms::TButton& m_button;
    TPushButtonWidget* m_widget;
};

// A label: its caption in its font on its colour (none when transparent); an auto-sized label
// takes the size of its caption in that font.
class TLabelView : public TControlView {
  public:
    TLabelView(TFormView& formView, forms::TLabel& label);

  protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

  private:
    void AutoSize();
    forms::TLabel& m_label;
    TLabelWidget* m_widget;
};

// A single-line edit box; what the user types goes back into the control's text.
class TEditView : public TControlView {
  public:
    TEditView(TFormView& formView, forms::TEdit& edit);

  protected:
    void CaptionChanged() override;
    void FontChanged() override;

  private:
    static void Edited(Fl_Widget* widget, void* view);
    forms::TEdit& m_edit;
    TEditWidget* m_widget;
    bool m_fromWidget = false;
};

// A multi-line box. Its lines are copied to the widget only while it is visible, so that a hidden
// data box that takes a line per key change costs nothing on screen.
// The lines of a memo box as a person reads them: joined by line feeds (the box's own text ends
// every line with a carriage return too, which a shown box would print).
std::string MemoShownText(const forms::TMemo& memo);

class TMemoView : public TControlView {
  public:
    TMemoView(TFormView& formView, forms::TMemo& memo);

  protected:
    void FontChanged() override;
    void LinesChanged() override;
    void VisibleChanged() override;

  private:
    forms::TMemo& m_memo;
    TMemoWidget* m_widget;
};

}  // namespace ui
