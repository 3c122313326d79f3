// Column and row runs: pixels set column by column or row by row in given colours, for drawings
// already reduced to the pixels they leave.
#include <algorithm>

#include "gfx/Canvas.h"
#include "gfx/Raster.h"

namespace gfx {

void TCanvas::FillColumns(std::span<const TColumnRun> runs) {
    if (runs.empty()) {
        return;
    }
    Changing();
    const detail::TSurface surface = Surface();
    const TRegion& clip = *surface.Clip;
    const TRect bounds = clip.Bounds();
    const TPoint offset = LogicalToDevice({0, 0});
    const auto stride = static_cast<size_t>(surface.Width);
    TColor lastColor = runs.front().Color;
    uint32_t device = DeviceColor(lastColor);
    for (const TColumnRun& run : runs) {
        const int64_t x = int64_t{run.X} + offset.X;
        if (x < bounds.Left || x >= bounds.Right) {
            continue;
        }
        const auto top =
            static_cast<int32_t>(std::max<int64_t>(int64_t{run.Top} + offset.Y, bounds.Top));
        const auto bottom =
            static_cast<int32_t>(std::min<int64_t>(int64_t{run.Bottom} + offset.Y, bounds.Bottom));
        if (top >= bottom) {
            continue;
        }
        if (run.Color != lastColor) {
            lastColor = run.Color;
            device = DeviceColor(lastColor);
        }
        const auto column = static_cast<int32_t>(x);
        uint32_t* pixel =
            surface.Pixels + static_cast<size_t>(top) * stride + static_cast<size_t>(column);
        if (clip.IsRect()) {
            for (int32_t y = top; y < bottom; ++y, pixel += stride) {
                *pixel = device;
            }
            continue;
        }
        for (int32_t y = top; y < bottom; ++y, pixel += stride) {
            clip.ForEachPiece(y, column, column + 1, [&](int32_t, int32_t) { *pixel = device; });
        }
    }
    Changed();
}

void TCanvas::FillRows(std::span<const TRowRun> runs) {
    if (runs.empty()) {
        return;
    }
    Changing();
    const detail::TSurface surface = Surface();
    const TPoint offset = LogicalToDevice({0, 0});
    detail::TInk ink;
    TColor lastColor = runs.front().Color;
    ink.Color = DeviceColor(lastColor);
    for (const TRowRun& run : runs) {
        const int64_t y = int64_t{run.Y} + offset.Y;
        if (y < 0 || y >= surface.Height) {
            continue;
        }
        const auto left = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{run.Left} + offset.X, 0, surface.Width));
        const auto right = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{run.Right} + offset.X, 0, surface.Width));
        if (left >= right) {
            continue;
        }
        if (run.Color != lastColor) {
            lastColor = run.Color;
            ink.Color = DeviceColor(lastColor);
        }
        detail::FillSpan(surface, static_cast<int32_t>(y), left, right, ink);
    }
    Changed();
}

}  // namespace gfx
