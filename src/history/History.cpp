// The history database: schema, opening checks, and the run queries.
#include "history/History.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

namespace history {

namespace {

// Version 2's indexes: the runs not judged yet, and every column the History window reads, so
// that its list never reads the table's rows with their transitions.
#define KEYVET_VERSION_2_INDEXES                                                       \
    "CREATE INDEX run_unjudged ON run (id) WHERE usable IS NULL;"                      \
    "CREATE INDEX run_progress ON run (time, id, speed, character_merit, word_merit, " \
    "practice_text, usable, accuracy, left_out);"

// Version 2's table: version 1's columns in their order, then the coach's judgement (usable,
// read_back, accuracy: NULL until judged; accuracy NULL without a practice text) and the
// operator's choice (left_out: NULL while none was made).
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
    " transitions BLOB NOT NULL,"
    " usable INTEGER, read_back TEXT, accuracy REAL, left_out INTEGER);"
    "CREATE INDEX run_by_time ON run (time);" KEYVET_VERSION_2_INDEXES;

// Version 1 to 2: the same columns added at the end, so both tables read alike.
const char* const kMigrateFromOne =
    "ALTER TABLE run ADD COLUMN usable INTEGER;"
    "ALTER TABLE run ADD COLUMN read_back TEXT;"
    "ALTER TABLE run ADD COLUMN accuracy REAL;"
    "ALTER TABLE run ADD COLUMN left_out INTEGER;" KEYVET_VERSION_2_INDEXES;

// The columns every query reads first, in this order: id, time, the results, the practice text;
// version 2 then the judgement and the choice.
#define KEYVET_RUN_COLUMNS_1                                                                      \
    "id, time, dit, dah, dit_space, dah_space, ratio, weight, character_merit, "                  \
    "weighting_advice, dash_advice, speed, word_merit, character_space, character_space_advice, " \
    "practice_text"
#define KEYVET_RUN_COLUMNS KEYVET_RUN_COLUMNS_1 ", usable, read_back, accuracy, left_out"
constexpr int kFirstResultColumn = 2;
constexpr int kPracticeColumn = kFirstResultColumn + static_cast<int>(kResultCount);
constexpr int kUsableColumn = kPracticeColumn + 1;
constexpr int kReadBackColumn = kPracticeColumn + 2;
constexpr int kAccuracyColumn = kPracticeColumn + 3;
constexpr int kLeftOutColumn = kPracticeColumn + 4;
constexpr int kStartLevelColumn = kPracticeColumn + 5;
constexpr int kTransitionsColumn = kPracticeColumn + 6;

int64_t IntPragma(TConnection& connection, const char* sql) {
    TStatement statement(connection, sql);
    return statement.Step() ? statement.Int(0) : 0;
}

bool HasTables(TConnection& connection) {
    return IntPragma(connection, "SELECT count(*) FROM sqlite_schema") > 0;
}

std::optional<bool> Flag(const TStatement& statement, int column) {
    if (statement.IsNull(column)) {
        return std::nullopt;
    }
    return statement.Int(column) != 0;
}

void BindFlag(TStatement& statement, int index, std::optional<bool> flag) {
    if (flag.has_value()) {
        statement.Bind(index, int64_t{*flag ? 1 : 0});
    } else {
        statement.BindNull(index);
    }
}

void ReadSummary(const TStatement& statement, TRunSummary& summary) {
    summary.Id = statement.Int(0);
    summary.Time = statement.Int(1);
    for (size_t i = 0; i < kResultCount; ++i) {
        summary.Results[i] = statement.Text(kFirstResultColumn + static_cast<int>(i));
    }
    summary.PracticeText = statement.Text(kPracticeColumn);
    summary.Usable = Flag(statement, kUsableColumn);
    summary.ReadBack = statement.Text(kReadBackColumn);
    if (!statement.IsNull(kAccuracyColumn)) {
        summary.AccuracyPercent = statement.Real(kAccuracyColumn);
    }
    summary.LeftOut = Flag(statement, kLeftOutColumn);
}

// Binds the judgement from `first` on: usable, read_back, accuracy (NULL when not judged).
void BindJudgement(TStatement& statement, int first, const TRunSummary& run) {
    BindFlag(statement, first, run.Usable);
    if (run.Usable.has_value()) {
        statement.Bind(first + 1, std::string_view(run.ReadBack));
    } else {
        statement.BindNull(first + 1);
    }
    if (run.Usable.has_value() && run.AccuracyPercent.has_value()) {
        statement.Bind(first + 2, *run.AccuracyPercent);
    } else {
        statement.BindNull(first + 2);
    }
}

// The checks of a file found, which only read: raises EHistoryError for a file the history
// refuses; returns its schema version (0: none yet).
int64_t CheckFile(TConnection& db) {
    const int64_t version = IntPragma(db, "PRAGMA user_version");
    const int64_t application = IntPragma(db, "PRAGMA application_id");
    const bool hasTables = HasTables(db);
    if ((application != 0 && application != THistory::kApplicationId) ||
        (version == 0 && hasTables)) {
        throw EHistoryError("it is not a Keyvet history");
    }
    if (version > THistory::kSchemaVersion) {
        throw EHistoryError("it was written by a newer version of Keyvet");
    }
    // Every query's columns must be there.
    if (version == 1) {
        TStatement columns(
            db, "SELECT " KEYVET_RUN_COLUMNS_1 ", start_level, transitions FROM run LIMIT 0");
    } else if (version == THistory::kSchemaVersion) {
        TStatement columns(
            db, "SELECT " KEYVET_RUN_COLUMNS ", start_level, transitions FROM run LIMIT 0");
    }
    if (hasTables) {
        // The check reads the whole file: through a memory map rather than a copy per page.
        // Only for the check, as a file cut short by another program while mapped would end
        // this one rather than fail a read. A setting of this connection; nothing is written.
        db.Execute("PRAGMA mmap_size = 1073741824");
        TStatement check(db, "PRAGMA quick_check");
        const bool ok = check.Step() && check.Text(0) == "ok";
        db.Execute("PRAGMA mmap_size = 0");
        if (!ok) {
            throw EHistoryError("it is damaged");
        }
    }
    return version;
}

// Switching a new file to the write-ahead log needs the file to itself, and SQLite answers
// busy at once there rather than waiting, while another program opening the same new file
// this moment still reads it: the switch is tried again within the busy time.
void UseWriteAheadLog(TConnection& db) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(THistory::kBusyTimeoutMs);
    for (;;) {
        try {
            db.Execute("PRAGMA journal_mode = WAL");
            return;
        } catch (const EHistoryError& failure) {
            if (!failure.Busy() || std::chrono::steady_clock::now() >= deadline) {
                throw;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
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
        throw EHistoryError(std::string(what) + " '" + m_path + "': " + failure.Message(),
                            failure.Busy());
    }
}

void THistory::Prepare() {
    TConnection& db = *m_connection;
    // Everything up to the first write only reads, so a file refused here is left as it was.
    // A file the program may only read (SQLite falls back to reading) would lose every new run.
    if (sqlite3_db_readonly(db.Handle(), "main") == 1) {
        throw EHistoryError("it cannot be written");
    }
    // One read transaction, so that the checks see one state of a file another program may be
    // creating this very moment (its version and its tables appear together).
    db.Execute("BEGIN");
    int64_t version = 0;
    try {
        version = CheckFile(db);
    } catch (...) {
        db.ExecuteQuietly("ROLLBACK");
        throw;
    }
    db.Execute("COMMIT");
    // Readers and one writer at a time, without blocking each other.
    UseWriteAheadLog(db);
    if (version < kSchemaVersion) {
        Migrate(version);
    }
}

void THistory::Migrate(int64_t fromVersion) {
    TConnection& db = *m_connection;
    // Another program may be doing the same this very moment: decide under the write lock.
    TWriteTransaction transaction(db);
    const int64_t version = IntPragma(db, "PRAGMA user_version");
    if (version != fromVersion) {
        // The other program went first; what it made is checked like any file found.
        if (version != kSchemaVersion) {
            throw EHistoryError(version > kSchemaVersion
                                    ? "it was written by a newer version of Keyvet"
                                    : "it is not a Keyvet history");
        }
        return;
    }
    if (version == 0) {
        if (HasTables(db)) {
            throw EHistoryError("it is not a Keyvet history");
        }
        db.Execute(kCreateSchema);
    } else {
        db.Execute(kMigrateFromOne);
    }
    db.Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    db.Execute(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
    transaction.Commit();
}

int64_t THistory::Add(const TRun& run) {
    return Guarded("Cannot store the run in the history", [&] { return Insert(run); });
}

int64_t THistory::Insert(const TRun& run) {
    TConnection& db = *m_connection;
    TWriteTransaction transaction(db);
    TStatement insert(db,
                      "INSERT INTO run (" KEYVET_RUN_COLUMNS
                      ", start_level, transitions) "
                      "VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                      "?)");
    int parameter = 1;
    insert.Bind(parameter++, run.Time);
    for (const std::string& result : run.Results) {
        insert.Bind(parameter++, std::string_view(result));
    }
    insert.Bind(parameter++, std::string_view(run.PracticeText));
    BindJudgement(insert, parameter, run);
    parameter += 3;
    BindFlag(insert, parameter++, run.LeftOut);
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
        ReadSummary(query, runs.emplace_back());
    }
    return runs;
}

std::vector<TProgressRun> THistory::ProgressList() {
    return Guarded("Cannot read the history", [this] {
        TStatement query(*m_connection,
                         "SELECT id, time, speed, character_merit, word_merit, practice_text, "
                         "usable, accuracy, left_out FROM run INDEXED BY run_progress "
                         "ORDER BY time DESC, id DESC");
        std::vector<TProgressRun> runs;
        runs.reserve(static_cast<size_t>(IntPragma(*m_connection, "SELECT count(*) FROM run")));
        while (query.Step()) {
            TProgressRun& run = runs.emplace_back();
            run.Id = query.Int(0);
            run.Time = query.Int(1);
            run.Speed = FigureOf(query.Text(2));
            run.CharacterMerit = FigureOf(query.Text(3));
            run.WordMerit = FigureOf(query.Text(4));
            run.PracticeText = query.Text(5);
            run.Usable = Flag(query, 6);
            if (!query.IsNull(7)) {
                run.AccuracyPercent = query.Real(7);
            }
            run.LeftOut = Flag(query, 8);
        }
        return runs;
    });
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
    TRun run;
    ReadSummary(query, run);
    const int64_t startLevel = query.Int(kStartLevelColumn);
    if (startLevel != 0 && startLevel != 1) {
        throw EHistoryError("a run's key level is neither 0 nor 1");
    }
    run.StartLevel = static_cast<uint8_t>(startLevel);
    run.Transitions = UnpackTransitions(query.Blob(kTransitionsColumn));
    return run;
}

bool THistory::Delete(int64_t id) {
    return Guarded("Cannot delete the run from the history", [&] { return Remove(id); });
}

bool THistory::Remove(int64_t id) {
    return Change("DELETE FROM run WHERE id = ?", [id](TStatement& remove) { remove.Bind(1, id); });
}

bool THistory::Change(const char* sql, const std::function<void(TStatement&)>& bind) {
    TConnection& db = *m_connection;
    TWriteTransaction transaction(db);
    TStatement change(db, sql);
    bind(change);
    change.Step();
    const bool changed = sqlite3_changes(db.Handle()) > 0;
    transaction.Commit();
    return changed;
}

std::vector<int64_t> THistory::Unjudged() {
    return Guarded("Cannot read the history", [this] {
        TStatement query(*m_connection,
                         "SELECT id FROM run INDEXED BY run_unjudged WHERE usable IS NULL "
                         "ORDER BY time, id");
        std::vector<int64_t> ids;
        while (query.Step()) {
            ids.push_back(query.Int(0));
        }
        return ids;
    });
}

size_t THistory::Judge(const std::vector<TRunSummary>& judged) {
    return Guarded("Cannot store the coach's judgement in the history", [&] {
        // One transaction for them all: one wait for the disk rather than one per run.
        TConnection& db = *m_connection;
        TWriteTransaction transaction(db);
        TStatement update(db,
                          "UPDATE run SET usable = ?, read_back = ?, accuracy = ? WHERE id = ?");
        size_t changed = 0;
        for (const TRunSummary& run : judged) {
            BindJudgement(update, 1, run);
            update.Bind(4, run.Id);
            update.Step();
            changed += sqlite3_changes(db.Handle()) > 0 ? 1 : 0;
            update.Reset();
        }
        transaction.Commit();
        return changed;
    });
}

bool THistory::SetLeftOut(int64_t id, std::optional<bool> leftOut) {
    return Guarded("Cannot change the run in the history", [&] {
        return Change("UPDATE run SET left_out = ? WHERE id = ?", [&](TStatement& update) {
            BindFlag(update, 1, leftOut);
            update.Bind(2, id);
        });
    });
}

}  // namespace history
