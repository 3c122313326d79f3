// The listener: marks and spaces classified as a skilled listener copies this operator, by the
// run's own clusters of lengths and at its own drifting speed, and the figures it hears them at.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "coach/Keying.h"

namespace coach {

// What the listener heard: the operator's own timing.
struct TListening {
    // The marks are all of one kind (a drill of dits or of dahs); which one was decided against
    // the element gaps.
    bool OneKind = false;
    // The unit, milliseconds: half of a dit and the element gap after it, which weighting does
    // not change; the average over the run of the unit where each mark was keyed. 0 without marks.
    double UnitMs = 0;
    // Milliseconds of the unit at the first and at the last mark (they differ when the speed
    // drifts).
    double FirstUnitMs = 0;
    double LastUnitMs = 0;
    // The average length of each kind in units of the speed where it was keyed, indexed by
    // TElementKind; 0 for a kind the run lacks.
    std::array<double, kElementKindCount> Units{};
    std::array<uint32_t, kElementKindCount> Counts{};
    // Half the difference between the dits and the element gaps, units: above 0 the marks are
    // longer and the spaces shorter than they should be (heavy), below 0 light. 0 when the run
    // lacks one of the two.
    double WeightingUnits = 0;
};

// Classifies every interval (dits and dahs, element, character and word gaps) by the run's own
// clusters: each length is measured against the speed around it, the clusters are found in the
// logarithm of those measures, and each interval goes to the cluster most likely to have
// produced it. Spaces before the first mark are word gaps. O(n log n) in the intervals.
TListening Listen(std::vector<TInterval>& intervals);

}  // namespace coach
