// Anchoring a control to its parent's edges.
#include "ui/Anchors.h"

#include <algorithm>

namespace ui {

namespace {
struct TSpan {
    int32_t Start;
    int32_t Length;
};

TSpan Anchor(int32_t start, int32_t length, int32_t growth, bool nearSide, bool farSide) {
    if (nearSide && farSide) {
        return {start, std::max<int32_t>(0, length + growth)};
    }
    if (farSide) {
        return {start + growth, length};
    }
    if (nearSide) {
        return {start, length};
    }
    return {start + growth / 2, length};
}
}  // namespace

TBounds AnchoredBounds(const TBounds& placed, int32_t placedWidth, int32_t placedHeight,
                       int32_t width, int32_t height, forms::TAnchors anchors) {
    auto has = [anchors](forms::TAnchorKind kind) {
        return (anchors & forms::AnchorBit(kind)) != 0;
    };
    const TSpan x = Anchor(placed.Left, placed.Width, width - placedWidth,
                           has(forms::TAnchorKind::akLeft), has(forms::TAnchorKind::akRight));
    const TSpan y = Anchor(placed.Top, placed.Height, height - placedHeight,
                           has(forms::TAnchorKind::akTop), has(forms::TAnchorKind::akBottom));
    return {x.Start, y.Start, x.Length, y.Length};
}

}  // namespace ui
