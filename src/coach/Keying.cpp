// The marks and spaces of a run and its own timing: the dit/dah split at the average mark, the
// unit, the speed and the 2- and 5-unit rule for spaces.
#include "coach/Keying.h"

#include <algorithm>
#include <cmath>

namespace coach {

namespace {
// A run whose longer marks average less than this many times its shorter ones holds one kind of
// element only: jitter, not dits against dahs (ideal dahs are three dits).
constexpr double kTwoKindsRatio = 2;
// A one-kind run's marks are dahs when they average at least this many element gaps.
constexpr double kDahsAgainstGaps = 2;
// The analysis' speed: 9600 / (dit + element gap + dah + character gap), milliseconds.
constexpr uint32_t kSpeedDividend = 9600;
constexpr double kDahUnits = 3;

double Mean(const std::vector<uint32_t>& values) {
    double sum = 0;
    for (const uint32_t v : values) {
        sum += v;
    }
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

// The values strictly below (or above) `split`, as the analysis splits them.
std::vector<uint32_t> Split(const std::vector<uint32_t>& values, uint32_t split, bool below) {
    std::vector<uint32_t> out;
    for (const uint32_t v : values) {
        if (below ? v < split : v > split) {
            out.push_back(v);
        }
    }
    return out;
}

// The analysis' estimate of the speed, or 0 when one of its four averages has no values.
uint32_t AnalysisWpm(const std::vector<uint32_t>& marks, const std::vector<uint32_t>& spaces) {
    const uint32_t markSplit = AverageMs(marks);
    const uint32_t spaceSplit = AverageMs(spaces);
    const std::vector<uint32_t> groups[] = {
        Split(marks, markSplit, true), Split(marks, markSplit, false),
        Split(spaces, spaceSplit, true), Split(spaces, spaceSplit, false)};
    uint32_t sum = 0;
    for (const std::vector<uint32_t>& group : groups) {
        if (group.empty()) {
            return 0;
        }
        sum += AverageMs(group);
    }
    return sum == 0 ? 0 : kSpeedDividend / sum;
}
}  // namespace

std::vector<TInterval> Intervals(const std::vector<TTransition>& transitions) {
    std::vector<TInterval> intervals;
    size_t from = 0;  // the change that began the current interval
    for (size_t i = 1; i < transitions.size(); ++i) {
        if (transitions[i].Down == transitions[from].Down) {
            continue;  // no change of level: the interval goes on
        }
        intervals.push_back({transitions[from].Down,
                             transitions[i].TimeMs - transitions[from].TimeMs,
                             TElementKind::ekDit});
        from = i;
    }
    return intervals;
}

uint32_t AverageMs(const std::vector<uint32_t>& values) {
    if (values.empty()) {
        return 0;
    }
    uint32_t sum = 0;
    for (const uint32_t v : values) {
        sum += v;
    }
    return static_cast<uint32_t>(sum / values.size());
}

uint32_t AnalysisSpeedWpm(const std::vector<TInterval>& intervals) {
    std::vector<uint32_t> marks;
    std::vector<uint32_t> spaces;
    for (const TInterval& interval : intervals) {
        (interval.Mark ? marks : spaces).push_back(interval.LengthMs);
    }
    return AnalysisWpm(marks, spaces);
}

TTiming Classify(std::vector<TInterval>& intervals) {
    std::vector<uint32_t> marks;
    std::vector<uint32_t> spaces;
    for (const TInterval& interval : intervals) {
        (interval.Mark ? marks : spaces).push_back(interval.LengthMs);
    }
    TTiming timing;
    timing.MarkSplitMs = AverageMs(marks);
    const std::vector<uint32_t> dits = Split(marks, timing.MarkSplitMs, true);
    const std::vector<uint32_t> dahs = Split(marks, timing.MarkSplitMs, false);
    bool allDahs = false;
    timing.OneKind = dits.empty() || dahs.empty() || Mean(dahs) < kTwoKindsRatio * Mean(dits);
    if (timing.OneKind) {
        // The element gaps are the spaces below their average (all of them when they are equal).
        std::vector<uint32_t> gaps = Split(spaces, AverageMs(spaces), true);
        if (gaps.empty()) {
            gaps = spaces;
        }
        allDahs = !gaps.empty() && Mean(marks) >= kDahsAgainstGaps * Mean(gaps);
        timing.UnitMs = allDahs ? Mean(marks) / kDahUnits : Mean(marks);
    } else {
        timing.UnitMs = AverageMs(dits);
    }
    timing.UnitMs = std::max(timing.UnitMs, 1.0);

    for (TInterval& interval : intervals) {
        const double units = interval.LengthMs / timing.UnitMs;
        if (interval.Mark) {
            const bool dah = timing.OneKind ? allDahs : interval.LengthMs > timing.MarkSplitMs;
            interval.Kind = dah ? TElementKind::ekDah : TElementKind::ekDit;
        } else if (units < kCharacterGapUnits) {
            interval.Kind = TElementKind::ekElementGap;
        } else if (units < kWordGapUnits) {
            interval.Kind = TElementKind::ekCharacterGap;
        } else {
            interval.Kind = TElementKind::ekWordGap;
        }
    }
    if (!marks.empty()) {
        timing.Wpm = timing.OneKind ? 0 : AnalysisWpm(marks, spaces);
        if (timing.Wpm == 0) {
            timing.Wpm = static_cast<uint32_t>(std::lround(kUnitMsAtOneWpm / timing.UnitMs));
        }
    }
    return timing;
}

double IdealUnits(TElementKind kind) {
    switch (kind) {
        case TElementKind::ekDit:
            return 1;
        case TElementKind::ekDah:
            return 3;
        case TElementKind::ekElementGap:
            return 1;
        case TElementKind::ekCharacterGap:
            return 3;
        case TElementKind::ekWordGap:
            return 7;
    }
    return 1;
}

const char* KindName(TElementKind kind) {
    switch (kind) {
        case TElementKind::ekDit:
            return "dits";
        case TElementKind::ekDah:
            return "dahs";
        case TElementKind::ekElementGap:
            return "element gaps";
        case TElementKind::ekCharacterGap:
            return "character gaps";
        case TElementKind::ekWordGap:
            return "word gaps";
    }
    return "";
}

}  // namespace coach
