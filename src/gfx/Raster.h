// Internal rasteriser pieces shared by the canvas and regions: pixel mixing, span fill,
// coverage masks, polygon scan conversion and the rows of rounded shapes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <span>
#include <vector>

#include "gfx/Colors.h"
#include "gfx/Geometry.h"
#include "gfx/Pen.h"
#include "gfx/Region.h"

namespace gfx::detail {

// Combines pen (or brush) colour p with destination d under the mix mode; 24-bit result.
inline uint32_t Mix(TPenMode mode, uint32_t p, uint32_t d) {
    uint32_t r = 0;
    switch (mode) {
        case TPenMode::pmBlack:
            r = 0;
            break;
        case TPenMode::pmWhite:
            r = ~0u;
            break;
        case TPenMode::pmNop:
            r = d;
            break;
        case TPenMode::pmNot:
            r = ~d;
            break;
        case TPenMode::pmCopy:
            r = p;
            break;
        case TPenMode::pmNotCopy:
            r = ~p;
            break;
        case TPenMode::pmMergePenNot:
            r = p | ~d;
            break;
        case TPenMode::pmMaskPenNot:
            r = p & ~d;
            break;
        case TPenMode::pmMergeNotPen:
            r = ~p | d;
            break;
        case TPenMode::pmMaskNotPen:
            r = ~p & d;
            break;
        case TPenMode::pmMerge:
            r = p | d;
            break;
        case TPenMode::pmNotMerge:
            r = ~(p | d);
            break;
        case TPenMode::pmMask:
            r = p & d;
            break;
        case TPenMode::pmNotMask:
            r = ~(p & d);
            break;
        case TPenMode::pmXor:
            r = p ^ d;
            break;
        case TPenMode::pmNotXor:
            r = ~(p ^ d);
            break;
    }
    return r & 0x00FFFFFF;
}

// An 8 x 8 pattern, one byte per row from the top, bit 0x80 the leftmost column.
using THatch = std::array<uint8_t, 8>;

// What a span is painted with: a solid colour, or a hatch whose clear bits take the
// background colour when opaque and are left alone otherwise.
struct TInk {
    TPenMode Mode = TPenMode::pmCopy;
    TColorRef Color = 0;
    const THatch* Hatch = nullptr;
    TColorRef Back = 0;
    bool Opaque = false;
};

// The pixels being drawn on, with the clip in device pixels already limited to the surface.
struct TSurface {
    uint32_t* Pixels = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
    const TRegion* Clip = nullptr;  // never null while drawing
};

// Four pixels (or four columns' rows) side by side, in the compiler's portable vector types.
using TPixelLanes = uint32_t __attribute__((vector_size(16)));
using TRowLanes = int32_t __attribute__((vector_size(16)));
constexpr size_t kLanes = 4;

// Sets count pixels from pixel on to the colour, four at a time; long runs (backgrounds) at the
// speed of the C library's wide-character fill, whose characters are 32-bit words here.
inline void FillPixels(uint32_t* pixel, size_t count, uint32_t color) {
    constexpr size_t kLongRun = 64;
    if constexpr (sizeof(wchar_t) == sizeof(uint32_t)) {
        if (count >= kLongRun) {
            std::wmemset(reinterpret_cast<wchar_t*>(pixel), static_cast<wchar_t>(color), count);
            return;
        }
    }
    const TPixelLanes lanes = {color, color, color, color};
    size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        std::memcpy(pixel + i, &lanes, sizeof lanes);
    }
    for (; i < count; ++i) {
        pixel[i] = color;
    }
}

// Paints [x0, x1) on row y, assumed inside the surface and the clip.
void PaintRun(const TSurface& surface, int32_t y, int32_t x0, int32_t x1, const TInk& ink);

// The one span helper of every fill: clips [x0, x1) on row y and paints what is left.
inline void FillSpan(const TSurface& surface, int32_t y, int32_t x0, int32_t x1, const TInk& ink) {
    surface.Clip->ForEachPiece(y, x0, x1,
                               [&](int32_t a, int32_t b) { PaintRun(surface, y, a, b, ink); });
}

