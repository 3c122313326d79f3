// keyvet-replay --audio: a recording of a keyed tone prints what a script of its keying prints,
// and a file that is no usable recording is refused in one message with status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "replay/SoundScript.h"
#include "support/MorseKeying.h"
#include "support/TempFolder.h"
#include "support/ToneSynth.h"
#include "support/ToolRun.h"

namespace {

using testsupport::TToolRun;

TToolRun Replay(const std::string& arguments) {
    return testsupport::RunBuiltTool("keyvet-replay", arguments);
}

// The keying of the tests' recordings: two words at 20 wpm, jittered, from 1 s.
std::vector<coach::TTransition> Keying(uint32_t seed = 4) {
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    style.WeightMs = 6;
    style.Seed = seed;
    std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS CQ", style);
    for (coach::TTransition& change : keyed) {
        change.TimeMs += 900;
    }
    return keyed;
}

std::string ScriptOf(const std::vector<coach::TTransition>& keyed) {
    std::ostringstream script;
    for (const coach::TTransition& change : keyed) {
        script << change.TimeMs << (change.Down ? " down\n" : " up\n");
    }
    return script.str();
}

// The value of the line that starts with `name` TAB.
std::string Box(const std::string& out, const std::string& name) {
    const size_t at = out.find(name + "\t");
    if (at == std::string::npos) {
        return "(none)";
    }
    const size_t from = at + name.size() + 1;
    return out.substr(from, out.find('\n', from) - from);
}

class ReplayAudioTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::vector<float>& samples,
                      uint32_t rate = 8000) {
        const std::string path = m_folder.Path() + "/" + name;
        testsupport::WritePcmWav(path, samples, rate);
        return path;
    }
    std::string WriteScript(const std::string& text) {
        const std::string path = m_folder.Path() + "/keying.txt";
        std::ofstream(path) << text;
        return path;
    }
    testsupport::TTempFolder m_folder;
};

TEST_F(ReplayAudioTest, ACleanRecordingPrintsWhatItsKeyingPrints) {
    const std::vector<coach::TTransition> keyed = Keying();
    testsupport::TSoundConditions c;
    const std::string wav =
        Write("clean.wav", testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 700, c));
    const TToolRun heard = Replay("--details --audio " + wav);
    const TToolRun typed = Replay("--details " + WriteScript(ScriptOf(keyed)));
    ASSERT_EQ(heard.Status, 0) << heard.Err;
    ASSERT_EQ(typed.Status, 0) << typed.Err;
    EXPECT_EQ(heard.Err, "");
    // Every change within a hundredth of a millisecond: the capture logs the same polls.
    EXPECT_EQ(heard.Out, typed.Out);
    EXPECT_EQ(Box(heard.Out, "ReadBack"), "PARIS CQ");
}

TEST_F(ReplayAudioTest, ANoisyRecordingKeepsTheBoxesWithinAMillisecondAndAMeritPoint) {
    for (const uint32_t seed : {4u, 5u, 6u}) {
        const std::vector<coach::TTransition> keyed = Keying(seed);
        testsupport::TSoundConditions c;
        c.SnrDb = 10;
        c.SampleRate = 22050;
        c.Seed = seed;
        const std::string wav = Write(
            "noisy.wav", testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 700, c), 22050);
        const TToolRun heard = Replay("--audio " + wav);
        const TToolRun typed = Replay(WriteScript(ScriptOf(keyed)));
        ASSERT_EQ(heard.Status, 0) << heard.Err;
        for (const char* average : {"Edit1", "Edit2", "Edit3", "Edit4"}) {
            EXPECT_NEAR(std::stod(Box(heard.Out, average)), std::stod(Box(typed.Out, average)), 1)
                << average << " seed " << seed;
        }
        for (const char* merit : {"Edit7", "Edit11"}) {
            EXPECT_NEAR(std::stod(Box(heard.Out, merit)), std::stod(Box(typed.Out, merit)), 1)
                << merit << " seed " << seed;
        }
    }
}

TEST_F(ReplayAudioTest, ThePitchCanBeSetAndTheChartWritten) {
    const std::vector<coach::TTransition> keyed = Keying();
    testsupport::TSoundConditions c;
    c.PitchHz = 900;
    const std::string wav =
        Write("set.wav", testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 700, c));
    const std::string chart = m_folder.Path() + "/chart.png";
    const TToolRun run = Replay("--chart " + chart + " --audio " + wav + " --pitch 900");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(std::filesystem::exists(chart));
    // Set far from the tone, the pitch hears nothing.
    const TToolRun off = Replay("--audio " + wav + " --pitch 400");
    EXPECT_EQ(off.Status, 2);
    EXPECT_EQ(off.Out, "");
    EXPECT_EQ(off.Err,
              "keyvet-replay: no keyed Morse tone found in " + wav + " (looked at 400 Hz)\n");
}

