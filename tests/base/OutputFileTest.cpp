// Output files: complete files appear under their name at once; a failed or abandoned write
// leaves what stood at the path and no temporary file; devices are written where they are.
#include "base/OutputFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

}  // namespace
