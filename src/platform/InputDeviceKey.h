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
#include "platform/KeyChanges.h"

namespace platform {

class TInputDeviceKey : public TDeviceKey {
  public:
    // code: a key or button code, 0..kMaxKeyCode (the settings check the range).
    TInputDeviceKey(std::string path, uint32_t code, IKeyDeviceCalls& calls = KeyDeviceCalls());
    // The device's events wait until the capture reads them, one change per read, each with
    // the kernel's time: a press and its release read between two polls are both logged. The
    // key state is read when the device opens and where it says it lost events (a change then
    // has no time); a device that cannot stamp on the monotonic clock is read by its key state
    // at every poll instead.
    TKeyLevel Level() override;
    std::optional<TKeyStamp> LevelStamp() override { return m_changes.Stamp(); }
    // The key as the events read so far leave it, those events kept for the capture.
    TKeyLevel LevelNow() override;
    void CatchUp() override { m_changes.TakeAll(); }

    // The input devices present: /dev/input/event*.
    static std::vector<std::string> Devices(IKeyDeviceCalls& calls = KeyDeviceCalls());

  protected:
    std::string Check() override;

  private:
    bool CodeSet() const { return (m_bits[m_code / 8] & (1u << (m_code % 8))) != 0; }

    // Reads the queued events of the chosen code into the changes waiting for the capture, and
    // the key state where the device lost events; 0 or the errno value of a failed call.
    int ReadEvents();

    uint32_t m_code;
    std::array<uint8_t, kKeyBitBytes> m_bits{};
    bool m_stamping = false;  // the device stamps its events on the monotonic clock
    TKeyChanges m_changes;
};

}  // namespace platform
