// Opening the history on first use, its failures shown once, the runs waiting to be stored, and
// the coach's judgement of each run.
#include "app/RunHistory.h"

#include <chrono>
#include <cstdio>

#include "app/MainForm.h"
#include "coach/Details.h"
#include "coach/Verdicts.h"
#include "history/Csv.h"
#include "platform/Services.h"

namespace app {

TRunHistory::TRunHistory(std::string dataHome) : m_dataHome(std::move(dataHome)) {}

TRunHistory::~TRunHistory() = default;

history::THistory* TRunHistory::Open() {
    if (m_history == nullptr && m_failure.empty()) {
        if (m_dataHome.empty()) {
            Fail(
                "There is no folder for the history of runs: neither XDG_DATA_HOME nor HOME is "
                "set.");
            return nullptr;
        }
        try {
            m_history = std::make_unique<history::THistory>(history::HistoryFolder(m_dataHome));
        } catch (const history::EHistoryError& error) {
            if (error.Busy()) {
                // Another program holds the file just now: try again later.
                m_busy = error.Message();
                return nullptr;
            }
            Fail(error.Message());
            return nullptr;
        }
        JudgeOlderRuns();
    }
    return m_history.get();
}

void TRunHistory::JudgeOlderRuns() {
    try {
        // A bounded share at a time, so that an old history of many runs never holds the window
        // long: the rest at the next History window opening.
        const std::vector<int64_t> ids = m_history->Unjudged();
        std::vector<history::TRunSummary> judged;
        for (size_t i = 0; i < ids.size() && i < kMostJudgedAtOnce; ++i) {
            try {
                const std::optional<history::TRun> run = m_history->Load(ids[i]);
                if (run.has_value()) {
                    history::TRunSummary& record = judged.emplace_back();
                    record.Id = ids[i];
                    JudgeRun(KeyedRun(*run), record);
                }
            } catch (const history::EHistoryError& error) {
                if (error.Busy()) {
                    throw;
                }
                // A damaged run stays not judged (and in the progress, as before).
            }
        }
        m_history->Judge(judged);
    } catch (const history::EHistoryError&) {
        // Locked: these runs are judged at a later opening, and meanwhile count as before.
    }
}

void TRunHistory::JudgeSome() {
    if (m_history != nullptr) {
        JudgeOlderRuns();
    }
}

void TRunHistory::Store(const history::TRun& run) {
    if (m_history == nullptr && !m_failure.empty()) {
        return;  // the history is off: told once already
    }
    m_waiting.push_back(run);
    if (StoreQueue() > 0 && OnStored) {
        OnStored();
    }
}

bool TRunHistory::StoreWaiting() {
    StoreQueue();
    return m_waiting.empty();
}

size_t TRunHistory::StoreQueue() {
    if (m_waiting.empty()) {
        return 0;
    }
    history::THistory* history = Open();
    if (history == nullptr) {
        if (m_failure.empty()) {
            Wait(m_busy);
        } else {
            m_waiting.clear();  // refused for good: the failure was shown with its reason
        }
        return 0;
    }
    size_t stored = 0;
    while (!m_waiting.empty()) {
        try {
            history->Add(m_waiting.front());
        } catch (const history::EHistoryError& error) {
            // Locked, full or failing for now: the file was a good history when opened, so the
            // run waits rather than being dropped.
            Wait(error.Message());
            return stored;
        }
        m_waiting.pop_front();
        ++stored;
    }
    m_busy.clear();
    m_waitTold = false;  // a later wait is told again
    return stored;
}

void TRunHistory::Wait(const std::string& reason) {
    m_busy = reason;
    if (!m_waitTold) {
        m_waitTold = true;
        platform::Services().Dialogs->ShowMessage(reason + "\n" + kWaits);
    }
}

void TRunHistory::StoreBeforeExit() {
    if (StoreWaiting()) {
        return;
    }
    const size_t lost = m_waiting.size();
    std::string message = lost == 1 ? "The run of " + history::FormatTime(m_waiting.front().Time) +
                                          " could not be stored in the history and is lost: "
                                    : std::to_string(lost) +
                                          " runs could not be stored in the history and are "
                                          "lost: ";
    message += m_busy;
    std::fprintf(stderr, "keyvet: %s\n", message.c_str());
    platform::Services().Dialogs->ShowMessage(message);
    m_waiting.clear();
}

void TRunHistory::Analysed(const history::TRun& run) {
    m_lastRun = run;
    Store(run);
}

bool UsableForProgress(const coach::TKeyedRun& run) {
    return coach::RunIsUsable(run);
}

void JudgeRun(const coach::TKeyedRun& run, history::TRunSummary& record) {
    const coach::TDetails details = coach::ComputeDetails(run);
    record.Usable = details.Verdicts.Usability == coach::TUsability::usUsable;
    record.ReadBack = details.ReadBack.Text;
    record.AccuracyPercent.reset();
    if (details.HasPractice) {
        record.AccuracyPercent = details.Alignment.AccuracyPercent;
    }
}

history::TRun RunRecord(const TForm1& main, const coach::TKeyedRun& run) {
    history::TRun record;
    record.Time = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
    for (size_t i = 0; i < history::kResultCount; ++i) {
        record.Results[i] = main.Edit(static_cast<int>(i) + 1).Text();
    }
    record.PracticeText = run.PracticeText;
    // Every logged change flips the key level, so the level before the first is its opposite.
    record.StartLevel = !run.Transitions.empty() && !run.Transitions.front().Down ? 1 : 0;
    for (const coach::TTransition& transition : run.Transitions) {
        record.Transitions.push_back({transition.TimeMs, static_cast<uint8_t>(transition.Down)});
    }
    JudgeRun(run, record);
    return record;
}

coach::TKeyedRun KeyedRun(const history::TRun& run) {
    coach::TKeyedRun keyed;
    keyed.PracticeText = run.PracticeText;
    for (const history::TTransition& transition : run.Transitions) {
        keyed.Transitions.push_back({transition.TimeMs, transition.Level != 0});
    }
    return keyed;
}

void KeepRuns(TForm1& main, TRunHistory& runHistory) {
    main.AddRunAnalysedHandler([&main, &runHistory](const coach::TKeyedRun& run) {
        runHistory.Analysed(RunRecord(main, run));
    });
}

void TRunHistory::Fail(const std::string& message) {
    m_history.reset();
    if (m_failure.empty()) {
        m_failure = message;
        platform::Services().Dialogs->ShowMessage(message + "\n" + kGoingOn);
    }
}

}  // namespace app
