// A second program's connection holding the history's write lock while it lives.
#pragma once

#include <string>

#include "history/History.h"
#include "history/Sqlite.h"

namespace testsupport {

class THistoryLock {
  public:
    // home: the data home the history's folder is in.
    explicit THistoryLock(const std::string& home)
        : m_connection(history::HistoryFolder(home) + "/" + history::THistory::kFileName) {
        m_connection.Execute("BEGIN IMMEDIATE");
    }
    ~THistoryLock() { m_connection.Execute("COMMIT"); }
    THistoryLock(const THistoryLock&) = delete;
    THistoryLock& operator=(const THistoryLock&) = delete;

  private:
    history::TConnection m_connection;
};

}  // namespace testsupport
