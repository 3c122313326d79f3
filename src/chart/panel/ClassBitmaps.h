// Bitmaps named after classes (the series gallery's icons), found for a class or its parent.
#pragma once

#include <string>

#include "classes/Properties.h"
#include "gfx/Bitmap.h"

namespace chart {

// Number of the chart's hand cursor, shown while panning.
inline constexpr int16_t kChartHandCursor = 2020;

// Makes a copy of the bitmap available under the class name; a later one replaces it.
void RegisterClassBitmap(const std::string& className, const gfx::TBitmap& bitmap);
// Loads the bitmap registered for the class, else for its parent class, into bitmap; false
// (and bitmap unchanged) when neither has one.
bool FindClassBitmap(const classes::TClassInfo& info, gfx::TBitmap& bitmap);

}  // namespace chart
