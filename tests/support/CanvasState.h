// What a series leaves on the chart canvas for whatever is drawn after it, for tests that
// compare a fast drawing path with the general one.
#pragma once

#include <cstdint>

#include "chart/canvas/ChartCanvas3D.h"

namespace support {

struct TCanvasState {
    gfx::TColor PenColor = 0;
    int32_t PenWidth = 0;
    gfx::TPenStyle PenStyle = gfx::TPenStyle::psSolid;
    gfx::TColor BrushColor = 0;
    gfx::TBrushStyle BrushStyle = gfx::TBrushStyle::bsSolid;
    friend bool operator==(const TCanvasState&, const TCanvasState&) = default;
};

inline TCanvasState CanvasStateOf(chart::TChartCanvas3D& canvas) {
    return {canvas.Pen().Color(), canvas.Pen().Width(), canvas.Pen().Style(),
            canvas.Brush().Color(), canvas.Brush().Style()};
}

}  // namespace support
