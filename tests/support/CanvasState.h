// What a series leaves on the chart's canvas for whatever is drawn after it: a fast drawing path
// must leave the same pen and brush as the drawing point by point.
#pragma once

#include <cstdint>

#include "chart/canvas/ChartCanvas3D.h"

namespace testsupport {

struct TCanvasState {
    gfx::TColor PenColor = 0;
    int32_t PenWidth = 0;
    gfx::TPenStyle PenStyle = gfx::TPenStyle::psSolid;
    gfx::TColor BrushColor = 0;
    gfx::TBrushStyle BrushStyle = gfx::TBrushStyle::bsSolid;
    friend bool operator==(const TCanvasState&, const TCanvasState&) = default;
};

inline TCanvasState CanvasStateOf(const chart::TChartCanvas3D& canvas) {
    return {canvas.Pen().Color(), canvas.Pen().Width(), canvas.Pen().Style(),
            canvas.Brush().Color(), canvas.Brush().Style()};
}

}  // namespace testsupport
