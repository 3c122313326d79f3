// Fuzz target: the coach on any run and practice text (as a stored run may hold them) must give
// its details without crashing, leaking or reading out of bounds, and keep its own promises
// (among them: no control byte of the practice text reaches its lines).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "coach/Details.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte is the practice text's length, then the text; every further three bytes
    // are one transition: a time step of up to 65535 ms, and the level after it in the low bit.
    if (size == 0) {
        return 0;
    }
    const size_t textLength = std::min<size_t>(data[0], size - 1);
    coach::TKeyedRun run;
    run.PracticeText.assign(reinterpret_cast<const char*>(data) + 1, textLength);
    uint32_t time = 100;
    for (size_t i = 1 + textLength; i + 3 <= size; i += 3) {
        time += static_cast<uint32_t>(data[i]) << 8 | data[i + 1];
        run.Transitions.push_back({time, (data[i + 2] & 1) != 0});
    }
    const coach::TDetails details = coach::ComputeDetails(run);
    if (details.Timing.UnitMs < 1 || details.Worst.size() > coach::kWorstCount) {
        __builtin_trap();
    }
    if (details.HasPractice &&
        (details.Alignment.AccuracyPercent < 0 || details.Alignment.AccuracyPercent > 100)) {
        __builtin_trap();
    }
    const std::vector<std::string> lines = coach::DetailsLines(details);
    if (lines.empty()) {
        __builtin_trap();
    }
    // The listener gives every mark a mark's kind and every space a gap's, and its characters lie
    // among the intervals.
    for (const coach::TInterval& interval : details.Intervals) {
        const bool markKind = interval.Kind == coach::TElementKind::ekDit ||
                              interval.Kind == coach::TElementKind::ekDah;
        if (markKind != interval.Mark) {
            __builtin_trap();
        }
    }
    for (const coach::TDecodedCharacter& character : details.ReadBack.Characters) {
        if (character.IntervalCount == 0 ||
            character.FirstInterval + character.IntervalCount > details.Intervals.size()) {
            __builtin_trap();
        }
    }
    // The lines go to a terminal: no control byte but the fields' TAB, whatever the text held.
    for (const std::string& line : lines) {
        for (const char c : line) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
