// The settings file, $XDG_CONFIG_HOME/keyvet/settings.ini (~/.config/keyvet when the variable is
// unset): read at start-up, written atomically when the operator confirms a choice. Only the
// desktop program uses it; tests and headless tools name a folder of their own or none.
#pragma once

#include <string>

#include "platform/KeyInputSettings.h"

namespace platform {

// The settings file's path from the two variables (either may be null or empty); empty when
// neither gives an absolute folder.
std::string SettingsPath(const char* xdgConfigHome, const char* home);
// The same from the process's environment.
std::string SettingsPathFromEnvironment();

struct TSettingsLoad {
    TKeyInputSettings Settings;
    TWindowSettings Window;
    // Empty, or the one message that names every setting that kept its default and why.
    std::string Message;
};

// A missing file gives the defaults without a message; an unreadable or damaged one the
// defaults for what could not be used, and the message.
TSettingsLoad LoadSettings(const std::string& path);
// Creates the folder when needed and replaces the file atomically; raises base::Exception
// ("Cannot write settings file '...': ...") when it cannot.
// The window settings already in the file are kept as they were read.
void SaveSettings(const std::string& path, const TKeyInputSettings& settings);
// The same for the window settings; the key input already in the file is kept.
void SaveWindowSettings(const std::string& path, const TWindowSettings& settings);

}  // namespace platform
