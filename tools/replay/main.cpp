// keyvet-replay SCRIPT: analyses a keying recorded elsewhere through the real main window logic
// and prints what the window would show, one TAB-separated line per control.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "replay/Replay.h"
#include "replay/ReplayScript.h"

namespace {
constexpr int kExitBadUsage = 2;

void Usage() { std::cerr << "usage: keyvet-replay SCRIPT\n"; }
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        Usage();
        return kExitBadUsage;
    }
    const std::string path = argv[1];
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
    replay::TReplay run(std::move(script));
    for (const std::string& line : run.Run()) {
        std::cout << line << '\n';
    }
    return 0;
}
