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

namespace {

using port::TPortIO;

constexpr int32_t kSamplesPerMs = 48;
constexpr int32_t kEdgeToleranceMs = 2;

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

std::vector<int16_t> WavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file(std::istreambuf_iterator<char>(in), {});
    std::vector<int16_t> out;
    for (size_t i = 44; i + 1 < file.size(); i += 2) {
        out.push_back(static_cast<int16_t>(file[i] | (file[i + 1] << 8)));
    }
    return out;
}

// The tone's frequency from its rising edges between samples [from, to): whole cycles over
// the time between the first and the last edge.
double MeasuredFrequency(const std::vector<int16_t>& s, int32_t from, int32_t to) {
    int32_t first = -1;
    int32_t last = -1;
    int32_t cycles = -1;
    for (int32_t i = from + 1; i < to; ++i) {
        if (s[i - 1] < 0 && s[i] > 0) {
            first = first < 0 ? i : first;
            last = i;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * 48000.0 / (last - first) : 0.0;
}

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

    const std::vector<int16_t> s = WavSamples(wav);
    ASSERT_EQ(static_cast<size_t>(endMs * kSamplesPerMs), s.size());
    int32_t start = 0;
    for (size_t k = 0; k <= changes.size(); ++k) {
        const int32_t end = k < changes.size() ? changes[k] : endMs;
        const bool down = k % 2 == 1;
        SCOPED_TRACE((down ? "key down " : "key up ") + std::to_string(start) + "-" +
                     std::to_string(end) + " ms");
        const int32_t from = start * kSamplesPerMs;
        const int32_t to = end * kSamplesPerMs;
        if (down) {
            int32_t firstSound = -1;
            int32_t lastSound = -1;
            for (int32_t i = from; i < to; ++i) {
                if (s[i] != 0) {
                    firstSound = firstSound < 0 ? i : firstSound;
                    lastSound = i;
                }
            }
            EXPECT_LE(std::abs(firstSound - from), kEdgeToleranceMs * kSamplesPerMs);
            EXPECT_LE(std::abs(lastSound + 1 - to), kEdgeToleranceMs * kSamplesPerMs);
            EXPECT_NEAR(795.0, MeasuredFrequency(s, from, to), 1.0);
        } else {
            // Silence throughout, apart from the tolerance at the edges.
            const int32_t margin = kEdgeToleranceMs * kSamplesPerMs;
            for (int32_t i = from + (start == 0 ? 0 : margin); i < to - margin; ++i) {
                ASSERT_EQ(0, s[i]) << "sample " << i;
            }
        }
        start = end;
    }
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
