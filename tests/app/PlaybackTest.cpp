// Run -> Play back on a replayed run: the tone changes taken from the run, the run sounded for
// exactly its marks' samples through a sink driven by hand, no sound device as one clear error,
// and the menu item's caption and state.
#include "app/Playback.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/MainForm.h"
#include "app/RunMenu.h"
#include "base/Exceptions.h"
#include "forms/Application.h"
#include "forms/Menus.h"
#include "platform/PortBus.h"
#include "replay/Replay.h"

namespace {

constexpr double kDesignedHz = platform::kTimerClockHz / 1500;

// The worked example of the analysis: seven marks from 100 ms on.
const char* const kScript =
    "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n911 down\n"
    "977 up\n1033 down\n1223 up\n1408 down\n1468 up\n";

// Samples of tone and of silence until the playing ends, rendered 64 at a time.
std::pair<size_t, size_t> PlayOut(app::TPlayback& playback) {
    size_t sounding = 0;
    size_t silent = 0;
    std::vector<float> buffer(64);
    for (int guard = 0; playback.Playing() && guard < 100000; ++guard) {
        playback.Output()->FillBuffer(buffer.data(), 64);
        for (float sample : buffer) {
            ++(sample != 0.0f ? sounding : silent);
        }
    }
    return {sounding, silent};
}

TEST(PlaybackTest, TheToneStartsAtTheFirstPressAndFollowsEveryChange) {
    const std::vector<coach::TTransition> run = {
        {0, false}, {40, false}, {100, true}, {160, false}, {220, true}, {220, true}, {400, false}};
    int64_t endUs = -1;
    const std::vector<platform::TToneChange> changes = app::PlaybackChanges(run, 700, endUs);
    ASSERT_EQ(changes.size(), 4u);
    const std::vector<std::pair<int64_t, double>> expected = {
        {0, 700}, {60000, 0}, {120000, 700}, {300000, 0}};
    for (size_t i = 0; i < changes.size(); ++i) {
        EXPECT_EQ(changes[i].TimeUs, expected[i].first) << i;
        EXPECT_EQ(changes[i].FrequencyHz, expected[i].second) << i;
    }
    EXPECT_EQ(endUs, 300000);
    // A run whose key never went down has nothing to play.
    EXPECT_TRUE(app::PlaybackChanges({{0, false}, {50, false}}, 700, endUs).empty());
    EXPECT_EQ(endUs, 0);
    // Tick counts that wrapped during the run still give the right lengths.
    const std::vector<platform::TToneChange> wrapped =
        app::PlaybackChanges({{4294967290u, true}, {10, false}}, 700, endUs);
    ASSERT_EQ(wrapped.size(), 2u);
    EXPECT_EQ(wrapped[1].TimeUs, 16000);
}

class PlaybackRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The Run menu alone, as the program's start-up makes it.
        auto* run = new forms::TMenuItem(&m_replay.Form());
        run->SetName("Run1");
        run->SetCaption("Run");
        m_replay.Form().Menu()->Items().Add(run);
        m_playback = std::make_shared<app::TPlayback>([this](platform::TAudioToneSink&) {
            ++m_opened;
            return m_device;
        });
        app::AddPlaybackMenuItem(m_replay.Form(), m_playback);
    }
    void TearDown() override { forms::TApplication::Instance().DestroyForms(); }

    forms::TMenuItem& Item() {
        forms::TMenuItem& bar = m_replay.Form().Menu()->Items();
        forms::TMenuItem& run = *bar.Items(bar.Count() - 1);
        return *run.Items(run.Count() - 1);
    }

    replay::TReplay m_replay{replay::ParseScript(kScript)};
    std::shared_ptr<app::TPlayback> m_playback;
    bool m_device = true;
    int m_opened = 0;
};

TEST_F(PlaybackRunTest, TheRunSoundsForExactlyItsMarksAtTheDesignedPitch) {
    m_replay.Run();
    ASSERT_NE(m_replay.Form().LastAnalysedRun(), nullptr);
    m_playback->Play(*m_replay.Form().LastAnalysedRun(), m_replay.Form().SideToneDivisor());
    ASSERT_TRUE(m_playback->Playing());
    // Marks of 64, 180, 62, 175, 66, 190 and 60 ms: 797 ms, 48 samples each; the spaces between
    // the first press and the last release are the other 571 ms.
    const auto [sounding, silent] = PlayOut(*m_playback);
    EXPECT_EQ(sounding, 797u * 48u);
    EXPECT_GE(silent, 571u * 48u);
    EXPECT_LT(silent, 571u * 48u + 64u);  // the rest of the last buffer
    EXPECT_FALSE(m_playback->Playing());
    m_playback->Tidy();
    EXPECT_EQ(m_playback->Output(), nullptr);
    // The pitch is the side-tone's: 1193182 Hz / 1500.
    EXPECT_EQ(m_replay.Form().SideToneDivisor(), 1500);
    EXPECT_NEAR(kDesignedHz, 795.45, 0.01);
}

TEST_F(PlaybackRunTest, NoSoundDeviceIsOneClearErrorAndNothingPlays) {
    m_replay.Run();
    m_device = false;
    try {
        Item().Click();
        FAIL() << "no error";
    } catch (const base::Exception& error) {
        EXPECT_STREQ(error.what(), "No sound device could be opened to play the run back on.");
    }
    EXPECT_FALSE(m_playback->Playing());
    EXPECT_EQ(m_playback->Output(), nullptr);
}

TEST_F(PlaybackRunTest, TheItemIsDisabledWithoutARunAndReadsStopWhilePlaying) {
    Item().Update();
    EXPECT_EQ(Item().Caption(), "Play back");
    EXPECT_FALSE(Item().Enabled());
    Item().Click();  // chosen anyway (a key, a test): nothing happens
    EXPECT_EQ(m_opened, 0);

    m_replay.Run();
    Item().Update();
    EXPECT_TRUE(Item().Enabled());
    Item().Click();
    EXPECT_TRUE(m_playback->Playing());
    Item().Update();
    EXPECT_EQ(Item().Caption(), "Stop playback");
    EXPECT_TRUE(Item().Enabled());
    Item().Click();
    EXPECT_FALSE(m_playback->Playing());
    Item().Update();
    EXPECT_EQ(Item().Caption(), "Play back");
    // Played to its end, it reads Play back again without being chosen.
    Item().Click();
    PlayOut(*m_playback);
    Item().Update();
    EXPECT_EQ(Item().Caption(), "Play back");
    EXPECT_EQ(m_playback->Output(), nullptr);
    EXPECT_EQ(m_opened, 2);
}

TEST_F(PlaybackRunTest, ARunStartingStopsThePlaying) {
    m_playback->Play(coach::TKeyedRun{{{0, true}, {5000, false}}, ""}, 1500);
    ASSERT_TRUE(m_playback->Playing());
    m_replay.Run();
    EXPECT_FALSE(m_playback->Playing());
    EXPECT_EQ(m_playback->Output(), nullptr);
}

}  // namespace
