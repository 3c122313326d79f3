// The characters keyed worst: how far each decoded character's dits, dahs and element gaps stray
// from their ideal lengths at the run's own unit.
#pragma once

#include <string>
#include <vector>

#include "coach/Keying.h"
#include "coach/ReadBack.h"

namespace coach {

// One character's worst stray, over all the times it was keyed.
struct TCharacterStray {
    std::string Text;                         // the character or prosign
    int Occurrences = 0;                      // how often it was keyed
    TElementKind Kind = TElementKind::ekDit;  // its dits, dahs or element gaps
    // How far that kind strays on average from its ideal, in percent of the ideal: below 0 short,
    // above 0 long.
    double StrayPercent = 0;
    // A plain sentence, for example "Q: dahs 20 % short" ("E: dits on time" under half a percent).
    std::string Sentence;
};

// How many characters the coach names.
constexpr size_t kWorstCount = 5;

// The characters whose dits, dahs or element gaps stray most from 1, 3 and 1 units, worst
// first (the one keyed first when two stray alike); unknown codes are left out.
std::vector<TCharacterStray> WorstCharacters(const std::vector<TInterval>& intervals,
                                             const TReadBack& readBack, const TTiming& timing,
                                             size_t count = kWorstCount);

}  // namespace coach
