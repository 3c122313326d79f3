// Internal pieces of the canvas' rounded shapes, shared by the single shapes and the batch of
// pies: the rows of a rounded shape in a device box, and the angular part of an ellipse.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "gfx/Canvas.h"
#include "gfx/Geometry.h"
#include "gfx/Raster.h"

namespace gfx {

namespace detail {

// The box between two device points, whatever their order.
inline TRect64 BoxBetween(TPoint a, TPoint b) {
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

// Corner size that makes the shape an ellipse whatever the box.
constexpr int64_t kWholeBox = std::numeric_limits<int64_t>::max();

// A row of a shape split into its outline parts (the pixels with a 4-neighbour outside the
// shape) and its interior (LeftEnd + 1 .. RightStart - 1); device columns.
struct TRowParts {
    int64_t First;
    int64_t LeftEnd;
    int64_t RightStart;
    int64_t Last;
};

// A rounded shape placed in a device box; any row is computed on its own.
class TShapeRows {
  public:
    TShapeRows(const TRect64& box, int64_t cornerW, int64_t cornerH)
        : m_box(box), m_rows(box.Width(), box.Height(), cornerW, cornerH) {}

    // The first and last device column covered on device row y, a row of the box.
    TWideRowExtent Row(int64_t y) const {
        TWideRowExtent row = m_rows.Row(y - m_box.Top);
        return {m_box.Left + row.First, m_box.Left + row.Last};
    }
    // Row y split into outline and interior; the top and bottom rows are all outline.
    TRowParts Parts(int64_t y) const {
        TWideRowExtent row = Row(y);
        if (y == m_box.Top || y == m_box.LastY()) {
            return {row.First, row.Last, row.First, row.Last};
        }
        TWideRowExtent above = Row(y - 1);
        TWideRowExtent below = Row(y + 1);
        return {row.First, std::max(row.First, std::max(above.First, below.First) - 1),
                std::min(row.Last, std::min(above.Last, below.Last) + 1), row.Last};
    }

  private:
    TRect64 m_box;
    TRoundRows m_rows;
};

// Columns [First, End) of a row, device pixels.
struct TColumnRange {
    int64_t First = 0;
    int64_t End = 0;
};

}  // namespace detail

// The angular part of an ellipse: counter-clockwise from the ray through Start to the ray
// through End, rays from the integer centre of the box. Vectors have y pointing up.
struct TCanvas::TSector {
    int64_t CentreX = 0;
    int64_t CentreY = 0;
    int64_t StartX = 0, StartY = 0;
    int64_t EndX = 0, EndY = 0;
    TPoint StartPoint;  // where the start ray meets the ellipse, device pixels
    TPoint EndPoint;

    // The sector of the ellipse in the device box from the ray towards the device point
    // (startX, startY) counter-clockwise to the ray towards (endX, endY), with the points where
    // the rays meet the ellipse.
    static TSector Place(const TRect64& box, int64_t startX, int64_t startY, int64_t endX,
                         int64_t endY);

    // The direction (vx, vy), y up, lies in the sector.
    bool ContainsVector(__int128 vx, __int128 vy) const {
        using Wide = __int128;  // the vectors may span the whole 32-bit range
        Wide startEnd = Wide{StartX} * EndY - Wide{StartY} * EndX;
        Wide startV = StartX * vy - StartY * vx;
        Wide vEnd = vx * EndY - vy * EndX;
        if (startEnd > 0) {
            return startV >= 0 && vEnd >= 0;  // sweep under half a turn
        }
        if (startEnd < 0) {
            return startV >= 0 || vEnd >= 0;  // sweep over half a turn
        }
        if (Wide{StartX} * EndX + Wide{StartY} * EndY > 0) {
            return true;  // same direction: the whole ellipse
        }
        return startV >= 0;  // exactly half a turn
    }
    bool Contains(int32_t x, int32_t y) const {
        return ContainsVector(__int128{x} - CentreX, CentreY - __int128{y});
    }
    // The sweep is under half a turn, so the sector is convex.
    bool Convex() const { return __int128{StartX} * EndY - __int128{StartY} * EndX > 0; }
    // The columns of device row y that Contains accepts, as at most two ranges in ascending
    // order; returns how many.
    int32_t RowColumns(int64_t y, std::array<detail::TColumnRange, 2>& columns) const;
    // Angle of the pixel from the start ray, radians in [0, 2 pi), counter-clockwise.
    double AngleFromStart(int32_t x, int32_t y) const {
        double start = std::atan2(static_cast<double>(StartY), static_cast<double>(StartX));
        double angle =
            std::atan2(static_cast<double>(CentreY - y), static_cast<double>(x - CentreX));
        double d = angle - start;
        while (d < 0) {
            d += 2 * std::numbers::pi;
        }
        return d;
    }
};

}  // namespace gfx