TEST_F(ReplayAudioTest, WhatIsNoUsableRecordingIsRefusedInOneMessage) {
    std::vector<float> noise(16000);
    std::mt19937 engine(1);
    std::normal_distribution<double> gauss(0, 0.1);
    for (float& sample : noise) {
        sample = static_cast<float>(gauss(engine));
    }
    const std::string text = WriteScript("100 down\n160 up\n");
    const std::string empty = Write("empty.wav", {});
    const std::string shortOne = Write("short.wav", std::vector<float>(3000, 0.0f));
    const std::string quiet = Write("noise.wav", noise);
    const std::string slow = Write("slow.wav", std::vector<float>(6000, 0.0f), 4000);
    const std::pair<std::string, std::string> cases[] = {
        {text, text + " is not a sound file that can be read ("},
        {empty, empty + " holds no sound"},
        {m_folder.Path() + "/none.wav",
         "cannot read " + m_folder.Path() + "/none.wav: no such file"},
        {shortOne, shortOne + " is too short (0.38 s): a recording needs at least 0.50 s of sound"},
        {quiet, "no keyed Morse tone found in " + quiet + " (looked between 300 and 1500 Hz)"},
        {slow, slow + ": the sample rate 4000 Hz is outside the 8000 to 192000 Hz a tone can be "
                      "found in"},
    };
    for (const auto& [path, message] : cases) {
        const TToolRun run = Replay("--audio " + path);
        EXPECT_EQ(run.Status, 2) << path;
        EXPECT_EQ(run.Out, "") << path;
        EXPECT_EQ(run.Err.rfind("keyvet-replay: " + message, 0), 0u) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    }
}

TEST_F(ReplayAudioTest, AudioOptionsOutOfPlaceAreAMisuse) {
    const std::string wav = Write("a.wav", std::vector<float>(8000, 0.0f));
    const std::string script = WriteScript("100 down\n160 up\n");
    for (const std::string& arguments :
         std::vector<std::string>{"--audio " + wav + " " + script, "--pitch 700 " + script,
                                  "--audio", "--audio " + wav + " --pitch"}) {
        const TToolRun run = Replay(arguments);
        EXPECT_EQ(run.Status, 2) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
        // An option without its value is named first, then the usage follows.
        EXPECT_NE(run.Err.find("usage: keyvet-replay"), std::string::npos)
            << arguments << ": " << run.Err;
    }
    EXPECT_EQ(Replay("--audio " + wav + " --pitch").Err.rfind(
                  "keyvet-replay: option '--pitch' needs a pitch in Hz\n", 0),
              0u);
    for (const std::string pitch : {"abc", "0", "-700", "700Hz"}) {
        const TToolRun run = Replay("--audio " + wav + " --pitch " + pitch);
        EXPECT_EQ(run.Status, 2) << pitch;
        EXPECT_EQ(run.Err, "keyvet-replay: --pitch wants a pitch in Hz, found '" + pitch + "'\n");
    }
}

TEST(SoundScriptTest, ChangesBecomeEventsInMillisecondsAndProgressIsReported) {
    testsupport::TTempFolder folder;
    const std::vector<coach::TTransition> keyed = Keying();
    testsupport::TSoundConditions c;
    c.SampleRate = 11025;
    const std::string path = folder.Path() + "/a.wav";
    testsupport::WritePcmWav(
        path, testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 700, c), 11025);
    std::vector<double> shares;
    const replay::TReplayScript script =
        replay::ScriptFromSound(path, 0, [&](double share) { shares.push_back(share); });
    ASSERT_EQ(script.Events.size(), keyed.size());
    for (size_t i = 0; i < keyed.size(); ++i) {
        EXPECT_NEAR(script.Events[i].TimeMs, keyed[i].TimeMs, 0.01) << i;
        EXPECT_EQ(script.Events[i].Down, keyed[i].Down) << i;
    }
    EXPECT_EQ(script.Initial, 0);
    ASSERT_FALSE(shares.empty());
    EXPECT_EQ(shares.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
}

}  // namespace
