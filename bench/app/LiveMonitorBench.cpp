// The live monitor's cost per update during a run: the coach's reading of all the run's
// transitions so far, for runs of a minute, ten minutes and an hour of PARIS at 20 wpm.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/LiveRun.h"
#include "support/MorseKeying.h"

namespace {

void BM_ReadLive(benchmark::State& state) {
    std::string text;
    for (int64_t word = 0; word < state.range(0); ++word) {
        text += "PARIS ";
    }
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    const std::vector<coach::TTransition> run = testsupport::KeyText(text, style);
    for (auto _ : state) {
        benchmark::DoNotOptimize(app::ReadLive(run, 12));
    }
    state.counters["transitions"] = static_cast<double>(run.size());
}
// 20 words a minute: one minute, ten minutes, an hour.
BENCHMARK(BM_ReadLive)->Arg(20)->Arg(200)->Arg(1200)->Unit(benchmark::kMicrosecond);

}  // namespace
