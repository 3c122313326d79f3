// keyvet-injector SCRIPT: keys a recorded keying (the replay tool's script) into the X display
// with the right button, each press and release sent at its exact time after the start, by
// absolute-time sleeps on the monotonic clock, so that a late event does not delay the rest.
// Prints how late the events were sent.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

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
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keyvet-injector SCRIPT\n");
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
    Display* display = XOpenDisplay(nullptr);
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
    const int64_t start = Now() + kLeadNs;
    int64_t worstLateNs = 0;
    int64_t totalLateNs = 0;
    for (const replay::TKeyEvent& event : script.Events) {
        const int64_t at = start + static_cast<int64_t>(event.TimeMs * kNsPerMs);
        SleepUntil(at);
        XTestFakeButtonEvent(display, kRightButton, event.Down ? True : False, CurrentTime);
        XFlush(display);
        const int64_t late = Now() - at;
        worstLateNs = std::max(worstLateNs, late);
        totalLateNs += late;
    }
    XSync(display, False);
    XCloseDisplay(display);
    const double events = std::max<double>(1, static_cast<double>(script.Events.size()));
    std::printf("events %zu sent late by %.3f ms on average, %.3f ms at most\n",
                script.Events.size(), static_cast<double>(totalLateNs) / events / kNsPerMs,
                static_cast<double>(worstLateNs) / kNsPerMs);
    return 0;
}
