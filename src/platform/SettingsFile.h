// The settings file, $XDG_CONFIG_HOME/keyvet/settings.ini (~/.config/keyvet when the variable is
// unset): read at start-up, written atomically when the operator confirms a choice. Only the
// desktop program uses it; tests and headless tools name a folder of their own or none.
#pragma once

#include <string>
#include <string_view>

#include "platform/KeyInputSettings.h"

namespace platform {

// The settings file's path from the two variables (either may be null or empty); empty when
// neither gives an absolute folder.
std::string SettingsPath(const char* xdgConfigHome, const char* home);
// The same from the process's environment.
std::string SettingsPathFromEnvironment();

struct TSettingsLoad {
    TKeyInputSettings Settings;
    // The practice text kept under [practice] ("text = ..."); empty when none.
    std::string PracticeText;
    TWindowSettings Window;
    TSideToneSettings SideTone;
    // Empty, or the one message that names every setting that kept its default and why.
    std::string Message;
};

// A missing file gives the defaults without a message; an unreadable or damaged one the
// defaults for what could not be used, and the message. Only a regular file is read (a named
// pipe, a folder or a device is reported, never waited on); a damaged file's message names its
// first few problems and counts the rest.
TSettingsLoad LoadSettings(const std::string& path);
// Creates the folder when needed and replaces the file atomically, keeping the window settings
// and the practice text it holds; raises base::Exception ("Cannot write settings file '...':
// ...") when it cannot.
void SaveSettings(const std::string& path, const TKeyInputSettings& settings);
// The same for the window settings; the key input and the practice text in the file are kept.
void SaveWindowSettings(const std::string& path, const TWindowSettings& settings);
// Replaces the [side-tone] section (or adds it at the end), keeping every other line as it is;
// raises as SavePracticeText does.
void SaveSideToneSettings(const std::string& path, const TSideToneSettings& settings);
// Replaces the practice text in the file (none when empty), keeping every other line as it is;
// raises as SaveSettings does, and when an existing file cannot be read first.
void SavePracticeText(const std::string& path, const std::string& practiceText);

// The practice text of a settings file's text, and the section that keeps one (empty for an
// empty text). The text is kept on one line: line breaks and other control characters become
// blanks, and blanks at either end do not count.
std::string ParsePracticeText(std::string_view text);
std::string FormatPracticeSection(const std::string& practiceText);

}  // namespace platform
