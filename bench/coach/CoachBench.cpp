// The coach's cost on a one-hour run (about 30,000 transitions): read-back and statistics, and
// the alignment with a practice text as long as the run.
#include <benchmark/benchmark.h>

#include "coach/Details.h"
#include "coach/PracticeText.h"
#include "support/MorseKeying.h"

namespace {

// An hour of random five-letter groups at 20 wpm with 10 % jitter.
const coach::TKeyedRun& HourRun() {
    static const coach::TKeyedRun run = [] {
        testsupport::TKeyingStyle style;
        style.Jitter = 0.1;
        coach::TKeyedRun r;
        r.PracticeText = coach::RandomGroupsText(1000, 1);
        r.Transitions = testsupport::KeyText(r.PracticeText, style);
        return r;
    }();
    return run;
}

void BM_ReadBackAndStatisticsOfAnHour(benchmark::State& state) {
    coach::TKeyedRun run = HourRun();
    run.PracticeText.clear();
    for (auto _ : state) {
        benchmark::DoNotOptimize(coach::ComputeDetails(run));
    }
    state.counters["transitions"] = static_cast<double>(run.Transitions.size());
    state.counters["minutes"] =
        (run.Transitions.back().TimeMs - run.Transitions.front().TimeMs) / 60000.0;
}
BENCHMARK(BM_ReadBackAndStatisticsOfAnHour)->Unit(benchmark::kMillisecond);

void BM_AllDetailsOfAnHourWithItsPracticeText(benchmark::State& state) {
    const coach::TKeyedRun& run = HourRun();
    for (auto _ : state) {
        benchmark::DoNotOptimize(coach::ComputeDetails(run));
    }
}
BENCHMARK(BM_AllDetailsOfAnHourWithItsPracticeText)->Unit(benchmark::kMillisecond);

}  // namespace
