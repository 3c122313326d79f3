// Small owning handles for an SQLite connection and a prepared statement, raising
// EHistoryError with SQLite's own reason when a call fails (the history names the file).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Exceptions.h"

struct sqlite3;
struct sqlite3_stmt;

namespace history {

// A history that cannot be opened, read or written; the message says what and why. Busy: the
// database was locked by another connection for longer than the busy wait, a failure that goes
// away once the other program lets go.
class EHistoryError : public base::Exception {
  public:
    explicit EHistoryError(const std::string& message, bool busy = false)
        : Exception(message), m_busy(busy) {}
    bool Busy() const { return m_busy; }

  private:
    bool m_busy;
};

class TConnection {
  public:
    // Opens the database file read-write, creating it when missing.
    explicit TConnection(const std::string& path);
    ~TConnection();
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    sqlite3* Handle() const { return m_db; }
    // Runs statements without results.
    void Execute(const char* sql);
    // Raises EHistoryError with the connection's last reason (busy when it was a lock).
    [[noreturn]] void Fail() const;
    // Runs statements without results, raising nothing; for undoing after a failure.
    void ExecuteQuietly(const char* sql) noexcept;

  private:
    sqlite3* m_db = nullptr;
};

class TStatement {
  public:
    TStatement(TConnection& connection, const char* sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Binding is by 1-based parameter index.
    void Bind(int index, int64_t value);
    void Bind(int index, double value);
    void Bind(int index, std::string_view text);
    void BindBlob(int index, std::string_view bytes);
    void BindNull(int index);
    // Steps once: true while a row is available, false when done.
    bool Step();
    // Makes the statement ready to run again, keeping its bindings.
    void Reset();

    // Columns are 0-based; a NULL reads as 0 or empty.
    int64_t Int(int column) const;
    double Real(int column) const;
    bool IsNull(int column) const;
    std::string Text(int column) const;
    std::string Blob(int column) const;

  private:
    TConnection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

// A transaction that takes the write lock at once (waiting for another writer up to the busy
// timeout) and is rolled back unless committed.
class TWriteTransaction {
  public:
    explicit TWriteTransaction(TConnection& connection);
    ~TWriteTransaction();
    TWriteTransaction(const TWriteTransaction&) = delete;
    TWriteTransaction& operator=(const TWriteTransaction&) = delete;
    void Commit();

  private:
    TConnection& m_connection;
    bool m_done = false;
};

}  // namespace history
