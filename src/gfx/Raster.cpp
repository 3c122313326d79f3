// Internal rasteriser pieces: runs, masks, polygon scan conversion and rounded-shape rows.
#include "gfx/Raster.h"

#include <array>
#include <cassert>
#include <cmath>

namespace gfx::detail {

void PaintRun(const TSurface& surface, int32_t y, int32_t x0, int32_t x1, const TInk& ink) {
    assert(y >= 0 && y < surface.Height && x0 >= 0 && x0 <= x1 && x1 <= surface.Width &&
           "a run is painted only after clipping to the surface");
    uint32_t* row = surface.Pixels + static_cast<size_t>(y) * static_cast<size_t>(surface.Width);
    if (ink.Hatch == nullptr) {
        if (ink.Mode == TPenMode::pmCopy) {
            FillPixels(row + x0, static_cast<size_t>(x1 - x0), ink.Color);
        } else {
            for (int32_t x = x0; x < x1; ++x) {
                row[x] = Mix(ink.Mode, ink.Color, row[x]);
            }
        }
        return;
    }
    // The tile is aligned to the device origin.
    uint32_t bits = (*ink.Hatch)[static_cast<size_t>(y & 7)];
    for (int32_t x = x0; x < x1; ++x) {
        if (((bits >> (7 - (x & 7))) & 1u) != 0) {
            row[x] = Mix(ink.Mode, ink.Color, row[x]);
        } else if (ink.Opaque) {
            row[x] = Mix(ink.Mode, ink.Back, row[x]);
        }
    }
}

TMask::TMask(const TRect& box) : m_box(box.IsEmpty() ? TRect() : box) {
    m_bits.assign(static_cast<size_t>(m_box.Width()) * static_cast<size_t>(m_box.Height()), 0);
}

void TMask::AddSpan(int32_t y, int32_t x0, int32_t x1) {
    if (y < m_box.Top || y >= m_box.Bottom) {
        return;
    }
    x0 = std::max(x0, m_box.Left);
    x1 = std::min(x1, m_box.Right);
    if (x0 < x1) {
        std::fill_n(m_bits.begin() + static_cast<ptrdiff_t>(Index(x0, y)), x1 - x0, 1);
    }
}

void TMask::RemoveSpan(int32_t y, int32_t x0, int32_t x1) {
    if (y < m_box.Top || y >= m_box.Bottom) {
        return;
    }
    x0 = std::max(x0, m_box.Left);
    x1 = std::min(x1, m_box.Right);
    if (x0 < x1) {
        std::fill_n(m_bits.begin() + static_cast<ptrdiff_t>(Index(x0, y)), x1 - x0, 0);
    }
}

void TMask::Paint(const TSurface& surface, const TInk& ink) const {
    for (int32_t y = m_box.Top; y < m_box.Bottom; ++y) {
        const uint8_t* row = m_bits.data() + Index(m_box.Left, y);
        int32_t width = m_box.Width();
        int32_t i = 0;
        while (i < width) {
            while (i < width && row[i] == 0) {
                ++i;
            }
            int32_t start = i;
            while (i < width && row[i] != 0) {
                ++i;
            }
            if (start < i) {
                FillSpan(surface, y, m_box.Left + start, m_box.Left + i, ink);
            }
        }
    }
}

namespace {

struct TEdge {
    int64_t X0, Y0, X1, Y1;  // top end first
    int32_t Dir;             // +1 drawn downwards, -1 upwards
};

struct TCrossing {
    int64_t X;
    int32_t Dir;
};

// Edges up to which a polygon is scanned without the active edge list.
constexpr size_t kSmallEdges = 4;

// Crossings of a row up to which an insertion sort beats the general one.
constexpr size_t kFewCrossings = 16;

// Keeps span ends within the range every caller clips against.
constexpr int64_t kCoordinateLimit = int64_t{1} << 30;

int32_t ClampCoordinate(int64_t x) {
    return static_cast<int32_t>(std::clamp(x, -kCoordinateLimit, kCoordinateLimit));
}

}  // namespace

namespace {

// The working storage of a scan, kept across the polygons of one ScanPolygons call.
struct TScanStorage {
    std::vector<TEdge> Edges;
    std::vector<size_t> Active;
    std::vector<TCrossing> Crossings;
};

void ScanOne(std::span<const TPoint> points, TFillMode mode, int32_t rowTop, int32_t rowBottom,
             const std::function<void(int32_t, int32_t, int32_t)>& span, TScanStorage& storage) {
    size_t n = points.size();
    if (n < 3) {
        return;
    }
    // A polygon of one column covers no pixel: each row's crossings all lie on that column.
    if (std::all_of(points.begin(), points.end(),
                    [&](const TPoint& p) { return p.X == points[0].X; })) {
        return;
    }
    std::vector<TEdge>& edges = storage.Edges;
    edges.clear();
    edges.reserve(n);
    int64_t minY = points[0].Y;
    int64_t maxY = points[0].Y;
    for (size_t i = 0; i < n; ++i) {
        const TPoint& p = points[i];
        const TPoint& q = points[(i + 1) % n];
        minY = std::min<int64_t>(minY, p.Y);
        maxY = std::max<int64_t>(maxY, p.Y);
        if (p.Y == q.Y) {
            continue;  // horizontal edges cover no row
        }
        if (p.Y < q.Y) {
            edges.push_back({p.X, p.Y, q.X, q.Y, 1});
        } else {
            edges.push_back({q.X, q.Y, p.X, p.Y, -1});
        }
    }
    std::sort(edges.begin(), edges.end(),
              [](const TEdge& a, const TEdge& b) { return a.Y0 < b.Y0; });
    int64_t yStart = std::max<int64_t>(minY, rowTop);
    int64_t yEnd = std::min<int64_t>(maxY, rowBottom);
    if (mode == TFillMode::fmAlternate && edges.size() <= kSmallEdges) {
        // A small polygon (a quadrilateral or less): each row's crossings straight from the
        // edges that cover it. The alternate rule pairs the sorted crossings by value alone, so
        // the spans are those of the general loop below.
        std::array<int64_t, kSmallEdges> xs{};
        for (int64_t y = yStart; y < yEnd; ++y) {
            size_t count = 0;
            for (const TEdge& edge : edges) {
                if (edge.Y0 <= y && y < edge.Y1) {
                    int64_t x = edge.X0;
                    if (edge.X1 != edge.X0) {
                        int64_t dy = edge.Y1 - edge.Y0;
                        x = CeilDiv(edge.X0 * dy + (y - edge.Y0) * (edge.X1 - edge.X0), dy);
                    }
                    size_t k = count++;
                    for (; k > 0 && xs[k - 1] > x; --k) {
                        xs[k] = xs[k - 1];
                    }
                    xs[k] = x;
                }
            }
            for (size_t i = 0; i + 1 < count; i += 2) {
                if (xs[i] < xs[i + 1]) {
                    span(static_cast<int32_t>(y), ClampCoordinate(xs[i]),
                         ClampCoordinate(xs[i + 1]));
                }
            }
        }
        return;
    }
    std::vector<size_t>& active = storage.Active;
    active.clear();
    std::vector<TCrossing>& crossings = storage.Crossings;
    size_t next = 0;
    for (int64_t y = yStart; y < yEnd; ++y) {
        while (next < edges.size() && edges[next].Y0 <= y) {
            active.push_back(next++);
        }
        std::erase_if(active, [&](size_t e) { return edges[e].Y1 <= y; });
        crossings.clear();
        for (size_t e : active) {
            const TEdge& edge = edges[e];
            // First integer x at or right of the crossing; a vertical edge's own x.
            int64_t x = edge.X0;
            if (edge.X1 != edge.X0) {
                int64_t dy = edge.Y1 - edge.Y0;
                x = CeilDiv(edge.X0 * dy + (y - edge.Y0) * (edge.X1 - edge.X0), dy);
            }
            crossings.push_back({x, edge.Dir});
        }
        // The few crossings of a row sorted in place, equal ones kept in edge order; many
        // through the general sort.
        if (crossings.size() > kFewCrossings) {
            std::sort(crossings.begin(), crossings.end(),
                      [](const TCrossing& a, const TCrossing& b) { return a.X < b.X; });
        } else {
            for (size_t i = 1; i < crossings.size(); ++i) {
                const TCrossing c = crossings[i];
                size_t k = i;
                for (; k > 0 && crossings[k - 1].X > c.X; --k) {
                    crossings[k] = crossings[k - 1];
                }
                crossings[k] = c;
            }
        }
        int32_t row = static_cast<int32_t>(y);
        switch (mode) {
            case TFillMode::fmAlternate:
                for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                    if (crossings[i].X < crossings[i + 1].X) {
                        span(row, ClampCoordinate(crossings[i].X),
                             ClampCoordinate(crossings[i + 1].X));
                    }
                }
                break;
            case TFillMode::fmWinding: {
                int32_t winding = 0;
                int64_t start = 0;
                for (const TCrossing& c : crossings) {
                    int32_t before = winding;
                    winding += c.Dir;
                    if (before == 0 && winding != 0) {
                        start = c.X;
                    } else if (before != 0 && winding == 0 && start < c.X) {
                        span(row, ClampCoordinate(start), ClampCoordinate(c.X));
                    }
                }
                break;
            }
        }
    }
}

}  // namespace

