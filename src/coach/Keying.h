// A keyed run as the coach sees it: the key's transitions, the marks and spaces between them and
// the run's own timing (the dit/dah split, the unit and the gap rule of the read-back).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace coach {

// One change of the key: its time in milliseconds (the chart time of the run) and the level
// after it.
struct TTransition {
    uint32_t TimeMs = 0;
    bool Down = false;  // the key is down after this change
};

// What a run leaves behind for the coach: its transitions and the practice text keyed (empty
// when none was set). Every result of the coach is recomputed from these two.
struct TKeyedRun {
    std::vector<TTransition> Transitions;
    std::string PracticeText;
};

// What a mark or space is taken for.
enum class TElementKind : uint8_t { ekDit, ekDah, ekElementGap, ekCharacterGap, ekWordGap };
constexpr int kElementKindCount = 5;

// One mark (key down) or space (key up) between two transitions.
struct TInterval {
    bool Mark = false;
    uint32_t LengthMs = 0;
    TElementKind Kind = TElementKind::ekDit;
};

// The run's own timing.
struct TTiming {
    // Marks above this are dahs, the others dits: the average of all marks, truncated to whole
    // milliseconds, as the analysis splits them.
    uint32_t MarkSplitMs = 0;
    // The run holds one kind of element only (the marks do not split into two groups); the kind
    // was then decided against the spaces.
    bool OneKind = false;
    // The unit: the average dit in milliseconds (a third of the average dah when the run has no
    // dits); at least 1.
    double UnitMs = 1;
    // Words per minute as the analysis estimates it, or 1200 / unit when the run lacks one of the
    // four averages that estimate needs.
    uint32_t Wpm = 0;
};

// Spaces shorter than this many units are element gaps, from it and shorter than the word-gap
// limit character gaps, from the word-gap limit on word gaps.
constexpr double kCharacterGapUnits = 2;
constexpr double kWordGapUnits = 5;
// Milliseconds of one unit at one word per minute (the word PARIS is 50 units).
constexpr double kUnitMsAtOneWpm = 1200;

// The marks and spaces between successive transitions, in order, each measured in 32-bit
// arithmetic as the analysis measures them. A transition that does not change the level adds to
// the interval it lies in. Kinds are left as dits; Classify sets them.
std::vector<TInterval> Intervals(const std::vector<TTransition>& transitions);

// The averaging rule of the analysis: the values summed in 32 bits, the sum divided by the count,
// truncated. 0 for no values.
uint32_t AverageMs(const std::vector<uint32_t>& values);

// The main window's speed estimate for these intervals: 9600 / (dit + element space + dah +
// character space) with each split at the average as the analysis splits them, so word gaps
// count into the character space. 0 when one of the four averages has no values.
uint32_t AnalysisSpeedWpm(const std::vector<TInterval>& intervals);

// Works out the run's timing and sets every interval's kind by it.
TTiming Classify(std::vector<TInterval>& intervals);

// The ideal length of an element or gap, in units.
double IdealUnits(TElementKind kind);

// Names for tables and sentences: "dits", "dahs", "element gaps", "character gaps", "word gaps".
const char* KindName(TElementKind kind);

}  // namespace coach
