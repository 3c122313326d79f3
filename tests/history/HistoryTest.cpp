// The history store: runs survive reopening, come back newest first and whole, are deleted one
// at a time; damaged, foreign, newer and unwritable histories are refused with a message; two
// writers at once lose nothing.
#include "history/History.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "support/StoredRun.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

history::TRun MakeRun(int64_t time, const std::string& speed, const std::string& practice = "") {
    history::TRun run = testsupport::WorkedExampleRun(time, speed);
    run.PracticeText = practice;
    run.StartLevel = 0;
    run.Transitions = {{100, 1}, {164, 0}, {216, 1}, {396, 0}, {0xFFFFFFFFu, 1}};
    return run;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string OpenError(const std::string& folder) {
    try {
        history::THistory history(folder);
    } catch (const history::EHistoryError& error) {
        return error.Message();
    }
    return "";
}

TEST(HistoryTest, StoredRunsSurviveReopeningAndComeBackWhole) {
    testsupport::TTempFolder folder;
    const history::TRun first = MakeRun(1000, "20", "PARIS, \"CQ\"\nline two");
    const history::TRun second = MakeRun(2000, "25");
    int64_t firstId = 0;
    {
        history::THistory history(folder.Path());
        firstId = history.Add(first);
        history.Add(second);
    }
    history::THistory reopened(folder.Path());
    const std::optional<history::TRun> loaded = reopened.Load(firstId);
    ASSERT_TRUE(loaded.has_value());
    history::TRun expected = first;
    expected.Id = firstId;
    EXPECT_EQ(expected, *loaded);
    EXPECT_FALSE(reopened.Load(firstId + 100).has_value());
}

TEST(HistoryTest, ListIsNewestFirstWithTheProgressFigures) {
    testsupport::TTempFolder folder;
    history::THistory history(folder.Path());
    history.Add(MakeRun(5000, "18"));
    history.Add(MakeRun(9000, "22"));
    history.Add(MakeRun(1000, ""));    // stored later, but the oldest run
    history.Add(MakeRun(9000, "30"));  // same time: the later stored comes first

    const std::vector<history::TRunSummary> runs = history.List();
    ASSERT_EQ(4u, runs.size());
    EXPECT_EQ(std::optional<int32_t>(30), runs[0].Speed());
    EXPECT_EQ(std::optional<int32_t>(22), runs[1].Speed());
    EXPECT_EQ(std::optional<int32_t>(18), runs[2].Speed());
    EXPECT_EQ(std::nullopt, runs[3].Speed());  // an empty box is no figure
    EXPECT_EQ(1000, runs[3].Time);
    EXPECT_EQ(std::optional<int32_t>(96), runs[0].CharacterMerit());
    EXPECT_EQ(std::optional<int32_t>(95), runs[0].WordMerit());
}

TEST(HistoryTest, NegativeMeritIsAFigure) {
    history::TRunSummary summary;
    summary.Results[history::kCharacterMeritResult] = "-12";
    EXPECT_EQ(std::optional<int32_t>(-12), summary.CharacterMerit());
}

TEST(HistoryTest, DeleteRemovesOneRunOnlyAndSaysWhetherThereWasOne) {
    testsupport::TTempFolder folder;
    history::THistory history(folder.Path());
    const int64_t keep = history.Add(MakeRun(1, "10"));
    const int64_t drop = history.Add(MakeRun(2, "11"));
    EXPECT_TRUE(history.Delete(drop));
    EXPECT_FALSE(history.Delete(drop));
    history::THistory reopened(folder.Path());
    const std::vector<history::TRunSummary> runs = reopened.List();
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(keep, runs[0].Id);
    EXPECT_FALSE(reopened.Load(drop).has_value());
}

TEST(HistoryTest, MissingFoldersAreCreated) {
    testsupport::TTempFolder folder;
    const std::string nested = folder / "data/keyvet";
    history::THistory history(nested);
    EXPECT_TRUE(fs::is_regular_file(nested + "/" + history::THistory::kFileName));
    EXPECT_EQ(folder / "data/keyvet", history::HistoryFolder(folder / "data"));
}

TEST(HistoryTest, ARunWithNoTransitionsOrPracticeTextRoundTrips) {
    testsupport::TTempFolder folder;
    history::THistory history(folder.Path());
    history::TRun run;
    run.Time = -5;  // before 1970: a wrong clock must not lose the run
    run.StartLevel = 1;
    const int64_t id = history.Add(run);
    run.Id = id;
    EXPECT_EQ(run, history.Load(id));
}

TEST(HistoryTest, AFileThatIsNoDatabaseIsRefusedAndLeftAsItWas) {
    testsupport::TTempFolder folder;
    const std::string path = folder / history::THistory::kFileName;
    const std::string garbage(4096, 'x');
    WriteFile(path, garbage);
    const std::string message = OpenError(folder.Path());
    EXPECT_NE(std::string::npos, message.find("Cannot open the history '" + path + "'")) << message;
    EXPECT_NE(std::string::npos, message.find("not a database")) << message;
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(garbage, std::string(std::istreambuf_iterator<char>(in), {}));
}

TEST(HistoryTest, ADamagedDatabaseIsRefused) {
    testsupport::TTempFolder folder;
    {
        history::THistory history(folder.Path());
        for (int i = 0; i < 200; ++i) {
            history.Add(MakeRun(i, std::to_string(i)));
        }
    }
    // Overwrite the middle of the file (the run table's pages), keeping its header.
    const std::string path = folder / history::THistory::kFileName;
    const auto size = fs::file_size(path);
    ASSERT_GT(size, 8192u);
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(size / 2));
    const std::string junk(4096, '\x5a');
    file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    file.close();
    const std::string message = OpenError(folder.Path());
    EXPECT_NE(std::string::npos, message.find("Cannot open the history")) << message;
}

