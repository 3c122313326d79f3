// Statistics of the marks and spaces: spread per kind, histograms and ideal lengths.
#include "coach/Spread.h"

#include <algorithm>
#include <cmath>

namespace coach {

namespace {
constexpr double kPercent = 100;

std::vector<uint32_t> Lengths(const std::vector<TInterval>& intervals, bool marks) {
    std::vector<uint32_t> lengths;
    for (const TInterval& interval : intervals) {
        if (interval.Mark == marks) {
            lengths.push_back(interval.LengthMs);
        }
    }
    return lengths;
}

THistogram UnitHistogram(const std::vector<uint32_t>& lengths, double unitMs, double binsPerUnit,
                         double unitsShown) {
    return HistogramOf(lengths, unitMs / binsPerUnit,
                       static_cast<size_t>(std::lround(binsPerUnit * unitsShown)));
}
}  // namespace

TSpread SpreadOf(const std::vector<uint32_t>& lengthsMs) {
    TSpread spread;
    if (lengthsMs.empty()) {
        return spread;
    }
    spread.Count = static_cast<uint32_t>(lengthsMs.size());
    spread.MinMs = *std::min_element(lengthsMs.begin(), lengthsMs.end());
    spread.MaxMs = *std::max_element(lengthsMs.begin(), lengthsMs.end());
    double sum = 0;
    for (const uint32_t v : lengthsMs) {
        sum += v;
    }
    spread.MeanMs = sum / spread.Count;
    if (spread.Count > 1) {
        double squares = 0;
        for (const uint32_t v : lengthsMs) {
            squares += (v - spread.MeanMs) * (v - spread.MeanMs);
        }
        spread.DeviationMs = std::sqrt(squares / (spread.Count - 1));
    }
    if (spread.MeanMs > 0) {
        spread.VariationPercent = spread.DeviationMs / spread.MeanMs * kPercent;
    }
    return spread;
}

TSpreadTable SpreadTable(const std::vector<TInterval>& intervals) {
    std::array<std::vector<uint32_t>, kElementKindCount> byKind;
    for (const TInterval& interval : intervals) {
        byKind[static_cast<size_t>(interval.Kind)].push_back(interval.LengthMs);
    }
    TSpreadTable table;
    for (size_t k = 0; k < byKind.size(); ++k) {
        table[k] = SpreadOf(byKind[k]);
    }
    return table;
}

THistogram HistogramOf(const std::vector<uint32_t>& lengthsMs, double binWidthMs, size_t binCount) {
    THistogram histogram;
    histogram.BinWidthMs = binWidthMs > 0 ? binWidthMs : 1;
    histogram.Counts.assign(std::max<size_t>(binCount, 1), 0);
    const size_t last = histogram.Counts.size() - 1;
    for (const uint32_t v : lengthsMs) {
        const double bin = std::floor(v / histogram.BinWidthMs);
        ++histogram.Counts[bin >= static_cast<double>(last) ? last : static_cast<size_t>(bin)];
    }
    return histogram;
}

THistogram MarkHistogram(const std::vector<TInterval>& intervals, const TTiming& timing) {
    return UnitHistogram(Lengths(intervals, true), timing.UnitMs, kMarkBinsPerUnit,
                         kMarkUnitsShown);
}

THistogram SpaceHistogram(const std::vector<TInterval>& intervals, const TTiming& timing) {
    return UnitHistogram(Lengths(intervals, false), timing.UnitMs, kSpaceBinsPerUnit,
                         kSpaceUnitsShown);
}

std::array<double, kElementKindCount> IdealLengthsMs(double unitMs) {
    std::array<double, kElementKindCount> ideal{};
    if (unitMs <= 0) {
        return ideal;
    }
    for (size_t k = 0; k < ideal.size(); ++k) {
        ideal[k] = IdealUnits(static_cast<TElementKind>(k)) * unitMs;
    }
    return ideal;
}

}  // namespace coach
