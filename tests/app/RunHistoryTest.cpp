// Every fully analysed run is kept in the history the program was given, with its boxes and its
// transitions; a history that cannot be used is reported once and the runs go on; without a
// history (tools, tests) nothing is stored, and headless runs never see the user's data home.
#include "app/RunHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "app/MainForm.h"
#include "platform/DataHome.h"
#include "platform/Services.h"
#include "replay/Replay.h"
#include "support/HistoryLock.h"
#include "support/MorseKeying.h"
#include "support/TempFolder.h"

namespace {

// The worked example of the analysis: seven marks, six spaces.
const char* const kWorkedExample =
    "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n911 down\n977 up\n"
    "1033 down\n1223 up\n1408 down\n1468 up\n";

// Replays a script with the given history; returns the dialogs the run showed.
std::vector<std::string> RunWith(app::TRunHistory* runHistory, const std::string& script,
                                 std::optional<history::TRun>* lastRun = nullptr) {
    replay::TReplay replay(replay::ParseScript(script));
    if (runHistory != nullptr) {
        app::KeepRuns(replay.Form(), *runHistory);
    }
    replay.Form().SetPracticeText("PARIS");
    replay.Run();
    if (lastRun != nullptr && runHistory != nullptr) {
        *lastRun = runHistory->LastRun();
    }
    return replay.Simulation().Dialogs();
}

// A replay script keying `text` at 20 wpm with the given jitter.
std::string KeyedScript(const std::string& text, double jitter = 0, uint32_t seed = 1) {
    testsupport::TKeyingStyle style;
    style.Jitter = jitter;
    style.Seed = seed;
    std::string script;
    for (const coach::TTransition& transition : testsupport::KeyText(text, style)) {
        script += std::to_string(transition.TimeMs) + (transition.Down ? " down\n" : " up\n");
    }
    return script;
}

coach::TKeyedRun Keyed(const std::string& text, double jitter = 0, uint32_t seed = 1) {
    testsupport::TKeyingStyle style;
    style.Jitter = jitter;
    style.Seed = seed;
    return {testsupport::KeyText(text, style), ""};
}

class TRecordedDialogs : public platform::IDialogs {
  public:
    std::vector<std::string> Messages;
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void Beep() override {}
};

using TLock = testsupport::THistoryLock;

size_t StoredCount(const std::string& home) {
    return history::THistory(history::HistoryFolder(home)).List().size();
}

TEST(RunHistoryTest, AnAnalysedRunIsStoredWithItsBoxesAndTransitions) {
    testsupport::TTempFolder home;
    app::TRunHistory runHistory(home.Path());
    EXPECT_TRUE(RunWith(&runHistory, kWorkedExample).empty());

    history::THistory stored(history::HistoryFolder(home.Path()));
    const std::vector<history::TRunSummary> runs = stored.List();
    ASSERT_EQ(1u, runs.size());
    const std::optional<history::TRun> run = stored.Load(runs[0].Id);
    ASSERT_TRUE(run.has_value());
    const std::array<std::string, history::kResultCount> expected = {"63",
                                                                     "181",
                                                                     "54",
                                                                     "177",
                                                                     "2.00854700854701",
                                                                     "1.16666666666667",
                                                                     "96",
                                                                     "weighting is heavy",
                                                                     "dashes are too long",
                                                                     "20",
                                                                     "96",
                                                                     "0.994350282485876",
                                                                     "Charspace is long"};
    EXPECT_EQ(expected, run->Results);
    EXPECT_EQ("PARIS", run->PracticeText);
    EXPECT_EQ(0, run->StartLevel);
    const std::vector<uint32_t> times = {100, 164, 216, 396,  454,  516,  686,
                                         861, 911, 977, 1033, 1223, 1408, 1468};
    ASSERT_EQ(times.size(), run->Transitions.size());
    for (size_t i = 0; i < times.size(); ++i) {
        EXPECT_EQ(times[i], run->Transitions[i].TimeMs) << i;
        EXPECT_EQ(i % 2 == 0 ? 1 : 0, run->Transitions[i].Level) << i;
    }
    EXPECT_GT(run->Time, int64_t{1600000000000});  // a real clock time, in milliseconds
}

TEST(RunHistoryTest, ARunHeldDownAtStartBeginsAtLevelOne) {
    testsupport::TTempFolder home;
    app::TRunHistory runHistory(home.Path());
    std::optional<history::TRun> last;
    RunWith(&runHistory,
            "initial 129\n100 up\n170 down\n220 up\n430 down\n580 up\n650 down\n700 up\n"
            "770 down\n920 up\n",
            &last);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(1, last->StartLevel);
    EXPECT_EQ(0, last->Transitions.front().Level);
}

TEST(RunHistoryTest, ARunWhoseAnalysisFailsIsNotStored) {
    testsupport::TTempFolder home;
    app::TRunHistory runHistory(home.Path());
    std::optional<history::TRun> last;
    // Two transitions: no spaces, so the analysis stops with "Division by zero".
    RunWith(&runHistory, "100 down\n200 up\n", &last);
    EXPECT_FALSE(last.has_value());
    history::THistory stored(history::HistoryFolder(home.Path()));
    EXPECT_TRUE(stored.List().empty());
}

TEST(RunHistoryTest, AnUnusableHistoryIsReportedOnceAndRunsGoOn) {
    testsupport::TTempFolder home;
    // The data home is a file: no history folder can be made in it.
    const std::string blocked = home / "file";
    std::ofstream(blocked) << "x";
    app::TRunHistory runHistory(blocked);
    std::optional<history::TRun> last;
    const std::vector<std::string> first = RunWith(&runHistory, kWorkedExample, &last);
    ASSERT_EQ(1u, first.size());
    EXPECT_NE(std::string::npos, first[0].find("Cannot create the history folder")) << first[0];
    EXPECT_NE(std::string::npos, first[0].find(app::TRunHistory::kGoingOn)) << first[0];
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ("96", last->Results[history::kCharacterMeritResult]);  // the run itself went on
    EXPECT_TRUE(RunWith(&runHistory, kWorkedExample).empty());       // reported once only
    EXPECT_FALSE(runHistory.Failure().empty());
    EXPECT_EQ(nullptr, runHistory.Open());
}

TEST(RunHistoryTest, WithoutAHistoryNothingIsStored) {
    testsupport::TTempFolder home;
    const platform::TScopedDataHome dataHome(home.Path());
    EXPECT_TRUE(RunWith(nullptr, kWorkedExample).empty());
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
}

TEST(RunHistoryTest, ALockedHistoryKeepsRunsWaitingToldOnceAndStoresThemWhenFree) {
    testsupport::TTempFolder home;
    app::TRunHistory runHistory(home.Path());
    RunWith(&runHistory, kWorkedExample);
    ASSERT_EQ(1u, StoredCount(home.Path()));
    {
        const TLock lock(home.Path());
        const std::vector<std::string> first = RunWith(&runHistory, kWorkedExample);
        ASSERT_EQ(1u, first.size());
        EXPECT_NE(std::string::npos, first[0].find("database is locked")) << first[0];
        EXPECT_NE(std::string::npos, first[0].find(app::TRunHistory::kWaits)) << first[0];
        EXPECT_EQ(1u, runHistory.Waiting().size());
        // Still locked: the next run waits too, without telling again.
        EXPECT_TRUE(RunWith(&runHistory, kWorkedExample).empty());
        EXPECT_EQ(2u, runHistory.Waiting().size());
        EXPECT_FALSE(runHistory.StoreWaiting());
        // The history is not turned off.
        EXPECT_TRUE(runHistory.Failure().empty());
        EXPECT_NE(nullptr, runHistory.Open());
    }
    EXPECT_TRUE(runHistory.StoreWaiting());
    EXPECT_TRUE(runHistory.Waiting().empty());
    EXPECT_TRUE(runHistory.Busy().empty());
    EXPECT_EQ(3u, StoredCount(home.Path()));
    {
        // A new lock is told again; the run is stored at the next Finish after it.
        const TLock lock(home.Path());
        EXPECT_EQ(1u, RunWith(&runHistory, kWorkedExample).size());
    }
    EXPECT_TRUE(RunWith(&runHistory, kWorkedExample).empty());
    EXPECT_EQ(5u, StoredCount(home.Path()));
}

TEST(RunHistoryTest, AnOlderHistoryLockedWhileItIsBroughtUpToDateWaitsToo) {
    testsupport::TTempFolder home;
    const std::string folder = history::HistoryFolder(home.Path());
    std::filesystem::create_directories(folder);
    {
        history::TConnection old(folder + "/" + history::THistory::kFileName);
        old.Execute(
            "PRAGMA journal_mode = WAL; CREATE TABLE run (id INTEGER PRIMARY KEY, time INTEGER NOT "
            "NULL, dit TEXT NOT NULL, dah TEXT NOT NULL, dit_space TEXT NOT NULL, dah_space TEXT "
            "NOT NULL, ratio TEXT NOT NULL, weight TEXT NOT NULL, character_merit TEXT NOT NULL, "
            "weighting_advice TEXT NOT NULL, dash_advice TEXT NOT NULL, speed TEXT NOT NULL, "
            "word_merit TEXT NOT NULL, character_space TEXT NOT NULL, character_space_advice TEXT "
            "NOT NULL, practice_text TEXT NOT NULL, start_level INTEGER NOT NULL, transitions BLOB "
            "NOT NULL); PRAGMA user_version = 1;");
        history::TStatement insert(
            old,
            "INSERT INTO run VALUES (NULL, 1000, '', '', '', '', '', '', '1', '', '', '20', '2', "
            "'', '', ?, 0, ?)");
        history::TRun run;
        for (const coach::TTransition& t : Keyed("SSS HHH").Transitions) {
            run.Transitions.push_back({t.TimeMs, static_cast<uint8_t>(t.Down)});
        }
        insert.Bind(1, std::string_view("SSS HHH"));
        insert.BindBlob(2, history::PackTransitions(run.Transitions));
        insert.Step();
    }
    app::TRunHistory runHistory(home.Path());
    {
        const TLock lock(home.Path());
        const std::vector<std::string> told = RunWith(&runHistory, kWorkedExample);
        ASSERT_EQ(1u, told.size());
        EXPECT_NE(std::string::npos, told[0].find("locked")) << told[0];
        EXPECT_TRUE(runHistory.Failure().empty());
    }
    EXPECT_TRUE(runHistory.StoreWaiting());
    // Brought up to date, and the older run judged: a drill of dits is left out.
    history::THistory stored(folder);
    EXPECT_TRUE(stored.Unjudged().empty());
    const std::vector<history::TRunSummary> runs = stored.List();
    ASSERT_EQ(2u, runs.size());
    EXPECT_EQ("SSS HHH", runs[1].PracticeText);
    EXPECT_EQ(std::optional<bool>(false), runs[1].Usable);
    EXPECT_EQ("SSS HHH", runs[1].ReadBack);
    EXPECT_EQ(std::optional<double>(100), runs[1].AccuracyPercent);
    EXPECT_FALSE(runs[1].InProgress());
}

TEST(RunHistoryTest, OlderRunsAreJudgedAShareAtATime) {
    testsupport::TTempFolder home;
    const std::string folder = history::HistoryFolder(home.Path());
    const size_t most = app::TRunHistory::kMostJudgedAtOnce;
    {
        history::THistory store(folder);
        history::TConnection connection(folder + "/" + history::THistory::kFileName);
        std::vector<history::TTransition> paris;
        for (const coach::TTransition& t : Keyed("PARIS").Transitions) {
            paris.push_back({t.TimeMs, static_cast<uint8_t>(t.Down)});
        }
        connection.Execute("BEGIN");
        history::TStatement insert(
            connection,
            "INSERT INTO run VALUES (NULL, ?, '', '', '', '', '', '', '', "
            "'', '', '', '', '', '', 'PARIS', 0, ?, NULL, NULL, NULL, NULL)");
        for (size_t i = 0; i < most + 20; ++i) {
            insert.Bind(1, static_cast<int64_t>(i));
            insert.BindBlob(2, history::PackTransitions(paris));
            insert.Step();
            insert.Reset();
        }
        connection.Execute("COMMIT");
    }
    app::TRunHistory runHistory(home.Path());
    history::THistory* opened = runHistory.Open();
    ASSERT_NE(nullptr, opened);
    // The oldest first; the rest at the next share.
    const std::vector<int64_t> left = opened->Unjudged();
    ASSERT_EQ(20u, left.size());
    EXPECT_EQ(static_cast<int64_t>(most) + 1, left.front());
    runHistory.JudgeSome();
    EXPECT_TRUE(opened->Unjudged().empty());
    const std::vector<history::TRunSummary> runs = opened->List();
    EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [](const history::TRunSummary& run) {
        return run.Usable == std::optional<bool>(true) && run.ReadBack == "PARIS" &&
               run.AccuracyPercent == std::optional<double>(100);
    }));
}

