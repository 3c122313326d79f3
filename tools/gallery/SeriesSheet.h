// The series sheet of keyvet-gallery: every registered series kind and calculated-series
// function drawn on a small chart, flat and in 3D.
#pragma once

#include <string>

namespace gallery {

// Draws the sheet and writes it as a PNG to path (through a temporary file beside it).
void WriteSeriesSheet(const std::string& path);

}  // namespace gallery
