// The front end's side-tone: the settings file's pitch and volume reach the capture's divisor and
// the sound card's level at start-up, a choice takes effect at once and is kept, and the
// defaults are the designed tone.
#include "ui/FrontEnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/SettingsFile.h"
#include "platform/ToneRenderer.h"
#include "support/FrontEndFixture.h"
#include "support/TempFolder.h"

namespace {

class FrontEndTest : public testsupport::TFrontEndFixture {
  protected:
    void TearDown() override {
        platform::SetSideToneLevel(platform::kToneAmplitude);
        testsupport::TFrontEndFixture::TearDown();
    }
    testsupport::TTempFolder m_folder;
    std::string m_path = (std::filesystem::path(m_folder.Path()) / "settings.ini").string();
};

TEST_F(FrontEndTest, WithoutSettingsTheSideToneIsAsDesigned) {
    m_frontEnd->LoadSettings(m_path);  // no file
    EXPECT_EQ(m_form1->SideToneDivisor(), 1500);
    EXPECT_EQ(platform::SideToneLevel(), 0.25f);
}

TEST_F(FrontEndTest, TheSettingsFilesSideToneIsPutInPlaceAndAChoiceIsKept) {
    std::ofstream(m_path) << "[side-tone]\npitch-hz = 600\nvolume = 50\n";
    m_frontEnd->LoadSettings(m_path);
    // 1193182 Hz / 600 Hz is 1988.6: the divisor 1988 sounds 600.2 Hz.
    EXPECT_EQ(m_form1->SideToneDivisor(), 1988);
    EXPECT_EQ(platform::SideToneLevel(), 0.125f);
    platform::TSideToneSettings chosen = m_frontEnd->SideTone();
    chosen.PitchHz = 1000;
    m_frontEnd->ChooseSideTone(chosen);
    EXPECT_EQ(m_form1->SideToneDivisor(), 1193);
    EXPECT_EQ(platform::LoadSettings(m_path).SideTone, chosen);
    EXPECT_EQ(platform::LoadSettings(m_path).SideTone.VolumePercent, 50);
}

}  // namespace
