// Integer points, sizes and rectangles of the device; rectangles exclude their right and bottom
// edges.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gfx {

// A point in pixels, y growing downwards.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;

    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A width and height in pixels.
struct TSize {
    int32_t Width = 0;
    int32_t Height = 0;

    friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle (Left, Top, Right, Bottom) in pixels. Right and Bottom are exclusive: the
// rectangle covers the columns Left .. LastX() and the rows Top .. LastY(). This is the one
// place that knows that; code that needs the inclusive edge asks for LastX()/LastY().
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    TRect() = default;
    TRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}

    static TRect FromSize(int32_t left, int32_t top, int32_t width, int32_t height) {
        return TRect(left, top, left + width, top + height);
    }

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    // The last column and row the rectangle covers (inclusive edges).
    int32_t LastX() const { return Right - 1; }
    int32_t LastY() const { return Bottom - 1; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int32_t x, int32_t y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    // The same rectangle with Left <= Right and Top <= Bottom.
    TRect Normalized() const {
        return TRect(std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
                     std::max(Top, Bottom));
    }
    TRect Intersect(const TRect& other) const {
        return TRect(std::max(Left, other.Left), std::max(Top, other.Top),
                     std::min(Right, other.Right), std::min(Bottom, other.Bottom));
    }
    TRect Offset(int32_t dx, int32_t dy) const {
        return TRect(Left + dx, Top + dy, Right + dx, Bottom + dy);
    }
    // Shrinks (positive) or grows (negative) every side by the given amounts.
    TRect Inflate(int32_t dx, int32_t dy) const {
        return TRect(Left - dx, Top - dy, Right + dx, Bottom + dy);
    }

    friend bool operator==(const TRect&, const TRect&) = default;
};

// A rectangle with 64-bit edges, for shape geometry that may pass the 32-bit range (a box from
// one end of it to the other, grown by a wide pen). Right and Bottom are exclusive as in TRect.
struct TRect64 {
    int64_t Left = 0;
    int64_t Top = 0;
    int64_t Right = 0;
    int64_t Bottom = 0;

    int64_t Width() const { return Right - Left; }
    int64_t Height() const { return Bottom - Top; }
    int64_t LastX() const { return Right - 1; }
    int64_t LastY() const { return Bottom - 1; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // The part inside a 32-bit rectangle, which therefore fits one (empty when they miss).
    TRect Intersect(const TRect& other) const {
        TRect64 both{std::max<int64_t>(Left, other.Left), std::max<int64_t>(Top, other.Top),
                     std::min<int64_t>(Right, other.Right),
                     std::min<int64_t>(Bottom, other.Bottom)};
        if (both.IsEmpty()) {
            return TRect();
        }
        return TRect(static_cast<int32_t>(both.Left), static_cast<int32_t>(both.Top),
                     static_cast<int32_t>(both.Right), static_cast<int32_t>(both.Bottom));
    }
};

}  // namespace gfx
