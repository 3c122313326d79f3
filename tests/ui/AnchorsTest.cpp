// Anchoring a control to its parent's edges when the parent is resized.
#include "ui/Anchors.h"

#include <gtest/gtest.h>

namespace {

using forms::AnchorBit;
using forms::TAnchorKind;
constexpr forms::TAnchors kLeft = AnchorBit(TAnchorKind::akLeft);
constexpr forms::TAnchors kTop = AnchorBit(TAnchorKind::akTop);
constexpr forms::TAnchors kRight = AnchorBit(TAnchorKind::akRight);
constexpr forms::TAnchors kBottom = AnchorBit(TAnchorKind::akBottom);

// The main window's client area at design, pixels.
constexpr int32_t kWidth = 790;
constexpr int32_t kHeight = 585;

TEST(AnchorsTest, LeftBottomControlKeepsItsDistanceToTheLeftAndBottomEdges) {
    const ui::TBounds start{8, 277, 137, 25};
    const ui::TBounds moved =
        ui::AnchoredBounds(start, kWidth, kHeight, kWidth + 100, kHeight + 60, kLeft | kBottom);
    EXPECT_EQ(moved, (ui::TBounds{8, 337, 137, 25}));
    EXPECT_EQ(kHeight + 60 - (moved.Top + moved.Height), kHeight - (start.Top + start.Height));
}

TEST(AnchorsTest, ControlAnchoredOnAllSidesStretchesAndNeverBelowZero) {
    const ui::TBounds chart{10, 16, 768, 249};
    const forms::TAnchors all = kLeft | kTop | kRight | kBottom;
    EXPECT_EQ(ui::AnchoredBounds(chart, kWidth, kHeight, kWidth + 100, kHeight + 60, all),
              (ui::TBounds{10, 16, 868, 309}));
    EXPECT_EQ(ui::AnchoredBounds(chart, kWidth, kHeight, kWidth - 300, kHeight - 250, all),
              (ui::TBounds{10, 16, 468, 0}));
    EXPECT_EQ(ui::AnchoredBounds(chart, kWidth, kHeight, 0, 0, all), (ui::TBounds{10, 16, 0, 0}));
}

TEST(AnchorsTest, TopLeftStaysPutRightMovesAndUnanchoredKeepsItsCentreRelative) {
    const ui::TBounds box{100, 50, 40, 20};
    EXPECT_EQ(ui::AnchoredBounds(box, 400, 300, 500, 340, forms::kDefaultAnchors), box);
    EXPECT_EQ(ui::AnchoredBounds(box, 400, 300, 500, 340, kRight | kTop),
              (ui::TBounds{200, 50, 40, 20}));
    EXPECT_EQ(ui::AnchoredBounds(box, 400, 300, 500, 340, 0), (ui::TBounds{150, 70, 40, 20}));
    // Shrinking moves a right-anchored control left, by the same amount.
    EXPECT_EQ(ui::AnchoredBounds(box, 400, 300, 390, 300, kRight | kBottom),
              (ui::TBounds{90, 50, 40, 20}));
}

}  // namespace
