// Internal pieces of the line stroker: wide segment bodies, round dots and dense polylines.
#include "gfx/Stroke.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace gfx::detail {

namespace {

int32_t RoundHalfUp(double v) {
    return static_cast<int32_t>(std::floor(v + 0.5));
}

// Column runs ready to paint: per column its first row and, with the sign bit flipped, the
// length of its run less one, so that a row is covered when its distance from the first row
// is at most that in one signed comparison (the distance taken unsigned: rows above the run
// fall out too). Pixels points at the clip's left column of row 0.
struct TCoveredRows {
    uint32_t* Pixels;
    size_t Stride;  // pixels per row
    const int32_t* First;
    const int32_t* Spans;
    uint32_t Color;
};

constexpr uint32_t kSignBit = 0x80000000u;

// Paints the covered pixels among Lanes columns from c on row y.
template <size_t Lanes>
[[gnu::always_inline]] inline void PaintCoveredLanes(const TCoveredRows& rows, uint32_t* row,
                                                     int32_t y, size_t c) {
    typedef int32_t TRows __attribute__((vector_size(Lanes * sizeof(int32_t))));
    typedef uint32_t TPixels __attribute__((vector_size(Lanes * sizeof(uint32_t))));
    TRows first;
    TRows span;
    TPixels pixels;
    std::memcpy(&first, rows.First + c, sizeof first);
    std::memcpy(&span, rows.Spans + c, sizeof span);
    std::memcpy(&pixels, row + c, sizeof pixels);
    const TRows uncovered = ((y - first) ^ INT32_MIN) > span;
    TPixels keep;
    std::memcpy(&keep, &uncovered, sizeof keep);
    pixels = (pixels & keep) | (rows.Color & ~keep);
    std::memcpy(row + c, &pixels, sizeof pixels);
}

// Paints the covered pixels of rows top .. bottom in columns [c0, c1), Lanes columns at a time
// in the compiler's portable vectors (the processor's widest where a caller is built so), the
// rest four at a time and one by one.
template <size_t Lanes>
[[gnu::always_inline]] inline void PaintCoveredRowsIn(const TCoveredRows& rows, int32_t top,
                                                      int32_t bottom, size_t c0, size_t c1) {
    for (int32_t y = top; y <= bottom; ++y) {
        uint32_t* row = rows.Pixels + static_cast<size_t>(y) * rows.Stride;
        size_t c = c0;
        for (; c + Lanes <= c1; c += Lanes) {
            PaintCoveredLanes<Lanes>(rows, row, y, c);
        }
        if constexpr (Lanes > kLanes) {
            for (; c + kLanes <= c1; c += kLanes) {
                PaintCoveredLanes<kLanes>(rows, row, y, c);
            }
        }
        for (; c < c1; ++c) {
            if (rows.First[c] <= y &&
                y - rows.First[c] <=
                    static_cast<int32_t>(static_cast<uint32_t>(rows.Spans[c]) ^ kSignBit)) {
                row[c] = rows.Color;
            }
        }
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same loop built for the wider vector units, taken only where the processor has them. With
// sixteen lanes the covered pixels are stored under a mask, so the row is not read first and
// the columns left at the right end take a narrower mask rather than a loop of their own.
[[gnu::target("avx512f")]] void PaintCoveredRowsAvx512(const TCoveredRows& rows, int32_t top,
                                                       int32_t bottom, size_t c0, size_t c1) {
    const __m512i sign = _mm512_set1_epi32(INT32_MIN);
    const __m512i color = _mm512_set1_epi32(static_cast<int32_t>(rows.Color));
    const size_t whole = c0 + (c1 - c0) / kAvx512Lanes * kAvx512Lanes;
    const auto rest = static_cast<__mmask16>((1u << (c1 - whole)) - 1u);
    for (int32_t y = top; y <= bottom; ++y) {
        uint32_t* row = rows.Pixels + static_cast<size_t>(y) * rows.Stride;
        const __m512i rowLanes = _mm512_set1_epi32(y);
        for (size_t c = c0; c < c1; c += kAvx512Lanes) {
            const __mmask16 lanes = c < whole ? static_cast<__mmask16>(0xFFFF) : rest;
            const __m512i first = _mm512_maskz_loadu_epi32(lanes, rows.First + c);
            const __m512i span = _mm512_maskz_loadu_epi32(lanes, rows.Spans + c);
            const __m512i distance = _mm512_xor_si512(_mm512_sub_epi32(rowLanes, first), sign);
            const __mmask16 covered = _mm512_mask_cmple_epi32_mask(lanes, distance, span);
            _mm512_mask_storeu_epi32(row + c, covered, color);
        }
    }
}

[[gnu::target("avx2")]] void PaintCoveredRowsAvx2(const TCoveredRows& rows, int32_t top,
                                                  int32_t bottom, size_t c0, size_t c1) {
    PaintCoveredRowsIn<8>(rows, top, bottom, c0, c1);
}
#endif

// The lanes chosen for tests; 0: the widest.
thread_local size_t chosenLanes = 0;

void PaintCoveredRowsWidest(const TCoveredRows& rows, int32_t top, int32_t bottom, size_t c0,
                            size_t c1) {
    const size_t lanes = chosenLanes != 0 ? chosenLanes : WidestDenseLanes();
#if defined(__x86_64__) && defined(__GNUC__)
    if (lanes == kAvx512Lanes) {
        PaintCoveredRowsAvx512(rows, top, bottom, c0, c1);
        return;
    }
    if (lanes == kAvx2Lanes) {
        PaintCoveredRowsAvx2(rows, top, bottom, c0, c1);
        return;
    }
#endif
    PaintCoveredRowsIn<kLanes>(rows, top, bottom, c0, c1);
}

// Per pixel column of the clip, the run of rows covered so far. A piece that neither overlaps
// nor touches a column's run paints that run and takes its place, so the pixels painted are
// exactly the union of the pieces, in whatever order they come. The runs left at the end are
// painted row by row, four columns at a time.
class TColumnRuns {
  public:
    // Columns and rows of the clip; columns outside [left, right) never get a piece.
    TColumnRuns(const TSurface& surface, const TRect& clip, uint32_t color)
        : m_surface(surface),
          m_clip(clip),
          m_color(color),
          m_first(static_cast<size_t>(std::max(clip.Width(), 0)), kEmptyFirst),
          m_last(static_cast<size_t>(std::max(clip.Width(), 0)), kEmptyLast),
          m_spans(m_last.size()) {}

    // Rows y0 .. y1 (inclusive) of column x, clipped.
    void Add(int32_t x, int32_t y0, int32_t y1) {
        if (x < m_clip.Left || x >= m_clip.Right) {
            return;
        }
        y0 = std::max(y0, m_clip.Top);
        y1 = std::min(y1, m_clip.LastY());
        if (y0 > y1) {
            return;
        }
        const auto c = static_cast<size_t>(x - m_clip.Left);
        int32_t& first = m_first[c];
        int32_t& last = m_last[c];
        if (first > last) {
            m_leftmost = std::min(m_leftmost, x);
            m_rightmost = std::max(m_rightmost, x);
        } else if (y0 > last + 1 || y1 < first - 1) {
            PaintColumn(x, first, last);
            first = y0;
            last = y1;
            return;
        }
        first = std::min(first, y0);
        last = std::max(last, y1);
    }

    // Paints the runs left.
    void Finish() {
        if (m_leftmost > m_rightmost) {
            return;
        }
        const auto c0 = static_cast<size_t>(m_leftmost - m_clip.Left);
        const auto c1 = static_cast<size_t>(m_rightmost - m_clip.Left) + 1;
        int32_t top = INT32_MAX;
        int32_t bottom = INT32_MIN;
        for (size_t c = c0; c < c1; ++c) {
            if (m_first[c] <= m_last[c]) {
                top = std::min(top, m_first[c]);
                bottom = std::max(bottom, m_last[c]);
            }
        }
        // Per column its first row and, offset by the sign bit, the length of its run less
        // one: a row is covered when its distance from the first row, taken unsigned, is at
        // most that (one signed comparison). An empty column starts above every row.
        for (size_t c = c0; c < c1; ++c) {
            const bool empty = m_first[c] > m_last[c];
            const int32_t first = empty ? top - 1 : m_first[c];
            m_spans[c] = static_cast<int32_t>(static_cast<uint32_t>(empty ? 0 : m_last[c] - first) ^
                                              kSignBit);
            m_first[c] = first;
        }
        PaintCoveredRows(top, bottom, c0, c1);
    }

  private:
    static constexpr int32_t kEmptyFirst = INT32_MAX;
    static constexpr int32_t kEmptyLast = INT32_MIN;

    // Rows top .. bottom of columns [c0, c1): a pixel takes the colour when its column's run
    // covers its row; the widest vectors the processor has, whole rows at a time.
    void PaintCoveredRows(int32_t top, int32_t bottom, size_t c0, size_t c1) const {
        const TCoveredRows rows{m_surface.Pixels + static_cast<size_t>(m_clip.Left),
                                static_cast<size_t>(m_surface.Width), m_first.data(),
                                m_spans.data(), m_color};
        PaintCoveredRowsWidest(rows, top, bottom, c0, c1);
    }

    void PaintColumn(int32_t x, int32_t first, int32_t last) const {
        const auto stride = static_cast<size_t>(m_surface.Width);
        uint32_t* pixel =
            m_surface.Pixels + static_cast<size_t>(first) * stride + static_cast<size_t>(x);
        for (int32_t y = first; y <= last; ++y, pixel += stride) {
            *pixel = m_color;
        }
    }

    const TSurface& m_surface;
    TRect m_clip;
    uint32_t m_color;
    std::vector<int32_t> m_first;  // per column, rows; kEmptyFirst > kEmptyLast when empty
    std::vector<int32_t> m_last;
    std::vector<int32_t> m_spans;    // Finish's run lengths less one, sign bit flipped
    int32_t m_leftmost = INT32_MAX;  // columns holding a run
    int32_t m_rightmost = INT32_MIN;
};

TRoundDot MakeRoundDot(int32_t width) {
    TRoundDot dot;
    dot.Rows = RoundRectRows(width, width, width, width);
    dot.Columns.assign(static_cast<size_t>(width), TRowExtent{INT32_MAX, INT32_MIN});
    std::vector<int32_t> counts(static_cast<size_t>(width), 0);
    for (int32_t r = 0; r < width; ++r) {
        const TRowExtent& row = dot.Rows[static_cast<size_t>(r)];
        for (int32_t c = row.First; c <= row.Last; ++c) {
            TRowExtent& column = dot.Columns[static_cast<size_t>(c)];
            column.First = std::min(column.First, r);
            column.Last = std::max(column.Last, r);
            ++counts[static_cast<size_t>(c)];
        }
    }
    dot.ColumnsAreRuns = true;
    for (int32_t c = 0; c < width; ++c) {
        const TRowExtent& column = dot.Columns[static_cast<size_t>(c)];
        const int32_t centre = width / 2;
        if (counts[static_cast<size_t>(c)] != column.Last - column.First + 1 ||
            column.First > centre || column.Last < centre) {
            dot.ColumnsAreRuns = false;
        }
    }
    return dot;
}

// What decides the rows that the one-pixel segments of a vertical chain light at one x.
struct TThinChain {
    int32_t BeforeLastMin = INT32_MAX;  // over the distinct vertices before the last one
    int32_t BeforeLastMax = INT32_MIN;
    int32_t Last = 0;
};

}  // namespace

size_t WidestDenseLanes() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const size_t widest =
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") ? kAvx512Lanes
        : __builtin_cpu_supports("avx2")                                         ? kAvx2Lanes
                                                                                 : kLanes;
    return widest;
#else
    return kLanes;
#endif
}

void ChooseDenseLanes(size_t lanes) {
    assert((lanes == 0 || lanes == kLanes || lanes == kAvx2Lanes || lanes == kAvx512Lanes) &&
           lanes <= WidestDenseLanes() && "the processor has these lanes");
    chosenLanes = lanes;
}

std::array<TPoint, 4> WideSegmentQuad(TPoint a, TPoint b, int32_t width) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double length = std::hypot(dx, dy);
    const double wx = width * std::abs(dy) / length;
    const double wy = width * std::abs(dx) / length;
    // The normal pointing up (or left for a vertical-ish normal of no height).
    double nx = dy;
    double ny = -dx;
    if (ny > 0 || (ny == 0 && nx > 0)) {
        nx = -nx;
        ny = -ny;
    }
    const int32_t sx = nx < 0 ? -1 : 1;
    const int32_t sy = ny < 0 ? -1 : 1;
    const int32_t nearX = RoundHalfUp(wx / 2) * sx;
    const int32_t nearY = RoundHalfUp(wy / 2) * sy;
    const int32_t farX = RoundHalfUp((wx + 1) / 2) * sx;
    const int32_t farY = RoundHalfUp((wy + 1) / 2) * sy;
    return {TPoint{a.X + nearX, a.Y + nearY}, TPoint{b.X + nearX, b.Y + nearY},
            TPoint{b.X - farX, b.Y - farY}, TPoint{a.X - farX, a.Y - farY}};
}

