// Where a control goes when its parent is resized, by its anchors.
#pragma once

#include <cstdint>

#include "forms/Control.h"

namespace ui {

// A control's place in its parent's client area, pixels.
struct TBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    friend bool operator==(const TBounds&, const TBounds&) = default;
};

// A control placed at `placed` while its parent's client area measured placedWidth x
// placedHeight, now that it measures width x height. Per axis: anchored on both sides it
// stretches (never below 0); on the far side only (right, bottom) it keeps its distance to that
// edge; on the near side only it stays put; on neither it keeps its centre's relative place.
TBounds AnchoredBounds(const TBounds& placed, int32_t placedWidth, int32_t placedHeight,
                       int32_t width, int32_t height, forms::TAnchors anchors);

}  // namespace ui
