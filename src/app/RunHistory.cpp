// Opening the history on first use, and its failures shown once.
#include "app/RunHistory.h"

#include <chrono>

#include "app/MainForm.h"
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
            Fail(error.Message());
        }
    }
    return m_history.get();
}

void TRunHistory::Store(const history::TRun& run) {
    if (history::THistory* history = Open()) {
        try {
            history->Add(run);
        } catch (const history::EHistoryError& error) {
            Fail(error.Message());
            return;
        }
        if (OnStored) {
            OnStored();
        }
    }
}

void TRunHistory::Analysed(const history::TRun& run) {
    m_lastRun = run;
    Store(run);
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
