// keyvet-replay [--wav FILE] SCRIPT: analyses a keying recorded elsewhere through the real main
// window logic and prints what the window would show, one TAB-separated line per control; with
// --wav it also records the run's side-tone into FILE (48 kHz, mono, 16-bit); with --chart it
// writes the main window's chart as painted after the run to FILE (PNG).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/MainForm.h"
#include "app/ProgramInfo.h"
#include "base/Exceptions.h"
#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "gfx/ImageFiles.h"
#include "replay/Replay.h"
#include "replay/ReplayScript.h"

namespace {
constexpr int kExitBadUsage = 2;
constexpr int kExitFailed = 1;

constexpr const char* kUsage =
    "usage: keyvet-replay [--wav FILE] [--chart FILE] SCRIPT\n"
    "Replays a recorded keying through Keyvet's analysis and prints what the main window would\n"
    "show, one TAB-separated line per box.\n"
    "\n"
    "  --wav FILE     also record the run's side-tone (48 kHz mono WAV)\n"
    "  --chart FILE   also write the main window's chart after the run (PNG)\n"
    "  -h, --help     show this text and exit\n"
    "  --version      show the program's version and exit\n"
    "\n"
    "The script format is in keyvet-replay(1).\n";

void Usage() {
    std::cerr << kUsage;
}
}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        switch (app::StandardOption(argv[i])) {
            case app::TStandardOption::soHelp:
                std::cout << kUsage << std::flush;
                return std::cout ? 0 : kExitFailed;
            case app::TStandardOption::soVersion:
                std::cout << app::VersionLine("keyvet-replay") << '\n' << std::flush;
                return std::cout ? 0 : kExitFailed;
            case app::TStandardOption::soNone:
                break;
        }
    }
    std::string wavPath;
    std::string chartPath;
    int next = 1;
    while (next < argc &&
           (std::string(argv[next]) == "--wav" || std::string(argv[next]) == "--chart")) {
        if (next + 1 >= argc || argv[next + 1][0] == '\0') {
            Usage();
            return kExitBadUsage;
        }
        (std::string(argv[next]) == "--wav" ? wavPath : chartPath) = argv[next + 1];
        next += 2;
    }
    // A word that starts with "-" is an option this tool does not know (a script named so is
    // given as ./-name).
    if (argc != next + 1 || (argv[next][0] == '-' && argv[next][1] != '\0')) {
        Usage();
        return kExitBadUsage;
    }
    const std::string path = argv[next];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "keyvet-replay: cannot read " << path << "\n";
        return kExitBadUsage;
    }
    std::stringstream text;
    text << in.rdbuf();
    replay::TReplayScript script;
    try {
        script = replay::ParseScript(text.str());
    } catch (const replay::EScriptError& e) {
        std::cerr << "keyvet-replay: " << path << ": " << e.what() << "\n";
        return kExitBadUsage;
    }
    try {
        replay::TReplay run(std::move(script), wavPath);
        for (const std::string& line : run.Run()) {
            std::cout << line << '\n';
        }
        if (!chartPath.empty()) {
            chart::TChart& chart = run.Form().Chart1();
            chart.Paint();
            const gfx::TBitmap& surface = chart.Surface();
            gfx::TImageData image;
            image.Width = surface.Width();
            image.Height = surface.Height();
            image.Pixels = surface.Pixels();
            gfx::WritePng(chartPath, image);
        }
    } catch (const base::Exception& e) {
        std::cerr << "keyvet-replay: " << e.what() << "\n";
        return kExitFailed;
    }
    return 0;
}
