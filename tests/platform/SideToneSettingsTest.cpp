// The side-tone's pitch and volume: the designed tone by default, the divisor of every pitch, bad
// values keeping their defaults, and the [side-tone] section kept by every writer of the file.
#include "platform/SideToneSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/PortBus.h"
#include "platform/SettingsFile.h"
#include "platform/ToneRenderer.h"
#include "support/TempFolder.h"

namespace platform {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SideToneSettingsTest, TheDefaultsAreTheDesignedToneAndLevel) {
    const TSideToneSettings designed;
    EXPECT_EQ(designed.Divisor(), 1500);
    EXPECT_EQ(designed.Level(), 0.25f);
    EXPECT_EQ(designed.Level(), kToneAmplitude);
    TSideToneSettings louder;
    louder.VolumePercent = 200;
    EXPECT_EQ(louder.Level(), 0.5f);
    louder.VolumePercent = 0;
    EXPECT_EQ(louder.Level(), 0.0f);
}

TEST(SideToneSettingsTest, EveryPitchSoundsAtItOrLessThanOneDivisorStepAbove) {
    // The divisor is the largest whose tone is not below the pitch: one more would be.
    for (int32_t hz = TSideToneSettings::kMinPitchHz; hz <= TSideToneSettings::kMaxPitchHz; ++hz) {
        TSideToneSettings s;
        s.PitchHz = hz;
        const double divisor = s.Divisor();
        EXPECT_GE(kTimerClockHz / divisor, hz) << hz << " Hz";
        EXPECT_LT(kTimerClockHz / (divisor + 1), hz) << hz << " Hz";
        EXPECT_LT(kTimerClockHz / divisor - hz, 2.0) << hz << " Hz";
    }
}

TEST(SideToneSettingsTest, ValuesOutsideTheirRangeKeepTheDefaultsAndAreNamed) {
    const TSettingsRead read = ParseSettings(
        "[side-tone]\npitch-hz = 299\nvolume = 201\npitch-hz = 800.5\nvolume = -1\n"
        "pitch-hz = 1501\nvolume = loud\npitch = 700\n");
    EXPECT_EQ(read.SideTone, TSideToneSettings());
    ASSERT_EQ(read.Problems.size(), 7u);
    EXPECT_EQ(read.Problems[0],
              "line 2: the side-tone pitch must be a whole number of hertz from 300 to 1500, not "
              "'299'");
    EXPECT_EQ(read.Problems[1],
              "line 3: the side-tone volume must be a whole percentage from 0 to 200, not '201'");
    EXPECT_EQ(read.Problems[6], "line 8: unknown setting 'pitch'");
    // The ends of the ranges are taken.
    const TSettingsRead ends =
        ParseSettings("[side-tone]\npitch-hz = 1500\nvolume = 0\n[window]\nlive-monitor = 1\n");
    EXPECT_TRUE(ends.Problems.empty());
    EXPECT_EQ(ends.SideTone.PitchHz, 1500);
    EXPECT_EQ(ends.SideTone.VolumePercent, 0);
    EXPECT_TRUE(ends.Window.MonitorOpen);
}

TEST(SideToneSettingsTest, TheSectionIsKeptByEveryWriterAndKeepsEveryOtherLine) {
    testsupport::TTempFolder folder;
    const std::filesystem::path path = std::filesystem::path(folder.Path()) / "settings.ini";
    const std::string others =
        "# mine\n[key-input]\ninput = keyboard-key\n\n[practice]\ntext = PARIS\n; note\n";
    std::ofstream(path) << others;
    TSideToneSettings chosen;
    chosen.PitchHz = 600;
    chosen.VolumePercent = 50;
    SaveSideToneSettings(path.string(), chosen);
    EXPECT_EQ(ReadAll(path), others + "[side-tone]\npitch-hz = 600\nvolume = 50\n");
    // Chosen again: the section is replaced, not repeated.
    chosen.PitchHz = 1000;
    SaveSideToneSettings(path.string(), chosen);
    EXPECT_EQ(ReadAll(path), others + "[side-tone]\npitch-hz = 1000\nvolume = 50\n");

    // The key input, the window and the practice text written afterwards keep it.
    TKeyInputSettings keyInput;
    keyInput.Inverted = true;
    SaveSettings(path.string(), keyInput);
    TWindowSettings window;
    window.DisplaySize = 150;
    SaveWindowSettings(path.string(), window);
    SavePracticeText(path.string(), "CQ");
    const TSettingsLoad load = LoadSettings(path.string());
    EXPECT_EQ(load.Message, "");
    EXPECT_EQ(load.SideTone, chosen);
    EXPECT_EQ(load.Settings, keyInput);
    EXPECT_EQ(load.Window, window);
    EXPECT_EQ(load.PracticeText, "CQ");
    const std::string text = ReadAll(path);
    EXPECT_EQ(text.find("[side-tone]"), text.rfind("[side-tone]"));

    // A file that never had the section gets none from the other writers.
    const std::filesystem::path plain = std::filesystem::path(folder.Path()) / "plain.ini";
    SaveSettings(plain.string(), keyInput);
    EXPECT_EQ(ReadAll(plain).find("[side-tone]"), std::string::npos);
    EXPECT_EQ(LoadSettings(plain.string()).SideTone, TSideToneSettings());
}

}  // namespace
}  // namespace platform
