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

void TInputDeviceKey::ReadEvents() {
    std::vector<TKeyEvent> events;
    if (!m_stamping || m_calls.KeyEvents(m_fd, events) != 0) {
        return;  // a failing queue shows in the key state read that follows
    }
    for (const TKeyEvent& event : events) {
        if (event.Code == m_code) {
            m_changes.Change(event.Down, TKeyStamp{event.MonotonicNs, kEventResolutionNs});
        }
    }
}

TKeyLevel TInputDeviceKey::LevelNow() {
    if (m_fd < 0) {
        return TKeyLevel::klLost;
    }
    ReadEvents();
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
    if (!m_changes.Take()) {
        // Nothing waiting: the key state is the truth, and a change no event told of (events
        // lost, or not yet read when the state was) is unstamped.
        const bool closed = now == TKeyLevel::klClosed;
        if (closed != m_changes.Down()) {
            m_changes.Reset(closed);
        }
    }
    return m_changes.Down() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
}

}  // namespace platform