// A coverage mask over a box: shapes add spans, and the union is painted once.
class TMask {
  public:
    explicit TMask(const TRect& box);
    const TRect& Box() const { return m_box; }
    void AddSpan(int32_t y, int32_t x0, int32_t x1);
    void AddPixel(int32_t x, int32_t y) {
        if (m_box.Contains(x, y)) {
            m_bits[Index(x, y)] = 1;
        }
    }
    void RemoveSpan(int32_t y, int32_t x0, int32_t x1);
    bool Get(int32_t x, int32_t y) const {
        return m_box.Contains(x, y) && m_bits[Index(x, y)] != 0;
    }
    // Paints every covered pixel once through FillSpan.
    void Paint(const TSurface& surface, const TInk& ink) const;

  private:
    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y - m_box.Top) * static_cast<size_t>(m_box.Width()) +
               static_cast<size_t>(x - m_box.Left);
    }
    TRect m_box;
    std::vector<uint8_t> m_bits;
};

// Scan-converts a polygon at integer sample points: an edge covers rows ymin <= y < ymax, and
// a pixel x on a row is inside from the left crossing (in) to the right crossing (out).
// Calls span(y, x0, x1) for each inside run, rows from top to bottom, runs left to right.
// Only rows in [rowLimit.Top, rowLimit.Bottom) are produced.
void ScanPolygon(std::span<const TPoint> points, TFillMode mode, int32_t rowTop, int32_t rowBottom,
                 const std::function<void(int32_t, int32_t, int32_t)>& span);
// ScanPolygon for each polygon in turn: counts[i] points of the list make polygon i.
void ScanPolygons(std::span<const TPoint> points, std::span<const int32_t> counts, TFillMode mode,
                  int32_t rowTop, int32_t rowBottom,
                  const std::function<void(int32_t, int32_t, int32_t)>& span);

// Rows of a rounded rectangle of width x height pixels with corner ellipse cornerW x cornerH:
// for each row from the top, the first and last column covered (inclusive, relative to the
// box). A corner of 2 pixels or less in either direction gives a plain rectangle. Each row is
// computed on its own, so a caller pays only for the rows it shows; sizes may pass 32 bits.
struct TRowExtent {
    int32_t First;
    int32_t Last;
};
struct TWideRowExtent {  // the same for boxes wider than the 32-bit range
    int64_t First;
    int64_t Last;
};
class TRoundRows {
  public:
    TRoundRows(int64_t width, int64_t height, int64_t cornerW, int64_t cornerH);
    // Row r, 0 <= r < height.
    TWideRowExtent Row(int64_t r) const;

  private:
    int64_t m_width;
    int64_t m_height;
    int64_t m_cornerW;
    int64_t m_cornerH;
    bool m_rounded;
};
// Every row of a small rounded rectangle at once.
std::vector<TRowExtent> RoundRectRows(int32_t width, int32_t height, int32_t cornerW,
                                      int32_t cornerH);

