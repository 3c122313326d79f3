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

namespace {

constexpr int32_t kSamplesPerMs = 48;
constexpr int32_t kEdgeToleranceMs = 2;

std::vector<int16_t> WavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file(std::istreambuf_iterator<char>(in), {});
    std::vector<int16_t> out;
    for (size_t i = 44; i + 1 < file.size(); i += 2) {
        out.push_back(static_cast<int16_t>(file[i] | (file[i + 1] << 8)));
    }
    return out;
}

// Whole cycles between the first and the last rising edge over the time between them (Hz).
double MeasuredFrequency(const std::vector<int16_t>& s, int32_t from, int32_t to) {
    int32_t first = -1;
    int32_t last = -1;
    int32_t cycles = -1;
    for (int32_t i = from + 1; i < to; ++i) {
        if (s[i - 1] < 0 && s[i] > 0) {
            first = first < 0 ? i : first;
            last = i;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * 48000.0 / (last - first) : 0.0;
}

class ReplayWavTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "keyvet-replay-wav-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        m_root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    // Runs the built tool with arguments; returns its exit status.
    int Run(const std::string& arguments) const {
        const char* binaryDir = std::getenv("KEYVET_BINARY_DIR");
        const std::string tool =
            std::string(binaryDir != nullptr ? binaryDir : ".") + "/tools/keyvet-replay";
        const int status = std::system(
            (tool + " " + arguments + " >" + m_root + "/out 2>" + m_root + "/err").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

    const std::vector<int16_t> s = WavSamples(m_root + "/run.wav");
    ASSERT_NEAR(finishMs * kSamplesPerMs, static_cast<double>(s.size()), kSamplesPerMs);
    double start = 0;
    for (size_t k = 0; k <= changes.size(); ++k) {
        const double end =
            k < changes.size() ? changes[k] : static_cast<double>(s.size()) / kSamplesPerMs;
        const bool down = k % 2 == 1;
        SCOPED_TRACE((down ? "key down " : "key up ") + std::to_string(start) + "-" +
                     std::to_string(end) + " ms");
        const auto from = static_cast<int32_t>(start * kSamplesPerMs);
        const auto to = static_cast<int32_t>(end * kSamplesPerMs);
        const int32_t margin = kEdgeToleranceMs * kSamplesPerMs;
        if (down) {
            int32_t firstSound = -1;
            int32_t lastSound = -1;
            for (int32_t i = std::max(0, from - margin);
                 i < std::min<int32_t>(to + margin, s.size()); ++i) {
                if (s[i] != 0) {
                    firstSound = firstSound < 0 ? i : firstSound;
                    lastSound = i;
                }
            }
            EXPECT_LE(std::abs(firstSound - from), margin);
            EXPECT_LE(std::abs(lastSound + 1 - to), margin);
            EXPECT_NEAR(795.0, MeasuredFrequency(s, from, to), 1.0);
        } else {
            for (int32_t i = from + (k == 0 ? 0 : margin); i < to - margin; ++i) {
                ASSERT_EQ(0, s[i]) << "sample " << i;
            }
        }
        start = end;
    }
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

}  // namespace
