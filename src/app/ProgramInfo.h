// The name and version every Keyvet program reports, and the two options all of them answer
// alike: --help and --version.
#pragma once

#include <string>
#include <string_view>

namespace app {

// The project's version ("2.0").
std::string_view Version();

// The line --version prints: "keyvet-replay (Keyvet) 2.0".
std::string VersionLine(std::string_view program);

enum class TStandardOption { soNone, soHelp, soVersion };

// --help (or -h) and --version; anything else is the program's own.
TStandardOption StandardOption(std::string_view argument);

}  // namespace app
