// The gallery's second sheet: whole charts of line series with marks, legend and areas, flat
// and in 3D.
#pragma once

#include <string>

namespace gallery {

// Paints the chart sheet and writes it as a PNG; raises on a failed write.
void SaveChartSheet(const std::string& path);

}  // namespace gallery
