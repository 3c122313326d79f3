// The tone detector's speed: seconds of sound detected per second of one core, on a keyed tone in
// noise at the slowest and fastest common rates, and a whole hour at 48 kHz fed in blocks as a
// recording is read. A detector must take under 5 % of the sound's length (20 times real time).
#include <benchmark/benchmark.h>

#include <span>
#include <vector>

#include "audio/ToneDetector.h"
#include "support/MorseKeying.h"
#include "support/ToneSynth.h"

namespace {

// A minute of keyed text at 20 wpm, 10 dB in 500 Hz.
std::vector<float> Minute(double rate) {
    testsupport::TSoundConditions c;
    c.SampleRate = rate;
    c.SnrDb = 10;
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    std::vector<coach::TTransition> keyed = testsupport::KeyText(
        "CQ CQ DE KEYVET KEYVET K THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 1234567890 "
        "NOW IS THE TIME FOR ALL GOOD MEN TO COME TO THE AID OF THEIR COUNTRY 73 SK",
        style);
    return testsupport::SynthesiseKeying(keyed, 60000, c);
}

void Detect(benchmark::State& state, double rate, int minutes) {
    const std::vector<float> minute = Minute(rate);
    constexpr size_t kBlock = 1 << 16;  // as a recording is read
    size_t changes = 0;
    for (auto _ : state) {
        audio::TToneDetector detector({rate, 0});
        for (int m = 0; m < minutes; ++m) {
            for (size_t at = 0; at < minute.size(); at += kBlock) {
                detector.Feed(std::span<const float>(minute).subspan(
                    at, std::min(kBlock, minute.size() - at)));
                changes += detector.TakeChanges().size();
            }
        }
        detector.Finish();
        changes += detector.TakeChanges().size();
    }
    benchmark::DoNotOptimize(changes);
    // Seconds of sound per second: the inverse is the share of its length a recording takes.
    state.counters["sound_s_per_s"] = benchmark::Counter(
        60.0 * minutes * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DetectMinuteAt8k(benchmark::State& state) {
    Detect(state, 8000, 1);
}
BENCHMARK(BM_DetectMinuteAt8k)->Unit(benchmark::kMillisecond);

void BM_DetectMinuteAt48k(benchmark::State& state) {
    Detect(state, 48000, 1);
}
BENCHMARK(BM_DetectMinuteAt48k)->Unit(benchmark::kMillisecond);

void BM_DetectHourAt48k(benchmark::State& state) {
    Detect(state, 48000, 60);
}
BENCHMARK(BM_DetectHourAt48k)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
