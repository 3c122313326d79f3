// keyvet-replay [--wav FILE] SCRIPT: analyses a keying recorded elsewhere through the real main
// window logic and prints what the window would show, one TAB-separated line per control; with
// --wav it also records the run's side-tone into FILE (48 kHz, mono, 16-bit); with --chart it
// writes the main window's chart as painted after the run to FILE (PNG).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/MainForm.h"
#include "base/Exceptions.h"
#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "gfx/ImageFiles.h"
#include "replay/Replay.h"
#include "replay/ReplayScript.h"

namespace {
constexpr int kExitBadUsage = 2;
constexpr int kExitFailed = 1;

void Usage() {
    std::cerr << "usage: keyvet-replay [--wav FILE] [--chart FILE] SCRIPT\n";
}
}  // namespace

int main(int argc, char** argv) {
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
    if (argc != next + 1) {
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
