// The Key input window and the Options menu: the window shows the input in use, tries each
// choice at once (a port that cannot be opened is explained and the input in use stays), the
// lamp follows the key, OK saves the choice and Cancel or closing goes back.
#include "app/KeyInputForm.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "app/OptionsMenu.h"
#include "app/Startup.h"
#include "platform/FakeKeyDeviceCalls.h"
#include "platform/FakeSoundInputs.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/SettingsFile.h"
#include "support/MorseKeying.h"
#include "support/ToneSynth.h"

namespace {

namespace fs = std::filesystem;
using platform::TKeyInputKind;

class TButtonByte : public platform::IKeyState {
  public:
    uint8_t RightButtonState() override { return Byte; }
    uint8_t Byte = 0;
};

class KeyInputFormTest : public ::testing::Test {
  protected:
    KeyInputFormTest() : m_scopedCalls(m_calls) {
        app::RegisterClasses();
        m_calls.AddDevice("/dev/ttyS0", "dialout");
        m_calls.AddDevice("/dev/ttyUSB0", "dialout");
        m_calls.AddDevice("/dev/input/event2", "input");
        std::string pattern = (fs::temp_directory_path() / "keyvet-form-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        m_path = (m_folder / "keyvet" / "settings.ini").string();
        m_form = std::make_unique<app::TKeyInputForm>(nullptr);
        m_form->Connect(m_input, m_path);
    }
    ~KeyInputFormTest() override { fs::remove_all(m_folder); }

    // The status box's lines, each ended by "\n".
    std::string Status() const { return Lines(m_form->StatusMemo().Lines()); }
    static std::string Lines(const classes::TStringList& list) {
        std::string text;
        for (int32_t i = 0; i < list.Count(); ++i) {
            text += list.Strings(i) + "\n";
        }
        return text;
    }
    void Choose(forms::TComboBox& box, const std::string& item) {
        const int32_t index = box.IndexOf(item);
        ASSERT_GE(index, 0) << item;
        box.SetItemIndex(index);
    }

    platform::TFakeKeyDeviceCalls m_calls;
    platform::TScopedKeyDeviceCalls m_scopedCalls;
    TButtonByte m_button;
    platform::TKeyboardKey m_keyboard;
    platform::TKeyInput m_input{m_button, m_keyboard, m_calls};
    fs::path m_folder;
    std::string m_path;
    std::unique_ptr<app::TKeyInputForm> m_form;
};

TEST_F(KeyInputFormTest, OpensShowingTheInputInUse) {
    platform::TKeyInputSettings s;
    s.Kind = TKeyInputKind::kiSerialLine;
    s.SerialPort = "/dev/ttyUSB0";
    s.Line = platform::TSerialLine::slCts;
    s.Inverted = true;
    s.DebounceMs = 5;
    m_input.Apply(s);
    m_form->Open();
    EXPECT_TRUE(m_form->Visible());
    EXPECT_EQ(m_form->InputBox().Caption(), "Serial port status line");
    EXPECT_EQ(Lines(m_form->DeviceBox().Items()), "/dev/ttyS0\n/dev/ttyUSB0\n");
    EXPECT_EQ(m_form->DeviceBox().Caption(), "/dev/ttyUSB0");
    EXPECT_EQ(m_form->LineBox().Caption(), "CTS");
    EXPECT_TRUE(m_form->InvertedBox().Checked());
    EXPECT_EQ(m_form->DebounceBox().Caption(), "5");
    EXPECT_TRUE(m_form->LineBox().Enabled());
    EXPECT_FALSE(m_form->KeyBox().Enabled());
    EXPECT_FALSE(m_form->CodeEdit().Enabled());
    EXPECT_EQ(m_form->Choice(), s);
}

TEST_F(KeyInputFormTest, EachChoiceIsTriedAtOnceAndAPortWithoutPermissionIsExplained) {
    m_form->Open();
    Choose(m_form->InputBox(), "Serial port status line");
    // The first port present is tried at once.
    EXPECT_EQ(m_input.Settings().Kind, TKeyInputKind::kiSerialLine);
    EXPECT_EQ(m_input.Settings().SerialPort, "/dev/ttyS0");
    m_calls.SetOpenError("/dev/ttyUSB0", EACCES);
    Choose(m_form->DeviceBox(), "/dev/ttyUSB0");
    EXPECT_EQ(Status(),
              "Cannot open the serial port /dev/ttyUSB0: permission denied.\n"
              "Join the group dialout (sudo usermod -aG dialout $USER),\n"
              "then log out and in again.\n");
    EXPECT_EQ(m_input.Settings().SerialPort, "/dev/ttyS0");  // still the one that opened
    // The lamp says the chosen port gives no key, whatever the port in use does meanwhile.
    EXPECT_EQ(m_form->LampLabel().Caption(), "No key");
    m_calls.SetModemBits("/dev/ttyS0", platform::kModemDsr);
    m_form->FollowKey();
    EXPECT_EQ(m_form->LampLabel().Caption(), "No key");
    EXPECT_EQ(m_form->Lamp().Color(), gfx::clMaroon);
    // A choice that opens lets the lamp follow the key again.
    Choose(m_form->DeviceBox(), "/dev/ttyS0");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(m_form->LampLabel().Caption(), "Key down");
    EXPECT_EQ(m_form->Lamp().Color(), gfx::clLime);
    m_calls.SetModemBits("/dev/ttyS0", 0);
    m_form->FollowKey();
    EXPECT_EQ(m_form->LampLabel().Caption(), "Key up");
}

TEST_F(KeyInputFormTest, TheSoundIsChosenWithItsDeviceAndPitchAndShowsWhatItHears) {
    platform::TFakeSoundInputs sound;
    sound.AddDevice("default", 8000);
    sound.AddDevice("USB Audio CODEC: Audio (hw:1,0)", 8000);
    const platform::TScopedSoundInputs scoped(sound);
    m_form->Open();
    EXPECT_EQ(m_form->ToneLabel().Caption(), "");  // no sound in use
    EXPECT_FALSE(m_form->PitchBox().Enabled());
    Choose(m_form->InputBox(), "Sound (a Morse tone)");
    EXPECT_EQ(Lines(m_form->DeviceBox().Items()), "default\nUSB Audio CODEC: Audio (hw:1,0)\n");
    EXPECT_EQ(m_input.Settings().Kind, TKeyInputKind::kiSound);
    EXPECT_EQ(m_input.Settings().SoundDevice, "default");
    EXPECT_TRUE(m_form->PitchBox().Enabled());
    EXPECT_FALSE(m_form->InvertedBox().Enabled());
    EXPECT_FALSE(m_form->DebounceBox().Enabled());
    EXPECT_EQ(m_form->PitchBox().Caption(), "Automatic");
    EXPECT_EQ(m_form->ToneLabel().Caption(), "No tone yet");
    EXPECT_EQ(m_form->LampLabel().Caption(), "Key up");
    // A device that will not open: the reason, and the lamp says there is no key.
    sound.SetOpenFails("USB Audio CODEC: Audio (hw:1,0)", true);
    Choose(m_form->DeviceBox(), "USB Audio CODEC: Audio (hw:1,0)");
    EXPECT_NE(Status().find("cannot be opened"), std::string::npos);
    EXPECT_EQ(m_form->LampLabel().Caption(), "No key");
    sound.SetOpenFails("USB Audio CODEC: Audio (hw:1,0)", false);
    Choose(m_form->PitchBox(), "700");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(m_input.Settings().SoundDevice, "USB Audio CODEC: Audio (hw:1,0)");
    EXPECT_EQ(m_input.Settings().SoundPitchHz, 700u);
    // A keyed tone ending in a long mark: the meter shows its level and pitch, the lamp the key
    // as the detector decides it.
    std::vector<coach::TTransition> keyed = testsupport::KeyText("TEST TEST", {60, 0, 0, 1, 2});
    keyed.pop_back();
    testsupport::TSoundConditions conditions;
    conditions.PitchHz = 700;
    conditions.Amplitude = 0.1;  // -20 dB of full scale
    const std::vector<float> samples =
        testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 1500.0, conditions);
    ASSERT_TRUE(sound.Feed("USB Audio CODEC: Audio (hw:1,0)", samples, 0));
    for (int wait = 0; wait < 2000 && m_form->LampLabel().Caption() != "Key down"; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        m_form->FollowKey();
    }
    EXPECT_EQ(m_form->LampLabel().Caption(), "Key down");
    EXPECT_EQ(m_form->ToneLabel().Caption(), "Tone 700 Hz");
    // -20 dB on a meter from -60 to 0 dB: two thirds of its 156 pixels.
    EXPECT_NEAR(m_form->MeterBar().Width(), 104, 2);
    dynamic_cast<forms::TControl&>(*m_form->FindComponent("OKButton")).Click();
    const platform::TSettingsLoad saved = platform::LoadSettings(m_path);
    EXPECT_EQ(saved.Settings.Kind, TKeyInputKind::kiSound);
    EXPECT_EQ(saved.Settings.SoundDevice, "USB Audio CODEC: Audio (hw:1,0)");
    EXPECT_EQ(saved.Settings.SoundPitchHz, 700u);
    // Another input: the meter falls back and the device is closed.
    m_form->Open();
    Choose(m_form->InputBox(), "Right mouse button");
    EXPECT_FALSE(sound.IsOpen("USB Audio CODEC: Audio (hw:1,0)"));
    EXPECT_EQ(m_form->MeterBar().Width(), 0);
    EXPECT_EQ(m_form->ToneLabel().Caption(), "");
}

TEST_F(KeyInputFormTest, OkSavesTheChoiceAndCancelGoesBack) {
    m_form->Open();
    Choose(m_form->InputBox(), "Input device");
    EXPECT_EQ(m_form->DeviceBox().Caption(), "/dev/input/event2");
    m_calls.SetKeyCodes("/dev/input/event2", {0x110});
    m_form->CodeEdit().SetText("272");
    dynamic_cast<forms::TControl&>(*m_form->FindComponent("CodeButton")).Click();
    EXPECT_EQ(Status(), "");
    Choose(m_form->DebounceBox(), "20");
    dynamic_cast<forms::TControl&>(*m_form->FindComponent("OKButton")).Click();
    EXPECT_FALSE(m_form->Visible());
    const platform::TSettingsLoad saved = platform::LoadSettings(m_path);
    EXPECT_EQ(saved.Message, "");
    EXPECT_EQ(saved.Settings.Kind, TKeyInputKind::kiInputDevice);
    EXPECT_EQ(saved.Settings.InputDevice, "/dev/input/event2");
    EXPECT_EQ(saved.Settings.DeviceCode, 272u);
    EXPECT_EQ(saved.Settings.DebounceMs, 20);
    EXPECT_EQ(m_input.Settings(), saved.Settings);

    // Tried and cancelled: the input and the file stay as OK left them.
    m_form->Open();
    Choose(m_form->InputBox(), "Keyboard key");
    m_form->InvertedBox().Click();
    EXPECT_EQ(m_input.Settings().Kind, TKeyInputKind::kiKeyboardKey);
    dynamic_cast<forms::TControl&>(*m_form->FindComponent("CancelButton")).Click();
    EXPECT_EQ(m_input.Settings(), saved.Settings);
    EXPECT_EQ(platform::LoadSettings(m_path).Settings, saved.Settings);
    // Closing the window (its close box) is a Cancel too.
    m_form->Open();
    Choose(m_form->InputBox(), "Right mouse button");
    m_form->Close();
    EXPECT_EQ(m_input.Settings(), saved.Settings);
}

TEST_F(KeyInputFormTest, ACodeThatIsNoKeyCodeIsRefused) {
    m_form->Open();
    Choose(m_form->InputBox(), "Input device");
    for (const char* code : {"768", "-1", "x", ""}) {
        m_form->CodeEdit().SetText(code);
        EXPECT_THROW(m_form->Choice(), platform::EKeyInputError) << code;
    }
    dynamic_cast<forms::TControl&>(*m_form->FindComponent("CodeButton")).Click();
    EXPECT_EQ(Status(), "The key or button code must be a whole number from 0 to 767.\n");
    EXPECT_THROW(dynamic_cast<forms::TControl&>(*m_form->FindComponent("OKButton")).Click(),
                 platform::EKeyInputError);
    EXPECT_TRUE(m_form->Visible());
    EXPECT_FALSE(fs::exists(m_path));
}

TEST(OptionsMenuTest, OptionsComesJustBeforeHelpAndOpensTheKeyInputWindow) {
    platform::TIsolatedSystemServices system;
    app::RegisterClasses();
    forms::TApplication& application = forms::TApplication::Instance();
    auto main = std::make_unique<app::TForm1>(nullptr);
    app::TForm1& form = *main;
    application.AddForm(std::move(main));
    app::TKeyInputForm& window = app::AddOptionsMenu(application, form);
    const forms::TMenuItem& bar = form.Menu()->Items();
    ASSERT_EQ(bar.Count(), 2);
    EXPECT_EQ(bar.Items(0)->Caption(), "Options");
    EXPECT_EQ(bar.Items(1)->Caption(), "Help");
    ASSERT_EQ(bar.Items(0)->Count(), 1);
    EXPECT_EQ(bar.Items(0)->Items(0)->Caption(), "Key input\u2026");
    bar.Items(0)->Items(0)->Click();
    EXPECT_TRUE(window.Visible());
    application.DestroyForms();
}

TEST(OptionsMenuTest, TheDisplaySizeInForceIsTheOneChecked) {
    platform::TIsolatedSystemServices system;
    app::RegisterClasses();
    forms::TApplication& application = forms::TApplication::Instance();
    auto main = std::make_unique<app::TForm1>(nullptr);
    app::TForm1& form = *main;
    application.AddForm(std::move(main));
    app::AddOptionsMenu(application, form);
    int32_t inForce = 150;
    app::AddDisplaySizeMenu(
        form, [&inForce] { return inForce; }, [&inForce](int32_t chosen) { inForce = chosen; });
    forms::TMenuItem& sizes = *form.Menu()->Items().Items(0)->Items(1);
    ASSERT_EQ(sizes.Caption(), "Display size");
    ASSERT_EQ(sizes.Count(), 5);
    const auto checked = [&sizes] {
        std::vector<std::string> captions;
        for (int32_t i = 0; i < sizes.Count(); ++i) {
            forms::TMenuItem& item = *sizes.Items(i);
            item.Update();
            EXPECT_TRUE(item.RadioItem());
            if (item.Checked()) {
                captions.push_back(item.Caption());
            }
        }
        return captions;
    };
    EXPECT_EQ(checked(), std::vector<std::string>{"150 %"});
    sizes.Items(4)->Click();  // automatic
    EXPECT_EQ(inForce, 0);
    EXPECT_EQ(checked(), std::vector<std::string>{"Automatic (from the screen's resolution)"});
    application.DestroyForms();
}

}  // namespace
