// Colour arithmetic of the chart canvas: darkening faces and blending gradient bands.
#pragma once

#include <cstdint>

#include "gfx/Colors.h"

namespace chart {

// How much darker the side and the top of a box are than its front (Dark3D).
constexpr int32_t kBoxSideDarkening = 128;
constexpr int32_t kBoxTopDarkening = 64;

// Subtracts amount from each of red, green and blue (0 where the channel is not larger).
gfx::TColorRef DarkenColor(gfx::TColor color, int32_t amount);

// The colour of gradient band `index` of `denominator` + 1 bands from first to second: per
// channel first + MulDiv(index, second - first, denominator); first for a zero denominator.
gfx::TColorRef BlendColor(gfx::TColor first, gfx::TColor second, int32_t index,
                          int32_t denominator);

}  // namespace chart
