// The Key input window: its controls to settings and back, the live trial and the lamp.
#include "app/KeyInputForm.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "platform/InputDeviceKey.h"
#include "platform/SerialLineKey.h"
#include "platform/SettingsFile.h"
#include "platform/SoundInput.h"

namespace app {

namespace {

// The inputs and lines in the order of their boxes' items.
const platform::TKeyInputKind kKinds[TKeyInputForm::kInputCount] = {
    platform::TKeyInputKind::kiRightButton, platform::TKeyInputKind::kiSerialLine,
    platform::TKeyInputKind::kiKeyboardKey, platform::TKeyInputKind::kiInputDevice,
    platform::TKeyInputKind::kiSound};
const platform::TSerialLine kLines[] = {platform::TSerialLine::slDsr, platform::TSerialLine::slCts,
                                        platform::TSerialLine::slDcd, platform::TSerialLine::slRi};
// Characters of a status line before it is broken at a blank.
constexpr size_t kStatusWidth = 60;
// The level meter spans this range of sound levels, dB of full scale.
constexpr double kMeterFloorDb = -60;
// The meter's bar lies this far inside its lowered frame, pixels.
constexpr int32_t kMeterInset = 2;
constexpr const char* kAutomaticPitch = "Automatic";

template <class T, size_t N>
int32_t IndexIn(const T (&values)[N], T value) {
    for (size_t i = 0; i < N; ++i) {
        if (values[i] == value) {
            return static_cast<int32_t>(i);
        }
    }
    return 0;
}

// The device the settings choose for an input.
const std::string& ChosenDevice(const platform::TKeyInputSettings& s,
                                platform::TKeyInputKind kind) {
    return kind == platform::TKeyInputKind::kiSerialLine ? s.SerialPort
           : kind == platform::TKeyInputKind::kiSound    ? s.SoundDevice
                                                         : s.InputDevice;
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
    m_pitchBox = Field<forms::TComboBox>("PitchBox");
    m_meterBack = Field<forms::TPanel>("MeterBack");
    m_meterBar = Field<forms::TPanel>("MeterBar");
    m_toneLabel = Field<forms::TLabel>("ToneLabel");
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
    m_meterWidth = -1;
    Show();
    FollowKey();
}

void TKeyInputForm::ShowSettings(const platform::TKeyInputSettings& s) {
    m_inputBox->SetItemIndex(IndexIn(kKinds, s.Kind));
    FillDevices(s.Kind, ChosenDevice(s, s.Kind));
    FillPitches(s.SoundPitchHz);
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
        case platform::TKeyInputKind::kiSound:
            paths = platform::SoundInputs().Devices();
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

void TKeyInputForm::FillPitches(uint32_t chosenHz) {
    std::vector<std::string> items{kAutomaticPitch};
    for (uint32_t hz = kFirstListedPitchHz; hz <= kLastListedPitchHz; hz += kListedPitchStepHz) {
        items.push_back(std::to_string(hz));
    }
    // A pitch set in the file between the listed ones stays choosable.
    const std::string chosen = chosenHz == 0 ? kAutomaticPitch : std::to_string(chosenHz);
    if (std::find(items.begin(), items.end(), chosen) == items.end()) {
        items.insert(items.begin() + 1, chosen);
    }
    const bool filling = m_filling;
    m_filling = true;
    m_pitchBox->Items().SetRawLines(items);
    m_pitchBox->SetItemIndex(m_pitchBox->IndexOf(chosen));
    m_filling = filling;
}

void TKeyInputForm::EnableControls(platform::TKeyInputKind kind) {
    const bool serial = kind == platform::TKeyInputKind::kiSerialLine;
    const bool device = kind == platform::TKeyInputKind::kiInputDevice;
    const bool sound = kind == platform::TKeyInputKind::kiSound;
    m_deviceBox->SetEnabled(serial || device || sound);
    m_pitchBox->SetEnabled(sound);
    // The tone detector decides the key itself: no inversion, no debounce.
    m_invertedBox->SetEnabled(!sound);
    m_debounceBox->SetEnabled(!sound);
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
    if (s.Kind == platform::TKeyInputKind::kiSound) {
        s.SoundDevice = device;
        const std::string pitch = m_pitchBox->Caption();
        uint32_t hz = 0;
        if (pitch != kAutomaticPitch && !pitch.empty()) {
            const auto [end, error] =
                std::from_chars(pitch.data(), pitch.data() + pitch.size(), hz);
            if (error != std::errc() || end != pitch.data() + pitch.size() ||
                hz < platform::TSoundKey::kMinPitchHz || hz > platform::TSoundKey::kMaxPitchHz) {
                throw platform::EKeyInputError(
                    "The pitch must be Automatic or a whole number of hertz from " +
                    std::to_string(platform::TSoundKey::kMinPitchHz) + " to " +
                    std::to_string(platform::TSoundKey::kMaxPitchHz) + ".");
            }
        }
        s.SoundPitchHz = hz;
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
        FillDevices(kind, ChosenDevice(current, kind));
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
    const platform::TSoundKey* sound = m_choiceOpen ? m_input->SoundKey() : nullptr;
    int down = kNoKey;
    if (sound != nullptr) {
        // The detector's own decision: the polls' changes are the capture's to take.
        down = m_input->Lost() ? kNoKey : sound->Meter().DetectedDown ? 1 : 0;
    } else if (m_choiceOpen) {
        down = m_input->DownNow() ? 1 : 0;  // the capture's changes stay for it to take
    }
    ShowMeter();
    if (down != m_lampDown) {
        m_lampDown = down;
        m_lamp->SetColor(down == kNoKey ? gfx::clMaroon : down != 0 ? gfx::clLime : gfx::clGray);
        m_lampLabel->SetCaption(down == kNoKey ? "No key" : down != 0 ? "Key down" : "Key up");
    }
}

void TKeyInputForm::ShowMeter() {
    const platform::TSoundKey* sound = m_choiceOpen ? m_input->SoundKey() : nullptr;
    const platform::TSoundMeter meter = sound != nullptr ? sound->Meter() : platform::TSoundMeter();
    const int32_t span = m_meterBack->Width() - 2 * kMeterInset;
    const double fraction = std::clamp((meter.InputDb - kMeterFloorDb) / -kMeterFloorDb, 0.0, 1.0);
    const auto width = static_cast<int32_t>(std::lround(fraction * span));
    if (width != m_meterWidth) {
        m_meterWidth = width;
        m_meterBar->SetWidth(width);
    }
    const std::string tone = sound == nullptr ? std::string()
                             : meter.ToneFound
                                 ? "Tone " + std::to_string(std::lround(meter.PitchHz)) + " Hz"
                                 : std::string("No tone yet");
    if (tone != m_toneLabel->Caption()) {
        m_toneLabel->SetCaption(tone);
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
