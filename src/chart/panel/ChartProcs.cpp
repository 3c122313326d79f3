// The angle check, hit tests, text lines and the 1-2-5 sequence.
#include "chart/panel/ChartProcs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "chart/messages/ChartMessages.h"

namespace chart {

namespace {
constexpr int32_t kMaxAngle = 359;
}

void CheckAngle(int32_t angle, const std::string& description) {
    if (angle < 0 || angle > kMaxAngle) {
        throw ChartException(base::Format(kMsgAngleRange, {description}));
    }
}

bool PointNearSegment(gfx::TPoint point, gfx::TPoint p, gfx::TPoint q, int32_t tolerance) {
    const int64_t x = point.X;
    const int64_t y = point.Y;
    const int64_t cross = (x - p.X) * (static_cast<int64_t>(q.Y) - p.Y) -
                          (y - p.Y) * (static_cast<int64_t>(q.X) - p.X);
    const int64_t longer = std::max(std::llabs(static_cast<int64_t>(q.X) - p.X),
                                    std::llabs(static_cast<int64_t>(q.Y) - p.Y));
    if (std::llabs(cross) >= longer) {
        return false;
    }
    const int64_t minX = std::min(p.X, q.X) - static_cast<int64_t>(tolerance);
    const int64_t maxX = std::max(p.X, q.X) + static_cast<int64_t>(tolerance);
    const int64_t minY = std::min(p.Y, q.Y) - static_cast<int64_t>(tolerance);
    const int64_t maxY = std::max(p.Y, q.Y) + static_cast<int64_t>(tolerance);
    return x >= minX && x <= maxX && y >= minY && y <= maxY;
}

bool PointOnSegment(gfx::TPoint point, gfx::TPoint p, gfx::TPoint q) {
    return PointNearSegment(point, p, q, 0);
}

bool PointInPolygonArea(gfx::TPoint point, std::span<const gfx::TPoint> points,
                        int32_t highestIndex) {
    if (highestIndex < 0 || points.empty()) {
        return false;
    }
    const size_t count = std::min(points.size(), static_cast<size_t>(highestIndex) + 1);
    bool inside = false;
    const double x = point.X;
    const double y = point.Y;
    size_t j = count - 1;
    for (size_t i = 0; i < count; ++i) {
        const double xi = points[i].X;
        const double yi = points[i].Y;
        const double xj = points[j].X;
        const double yj = points[j].Y;
        if (((yi <= y && y < yj) || (yj <= y && y < yi)) &&
            x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
            inside = !inside;
        }
        j = i;
    }
    return inside;
}

bool PointInUprightTriangle(gfx::TPoint point, int32_t x0, int32_t x1, int32_t baseY,
                            int32_t apexY) {
    const gfx::TPoint triangle[] = {{x0, baseY}, {(x0 + x1) / 2, apexY}, {x1, baseY}};
    return PointInPolygonArea(point, triangle, 2);
}

bool PointInSidewaysTriangle(gfx::TPoint point, int32_t y0, int32_t y1, int32_t apexX,
                             int32_t baseX) {
    const gfx::TPoint triangle[] = {{baseX, y0}, {apexX, (y0 + y1) / 2}, {baseX, y1}};
    return PointInPolygonArea(point, triangle, 2);
}

bool PointInEllipseArea(gfx::TPoint point, const gfx::TRect& rect) {
    const int64_t cx = (static_cast<int64_t>(rect.Left) + rect.Right) / 2;
    const int64_t cy = (static_cast<int64_t>(rect.Top) + rect.Bottom) / 2;
    const double a2 = static_cast<double>(cx - rect.Left) * static_cast<double>(cx - rect.Left);
    const double b2 = static_cast<double>(cy - rect.Top) * static_cast<double>(cy - rect.Top);
    if (a2 == 0 || b2 == 0) {
        return false;
    }
    const double dx = static_cast<double>(point.X - cx);
    const double dy = static_cast<double>(point.Y - cy);
    return dx * dx / a2 + dy * dy / b2 <= 1.0;
}

void SplitIntoLines(std::string& text, const std::string& separator) {
    if (separator.empty() || separator.front() == LineBreakChar) {
        return;
    }
    for (size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, at + 1)) {
        text[at] = LineBreakChar;
    }
}

int32_t CountTextLines(const std::string& text) {
    const auto breaks = static_cast<int32_t>(std::count(text.begin(), text.end(), LineBreakChar));
    const bool tail = !text.empty() && text.back() != LineBreakChar;
    return breaks + (tail ? 1 : 0);
}

double NextOneTwoFive(double x) {
    if (!(x > 0) || !std::isfinite(x)) {
        throw base::EInvalidOp(base::kSInvalidOp);
    }
    constexpr double kTen = 10;
    // Scale into [1, 10) the way the step sequence is defined (dividing or multiplying by ten
    // once per decade), step, then scale back in reverse order.
    int32_t decadesUp = 0;
    int32_t decadesDown = 0;
    while (x >= kTen) {
        x /= kTen;
        ++decadesUp;
    }
    while (x < 1) {
        x *= kTen;
        ++decadesDown;
    }
    double result = x < 2 ? 2 : (x < 5 ? 5 : kTen);
    for (int32_t i = 0; i < decadesDown; ++i) {
        result /= kTen;
    }
    for (int32_t i = 0; i < decadesUp; ++i) {
        result *= kTen;
    }
    return result;
}

}  // namespace chart
