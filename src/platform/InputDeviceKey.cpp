// The input-device key: the device's key state, one code of it per poll.
#include "platform/InputDeviceKey.h"

#include <cstring>

namespace platform {

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
    return std::string();
}

TKeyLevel TInputDeviceKey::Level() {
    if (m_fd < 0) {
        return TKeyLevel::klLost;
    }
    const int error = m_calls.KeyBits(m_fd, false, m_bits.data());
    if (error != 0) {
        return Failed(error);
    }
    m_last = CodeSet() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    return m_last;
}

}  // namespace platform
