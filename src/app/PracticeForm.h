// The Practice text window: the operator types a text, or picks PARIS, a CQ call or random
// groups, to send in the next runs; the Details window then aligns the read-back with it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "forms/Form.h"
#include "forms/StdCtrls.h"

namespace app {

class TForm1;

class TPracticeForm : public forms::TForm {
  public:
    explicit TPracticeForm(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // Shows the window with the main window's practice text; OK gives the edited one back.
    void ShowFor(TForm1& main);

    void ParisButtonClick(classes::TPersistent* sender);
    void CqButtonClick(classes::TPersistent* sender);
    void GroupsButtonClick(classes::TPersistent* sender);
    void NoneButtonClick(classes::TPersistent* sender);
    void OKButtonClick(classes::TPersistent* sender);
    void CancelButtonClick(classes::TPersistent* sender);

    forms::TEdit& TextEdit() const { return *m_textEdit; }
    // The settings file that keeps the text OK gives (none when empty).
    void SetSettingsPath(std::string path) { m_settingsPath = std::move(path); }

    // The seed of the next CQ call or random groups (each pick takes the next seed).
    void SetSeed(uint32_t seed) { m_seed = seed; }

  private:
    forms::TEdit* m_textEdit = nullptr;
    TForm1* m_main = nullptr;
    std::string m_settingsPath;
    uint32_t m_seed;
};

}  // namespace app