TEST(RunHistoryTest, ARunStillWaitingWhenTheProgramEndsIsReportedLost) {
    testsupport::TTempFolder home;
    app::TRunHistory runHistory(home.Path());
    RunWith(&runHistory, kWorkedExample);
    TRecordedDialogs dialogs;
    const platform::TScopedServices services({nullptr, nullptr, nullptr, &dialogs, nullptr});
    {
        const TLock lock(home.Path());
        RunWith(&runHistory, kWorkedExample);
        runHistory.StoreBeforeExit();
    }
    ASSERT_EQ(1u, dialogs.Messages.size());
    EXPECT_TRUE(dialogs.Messages[0].starts_with("The run of ")) << dialogs.Messages[0];
    EXPECT_NE(std::string::npos, dialogs.Messages[0].find("is lost: ")) << dialogs.Messages[0];
    EXPECT_NE(std::string::npos, dialogs.Messages[0].find("database is locked"));
    EXPECT_TRUE(runHistory.Waiting().empty());
    // Nothing waiting: the end says nothing.
    runHistory.StoreBeforeExit();
    EXPECT_EQ(1u, dialogs.Messages.size());
    EXPECT_EQ(1u, StoredCount(home.Path()));
}

TEST(RunHistoryTest, RunsOfOneKindOrTooFewMarksAreNotFitForTheProgress) {
    // Realistic keying, twenty seeds each, 15 % jitter: no run may be judged wrongly.
    struct TCase {
        const char* Text;
        bool Usable;
    };
    const TCase cases[] = {
        {"PARIS", true},         // 9 dits, 5 dahs
        {"PAN", true},           // 4 dits, 4 dahs: the fewest that count
        {"PAE", false},          // 4 dits, 3 dahs
        {"MAE", false},          // 2 dits, 3 dahs
        {"SSS HHH", false},      // 21 dits: a drill of one kind
        {"TTTT MMMM O", false},  // 15 dahs
        {"E", false},
    };
    for (const TCase& c : cases) {
        int wrong = 0;
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            wrong += app::UsableForProgress(Keyed(c.Text, 0.15, seed)) != c.Usable ? 1 : 0;
        }
        EXPECT_EQ(0, wrong) << c.Text << ": " << wrong << " of 20 judged wrongly";
    }
    EXPECT_FALSE(app::UsableForProgress({}));
}

