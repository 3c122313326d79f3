// The coach's cost on a one-hour run (about 30,000 transitions): read-back and statistics, and
// the alignment with a practice text as long as the run; and the read-back's error table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

#include "coach/Details.h"
#include "coach/PracticeText.h"
#include "support/MorseKeying.h"
#include "support/ReadBackConditions.h"

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

namespace {

// An hour of keying at 20 wpm: 15,000 characters of five-letter groups (3,000 groups), 10 %
// jitter, through everything the details compute (the listener's and the strict read-back).
void BM_DetailsOfFifteenThousandCharacters(benchmark::State& state) {
    static const coach::TKeyedRun run = [] {
        testsupport::TFist fist;
        fist.Jitter = 0.1;
        std::mt19937 engine(11);
        coach::TKeyedRun r;
        r.Transitions = testsupport::KeyWithFist(
            testsupport::GenerateText(testsupport::TTextKind::tkGroups, 3000, engine), fist,
            engine);
        return r;
    }();
    for (auto _ : state) {
        benchmark::DoNotOptimize(coach::ComputeDetails(run));
    }
    state.counters["transitions"] = static_cast<double>(run.Transitions.size());
}
BENCHMARK(BM_DetailsOfFifteenThousandCharacters)->Unit(benchmark::kMillisecond);

// The read-back table of the README: the character error rate of the listener and of the strict
// reading per way of keying, printed once (run with --benchmark_filter=ReadBackTable).
void BM_ReadBackTable(benchmark::State& state) {
    constexpr int kRuns = 60;
    auto read = [](bool strict) {
        return [strict](const std::vector<coach::TTransition>& transitions) {
            const coach::TDetails d = coach::ComputeDetails({transitions, ""});
            return strict ? d.StrictReadBack.Text : d.ReadBack.Text;
        };
    };
    static bool printed = false;
    for (auto _ : state) {
        if (printed) {
            continue;
        }
        printed = true;
        std::printf("| how the operator keys | listener | strict |\n|---|---|---|\n");
        for (const testsupport::TReadBackCondition& c : testsupport::ReadBackConditions()) {
            const double listener = testsupport::MeasureReadBack(c, kRuns, read(false)).Percent();
            const double strict = testsupport::MeasureReadBack(c, kRuns, read(true)).Percent();
            std::printf("| %s | %.2f %% | %.1f %% |\n", c.Name.c_str(), listener, strict);
        }
    }
}
BENCHMARK(BM_ReadBackTable)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
