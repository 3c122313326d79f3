// Opening, checking and closing a key input's device file, with the messages a user can act on.
#include "platform/DeviceKey.h"

#include <cerrno>
#include <cstring>

namespace platform {

TDeviceKey::TDeviceKey(std::string path, std::string kind, std::string defaultGroup,
                       IKeyDeviceCalls& calls)
    : m_calls(calls),
      m_path(std::move(path)),
      m_kind(std::move(kind)),
      m_defaultGroup(std::move(defaultGroup)) {}

TDeviceKey::~TDeviceKey() {
    CloseDevice();
}

void TDeviceKey::CloseDevice() {
    if (m_fd >= 0) {
        Closing();
        m_calls.Close(m_fd);
        m_fd = -1;
    }
}

std::string TDeviceKey::TryOpen() {
    CloseDevice();
    int fd = -1;
    const int error = m_calls.Open(m_path, fd);
    if (error == EACCES || error == EPERM) {
        std::string group = m_calls.GroupOf(m_path);
        if (group.empty() || group == "root") {
            group = m_defaultGroup;
        }
        return "Cannot open the " + m_kind + " " + m_path + ": permission denied. Join the group " +
               group + " (sudo usermod -aG " + group + " $USER), then log out and in again.";
    }
    if (error == ENOENT || error == ENODEV || error == ENXIO) {
        return "The " + m_kind + " " + m_path + " is not there. Is it plugged in?";
    }
    if (error != 0) {
        return "Cannot open the " + m_kind + " " + m_path + ": " + std::strerror(error) + ".";
    }
    m_fd = fd;
    m_last = TKeyLevel::klOpen;
    std::string problem = Check();
    if (!problem.empty()) {
        CloseDevice();
    }
    return problem;
}

void TDeviceKey::Open() {
    const std::string problem = TryOpen();
    if (!problem.empty()) {
        throw EKeyInputError(problem);
    }
}

bool TDeviceKey::Reopen() {
    return TryOpen().empty();
}

TKeyLevel TDeviceKey::Failed(int error) {
    if (error == EINTR || error == EAGAIN) {
        return m_last;
    }
    CloseDevice();
    return TKeyLevel::klLost;
}

}  // namespace platform
