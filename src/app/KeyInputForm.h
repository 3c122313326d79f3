// The "Key input" window (menu Options): the operator chooses the key input, its port and line,
// key or device and code, the inverted switch and the debounce time (or for the sound, the capture
// device and the tone's pitch, with a level meter), and tries it on the lamp, which follows the
// key. Every choice is put in place at once so the lamp shows it; OK keeps it
// and saves it in the settings file, Cancel or closing the window goes back to what was in use.
#pragma once

#include <cstdint>
#include <string>

#include "forms/ChoiceCtrls.h"
#include "forms/ExtCtrls.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"
#include "platform/KeyInput.h"

namespace app {

class TKeyInputForm : public forms::TForm {
  public:
    // The captions of the inputs in InputBox, in the order of TKeyInputKind.
    static constexpr int32_t kInputCount = 5;
    // The pitches PitchBox offers after "Automatic", Hz.
    static constexpr uint32_t kFirstListedPitchHz = 300;
    static constexpr uint32_t kLastListedPitchHz = 1500;
    static constexpr uint32_t kListedPitchStepHz = 10;

    explicit TKeyInputForm(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // The key input the window chooses for and the settings file OK writes (empty: none).
    void Connect(platform::TKeyInput& input, std::string settingsPath);
    // Fills the window from the input in use, with the ports and devices present, and shows it.
    void Open();
    // Lets the lamp follow the key (for the sound, the key as the detector decides it, without
    // taking the changes a run polls for) and the meter the sound; the front end calls it about
    // fifty times a second.
    void FollowKey();

    void ChoiceChanged(classes::TPersistent* sender);
    void OKButtonClick(classes::TPersistent* sender);
    void CancelButtonClick(classes::TPersistent* sender);

    // The settings the controls show; a code that is not a key or button code is an
    // EKeyInputError naming it.
    platform::TKeyInputSettings Choice() const;
    forms::TComboBox& InputBox() const { return *m_inputBox; }
    forms::TComboBox& DeviceBox() const { return *m_deviceBox; }
    forms::TComboBox& LineBox() const { return *m_lineBox; }
    forms::TComboBox& KeyBox() const { return *m_keyBox; }
    forms::TEdit& CodeEdit() const { return *m_codeEdit; }
    forms::TCheckBox& InvertedBox() const { return *m_invertedBox; }
    forms::TComboBox& DebounceBox() const { return *m_debounceBox; }
    forms::TPanel& Lamp() const { return *m_lamp; }
    forms::TLabel& LampLabel() const { return *m_lampLabel; }
    forms::TMemo& StatusMemo() const { return *m_statusMemo; }
    forms::TComboBox& PitchBox() const { return *m_pitchBox; }
    forms::TPanel& MeterBar() const { return *m_meterBar; }
    forms::TLabel& ToneLabel() const { return *m_toneLabel; }

  protected:
    void Changed(forms::TControlChange change) override;

  private:
    template <class T>
    T* Field(std::string_view name) const;
    // Shows the settings in the controls (without putting anything in place).
    void ShowSettings(const platform::TKeyInputSettings& settings);
    // Lists the serial ports or input devices for the input, with the chosen path among them.
    void FillDevices(platform::TKeyInputKind kind, const std::string& chosen);
    // Lists the pitches with the chosen one among them (0: Automatic).
    void FillPitches(uint32_t chosenHz);
    // Shows the sound's level and the tone found (nothing when another input is in use).
    void ShowMeter();
    // Enables the controls the input uses.
    void EnableControls(platform::TKeyInputKind kind);
    void ShowStatus(const std::string& text);
    // Goes back to the settings in use when the window opened.
    void Restore();

    forms::TComboBox* m_inputBox = nullptr;
    forms::TComboBox* m_deviceBox = nullptr;
    forms::TComboBox* m_lineBox = nullptr;
    forms::TComboBox* m_keyBox = nullptr;
    forms::TEdit* m_codeEdit = nullptr;
    forms::TButton* m_codeButton = nullptr;
    forms::TCheckBox* m_invertedBox = nullptr;
    forms::TComboBox* m_debounceBox = nullptr;
    forms::TPanel* m_lamp = nullptr;
    forms::TLabel* m_lampLabel = nullptr;
    forms::TMemo* m_statusMemo = nullptr;
    forms::TComboBox* m_pitchBox = nullptr;
    forms::TPanel* m_meterBack = nullptr;
    forms::TPanel* m_meterBar = nullptr;
    forms::TLabel* m_toneLabel = nullptr;

    platform::TKeyInput* m_input = nullptr;
    std::string m_settingsPath;
    platform::TKeyInputSettings m_saved;  // in use when the window opened
    bool m_filling = false;               // the controls are being filled: no choice yet
    bool m_open = false;                  // opened and not yet closed
    bool m_confirmed = false;             // OK closed the window
    int m_lampDown = -1;        // what the lamp shows: -1 nothing yet, 0 up, 1 down, 2 no key
    bool m_choiceOpen = true;   // the input chosen last could be opened (else the lamp: no key)
    int32_t m_meterWidth = -1;  // pixels of the meter's bar shown, -1 nothing yet
};

}  // namespace app
