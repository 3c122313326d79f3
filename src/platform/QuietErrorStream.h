// Mutes the error stream while PortAudio and the sound systems below it start or stop: they are
// chatty there when there is no device.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

// Mutes the error stream (file descriptor 2) for its lifetime.
class TQuietErrorStream {
  public:
    TQuietErrorStream() {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && devNull >= 0) {
            dup2(devNull, STDERR_FILENO);
        }
        if (devNull >= 0) {
            close(devNull);
        }
    }
    ~TQuietErrorStream() {
        std::fflush(stderr);
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
        }
    }
    TQuietErrorStream(const TQuietErrorStream&) = delete;
    TQuietErrorStream& operator=(const TQuietErrorStream&) = delete;

  private:
    int m_saved = -1;
};

}  // namespace platform
