// The standard controls and their published properties.
#include "forms/StdCtrls.h"

#include "classes/ClassBuilder.h"
#include "gfx/ColorNames.h"

namespace forms {

TButton::TButton(classes::TComponent* owner) : TWinControl(owner) {}

const classes::TClassInfo& TButton::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TButton>("TButton", &TWinControl::StaticClass())
            .Creatable()
            .String("Caption", &TControl::Caption, &TControl::SetCaption, std::string())
            .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
            .Enum<TModalResult>("ModalResult", &TButton::ModalResult, &TButton::SetModalResult,
                                {"mrNone", "mrOk", "mrCancel"}, TModalResult::mrNone)
            .Build();
    return info;
}

const classes::TClassInfo& TButton::ClassInfo() const {
    return StaticClass();
}

TLabel::TLabel(classes::TComponent* owner) : TControl(owner) {}

const classes::TClassInfo& TLabel::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TLabel>("TLabel", &TControl::StaticClass())
            .Creatable()
            .String("Caption", &TControl::Caption, &TControl::SetCaption, std::string())
            .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
            .Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false)
            .Build();
    return info;
}

const classes::TClassInfo& TLabel::ClassInfo() const {
    return StaticClass();
}

TEdit::TEdit(classes::TComponent* owner) : TWinControl(owner) {
    SetColor(gfx::clWindow);
}

const classes::TClassInfo& TEdit::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TEdit>("TEdit", &TWinControl::StaticClass())
            .Creatable()
            .Integer<uint32_t>("Color", &TControl::Color, &TControl::SetColor, gfx::clWindow,
                               &gfx::ColorIdents())
            .String("Text", &TEdit::Text, &TEdit::SetText, std::string())
            .Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false)
            .Build();
    return info;
}

const classes::TClassInfo& TEdit::ClassInfo() const {
    return StaticClass();
}

TMemo::TMemo(classes::TComponent* owner) : TWinControl(owner) {
    SetColor(gfx::clWindow);
    m_lines.OnChange = [this] { Changed(TControlChange::ccLines); };
}

const classes::TClassInfo& TMemo::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TMemo>("TMemo", &TWinControl::StaticClass())
            .Creatable()
            .Integer<uint32_t>("Color", &TControl::Color, &TControl::SetColor, gfx::clWindow,
                               &gfx::ColorIdents())
            .Strings("Lines", [](TMemo& m) -> classes::TStringList& { return m.Lines(); })
            .Enum<TScrollStyle>("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars,
                                {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
                                TScrollStyle::ssNone)
            .Build();
    return info;
}

const classes::TClassInfo& TMemo::ClassInfo() const {
    return StaticClass();
}

TListBox::TListBox(classes::TComponent* owner) : TCustomListControl(owner) {}

const classes::TClassInfo& TListBox::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TListBox>("TListBox", &TWinControl::StaticClass())
            .Creatable()
            .Integer<uint32_t>("Color", &TControl::Color, &TControl::SetColor, gfx::clWindow,
                               &gfx::ColorIdents())
            .Strings("Items", [](TListBox& l) -> classes::TStringList& { return l.Items(); })
            .Build();
    return info;
}

const classes::TClassInfo& TListBox::ClassInfo() const {
    return StaticClass();
}

void TListBox::SetItemIndex(int32_t value) {
    const int32_t index = ValidIndex(value);
    if (index != ItemIndex()) {
        StoreItemIndex(index);
        Changed(TControlChange::ccLines);
    }
}

bool TListBox::ItemDimmed(int32_t index) const {
    return index >= 0 && static_cast<size_t>(index) < m_dimmed.size() &&
           m_dimmed[static_cast<size_t>(index)];
}

void TListBox::SetDimmedItems(std::vector<bool> dimmed) {
    if (dimmed != m_dimmed) {
        m_dimmed = std::move(dimmed);
        Changed(TControlChange::ccLines);
    }
}

void TListBox::ItemsChanged(bool /*choiceDropped*/) {
    Changed(TControlChange::ccLines);
}

}  // namespace forms
