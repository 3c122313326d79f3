// The drop-down list and the check box, and their published properties.
#include "forms/ChoiceCtrls.h"

#include "classes/ClassBuilder.h"
#include "classes/Properties.h"
#include "gfx/ColorNames.h"

namespace forms {

TComboBox::TComboBox(classes::TComponent* owner) : TWinControl(owner) {
    SetColor(gfx::clWindow);
    m_items.OnChange = [this] { ItemsChanged(); };
}

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
    if (value < 0 || value >= m_items.Count()) {
        value = -1;
    }
    m_itemIndex = value;
    SetCaption(value < 0 ? std::string() : m_items.Strings(value));
    Changed(TControlChange::ccCaption);
    if (m_onChange) {
        m_onChange(this);
    }
}

int32_t TComboBox::IndexOf(const std::string& text) const {
    for (int32_t i = 0; i < m_items.Count(); ++i) {
        if (m_items.Strings(i) == text) {
            return i;
        }
    }
    return -1;
}

void TComboBox::ItemsChanged() {
    // The chosen item keeps its place when it is still there.
    if (m_itemIndex >= m_items.Count()) {
        m_itemIndex = -1;
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
