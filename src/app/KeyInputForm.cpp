// The Key input window: its controls to settings and back, the live trial and the lamp.
#include "app/KeyInputForm.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "platform/InputDeviceKey.h"
#include "platform/SerialLineKey.h"
#include "platform/SettingsFile.h"

namespace app {

namespace {

// The inputs and lines in the order of their boxes' items.
const platform::TKeyInputKind kKinds[TKeyInputForm::kInputCount] = {
    platform::TKeyInputKind::kiRightButton, platform::TKeyInputKind::kiSerialLine,
    platform::TKeyInputKind::kiKeyboardKey, platform::TKeyInputKind::kiInputDevice};
const platform::TSerialLine kLines[] = {platform::TSerialLine::slDsr, platform::TSerialLine::slCts,
                                        platform::TSerialLine::slDcd, platform::TSerialLine::slRi};
// Characters of a status line before it is broken at a blank.
constexpr size_t kStatusWidth = 60;

template <class T, size_t N>
int32_t IndexIn(const T (&values)[N], T value) {
    for (size_t i = 0; i < N; ++i) {
        if (values[i] == value) {
            return static_cast<int32_t>(i);
        }
    }
    return 0;
}

template <class T, size_t N>
T At(const T (&values)[N], int32_t index, T fallback) {
    return index >= 0 && static_cast<size_t>(index) < N ? values[index] : fallback;
}

}  // namespace

template <class T>
T* TKeyInputForm::Field(std::string_view name) const {
    T* field = dynamic_cast<T*>(FindComponent(name));
    if (field == nullptr) {
        throw std::logic_error("the Key input window's design data lacks " + std::string(name));
    }
    return field;
}

TKeyInputForm::TKeyInputForm(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TKeyInputForm"), *this);
    m_inputBox = Field<forms::TComboBox>("InputBox");
    m_deviceBox = Field<forms::TComboBox>("DeviceBox");
    m_lineBox = Field<forms::TComboBox>("LineBox");
    m_keyBox = Field<forms::TComboBox>("KeyBox");
    m_codeEdit = Field<forms::TEdit>("CodeEdit");
    m_codeButton = Field<forms::TButton>("CodeButton");
    m_invertedBox = Field<forms::TCheckBox>("InvertedBox");
    m_debounceBox = Field<forms::TComboBox>("DebounceBox");
    m_lamp = Field<forms::TPanel>("Lamp");
    m_lampLabel = Field<forms::TLabel>("LampLabel");
    m_statusMemo = Field<forms::TMemo>("StatusMemo");
    m_filling = true;
    for (const platform::TKeyboardKeyName& key : platform::TKeyboardKey::Keys()) {
        m_keyBox->Items().Add(key.Caption);
    }
    for (int32_t ms = 0; ms <= platform::TKeyConditioner::kMaxDebounceMs; ++ms) {
        m_debounceBox->Items().Add(std::to_string(ms));
    }
    ShowSettings(platform::TKeyInputSettings());
    m_filling = false;
}

const classes::TClassInfo& TKeyInputForm::StaticClass() {
    return FormClass<TKeyInputForm>("TKeyInputForm");
}

const classes::TClassInfo& TKeyInputForm::ClassInfo() const {
    return StaticClass();
}

classes::TNotifyEvent TKeyInputForm::FindMethod(std::string_view name) {
    static const std::pair<std::string_view, TFormHandler<TKeyInputForm>> kMethods[] = {
        {"ChoiceChanged", &TKeyInputForm::ChoiceChanged},
        {"OKButtonClick", &TKeyInputForm::OKButtonClick},
        {"CancelButtonClick", &TKeyInputForm::CancelButtonClick},
    };
    return FormMethod<TKeyInputForm>(*this, kMethods, name);
}

void TKeyInputForm::Connect(platform::TKeyInput& input, std::string settingsPath) {
    m_input = &input;
    m_settingsPath = std::move(settingsPath);
}

void TKeyInputForm::Open() {
    m_saved = m_input != nullptr ? m_input->Settings() : platform::TKeyInputSettings();
    m_confirmed = false;
    m_open = true;
    m_filling = true;
    ShowSettings(m_saved);
    m_filling = false;
    ShowStatus(std::string());
    m_choiceOpen = true;
    m_lampDown = -1;
    Show();
    FollowKey();
}

void TKeyInputForm::ShowSettings(const platform::TKeyInputSettings& s) {
    m_inputBox->SetItemIndex(IndexIn(kKinds, s.Kind));
    FillDevices(s.Kind,
                s.Kind == platform::TKeyInputKind::kiSerialLine ? s.SerialPort : s.InputDevice);
    m_lineBox->SetItemIndex(IndexIn(kLines, s.Line));
    const platform::TKeyboardKeyName* key = platform::TKeyboardKey::FindBySymbol(s.KeyboardKey);
    m_keyBox->SetItemIndex(key != nullptr ? m_keyBox->IndexOf(key->Caption) : 0);
    m_codeEdit->SetText(std::to_string(s.DeviceCode));
    m_invertedBox->SetChecked(s.Inverted);
    m_debounceBox->SetItemIndex(s.DebounceMs);
    EnableControls(s.Kind);
}

void TKeyInputForm::FillDevices(platform::TKeyInputKind kind, const std::string& chosen) {
    std::vector<std::string> paths;
    switch (kind) {
        case platform::TKeyInputKind::kiRightButton:
        case platform::TKeyInputKind::kiKeyboardKey:
            break;
        case platform::TKeyInputKind::kiSerialLine:
            paths = platform::TSerialLineKey::Ports();
            break;
        case platform::TKeyInputKind::kiInputDevice:
            paths = platform::TInputDeviceKey::Devices();
            break;
    }
    // A chosen device that is not listed (unplugged, or named by a stable link) stays choosable.
    if (!chosen.empty() && std::find(paths.begin(), paths.end(), chosen) == paths.end()) {
        paths.insert(paths.begin(), chosen);
    }
    const bool filling = m_filling;
    m_filling = true;
    m_deviceBox->Items().SetRawLines(paths);
    m_deviceBox->SetItemIndex(paths.empty() ? -1 : std::max(m_deviceBox->IndexOf(chosen), 0));
    m_filling = filling;
}

void TKeyInputForm::EnableControls(platform::TKeyInputKind kind) {
    const bool serial = kind == platform::TKeyInputKind::kiSerialLine;
    const bool device = kind == platform::TKeyInputKind::kiInputDevice;
    m_deviceBox->SetEnabled(serial || device);
    m_lineBox->SetEnabled(serial);
    m_keyBox->SetEnabled(kind == platform::TKeyInputKind::kiKeyboardKey);
    m_codeEdit->SetEnabled(device);
    m_codeButton->SetEnabled(device);
}

platform::TKeyInputSettings TKeyInputForm::Choice() const {
    platform::TKeyInputSettings s = m_input != nullptr ? m_input->Settings() : m_saved;
    s.Kind = At(kKinds, m_inputBox->ItemIndex(), platform::TKeyInputKind::kiRightButton);
    const std::string device = m_deviceBox->Caption();
    if (s.Kind == platform::TKeyInputKind::kiSerialLine) {
        s.SerialPort = device;
    }
    if (s.Kind == platform::TKeyInputKind::kiInputDevice) {
        s.InputDevice = device;
    }
    s.Line = At(kLines, m_lineBox->ItemIndex(), platform::TSerialLine::slDsr);
    const int32_t key = m_keyBox->ItemIndex();
    if (key >= 0 && static_cast<size_t>(key) < platform::TKeyboardKey::Keys().size()) {
        s.KeyboardKey = platform::TKeyboardKey::Keys()[static_cast<size_t>(key)].Symbol;
    }
    const std::string& code = m_codeEdit->Text();
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), value);
    if (error != std::errc() || end != code.data() + code.size() || code.empty() ||
        value > platform::kMaxKeyCode) {
        throw platform::EKeyInputError("The key or button code must be a whole number from 0 to " +
                                       std::to_string(platform::kMaxKeyCode) + ".");
    }
    s.DeviceCode = value;
    s.Inverted = m_invertedBox->Checked();
    s.DebounceMs = std::max(m_debounceBox->ItemIndex(), 0);
    return s;
}