const TRoundDot& RoundDot(int32_t width) {
    assert(width > 0 && "a round dot has a width of at least one pixel");
    thread_local std::map<int32_t, std::unique_ptr<TRoundDot>> dots;
    std::unique_ptr<TRoundDot>& dot = dots[width];
    if (dot == nullptr) {
        dot = std::make_unique<TRoundDot>(MakeRoundDot(width));
    }
    return *dot;
}

bool PaintingTwiceIsOnce(TPenMode mode) {
    switch (mode) {
        case TPenMode::pmBlack:
        case TPenMode::pmWhite:
        case TPenMode::pmNop:
        case TPenMode::pmCopy:
        case TPenMode::pmNotCopy:
        case TPenMode::pmMergeNotPen:
        case TPenMode::pmMaskNotPen:
        case TPenMode::pmMerge:
        case TPenMode::pmMask:
            return true;
        case TPenMode::pmNot:
        case TPenMode::pmMergePenNot:
        case TPenMode::pmMaskPenNot:
        case TPenMode::pmNotMerge:
        case TPenMode::pmNotMask:
        case TPenMode::pmXor:
        case TPenMode::pmNotXor:
            return false;
    }
    return false;
}

bool IsDensePolyline(std::span<const TPoint> points, int32_t width) {
    if (points.size() < kMinDensePoints || (width > 1 && !RoundDot(width).ColumnsAreRuns)) {
        return false;
    }
    // Whether x ever steps back or forth, gathered without a branch per point.
    uint32_t back = 0;
    uint32_t forth = 0;
    int32_t before = points.front().X;
    for (const TPoint& p : points) {
        back |= static_cast<uint32_t>(p.X < before);
        forth |= static_cast<uint32_t>(p.X > before);
        before = p.X;
    }
    const int64_t columns = std::abs(int64_t{points.back().X} - points.front().X) + 1;
    return (back & forth) == 0 && static_cast<int64_t>(points.size()) > columns;
}

