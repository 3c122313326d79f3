// The Practice text window: an edit box, the picks and OK / Cancel.
#include "app/PracticeForm.h"

#include <ctime>

#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "app/MainForm.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "coach/PracticeText.h"
#include "platform/SettingsFile.h"

namespace app {

const classes::TClassInfo& TPracticeForm::StaticClass() {
    return FormClass<TPracticeForm>("TPracticeForm");
}

const classes::TClassInfo& TPracticeForm::ClassInfo() const {
    return StaticClass();
}

TPracticeForm::TPracticeForm(classes::TComponent* owner)
    : forms::TForm(owner), m_seed(static_cast<uint32_t>(std::time(nullptr))) {
    classes::ReadComponent(DesignText("TPracticeForm"), *this);
    m_textEdit = dynamic_cast<forms::TEdit*>(FindComponent("TextEdit"));
    if (m_textEdit == nullptr) {
        throw std::logic_error("the Practice text window's design data lacks TextEdit");
    }
}

classes::TNotifyEvent TPracticeForm::FindMethod(std::string_view name) {
    static const std::pair<std::string_view, TFormHandler<TPracticeForm>> kMethods[] = {
        {"ParisButtonClick", &TPracticeForm::ParisButtonClick},
        {"CqButtonClick", &TPracticeForm::CqButtonClick},
        {"GroupsButtonClick", &TPracticeForm::GroupsButtonClick},
        {"NoneButtonClick", &TPracticeForm::NoneButtonClick},
        {"OKButtonClick", &TPracticeForm::OKButtonClick},
        {"CancelButtonClick", &TPracticeForm::CancelButtonClick},
    };
    return FormMethod<TPracticeForm>(*this, kMethods, name);
}

void TPracticeForm::ShowFor(TForm1& main) {
    m_main = &main;
    m_textEdit->SetText(main.PracticeText());
    Show();
}

void TPracticeForm::ParisButtonClick(classes::TPersistent* /*sender*/) {
    m_textEdit->SetText(coach::PracticeText(coach::TPracticeKind::pkParis, m_seed));
}

void TPracticeForm::CqButtonClick(classes::TPersistent* /*sender*/) {
    m_textEdit->SetText(coach::PracticeText(coach::TPracticeKind::pkCqCalls, m_seed++));
}

void TPracticeForm::GroupsButtonClick(classes::TPersistent* /*sender*/) {
    m_textEdit->SetText(coach::PracticeText(coach::TPracticeKind::pkRandomGroups, m_seed++));
}

void TPracticeForm::NoneButtonClick(classes::TPersistent* /*sender*/) {
    m_textEdit->SetText("");
}

void TPracticeForm::OKButtonClick(classes::TPersistent* /*sender*/) {
    if (m_main != nullptr) {
        m_main->SetPracticeText(m_textEdit->Text());
    }
    // The text is in use for this session even when it cannot be kept: the window then stays
    // open with the message.
    if (!m_settingsPath.empty()) {
        platform::SavePracticeText(m_settingsPath, m_textEdit->Text());
    }
    Close();
}

void TPracticeForm::CancelButtonClick(classes::TPersistent* /*sender*/) {
    Close();
}

}  // namespace app