TEST(RunHistoryTest, AStoredRunCarriesTheCoachsJudgement) {
    testsupport::TTempFolder home;
    app::TRunHistory runHistory(home.Path());
    std::optional<history::TRun> last;
    RunWith(&runHistory, KeyedScript("PARIS PARIS"), &last);  // against "PARIS": one word extra
    ASSERT_TRUE(last.has_value());
    history::THistory stored(history::HistoryFolder(home.Path()));
    const std::vector<history::TRunSummary> runs = stored.List();
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(std::optional<bool>(true), runs[0].Usable);
    EXPECT_EQ("PARIS PARIS", runs[0].ReadBack);
    ASSERT_TRUE(runs[0].AccuracyPercent.has_value());
    EXPECT_LT(*runs[0].AccuracyPercent, 100);
    EXPECT_TRUE(runs[0].InProgress());
    // The record kept as the last run is the one stored.
    history::TRun expected = *last;
    expected.Id = runs[0].Id;
    EXPECT_EQ(expected, stored.Load(runs[0].Id));
    // The worked example has four dits and three dahs: stored, but left out of the progress.
    RunWith(&runHistory, kWorkedExample);
    const std::vector<history::TRunSummary> both = stored.List();
    ASSERT_EQ(2u, both.size());
    EXPECT_EQ(std::optional<bool>(false), both[0].Usable);
    EXPECT_FALSE(both[0].InProgress());
}

TEST(RunHistoryTest, AStoredRunGivesTheCoachTheSameRunBack) {
    history::TRun record;
    record.PracticeText = "K";
    record.StartLevel = 0;
    record.Transitions = {{100, 1}, {280, 0}, {340, 1}, {400, 0}, {580, 1}, {760, 0}};
    const coach::TKeyedRun keyed = app::KeyedRun(record);
    EXPECT_EQ("K", keyed.PracticeText);
    ASSERT_EQ(6u, keyed.Transitions.size());
    EXPECT_EQ(280u, keyed.Transitions[1].TimeMs);
    EXPECT_TRUE(keyed.Transitions[0].Down);
    EXPECT_FALSE(keyed.Transitions[1].Down);
}

}  // namespace
