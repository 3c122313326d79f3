// Speeds from the unit and from the run's whole time, and the main window's for comparison.
#include "coach/Speeds.h"

#include <algorithm>
#include <cmath>

#include "base/Conversions.h"

namespace coach {

TSpeeds RunSpeeds(const std::vector<TInterval>& classified, double unitMs) {
    TSpeeds speeds;
    const auto isMark = [](const TInterval& interval) { return interval.Mark; };
    const auto first = std::find_if(classified.begin(), classified.end(), isMark);
    if (first == classified.end()) {
        return speeds;
    }
    speeds.Wpm = static_cast<uint32_t>(std::lround(kUnitMsAtOneWpm / std::max(unitMs, 1.0)));
    const auto last = std::find_if(classified.rbegin(), classified.rend(), isMark).base();
    double units = 0;
    double ms = 0;
    for (auto it = first; it != last; ++it) {
        units += IdealUnits(it->Kind);
        ms += it->LengthMs;
        speeds.HasWordGaps = speeds.HasWordGaps || it->Kind == TElementKind::ekWordGap;
    }
    speeds.EffectiveWpm =
        ms > 0 ? static_cast<uint32_t>(std::lround(kUnitMsAtOneWpm * units / ms)) : 0;
    speeds.MainWindowWpm = AnalysisSpeedWpm(classified);
    return speeds;
}

std::string MainWindowSpeedNote(const TSpeeds& speeds) {
    if (speeds.MainWindowWpm == 0 || speeds.MainWindowWpm == speeds.Wpm) {
        return std::string();
    }
    const std::string reads = base::UIntToStr(speeds.MainWindowWpm) + " wpm";
    if (speeds.HasWordGaps) {
        return "The main window's speed box counts word gaps into the spaces between characters, "
               "so it reads " +
               reads + ".";
    }
    return "The main window's speed box reads " + reads +
           ": it takes the speed from the dit, the dah and both spaces together, not from the "
           "dit alone.";
}

}  // namespace coach