inline int64_t CeilDiv(int64_t n, int64_t d) {  // d > 0
    int64_t q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

// The visible steps of a horizontal or vertical line from a to b (the LineTo rule: a's pixel
// drawn, b's not): steps [First, End) of Count lie in the box, the pixel of step First at (X, Y),
// each next one Direction (+1 or -1) along x when Horizontal, else along y.
struct TStraightSteps {
    int64_t Count = 0;
    int64_t First = 0;
    int64_t End = 0;
    int32_t X = 0;
    int32_t Y = 0;
    bool Horizontal = true;
    int32_t Direction = 1;
};
inline TStraightSteps StraightSteps(TPoint a, TPoint b, const TRect& box) {
    TStraightSteps steps;
    steps.Horizontal = a.Y == b.Y;
    const int64_t from = steps.Horizontal ? a.X : a.Y;
    const int64_t to = steps.Horizontal ? b.X : b.Y;
    const int64_t across = steps.Horizontal ? a.Y : a.X;
    const int64_t lo = steps.Horizontal ? box.Left : box.Top;
    const int64_t hi = steps.Horizontal ? box.Right : box.Bottom;  // exclusive
    const bool inside = steps.Horizontal ? across >= box.Top && across < box.Bottom
                                         : across >= box.Left && across < box.Right;
    steps.Count = std::abs(to - from);
    steps.Direction = to > from ? 1 : -1;
    steps.First = std::max<int64_t>(0, steps.Direction > 0 ? lo - from : from - hi + 1);
    steps.End = inside ? std::min(steps.Count, steps.Direction > 0 ? hi - from : from - lo + 1) : 0;
    steps.End = std::max(steps.End, steps.First);
    const int64_t at = from + steps.Direction * steps.First;
    steps.X = static_cast<int32_t>(steps.Horizontal ? at : across);
    steps.Y = static_cast<int32_t>(steps.Horizontal ? across : at);
    return steps;
}

// Steps the pixels of the line from (x0, y0) towards (x1, y1), the end pixel excluded, and
// calls plot(x, y, i) for those inside box, i counting pixels from the start. Ties between two
// pixels go to the upper one for mostly-horizontal lines and to the left one for
// mostly-vertical lines, whatever the direction. Clipping only skips steps: the pixels lit are
// those of the whole line. Returns the number of pixels of the whole line.
template <class Plot>
int64_t StepLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const TRect& box, Plot&& plot) {
    int64_t dx = std::abs(int64_t{x1} - x0);
    int64_t dy = std::abs(int64_t{y1} - y0);
    bool xMajor = dx >= dy;
    int64_t major = xMajor ? dx : dy;
    int64_t minor = xMajor ? dy : dx;
    if (major == 0) {
        return 0;
    }
    int32_t sMajor = (xMajor ? x1 > x0 : y1 > y0) ? 1 : -1;
    int32_t sMinor = (xMajor ? y1 > y0 : x1 > x0) ? 1 : -1;
    // Rounding down a tie picks the upper/left pixel when the minor axis steps forward.
    int64_t bias = sMinor > 0 ? 1 : 0;
    int64_t a0 = xMajor ? x0 : y0;  // major-axis start
    int64_t b0 = xMajor ? y0 : x0;  // minor-axis start
    int64_t aLo = xMajor ? box.Left : box.Top;
    int64_t aHi = xMajor ? box.Right : box.Bottom;  // exclusive
    int64_t bLo = xMajor ? box.Top : box.Left;
    int64_t bHi = xMajor ? box.Bottom : box.Right;
    // Steps whose major coordinate lies in the box.
    int64_t iStart = 0;
    int64_t iEnd = major;
    if (sMajor > 0) {
        iStart = std::max(iStart, aLo - a0);
        iEnd = std::min(iEnd, aHi - a0);
    } else {
        iStart = std::max(iStart, a0 - aHi + 1);
        iEnd = std::min(iEnd, a0 - aLo + 1);
    }
    // Steps whose minor offset m lies in [kLo, kHi]; m(i) = floor((2 i minor + major - bias) /
    // (2 major)) grows with i, so m >= k from i = ceil((2 k major - major + bias) / (2 minor)).
    int64_t kLo = sMinor > 0 ? bLo - b0 : b0 - bHi + 1;
    int64_t kHi = sMinor > 0 ? bHi - 1 - b0 : b0 - bLo;
    if (kHi < 0 || kLo > kHi) {
        return major;
    }
    if (minor == 0) {
        if (kLo > 0) {
            return major;
        }
    } else {
        if (kLo > 0) {
            iStart = std::max(iStart, CeilDiv(2 * kLo * major - major + bias, 2 * minor));
        }
        iEnd = std::min(iEnd, CeilDiv(2 * (kHi + 1) * major - major + bias, 2 * minor));
    }
    if (iStart >= iEnd) {
        return major;
    }
    int64_t twoMajor = 2 * major;
    int64_t numerator = 2 * iStart * minor + major - bias;
    int64_t m = numerator / twoMajor;
    int64_t err = numerator % twoMajor;
    int64_t a = a0 + sMajor * iStart;
    int64_t b = b0 + sMinor * m;
    for (int64_t i = iStart; i < iEnd; ++i) {
        if (xMajor) {
            plot(static_cast<int32_t>(a), static_cast<int32_t>(b), i);
        } else {
            plot(static_cast<int32_t>(b), static_cast<int32_t>(a), i);
        }
        a += sMajor;
        err += 2 * minor;
        if (err >= twoMajor) {
            err -= twoMajor;
            b += sMinor;
        }
    }
    return major;
}

}  // namespace gfx::detail
