// keyvet: the desktop program. Creates the six windows from their design data, shows the main
// window and runs until it is closed. --help and --version answer without opening a window.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/FileMenu.h"
#include "app/MainForm.h"
#include "app/MenuKeys.h"
#include "app/OptionsMenu.h"
#include "app/ProgramInfo.h"
#include "app/RunHistory.h"
#include "app/Startup.h"
#include "chart/panel/ChartPanelExtended.h"
#include "forms/Application.h"
#include "platform/DataHome.h"
#include "platform/SettingsFile.h"
#include "port/PortIO.h"
#include "ui/AssetFiles.h"
#include "ui/CommandLine.h"
#include "ui/FrontEnd.h"
#include "ui/WindowIcon.h"

namespace {
// The main window while it exists: a fatal error during a run silences its side-tone first.
app::TForm1* g_mainForm = nullptr;

// FLTK's fatal errors (no display at start-up, or the display going away later) end the program
// with a plain message. Without a display the toolkit cannot go on and its windows cannot be
// taken down, so nothing is destroyed under its feet: the side-tone of a run in progress is
// silenced, the output flushed, and the process ends there.
[[noreturn]] void FatalError(const char* format, ...) {
    static std::atomic<bool> ending{false};
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("keyvet: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputs("\n", stderr);
    va_end(arguments);
    if (!ending.exchange(true) && g_mainForm != nullptr && g_mainForm->Capturing()) {
        g_mainForm->PortIO1().SpeakerOff();
        std::fputs("keyvet: the run in progress is lost\n", stderr);
    }
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}
}  // namespace

int main(int argc, char** argv) {
    constexpr int kExitBadUsage = 2;
    // Every window carries the class the desktop entry names (a -name option still overrides).
    Fl_Window::default_xclass("keyvet");
    const ui::TCommandLine commandLine = ui::ParseCommandLine(argc, argv);
    switch (commandLine.Command) {
        case ui::TCommand::cmHelp:
            std::fputs(ui::Usage().c_str(), stdout);
            return std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
        case ui::TCommand::cmVersion:
            std::printf("%s\n", app::VersionLine("keyvet").c_str());
            return std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
        case ui::TCommand::cmBadUsage:
            std::fprintf(stderr, "keyvet: %s\n%s", commandLine.Problem.c_str(),
                         ui::Usage().c_str());
            return kExitBadUsage;
        case ui::TCommand::cmRun:
            break;
    }
    Fl::fatal = &FatalError;
    Fl::visual(FL_DOUBLE | FL_RGB);
    forms::TApplication& application = forms::TApplication::Instance();
    int status = EXIT_SUCCESS;
    // Every analysed run is kept in the user's data home; it outlives the windows that use it.
    app::TRunHistory runHistory(platform::UserDataHome());
    try {
        // Pictures named in design data (a chart's back image) ship with the program.
        chart::SetPictureLocator([folder = ui::ProgramFolder()](const std::string& name) {
            return ui::FindAsset(name, folder);
        });
        ui::SetWindowIcon(ui::FindAsset("keyvet.png", ui::ProgramFolder()));
        app::CreateWindows();
        if (auto* mainForm = dynamic_cast<app::TForm1*>(application.Forms(0))) {
            g_mainForm = mainForm;
            app::KeepRuns(*mainForm, runHistory);
            app::AddFileMenu(*mainForm, runHistory);
            app::SetMenuKeys(*mainForm);
        }
        ui::TFrontEnd frontEnd(application);
        if (auto* mainForm = dynamic_cast<app::TForm1*>(application.Forms(0))) {
            app::AddDisplaySizeMenu(
                *mainForm, [&frontEnd] { return frontEnd.WindowSettings().DisplaySize; },
                [&frontEnd](int32_t size) { frontEnd.ChooseDisplaySize(size); });
            app::AddSideToneMenu(
                *mainForm, [&frontEnd] { return frontEnd.SideTone(); },
                [&frontEnd](const platform::TSideToneSettings& s) { frontEnd.ChooseSideTone(s); });
        }
        // The settings first: the windows are built at the display size they choose.
        frontEnd.LoadSettings(platform::SettingsPathFromEnvironment());
        frontEnd.BindForms();
        if (commandLine.ToolkitOptions) {
            frontEnd.SetToolkitArguments(argc, argv);
        }
        status = frontEnd.Run();
        // A run still waiting to be stored gets a last try; one that fails is reported lost.
        runHistory.StoreBeforeExit();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "keyvet: %s\n", error.what());
        status = EXIT_FAILURE;
    }
    g_mainForm = nullptr;
    application.DestroyForms();
    return status;
}
