// The chosen key input behind the key-state byte.
#include "platform/KeyInput.h"

#include "platform/InputDeviceKey.h"
#include "platform/SerialLineKey.h"
#include "platform/SoundKey.h"

namespace platform {
namespace {

int64_t Now() {
    return Services().TimeSource->MonotonicNs();
}

}  // namespace

TKeyInput::TKeyInput(IKeyState& rightButton, TKeyboardKey& keyboard, IKeyDeviceCalls& calls)
    : m_rightButton(rightButton), m_keyboard(keyboard), m_calls(calls) {}

TKeyInput::~TKeyInput() = default;

void TKeyInput::Apply(const TKeyInputSettings& settings) {
    std::unique_ptr<IKeyLevelSource> device;
    switch (settings.Kind) {
        case TKeyInputKind::kiRightButton:
        case TKeyInputKind::kiKeyboardKey:
            break;
        case TKeyInputKind::kiSerialLine: {
            if (settings.SerialPort.empty()) {
                throw EKeyInputError("No serial port is chosen for the key.");
            }
            auto serial =
                std::make_unique<TSerialLineKey>(settings.SerialPort, settings.Line, m_calls);
            serial->Open();
            device = std::move(serial);
            break;
        }
        case TKeyInputKind::kiInputDevice: {
            if (settings.InputDevice.empty()) {
                throw EKeyInputError("No input device is chosen for the key.");
            }
            auto input = std::make_unique<TInputDeviceKey>(settings.InputDevice,
                                                           settings.DeviceCode, m_calls);
            input->Open();
            device = std::move(input);
            break;
        }
        case TKeyInputKind::kiSound: {
            auto sound = std::make_unique<TSoundKey>(
                settings.SoundDevice, TSoundKeyOptions{static_cast<double>(settings.SoundPitchHz)});
            sound->Open();
            device = std::move(sound);
            break;
        }
    }
    m_settings = settings;
    m_device = std::move(device);
    m_keyboard.SetSymbol(settings.KeyboardKey);
    m_source = settings.Kind == TKeyInputKind::kiKeyboardKey ? &m_keyboard : m_device.get();
    m_sound =
        settings.Kind == TKeyInputKind::kiSound ? static_cast<TSoundKey*>(m_device.get()) : nullptr;
    m_direct = settings.Kind == TKeyInputKind::kiRightButton && !settings.Inverted &&
               settings.DebounceMs == 0;
    // The tone detector decides the sound's key itself: it is never inverted or debounced.
    const bool sound = settings.Kind == TKeyInputKind::kiSound;
    m_conditioner = TKeyConditioner(settings.Inverted && !sound, sound ? 0 : settings.DebounceMs);
    m_lost = false;
}

uint8_t TKeyInput::RightButtonState() {
    if (m_direct) {
        return m_rightButton.RightButtonState();
    }
    if (m_lost) {
        const int64_t now = Now();
        if (now < m_retryAtNs || !m_source->Reopen()) {
            m_retryAtNs = now < m_retryAtNs ? m_retryAtNs : now + kRetryNs;
            return m_conditioner.Byte();
        }
        m_lost = false;
    }
    bool closed = false;
    std::optional<TKeyStamp> stamp;
    if (m_source == nullptr) {
        closed = (m_rightButton.RightButtonState() & TKeyByte::kDownBit) != 0;
        stamp = m_rightButton.ChangeStamp();
    } else {
        const TKeyLevel level = m_source->Level();
        if (level == TKeyLevel::klLost) {
            return Lose(Now());
        }
        closed = level == TKeyLevel::klClosed;
        stamp = m_source->LevelStamp();
    }
    return m_conditioner.Sample(closed, m_conditioner.NeedsTime() ? Now() : 0, stamp);
}

std::optional<TKeyStamp> TKeyInput::ChangeStamp() {
    if (m_direct) {
        return m_rightButton.ChangeStamp();
    }
    return m_lost ? std::nullopt : m_conditioner.ByteStamp();
}

int64_t TKeyInput::SettledNs() {
    if (m_direct || m_source == nullptr) {
        return m_rightButton.SettledNs();
    }
    return m_lost ? kSettledNow : m_source->SettledNs();
}

bool TKeyInput::DownNow() {
    if (m_direct) {
        return m_rightButton.DownNow();
    }
    if (m_sound != nullptr) {
        return !m_lost && m_sound->Meter().DetectedDown;
    }
    if (m_lost) {
        return (RightButtonState() & TKeyByte::kDownBit) != 0;  // its retry; up while lost
    }
    bool closed = false;
    if (m_source == nullptr) {
        closed = m_rightButton.DownNow();
    } else {
        const TKeyLevel level = m_source->LevelNow();
        if (level == TKeyLevel::klLost) {
            return (Lose(Now()) & TKeyByte::kDownBit) != 0;
        }
        closed = level == TKeyLevel::klClosed;
    }
    return closed != m_conditioner.Inverted();
}

void TKeyInput::CatchUp() {
    if (m_direct || m_source == nullptr) {
        m_rightButton.CatchUp();
    } else if (!m_lost) {
        m_source->CatchUp();
    }
}

uint8_t TKeyInput::Lose(int64_t nowNs) {
    m_lost = true;
    m_retryAtNs = nowNs + kRetryNs;
    const uint8_t byte = m_conditioner.ForceUp();
    if (m_notice) {
        m_notice("The key input (" + m_source->Description() +
                 ") has gone. The key reads as up until it is back; the run so far is kept.");
    }
    return byte;
}

}  // namespace platform
