// The listener: the speed followed mark by mark, the lengths measured against it, clustered in the
// log domain, and each interval given to its most likely cluster.
#include "coach/Listener.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace coach {

namespace {
// Marks on either side of a mark whose unit estimates give the speed where it was keyed.
constexpr size_t kHalfWindow = 12;
// Neighbouring kinds lie at least this ratio apart (five-unit word gaps and three-unit character
// gaps, the closest, 1.67); clusters closer than that are one kind.
constexpr double kKindRatio = 1.5;
// Dahs are at least this many dits long: operators key them from 2 to 4, and marks closer than
// that are one kind keyed unevenly (a drill of dits on a busy hand).
constexpr double kMarkKindRatio = 1.8;
// What a kind of its own costs in the information criterion: its centre, spread and share.
constexpr double kParametersOfAKind = 3;
// The least standard deviation of a kind, a share of its mean.
constexpr double kLeastDeviation = 0.08;
// The lowest cluster holds at least this share of the lengths.
constexpr double kLowestShare = 0.05;
// A run of one kind of mark holds dahs when the marks are at least this many element gaps.
constexpr double kDahsAgainstGaps = 2;
constexpr double kDahUnits = 3;
// Taken for element gaps, the lowest spaces must make the dahs at least this many units long.
constexpr double kDahUnitsOfElementGaps = 2.2;
// In a drill of one kind of mark, the lowest spaces are character gaps (the run has no element
// gaps) when they are at least this many marks long.
constexpr double kCharacterGapsAgainstMarks = 2;
// Rounds of classifying the marks and measuring the speed again.
constexpr int kPasses = 5;
// Clusters looked for among the spaces: element, character and word gaps and thinking pauses.
constexpr size_t kSpaceClusters = 4;
constexpr size_t kMarkClusters = 2;
// The grid on which clusters are searched: natural-log steps, at most this many cells.
constexpr double kGridStep = 0.02;
constexpr size_t kMaxCells = 1000;
// A cluster's spread is at least this share of its centre (too few lengths to measure it).
constexpr double kMinSpread = 0.1;
// The robust standard deviation of a normal distribution from its median absolute deviation.
constexpr double kMadToDeviation = 1.4826;
constexpr int kBisections = 60;
// The speed about a mark stays within this (natural log, a factor of 1.35) of the run's trend.
constexpr double kLogOffTrend = 0.3;
// The trend is fitted again without the values this many median deviations off the first fit.
constexpr double kTrendOutliers = 3;
constexpr double kSingular = 1e-12;
// A run of fewer marks has no trend but its median.
constexpr size_t kTrendValues = 40;

// One cluster of lengths, measured against the local speed (linear, 1 = the local level).
struct TCluster {
    size_t First = 0;  // its values, a range of the sorted values
    size_t End = 0;
    double Centre = 0;  // the median
    double Spread = 0;  // robust standard deviation
    double Weight = 0;  // share of all values
};

double MedianOfSorted(const std::vector<double>& sorted, size_t first, size_t end) {
    const size_t n = end - first;
    const size_t mid = first + n / 2;
    return n % 2 == 1 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

// The count, mean and standard deviation of a range of sorted log values, as lengths (the
// deviation at least a small share of the mean: lengths keyed alike to the millisecond).
struct TMoments {
    double Count = 0;
    double Mean = 0;
    double Deviation = 0;
};
TMoments Moments(const std::vector<double>& logs, size_t first, size_t end) {
    TMoments m;
    double sum = 0;
    double squares = 0;
    for (size_t i = first; i < end; ++i) {
        const double x = std::exp(logs[i]);
        sum += x;
        squares += x * x;
    }
    m.Count = static_cast<double>(end - first);
    m.Mean = sum / m.Count;
    const double variance = std::max(0.0, squares / m.Count - m.Mean * m.Mean);
    m.Deviation = std::max(std::sqrt(variance), kLeastDeviation * m.Mean);
    return m;
}

// Fills a cluster's centre, spread and weight from its range of the sorted log values.
void Measure(TCluster& cluster, const std::vector<double>& logs) {
    cluster.Centre = std::exp(MedianOfSorted(logs, cluster.First, cluster.End));
    std::vector<double> deviations;
    deviations.reserve(cluster.End - cluster.First);
    for (size_t i = cluster.First; i < cluster.End; ++i) {
        deviations.push_back(std::fabs(std::exp(logs[i]) - cluster.Centre));
    }
    std::sort(deviations.begin(), deviations.end());
    const double mad = MedianOfSorted(deviations, 0, deviations.size());
    cluster.Spread = std::max(kMadToDeviation * mad, kMinSpread * cluster.Centre);
    cluster.Weight =
        static_cast<double>(cluster.End - cluster.First) / static_cast<double>(logs.size());
}

// Up to `most` clusters of sorted log values: the least-squares partition on a grid of the
// log domain (exact dynamic programming over its cells), then neighbours of one kind merged.
// `charge`: a second kind must pay for its numbers (spaces, where a few odd lengths are common);
// without it a pair is one kind only when one kind explains its lengths better (marks, where
// nearly every run has dits and dahs, and a short one shows them only roughly).
std::vector<TCluster> FindClusters(const std::vector<double>& logs, size_t most, bool charge,
                                   double kindRatio) {
    std::vector<TCluster> clusters;
    if (logs.empty()) {
        return clusters;
    }
    const double low = logs.front();
    const double range = logs.back() - low;
    const size_t cells =
        std::min(kMaxCells, static_cast<size_t>(std::floor(range / kGridStep)) + 1);
    const double step = cells > 1 ? range / static_cast<double>(cells - 1) : 1;
    // Prefix sums over the cells: count, sum and sum of squares of the values in them, and the
    // first value of each cell.
    std::vector<double> count(cells + 1, 0);
    std::vector<double> sum(cells + 1, 0);
    std::vector<double> squares(cells + 1, 0);
    std::vector<size_t> firstValue(cells + 1, logs.size());
    for (size_t i = logs.size(); i-- > 0;) {
        const auto cell = std::min(cells - 1, static_cast<size_t>((logs[i] - low) / step + 0.5));
        count[cell + 1] += 1;
        sum[cell + 1] += logs[i];
        squares[cell + 1] += logs[i] * logs[i];
        firstValue[cell] = i;
    }
    for (size_t c = cells; c-- > 0;) {
        firstValue[c] = std::min(firstValue[c], firstValue[c + 1]);
    }
    for (size_t c = 1; c <= cells; ++c) {
        count[c] += count[c - 1];
        sum[c] += sum[c - 1];
        squares[c] += squares[c - 1];
    }
    auto cost = [&](size_t from, size_t to) {  // cells [from, to)
        const double n = count[to] - count[from];
        if (n <= 0) {
            return 0.0;
        }
        const double s = sum[to] - sum[from];
        return std::max(0.0, squares[to] - squares[from] - s * s / n);
    };
    const size_t k = std::max<size_t>(1, std::min(most, cells));
    constexpr double kInfinite = std::numeric_limits<double>::infinity();
    // best[j][c]: the least cost of the first c cells in j + 1 clusters; from[j][c] where the
    // last of them begins.
    std::vector<std::vector<double>> best(k, std::vector<double>(cells + 1, kInfinite));
    std::vector<std::vector<size_t>> from(k, std::vector<size_t>(cells + 1, 0));
    for (size_t c = 0; c <= cells; ++c) {
        best[0][c] = cost(0, c);
    }
    for (size_t j = 1; j < k; ++j) {
        for (size_t c = 0; c <= cells; ++c) {
            for (size_t b = 0; b <= c; ++b) {
                const double total = best[j - 1][b] + cost(b, c);
                if (total < best[j][c]) {
                    best[j][c] = total;
                    from[j][c] = b;
                }
            }
        }
    }
    std::vector<size_t> bounds{cells};
    for (size_t j = k; j-- > 1;) {
        bounds.push_back(from[j][bounds.back()]);
    }
    bounds.push_back(0);
    std::reverse(bounds.begin(), bounds.end());
    for (size_t j = 0; j + 1 < bounds.size(); ++j) {
        TCluster cluster;
        cluster.First = firstValue[bounds[j]];
        cluster.End = firstValue[bounds[j + 1]];
        if (cluster.End > cluster.First) {
            Measure(cluster, logs);
            clusters.push_back(cluster);
        }
    }
    // Merge neighbours of one kind, the pair that gains least by being two first. A pair is two
    // kinds when two normal distributions explain its lengths better than one (by more than the
    // three numbers the second costs, the Bayesian information criterion, when charged): one
    // kind cut in two gains nothing, since each part is as likely as the whole once its share is
    // counted.
    auto gain = [&](size_t j) {
        const TCluster& a = clusters[j];
        const TCluster& b = clusters[j + 1];
        const TMoments ma = Moments(logs, a.First, a.End);
        const TMoments mb = Moments(logs, b.First, b.End);
        const TMoments both = Moments(logs, a.First, b.End);
        const double n = both.Count;
        return ma.Count * (std::log(ma.Count / n) - std::log(ma.Deviation)) +
               mb.Count * (std::log(mb.Count / n) - std::log(mb.Deviation)) +
               n * std::log(both.Deviation) - (charge ? kParametersOfAKind / 2 * std::log(n) : 0);
    };
    auto separation = [&](size_t j) {
        return clusters[j + 1].Centre / clusters[j].Centre < kindRatio ? -1.0 : gain(j);
    };
    while (clusters.size() > 1) {
        size_t closest = 0;
        for (size_t j = 1; j + 1 < clusters.size(); ++j) {
            if (separation(j) < separation(closest)) {
                closest = j;
            }
        }
        if (separation(closest) > 0) {
            break;
        }
        clusters[closest].End = clusters[closest + 1].End;
        Measure(clusters[closest], logs);
        clusters.erase(clusters.begin() + static_cast<std::ptrdiff_t>(closest) + 1);
    }
    // A few lengths below all the others are the short tail of the next kind up, not a kind of
    // their own (the shortest kinds, dits and element gaps, are the commonest).
    while (clusters.size() > 1 && clusters[0].Weight < kLowestShare) {
        clusters[1].First = clusters[0].First;
        Measure(clusters[1], logs);
        clusters.erase(clusters.begin());
    }
    return clusters;
}

// The log of the length between two clusters where the lower one stops being the more likely,
// each taken as normal with its own centre, spread and share.
double Boundary(const TCluster& lower, const TCluster& upper) {
    auto score = [](const TCluster& c, double x) {
        const double z = (x - c.Centre) / c.Spread;
        return std::log(c.Weight) - std::log(c.Spread) - 0.5 * z * z;
    };
    double lo = lower.Centre;
    double hi = upper.Centre;
    if (!(score(lower, lo) > score(upper, lo)) || !(score(lower, hi) < score(upper, hi))) {
        return 0.5 * (std::log(lo) + std::log(hi));  // no crossing between them: halfway
    }
    for (int i = 0; i < kBisections; ++i) {
        const double mid = 0.5 * (lo + hi);
        (score(lower, mid) > score(upper, mid) ? lo : hi) = mid;
    }
    return std::log(0.5 * (lo + hi));
}

std::vector<double> Sorted(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values;
}

// The median of each value's window of neighbours (2 * kHalfWindow + 1 of them, shifted to stay
// whole at the ends).
std::vector<double> WindowMedians(const std::vector<double>& values) {
    const size_t n = values.size();
    const size_t width = std::min(n, 2 * kHalfWindow + 1);
    std::vector<double> medians(n);
    std::vector<double> window;
    for (size_t i = 0; i < n; ++i) {
        const size_t first = std::min(i > kHalfWindow ? i - kHalfWindow : 0, n - width);
        window.assign(values.begin() + static_cast<std::ptrdiff_t>(first),
                      values.begin() + static_cast<std::ptrdiff_t>(first + width));
        const auto mid = window.begin() + static_cast<std::ptrdiff_t>(width / 2);
        std::nth_element(window.begin(), mid, window.end());
        medians[i] = *mid;
    }
    return medians;
}

// A smooth trend through values in order: the least-squares parabola over their positions, fitted
// again without the values far off the first fit (the median of a few values).
std::vector<double> Trend(const std::vector<double>& values) {
    const size_t n = values.size();
    std::vector<double> trend(n, 0);
    if (n == 0) {
        return trend;
    }
    if (n < kTrendValues) {
        // Too few to tell a drift from the run's mix of lengths: the median.
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        trend.assign(n, MedianOfSorted(sorted, 0, n));
        return trend;
    }
    std::vector<bool> kept(n, true);
    for (int round = 0; round < 2; ++round) {
        // Normal equations of y = c0 + c1 x + c2 x^2, x in [-1, 1].
        double m[3][4] = {};
        for (size_t i = 0; i < n; ++i) {
            if (!kept[i]) {
                continue;
            }
            const double x =
                n > 1 ? 2.0 * static_cast<double>(i) / static_cast<double>(n - 1) - 1 : 0;
            const double powers[3] = {1, x, x * x};
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) {
                    m[r][c] += powers[r] * powers[c];
                }
                m[r][3] += powers[r] * values[i];
            }
        }
        // Gauss-Jordan elimination; a term the values cannot determine (too few of them) is 0.
        double coefficient[3] = {};
        bool determined[3] = {};
        for (int c = 0; c < 3; ++c) {
            int pivot = c;
            for (int r = c + 1; r < 3; ++r) {
                if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) {
                    pivot = r;
                }
            }
            if (std::fabs(m[pivot][c]) < kSingular) {
                continue;
            }
            std::swap(m[c], m[pivot]);
            for (int r = 0; r < 3; ++r) {
                if (r != c) {
                    const double f = m[r][c] / m[c][c];
                    for (int k = c; k < 4; ++k) {
                        m[r][k] -= f * m[c][k];
                    }
                }
            }
            determined[c] = true;
        }
        for (int c = 0; c < 3; ++c) {
            coefficient[c] = determined[c] ? m[c][3] / m[c][c] : 0;
        }
        std::vector<double> residuals;
        for (size_t i = 0; i < n; ++i) {
            const double x =
                n > 1 ? 2.0 * static_cast<double>(i) / static_cast<double>(n - 1) - 1 : 0;
            trend[i] = coefficient[0] + coefficient[1] * x + coefficient[2] * x * x;
            residuals.push_back(std::fabs(values[i] - trend[i]));
        }
        std::vector<double> sorted = residuals;
        std::sort(sorted.begin(), sorted.end());
        const double limit = kTrendOutliers * std::max(MedianOfSorted(sorted, 0, n), kSingular);
        for (size_t i = 0; i < n; ++i) {
            kept[i] = residuals[i] <= limit;
        }
    }
    return trend;
}

