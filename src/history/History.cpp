// The history database: schema, opening checks, and the run queries.
#include "history/History.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace history {

namespace {

const char* const kCreateSchema =
    "CREATE TABLE run ("
    " id INTEGER PRIMARY KEY,"
    " time INTEGER NOT NULL,"
    " dit TEXT NOT NULL, dah TEXT NOT NULL, dit_space TEXT NOT NULL, dah_space TEXT NOT NULL,"
    " ratio TEXT NOT NULL, weight TEXT NOT NULL, character_merit TEXT NOT NULL,"
    " weighting_advice TEXT NOT NULL, dash_advice TEXT NOT NULL, speed TEXT NOT NULL,"
    " word_merit TEXT NOT NULL, character_space TEXT NOT NULL,"
    " character_space_advice TEXT NOT NULL,"
    " practice_text TEXT NOT NULL,"
    " start_level INTEGER NOT NULL,"
    " transitions BLOB NOT NULL);"
    "CREATE INDEX run_by_time ON run (time);";

// The columns every query reads first, in this order: id, time, the results, the practice text.
#define KEYVET_RUN_COLUMNS                                                                        \
    "id, time, dit, dah, dit_space, dah_space, ratio, weight, character_merit, "                  \
    "weighting_advice, dash_advice, speed, word_merit, character_space, character_space_advice, " \
    "practice_text"
constexpr int kFirstResultColumn = 2;
constexpr int kPracticeColumn = kFirstResultColumn + static_cast<int>(kResultCount);

int64_t UserVersion(TConnection& connection) {
    TStatement statement(connection, "PRAGMA user_version");
    return statement.Step() ? statement.Int(0) : 0;
}

bool HasTables(TConnection& connection) {
    TStatement statement(connection, "SELECT count(*) FROM sqlite_schema");
    return statement.Step() && statement.Int(0) > 0;
}

TRunSummary ReadSummary(const TStatement& statement) {
    TRunSummary summary;
    summary.Id = statement.Int(0);
    summary.Time = statement.Int(1);
    for (size_t i = 0; i < kResultCount; ++i) {
        summary.Results[i] = statement.Text(kFirstResultColumn + static_cast<int>(i));
    }
    summary.PracticeText = statement.Text(kPracticeColumn);
    return summary;
}

}  // namespace

std::string HistoryFolder(const std::string& dataHome) {
    return (std::filesystem::path(dataHome) / "keyvet").string();
}

THistory::THistory(const std::string& folder)
    : m_path((std::filesystem::path(folder) / kFileName).string()) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw EHistoryError("Cannot create the history folder '" + folder +
                            "': " + error.message());
    }
    Guarded("Cannot open the history", [this] {
        m_connection = std::make_unique<TConnection>(m_path);
        sqlite3_busy_timeout(m_connection->Handle(), kBusyTimeoutMs);
        Prepare();
    });
}

template <class TWork>
auto THistory::Guarded(const char* what, TWork work) -> decltype(work()) {
    try {
        return work();
    } catch (const EHistoryError& failure) {
        throw EHistoryError(std::string(what) + " '" + m_path + "': " + failure.Message());
    }
}

void THistory::Prepare() {
    TConnection& db = *m_connection;
    // A file the program may only read (SQLite falls back to reading) would lose every new run.
    if (sqlite3_db_readonly(db.Handle(), "main") == 1) {
        throw EHistoryError("it cannot be written");
    }
    // Readers and one writer at a time, without blocking each other.
    db.Execute("PRAGMA journal_mode = WAL");
    if (UserVersion(db) == 0) {
        // Another program may be creating it this very moment: decide under the write lock.
        TWriteTransaction transaction(db);
        if (UserVersion(db) == 0) {
            if (HasTables(db)) {
                throw EHistoryError("it is not a Keyvet history");
            }
            db.Execute(kCreateSchema);
            db.Execute("PRAGMA user_version = 1");
        }
        transaction.Commit();
    }
    if (UserVersion(db) > kSchemaVersion) {
        throw EHistoryError("it was written by a newer version of Keyvet");
    }
    TStatement check(db, "PRAGMA quick_check");
    if (!check.Step() || check.Text(0) != "ok") {
        throw EHistoryError("it is damaged");
    }
    // Every query's columns must be there.
    TStatement columns(db, "SELECT " KEYVET_RUN_COLUMNS
                           ", start_level, transitions FROM run "
                           "LIMIT 0");
}

int64_t THistory::Add(const TRun& run) {
    return Guarded("Cannot store the run in the history", [&] { return Insert(run); });
}

int64_t THistory::Insert(const TRun& run) {
    TConnection& db = *m_connection;
    TWriteTransaction transaction(db);
    TStatement insert(db, "INSERT INTO run (" KEYVET_RUN_COLUMNS
                          ", start_level, transitions) "
                          "VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int parameter = 1;
    insert.Bind(parameter++, run.Time);
    for (const std::string& result : run.Results) {
        insert.Bind(parameter++, std::string_view(result));
    }
    insert.Bind(parameter++, std::string_view(run.PracticeText));
    insert.Bind(parameter++, static_cast<int64_t>(run.StartLevel));
    insert.BindBlob(parameter++, PackTransitions(run.Transitions));
    insert.Step();
    const int64_t id = sqlite3_last_insert_rowid(db.Handle());
    transaction.Commit();
    return id;
}

std::vector<TRunSummary> THistory::List() {
    return Guarded("Cannot read the history", [this] { return ReadList(); });
}

std::vector<TRunSummary> THistory::ReadList() {
    TStatement query(*m_connection,
                     "SELECT " KEYVET_RUN_COLUMNS " FROM run ORDER BY time DESC, id DESC");
    std::vector<TRunSummary> runs;
    while (query.Step()) {
        runs.push_back(ReadSummary(query));
    }
    return runs;
}

std::optional<TRun> THistory::Load(int64_t id) {
    return Guarded("Cannot read the history", [&] { return ReadRun(id); });
}

std::optional<TRun> THistory::ReadRun(int64_t id) {
    TStatement query(*m_connection, "SELECT " KEYVET_RUN_COLUMNS
                                    ", start_level, transitions FROM run WHERE id = ?");
    query.Bind(1, id);
    if (!query.Step()) {
        return std::nullopt;
    }
    const TRunSummary summary = ReadSummary(query);
    TRun run;
    run.Id = summary.Id;
    run.Time = summary.Time;
    run.Results = summary.Results;
    run.PracticeText = summary.PracticeText;
    const int64_t startLevel = query.Int(kPracticeColumn + 1);
    if (startLevel != 0 && startLevel != 1) {
        throw EHistoryError("a run's key level is neither 0 nor 1");
    }
    run.StartLevel = static_cast<uint8_t>(startLevel);
    run.Transitions = UnpackTransitions(query.Blob(kPracticeColumn + 2));
    return run;
}

bool THistory::Delete(int64_t id) {
    return Guarded("Cannot delete the run from the history", [&] { return Remove(id); });
}

bool THistory::Remove(int64_t id) {
    TConnection& db = *m_connection;
    TWriteTransaction transaction(db);
    TStatement remove(db, "DELETE FROM run WHERE id = ?");
    remove.Bind(1, id);
    remove.Step();
    const bool removed = sqlite3_changes(db.Handle()) > 0;
    transaction.Commit();
    return removed;
}

}  // namespace history