TEST(HistoryTest, AnotherProgramsDatabaseIsNotTakenOver) {
    testsupport::TTempFolder folder;
    {
        history::TConnection other(folder / history::THistory::kFileName);
        other.Execute("CREATE TABLE notes (text TEXT)");
    }
    EXPECT_EQ("Cannot open the history '" + (folder / history::THistory::kFileName) +
                  "': it is not a Keyvet history",
              OpenError(folder.Path()));
}

TEST(HistoryTest, AHistoryFromANewerVersionIsRefused) {
    testsupport::TTempFolder folder;
    { history::THistory history(folder.Path()); }
    {
        history::TConnection connection(folder / history::THistory::kFileName);
        connection.Execute(
            ("PRAGMA user_version = " + std::to_string(history::THistory::kSchemaVersion + 1))
                .c_str());
    }
    EXPECT_EQ("Cannot open the history '" + (folder / history::THistory::kFileName) +
                  "': it was written by a newer version of Keyvet",
              OpenError(folder.Path()));
}

TEST(HistoryTest, ADamagedTransitionRecordIsAnErrorNotACrash) {
    testsupport::TTempFolder folder;
    int64_t shortId = 0;
    int64_t levelId = 0;
    {
        history::THistory history(folder.Path());
        shortId = history.Add(MakeRun(1, "1"));
        levelId = history.Add(MakeRun(2, "2"));
    }
    {
        history::TConnection connection(folder / history::THistory::kFileName);
        connection.Execute(
            ("UPDATE run SET transitions = x'01020304' WHERE id = " + std::to_string(shortId))
                .c_str());
        connection.Execute(
            ("UPDATE run SET start_level = 7 WHERE id = " + std::to_string(levelId)).c_str());
    }
    history::THistory history(folder.Path());
    EXPECT_THROW(history.Load(shortId), history::EHistoryError);
    EXPECT_THROW(history.Load(levelId), history::EHistoryError);
    EXPECT_EQ(2u, history.List().size());  // the list does not need the transitions
}