void ScanPolygon(std::span<const TPoint> points, TFillMode mode, int32_t rowTop, int32_t rowBottom,
                 const std::function<void(int32_t, int32_t, int32_t)>& span) {
    TScanStorage storage;
    ScanOne(points, mode, rowTop, rowBottom, span, storage);
}

void ScanPolygons(std::span<const TPoint> points, std::span<const int32_t> counts, TFillMode mode,
                  int32_t rowTop, int32_t rowBottom,
                  const std::function<void(int32_t, int32_t, int32_t)>& span) {
    TScanStorage storage;
    size_t at = 0;
    for (const int32_t count : counts) {
        const size_t n = std::min(static_cast<size_t>(std::max(count, 0)), points.size() - at);
        ScanOne(points.subspan(at, n), mode, rowTop, rowBottom, span, storage);
        at += n;
    }
}

namespace {

using U128 = unsigned __int128;

// A 256-bit product as its high and low halves.
struct TProduct {
    U128 High;
    U128 Low;
};

TProduct MultiplyWide(U128 p, U128 q) {
    constexpr U128 kLow64 = ~uint64_t{0};
    U128 p0 = p & kLow64, p1 = p >> 64, q0 = q & kLow64, q1 = q >> 64;
    U128 low = p0 * q0;
    U128 cross1 = p1 * q0;
    U128 cross2 = p0 * q1;
    U128 carry = (low >> 64) + (cross1 & kLow64) + (cross2 & kLow64);
    return {p1 * q1 + (cross1 >> 64) + (cross2 >> 64) + (carry >> 64),
            (carry << 64) | (low & kLow64)};
}

bool AtMost(const TProduct& a, const TProduct& b) {
    return a.High < b.High || (a.High == b.High && a.Low <= b.Low);
}

// Largest doubled offset X from the centre, of the parity of (size - 1), with the pixel centre
// inside the ellipse whose semi-axes are a quarter pixel short of the box edges; Y is the
// row's doubled offset. In quadrupled units: (2X)^2 B^2 + (2Y)^2 A^2 <= A^2 B^2, compared
// exactly in 256 bits so that boxes of any 32-bit size work.
int64_t EllipseHalfWidth(int64_t width, int64_t height, int64_t doubledY) {
    int64_t full = width - 1;
    int64_t least = full % 2;
    if (doubledY >= -1 && doubledY <= 1) {
        return full;  // the middle row(s) span the whole box
    }
    auto a = static_cast<U128>(2 * width - 1);
    auto b = static_cast<U128>(2 * height - 1);
    auto y = static_cast<U128>(doubledY < 0 ? -doubledY : doubledY);
    if (4 * y * y > b * b) {
        return least;
    }
    // x fits when (2 B x)^2 <= A^2 (B^2 - 4 Y^2).
    TProduct limit = MultiplyWide(a * a, b * b - 4 * y * y);
    auto fits = [&](int64_t x) {
        U128 side = 2 * b * static_cast<U128>(x);
        return AtMost(MultiplyWide(side, side), limit);
    };
    double estimate = static_cast<double>(a) / (2.0 * static_cast<double>(b)) *
                      std::sqrt(static_cast<double>(b * b - 4 * y * y));
    auto x = std::min(static_cast<int64_t>(estimate), full);
    while (x < full && fits(x + 1)) {
        ++x;
    }
    while (x > 0 && !fits(x)) {
        --x;
    }
    if ((x - least) % 2 != 0) {
        --x;
    }
    return std::clamp(x, least, full);
}

}  // namespace

