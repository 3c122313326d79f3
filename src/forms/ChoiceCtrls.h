// Controls for choosing: a drop-down list of items with one chosen, and a check box.
#pragma once

#include "forms/Control.h"
#include "forms/ListControl.h"

namespace forms {

// A drop-down list. ItemIndex is the chosen item (-1: none) and the caption its text; choosing
// an item (in the window or by SetItemIndex) runs OnChange.
class TComboBox : public TCustomListControl {
  public:
    explicit TComboBox(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // An index outside the items chooses none.
    void SetItemIndex(int32_t value);
    const classes::TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(classes::TNotifyEvent handler) { m_onChange = std::move(handler); }

  protected:
    void ItemsChanged(bool choiceDropped) override;

  private:
    classes::TNotifyEvent m_onChange;
};

// A check box with its caption beside it; a click (in the window or in code) flips Checked
// and runs OnClick.
class TCheckBox : public TWinControl {
  public:
    explicit TCheckBox(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    bool Checked() const { return m_checked; }
    // Does not run OnClick.
    void SetChecked(bool value);
    void Click() override;

  private:
    bool m_checked = false;
};

// Registers both with the class registry, so design data can name them.
void RegisterChoiceControlClasses();

}  // namespace forms