void DensePolyline(const TSurface& surface, std::span<const TPoint> points, int32_t width,
                   uint32_t color) {
    assert(surface.Clip->IsRect() && "dense polylines are clipped to a rectangle");
    if (points.empty()) {
        return;
    }
    // The columns the pen can reach: x never turns back, so the ends bound it.
    const int32_t minX = std::min(points.front().X, points.back().X);
    const int32_t maxX = std::max(points.front().X, points.back().X);
    const TRect bounds = surface.Clip->Bounds();
    const TRect clip(std::max(bounds.Left, minX - width), bounds.Top,
                     std::min(bounds.Right, maxX + width + 1), bounds.Bottom);
    if (clip.IsEmpty()) {
        return;
    }
    TColumnRuns runs(surface, clip, color);
    const TRoundDot* dot = width > 1 ? &RoundDot(width) : nullptr;
    assert((dot == nullptr || dot->ColumnsAreRuns) && "the dot's columns must be single runs");
    const size_t n = points.size();
    size_t i = 0;
    while (i < n) {
        // The chain of points i .. j at one x: vertical segments, and points repeated.
        const int32_t x = points[i].X;
        int32_t minY = points[i].Y;
        int32_t maxY = points[i].Y;
        TThinChain thin;
        thin.Last = points[i].Y;
        size_t j = i;
        while (j + 1 < n && points[j + 1].X == x) {
            ++j;
            const int32_t y = points[j].Y;
            if (y == thin.Last) {
                continue;  // a repeated point draws nothing
            }
            thin.BeforeLastMin = std::min(thin.BeforeLastMin, thin.Last);
            thin.BeforeLastMax = std::max(thin.BeforeLastMax, thin.Last);
            thin.Last = y;
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        if (dot != nullptr) {
            // The bodies between the lowest and highest point, capped by the dots of both (the
            // dots of the points between lie inside): per column one run.
            const int32_t left = x - width / 2;
            const int32_t top = -width / 2;
            for (int32_t c = 0; c < width; ++c) {
                const TRowExtent& column = dot->Columns[static_cast<size_t>(c)];
                runs.Add(left + c, minY + top + column.First, maxY + top + column.Last);
            }
        } else if (thin.BeforeLastMin <= thin.BeforeLastMax) {
            // Each segment lights its rows but its end; every vertex but the last starts one.
            if (thin.Last < thin.BeforeLastMin) {
                runs.Add(x, thin.Last + 1, thin.BeforeLastMax);
            } else if (thin.Last > thin.BeforeLastMax) {
                runs.Add(x, thin.BeforeLastMin, thin.Last - 1);
            } else {
                runs.Add(x, thin.BeforeLastMin, thin.BeforeLastMax);
            }
        }
        if (j + 1 < n) {
            // The segment to the next chain.
            const TPoint a = points[j];
            const TPoint b = points[j + 1];
            if (dot == nullptr) {
                StepLine(a.X, a.Y, b.X, b.Y, clip,
                         [&](int32_t px, int32_t py, int64_t) { runs.Add(px, py, py); });
            } else if (a.Y == b.Y) {
                const int32_t top = a.Y - width / 2;
                const int32_t first = std::max(std::min(a.X, b.X), clip.Left);
                const int32_t end = std::min(std::max(a.X, b.X), clip.Right);
                for (int32_t px = first; px < end; ++px) {
                    runs.Add(px, top, top + width - 1);
                }
            } else {
                WideSegmentSpans(a, b, width, clip.Top, clip.Bottom,
                                 [&](int32_t y, int32_t x0, int32_t x1) {
                                     const int32_t end = std::min(x1, clip.Right);
                                     for (int32_t px = std::max(x0, clip.Left); px < end; ++px) {
                                         runs.Add(px, y, y);
                                     }
                                 });
            }
        }
        i = j + 1;
    }
    runs.Finish();
}

}  // namespace gfx::detail
