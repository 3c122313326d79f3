// The drop-down list and the check box, and their published properties.
#include "forms/ChoiceCtrls.h"

#include "classes/ClassBuilder.h"
#include "classes/Properties.h"
#include "gfx/ColorNames.h"

namespace forms {

TComboBox::TComboBox(classes::TComponent* owner) : TCustomListControl(owner) {}

const classes::TClassInfo& TComboBox::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TComboBox>("TComboBox", &TWinControl::StaticClass())
            .Creatable()
            .Integer<uint32_t>("Color", &TControl::Color, &TControl::SetColor, gfx::clWindow,
                               &gfx::ColorIdents())
            .Strings("Items", [](TComboBox& c) -> classes::TStringList& { return c.Items(); })
            .Event("OnChange", &TComboBox::OnChange, &TComboBox::SetOnChange)
            .Build();
    return info;
}

const classes::TClassInfo& TComboBox::ClassInfo() const {
    return StaticClass();
}

void TComboBox::SetItemIndex(int32_t value) {
    const int32_t index = ValidIndex(value);
    StoreItemIndex(index);
    SetCaption(index < 0 ? std::string() : Items().Strings(index));
    Changed(TControlChange::ccCaption);
    if (m_onChange) {
        m_onChange(this);
    }
}

void TComboBox::ItemsChanged(bool choiceDropped) {
    // The chosen item keeps its place when it is still there.
    if (choiceDropped) {
        SetCaption(std::string());
    }
    Changed(TControlChange::ccLines);
}

TCheckBox::TCheckBox(classes::TComponent* owner) : TWinControl(owner) {}

const classes::TClassInfo& TCheckBox::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TCheckBox>("TCheckBox", &TWinControl::StaticClass())
            .Creatable()
            .String("Caption", &TControl::Caption, &TControl::SetCaption, std::string())
            .Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false)
            .Build();
    return info;
}

const classes::TClassInfo& TCheckBox::ClassInfo() const {
    return StaticClass();
}

void TCheckBox::SetChecked(bool value) {
    if (value != m_checked) {
        m_checked = value;
        Changed(TControlChange::ccCaption);
    }
}

void TCheckBox::Click() {
    SetChecked(!m_checked);
    TControl::Click();
}

void RegisterChoiceControlClasses() {
    classes::RegisterClass(TComboBox::StaticClass());
    classes::RegisterClass(TCheckBox::StaticClass());
}

}  // namespace forms
