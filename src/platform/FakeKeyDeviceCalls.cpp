// The in-memory device calls of the key-input tests.
#include "platform/FakeKeyDeviceCalls.h"

#include <fnmatch.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform {

void TFakeKeyDeviceCalls::AddDevice(const std::string& path, const std::string& group) {
    m_devices[path].Group = group;
}

void TFakeKeyDeviceCalls::SetOpenError(const std::string& path, int error) {
    m_devices[path].OpenError = error;
}

void TFakeKeyDeviceCalls::SetModemBits(const std::string& path, uint32_t bits) {
    TDevice& device = m_devices[path];
    if (device.Counting) {
        for (uint32_t line : {kModemCts, kModemDsr, kModemRi, kModemDcd}) {
            device.Changes += ((device.ModemBits ^ bits) & line) != 0 ? 1 : 0;
        }
    }
    device.ModemBits = bits;
}

void TFakeKeyDeviceCalls::SetChangeCounting(const std::string& path, bool counting, int error) {
    m_devices[path].Counting = counting;
    m_devices[path].CountError = error;
}

void TFakeKeyDeviceCalls::SetKeyCodes(const std::string& path, const std::set<uint32_t>& codes) {
    m_devices[path].Codes = codes;
}

void TFakeKeyDeviceCalls::SetKeyDown(const std::string& path, uint32_t code, bool down) {
    if (down) {
        m_devices[path].Down.insert(code);
    } else {
        m_devices[path].Down.erase(code);
    }
}

void TFakeKeyDeviceCalls::QueueKeyEvent(const std::string& path, const TKeyEvent& event) {
    m_devices[path].Events.push_back(event);
}

void TFakeKeyDeviceCalls::ChangeKey(const std::string& path, uint32_t code, bool down,
                                    int64_t monotonicNs) {
    SetKeyDown(path, code, down);
    QueueKeyEvent(path, {code, down, monotonicNs});
}

void TFakeKeyDeviceCalls::Unplug(const std::string& path) {
    m_devices[path].Plugged = false;
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_lineWaits[path].Unplugged = true;
    m_waitChanged.notify_all();
}

void TFakeKeyDeviceCalls::Plug(const std::string& path) {
    m_devices[path].Plugged = true;
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_lineWaits[path].Unplugged = false;
}

void TFakeKeyDeviceCalls::SetLineWaitError(const std::string& path, int error) {
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_lineWaits[path].Error = error;
}

void TFakeKeyDeviceCalls::WakeLine(const std::string& path, uint32_t bits, int64_t monotonicNs) {
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_lineWaits[path].Wakes.emplace_back(bits, monotonicNs);
    m_waitChanged.notify_all();
}

bool TFakeKeyDeviceCalls::AwaitLineWaiter(const std::string& path) {
    std::unique_lock<std::mutex> lock(m_waitMutex);
    const TLineWaits& waits = m_lineWaits[path];
    return m_waitChanged.wait_for(lock, std::chrono::seconds(1),
                                  [&waits] { return waits.Waiting > 0 && waits.Wakes.empty(); });
}

int TFakeKeyDeviceCalls::LineWaiters() const {
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    return m_lineWaiters;
}

int TFakeKeyDeviceCalls::LineWaitCalls() const {
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    return m_lineWaitCalls;
}

int TFakeKeyDeviceCalls::WaitLineChange(int fd, uint32_t, uint32_t& bits, int64_t& monotonicNs) {
    std::unique_lock<std::mutex> lock(m_waitMutex);
    ++m_lineWaitCalls;
    const auto open = m_waitFds.find(fd);
    if (open == m_waitFds.end()) {
        return EBADF;
    }
    TLineWaits& waits = m_lineWaits[open->second];
    if (waits.Error != 0) {
        return waits.Error;
    }
    ++waits.Waiting;
    ++m_lineWaiters;
    m_waitChanged.notify_all();
    m_waitChanged.wait(lock, [this, &waits] {
        return m_waitInterrupted || waits.Unplugged || !waits.Wakes.empty();
    });
    --waits.Waiting;
    --m_lineWaiters;
    m_waitChanged.notify_all();
    if (m_waitInterrupted) {
        m_waitInterrupted = false;
        return EINTR;
    }
    if (waits.Unplugged) {
        return EIO;
    }
    bits = waits.Wakes.front().first;
    monotonicNs = waits.Wakes.front().second;
    waits.Wakes.pop_front();
    return 0;
}

