// The settings file: a round trip of every setting, damaged and unknown settings falling back
// to their defaults with one message, where the file lives, and a folder that cannot be written.
#include "platform/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Exceptions.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class TTempFolder {
  public:
    TTempFolder() {
        std::string pattern = (fs::temp_directory_path() / "keyvet-settings-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TTempFolder() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }

  private:
    fs::path m_path;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TKeyInputSettings Unusual() {
    TKeyInputSettings s;
    s.Kind = TKeyInputKind::kiInputDevice;
    s.SerialPort = "/dev/ttyACM3";
    s.Line = TSerialLine::slRi;
    s.KeyboardKey = 0x20;
    s.InputDevice = "/dev/input/by-id/usb-key-event-kbd";
    s.DeviceCode = 767;
    s.Inverted = true;
    s.DebounceMs = 20;
    return s;
}

TEST(KeyInputSettingsTest, EverySettingSurvivesARoundTrip) {
    const TSettingsRead read = ParseSettings(FormatSettings(Unusual()));
    EXPECT_TRUE(read.Problems.empty());
    EXPECT_EQ(read.Settings, Unusual());
    for (TKeyInputKind kind : {TKeyInputKind::kiRightButton, TKeyInputKind::kiSerialLine,
                               TKeyInputKind::kiKeyboardKey}) {
        TKeyInputSettings s;
        s.Kind = kind;
        EXPECT_EQ(ParseSettings(FormatSettings(s)).Settings, s) << KindName(kind);
    }
}

TEST(KeyInputSettingsTest, TheSoundKeysSettingsSurviveARoundTripAndAreWrittenOnlyWhenChosen) {
    TKeyInputSettings s;
    s.Kind = TKeyInputKind::kiSound;
    // Device names as PortAudio gives them: blanks, colons, commas and brackets.
    s.SoundDevice = "HDA Intel PCH: ALC892 Analog (hw:0,0)";
    s.SoundPitchHz = 3000;
    TSettingsRead read = ParseSettings(FormatSettings(s));
    EXPECT_TRUE(read.Problems.empty());
    EXPECT_EQ(read.Settings, s);
    s.SoundPitchHz = 100;
    EXPECT_EQ(ParseSettings(FormatSettings(s)).Settings, s);
    // The default device and a pitch found by itself add no lines: files written before stay as
    // they were.
    const std::string plain = FormatSettings(TKeyInputSettings());
    EXPECT_EQ(plain.find("sound"), std::string::npos);
    read = ParseSettings(
        "input = sound\n"
        "sound-pitch-hz = 99\n"     // 2: one below the lowest pitch
        "sound-pitch-hz = 3001\n"   // 3: one above the highest
        "sound-pitch-hz = 650.5\n"  // 4
        "sound-device = \n"         // 5: no name
        "sound-device = a\tb\n"     // 6: a control character
        "sound-pitch-hz = 0\n");    // 7: found by itself
    EXPECT_EQ(read.Settings.Kind, TKeyInputKind::kiSound);
    EXPECT_EQ(read.Settings.SoundPitchHz, 0u);
    EXPECT_EQ(read.Settings.SoundDevice, "");
    ASSERT_EQ(read.Problems.size(), 5u);
    EXPECT_EQ(read.Problems[0],
              "line 2: the sound pitch must be 0 (found by itself) or a whole number of hertz "
              "from 100 to 3000, not '99'");
    EXPECT_EQ(read.Problems[3].substr(0, 32), "line 5: not a sound device's nam");
}

TEST(KeyInputSettingsTest, AHandWrittenFileIsRead) {
    const TSettingsRead read = ParseSettings(
        "; comment\r\n[key-input]\r\n  input=serial-line \r\nserial-port = /dev/ttyUSB0\n"
        "serial-line = CTS\n#inverted = 1\ndebounce-ms = 0\ndebounce-ms = 7");
    EXPECT_TRUE(read.Problems.empty()) << read.Problems[0];
    EXPECT_EQ(read.Settings.Kind, TKeyInputKind::kiSerialLine);
    EXPECT_EQ(read.Settings.SerialPort, "/dev/ttyUSB0");
    EXPECT_EQ(read.Settings.Line, TSerialLine::slCts);
    EXPECT_FALSE(read.Settings.Inverted);
    EXPECT_EQ(read.Settings.DebounceMs, 7);
}

TEST(KeyInputSettingsTest, DamagedSettingsKeepTheirDefaultsAndAreEachNamed) {
    const TSettingsRead read = ParseSettings(
        "[key-input]\n"
        "input = keyboard-key\n"   // 2: good
        "debounce-ms = 21\n"       // 3: one past the range
        "debounce-ms = -1\n"       // 4
        "device-code = 768\n"      // 5: one past the highest code
        "inverted = yes\n"         // 6
        "serial-port = ttyUSB0\n"  // 7: not a device path
        "serial-line = DTR\n"      // 8: an output line, not a status line
        "keyboard-key = F13\n"     // 9
        "colour = blue\n"          // 10
        "garbage\n"                // 11
        "[colours]\n"              // 12: an unknown section's settings are not ours
        "input = serial-line\n"
        "[key-input]\n"
        "device-code = 767\n");  // 15: the highest code is good
    EXPECT_EQ(read.Settings.Kind, TKeyInputKind::kiKeyboardKey);
    EXPECT_EQ(read.Settings.DebounceMs, 0);
    EXPECT_EQ(read.Settings.DeviceCode, 767u);
    EXPECT_FALSE(read.Settings.Inverted);
    EXPECT_TRUE(read.Settings.SerialPort.empty());
    EXPECT_EQ(read.Settings.Line, TSerialLine::slDsr);
    EXPECT_EQ(read.Settings.KeyboardKey, TKeyboardKey::kLeftCtrl);
    std::string lines;
    for (const std::string& problem : read.Problems) {
        lines += problem.substr(0, problem.find(':')) + ",";
    }
    EXPECT_EQ(lines, "line 3,line 4,line 5,line 6,line 7,line 8,line 9,line 10,line 11,line 12,");
    EXPECT_EQ(read.Problems[0],
              "line 3: the debounce time must be a whole number of milliseconds from 0 to 20, "
              "not '21'");
    EXPECT_EQ(read.Problems[7], "line 10: unknown setting 'colour'");
}

TEST(KeyInputSettingsTest, BinaryOrHugeTextIsReadSafely) {
    const std::string binary("input = \x01\xff\x7f\n\0\0debounce-ms=\x80", 26);
    const TSettingsRead read = ParseSettings(binary);
    EXPECT_EQ(read.Settings, TKeyInputSettings());
    EXPECT_EQ(read.Problems[0].find('\x01'), std::string::npos);  // shown, not echoed raw
    const std::string huge(kMaxSettingsBytes + 10, '#');
    EXPECT_EQ(ParseSettings(huge).Problems.size(), 1u);
}

TEST(SettingsFileTest, TheFileLivesInTheConfigFolder) {
    EXPECT_EQ(SettingsPath("/x/config", "/home/op"), "/x/config/keyvet/settings.ini");
    EXPECT_EQ(SettingsPath("relative", "/home/op"), "/home/op/.config/keyvet/settings.ini");
    EXPECT_EQ(SettingsPath("", "/home/op"), "/home/op/.config/keyvet/settings.ini");
    EXPECT_EQ(SettingsPath(nullptr, nullptr), "");
    EXPECT_EQ(SettingsPath(nullptr, ""), "");
}

TEST(SettingsFileTest, SavedSettingsLoadBackAndReplaceTheOldFile) {
    TTempFolder folder;
    const std::string path = (folder.Path() / "new" / "keyvet" / "settings.ini").string();
    SaveSettings(path, TKeyInputSettings());
    SaveSettings(path, Unusual());
    const TSettingsLoad load = LoadSettings(path);
    EXPECT_EQ(load.Message, "");
    EXPECT_EQ(load.Settings, Unusual());
    // Nothing but the file is left in its folder.
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path())) {
        EXPECT_EQ(entry.path().filename(), "settings.ini");
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFileTest, AMissingFileGivesTheDefaultsQuietly) {
    TTempFolder folder;
    const TSettingsLoad load = LoadSettings((folder.Path() / "none.ini").string());
    EXPECT_EQ(load.Message, "");
    EXPECT_EQ(load.Settings, TKeyInputSettings());
}

TEST(SettingsFileTest, ADamagedFileGivesOneMessageNamingEveryProblem) {
    TTempFolder folder;
    const fs::path path = folder.Path() / "settings.ini";
    std::ofstream(path) << "input = serial-line\nserial-line = XYZ\ninverted = 2\n";
    const TSettingsLoad load = LoadSettings(path.string());
    EXPECT_EQ(load.Settings.Kind, TKeyInputKind::kiSerialLine);
    EXPECT_EQ(load.Message, "Some settings in " + path.string() +
                                " could not be used and keep their defaults:\n"
                                "line 2: unknown serial line 'XYZ' (DSR, CTS, DCD or RI)\n"
                                "line 3: inverted must be 0 or 1, not '2'");
    // A folder where the file should be cannot be read: defaults and a message.
    const fs::path folderInstead = folder.Path() / "dir.ini";
    fs::create_directory(folderInstead);
    const TSettingsLoad unreadable = LoadSettings(folderInstead.string());
    EXPECT_EQ(unreadable.Settings, TKeyInputSettings());
    EXPECT_EQ(
        unreadable.Message.rfind("Cannot read the settings file " + folderInstead.string(), 0), 0u);
}

TEST(SettingsFileTest, OnlyARegularFileIsReadAndEveryOtherKindIsReportedWithoutWaiting) {
    TTempFolder folder;
    // A named pipe with no writer: reading it would wait for ever.
    const fs::path pipe = folder.Path() / "pipe.ini";
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    TSettingsLoad load = LoadSettings(pipe.string());
    EXPECT_EQ(load.Settings, TKeyInputSettings());
    EXPECT_EQ(load.Message,
              "Cannot read the settings file " + pipe.string() +
                  " (it is a named pipe, not a file); the default settings are used.");
    const fs::path folderInstead = folder.Path() / "dir.ini";
    fs::create_directory(folderInstead);
    EXPECT_EQ(LoadSettings(folderInstead.string()).Message,
              "Cannot read the settings file " + folderInstead.string() +
                  " (it is a folder, not a file); the default settings are used.");
    EXPECT_EQ(LoadSettings("/dev/null").Message,
              "Cannot read the settings file /dev/null (it is a device, not a file); the default "
              "settings are used.");
    // Two links naming each other are no missing file.
    const fs::path loop = folder.Path() / "loop.ini";
    fs::create_symlink("loop2.ini", loop);
    fs::create_symlink("loop.ini", folder.Path() / "loop2.ini");
    EXPECT_EQ(LoadSettings(loop.string()).Message,
              "Cannot read the settings file " + loop.string() +
                  " (Too many levels of symbolic links); the default settings are used.");
    // A link to a regular file is read; a link to nothing is a missing file.
    std::ofstream(folder.Path() / "real.ini") << "inverted = 1\n";
    fs::create_symlink("real.ini", folder.Path() / "link.ini");
    load = LoadSettings((folder.Path() / "link.ini").string());
    EXPECT_EQ(load.Message, "");
    EXPECT_TRUE(load.Settings.Inverted);
    fs::create_symlink("none.ini", folder.Path() / "dangling.ini");
    EXPECT_EQ(LoadSettings((folder.Path() / "dangling.ini").string()).Message, "");
}

TEST(SettingsFileTest, AFileFullOfProblemsNamesTheFirstTenAndCountsTheRest) {
    TTempFolder folder;
    const fs::path path = folder.Path() / "settings.ini";
    {
        std::ofstream out(path);
        for (int i = 0; i < 3000; ++i) {
            out << "inverted = " << (i + 2) << "\n";
        }
    }
    const TSettingsLoad load = LoadSettings(path.string());
    std::string expected =
        "Some settings in " + path.string() + " could not be used and keep their defaults:";
    for (int line = 1; line <= 10; ++line) {
        expected += "\nline " + std::to_string(line) + ": inverted must be 0 or 1, not '" +
                    std::to_string(line + 1) + "'";
    }
    expected += "\n(and 2990 more problems, 3000 in all)";
    EXPECT_EQ(load.Message, expected);
    // Ten problems are named whole, with no count.
    std::string ten;
    for (int i = 0; i < 10; ++i) {
        ten += "unknown = " + std::to_string(i) + "\n";
    }
    std::ofstream(path) << ten;
    const std::string message = LoadSettings(path.string()).Message;
    EXPECT_NE(message.find("line 10: unknown setting 'unknown'"), std::string::npos) << message;
    EXPECT_EQ(message.find("more problems"), std::string::npos) << message;
}

TEST(SettingsFileTest, AnUnwritableFolderIsAnErrorAndTheOldFileStays) {
    TTempFolder folder;
    // A file where the folder should be: no permission bits can help (the tests may run as root).
    const fs::path blocker = folder.Path() / "keyvet";
    std::ofstream(blocker) << "not a folder";
    const std::string path = (blocker / "settings.ini").string();
    try {
        SaveSettings(path, Unusual());
        FAIL() << "saved into a file";
    } catch (const base::Exception& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot write settings file '" + path + "': ", 0),
                  0u)
            << error.what();
    }
    EXPECT_EQ(ReadAll(blocker), "not a folder");
    EXPECT_THROW(SaveSettings("", Unusual()), base::Exception);
}

