// The serial status-line key: the modem-status word, one bit of it per poll.
#include "platform/SerialLineKey.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>

#include "platform/Services.h"

namespace platform {

TSerialLineKey::TSerialLineKey(std::string path, TSerialLine line, IKeyDeviceCalls& calls)
    : TDeviceKey(std::move(path), "serial port", "dialout", calls), m_bit(LineBit(line)) {}

TSerialLineKey::~TSerialLineKey() {
    StopWaiter();  // before the device is closed under it
}

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
    StartWaiter();
    return std::string();
}

void TSerialLineKey::Closing() {
    StopWaiter();
}

void TSerialLineKey::StartWaiter() {
    StopWaiter();
    m_stamp = std::nullopt;
    {
        const std::lock_guard<std::mutex> lock(m_wakeMutex);
        m_woken.Reset(m_last == TKeyLevel::klClosed);
        m_wakesRead = m_wakes;
    }
    m_stopWaiting.store(false, std::memory_order_release);
    m_waiterDone.store(false, std::memory_order_release);
    m_waiting.store(true, std::memory_order_release);
    m_waiter = std::thread(&TSerialLineKey::WaitForChanges, this, m_fd);
}

void TSerialLineKey::StopWaiter() {
    if (!m_waiter.joinable()) {
        return;
    }
    m_stopWaiting.store(true, std::memory_order_release);
    // An interruption can come just before the thread enters its wait: it is sent again until
    // the thread has left.
    constexpr auto kRetry = std::chrono::milliseconds(1);
    while (!m_waiterDone.load(std::memory_order_acquire)) {
        m_calls.InterruptLineWait(static_cast<unsigned long>(m_waiter.native_handle()));
        std::this_thread::sleep_for(kRetry);
    }
    m_waiter.join();
}

void TSerialLineKey::WaitForChanges(int fd) {
    while (!m_stopWaiting.load(std::memory_order_acquire)) {
        uint32_t bits = 0;
        int64_t ns = 0;
        const int error = m_calls.WaitLineChange(fd, m_bit, bits, ns);
        if (error == EINTR) {
            continue;
        }
        if (error != 0) {
            break;  // the port cannot wait (or has gone, which the polling notices): no stamps
        }
        const std::lock_guard<std::mutex> lock(m_wakeMutex);
        ++m_wakes;
        m_woken.Change((bits & m_bit) != 0, TKeyStamp{ns, kWakeResolutionNs});
    }
    m_waiting.store(false, std::memory_order_release);
    m_waiterDone.store(true, std::memory_order_release);
}

uint64_t TSerialLineKey::Wakes() const {
    const std::lock_guard<std::mutex> lock(m_wakeMutex);
    return m_wakes;
}

TKeyLevel TSerialLineKey::Level() {
    {
        const std::lock_guard<std::mutex> lock(m_wakeMutex);
        if (m_woken.Take()) {
            m_stamp = m_woken.Stamp();
            return m_woken.Down() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
        }
    }
    const TKeyLevel level = PolledLevel();
    if (level == TKeyLevel::klLost) {
        return level;
    }
    const bool closed = level == TKeyLevel::klClosed;
    const std::lock_guard<std::mutex> lock(m_wakeMutex);
    if (closed != m_woken.Down()) {
        // A change no wake has told of (the port cannot wait, or the thread has not woken yet):
        // logged where the poll noticed it; a wake that comes for it later changes nothing.
        m_woken.Reset(closed);
        m_stamp = std::nullopt;
    }
    return level;
}

void TSerialLineKey::CatchUp() {
    const std::lock_guard<std::mutex> lock(m_wakeMutex);
    m_woken.TakeAll();
    m_stamp = m_woken.Stamp();
}

TKeyLevel TSerialLineKey::PolledLevel() {
    if (m_fd < 0) {
        return TKeyLevel::klLost;
    }
    if (m_readEveryNs > 0) {
        const int64_t now = Services().TimeSource->MonotonicNs();
        // A wake of the waiting thread makes a read due at once.
        const uint64_t wakes = Wakes();
        bool due = now >= m_nextReadNs || wakes != m_wakesRead;
        m_wakesRead = wakes;
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
