// Fuzz target: the replay tool's script reader on arbitrary text must either read it or refuse it
// with a script error naming a line; a script it reads is replayed through the main window, which
// must finish without crashing, leaking or reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "base/Exceptions.h"
#include "replay/Replay.h"
#include "replay/ReplayScript.h"

namespace {
// Runs longer than this many polls are only read, not replayed, so that one input cannot hold the
// fuzzer for long (the replay lets idle slices pass at once, but every event is a pump pass).
constexpr double kMaxReplayedPolls = 2e8;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    replay::TReplayScript script;
    try {
        script = replay::ParseScript(replay::ReadScriptText(in));
    } catch (const replay::EScriptError& e) {
        // A refusal names the line it stopped at.
        if (e.Line() < 1) {
            __builtin_trap();
        }
        return 0;
    }
    if (script.PollsPerMs * script.EffectiveFinishMs() > kMaxReplayedPolls) {
        return 0;
    }
    try {
        replay::TReplay run(std::move(script));
        const std::vector<std::string> lines = run.Run();
        if (lines.empty()) {
            __builtin_trap();  // a finished run always shows its boxes
        }
    } catch (const base::Exception&) {
        // The program's own errors (shown to the user in a dialog) are a result, not a fault.
    }
    return 0;
}
