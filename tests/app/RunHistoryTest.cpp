// Every fully analysed run is kept in the history the program was given, with its boxes and its
// transitions; a history that cannot be used is reported once and the runs go on; without a
// history (tools, tests) nothing is stored, and headless runs never see the user's data home.
#include "app/RunHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/MainForm.h"
#include "platform/DataHome.h"
#include "replay/Replay.h"
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
