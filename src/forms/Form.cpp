// Windows: client size through the frame, placement, showing, hiding and closing.
#include "forms/Form.h"

#include "classes/ClassBuilder.h"
#include "forms/Application.h"

namespace forms {

TForm::TForm(classes::TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
}

const classes::TClassInfo& TForm::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TForm>("TForm", &TWinControl::StaticClass())
            .String("Caption", &TControl::Caption, &TControl::SetCaption, std::string())
            .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, false)
            .Enum<TFormBorderStyle>(
                "BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
                {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                TFormBorderStyle::bsSizeable)
            .Integer("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
            .StoredIf([](const TForm&) { return false; })
            .Integer("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
            .StoredIf([](const TForm&) { return false; })
            .Component<TMainMenu>("Menu", &TForm::Menu, &TForm::SetMenu)
            .Enum<TPosition>(
                "Position", &TForm::Position, &TForm::SetPosition,
                {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                TPosition::poDesigned)
            .Integer("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
            .Integer("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight)
            .Build();
    return info;
}

const classes::TClassInfo& TForm::ClassInfo() const {
    return StaticClass();
}

int32_t TForm::FrameWidth() const {
    switch (m_borderStyle) {
        case TFormBorderStyle::bsNone:
            return 0;
        case TFormBorderStyle::bsSingle:
        case TFormBorderStyle::bsDialog:
        case TFormBorderStyle::bsToolWindow:
            return kDialogBorder;
        case TFormBorderStyle::bsSizeable:
        case TFormBorderStyle::bsSizeToolWin:
            return kFrameBorder;
    }
    return kFrameBorder;
}

int32_t TForm::FrameTopHeight() const {
    if (m_borderStyle == TFormBorderStyle::bsNone) {
        return 0;
    }
    return FrameWidth() + kFrameCaption + (m_menu != nullptr ? kFrameMenu : 0);
}

int32_t TForm::FrameBottomHeight() const {
    return FrameWidth();
}

int32_t TForm::ClientWidth() const {
    return Width() - 2 * FrameWidth();
}

int32_t TForm::ClientHeight() const {
    return Height() - FrameTopHeight() - FrameBottomHeight();
}

void TForm::SetClientWidth(int32_t value) {
    SetWidth(value + 2 * FrameWidth());
}

void TForm::SetClientHeight(int32_t value) {
    SetHeight(value + FrameTopHeight() + FrameBottomHeight());
}

void TForm::SetMenu(TMainMenu* menu) {
    m_menu = menu;
    if (menu != nullptr) {
        FreeNotification(menu);
    }
}

void TForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TForm::Close() {
    Hide();
    if (TApplication::Instance().MainForm() == this) {
        TApplication::Instance().Terminate();
    }
}

void TForm::Notification(classes::TComponent* component, classes::TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == classes::TOperation::opRemove && component == m_menu) {
        m_menu = nullptr;
    }
}

}  // namespace forms
