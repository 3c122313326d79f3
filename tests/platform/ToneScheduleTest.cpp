// Playing a tone back at set times: a known run rendered through the sound card's sink, driven by
// hand, has its tone on and off for exactly the samples its times give.
#include "platform/ToneSchedule.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/AudioToneSink.h"

namespace platform {
namespace {

// A stretch of samples that all sound (nonzero) or all are silent.
struct TStretch {
    bool Sounding;
    size_t Samples;
    bool operator==(const TStretch&) const = default;
};

// Renders until the schedule has finished, in buffers of `frames`, and splits the samples into
// stretches of tone and silence (the trailing silence of the last buffer cut off).
std::vector<TStretch> Play(TAudioToneSink& sink, const TToneSchedule& schedule, size_t frames,
                           std::vector<float>* peaks = nullptr) {
    std::vector<float> all;
    std::vector<float> buffer(frames);
    for (int guard = 0; !schedule.Finished() && guard < 100000; ++guard) {
        sink.FillBuffer(buffer.data(), static_cast<unsigned long>(frames));
        all.insert(all.end(), buffer.begin(), buffer.end());
    }
    std::vector<TStretch> stretches;
    for (float sample : all) {
        const bool sounding = sample != 0.0f;
        if (stretches.empty() || stretches.back().Sounding != sounding) {
            stretches.push_back(TStretch{sounding, 0});
        }
        ++stretches.back().Samples;
        if (peaks != nullptr && sounding) {
            peaks->push_back(sample < 0 ? -sample : sample);
        }
    }
    if (!stretches.empty() && !stretches.back().Sounding) {
        stretches.pop_back();
    }
    return stretches;
}

// "A" and a dit at 20 wpm (60 ms unit): dit, gap, dah, character gap, dit.
std::vector<TToneChange> KnownRun(double hz) {
    return {{0, hz}, {60000, 0}, {120000, hz}, {300000, 0}, {480000, hz}, {540000, 0}};
}

TEST(ToneScheduleTest, AKnownRunSoundsForExactlyItsSamplesWhateverTheBufferSize) {
    // At 48 kHz a millisecond is 48 samples: 60 ms = 2880, 180 ms = 8640.
    const std::vector<TStretch> expected = {
        {true, 2880}, {false, 2880}, {true, 8640}, {false, 8640}, {true, 2880}};
    for (size_t frames : {64u, 1u, 37u, 4096u}) {
        TToneSchedule schedule(KnownRun(795.45), 540000);
        TAudioToneSink sink(&schedule);
        EXPECT_EQ(Play(sink, schedule, frames), expected) << frames << " frames a buffer";
    }
}

TEST(ToneScheduleTest, ChangesBetweenSamplesTakeTheFirstSampleAtOrAfterThem) {
    // 1.5 ms at 48 kHz is sample 72 exactly; 1.51 ms is 72.48, so sample 73.
    EXPECT_EQ(TToneSchedule::SampleAt(1500, 48000), 72u);
    EXPECT_EQ(TToneSchedule::SampleAt(1510, 48000), 73u);
    EXPECT_EQ(TToneSchedule::SampleAt(0, 44100), 0u);
    // At 44.1 kHz 60 ms is 2646 samples and 61.5 ms is 2712.15, so sample 2713.
    EXPECT_EQ(TToneSchedule::SampleAt(60000, 44100), 2646u);
    EXPECT_EQ(TToneSchedule::SampleAt(61500, 44100), 2713u);
    TToneRenderer renderer(44100);
    TToneSchedule schedule({{1000, 800.0}, {61500, 0}}, 61500);
    std::vector<float> samples(3000, 1.0f);
    schedule.Fill(renderer, samples.data(), samples.size());
    EXPECT_TRUE(schedule.Finished());
    // Sounding from sample 45 (1 ms = 44.1 samples) to 2712.
    EXPECT_EQ(samples[44], 0.0f);
    EXPECT_NE(samples[45], 0.0f);
    EXPECT_NE(samples[2712], 0.0f);
    EXPECT_EQ(samples[2713], 0.0f);
    EXPECT_EQ(samples[2999], 0.0f);
}

TEST(ToneScheduleTest, StoppingSilencesFromTheNextBufferAndFinishes) {
    TToneSchedule schedule(KnownRun(795.45), 540000);
    TAudioToneSink sink(&schedule);
    std::vector<float> buffer(64);
    sink.FillBuffer(buffer.data(), 64);
    EXPECT_NE(buffer[63], 0.0f);
    EXPECT_FALSE(schedule.Finished());
    schedule.Stop();
    sink.FillBuffer(buffer.data(), 64);
    EXPECT_EQ(buffer, std::vector<float>(64, 0.0f));
    EXPECT_TRUE(schedule.Finished());
    // The played-back sink follows its schedule only, never the bus.
    sink.ToneChanged(0, 1000);
    sink.FillBuffer(buffer.data(), 64);
    EXPECT_EQ(buffer, std::vector<float>(64, 0.0f));
}

TEST(ToneScheduleTest, TheToneIsRenderedAtTheSideToneLevel) {
    std::vector<float> peaks;
    {
        TToneSchedule schedule({{0, 1000.0}, {10000, 0}}, 10000);
        TAudioToneSink sink(&schedule);
        EXPECT_EQ(Play(sink, schedule, 64, &peaks), (std::vector<TStretch>{{true, 480}}));
    }
    EXPECT_EQ(peaks.front(), kToneAmplitude);
    SetSideToneLevel(0.125f);
    peaks.clear();
    {
        TToneSchedule schedule({{0, 1000.0}, {10000, 0}}, 10000);
        TAudioToneSink sink(&schedule);
        Play(sink, schedule, 64, &peaks);
    }
    SetSideToneLevel(kToneAmplitude);
    ASSERT_EQ(peaks.size(), 480u);
    EXPECT_EQ(peaks.front(), 0.125f);
    EXPECT_EQ(peaks.back(), 0.125f);
}

TEST(ToneScheduleTest, ChangesOutOfOrderOrBeforeTheStartAreRefused) {
    EXPECT_THROW(TToneSchedule({{1000, 800.0}, {500, 0}}, 2000), std::invalid_argument);
    EXPECT_THROW(TToneSchedule({{-1, 800.0}}, 2000), std::invalid_argument);
    // An end before the last change is taken as that change.
    const TToneSchedule schedule({{0, 800.0}, {3000, 0}}, 1000);
    EXPECT_EQ(schedule.EndUs(), 3000);
}

}  // namespace
}  // namespace platform
