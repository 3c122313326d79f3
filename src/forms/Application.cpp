// The application object and the registration of the control classes.
#include "forms/Application.h"

#include "forms/ChoiceCtrls.h"
#include "forms/ExtCtrls.h"
#include "forms/StdCtrls.h"
#include "platform/Services.h"

namespace forms {

TApplication& TApplication::Instance() {
    static TApplication application;
    return application;
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    m_forms.push_back(std::move(form));
}

void TApplication::DestroyForms() {
    while (!m_forms.empty()) {
        m_forms.pop_back();
    }
}

void TApplication::ProcessMessages() {
    platform::Services().EventPump->ProcessMessages();
}

void TApplication::Dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

void TApplication::HandleException(const std::exception& error) {
    ShowMessage(error.what());
}

void TApplication::ShowMessage(const std::string& text) {
    platform::Services().Dialogs->ShowMessage(text);
}

void TApplication::Beep() {
    platform::Services().Dialogs->Beep();
}

void RegisterControlClasses() {
    classes::RegisterClass(TButton::StaticClass());
    classes::RegisterClass(TLabel::StaticClass());
    classes::RegisterClass(TEdit::StaticClass());
    classes::RegisterClass(TMemo::StaticClass());
    classes::RegisterClass(TListBox::StaticClass());
    classes::RegisterClass(TPanel::StaticClass());
    classes::RegisterClass(TImage::StaticClass());
    classes::RegisterClass(TMainMenu::StaticClass());
    classes::RegisterClass(TMenuItem::StaticClass());
    RegisterChoiceControlClasses();
}

}  // namespace forms