TEST(SettingsFileTest, ThePracticeTextIsKeptBesideTheKeyInput) {
    TTempFolder folder;
    const std::string path = (folder.Path() / "keyvet" / "settings.ini").string();
    // Kept alone in a new file, then the key input saved beside it, then a new text.
    SavePracticeText(path, "  CQ CQ DE UA3SNB <AR>  ");
    EXPECT_EQ(LoadSettings(path).PracticeText, "CQ CQ DE UA3SNB <AR>");
    EXPECT_EQ(LoadSettings(path).Settings, TKeyInputSettings());
    SaveSettings(path, Unusual());
    SavePracticeText(path, "PARIS = PARIS\tPARIS\r\nVVV");
    const TSettingsLoad load = LoadSettings(path);
    EXPECT_EQ(load.Message, "");  // the practice section is no unknown section
    EXPECT_EQ(load.Settings, Unusual());
    // One line: control characters are blanks; an "=" in the text is the text's.
    EXPECT_EQ(load.PracticeText, "PARIS = PARIS PARIS  VVV");
    EXPECT_EQ(ReadAll(path).find("[practice]"), ReadAll(path).rfind("[practice]"));
    // An empty text leaves no section.
    SavePracticeText(path, " ");
    EXPECT_EQ(LoadSettings(path).PracticeText, "");
    EXPECT_EQ(ReadAll(path), FormatSettings(Unusual()) + FormatWindowSettings(TWindowSettings()));
}