double LogLength(uint32_t ms) {
    return std::log(std::max<double>(ms, 1));
}
}  // namespace

TListening Listen(std::vector<TInterval>& intervals) {
    TListening listening;
    std::vector<size_t> marks;  // indices of the marks
    for (size_t i = 0; i < intervals.size(); ++i) {
        if (intervals[i].Mark) {
            marks.push_back(i);
        } else {
            intervals[i].Kind = TElementKind::ekWordGap;  // until measured below
        }
    }
    if (marks.empty()) {
        return listening;
    }
    const size_t markCount = marks.size();
    std::vector<double> logMark(markCount);
    for (size_t k = 0; k < markCount; ++k) {
        logMark[k] = LogLength(intervals[marks[k]].LengthMs);
    }

    // Marks: classify against the local speed, measure the speed again from the classified
    // marks (a dah counts as the dah ratio of dits), and again, until nothing changes.
    // The log of a dit's length (or of the one kind's) about mark k; at first the trend of all
    // marks, which takes out a drift of the speed.
    std::vector<double> level = Trend(logMark);
    std::vector<bool> dah(markCount, false);
    double logRatio = 0;  // the log of the dahs' centre over the dits'
    for (int pass = 0; pass < kPasses; ++pass) {
        std::vector<double> relative(markCount);
        for (size_t k = 0; k < markCount; ++k) {
            relative[k] = logMark[k] - level[k];
        }
        const std::vector<double> sorted = Sorted(relative);
        const std::vector<TCluster> clusters =
            FindClusters(sorted, kMarkClusters, false, kMarkKindRatio);
        listening.OneKind = clusters.size() < 2;
        const double split = listening.OneKind ? std::numeric_limits<double>::infinity()
                                               : Boundary(clusters[0], clusters[1]);
        logRatio = listening.OneKind ? 0 : std::log(clusters[1].Centre / clusters[0].Centre);
        bool changed = pass == 0;
        std::vector<double> unit(markCount);  // the log of a dit's length as mark k tells it
        for (size_t k = 0; k < markCount; ++k) {
            const bool isDah = relative[k] > split;
            changed = changed || isDah != dah[k];
            dah[k] = isDah;
            unit[k] = logMark[k] - (isDah ? logRatio : 0);
        }
        // The speed about each mark, kept within a factor of the run's smooth trend so that a
        // stretch of marks all taken for the wrong kind cannot hold itself up.
        level = WindowMedians(unit);
        const std::vector<double> trend = Trend(unit);
        for (size_t k = 0; k < markCount; ++k) {
            level[k] = std::clamp(level[k], trend[k] - kLogOffTrend, trend[k] + kLogOffTrend);
        }
        if (!changed) {
            break;
        }
    }

    // Every interval's level: a mark's own, a space's the mean of the marks' on either side (of
    // the nearest mark before the first and after the last).
    std::vector<double> intervalLevel(intervals.size());
    {
        size_t next = 0;  // the next mark
        for (size_t i = 0; i < intervals.size(); ++i) {
            if (intervals[i].Mark) {
                intervalLevel[i] = level[next++];
            } else {
                const size_t before = next > 0 ? next - 1 : 0;
                const size_t after = std::min(next, markCount - 1);
                intervalLevel[i] = 0.5 * (level[before] + level[after]);
            }
        }
    }
    // Spaces between marks, measured against their level, clustered; the kinds in order of
    // length: element gaps (when the lowest cluster is one), character gaps, then word gaps
    // (thinking pauses among them). Spaces before the first mark stay word gaps.
    std::vector<size_t> spaces;
    std::vector<double> logSpace;
    for (size_t i = marks.front() + 1; i < intervals.size(); ++i) {
        if (!intervals[i].Mark) {
            spaces.push_back(i);
            logSpace.push_back(LogLength(intervals[i].LengthMs) - intervalLevel[i]);
        }
    }
    const std::vector<double> sortedSpaces = Sorted(logSpace);
    const std::vector<TCluster> gaps = FindClusters(sortedSpaces, kSpaceClusters, true, kKindRatio);
    bool dahsOnly = false;
    bool elementGaps = false;
    if (!gaps.empty()) {
        if (listening.OneKind) {
            // A drill of one kind: its marks are dits as long as their element gaps or dahs
            // three times as long; spaces all of twice a dit or more are character gaps.
            elementGaps = gaps[0].Centre < kCharacterGapsAgainstMarks;
            dahsOnly = elementGaps && 1 / gaps[0].Centre >= kDahsAgainstGaps;
        } else {
            // The lowest spaces are element gaps when they are nearer the dits than the dahs, or
            // when, taken for element gaps, they make the dahs at least two units long (light
            // weighting lengthens element gaps as far as two dits, but character gaps taken for
            // element gaps make the dahs shorter than that).
            const double lowest = gaps[0].Centre;
            const double dahUnits = 2 * std::exp(logRatio) / (1 + lowest);
            elementGaps = std::log(lowest) < 0.5 * logRatio || dahUnits >= kDahUnitsOfElementGaps;
        }
    }
    std::vector<double> bounds;  // log, between neighbouring clusters
    for (size_t j = 0; j + 1 < gaps.size(); ++j) {
        bounds.push_back(Boundary(gaps[j], gaps[j + 1]));
    }
    for (size_t s = 0; s < spaces.size(); ++s) {
        const auto cluster = static_cast<size_t>(
            std::upper_bound(bounds.begin(), bounds.end(), logSpace[s]) - bounds.begin());
        const size_t kind = cluster + (elementGaps ? 0 : 1);
        intervals[spaces[s]].Kind = kind == 0   ? TElementKind::ekElementGap
                                    : kind == 1 ? TElementKind::ekCharacterGap
                                                : TElementKind::ekWordGap;
    }
    for (size_t k = 0; k < markCount; ++k) {
        intervals[marks[k]].Kind = dah[k] || dahsOnly ? TElementKind::ekDah : TElementKind::ekDit;
    }
    if (dahsOnly) {
        for (double& l : intervalLevel) {
            l -= std::log(kDahUnits);  // the level of a dit a third of the dahs
        }
    }

    // The figures. The unit at a level is half a dit and an element gap there.
    std::array<double, kElementKindCount> relativeSum{};
    for (size_t i = marks.front(); i < intervals.size(); ++i) {
        const auto kind = static_cast<size_t>(intervals[i].Kind);
        relativeSum[kind] += intervals[i].LengthMs / std::exp(intervalLevel[i]);
        ++listening.Counts[kind];
    }
    auto relativeMean = [&](TElementKind kind) {
        const auto k = static_cast<size_t>(kind);
        return listening.Counts[k] == 0 ? 0.0 : relativeSum[k] / listening.Counts[k];
    };
    const double dit = dahsOnly ? relativeMean(TElementKind::ekDah) / kDahUnits
                                : relativeMean(TElementKind::ekDit);
    const double element = relativeMean(TElementKind::ekElementGap);
    const double unit = element > 0 && dit > 0 ? 0.5 * (dit + element) : std::max(dit, 1e-9);
    for (size_t k = 0; k < kElementKindCount; ++k) {
        listening.Units[k] =
            listening.Counts[k] == 0 ? 0 : relativeSum[k] / listening.Counts[k] / unit;
    }
    double unitSum = 0;
    for (const size_t m : marks) {
        unitSum += std::exp(intervalLevel[m]) * unit;
    }
    listening.UnitMs = unitSum / static_cast<double>(markCount);
    listening.FirstUnitMs = std::exp(intervalLevel[marks.front()]) * unit;
    listening.LastUnitMs = std::exp(intervalLevel[marks.back()]) * unit;
    if (element > 0 && dit > 0) {
        listening.WeightingUnits = 0.5 * (dit - element) / unit;
    }
    return listening;
}

}  // namespace coach
