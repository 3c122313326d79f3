// keyvet's command line, read through the toolkit so that its own options keep working.
#include "ui/CommandLine.h"

#include <FL/Fl.H>

#include "app/ProgramInfo.h"
#include "base/PrintableText.h"

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

// The toolkit's options that take a value, with the fewest letters each may be shortened to
// and what the value is.
struct TValueOption {
    const char* Name;
    size_t Shortest;
    const char* Value;
};
constexpr TValueOption kValueOptions[] = {
    {"display", 2, "an X display such as :0"},
    {"geometry", 1, "a window geometry such as 800x600+10+20"},
    {"scheme", 1, "a widget scheme name"},
    {"title", 2, "a window title"},
    {"name", 2, "a window class name"},
    {"fg", 2, "a colour"},
    {"bg", 2, "a colour"},
    {"bg2", 3, "a colour"},
};

// The toolkit's option that takes a value and that the word names (shortened or not, with one
// or two dashes); null when it names none.
const TValueOption* ValueOption(const std::string& word) {
    std::string name = word.starts_with("--") ? word.substr(2) : word.substr(1);
    const TValueOption* found = nullptr;
    for (const TValueOption& option : kValueOptions) {
        const std::string full = option.Name;
        if (name == full) {
            return &option;
        }
        if (name.size() >= option.Shortest && full.starts_with(name) && found == nullptr) {
            found = &option;
        }
    }
    return found;
}

// Why the toolkit stopped at argv[index].
std::string Problem(int argc, char** argv, int index) {
    const std::string word = base::PrintableText(argv[index]);
    if (!word.starts_with('-') || word == "-") {
        return "unexpected argument '" + word + "' (keyvet takes no file names)";
    }
    if (const TValueOption* option = ValueOption(word)) {
        if (index + 1 >= argc) {
            return "option '" + word + "' needs a value: " + option->Value;
        }
        return "option '" + word + "': '" + base::PrintableText(argv[index + 1]) + "' is not " +
               option->Value;
    }
    return "unknown option '" + word + "'";
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
        result.Problem = index < argc ? Problem(argc, argv, index) : "the command line is wrong";
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
