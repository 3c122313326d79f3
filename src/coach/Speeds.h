// The run's speeds, all from the one unit the coach uses (the average dit) and the lengths as
// keyed, and a sentence for where the main window's speed box reads otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "coach/Keying.h"

namespace coach {

struct TSpeeds {
    // 1200 / unit, rounded: the speed the elements are keyed at.
    uint32_t Wpm = 0;
    // The speed with the gaps as keyed: what was keyed, counted in the standard units of its
    // elements and gaps (PARIS and its word gap are 50), over the time from the first press to
    // the last release: 1200 * units / milliseconds, rounded. Long gaps (Farnsworth spacing,
    // pauses) bring it below Wpm. 0 without marks.
    uint32_t EffectiveWpm = 0;
    // The main window's estimate (see AnalysisSpeedWpm); 0 when it has none.
    uint32_t MainWindowWpm = 0;
    bool HasWordGaps = false;
};

TSpeeds RunSpeeds(const std::vector<TInterval>& classified, double unitMs);

// Why the main window's speed box reads another speed than Wpm, in one sentence; empty when it
// reads the same or has none.
std::string MainWindowSpeedNote(const TSpeeds& speeds);

}  // namespace coach
