// Scoring a tone detector against the keying it was given: each keyed change matched with the
// detected change of the same direction nearest to it, the placement errors, the changes missed
// and made up, and the character error rate of the read-back of the detected run.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/ToneDetector.h"
#include "coach/Alignment.h"
#include "coach/Keying.h"
#include "coach/ReadBack.h"

namespace testsupport {

struct TPlacementScore {
    std::vector<double> ErrorsMs;  // |detected - keyed| of each matched change
    size_t Keyed = 0;
    size_t Missed = 0;  // keyed changes with no detected change of their direction near them
    size_t Extra = 0;   // detected changes matched with no keyed change
    double MedianMs() const { return Quantile(0.5); }
    double Percentile95Ms() const { return Quantile(0.95); }
    double MaxMs() const {
        return ErrorsMs.empty() ? 0 : *std::max_element(ErrorsMs.begin(), ErrorsMs.end());
    }
    double Quantile(double q) const {
        if (ErrorsMs.empty()) {
            return 0;
        }
        std::vector<double> sorted = ErrorsMs;
        std::sort(sorted.begin(), sorted.end());
        const size_t k = std::min(sorted.size() - 1,
                                  static_cast<size_t>(q * static_cast<double>(sorted.size())));
        return sorted[k];
    }
};

// The detected changes in milliseconds.
inline std::vector<double> ChangeTimesMs(const std::vector<audio::TKeyChange>& changes,
                                         double rate) {
    std::vector<double> ms;
    for (const audio::TKeyChange& change : changes) {
        ms.push_back(change.Sample * 1000 / rate);
    }
    return ms;
}

// Matches within `reachMs`: a keyed change takes the nearest unmatched detected change of its
// direction.
inline TPlacementScore ScorePlacement(const std::vector<coach::TTransition>& keyed,
                                      const std::vector<audio::TKeyChange>& detected, double rate,
                                      double reachMs = 15) {
    TPlacementScore score;
    score.Keyed = keyed.size();
    std::vector<bool> used(detected.size(), false);
    size_t from = 0;
    for (const coach::TTransition& change : keyed) {
        const double t = change.TimeMs;
        while (from < detected.size() && detected[from].Sample * 1000 / rate < t - reachMs) {
            ++from;
        }
        size_t best = detected.size();
        double bestError = reachMs;
        for (size_t j = from; j < detected.size(); ++j) {
            const double ms = detected[j].Sample * 1000 / rate;
            if (ms > t + reachMs) {
                break;
            }
            if (!used[j] && detected[j].Down == change.Down && std::abs(ms - t) <= bestError) {
                best = j;
                bestError = std::abs(ms - t);
            }
        }
        if (best == detected.size()) {
            ++score.Missed;
        } else {
            used[best] = true;
            score.ErrorsMs.push_back(bestError);
        }
    }
    score.Extra = static_cast<size_t>(std::count(used.begin(), used.end(), false));
    return score;
}

// The detected changes as the coach's transitions, in whole milliseconds as the capture logs them.
inline std::vector<coach::TTransition> DetectedRun(const std::vector<audio::TKeyChange>& detected,
                                                   double rate) {
    std::vector<coach::TTransition> run;
    for (const audio::TKeyChange& change : detected) {
        run.push_back({static_cast<uint32_t>(change.Sample * 1000 / rate), change.Down});
    }
    return run;
}

// The read-back of a run at its own timing.
inline std::string ReadBackText(const std::vector<coach::TTransition>& run) {
    std::vector<coach::TInterval> intervals = coach::Intervals(run);
    coach::Classify(intervals);
    return coach::Decode(intervals).Text;
}

// Characters wrong, missed or extra in the read-back, per character of the text sent.
inline double CharacterErrorRate(const std::string& sent, const std::string& readBack) {
    const coach::TAlignment alignment = coach::Align(sent, readBack);
    return alignment.SentCount == 0
               ? 0
               : static_cast<double>(alignment.Distance) / static_cast<double>(alignment.SentCount);
}

}  // namespace testsupport