TRoundRows::TRoundRows(int64_t width, int64_t height, int64_t cornerW, int64_t cornerH)
    : m_width(width),
      m_height(height),
      m_cornerW(std::min(cornerW, width)),
      m_cornerH(std::min(cornerH, height)),
      m_rounded(m_cornerW > 2 && m_cornerH > 2) {}

TWideRowExtent TRoundRows::Row(int64_t r) const {
    int64_t half = m_cornerH / 2;
    // Rows of the top corners count from the top, those of the bottom ones from the bottom.
    int64_t k = r < half ? r : m_height - 1 - r;
    if (!m_rounded || k >= half) {
        return {0, m_width - 1};
    }
    int64_t x = EllipseHalfWidth(m_cornerW, m_cornerH, 2 * k - (m_cornerH - 1));
    int64_t first = ((m_cornerW - 1) - x) / 2;
    return {first, (m_width - m_cornerW) + (m_cornerW - 1 - first)};
}

std::vector<TRowExtent> RoundRectRows(int32_t width, int32_t height, int32_t cornerW,
                                      int32_t cornerH) {
    TRoundRows shape(width, height, cornerW, cornerH);
    std::vector<TRowExtent> rows(static_cast<size_t>(std::max(height, 0)));
    for (size_t r = 0; r < rows.size(); ++r) {
        TWideRowExtent row = shape.Row(static_cast<int64_t>(r));
        rows[r] = {static_cast<int32_t>(row.First), static_cast<int32_t>(row.Last)};
    }
    return rows;
}

}  // namespace gfx::detail
