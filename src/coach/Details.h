// Everything the coach says about one run, computed from its transitions and practice text
// alone, and the same as TAB-separated lines for tools and tests.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "coach/Alignment.h"
#include "coach/Keying.h"
#include "coach/ReadBack.h"
#include "coach/Spread.h"
#include "coach/WorstCharacters.h"

namespace coach {

struct TDetails {
    std::vector<TInterval> Intervals;
    TTiming Timing;
    TReadBack ReadBack;
    TSpreadTable Spread;
    THistogram MarkHistogram;
    THistogram SpaceHistogram;
    std::array<double, kElementKindCount> IdealMs{};  // at the run's speed
    std::vector<TCharacterStray> Worst;
    std::string PracticeText;
    bool HasPractice = false;  // a practice text was set: Alignment holds it against the read-back
    TAlignment Alignment;
};

TDetails ComputeDetails(const TKeyedRun& run);

// Lengths in milliseconds and percentages as the details show them: one decimal at most.
std::string DetailsNumber(double value);

// Said beside the accuracy when the texts were longer than the alignment takes.
std::string AlignmentCutNote();

// The details as TAB-separated lines:
//   ReadBack <TAB> text
//   Timing <TAB> unit <TAB> ms <TAB> wpm                       (the unit and the speed)
//   Spread <TAB> kind <TAB> count <TAB> mean <TAB> deviation <TAB> variation % <TAB> min <TAB> max
//   Worst <TAB> sentence                                       (up to five)
//   Sent / Read / Marks <TAB> the alignment's lines, Accuracy <TAB> n %   (with a practice text;
//   control bytes of the practice text shown as "?"; when the comparison was cut, a further
//   <TAB> AlignmentCutNote())
std::vector<std::string> DetailsLines(const TDetails& details);

}  // namespace coach
