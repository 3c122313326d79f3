// Clip regions in device pixels: a rectangle, or per-row spans of a polygon fill.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/Geometry.h"

namespace gfx {

enum class TFillMode : uint8_t { fmAlternate, fmWinding };

// A set of pixels. A rectangle region excludes its right and bottom edges; a polygon region
// holds exactly the pixels the polygon fill would paint.
class TRegion {
  public:
    TRegion() = default;
    static TRegion FromRect(const TRect& rect);
    static TRegion FromPolygon(std::span<const TPoint> points, TFillMode mode);

    bool IsEmpty() const { return m_bounds.IsEmpty(); }
    bool IsRect() const { return m_isRect; }
    // The smallest rectangle holding every pixel of the region.
    const TRect& Bounds() const { return m_bounds; }
    bool Contains(int32_t x, int32_t y) const;
    // The pixels of both this region and the rectangle.
    TRegion Intersect(const TRect& rect) const;

    // Calls visit(x0, x1) for every piece of [x0, x1) on row y inside the region, left to right.
    template <class Visit>
    void ForEachPiece(int32_t y, int32_t x0, int32_t x1, Visit&& visit) const {
        if (y < m_bounds.Top || y >= m_bounds.Bottom) {
            return;
        }
        if (m_isRect) {
            int32_t a = x0 > m_bounds.Left ? x0 : m_bounds.Left;
            int32_t b = x1 < m_bounds.Right ? x1 : m_bounds.Right;
            if (a < b) {
                visit(a, b);
            }
            return;
        }
        size_t row = static_cast<size_t>(y - m_bounds.Top);
        for (size_t i = m_rowStart[row]; i < m_rowStart[row + 1]; ++i) {
            int32_t a = x0 > m_spans[i].Left ? x0 : m_spans[i].Left;
            int32_t b = x1 < m_spans[i].Right ? x1 : m_spans[i].Right;
            if (a < b) {
                visit(a, b);
            }
        }
    }

    // Builds a region from spans given row by row, top to bottom, each row's spans sorted and
    // disjoint. Used by the polygon scan converter.
    class TBuilder {
      public:
        void AddSpan(int32_t y, int32_t x0, int32_t x1);
        TRegion Finish();

      private:
        struct TRowSpan {
            int32_t Y;
            int32_t Left;
            int32_t Right;
        };
        std::vector<TRowSpan> m_spans;
    };

  private:
    struct TSpan {
        int32_t Left;
        int32_t Right;
    };
    TRect m_bounds;
    bool m_isRect = true;
    std::vector<size_t> m_rowStart;  // per row from m_bounds.Top, plus one end entry
    std::vector<TSpan> m_spans;
};

}  // namespace gfx
