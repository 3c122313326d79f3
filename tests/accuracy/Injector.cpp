// keyvet-injector SCRIPT [SENT]: keys a recorded keying (the replay tool's script) into the X
// display with the right button (or, with KEYVET_INJECT_KEY naming a key such as Control_L, with
// that keyboard key), each press and release sent at its exact time after the start,
// by absolute-time sleeps on the monotonic clock, so that a late event does not delay the rest.
// With KEYVET_INJECT_DEVICE naming the control pipe of keyvet-virtual-device, it keys that input
// device instead of the display: a line "down NS" or "up NS" per change, NS the monotonic clock's
// reading at sending, which the device gives its event as a kernel stamps at the interrupt.
// Prints how late the events were sent; with SENT, also writes the times at which they were
// really sent there as a script of its own (rate and tick0 kept), so that a busy machine that
// woke the injector late still has its keying replayed exactly.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "replay/ReplayScript.h"

namespace {
constexpr int64_t kNsPerMs = 1000000;
constexpr int64_t kNsPerSecond = 1000000000;
constexpr unsigned kRightButton = 3;
// Time from the start of the injector to the script's time 0, so the first event is not rushed.
constexpr int64_t kLeadNs = 200 * kNsPerMs;

int64_t Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kNsPerSecond + now.tv_nsec;
}

void SleepUntil(int64_t ns) {
    const timespec until{static_cast<time_t>(ns / kNsPerSecond),
                         static_cast<long>(ns % kNsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
        // Interrupted: sleep on until the same moment.
    }
}

// Writes one key change to the virtual device's control pipe; false when it could not.
bool SendToDevice(int control, bool down, int64_t monotonicNs) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%s %lld\n", down ? "down" : "up",
                                     static_cast<long long>(monotonicNs));
    // A line is shorter than the pipe's atomic write, so it is written whole or not at all.
    return ::write(control, line, static_cast<size_t>(length)) == length;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: keyvet-injector SCRIPT [SENT]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "keyvet-injector: cannot read %s\n", argv[1]);
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    replay::TReplayScript script;
    try {
        script = replay::ParseScript(text.str());
    } catch (const replay::EScriptError& e) {
        std::fprintf(stderr, "keyvet-injector: %s: %s\n", argv[1], e.what());
        return 2;
    }
    // Sends one change at the moment now (monotonic ns); false when it could not be sent.
    std::function<bool(bool, int64_t)> send;
    Display* display = nullptr;
    int control = -1;
    if (const char* pipe = std::getenv("KEYVET_INJECT_DEVICE"); pipe != nullptr && *pipe != '\0') {
        control = ::open(pipe, O_WRONLY | O_CLOEXEC);
        if (control < 0) {
            std::fprintf(stderr, "keyvet-injector: cannot open the device's control pipe %s: %s\n",
                         pipe, std::strerror(errno));
            return 1;
        }
        send = [control](bool down, int64_t now) { return SendToDevice(control, down, now); };
    } else {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            std::fprintf(stderr, "keyvet-injector: cannot open the display\n");
            return 1;
        }
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
            std::fprintf(stderr, "keyvet-injector: the display has no XTest extension\n");
            return 1;
        }
        // The keyboard key to press instead of the right button (0: the button).
        KeyCode key = 0;
        if (const char* name = std::getenv("KEYVET_INJECT_KEY"); name != nullptr && *name != '\0') {
            const KeySym symbol = XStringToKeysym(name);
            key = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
            if (key == 0) {
                std::fprintf(stderr, "keyvet-injector: no key %s on this display\n", name);
                return 2;
            }
        }
        send = [display, key](bool down, int64_t) {
            if (key != 0) {
                XTestFakeKeyEvent(display, key, down ? True : False, CurrentTime);
            } else {
                XTestFakeButtonEvent(display, kRightButton, down ? True : False, CurrentTime);
            }
            XFlush(display);
            return true;
        };
    }
    const int64_t start = Now() + kLeadNs;
    int64_t worstLateNs = 0;
    int64_t totalLateNs = 0;
    std::vector<int64_t> sent;
    for (const replay::TKeyEvent& event : script.Events) {
        const int64_t at = start + static_cast<int64_t>(event.TimeMs * kNsPerMs);
        SleepUntil(at);
        const int64_t now = Now();
        sent.push_back(now - start);
        if (!send(event.Down, now)) {
            std::fprintf(stderr, "keyvet-injector: cannot send a key change: %s\n",
                         std::strerror(errno));
            return 1;
        }
        const int64_t late = now - at;
        worstLateNs = std::max(worstLateNs, late);
        totalLateNs += late;
    }
    if (display != nullptr) {
        XSync(display, False);
        XCloseDisplay(display);
    }
    if (control >= 0) {
        ::close(control);
    }
    if (argc == 3) {
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << "# the keying as sent\nrate " << script.PollsPerMs << "\ntick0 " << script.Tick0
            << "\n";
        char line[64];
        for (size_t i = 0; i < sent.size(); ++i) {
            std::snprintf(line, sizeof line, "%.4f %s\n", static_cast<double>(sent[i]) / kNsPerMs,
                          script.Events[i].Down ? "down" : "up");
            out << line;
        }
        out.close();
        if (!out) {
            std::fprintf(stderr, "keyvet-injector: cannot write %s\n", argv[2]);
            return 1;
        }
    }
    const double events = std::max<double>(1, static_cast<double>(script.Events.size()));
    std::printf("events %zu sent late by %.3f ms on average, %.3f ms at most\n",
                script.Events.size(), static_cast<double>(totalLateNs) / events / kNsPerMs,
                static_cast<double>(worstLateNs) / kNsPerMs);
    return 0;
}
