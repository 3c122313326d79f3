// The serial status-line key: the modem-status word, one bit of it per poll.
#include "platform/SerialLineKey.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/Services.h"

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

int TSerialLineKey::ReadLine() {
    uint32_t bits = 0;
    const int error = m_calls.ModemStatus(m_fd, bits);
    if (error == 0) {
        m_last = (bits & m_bit) != 0 ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    }
    return error;
}

std::string TSerialLineKey::Check() {
    ITimeSource& clock = *Services().TimeSource;
    // The cheapest of a few reads is the cost of one.
    constexpr int kTrials = 3;
    int64_t cost = std::numeric_limits<int64_t>::max();
    for (int trial = 0; trial < kTrials; ++trial) {
        const int64_t before = clock.MonotonicNs();
        const int error = ReadLine();
        if (error != 0) {
            return "The serial port " + Path() + " has no status lines to read (" +
                   std::strerror(error) + ").";
        }
        cost = std::min(cost, clock.MonotonicNs() - before);
    }
    m_readEveryNs = cost > kCheapReadNs ? cost * kCostShare : 0;
    m_counting = m_calls.LineChanges(m_fd, m_changes) == 0;
    m_nextReadNs = clock.MonotonicNs() + m_readEveryNs;
    return std::string();
}

TKeyLevel TSerialLineKey::Level() {
    if (m_fd < 0) {
        return TKeyLevel::klLost;
    }
    if (m_readEveryNs > 0) {
        const int64_t now = Services().TimeSource->MonotonicNs();
        bool due = now >= m_nextReadNs;
        if (m_counting) {
            uint64_t changes = 0;
            const int error = m_calls.LineChanges(m_fd, changes);
            if (error != 0) {
                return Failed(error);
            }
            due = due || changes != m_changes;
            m_changes = changes;
        }
        if (!due) {
            return m_last;
        }
        m_nextReadNs = now + m_readEveryNs;
    }
    const int error = ReadLine();
    return error == 0 ? m_last : Failed(error);
}

}  // namespace platform
