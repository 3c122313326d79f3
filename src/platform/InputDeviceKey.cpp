// The input-device key: the device's key state, one code of it per poll.
#include "platform/InputDeviceKey.h"

#include <cstring>

namespace platform {

namespace {
// The kernel stamps input events in microseconds.
constexpr int64_t kEventResolutionNs = 1000;
}  // namespace

TInputDeviceKey::TInputDeviceKey(std::string path, uint32_t code, IKeyDeviceCalls& calls)
    : TDeviceKey(std::move(path), "input device", "input", calls),
      m_code(code <= kMaxKeyCode ? code : kMaxKeyCode) {}

std::vector<std::string> TInputDeviceKey::Devices(IKeyDeviceCalls& calls) {
    return calls.List("/dev/input/event*");
}

std::string TInputDeviceKey::Check() {
    m_bits.fill(0);
    int error = m_calls.KeyBits(m_fd, true, m_bits.data());
    if (error != 0) {
        return "The input device " + Path() + " has no keys to read (" + std::strerror(error) +
               ").";
    }
    if (!CodeSet()) {
        return "The input device " + Path() + " has no key or button with the code " +
               std::to_string(m_code) + ".";
    }
    m_bits.fill(0);
    error = m_calls.KeyBits(m_fd, false, m_bits.data());
    if (error != 0) {
        return "Cannot read the keys of the input device " + Path() + ": " + std::strerror(error) +
               ".";
    }
    m_last = CodeSet() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    // Without the monotonic clock the events' times mean nothing to the capture.
    m_stamping = m_calls.UseMonotonicEventTimes(m_fd) == 0;
    m_changes.Reset(m_last == TKeyLevel::klClosed);
    return std::string();
}

int TInputDeviceKey::ReadEvents() {
    std::vector<TKeyEvent> events;
    const int error = m_calls.KeyEvents(m_fd, events);
    if (error != 0) {
        return error;
    }
    bool dropped = false;
    for (const TKeyEvent& event : events) {
        if (event.Dropped) {
            dropped = true;
        } else if (event.Code == m_code) {
            m_changes.Change(event.Down, TKeyStamp{event.MonotonicNs, kEventResolutionNs});
        }
    }
    if (dropped) {
        // The device lost events: its key state tells where the key is now, not when it went.
        const int stateError = m_calls.KeyBits(m_fd, false, m_bits.data());
        if (stateError != 0) {
            return stateError;
        }
        m_changes.Change(CodeSet(), std::nullopt);
    }
    return 0;
}

TKeyLevel TInputDeviceKey::LevelNow() {
    if (m_fd < 0) {
        return TKeyLevel::klLost;
    }
    if (m_stamping) {
        // The events alone: a read of the key state drops the events waiting, and with them the
        // time of a change that came since the events were read.
        const int error = ReadEvents();
        if (error != 0) {
            return Failed(error);
        }
        m_last = m_changes.DownNow() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
        return m_last;
    }
    const int error = m_calls.KeyBits(m_fd, false, m_bits.data());
    if (error != 0) {
        return Failed(error);
    }
    m_last = CodeSet() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    return m_last;
}

TKeyLevel TInputDeviceKey::Level() {
    const TKeyLevel now = LevelNow();
    if (now == TKeyLevel::klLost) {
        return now;
    }
    if (!m_stamping) {
        // Without event times the key state read is the level, unstamped.
        const bool closed = now == TKeyLevel::klClosed;
        if (closed != m_changes.Down()) {
            m_changes.Reset(closed);
        }
        return now;
    }
    m_changes.Take();
    return m_changes.Down() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
}

}  // namespace platform
