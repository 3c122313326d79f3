// Fuzz target: a history file of arbitrary bytes must either open and read back or be refused
// with a history error, never crash, leak or read out of bounds.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "history/History.h"

// With KEYVET_FUZZ_SEED set to a folder, writes a small valid history there as a seed input.
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    const char* seedFolder = getenv("KEYVET_FUZZ_SEED");
    if (seedFolder == nullptr) {
        return 0;
    }
    const std::string scratch = std::string(seedFolder) + "/history-seed";
    {
        history::THistory history(scratch);
        for (int i = 0; i < 3; ++i) {
            history::TRun run;
            run.Time = i;
            run.Results.fill(std::to_string(i * 10));
            run.PracticeText = "PARIS";
            run.Transitions = {{100, 1}, {160, 0}, {220, 1}, {400, 0}};
            history.Add(run);
        }
    }  // closing the last connection folds the log into the file
    std::filesystem::rename(scratch + "/" + history::THistory::kFileName,
                            std::string(seedFolder) + "/seed-history");
    std::filesystem::remove_all(scratch);
    return 0;
}

namespace {
// The folder each input is written into, removed when the fuzzer ends. It is never freed: the
// removal at exit runs after static strings are gone.
const std::string& Folder() {
    static const std::string* folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "keyvet-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            pattern.clear();
        }
        return new std::string(pattern);
    }();
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ignored;
                                          std::filesystem::remove_all(*folder, ignored);
                                      }) == 0;
    (void)removedAtExit;
    return *folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& folder = Folder();
    if (folder.empty()) {
        return 0;
    }
    const std::string path = folder + "/" + history::THistory::kFileName;
    // A previous input's log must not be replayed into this one.
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::remove((path + suffix).c_str());
    }
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        history::THistory history(folder);
        for (const history::TRunSummary& summary : history.List()) {
            (void)summary.Speed();
            (void)summary.InProgress();
            history.Load(summary.Id);
            history.SetLeftOut(summary.Id, true);
        }
        std::vector<history::TRunSummary> judged;
        for (const int64_t id : history.Unjudged()) {
            judged.emplace_back().Id = id;
            judged.back().Usable = true;
        }
        history.Judge(judged);
        history::TRun run;
        run.Transitions = {{100, 1}, {200, 0}};
        history.Delete(history.Add(run));
    } catch (const history::EHistoryError&) {
    }
    return 0;
}