TEST(SettingsFileTest, KeepingThePracticeTextLeavesEveryOtherLineAsItWas) {
    TTempFolder folder;
    const fs::path path = folder.Path() / "settings.ini";
    const std::string others =
        "# mine\n[key-input]\ninput = keyboard-key\ndebounce-ms = 50\n[practice]\n"
        "text = OLD\n[monitor]\nlamp = 1\n";
    std::ofstream(path) << others;
    SavePracticeText(path.string(), "NEW");
    EXPECT_EQ(ReadAll(path),
              "# mine\n[key-input]\ninput = keyboard-key\ndebounce-ms = 50\n[monitor]\nlamp = 1\n"
              "[practice]\ntext = NEW\n");
    EXPECT_EQ(LoadSettings(path.string()).PracticeText, "NEW");
    // A practice section before the key input's, without a final line break.
    std::ofstream(path) << "[practice]\ntext = A\n[key-input]\ninverted = 1";
    SavePracticeText(path.string(), "B");
    EXPECT_EQ(ReadAll(path), "[key-input]\ninverted = 1\n[practice]\ntext = B\n");
    EXPECT_TRUE(LoadSettings(path.string()).Settings.Inverted);
    // Something there that cannot be read is not replaced.
    const fs::path folderInstead = folder.Path() / "dir.ini";
    fs::create_directory(folderInstead);
    EXPECT_THROW(SavePracticeText(folderInstead.string(), "X"), base::Exception);
    EXPECT_TRUE(fs::is_directory(folderInstead));
    EXPECT_THROW(SavePracticeText("", "X"), base::Exception);
}

