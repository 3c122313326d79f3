// Output files: complete files appear under their name at once; a failed or abandoned write
// leaves what stood at the path and no temporary file; devices are written where they are.
#include "base/OutputFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "base/Exceptions.h"

namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "keyvet-output-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        m_root = pattern;
        m_path = m_root + "/out.bin";
    }
    void TearDown() override { fs::remove_all(m_root); }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The names in the folder: only the target may be there once a write is over.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_root)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::string m_root;
    std::string m_path;
};

TEST_F(OutputFileTest, TheFileAppearsOnlyWhenCommittedAndKeepsThePermissionsItReplaces) {
    std::ofstream(m_path) << "old";
    ASSERT_EQ(0, chmod(m_path.c_str(), 0640));
    {
        base::TOutputFile file(m_path, "test file");
        file.Write("new data", 8);
        EXPECT_EQ("old", Read(m_path));  // not yet in place
        file.Commit();
    }
    EXPECT_EQ("new data", Read(m_path));
    EXPECT_EQ(fs::perms(0640), fs::status(m_path).permissions() & fs::perms::all);
    EXPECT_EQ(std::vector<std::string>{"out.bin"}, Names());
}

TEST_F(OutputFileTest, AnAbandonedFileLeavesWhatStoodThere) {
    std::ofstream(m_path) << "old";
    {
        base::TOutputFile file(m_path, "test file");
        file.Write("half", 4);
    }
    EXPECT_EQ("old", Read(m_path));
    EXPECT_EQ(std::vector<std::string>{"out.bin"}, Names());
}

TEST_F(OutputFileTest, AWriteThatFillsTheDiskLeavesWhatStoodThere) {
    // A file-size limit stands in for a full disk: writes past it fail with EFBIG.
    std::ofstream(m_path) << "old";
    rlimit saved{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
    std::string message;
    try {
        base::TOutputFile file(m_path, "test file");
        const std::string block(1024, 'x');
        for (int i = 0; i < 64; ++i) {
            file.Write(block.data(), block.size());
        }
        file.Commit();
    } catch (const base::Exception& e) {
        message = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ("Cannot write test file '" + m_path + "': File too large", message);
    EXPECT_EQ("old", Read(m_path));
    EXPECT_EQ(std::vector<std::string>{"out.bin"}, Names());
}

TEST_F(OutputFileTest, DevicesAreWrittenWhereTheyAreAndNeverReplaced) {
    {
        base::TOutputFile file("/dev/null", "test file");
        file.Write("data", 4);
        file.Commit();
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    try {
        base::TOutputFile file("/dev/full", "test file");
        file.Write("data", 4);
        file.Commit();
        FAIL() << "a full device took the data";
    } catch (const base::Exception& e) {
        EXPECT_EQ("Cannot write test file '/dev/full': No space left on device", e.Message());
    }
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(OutputFileTest, ALinkIsFollowedAndAMissingFolderIsReported) {
    std::ofstream(m_root + "/real.bin") << "old";
    fs::create_symlink("real.bin", m_path);
    {
        base::TOutputFile file(m_path, "test file");
        file.Write("new", 3);
        file.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ("new", Read(m_root + "/real.bin"));
    try {
        base::TOutputFile file(m_root + "/missing/x.bin", "test file");
        FAIL() << "no error";
    } catch (const base::Exception& e) {
        EXPECT_EQ(
            "Cannot create test file '" + m_root + "/missing/x.bin': No such file or directory",
            e.Message());
    }
}

// Runs body in a child process that is not the superuser (root may write any file, so a read-only
// file is read-only only to someone else) and returns what it wrote to its pipe.
std::string AsOrdinaryUser(const std::function<std::string()>& body) {
    constexpr uid_t kNobody = 65534;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return "no pipe";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::string said = "could not drop the superuser's rights";
        if (geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0)) {
            said = body();
        }
        (void)!write(pipeEnds[1], said.data(), said.size());
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string said;
    char buffer[256];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return said;
}

TEST_F(OutputFileTest, AFileTheUserMayNotWriteIsRefusedWithTheSystemsReasonAndKept) {
    // The folder is open to everyone, so only the file's own permission can stop the write.
    ASSERT_EQ(0, chmod(m_root.c_str(), 0777));
    std::ofstream(m_path) << "read-only";
    ASSERT_EQ(0, chmod(m_path.c_str(), 0444));
    fs::create_symlink("out.bin", m_root + "/link.bin");
    for (const std::string& named : {m_path, m_root + "/link.bin"}) {
        const std::string said = AsOrdinaryUser([&] {
            try {
                base::TOutputFile file(named, "test file");
                file.Write("new", 3);
                file.Commit();
                return std::string("replaced");
            } catch (const base::Exception& e) {
                return e.Message();
            }
        });
        EXPECT_EQ("Cannot create test file '" + named + "': Permission denied", said);
        EXPECT_EQ("read-only", Read(m_path));
    }
    EXPECT_EQ(2U, Names().size());  // no temporary file left beside them
    // A file the user may write is still replaced, by the same user.
    ASSERT_EQ(0, chmod(m_path.c_str(), 0666));
    EXPECT_EQ("done", AsOrdinaryUser([&] {
                  base::TOutputFile file(m_path, "test file");
                  file.Write("new", 3);
                  file.Commit();
                  return std::string("done");
              }));
    EXPECT_EQ("new", Read(m_path));
}

}  // namespace
