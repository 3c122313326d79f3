// Clip regions: rectangles, polygon spans, intersection and point tests.
#include "gfx/Region.h"

#include <algorithm>

#include "gfx/Raster.h"

namespace gfx {

TRegion TRegion::FromRect(const TRect& rect) {
    TRegion region;
    region.m_bounds = rect.Normalized();
    if (region.m_bounds.IsEmpty()) {
        region.m_bounds = TRect();
    }
    return region;
}

TRegion TRegion::FromPolygon(std::span<const TPoint> points, TFillMode mode) {
    TBuilder builder;
    detail::ScanPolygon(points, mode, INT32_MIN, INT32_MAX,
                        [&](int32_t y, int32_t x0, int32_t x1) { builder.AddSpan(y, x0, x1); });
    return builder.Finish();
}

bool TRegion::Contains(int32_t x, int32_t y) const {
    bool inside = false;
    ForEachPiece(y, x, x + 1, [&](int32_t, int32_t) { inside = true; });
    return inside;
}

TRegion TRegion::Intersect(const TRect& rect) const {
    if (m_isRect) {
        // Rectangles that do not meet give an empty region, not one turned round.
        const TRect both = m_bounds.Intersect(rect.Normalized());
        return both.IsEmpty() ? TRegion() : FromRect(both);
    }
    TRect limit = m_bounds.Intersect(rect.Normalized());
    TBuilder builder;
    for (int32_t y = limit.Top; y < limit.Bottom; ++y) {
        ForEachPiece(y, limit.Left, limit.Right,
                     [&](int32_t a, int32_t b) { builder.AddSpan(y, a, b); });
    }
    return builder.Finish();
}

void TRegion::TBuilder::AddSpan(int32_t y, int32_t x0, int32_t x1) {
    if (x0 >= x1) {
        return;
    }
    if (!m_spans.empty() && m_spans.back().Y == y && m_spans.back().Right >= x0) {
        m_spans.back().Right = std::max(m_spans.back().Right, x1);  // touching runs merge
        return;
    }
    m_spans.push_back({y, x0, x1});
}

TRegion TRegion::TBuilder::Finish() {
    TRegion region;
    if (m_spans.empty()) {
        return region;
    }
    int32_t top = m_spans.front().Y;
    int32_t bottom = m_spans.back().Y + 1;
    int32_t left = m_spans.front().Left;
    int32_t right = m_spans.front().Right;
    for (const TRowSpan& s : m_spans) {
        left = std::min(left, s.Left);
        right = std::max(right, s.Right);
    }
    region.m_bounds = TRect(left, top, right, bottom);
    region.m_isRect = false;
    region.m_rowStart.assign(static_cast<size_t>(bottom - top) + 1, 0);
    region.m_spans.reserve(m_spans.size());
    size_t index = 0;
    for (int32_t y = top; y < bottom; ++y) {
        region.m_rowStart[static_cast<size_t>(y - top)] = region.m_spans.size();
        while (index < m_spans.size() && m_spans[index].Y == y) {
            region.m_spans.push_back({m_spans[index].Left, m_spans[index].Right});
            ++index;
        }
    }
    region.m_rowStart[static_cast<size_t>(bottom - top)] = region.m_spans.size();
    m_spans.clear();
    return region;
}

}  // namespace gfx
