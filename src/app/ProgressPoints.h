// The progress chart's arithmetic: thinning many runs to one point per pixel column, and date
// labels whose step and format never write the same label twice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

// A point of a progress line: a date (days since 1899-12-30) and a figure.
struct TProgressPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TProgressPoint&) const = default;
};

// The points to draw for `points` (in ascending X): themselves when there are at most `columns`,
// else one per column of `columns` equal slices of their X range, at the mean X and mean Y of the
// points that fall in it (empty columns give none).
std::vector<TProgressPoint> ThinnedPoints(const std::vector<TProgressPoint>& points,
                                          int32_t columns);

// How the date axis labels runs that span `spanDays`: up to a day, times "hh:nn" at steps of at
// least a minute; beyond it, dates "yyyy-mm-dd" at steps of at least a day. Title names the day
// or days the times fall on ("2026-12-07", "2026-12-07 to 2026-12-08"); empty for dates.
struct TDateAxisStyle {
    std::string Format;
    double SmallestStepDays = 0;
    std::string Title;
};
TDateAxisStyle DateAxisStyle(int64_t firstUnixMs, int64_t lastUnixMs);

}  // namespace app
