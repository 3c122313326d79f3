// The right button's key-state byte: down bit, toggle bit flipping at each press.
#include "ui/KeyTracker.h"

#include <gtest/gtest.h>

namespace {

TEST(RightButtonTrackerTest, SuccessivePressesAlternateBetween129And128AndReleasesBetween1And0) {
    ui::TRightButtonTracker tracker;
    EXPECT_EQ(tracker.RightButtonState(), 0);
    const uint8_t expected[] = {129, 1, 128, 0, 129, 1};
    for (size_t i = 0; i < std::size(expected); ++i) {
        if (i % 2 == 0) {
            tracker.Press();
        } else {
            tracker.Release();
        }
        EXPECT_EQ(tracker.RightButtonState(), expected[i]) << "after event " << i;
    }
}

TEST(RightButtonTrackerTest, RepeatedPressOrReleaseDoesNotFlipTheToggleAgain) {
    ui::TRightButtonTracker tracker;
    tracker.Release();
    EXPECT_EQ(tracker.RightButtonState(), 0);
    tracker.Press();
    tracker.Press();  // a lost release: still the same press
    EXPECT_EQ(tracker.RightButtonState(), 129);
    tracker.Release();
    tracker.Release();
    EXPECT_EQ(tracker.RightButtonState(), 1);
}

TEST(RightButtonTrackerTest, TheStampIsThatOfTheEventThatChangedTheByte) {
    ui::TRightButtonTracker tracker;
    EXPECT_FALSE(tracker.ChangeStamp().has_value());
    tracker.Press(platform::TKeyStamp{5000, 1000});
    tracker.Press(platform::TKeyStamp{9000, 1000});  // a repeated press moves nothing
    ASSERT_TRUE(tracker.ChangeStamp().has_value());
    EXPECT_EQ(tracker.ChangeStamp()->Ns, 5000);
    tracker.Release();  // an event without a believable time: the release is not stamped
    EXPECT_FALSE(tracker.ChangeStamp().has_value());
}

TEST(RightButtonTrackerTest, DownReadsAboveAndUpBelowTheCaptureThreshold) {
    constexpr uint8_t kThreshold = 120;
    ui::TRightButtonTracker tracker;
    for (int press = 0; press < 4; ++press) {
        tracker.Press();
        EXPECT_GT(tracker.RightButtonState(), kThreshold);
        tracker.Release();
        EXPECT_LT(tracker.RightButtonState(), kThreshold);
    }
}

}  // namespace
