// The chart's reserved colour values, its default 16-colour palette and the colour names that
// design data may use for chart colours.
#pragma once

#include <cstdint>

#include "classes/Properties.h"
#include "gfx/Colors.h"

namespace chart {

// A point or pen without a colour of its own: a point takes its series' SeriesColor, a pen or
// brush the point's colour. (So system colour index 0 cannot be a point colour.)
inline constexpr gfx::TColor clSeriesDefault = 0x80000000u;

// Number of entries of the default palette.
inline constexpr int32_t kPaletteSize = 16;

// The default palette entry for a non-negative index, taken modulo the palette size:
// red, green, yellow, blue, white, gray, fuchsia, teal, navy, maroon, lime, olive, purple,
// silver, aqua, black.
gfx::TColor PaletteColor(int32_t index);

// The window colour names without clScrollBar, whose value is clSeriesDefault here; that
// value is written as a number.
const classes::TIdentMap& ChartColorIdents();

}  // namespace chart