void TKeyInputForm::ChoiceChanged(classes::TPersistent* sender) {
    if (m_filling) {
        return;
    }
    if (sender == m_inputBox) {
        const platform::TKeyInputKind kind =
            At(kKinds, m_inputBox->ItemIndex(), platform::TKeyInputKind::kiRightButton);
        const platform::TKeyInputSettings& current =
            m_input != nullptr ? m_input->Settings() : m_saved;
        FillDevices(kind, kind == platform::TKeyInputKind::kiSerialLine ? current.SerialPort
                                                                        : current.InputDevice);
        EnableControls(kind);
    }
    try {
        const platform::TKeyInputSettings choice = Choice();
        if (m_input != nullptr) {
            m_input->Apply(choice);
        }
        m_choiceOpen = true;
        ShowStatus(std::string());
    } catch (const platform::EKeyInputError& error) {
        // The input in use stays; the window says why the choice cannot be tried, and the lamp
        // shows that the chosen key gives nothing (the input in use is not the one chosen).
        m_choiceOpen = false;
        ShowStatus(error.what());
    }
    m_lampDown = -1;
    FollowKey();
}

void TKeyInputForm::OKButtonClick(classes::TPersistent* /*sender*/) {
    const platform::TKeyInputSettings choice = Choice();
    if (m_input != nullptr) {
        m_input->Apply(choice);
    }
    if (!m_settingsPath.empty()) {
        platform::SaveSettings(m_settingsPath, choice);
    }
    m_confirmed = true;
    Close();
}