TEST(HistoryTest, TransitionsPackFiveBytesEachLittleEndian) {
    EXPECT_EQ(std::string("\x64\x00\x00\x00\x01\x04\x03\x02\x01\x00", 10),
              history::PackTransitions({{100, 1}, {0x01020304, 0}}));
    EXPECT_THROW(history::UnpackTransitions(std::string("\x64\x00\x00\x00\x02", 5)),
                 history::EHistoryError);
    EXPECT_THROW(history::UnpackTransitions(std::string(6, '\0')), history::EHistoryError);
}

// Runs `work` in a child process without the right to write where permissions forbid it (a
// super-user ignores them, so the child gives its rights up first); returns its exit status.
template <class TWork>
int InUnprivilegedChild(TWork work) {
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (getuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            _exit(3);
        }
        _exit(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HistoryTest, AReadOnlyDataFolderIsReportedAndKeepsItsRuns) {
    testsupport::TTempFolder folder;
    const std::string data = folder / "keyvet";
    {
        history::THistory history(data);
        history.Add(MakeRun(1, "20"));
    }
    // The folders must be passable for the unprivileged child, not writable.
    fs::permissions(folder.Path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
    fs::permissions(data + "/" + history::THistory::kFileName,
                    fs::perms::owner_read | fs::perms::others_read);
    const std::string fresh = folder / "fresh";
    fs::create_directory(fresh);
    fs::permissions(fresh, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                               fs::perms::others_exec);

    // 0: refused with a message; 1: opened although it cannot be written; 2: another failure.
    const auto refused = [](const std::string& where) {
        return [where] {
            try {
                history::THistory history(where);
                return 1;
            } catch (const history::EHistoryError& error) {
                return error.Message().find("Cannot open the history") == 0 ? 0 : 2;
            } catch (...) {
                return 2;
            }
        };
    };
    EXPECT_EQ(0, InUnprivilegedChild(refused(data)));
    EXPECT_EQ(0, InUnprivilegedChild([fresh] {
                  try {
                      history::THistory history(fresh + "/keyvet");
                      return 1;
                  } catch (const history::EHistoryError& error) {
                      return error.Message().find("Cannot create the history folder") == 0 ? 0 : 2;
                  }
              }));
    EXPECT_EQ(0, InUnprivilegedChild(refused(fresh)));

    fs::permissions(data, fs::perms::owner_all);
    fs::permissions(data + "/" + history::THistory::kFileName,
                    fs::perms::owner_read | fs::perms::owner_write);
    history::THistory history(data);
    EXPECT_EQ(1u, history.List().size());
}

TEST(HistoryTest, TwoProgramsWritingAtOnceLoseNoRun) {
    testsupport::TTempFolder folder;
    constexpr int kRunsEach = 40;
    // Two processes, each with its own connection, both starting on a folder without a history.
    const auto writer = [&](int first) {
        return [&folder, first] {
            try {
                history::THistory history(folder.Path());
                for (int i = 0; i < kRunsEach; ++i) {
                    history.Add(MakeRun(first + i, std::to_string(first + i)));
                }
                return 0;
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", error.what());
                return 1;
            }
        };
    };
    const pid_t a = fork();
    if (a == 0) {
        _exit(writer(0)());
    }
    const int own = writer(1000)();
    int status = 0;
    waitpid(a, &status, 0);
    ASSERT_EQ(0, own);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    history::THistory history(folder.Path());
    const std::vector<history::TRunSummary> runs = history.List();
    ASSERT_EQ(2u * kRunsEach, runs.size());
    std::set<int64_t> times;
    for (const history::TRunSummary& run : runs) {
        times.insert(run.Time);
    }
    EXPECT_EQ(2u * kRunsEach, times.size());
}

}  // namespace
