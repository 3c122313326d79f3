// The history file across versions and programs: a file the history refuses is left byte for byte
// as it was, a version 1 history is brought up to date with its runs, the coach's judgement and
// the operator's choice are kept, and a lock held by another program fails within the short busy
// wait, as a busy failure.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "history/History.h"
#include "support/StoredRun.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The table as the first version of the program wrote it, word for word.
const char* const kVersionOneSchema =
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
    " transitions BLOB NOT NULL);"
    "CREATE INDEX run_by_time ON run (time);"
    "PRAGMA user_version = 1;";

// A version 1 run as the first version inserted it: every column named, none of the new ones.
std::string VersionOneInsert(int64_t time, const std::string& speed) {
    return "INSERT INTO run (id, time, dit, dah, dit_space, dah_space, ratio, weight, "
           "character_merit, weighting_advice, dash_advice, speed, word_merit, character_space, "
           "character_space_advice, practice_text, start_level, transitions) VALUES (NULL, " +
           std::to_string(time) + ", '63', '181', '54', '177', '2', '1.2', '96', '', '', '" +
           speed + "', '95', '1', '', 'PARIS', 0, x'64000000011001000000');";
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> FolderNames(const std::string& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string OpenError(const std::string& folder) {
    try {
        history::THistory history(folder);
    } catch (const history::EHistoryError& error) {
        return error.Message();
    }
    return "";
}

// Refuses the file in `folder` and checks that neither it nor the folder changed.
void ExpectRefusedUnchanged(const std::string& folder, const std::string& reason) {
    const std::string path = folder + "/" + history::THistory::kFileName;
    const std::string before = ReadBytes(path);
    const std::set<std::string> namesBefore = FolderNames(folder);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ("Cannot open the history '" + path + "': " + reason, OpenError(folder));
    EXPECT_TRUE(before == ReadBytes(path)) << "the refused file was changed";
    EXPECT_EQ(namesBefore, FolderNames(folder));
}

TEST(HistoryFileTest, AnotherProgramsDatabaseIsRefusedAndLeftByteForByte) {
    testsupport::TTempFolder folder;
    {
        history::TConnection other(folder / history::THistory::kFileName);
        other.Execute("CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('keep me');");
    }
    ExpectRefusedUnchanged(folder.Path(), "it is not a Keyvet history");
}

TEST(HistoryFileTest, AnotherProgramsDatabaseThatLooksLikeAVersionIsRefusedUnchanged) {
    testsupport::TTempFolder folder;
    {
        // Its own application id, and a user_version of its own that happens to be ours.
        history::TConnection other(folder / history::THistory::kFileName);
        other.Execute(
            "CREATE TABLE run (id INTEGER PRIMARY KEY); PRAGMA application_id = 42;"
            "PRAGMA user_version = 2;");
    }
    ExpectRefusedUnchanged(folder.Path(), "it is not a Keyvet history");
}

TEST(HistoryFileTest, ANewerVersionsHistoryIsRefusedAndLeftByteForByte) {
    testsupport::TTempFolder folder;
    {
        history::THistory history(folder.Path());
        history.Add(testsupport::WorkedExampleRun(1000));
    }
    {
        // A newer version that went back to a rollback journal: nothing may switch it to WAL.
        history::TConnection newer(folder / history::THistory::kFileName);
        newer.Execute("PRAGMA journal_mode = DELETE; PRAGMA user_version = 3;");
    }
    ExpectRefusedUnchanged(folder.Path(), "it was written by a newer version of Keyvet");
}

TEST(HistoryFileTest, AVersionOneHistoryIsBroughtUpToDateKeepingItsRuns) {
    testsupport::TTempFolder folder;
    const std::string path = folder / history::THistory::kFileName;
    {
        history::TConnection old(path);
        old.Execute(kVersionOneSchema);
        old.Execute(VersionOneInsert(2000, "18").c_str());
        old.Execute(VersionOneInsert(1000, "17").c_str());
    }
    {
        history::THistory history(folder.Path());
        const std::vector<history::TRunSummary> runs = history.List();
        ASSERT_EQ(2u, runs.size());
        EXPECT_EQ(std::optional<int32_t>(18), runs[0].Speed());
        EXPECT_EQ("PARIS", runs[1].PracticeText);
        // Not judged yet: no judgement, no choice, and in the progress as before.
        EXPECT_FALSE(runs[0].Usable.has_value());
        EXPECT_FALSE(runs[0].LeftOut.has_value());
        EXPECT_TRUE(runs[0].InProgress());
        // Oldest first, so a judge that stops half way has done the oldest.
        EXPECT_EQ((std::vector<int64_t>{runs[1].Id, runs[0].Id}), history.Unjudged());
        const std::optional<history::TRun> run = history.Load(runs[1].Id);
        ASSERT_TRUE(run.has_value());
        EXPECT_EQ((std::vector<history::TTransition>{{100, 1}, {272, 0}}), run->Transitions);

        history::TRunSummary judged;
        judged.Id = runs[1].Id;
        judged.Usable = false;
        judged.ReadBack = "E";
        judged.AccuracyPercent = 12.5;
        history::TRunSummary gone = judged;
        gone.Id = runs[0].Id + runs[1].Id;
        EXPECT_EQ(1u, history.Judge({gone, judged}));
        EXPECT_EQ(std::vector<int64_t>{runs[0].Id}, history.Unjudged());
    }
    {
        // The old program's insert still works on the new table.
        history::TConnection old(path);
        old.Execute(VersionOneInsert(3000, "19").c_str());
        history::TStatement version(old, "PRAGMA user_version");
        ASSERT_TRUE(version.Step());
        EXPECT_EQ(history::THistory::kSchemaVersion, version.Int(0));
    }
    history::THistory reopened(folder.Path());
    const std::vector<history::TRunSummary> runs = reopened.List();
    ASSERT_EQ(3u, runs.size());
    EXPECT_EQ(std::optional<bool>(false), runs[2].Usable);
    EXPECT_EQ("E", runs[2].ReadBack);
    EXPECT_EQ(std::optional<double>(12.5), runs[2].AccuracyPercent);
    EXPECT_FALSE(runs[2].InProgress());
    EXPECT_EQ(2u, reopened.Unjudged().size());
}

TEST(HistoryFileTest, JudgementAndChoiceRoundTripAndTheChoiceWins) {
    testsupport::TTempFolder folder;
    history::THistory history(folder.Path());
    history::TRun run = testsupport::WorkedExampleRun(5000);
    run.Transitions = {{100, 1}, {160, 0}};
    run.Usable = true;
    run.ReadBack = "PARIS PARIS";
    run.AccuracyPercent = 100.0 * 9 / 11;
    const int64_t id = history.Add(run);
    run.Id = id;
    EXPECT_EQ(run, history.Load(id));

    // The operator's choice over the coach's judgement, both ways; none gives the judgement back.
    struct TCase {
        std::optional<bool> Usable, LeftOut;
        bool InProgress;
    };
    const TCase cases[] = {{true, std::nullopt, true},  {false, std::nullopt, false},
                           {true, true, false},         {false, false, true},
                           {std::nullopt, true, false}, {std::nullopt, std::nullopt, true},
                           {true, false, true},         {false, true, false}};
    for (const TCase& c : cases) {
        history::TRunSummary judged;
        judged.Id = id;
        judged.Usable = c.Usable;
        judged.ReadBack = "X";
        ASSERT_EQ(1u, history.Judge({judged}));
        ASSERT_TRUE(history.SetLeftOut(id, c.LeftOut));
        const std::optional<history::TRun> loaded = history.Load(id);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(c.Usable, loaded->Usable);
        EXPECT_EQ(c.LeftOut, loaded->LeftOut);
        EXPECT_EQ(c.InProgress, loaded->InProgress())
            << "usable " << c.Usable.value_or(-1) << ", left out " << c.LeftOut.value_or(-1);
        // A run not judged keeps no read-back nor accuracy.
        EXPECT_EQ(c.Usable.has_value() ? "X" : "", loaded->ReadBack);
    }
    EXPECT_FALSE(history.SetLeftOut(id + 1, true));
}

TEST(HistoryFileTest, TheWindowsListHoldsWhatTheFullListHoldsForItsFields) {
    testsupport::TTempFolder folder;
    history::THistory history(folder.Path());
    history::TRun run = testsupport::WorkedExampleRun(3000, "21");
    run.PracticeText = "CQ";
    run.Usable = true;
    run.AccuracyPercent = 75;
    run.ReadBack = "CQ";
    history.Add(run);
    run.Time = 1000;
    run.Usable = false;
    run.LeftOut = false;
    run.AccuracyPercent.reset();
    history.Add(run);
    history.Add(testsupport::WorkedExampleRun(3000, ""));  // same time, stored later: first
    const std::vector<history::TRunSummary> full = history.List();
    const std::vector<history::TProgressRun> shown = history.ProgressList();
    ASSERT_EQ(full.size(), shown.size());
    for (size_t i = 0; i < full.size(); ++i) {
        EXPECT_EQ(history::ProgressRun(full[i]), shown[i]) << i;
        EXPECT_EQ(full[i].InProgress(), shown[i].InProgress()) << i;
    }
    EXPECT_EQ(std::nullopt, shown[0].Speed);
    EXPECT_EQ(std::optional<int32_t>(21), shown[1].Speed);
    EXPECT_EQ(std::optional<int32_t>(96), shown[1].CharacterMerit);
    EXPECT_EQ(std::optional<double>(75), shown[1].AccuracyPercent);
    EXPECT_EQ(std::optional<bool>(false), shown[2].LeftOut);
}

TEST(HistoryFileTest, ALockHeldByAnotherProgramFailsWithinAboutASecondAsBusy) {
    testsupport::TTempFolder folder;
    history::THistory history(folder.Path());
    history.Add(testsupport::WorkedExampleRun(1));
    history::TConnection other(folder / history::THistory::kFileName);
    other.Execute("BEGIN IMMEDIATE");

    const auto started = std::chrono::steady_clock::now();
    bool busy = false;
    std::string message;
    try {
        history.Add(testsupport::WorkedExampleRun(2));
    } catch (const history::EHistoryError& error) {
        busy = error.Busy();
        message = error.Message();
    }
    const double waited =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_TRUE(busy) << message;
    EXPECT_NE(std::string::npos, message.find("database is locked")) << message;
    // The window waits about the busy wait, not ten seconds.
    EXPECT_LT(waited, 3.0);
    // Reading goes on beside the writer, and a failure that is no lock is not busy.
    EXPECT_EQ(1u, history.List().size());
    history::TConnection scratch(folder / "scratch.sqlite");
    try {
        scratch.Execute("not sql");
        ADD_FAILURE() << "no error";
    } catch (const history::EHistoryError& error) {
        EXPECT_FALSE(error.Busy()) << error.Message();
    }

    other.Execute("COMMIT");
    history.Add(testsupport::WorkedExampleRun(2));
    EXPECT_EQ(2u, history.List().size());
}

}  // namespace
