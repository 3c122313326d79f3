// The History window's opening on a large history: 100,000 runs of about a minute of keying each
// (a run a day for 270 years, or thirty a day for nine), first in a session (the database opened
// and checked, the list read, the list lines and the progress chart made and painted) and again
// with the history open.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/HistoryForm.h"
#include "app/RunHistory.h"
#include "app/Startup.h"
#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "history/History.h"
#include "platform/IsolatedSystemServices.h"

namespace {

constexpr int kTransitionsPerRun = 300;  // about a minute of keying
constexpr int64_t kFirstRun = 1796651361000;
constexpr int64_t kRunEveryMs = 7 * 60000;

std::string Transitions() {
    std::vector<history::TTransition> transitions;
    uint32_t at = 100;
    for (int i = 0; i < kTransitionsPerRun; ++i) {
        transitions.push_back({at, static_cast<uint8_t>((i + 1) % 2)});
        at += 60 + static_cast<uint32_t>(i % 3) * 60;
    }
    return history::PackTransitions(transitions);
}

// A data home holding a history of `runs` runs, made once per size and removed at exit. The
// runs go in as one transaction (storing them one by one would take hours of syncing).
const std::string& DataHome(int runs) {
    static std::map<int, std::string>* homes = new std::map<int, std::string>();
    auto found = homes->find(runs);
    if (found != homes->end()) {
        return found->second;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "keyvet-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return homes->emplace(runs, std::string()).first->second;
    }
    if (homes->empty()) {
        std::atexit([] {
            for (const auto& [count, home] : *homes) {
                std::filesystem::remove_all(home);
            }
        });
    }
    const std::string folder = history::HistoryFolder(pattern);
    { history::THistory created(folder); }
    history::TConnection connection(folder + "/" + history::THistory::kFileName);
    connection.Execute("BEGIN");
    history::TStatement insert(
        connection,
        "INSERT INTO run VALUES (NULL, ?, '60', '182', '58', '176', '2.01', '1.17', ?, "
        "'weighting is heavy', 'dashes are too long', ?, ?, '0.99', 'Charspace is long', ?, 0, ?, "
        "?, ?, ?, NULL)");
    const std::string transitions = Transitions();
    const char* const texts[] = {"PARIS PARIS PARIS", "CQ CQ DE UA3SNB", ""};
    for (int i = 0; i < runs; ++i) {
        history::TStatement& row = insert;
        row.Bind(1, kFirstRun + int64_t{i} * kRunEveryMs);
        row.Bind(2, std::string_view(std::to_string(60 + i % 40)));
        row.Bind(3, std::string_view(std::to_string(12 + i % 13)));
        row.Bind(4, std::string_view(std::to_string(55 + i % 37)));
        row.Bind(5, std::string_view(texts[i % 3]));
        row.BindBlob(6, transitions);
        row.Bind(7, int64_t{i % 17 != 0 ? 1 : 0});
        row.Bind(8, std::string_view(texts[i % 3]));
        row.Bind(9, static_cast<double>(70 + i % 31));
        row.Step();
        row.Reset();
    }
    connection.Execute("COMMIT");
    return homes->emplace(runs, pattern).first->second;
}

void OpenWindow(app::THistoryForm& window) {
    window.Refresh();
    chart::TChart& chart = window.Progress();
    gfx::TBitmap picture(chart.Width(), chart.Height());
    chart.PaintToCanvas(&picture.Canvas(), gfx::TRect(0, 0, chart.Width(), chart.Height()));
    benchmark::DoNotOptimize(picture.Canvas());
}

// The first opening in a session: the history is opened and checked too.
void BM_HistoryWindowFirstOpening(benchmark::State& state) {
    const std::string& home = DataHome(static_cast<int>(state.range(0)));
    platform::TIsolatedSystemServices services;
    app::RegisterClasses();
    for (auto _ : state) {
        app::TRunHistory runHistory(home);
        app::TPastRunForm pastRun(nullptr);
        app::THistoryForm window(nullptr, runHistory, pastRun);
        OpenWindow(window);
        state.counters["runs"] = static_cast<double>(window.Runs().size());
    }
}
BENCHMARK(BM_HistoryWindowFirstOpening)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Opening it again in the same session.
void BM_HistoryWindowOpensAgain(benchmark::State& state) {
    const std::string& home = DataHome(static_cast<int>(state.range(0)));
    platform::TIsolatedSystemServices services;
    app::RegisterClasses();
    app::TRunHistory runHistory(home);
    app::TPastRunForm pastRun(nullptr);
    app::THistoryForm window(nullptr, runHistory, pastRun);
    OpenWindow(window);
    for (auto _ : state) {
        OpenWindow(window);
    }
}
BENCHMARK(BM_HistoryWindowOpensAgain)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
