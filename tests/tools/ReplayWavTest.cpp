// keyvet-replay --wav: the side-tone of a replayed keying, recorded to a WAV file, is a 795 Hz
// tone in every key-down interval and silence in every key-up interval, edges within 2 ms.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/SideToneCheck.h"

namespace {

class ReplayWavTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "keyvet-replay-wav-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        m_root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    // Runs the built tool with arguments, after the shell commands `before` (a limit); returns
    // its exit status.
    int Run(const std::string& arguments, const std::string& before = "") const {
        const char* binaryDir = std::getenv("KEYVET_BINARY_DIR");
        const std::string tool =
            std::string(binaryDir != nullptr ? binaryDir : ".") + "/tools/keyvet-replay";
        const std::string command =
            before + tool + " " + arguments + " >" + m_root + "/out 2>" + m_root + "/err";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(m_root + "/" + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    size_t FileCount() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_root),
                                                 std::filesystem::directory_iterator()));
    }

    std::string m_root;
};

TEST_F(ReplayWavTest, TheRecordedSideToneFollowsTheKey) {
    // "K A" at about 20 wpm with a hand's uneven timing; Finish 150 ms after the last release.
    const std::vector<double> changes = {100, 282.5, 341, 401, 465.25, 648, 833, 895, 957, 1141};
    const double finishMs = 1291;
    std::ofstream script(m_root + "/run.txt");
    script << "rate 20\ninitial 1\nfinish " << finishMs << "\n";
    for (size_t k = 0; k < changes.size(); ++k) {
        script << changes[k] << (k % 2 == 0 ? " down\n" : " up\n");
    }
    script.close();
    ASSERT_EQ(0, Run("--wav " + m_root + "/run.wav " + m_root + "/run.txt"));

    const std::vector<int16_t> s = support::WavSamples(m_root + "/run.wav");
    ASSERT_NEAR(finishMs * support::kSamplesPerMs, static_cast<double>(s.size()),
                support::kSamplesPerMs);
    support::ExpectToneFollowsKey(s, changes,
                                  static_cast<double>(s.size()) / support::kSamplesPerMs);
}

TEST_F(ReplayWavTest, AnUnwritableWavFileOrAMissingNameIsAnError) {
    std::ofstream(m_root + "/run.txt") << "100 down\n200 up\n";
    EXPECT_EQ(1, Run("--wav /nonexistent-dir/x.wav " + m_root + "/run.txt"));
    std::ifstream err(m_root + "/err");
    const std::string message((std::istreambuf_iterator<char>(err)), {});
    EXPECT_NE(std::string::npos, message.find("Cannot create WAV file '/nonexistent-dir/x.wav'"));
    EXPECT_EQ(2, Run("--wav"));
    EXPECT_EQ(2, Run(m_root + "/run.txt --wav"));
}

TEST_F(ReplayWavTest, AFillingDiskFailsTheRunAndLeavesTheFilesThatStoodThere) {
    // A file-size limit of a few kilobytes stands in for a disk that fills: the recording and
    // the chart are each larger, the printed results and messages smaller.
    const std::string filling = "trap \"\" XFSZ; ulimit -f 4; ";
    std::ofstream(m_root + "/run.txt") << "100 down\n200 up\nfinish 1000\n";
    std::ofstream(m_root + "/run.wav") << "an earlier recording";
    std::ofstream(m_root + "/run.png") << "an earlier chart";
    EXPECT_EQ(1, Run("--wav " + m_root + "/run.wav " + m_root + "/run.txt", filling));
    EXPECT_NE(std::string::npos,
              Read("err").find("Cannot write WAV file '" + m_root + "/run.wav': File too large"))
        << Read("err");
    EXPECT_EQ("an earlier recording", Read("run.wav"));
    EXPECT_EQ(1, Run("--chart " + m_root + "/run.png " + m_root + "/run.txt", filling));
    EXPECT_NE(std::string::npos,
              Read("err").find("Cannot write PNG image '" + m_root + "/run.png': File too large"))
        << Read("err");
    EXPECT_EQ("an earlier chart", Read("run.png"));
    EXPECT_EQ(5u, FileCount());  // run.txt, run.wav, run.png, out, err: no temporary left
    // Without the limit both are written whole, in place of the earlier ones.
    EXPECT_EQ(0, Run("--wav " + m_root + "/run.wav --chart " + m_root + "/run.png " + m_root +
                     "/run.txt"));
    EXPECT_EQ(std::string("RIFF"), Read("run.wav").substr(0, 4));
    EXPECT_EQ(std::string("\x89PNG"), Read("run.png").substr(0, 4));
    EXPECT_EQ(5u, FileCount());
}

TEST_F(ReplayWavTest, AFullDeviceIsAnErrorAndStaysADevice) {
    std::ofstream(m_root + "/run.txt") << "100 down\n200 up\n";
    EXPECT_EQ(1, Run("--wav /dev/full " + m_root + "/run.txt"));
    EXPECT_NE(std::string::npos,
              Read("err").find("Cannot write WAV file '/dev/full': No space left on device"))
        << Read("err");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

}  // namespace
