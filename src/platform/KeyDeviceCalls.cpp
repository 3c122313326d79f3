// The Linux device calls behind the key inputs: open(2), TIOCMGET, EVIOCGBIT, EVIOCGKEY and the
// input devices' event queue.
#include "platform/KeyDeviceCalls.h"

#include <fcntl.h>
#include <glob.h>
#include <grp.h>
#include <linux/input.h>
#include <linux/serial.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <mutex>

namespace platform {
namespace {

static_assert(kModemDcd == TIOCM_CAR && kModemRi == TIOCM_RNG && kModemDsr == TIOCM_DSR &&
              kModemCts == TIOCM_CTS);
static_assert(kMaxKeyCode == KEY_MAX);
// A thread's handle travels through the device calls as an unsigned long.
static_assert(sizeof(pthread_t) <= sizeof(unsigned long));

// The signal that ends a wait for a line change: its handler does nothing, and it is installed
// without restarting calls, so the waiting ioctl returns EINTR.
int WakeSignal() {
    static std::once_flag installed;
    const int signal = SIGRTMIN;
    std::call_once(installed, [signal] {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        ::sigaction(signal, &action, nullptr);
    });
    return signal;
}

class TLinuxKeyDeviceCalls : public IKeyDeviceCalls {
  public:
    int Open(const std::string& path, int& fd) override {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        return fd < 0 ? errno : 0;
    }
    void Close(int fd) override { ::close(fd); }
    int ModemStatus(int fd, uint32_t& bits) override {
        int status = 0;
        if (::ioctl(fd, TIOCMGET, &status) != 0) {
            return errno;
        }
        bits = static_cast<uint32_t>(status);
        return 0;
    }
    int LineChanges(int fd, uint64_t& changes) override {
        serial_icounter_struct counts{};
        if (::ioctl(fd, TIOCGICOUNT, &counts) != 0) {
            return errno;
        }
        // Each counter wraps on its own; the sum only has to change when one of them does.
        changes = static_cast<uint64_t>(static_cast<uint32_t>(counts.cts)) +
                  static_cast<uint32_t>(counts.dsr) + static_cast<uint32_t>(counts.rng) +
                  static_cast<uint32_t>(counts.dcd);
        return 0;
    }
    int WaitLineChange(int fd, uint32_t lines, uint32_t& bits, int64_t& monotonicNs) override {
        // The signal that interrupts the wait must reach this thread.
        sigset_t wake;
        sigemptyset(&wake);
        sigaddset(&wake, WakeSignal());
        pthread_sigmask(SIG_UNBLOCK, &wake, nullptr);
        if (::ioctl(fd, TIOCMIWAIT, static_cast<unsigned long>(lines)) != 0) {
            return errno;
        }
        // The moment of the wake: the change happened at or just before it.
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        constexpr int64_t kNsPerS = 1000000000;
        monotonicNs = static_cast<int64_t>(now.tv_sec) * kNsPerS + now.tv_nsec;
        return ModemStatus(fd, bits);
    }
    void InterruptLineWait(unsigned long thread) override {
        ::pthread_kill(static_cast<pthread_t>(thread), WakeSignal());
    }
    int KeyBits(int fd, bool capabilities, uint8_t* bits) override {
        const unsigned long request =
            capabilities ? EVIOCGBIT(EV_KEY, kKeyBitBytes) : EVIOCGKEY(kKeyBitBytes);
        return ::ioctl(fd, request, bits) < 0 ? errno : 0;
    }
    int UseMonotonicEventTimes(int fd) override {
        int clock = CLOCK_MONOTONIC;
        return ::ioctl(fd, EVIOCSCLOCKID, &clock) < 0 ? errno : 0;
    }
    int KeyEvents(int fd, std::vector<TKeyEvent>& events) override {
        constexpr size_t kBatch = 64;
        constexpr int64_t kNsPerS = 1000000000;
        constexpr int64_t kNsPerUs = 1000;
        constexpr int kRepeat = 2;  // the value of a held key's repeat
        input_event batch[kBatch];
        for (;;) {
            const ssize_t got = ::read(fd, batch, sizeof batch);
            if (got < 0) {
                return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : errno;
            }
            const size_t count = static_cast<size_t>(got) / sizeof(input_event);
            for (size_t i = 0; i < count; ++i) {
                const input_event& e = batch[i];
                const int64_t ns = static_cast<int64_t>(e.input_event_sec) * kNsPerS +
                                   static_cast<int64_t>(e.input_event_usec) * kNsPerUs;
                if (e.type == EV_KEY && e.value != kRepeat) {
                    events.push_back({e.code, e.value != 0, ns});
                } else if (e.type == EV_SYN && e.code == SYN_DROPPED) {
                    events.push_back({0, false, ns, true});
                }
            }
            if (count < kBatch) {
                return 0;
            }
        }
    }
    std::vector<std::string> List(const std::string& pattern) override {
        std::vector<std::string> paths;
        glob_t found{};
        if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
            for (size_t i = 0; i < found.gl_pathc; ++i) {
                paths.emplace_back(found.gl_pathv[i]);
            }
        }
        ::globfree(&found);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::string GroupOf(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            return std::string();
        }
        const group* owner = ::getgrgid(info.st_gid);
        return owner != nullptr && owner->gr_name != nullptr ? owner->gr_name : std::string();
    }
};

IKeyDeviceCalls*& Current() {
    static TLinuxKeyDeviceCalls calls;
    static IKeyDeviceCalls* current = &calls;
    return current;
}

}  // namespace

IKeyDeviceCalls& KeyDeviceCalls() {
    return *Current();
}

TScopedKeyDeviceCalls::TScopedKeyDeviceCalls(IKeyDeviceCalls& replacement) : m_saved(Current()) {
    Current() = &replacement;
}

TScopedKeyDeviceCalls::~TScopedKeyDeviceCalls() {
    Current() = m_saved;
}

}  // namespace platform
