// The side-tone end to end on the Linux services: a keyed run recorded through the emulated
// bus into a WAV file has the tone exactly while the key is down; and two program instances
// share the driver service without taking it from each other.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/LinuxSystemServices.h"
#include "platform/WavToneSink.h"
#include "port/PortIO.h"
#include "support/SideToneCheck.h"

namespace {

using port::TPortIO;

class SideToneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "keyvet-sidetone-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        m_root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }
    std::string State() const { return m_root + "/runtime/services"; }

    std::string m_root;
};

TEST_F(SideToneTest, AKeyedRunSoundsTheToneExactlyWhileTheKeyIsDown) {
    // Key changes (milliseconds from the start), down first: "K" and "A" at about 20 wpm with
    // a hand's uneven timing.
    const std::vector<int32_t> changes = {100, 282, 341, 401, 465, 648, 833, 895, 957, 1141};
    const int32_t endMs = 1300;
    const std::string wav = m_root + "/run.wav";

    int64_t nowUs = 0;
    platform::TLinuxSystemServices sys(State(), false);
    sys.Bus().SetTimeSource([&nowUs] { return nowUs; });
    {
        platform::TWavToneSink sink(wav, 0);
        sys.Bus().SetToneSink(&sink);
        const platform::TScopedSystemServices guard(sys);
        {
            TPortIO io(nullptr);
            io.SetOpened(true);
            ASSERT_TRUE(io.Opened()) << io.LastError();
            io.SpeakerOff();  // the key is up when the run starts
            for (size_t k = 0; k < changes.size(); ++k) {
                nowUs = int64_t{changes[k]} * 1000;
                if (k % 2 == 0) {
                    io.SpeakerOn(TPortIO::kSideToneDivisor);
                } else {
                    io.SpeakerOff();
                }
                EXPECT_TRUE(io.Succeeded());
            }
            io.SetOpened(false);
        }
        sys.Bus().SetToneSink(nullptr);
        sink.Close(int64_t{endMs} * 1000);
    }

    const std::vector<int16_t> s = support::WavSamples(wav);
    ASSERT_EQ(static_cast<size_t>(endMs * support::kSamplesPerMs), s.size());
    support::ExpectToneFollowsKey(s, std::vector<double>(changes.begin(), changes.end()), endMs);
}

TEST_F(SideToneTest, TwoProgramInstancesShareTheServiceAndTheFirstRemovesIt) {
    platform::TLinuxSystemServices firstSystem(State(), false);
    platform::TLinuxSystemServices secondSystem(State(), false);
    platform::TRecordingToneSink firstSink;
    platform::TRecordingToneSink secondSink;
    firstSystem.Bus().SetToneSink(&firstSink);
    secondSystem.Bus().SetToneSink(&secondSink);

    auto first = [&] {
        const platform::TScopedSystemServices guard(firstSystem);
        return std::make_unique<TPortIO>(nullptr);
    }();
    auto second = [&] {
        const platform::TScopedSystemServices guard(secondSystem);
        return std::make_unique<TPortIO>(nullptr);
    }();
    EXPECT_EQ(5, first->SystemKind());
    first->SetOpened(true);
    second->SetOpened(true);
    ASSERT_TRUE(first->Opened());
    ASSERT_TRUE(second->Opened());
    EXPECT_TRUE(first->RemoveOnDestroy() && first->StopOnDestroy());
    EXPECT_FALSE(second->RemoveOnDestroy() || second->StopOnDestroy());

    second->SpeakerOn(1500);
    EXPECT_NEAR(795.45, secondSink.Changes().back().FrequencyHz, 0.01);
    EXPECT_EQ(0.0, firstSink.Changes().back().FrequencyHz);  // each program its own bus

    second.reset();
    EXPECT_TRUE(std::filesystem::exists(State()));
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(State()));
}

}  // namespace