void TFakeKeyDeviceCalls::InterruptLineWait(unsigned long) {
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_waitInterrupted = true;
    m_waitChanged.notify_all();
}

int TFakeKeyDeviceCalls::Open(const std::string& path, int& fd) {
    ++m_openCalls;
    fd = -1;
    const auto found = m_devices.find(path);
    if (found == m_devices.end() || !found->second.Plugged) {
        return ENOENT;
    }
    if (found->second.OpenError != 0) {
        return found->second.OpenError;
    }
    fd = m_nextFd++;
    m_open[fd] = path;
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_waitFds[fd] = path;
    return 0;
}

void TFakeKeyDeviceCalls::Close(int fd) {
    m_open.erase(fd);
    const std::lock_guard<std::mutex> lock(m_waitMutex);
    m_waitFds.erase(fd);
}

TFakeKeyDeviceCalls::TDevice* TFakeKeyDeviceCalls::Find(int fd, int& error) {
    const auto open = m_open.find(fd);
    if (open == m_open.end()) {
        error = EBADF;
        return nullptr;
    }
    TDevice& device = m_devices[open->second];
    error = device.Plugged ? 0 : ENODEV;
    return device.Plugged ? &device : nullptr;
}

int TFakeKeyDeviceCalls::ModemStatus(int fd, uint32_t& bits) {
    ++m_modemReads;
    if (m_onModemRead) {
        m_onModemRead();
    }
    int error = 0;
    const TDevice* device = Find(fd, error);
    if (device != nullptr) {
        bits = device->ModemBits;
    }
    return error;
}

int TFakeKeyDeviceCalls::LineChanges(int fd, uint64_t& changes) {
    int error = 0;
    const TDevice* device = Find(fd, error);
    if (device == nullptr) {
        return error;
    }
    changes = device->Changes;
    return device->CountError;
}

int TFakeKeyDeviceCalls::UseMonotonicEventTimes(int fd) {
    int error = 0;
    const TDevice* device = Find(fd, error);
    return device == nullptr ? error : device->ClockError;
}

int TFakeKeyDeviceCalls::KeyEvents(int fd, std::vector<TKeyEvent>& events) {
    int error = 0;
    TDevice* device = Find(fd, error);
    if (device == nullptr) {
        return error;
    }
    events.insert(events.end(), device->Events.begin(), device->Events.end());
    device->Events.clear();
    if (m_onKeyEventsRead) {
        m_onKeyEventsRead();
    }
    return 0;
}

int TFakeKeyDeviceCalls::KeyBits(int fd, bool capabilities, uint8_t* bits) {
    int error = 0;
    TDevice* device = Find(fd, error);
    if (device == nullptr) {
        return error;
    }
    if (!capabilities) {
        device->Events.clear();  // the state supersedes the events waiting
    }
    std::memset(bits, 0, kKeyBitBytes);
    for (uint32_t code : capabilities ? device->Codes : device->Down) {
        bits[code / 8] = static_cast<uint8_t>(bits[code / 8] | (1u << (code % 8)));
    }
    return 0;
}

std::vector<std::string> TFakeKeyDeviceCalls::List(const std::string& pattern) {
    std::vector<std::string> paths;
    for (const auto& [path, device] : m_devices) {
        if (device.Plugged && fnmatch(pattern.c_str(), path.c_str(), FNM_PATHNAME) == 0) {
            paths.push_back(path);
        }
    }
    return paths;
}

std::string TFakeKeyDeviceCalls::GroupOf(const std::string& path) {
    const auto found = m_devices.find(path);
    return found == m_devices.end() ? std::string() : found->second.Group;
}

}  // namespace platform
