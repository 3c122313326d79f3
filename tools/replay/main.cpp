// keyvet-replay [--wav FILE] SCRIPT: analyses a keying recorded elsewhere through the real main
// window logic and prints what the window would show, one TAB-separated line per control; with
// --wav it also records the run's side-tone into FILE (48 kHz, mono, 16-bit).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/Exceptions.h"
#include "replay/Replay.h"
#include "replay/ReplayScript.h"

namespace {
constexpr int kExitBadUsage = 2;
constexpr int kExitFailed = 1;

void Usage() {
    std::cerr << "usage: keyvet-replay [--wav FILE] SCRIPT\n";
}
}  // namespace

int main(int argc, char** argv) {
    std::string wavPath;
    int next = 1;
    if (argc > 1 && std::string(argv[1]) == "--wav") {
        if (argc < 3 || argv[2][0] == '\0') {
            Usage();
            return kExitBadUsage;
        }
        wavPath = argv[2];
        next = 3;
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
    } catch (const base::Exception& e) {
        std::cerr << "keyvet-replay: " << e.what() << "\n";
        return kExitFailed;
    }
    return 0;
}
