// The store of past runs: one SQLite database in the user's data folder. Several programs may
// write to it at once (write-ahead log, a short busy wait, every write one transaction), and a run
// once stored is never lost by a later write. A file the history refuses is left as it was.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/Run.h"
#include "history/Sqlite.h"

namespace history {

class THistory {
  public:
    // The schema this program writes, kept in the database's user_version. Version 1 lacked the
    // coach's judgement and the operator's choice; it is brought up to date when opened.
    static constexpr int64_t kSchemaVersion = 2;
    // What the database's application_id holds in a history (0 in one written by version 1).
    static constexpr int64_t kApplicationId = 0x4B657976;  // "Keyv"
    // The database's file name inside the data folder.
    static constexpr const char* kFileName = "history.sqlite";
    // How long a write waits for another program's write to end, milliseconds: the window
    // waits no longer than this, and a run that could not be stored is tried again later.
    static constexpr int kBusyTimeoutMs = 1000;

    // Opens the history in `folder` (created when missing), creating the database when there is
    // none and bringing an older one up to date. Raises EHistoryError when the folder or the
    // database cannot be made or used, when the file is not a history or is damaged, or when a
    // newer program wrote it; a file refused is not changed at all.
    explicit THistory(const std::string& folder);

    const std::string& Path() const { return m_path; }

    // Stores a run (its Id is ignored) and returns the id given to it.
    int64_t Add(const TRun& run);
    // Every stored run without its transitions, newest first.
    std::vector<TRunSummary> List();
    // The same runs as the History window shows them. Read from an index alone, so it stays
    // quick for many runs.
    std::vector<TProgressRun> ProgressList();
    // One run with its transitions; empty when no run has that id.
    std::optional<TRun> Load(int64_t id);
    // Removes a run; false when there was none with that id.
    bool Delete(int64_t id);

    // The runs stored before the history kept the coach's judgement, oldest first.
    std::vector<int64_t> Unjudged();
    // Keeps the coach's judgement of stored runs (Usable, ReadBack and AccuracyPercent of each,
    // the run named by its Id), all in one write; how many of them were still there.
    size_t Judge(const std::vector<TRunSummary>& judged);
    // Keeps the operator's choice: leave the run out of the progress (true), take it back in
    // (false), or none (the coach's judgement holds); false when there is no run with that id.
    bool SetLeftOut(int64_t id, std::optional<bool> leftOut);

  private:
    // Runs `work`, giving a failure's reason the file's name and what was being done.
    template <class TWork>
    auto Guarded(const char* what, TWork work) -> decltype(work());
    void Prepare();
    void Migrate(int64_t fromVersion);
    // Runs one change in a write transaction; true when it changed a row.
    bool Change(const char* sql, const std::function<void(TStatement&)>& bind);
    int64_t Insert(const TRun& run);
    std::vector<TRunSummary> ReadList();
    std::optional<TRun> ReadRun(int64_t id);
    bool Remove(int64_t id);

    std::string m_path;
    std::unique_ptr<TConnection> m_connection;
};

// The path of the history folder for a data home: `<dataHome>/keyvet`.
std::string HistoryFolder(const std::string& dataHome);

}  // namespace history
