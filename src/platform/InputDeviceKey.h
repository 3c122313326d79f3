// A key adapter that shows up as a Linux input device (/dev/input/event*): one of its key or
// button codes, read at every poll from the device's key state. The device is opened read-only
// and never grabbed, so its other users go on seeing it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DeviceKey.h"

namespace platform {

class TInputDeviceKey : public TDeviceKey {
  public:
    // code: a key or button code, 0..kMaxKeyCode (the settings check the range).
    TInputDeviceKey(std::string path, uint32_t code, IKeyDeviceCalls& calls = KeyDeviceCalls());
    TKeyLevel Level() override;
    // The kernel's time of the change to the present level, when its event was read.
    std::optional<TKeyStamp> LevelStamp() override { return m_stamp; }

    // The input devices present: /dev/input/event*.
    static std::vector<std::string> Devices(IKeyDeviceCalls& calls = KeyDeviceCalls());

  protected:
    std::string Check() override;

  private:
    bool CodeSet() const { return (m_bits[m_code / 8] & (1u << (m_code % 8))) != 0; }

    // Reads the queued events of the chosen code; the last one's time and direction.
    void ReadEvents();

    uint32_t m_code;
    std::array<uint8_t, kKeyBitBytes> m_bits{};
    bool m_stamping = false;  // the device stamps its events on the monotonic clock
    bool m_eventSeen = false;
    bool m_eventDown = false;  // of the code's last event
    int64_t m_eventNs = 0;
    std::optional<TKeyStamp> m_stamp;
};

}  // namespace platform
