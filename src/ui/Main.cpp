// keyvet: the desktop program. Creates the six windows from their design data, shows the main
// window and runs until it is closed.
#include <FL/Fl.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/Startup.h"
#include "forms/Application.h"
#include "ui/FrontEnd.h"

namespace {
// FLTK's fatal errors (no display, most often) end the program with a plain message.
[[noreturn]] void FatalError(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("keyvet: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputs("\n", stderr);
    va_end(arguments);
    std::exit(EXIT_FAILURE);
}
}  // namespace

int main() {
    Fl::fatal = &FatalError;
    Fl::visual(FL_DOUBLE | FL_RGB);
    forms::TApplication& application = forms::TApplication::Instance();
    int status = EXIT_SUCCESS;
    try {
        app::CreateWindows();
        ui::TFrontEnd frontEnd(application);
        frontEnd.BindForms();
        status = frontEnd.Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "keyvet: %s\n", error.what());
        status = EXIT_FAILURE;
    }
    application.DestroyForms();
    return status;
}
