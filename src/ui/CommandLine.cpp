// keyvet's command line, read through the toolkit so that its own options keep working.
#include "ui/CommandLine.h"

#include <FL/Fl.H>

#include "app/ProgramInfo.h"

namespace ui {
namespace {

// The toolkit's argument reader calls a plain function for every argument it does not know
// first; what it found is kept here for the one parse in progress.
app::TStandardOption g_found = app::TStandardOption::soNone;

int OwnOption(int /*argc*/, char** argv, int& index) {
    const app::TStandardOption option = app::StandardOption(argv[index]);
    if (option == app::TStandardOption::soNone) {
        return 0;
    }
    if (g_found == app::TStandardOption::soNone) {
        g_found = option;
    }
    ++index;
    return 1;
}

}  // namespace

TCommandLine ParseCommandLine(int argc, char** argv) {
    TCommandLine result;
    g_found = app::TStandardOption::soNone;
    int index = 1;
    const int parsed = Fl::args(argc, argv, index, &OwnOption);
    switch (g_found) {
        case app::TStandardOption::soHelp:
            result.Command = TCommand::cmHelp;
            return result;
        case app::TStandardOption::soVersion:
            result.Command = TCommand::cmVersion;
            return result;
        case app::TStandardOption::soNone:
            break;
    }
    // The reader stops at the first argument it cannot take: an unknown option, or a word that
    // is no option at all (keyvet takes none).
    if (parsed == 0 || index < argc) {
        result.Command = TCommand::cmBadUsage;
        result.Offending = index < argc ? argv[index] : "";
        return result;
    }
    result.ToolkitOptions = argc > 1;
    return result;
}

std::string Usage() {
    return "usage: keyvet [--help] [--version] [toolkit options]\n"
           "Measures the timing of hand-sent Morse keyed on the right mouse button.\n"
           "\n"
           "  -h, --help        show this text and exit\n"
           "  --version         show the program's version and exit\n"
           "\n"
           "Toolkit options (they may be shortened):\n"
           "  -display HOST:N.S     the X display to use\n"
           "  -geometry WxH+X+Y     the main window's size and place\n"
           "  -scheme NAME          the widget scheme (none, base, plastic, gtk+, gleam)\n"
           "  -title TEXT           the main window's title\n"
           "  -iconic               start minimised\n"
           "  -fg, -bg, -bg2 COLOR  the foreground and background colours\n"
           "  -name CLASS, -kbd, -nokbd, -dnd, -nodnd, -tooltips, -notooltips\n"
           "\n"
           "See keyvet(1) and the help page (Help -> Help in the program).\n";
}

}  // namespace ui
