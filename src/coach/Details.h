// Everything the coach says about one run, computed from its transitions and practice text
// alone, and the same as TAB-separated lines for tools and tests.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "coach/Alignment.h"
#include "coach/Keying.h"
#include "coach/Listener.h"
#include "coach/ReadBack.h"
#include "coach/Speeds.h"
#include "coach/Spread.h"
#include "coach/Verdicts.h"
#include "coach/WorstCharacters.h"

namespace coach {

struct TDetails {
    std::vector<TInterval> Intervals;  // kinds as the listener hears them
    TTiming Timing;
    TListening Listening;
    TReadBack ReadBack;  // the listener's
    // The textbook reading: marks split at their average, gaps at 2 and 5 average dits.
    std::vector<TInterval> StrictIntervals;
    TReadBack StrictReadBack;
    std::string Coaching;  // why the two readings differ; empty when they do not
    TSpreadTable Spread;
    THistogram MarkHistogram;
    THistogram SpaceHistogram;
    std::array<double, kElementKindCount> IdealMs{};  // at the run's unit
    TSpeeds Speeds;                                   // from the same unit
    TVerdicts Verdicts;
    std::vector<TCharacterStray> Worst;
    std::string PracticeText;
    bool HasPractice = false;  // a practice text was set: Alignment holds it against the read-back
    TAlignment Alignment;
};

TDetails ComputeDetails(const TKeyedRun& run);

// Lengths in milliseconds and percentages as the details show them: one decimal at most.
std::string DetailsNumber(double value);

// A judged figure's value: two decimals at most.
std::string VerdictValue(double value);

// Said beside the accuracy when the texts were longer than the alignment takes.
std::string AlignmentCutNote();

// The details as TAB-separated lines:
//   ReadBack <TAB> text                                        (the listener's)
//   Strict <TAB> text                                          (the textbook reading)
//   Coaching <TAB> sentence                                    (when the two differ)
//   Timing <TAB> unit <TAB> ms <TAB> wpm <TAB> wpm <TAB> effective <TAB> effective wpm
//   SpeedNote <TAB> sentence                      (when the main window's speed box differs)
//   Spread <TAB> kind <TAB> count <TAB> mean <TAB> deviation <TAB> variation % <TAB> min <TAB> max
//   Worst <TAB> sentence                                       (up to five)
//   Sent / Read / Marks <TAB> the alignment's lines, Accuracy <TAB> n %   (with a practice text;
//   control bytes of the practice text shown as "?"; when the comparison was cut, a further
//   <TAB> AlignmentCutNote())
//   Verdict <TAB> figure <TAB> value <TAB> good|fair|fix           (each figure judged)
//   Advice <TAB> sentence                                  (what to fix, or that nothing is)
std::vector<std::string> DetailsLines(const TDetails& details);

}  // namespace coach
