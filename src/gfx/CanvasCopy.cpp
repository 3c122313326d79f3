// Block copies of the device canvas: from another canvas or a bitmap, unscaled or stretched.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Raster.h"

namespace gfx {

using detail::TSurface;

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    TPoint d0 = LogicalToDevice({dest.Left, dest.Top});
    TPoint d1 = LogicalToDevice({dest.Right, dest.Bottom});
    TPoint s0 = source.LogicalToDevice({sourceRect.Left, sourceRect.Top});
    TPoint s1 = source.LogicalToDevice({sourceRect.Right, sourceRect.Bottom});
    TRect to(d0.X, d0.Y, d1.X, d1.Y);
    TRect from(s0.X, s0.Y, s1.X, s1.Y);
    if (to.IsEmpty() || from.IsEmpty()) {
        return;
    }
    const TBitmap& src = source.m_bitmap;
    TRect srcBounds(0, 0, src.Width(), src.Height());
    TRect read = from.Intersect(srcBounds);
    if (read.IsEmpty()) {
        return;
    }
    // A copy within one bitmap reads from a snapshot, so that overlapping copies work.
    const bool overlapping = &src == &m_bitmap;
    std::vector<uint32_t> snapshot;
    if (overlapping) {
        snapshot.resize(static_cast<size_t>(read.Width()) * static_cast<size_t>(read.Height()));
        for (int32_t y = read.Top; y < read.Bottom; ++y) {
            std::copy_n(src.ScanLine(y) + read.Left, read.Width(),
                        snapshot.data() +
                            static_cast<size_t>(y - read.Top) * static_cast<size_t>(read.Width()));
        }
    }
    // The source row sy, indexed from read.Left.
    auto sourceRow = [&](int32_t sy) -> const uint32_t* {
        return overlapping ? snapshot.data() + static_cast<size_t>(sy - read.Top) *
                                                   static_cast<size_t>(read.Width())
                           : src.ScanLine(sy) + read.Left;
    };
    Changing();
    TSurface surface = Surface();
    TRect limit = to.Intersect(surface.Clip->Bounds());
    int64_t dw = to.Width();
    int64_t dh = to.Height();
    int64_t sw = from.Width();
    int64_t sh = from.Height();
    bool monochrome = m_bitmap.Monochrome();
    // An unscaled copy moves whole runs; a stretched one picks the nearest source pixel.
    const bool unscaled = dw == sw && dh == sh && !monochrome;
    if (unscaled && !overlapping && surface.Clip->IsRect() && limit.Left == 0 &&
        limit.Right == m_bitmap.Width() && src.Width() == m_bitmap.Width() &&
        from.Left - to.Left == 0 && read.Left == 0 && read.Right == src.Width()) {
        // Whole rows of bitmaps of one width (a frame to the window): one block, copied at the
        // C library's speed for large blocks rather than row by row.
        const int32_t shift = from.Top - to.Top;  // source row = destination row + shift
        const int32_t first = std::max(limit.Top, read.Top - shift);
        const int32_t end = std::min(limit.Bottom, read.Bottom - shift);
        if (first < end) {
            std::memcpy(m_bitmap.ScanLine(first), src.ScanLine(first + shift),
                        static_cast<size_t>(end - first) * static_cast<size_t>(src.Width()) *
                            sizeof(uint32_t));
        }
        Changed();
        return;
    }
    for (int32_t y = limit.Top; y < limit.Bottom; ++y) {
        auto sy = static_cast<int32_t>(from.Top + (int64_t{y - to.Top} * sh) / dh);
        if (sy < read.Top || sy >= read.Bottom) {
            continue;
        }
        const uint32_t* srcRow = sourceRow(sy);
        uint32_t* dstRow = m_bitmap.ScanLine(y);
        surface.Clip->ForEachPiece(y, limit.Left, limit.Right, [&](int32_t x0, int32_t x1) {
            if (unscaled) {
                const int32_t shift = from.Left - to.Left;  // source x = destination x + shift
                const int32_t first = std::max(x0, read.Left - shift);
                const int32_t end = std::min(x1, read.Right - shift);
                if (first < end) {
                    std::copy_n(srcRow + (first + shift - read.Left), end - first, dstRow + first);
                }
                return;
            }
            for (int32_t x = x0; x < x1; ++x) {
                auto sx = static_cast<int32_t>(from.Left + (int64_t{x - to.Left} * sw) / dw);
                if (sx >= read.Left && sx < read.Right) {
                    uint32_t value = srcRow[sx - read.Left];
                    dstRow[x] = monochrome ? MonochromeOf(value) : value;
                }
            }
        });
    }
    Changed();
}

void TCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap) {
    if (!bitmap.Empty()) {
        CopyRect(TRect::FromSize(x, y, bitmap.Width(), bitmap.Height()), bitmap.Canvas(),
                 TRect(0, 0, bitmap.Width(), bitmap.Height())
                     .Offset(bitmap.Canvas().WindowOrg().X - bitmap.Canvas().ViewportOrg().X,
                             bitmap.Canvas().WindowOrg().Y - bitmap.Canvas().ViewportOrg().Y));
    }
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    if (!bitmap.Empty()) {
        CopyRect(dest, bitmap.Canvas(),
                 TRect(0, 0, bitmap.Width(), bitmap.Height())
                     .Offset(bitmap.Canvas().WindowOrg().X - bitmap.Canvas().ViewportOrg().X,
                             bitmap.Canvas().WindowOrg().Y - bitmap.Canvas().ViewportOrg().Y));
    }
}

}  // namespace gfx
