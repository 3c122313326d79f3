// The SQLite handles: open, prepare, bind, step, read columns; every failure raised with
// SQLite's message.
#include "history/Sqlite.h"

#include <sqlite3.h>

namespace history {

TConnection::TConnection(const std::string& path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        const std::string reason = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw EHistoryError(reason);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

TConnection::~TConnection() {
    sqlite3_close(m_db);
}

void TConnection::Execute(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail();
    }
}

void TConnection::Fail() const {
    const int primary = sqlite3_extended_errcode(m_db) & 0xFF;
    throw EHistoryError(sqlite3_errmsg(m_db), primary == SQLITE_BUSY || primary == SQLITE_LOCKED);
}

void TConnection::ExecuteQuietly(const char* sql) noexcept {
    sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

TStatement::TStatement(TConnection& connection, const char* sql) : m_connection(connection) {
    if (sqlite3_prepare_v2(connection.Handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK) {
        connection.Fail();
    }
}

TStatement::~TStatement() {
    sqlite3_finalize(m_statement);
}

void TStatement::Bind(int index, int64_t value) {
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK) {
        m_connection.Fail();
    }
}

void TStatement::Bind(int index, double value) {
    if (sqlite3_bind_double(m_statement, index, value) != SQLITE_OK) {
        m_connection.Fail();
    }
}

void TStatement::Bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(m_statement, index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK) {
        m_connection.Fail();
    }
}

void TStatement::BindBlob(int index, std::string_view bytes) {
    if (sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT) !=
        SQLITE_OK) {
        m_connection.Fail();
    }
}

void TStatement::BindNull(int index) {
    if (sqlite3_bind_null(m_statement, index) != SQLITE_OK) {
        m_connection.Fail();
    }
}

bool TStatement::Step() {
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result == SQLITE_DONE) {
        return false;
    }
    m_connection.Fail();
}

void TStatement::Reset() {
    // A failure of the last step was raised by Step already; reset repeats its code only.
    sqlite3_reset(m_statement);
}

int64_t TStatement::Int(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double TStatement::Real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

bool TStatement::IsNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::string TStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return text != nullptr
               ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size))
               : std::string();
}

std::string TStatement::Blob(int column) const {
    const void* bytes = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return bytes != nullptr
               ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(size))
               : std::string();
}

TWriteTransaction::TWriteTransaction(TConnection& connection) : m_connection(connection) {
    m_connection.Execute("BEGIN IMMEDIATE");
}

TWriteTransaction::~TWriteTransaction() {
    if (!m_done) {
        m_connection.ExecuteQuietly("ROLLBACK");
    }
}

void TWriteTransaction::Commit() {
    m_connection.Execute("COMMIT");
    m_done = true;
}

}  // namespace history
