// The store of past runs: one SQLite database in the user's data folder. Several programs may
// write to it at once (write-ahead log, a busy timeout, every write one transaction), and a run
// once stored is never lost by a later write.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/Run.h"
#include "history/Sqlite.h"

namespace history {

class THistory {
  public:
    // The schema this program writes, kept in the database's user_version.
    static constexpr int64_t kSchemaVersion = 1;
    // The database's file name inside the data folder.
    static constexpr const char* kFileName = "history.sqlite";
    // How long a write waits for another program's write to end, milliseconds.
    static constexpr int kBusyTimeoutMs = 10000;

    // Opens the history in `folder` (created when missing), creating the database when there is
    // none. Raises EHistoryError when the folder or the database cannot be made or used, when the
    // file is not a history or is damaged, or when a newer program wrote it.
    explicit THistory(const std::string& folder);

    const std::string& Path() const { return m_path; }

    // Stores a run (its Id is ignored) and returns the id given to it.
    int64_t Add(const TRun& run);
    // Every stored run without its transitions, newest first.
    std::vector<TRunSummary> List();
    // One run with its transitions; empty when no run has that id.
    std::optional<TRun> Load(int64_t id);
    // Removes a run; false when there was none with that id.
    bool Delete(int64_t id);

  private:
    // Runs `work`, giving a failure's reason the file's name and what was being done.
    template <class TWork>
    auto Guarded(const char* what, TWork work) -> decltype(work());
    void Prepare();
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
