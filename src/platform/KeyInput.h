// The key-state byte the capture loop polls, from the input the operator chose: the right mouse
// button (as the front end tracks it), a serial status line, a keyboard key, an input device or a
// Morse tone the sound card hears, with the inverted switch and the debounce time. An input that
// goes away during a run ends the key as up, tells the operator once, and is looked for again about
// once a second.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/KeyConditioner.h"
#include "platform/KeyDeviceCalls.h"
#include "platform/KeyInputSettings.h"
#include "platform/KeyboardKey.h"
#include "platform/Services.h"
#include "platform/SoundKey.h"

namespace platform {

class TKeyInput : public IKeyState {
  public:
    // How long a lost input waits between attempts to open it again, nanoseconds.
    static constexpr int64_t kRetryNs = 1000000000;

    // rightButton: the right button's key-state byte; keyboard: the key the front end feeds.
    TKeyInput(IKeyState& rightButton, TKeyboardKey& keyboard,
              IKeyDeviceCalls& calls = KeyDeviceCalls());
    ~TKeyInput() override;
    TKeyInput(const TKeyInput&) = delete;
    TKeyInput& operator=(const TKeyInput&) = delete;

    // Switches to the input of the settings. When it cannot be opened, raises EKeyInputError
    // with the reason and goes on with the input it had.
    void Apply(const TKeyInputSettings& settings);
    const TKeyInputSettings& Settings() const { return m_settings; }

    // Told (once per loss) when the input goes away, with the message for the operator. It is
    // called from within a poll, so it should only arrange for the message to be shown.
    using TNotice = std::function<void(const std::string& message)>;
    void SetLostNotice(TNotice notice) { m_notice = std::move(notice); }
    bool Lost() const { return m_lost; }
    // The sound key in use, for its meter; null when another input is.
    const TSoundKey* SoundKey() const { return m_sound; }

    // The key-state byte of the chosen input (bit 7 down, bit 0 flipping at every press).
    uint8_t RightButtonState() override;
    // When the byte took its value: the chosen input's stamp, moved by the debounce time.
    std::optional<TKeyStamp> ChangeStamp() override;
    // How far the chosen input's changes are settled; a lost input hands over nothing more.
    int64_t SettledNs() override;
    // Whether the chosen input's contact is down now (inverted where it is, but not debounced),
    // without taking a change from the capture: the lamp of the Key input window. A lost input
    // is looked for again here too, and reads as up.
    bool DownNow() override;
    void CatchUp() override;

  private:
    uint8_t Lose(int64_t nowNs);

    IKeyState& m_rightButton;
    TKeyboardKey& m_keyboard;
    IKeyDeviceCalls& m_calls;
    TKeyInputSettings m_settings;
    std::unique_ptr<IKeyLevelSource> m_device;  // a serial line, an input device or the sound
    TSoundKey* m_sound = nullptr;               // m_device when it is the sound
    IKeyLevelSource* m_source = nullptr;        // null: the right button
    bool m_direct = true;                       // the right button's byte as it is
    TKeyConditioner m_conditioner;
    bool m_lost = false;
    int64_t m_retryAtNs = 0;
    TNotice m_notice;
};

}  // namespace platform
