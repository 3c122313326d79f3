// The name and version every Keyvet program reports.
#include "app/ProgramInfo.h"

namespace app {

std::string_view Version() {
    return KEYVET_VERSION;
}

std::string VersionLine(std::string_view program) {
    return std::string(program) + " (Keyvet) " + std::string(Version());
}

TStandardOption StandardOption(std::string_view argument) {
    if (argument == "--help" || argument == "-h") {
        return TStandardOption::soHelp;
    }
    if (argument == "--version") {
        return TStandardOption::soVersion;
    }
    return TStandardOption::soNone;
}

}  // namespace app
