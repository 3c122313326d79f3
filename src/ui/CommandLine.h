// keyvet's command line: --help, --version and the window toolkit's own options (-display,
// -geometry, -scheme, -title, ...), which the toolkit keeps and applies to the main window.
#pragma once

#include <string>

namespace ui {

enum class TCommand { cmRun, cmHelp, cmVersion, cmBadUsage };

struct TCommandLine {
    TCommand Command = TCommand::cmRun;
    // The first argument that is neither ours nor the toolkit's (for cmBadUsage).
    std::string Offending;
    // What is wrong with it, one line for "keyvet: <problem>" (for cmBadUsage): an unknown
    // option, a toolkit option without its value or with a value it cannot take, a word.
    std::string Problem;
    // Whether the toolkit took options of its own, which the main window's first show applies.
    bool ToolkitOptions = false;
};

TCommandLine ParseCommandLine(int argc, char** argv);

// The usage text (ends with a line break).
std::string Usage();

}  // namespace ui