TEST(WindowSettingsTest, SavingOneSectionKeepsTheOther) {
    TTempFolder folder;
    const std::string path = (folder.Path() / "settings.ini").string();
    TWindowSettings window;
    window.DisplaySize = TWindowSettings::kAutomaticSize;
    window.MonitorOpen = true;
    SaveWindowSettings(path, window);
    SaveSettings(path, Unusual());
    TSettingsLoad load = LoadSettings(path);
    EXPECT_EQ(load.Message, "");
    EXPECT_EQ(load.Settings, Unusual());
    EXPECT_EQ(load.Window, window);
    window.DisplaySize = 150;
    window.MonitorOpen = false;
    SaveWindowSettings(path, window);
    load = LoadSettings(path);
    EXPECT_EQ(load.Settings, Unusual());
    EXPECT_EQ(load.Window, window);
}

TEST(WindowSettingsTest, OnlyTheOfferedSizesAreTakenAndABadOneKeepsTheDefault) {
    const TSettingsRead read = ParseSettings(
        "[window]\ndisplay-size = 175\nlive-monitor = yes\n[key-input]\ninput = keyboard-key\n");
    EXPECT_EQ(read.Window, TWindowSettings());
    EXPECT_EQ(read.Settings.Kind, TKeyInputKind::kiKeyboardKey);
    ASSERT_EQ(read.Problems.size(), 2u);
    EXPECT_EQ(read.Problems[0],
              "line 2: the display size must be 100, 125, 150, 200 or automatic, not '175'");
    EXPECT_EQ(read.Problems[1], "line 3: live-monitor must be 0 or 1, not 'yes'");
    // A key-input setting under [window] is unknown there, and the other way round.
    const TSettingsRead crossed =
        ParseSettings("[window]\ninverted = 1\n[key-input]\nlive-monitor = 1\n");
    EXPECT_FALSE(crossed.Settings.Inverted);
    EXPECT_FALSE(crossed.Window.MonitorOpen);
    EXPECT_EQ(crossed.Problems.size(), 2u);
}

TEST(WindowSettingsTest, AutomaticEnlargesOnlyAboveOneHundredAndFiftyDpi) {
    const int32_t automatic = TWindowSettings::kAutomaticSize;
    EXPECT_EQ(EffectiveDisplaySize(125, 300), 125);  // a chosen size whatever the screen
    EXPECT_EQ(EffectiveDisplaySize(automatic, 96), 100);
    EXPECT_EQ(EffectiveDisplaySize(automatic, 150), 100);  // at the cliff: not yet
    EXPECT_EQ(EffectiveDisplaySize(automatic, 151), 150);  // just past: 157 % wanted
    EXPECT_EQ(EffectiveDisplaySize(automatic, 192), 200);
    EXPECT_EQ(EffectiveDisplaySize(automatic, 400), 200);  // never past the largest
    EXPECT_EQ(EffectiveDisplaySize(automatic, 0), 100);    // a screen that tells nothing
}

}  // namespace
}  // namespace platform
