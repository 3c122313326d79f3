// The history of runs as the program uses it: opened in the user's data home on first use; a
// history that cannot be opened or used is reported once, and the program goes on without it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "coach/Keying.h"
#include "history/History.h"

namespace app {

class TForm1;

class TRunHistory {
  public:
    // dataHome: the folder the history's own folder goes in; empty means there is none.
    explicit TRunHistory(std::string dataHome);
    ~TRunHistory();
    TRunHistory(const TRunHistory&) = delete;
    TRunHistory& operator=(const TRunHistory&) = delete;

    // The open history, or null when it cannot be used (the reason shown once before).
    history::THistory* Open();
    // Stores a run. A failure is shown once, never raised: the run on screen goes on.
    void Store(const history::TRun& run);
    // Turns the history off after a failure, showing its message unless one was shown already.
    void Fail(const std::string& message);
    // Keeps a run just analysed as the last run and stores it.
    void Analysed(const history::TRun& run);
    // The last run analysed in full (its time, result boxes and transitions); empty before.
    const std::optional<history::TRun>& LastRun() const { return m_lastRun; }

    // Why the history is off; empty while it works or before it was first used.
    const std::string& Failure() const { return m_failure; }
    // Called after a run was stored (the History window follows it while it is open).
    std::function<void()> OnStored;

    // The line that follows a failure's reason in the message.
    static constexpr const char* kGoingOn = "The program goes on without its history of runs.";

  private:
    std::string m_dataHome;
    std::unique_ptr<history::THistory> m_history;
    std::string m_failure;
    std::optional<history::TRun> m_lastRun;
};

// The run as the history keeps it: now, the main window's result boxes, and the run's
// transitions and practice text.
history::TRun RunRecord(const TForm1& main, const coach::TKeyedRun& run);
// The run's transitions and practice text as the coach reads them.
coach::TKeyedRun KeyedRun(const history::TRun& run);

// From now on every run the main window analyses in full is kept and stored in the history (the
// desktop program; tools and tests that do not ask for it store nothing).
void KeepRuns(TForm1& main, TRunHistory& runHistory);

}  // namespace app