void TKeyInputForm::CancelButtonClick(classes::TPersistent* /*sender*/) {
    Close();
}

void TKeyInputForm::Changed(forms::TControlChange change) {
    forms::TForm::Changed(change);
    if (change == forms::TControlChange::ccVisible && !Visible() && m_open) {
        m_open = false;
        if (!m_confirmed) {
            Restore();
        }
    }
}

void TKeyInputForm::Restore() {
    if (m_input == nullptr) {
        return;
    }
    try {
        m_input->Apply(m_saved);
    } catch (const platform::EKeyInputError&) {
        // What was in use cannot be opened any more (unplugged meanwhile): the right button,
        // with the saved inversion and debounce, until the operator chooses again.
        platform::TKeyInputSettings fallback = m_saved;
        fallback.Kind = platform::TKeyInputKind::kiRightButton;
        m_input->Apply(fallback);
    }
}

void TKeyInputForm::FollowKey() {
    if (m_input == nullptr || !Visible()) {
        return;
    }
    constexpr int kNoKey = 2;
    const int down = !m_choiceOpen ? kNoKey : m_input->RightButtonState() >= 0x80 ? 1 : 0;
    if (down != m_lampDown) {
        m_lampDown = down;
        m_lamp->SetColor(down == kNoKey ? gfx::clMaroon : down != 0 ? gfx::clLime : gfx::clGray);
        m_lampLabel->SetCaption(down == kNoKey ? "No key" : down != 0 ? "Key down" : "Key up");
    }
}

void TKeyInputForm::ShowStatus(const std::string& text) {
    classes::TLineList& lines = m_statusMemo->Lines();
    lines.Clear();
    std::string line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && line.size() + 1 + word.size() > kStatusWidth) {
            lines.Add(line);
            line.clear();
        }
        if (!line.empty()) {
            line += ' ';
        }
        line += word;
        start = end + 1;
    }
    if (!line.empty()) {
        lines.Add(line);
    }
}

}  // namespace app
