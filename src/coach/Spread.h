// How steady the keying is: the spread of each kind of element and gap, histograms of the marks
// and spaces, and the ideal lengths at the run's speed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "coach/Keying.h"

namespace coach {

// The spread of one kind of element or gap, milliseconds.
struct TSpread {
    uint32_t Count = 0;
    double MeanMs = 0;
    // The sample standard deviation (divided by count - 1); 0 for fewer than two values.
    double DeviationMs = 0;
    // The coefficient of variation: the deviation in percent of the mean; 0 for a mean of 0.
    double VariationPercent = 0;
    uint32_t MinMs = 0;  // 0 when there are none
    uint32_t MaxMs = 0;
};

// Spread of a set of lengths.
TSpread SpreadOf(const std::vector<uint32_t>& lengthsMs);

// The spread of every kind, indexed by TElementKind.
using TSpreadTable = std::array<TSpread, kElementKindCount>;
TSpreadTable SpreadTable(const std::vector<TInterval>& intervals);

// Counts of lengths in bins of equal width from 0: bin i holds the lengths from i * width up to
// (not including) (i + 1) * width; the last bin also holds every longer length.
struct THistogram {
    double BinWidthMs = 1;
    std::vector<uint32_t> Counts;
};
THistogram HistogramOf(const std::vector<uint32_t>& lengthsMs, double binWidthMs, size_t binCount);

// Bins of the marks' histogram per unit and the units it spans; likewise for the spaces.
constexpr double kMarkBinsPerUnit = 4;
constexpr double kMarkUnitsShown = 5;
constexpr double kSpaceBinsPerUnit = 2;
constexpr double kSpaceUnitsShown = 10;

// The histograms of a run's marks and of its spaces at its unit.
THistogram MarkHistogram(const std::vector<TInterval>& intervals, const TTiming& timing);
THistogram SpaceHistogram(const std::vector<TInterval>& intervals, const TTiming& timing);

// The ideal length of each kind at the run's unit (the one its speed comes from), indexed by
// TElementKind; all 0 for a unit of 0.
std::array<double, kElementKindCount> IdealLengthsMs(double unitMs);

}  // namespace coach
