// The right button's key-state byte: down bit, toggle bit flipping at each press.
#include "ui/KeyTracker.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

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

TEST(RightButtonTrackerTest, TheStampIsThatOfTheEventThatChangedTheByteRead) {
    ui::TRightButtonTracker tracker;
    EXPECT_FALSE(tracker.ChangeStamp().has_value());
    tracker.Press(platform::TKeyStamp{5000, 1000});
    tracker.Press(platform::TKeyStamp{9000, 1000});  // a repeated press moves nothing
    EXPECT_EQ(tracker.RightButtonState(), 129);
    ASSERT_TRUE(tracker.ChangeStamp().has_value());
    EXPECT_EQ(tracker.ChangeStamp()->Ns, 5000);
    tracker.Release();  // an event without a believable time: the release is not stamped
    EXPECT_EQ(tracker.RightButtonState(), 1);
    EXPECT_FALSE(tracker.ChangeStamp().has_value());
}

TEST(RightButtonTrackerTest, ChangesBetweenTwoReadsAreHandedOverOneAtEachRead) {
    ui::TRightButtonTracker tracker;
    // Two clicks before the run are taken at its start, unlogged: the first read is the button
    // as it is.
    for (int click = 0; click < 2; ++click) {
        tracker.Press(platform::TKeyStamp{1000, 1000});
        tracker.Release(platform::TKeyStamp{2000, 1000});
    }
    tracker.CatchUp();
    EXPECT_EQ(tracker.RightButtonState(), 0);
    // A press and its release, then the next press, all between two reads: each read takes the
    // next change with its own stamp; the byte now (the lamp's, the test channel's) is the last.
    tracker.Press(platform::TKeyStamp{10000, 1000});
    tracker.Release(platform::TKeyStamp{20000, 1000});
    tracker.Press(platform::TKeyStamp{30000, 1000});
    EXPECT_EQ(tracker.StateNow(), 128);
    EXPECT_TRUE(tracker.DownNow());
    std::vector<std::pair<int, int64_t>> reads;
    for (int read = 0; read < 4; ++read) {
        const uint8_t byte = tracker.RightButtonState();
        reads.emplace_back(byte, tracker.ChangeStamp() ? tracker.ChangeStamp()->Ns : -1);
    }
    EXPECT_EQ(reads, (std::vector<std::pair<int, int64_t>>{
                         {129, 10000}, {1, 20000}, {128, 30000}, {128, 30000}}));
    // A reader that stops reading (no run) keeps the most recent changes only: the byte read
    // then catches up with the button without losing the toggle's count.
    for (size_t click = 0; click < platform::TKeyChanges::kMaxWaiting; ++click) {
        tracker.Release();
        tracker.Press();
    }
    tracker.Release();
    const uint8_t now = tracker.StateNow();
    EXPECT_FALSE(tracker.DownNow());
    for (size_t read = 0; read < platform::TKeyChanges::kMaxWaiting; ++read) {
        tracker.RightButtonState();
    }
    EXPECT_EQ(tracker.RightButtonState(), now);
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
