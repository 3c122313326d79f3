// The history's costs: opening a history of 10,000 runs and reading its list with the progress
// figures (what the History window does), loading one run, and storing one run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "history/History.h"
#include "support/StoredRun.h"

namespace {

constexpr int kRuns = 10000;
constexpr int kTransitionsPerRun = 300;  // about a minute of keying

history::TRun MakeRun(int64_t time) {
    history::TRun run = testsupport::WorkedExampleRun(time);
    run.PracticeText = "PARIS PARIS PARIS";
    uint32_t at = 100;
    for (int i = 0; i < kTransitionsPerRun; ++i) {
        run.Transitions.push_back({at, static_cast<uint8_t>((i + 1) % 2)});
        at += 60 + static_cast<uint32_t>(i % 3) * 60;
    }
    return run;
}

// A history of kRuns runs in a private folder, made once for every benchmark and removed at exit.
// It is never freed: the removal at exit runs after static strings are gone.
const std::string& Folder() {
    static const std::string* folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "keyvet-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return new std::string();
        }
        std::atexit([] { std::filesystem::remove_all(*folder); });
        history::THistory history(pattern);
        const history::TRun run = MakeRun(0);
        for (int i = 0; i < kRuns; ++i) {
            history::TRun timed = run;
            timed.Time = int64_t{1796651361000} + int64_t{i} * 60000;
            history.Add(timed);
        }
        return new std::string(pattern);
    }();
    return *folder;
}

void BM_OpenAndListTenThousandRuns(benchmark::State& state) {
    const std::string& folder = Folder();
    for (auto _ : state) {
        history::THistory history(folder);
        int64_t sum = 0;
        for (const history::TRunSummary& run : history.List()) {
            sum += run.Speed().value_or(0) + run.CharacterMerit().value_or(0) +
                   run.WordMerit().value_or(0);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_OpenAndListTenThousandRuns)->Unit(benchmark::kMillisecond);

void BM_LoadOneRun(benchmark::State& state) {
    history::THistory history(Folder());
    int64_t id = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.Load(id));
        id = id % kRuns + 1;
    }
}
BENCHMARK(BM_LoadOneRun)->Unit(benchmark::kMicrosecond);

void BM_StoreOneRun(benchmark::State& state) {
    history::THistory history(Folder());
    const history::TRun run = MakeRun(0);
    for (auto _ : state) {
        history.Delete(history.Add(run));
    }
}
BENCHMARK(BM_StoreOneRun)->Unit(benchmark::kMicrosecond);

}  // namespace
