// The serial status-line key: the modem-status word, one bit of it per poll.
#include "platform/SerialLineKey.h"

#include <cstring>

namespace platform {

TSerialLineKey::TSerialLineKey(std::string path, TSerialLine line, IKeyDeviceCalls& calls)
    : TDeviceKey(std::move(path), "serial port", "dialout", calls), m_bit(LineBit(line)) {}

const char* TSerialLineKey::LineName(TSerialLine line) {
    switch (line) {
        case TSerialLine::slDsr:
            return "DSR";
        case TSerialLine::slCts:
            return "CTS";
        case TSerialLine::slDcd:
            return "DCD";
        case TSerialLine::slRi:
            return "RI";
    }
    return "DSR";
}

uint32_t TSerialLineKey::LineBit(TSerialLine line) {
    switch (line) {
        case TSerialLine::slDsr:
            return kModemDsr;
        case TSerialLine::slCts:
            return kModemCts;
        case TSerialLine::slDcd:
            return kModemDcd;
        case TSerialLine::slRi:
            return kModemRi;
    }
    return kModemDsr;
}

std::vector<std::string> TSerialLineKey::Ports(IKeyDeviceCalls& calls) {
    std::vector<std::string> ports;
    for (const char* pattern : {"/dev/ttyS*", "/dev/ttyUSB*", "/dev/ttyACM*"}) {
        for (std::string& path : calls.List(pattern)) {
            ports.push_back(std::move(path));
        }
    }
    return ports;
}

std::string TSerialLineKey::Check() {
    uint32_t bits = 0;
    const int error = m_calls.ModemStatus(m_fd, bits);
    if (error != 0) {
        return "The serial port " + Path() + " has no status lines to read (" +
               std::strerror(error) + ").";
    }
    m_last = (bits & m_bit) != 0 ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    return std::string();
}

TKeyLevel TSerialLineKey::Level() {
    if (m_fd < 0) {
        return TKeyLevel::klLost;
    }
    uint32_t bits = 0;
    const int error = m_calls.ModemStatus(m_fd, bits);
    if (error != 0) {
        return Failed(error);
    }
    m_last = (bits & m_bit) != 0 ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    return m_last;
}

}  // namespace platform
