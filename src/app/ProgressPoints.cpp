// Thinning the progress lines and choosing the date axis' labels.
#include "app/ProgressPoints.h"

#include <algorithm>
#include <cmath>

#include "history/Csv.h"

namespace app {

namespace {
constexpr int64_t kMsPerDay = 86400000;
constexpr double kMinuteDays = 1.0 / 1440;
constexpr size_t kDateLength = 10;  // "2026-12-07"
}  // namespace

std::vector<TProgressPoint> ThinnedPoints(const std::vector<TProgressPoint>& points,
                                          int32_t columns) {
    if (columns < 1 || points.size() <= static_cast<size_t>(columns)) {
        return points;
    }
    const double first = points.front().X;
    const double span = points.back().X - first;
    std::vector<TProgressPoint> thinned;
    thinned.reserve(static_cast<size_t>(columns));
    int64_t column = -1;
    double sumX = 0;
    double sumY = 0;
    size_t count = 0;
    const auto flush = [&] {
        if (count > 0) {
            thinned.push_back(
                {sumX / static_cast<double>(count), sumY / static_cast<double>(count)});
        }
        sumX = sumY = 0;
        count = 0;
    };
    for (const TProgressPoint& point : points) {
        // The last point belongs to the last column, not to one past it.
        const int64_t at =
            span > 0 ? std::min<int64_t>(
                           columns - 1,
                           static_cast<int64_t>(std::floor((point.X - first) / span * columns)))
                     : 0;
        if (at != column) {
            flush();
            column = at;
        }
        sumX += point.X;
        sumY += point.Y;
        ++count;
    }
    flush();
    return thinned;
}

TDateAxisStyle DateAxisStyle(int64_t firstUnixMs, int64_t lastUnixMs) {
    TDateAxisStyle style;
    if (lastUnixMs - firstUnixMs > kMsPerDay) {
        style.Format = "yyyy-mm-dd";
        style.SmallestStepDays = 1;
        return style;
    }
    // Within a day no two different minutes write the same time.
    style.Format = "hh:nn";
    style.SmallestStepDays = kMinuteDays;
    const std::string firstDay = history::FormatTime(firstUnixMs).substr(0, kDateLength);
    const std::string lastDay = history::FormatTime(lastUnixMs).substr(0, kDateLength);
    style.Title = firstDay == lastDay ? firstDay : firstDay + " to " + lastDay;
    return style;
}

}  // namespace app
