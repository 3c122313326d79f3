// The Linux services used when nothing else is installed: the monotonic clock, the desktop
// shell through xdg-open, and headless stand-ins for the key, pump and dialogs that a front end
// replaces.
#include "platform/Services.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

extern char** environ;

namespace platform {
namespace {

class TNoKey : public IKeyState {
  public:
    uint8_t RightButtonState() override { return 0; }
};

// Milliseconds since the program started (its services were first asked for, at start-up), not
// since the machine booted: a run's tick counts stay below 2147483647, which Finish reads back as
// signed numbers, for the first 24.8 days of the program instead of the machine.
class TMonotonicClock : public IClock {
  public:
    uint32_t TickCount() override {
        const auto elapsed = std::chrono::steady_clock::now() - m_start;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
        return static_cast<uint32_t>(static_cast<uint64_t>(ms));  // wraps every 49.7 days
    }

  private:
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

class TSteadyTimeSource : public ITimeSource {
  public:
    int64_t MonotonicNs() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    }
};

class TNoPump : public IEventPump {
  public:
    void ProcessMessages() override {}
};

// Without a window system the dialog text goes to the standard error stream.
class TConsoleDialogs : public IDialogs {
  public:
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    void Beep() override { std::fputc('\a', stderr); }
};

class TDesktopShell : public IShell {
  public:
    bool Open(const std::string& address) override {
        // A shell starts xdg-open in the background and ends at once, so xdg-open is never this
        // program's child: however long it runs, it leaves no zombie here. The shell itself is
        // reaped at once; it ends with kNoOpener when there is no xdg-open to start. xdg-open's
        // own result is the desktop's business.
        constexpr int kNoOpener = 127;
        std::vector<char*> argv = {
            const_cast<char*>("/bin/sh"),
            const_cast<char*>("-c"),
            const_cast<char*>("command -v xdg-open >/dev/null 2>&1 || exit 127\n"
                              "xdg-open \"$1\" &"),
            const_cast<char*>("keyvet-help"),
            const_cast<char*>(address.c_str()),
            nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) {
            return false;
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return true;  // reaped elsewhere: whether it started is not known here
            }
        }
        return !(WIFEXITED(status) && WEXITSTATUS(status) == kNoOpener);
    }
    std::string CurrentDirectory() override {
        std::vector<char> buffer(4096);
        if (getcwd(buffer.data(), buffer.size()) == nullptr) {
            return std::string();
        }
        return std::string(buffer.data());
    }
    bool FileExists(const std::string& path) override {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }
    // Installed documents live in ../share/doc/keyvet from the program's folder (the package
    // and cmake --install); a program run from its build tree finds the source tree's assets.
    std::string InstalledDocument(const std::string& name) override {
        std::error_code error;
        const std::filesystem::path program =
            std::filesystem::read_symlink("/proc/self/exe", error);
        std::vector<std::filesystem::path> candidates;
        if (!error) {
            candidates.push_back(program.parent_path().parent_path() / "share" / "doc" / "keyvet" /
                                 name);
        }
#ifdef KEYVET_SOURCE_ASSETS
        candidates.push_back(std::filesystem::path(KEYVET_SOURCE_ASSETS) / name);
#endif
        for (const std::filesystem::path& candidate : candidates) {
            if (FileExists(candidate.string())) {
                return candidate.lexically_normal().string();
            }
        }
        return std::string();
    }
};

TServices MakeDefaults() {
    static TNoKey key;
    static TMonotonicClock clock;
    static TNoPump pump;
    static TConsoleDialogs dialogs;
    static TDesktopShell shell;
    static TSteadyTimeSource timeSource;
    return TServices{&key, &clock, &pump, &dialogs, &shell, &timeSource};
}

}  // namespace

TServices& Services() {
    static TServices services = MakeDefaults();
    return services;
}

TScopedServices::TScopedServices(const TServices& replacement) : m_saved(Services()) {
    TServices merged = replacement;
    const TServices& current = Services();
    merged.KeyState = merged.KeyState != nullptr ? merged.KeyState : current.KeyState;
    merged.Clock = merged.Clock != nullptr ? merged.Clock : current.Clock;
    merged.EventPump = merged.EventPump != nullptr ? merged.EventPump : current.EventPump;
    merged.Dialogs = merged.Dialogs != nullptr ? merged.Dialogs : current.Dialogs;
    merged.Shell = merged.Shell != nullptr ? merged.Shell : current.Shell;
    merged.TimeSource = merged.TimeSource != nullptr ? merged.TimeSource : current.TimeSource;
    Services() = merged;
}

TScopedServices::~TScopedServices() {
    Services() = m_saved;
}

}  // namespace platform
