// The history of runs as the program uses it: opened in the user's data home on first use; a
// history that cannot be opened or used is reported once, and the program goes on without it. A
// run that cannot be stored for now (another program holds the file) waits in memory and is
// stored later; it is lost only when the program ends first, and the operator is told so.
#pragma once

#include <deque>
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

    // The open history, or null when it cannot be used (the reason shown once before) or is
    // held by another program just now (Busy says why). Opening judges the runs stored before
    // the history kept the coach's judgement.
    history::THistory* Open();
    // Stores a run after those still waiting. A run that cannot be stored waits in memory (the
    // operator is told once); nothing is raised: the run on screen goes on.
    void Store(const history::TRun& run);
    // Tries again to store the runs waiting; true when none waits any more.
    bool StoreWaiting();
    // At the program's end: a last try, then says how many runs are lost (a message and a line
    // on standard error).
    void StoreBeforeExit();
    // Judges another share of the runs stored before the history kept the coach's judgement.
    void JudgeSome();
    // Most older runs judged at one time (about a millisecond each).
    static constexpr size_t kMostJudgedAtOnce = 500;
    // Turns the history off after a failure, showing its message unless one was shown already.
    void Fail(const std::string& message);
    // Keeps a run just analysed as the last run and stores it.
    void Analysed(const history::TRun& run);
    // The last run analysed in full (its time, result boxes and transitions); empty before.
    const std::optional<history::TRun>& LastRun() const { return m_lastRun; }

    // Why the history is off; empty while it works or before it was first used.
    const std::string& Failure() const { return m_failure; }
    // Why the runs waiting could not be stored at the last try; empty when none waits.
    const std::string& Busy() const { return m_busy; }
    // The runs waiting to be stored, oldest first.
    const std::deque<history::TRun>& Waiting() const { return m_waiting; }
    // Called after a run was stored (the History window follows it while it is open).
    std::function<void()> OnStored;

    // The line that follows a failure's reason in the message.
    static constexpr const char* kGoingOn = "The program goes on without its history of runs.";
    // The line that follows the reason when a run has to wait.
    static constexpr const char* kWaits =
        "The run waits in memory and is stored at the next Finish or when the History window "
        "opens; it is lost only if the program ends before.";

  private:
    // Stores the runs waiting, oldest first, until one fails; how many were stored.
    size_t StoreQueue();
    // A failure that may pass: remembered, and told once until the runs are stored.
    void Wait(const std::string& reason);
    void JudgeOlderRuns();

    std::string m_dataHome;
    std::unique_ptr<history::THistory> m_history;
    std::string m_failure;
    std::string m_busy;
    bool m_waitTold = false;
    std::deque<history::TRun> m_waiting;
    std::optional<history::TRun> m_lastRun;
};

// Whether the coach finds a run fit to show progress, as its verdicts judge it: its marks split
// into dits and dahs, enough of each. A run of one element kind (a drill of dits), a few marks or
// none would spoil the merits' trend.
bool UsableForProgress(const coach::TKeyedRun& run);
// The coach's judgement of a run, set on `record`: Usable, the listener's ReadBack and, with a
// practice text, the character AccuracyPercent.
void JudgeRun(const coach::TKeyedRun& run, history::TRunSummary& record);

// The run as the history keeps it: now, the main window's result boxes, the run's transitions
// and practice text, and the coach's judgement.
history::TRun RunRecord(const TForm1& main, const coach::TKeyedRun& run);
// The run's transitions and practice text as the coach reads them.
coach::TKeyedRun KeyedRun(const history::TRun& run);

// From now on every run the main window analyses in full is kept and stored in the history (the
// desktop program; tools and tests that do not ask for it store nothing).
void KeepRuns(TForm1& main, TRunHistory& runHistory);

}  // namespace app
