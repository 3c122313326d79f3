// The line family's pointers without lines: collected during DrawPoint's walk, each distinct
// one drawn once, flat rectangles of one colour together straight into the rows.
#include <bit>
#include <typeinfo>
#include <vector>

#include "chart/engine/AxisPanel.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/LineSeries.h"

namespace chart {

bool TCustomSeries::DrawsPointersOnly() const {
    const TCustomAxisPanel* chart = ParentChart();
    // Only the point and line series themselves: a kind derived from them may draw its
    // pointers its own way. A mixing pen mode would see the pointers under it; a canvas that
    // renders whole scenes may test depths against what it drew before.
    return chart != nullptr && m_pointer->Visible() && !m_connectPoints && !m_drawArea &&
           FirstVisibleIndex() >= 0 && m_pointer->Pen().Mode() == gfx::TPenMode::pmCopy &&
           (typeid(*this) == typeid(TPointSeries) || typeid(*this) == typeid(TLineSeries)) &&
           !chart->Canvas().RendersWholeScene();
}

void TCustomSeries::DrawPointerBatch() {
    std::vector<TPointerCall>& calls = m_pointerCalls;
    calls.clear();
    // The walk of DrawPoint, with the pointers recorded in order (and their styles asked for
    // in that order) instead of drawn.
    {
        const TCollecting collecting(m_collectPointers);
        TChartSeries::DrawPoints();
    }
    if (calls.empty()) {
        return;
    }
    // A pointer drawn again at its place in its colour and style sets the same pixels to the
    // same colours, so of the calls that draw the same pointer only the last one counts:
    // whatever was drawn between them lies under it either way.
    const size_t count = calls.size();
    const size_t capacity = std::bit_ceil(2 * count);
    std::vector<int32_t> slots(capacity, -1);
    std::vector<uint8_t> keep(count, 0);
    const auto same = [](const TPointerCall& a, const TPointerCall& b) {
        return a.X == b.X && a.Y == b.Y && a.Color == b.Color && a.Style == b.Style;
    };
    for (size_t i = count; i-- > 0;) {
        const TPointerCall& call = calls[i];
        uint64_t hash = (static_cast<uint64_t>(static_cast<uint32_t>(call.X)) << 32) ^
                        static_cast<uint32_t>(call.Y) ^ (static_cast<uint64_t>(call.Color) << 16) ^
                        static_cast<uint64_t>(call.Style);
        hash *= 0x9E3779B97F4A7C15ull;  // Fibonacci hashing spreads the bits
        size_t at = static_cast<size_t>(hash >> 32) & (capacity - 1);
        while (slots[at] >= 0 && !same(calls[static_cast<size_t>(slots[at])], call)) {
            at = (at + 1) & (capacity - 1);
        }
        if (slots[at] < 0) {
            slots[at] = static_cast<int32_t>(i);
            keep[i] = 1;
        }
    }
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    gfx::TCanvas& device = canvas.ReferenceCanvas();
    const bool flat = !chart.View3D();
    const int32_t hx = m_pointer->HorizSize();
    const int32_t hy = m_pointer->VertSize();
    // Flat shapes wholly outside the clip are left out (never the last one, whose drawing
    // leaves the canvas' pen and brush as the series leaves them). The box holds every shape
    // with its outline, round ends of a wide pen included.
    const int32_t reach = std::max(1, m_pointer->Pen().Width()) + 2;
    const gfx::TRect clip = device.DeviceClip().Bounds();
    const auto outside = [&](const TPointerCall& call) {
        const gfx::TPoint at = device.LogicalToDevice({call.X, call.Y});
        return gfx::TRect(at.X - hx - reach, at.Y - hy - reach, at.X + hx + reach,
                          at.Y + hy + reach)
            .Intersect(clip)
            .IsEmpty();
    };
    std::vector<gfx::TRect> rects;
    gfx::TColor rectColor = 0;
    const auto flush = [&] {
        if (!rects.empty()) {
            m_pointer->PrepareCanvas(canvas, rectColor);
            device.Rectangles(rects);
            rects.clear();
        }
    };
    for (size_t i = 0; i < count; ++i) {
        if (keep[i] == 0) {
            continue;
        }
        const TPointerCall& call = calls[i];
        if (flat && call.Style == TSeriesPointerStyle::psRectangle) {
            // The shape DrawShape draws: the rectangle from (l, t) to (r + 1, b + 1).
            if (!rects.empty() && call.Color != rectColor) {
                flush();
            }
            rectColor = call.Color;
            rects.emplace_back(call.X - hx, call.Y - hy, call.X + hx + 1, call.Y + hy + 1);
            continue;
        }
        flush();
        if (flat && i + 1 < count && outside(call)) {
            continue;
        }
        DrawPointerShape(call);
    }
    flush();
}

}  // namespace chart
