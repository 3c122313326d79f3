// keyvet-replay [--wav FILE] [--chart FILE] [--details] SCRIPT: analyses a keying recorded
// elsewhere through the real main window logic and prints what the window would show, one
// TAB-separated line per control; with --audio SOUND [--pitch HZ] in place of the script, the
// keying is the one the tone detector hears in a recording; with --wav it also records the run's
// side-tone into FILE
// (48 kHz, mono, 16-bit); with --chart it writes the main window's chart as painted after the run
// to FILE (PNG); with --details it then prints the read-back, the speeds, the timing spread, the
// worst characters and the verdicts. Both files are put in place only when complete; a lost
// write of any output fails the run.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "app/ProgramInfo.h"
#include "base/Exceptions.h"
#include "base/PrintableText.h"
#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "gfx/ImageFiles.h"
#include "replay/Replay.h"
#include "replay/ReplayScript.h"
#include "replay/SoundScript.h"

namespace {
constexpr int kExitBadUsage = 2;
constexpr int kExitFailed = 1;

constexpr const char* kUsage =
    "usage: keyvet-replay [--wav FILE] [--chart FILE] [--details] SCRIPT\n"
    "       keyvet-replay [--wav FILE] [--chart FILE] [--details] --audio SOUND [--pitch HZ]\n"
    "Replays a recorded keying through Keyvet's analysis and prints what the main window would\n"
    "show, one TAB-separated line per box.\n"
    "\n"
    "  --wav FILE     also record the run's side-tone (48 kHz mono WAV)\n"
    "  --chart FILE   also write the main window's chart after the run (PNG)\n"
    "  --details      then print the read-back, the speeds, the timing spread, the worst\n"
    "                 characters and the verdicts\n"
    "  --audio SOUND  take the keying from a recording of a Morse tone (WAV, FLAC, Ogg, MP3)\n"
    "  --pitch HZ     the tone's pitch in the recording (found by itself when not given)\n"
    "  -h, --help     show this text and exit\n"
    "  --version      show the program's version and exit\n"
    "\n"
    "The script format is in keyvet-replay(1).\n";

void Usage() {
    std::cerr << kUsage;
}

// A file the tool opens must never take the place of a closed standard stream, or the results
// would be written into it. A closed one is held by /dev/null opened for reading only, so that a
// write to it still fails as a write to a closed stream does.
void HoldClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                dup2(held, fd);
                close(held);
            }
        }
    }
}

// Whether two paths name one existing file (the same device and inode, whatever the names).
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Why the outputs cannot be written as named: one of them is the script, or both are one file
// (existing, or the same name before it exists). Empty when they are apart.
std::string OutputClash(const std::string& script, const std::string& wav,
                        const std::string& chart) {
    for (const auto& [option, output] : {std::pair{"--wav", &wav}, std::pair{"--chart", &chart}}) {
        if (!output->empty() && SameFile(*output, script)) {
            return std::string("the ") + option + " file '" + base::PrintableText(*output) +
                   "' is the script itself; it is not replaced";
        }
    }
    if (!wav.empty() && !chart.empty()) {
        std::error_code error;
        const bool sameName = std::filesystem::weakly_canonical(wav, error) ==
                              std::filesystem::weakly_canonical(chart, error);
        if (SameFile(wav, chart) || (!error && sameName)) {
            return "--wav and --chart name the same file '" + base::PrintableText(chart) + "'";
        }
    }
    return std::string();
}

// Prints the result lines and flushes them; returns 0, or the errno of the write that failed.
int PrintResults(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << line << '\n';
        if (!std::cout) {
            return errno != 0 ? errno : EIO;
        }
    }
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

int Replay(int argc, char** argv) {
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
    std::string audioPath;
    std::string pitchText;
    bool details = false;
    int next = 1;
    while (next < argc) {
        const std::string option = argv[next];
        if (option == "--details") {
            details = true;
            ++next;
            continue;
        }
        std::string* value = option == "--wav"     ? &wavPath
                             : option == "--chart" ? &chartPath
                             : option == "--audio" ? &audioPath
                             : option == "--pitch" ? &pitchText
                                                   : nullptr;
        if (value == nullptr) {
            break;
        }
        if (next + 1 >= argc || argv[next + 1][0] == '\0') {
            std::cerr << "keyvet-replay: option '" << argv[next] << "' needs "
                      << (value == &pitchText ? "a pitch in Hz" : "a file name") << "\n";
            Usage();
            return kExitBadUsage;
        }
        *value = argv[next + 1];
        next += 2;
    }
    // A word that starts with "-" is an option this tool does not know (a script named so is
    // given as ./-name).
    for (int i = next; i < argc; ++i) {
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::cerr << "keyvet-replay: unknown option '" << base::PrintableText(argv[i]) << "'\n";
            Usage();
            return kExitBadUsage;
        }
    }
    // An output that is the input (however it is spelled) or the other output would replace
    // what the run reads or writes.
    auto clashes = [&](const std::string& input) {
        const std::string clash = OutputClash(input, wavPath, chartPath);
        if (!clash.empty()) {
            std::cerr << "keyvet-replay: " << clash << "\n";
        }
        return !clash.empty();
    };
    replay::TReplayScript script;
    if (!audioPath.empty()) {
        // A recording takes the script's place: nothing may follow the options.
        if (argc != next) {
            Usage();
            return kExitBadUsage;
        }
        if (clashes(audioPath)) {
            return kExitBadUsage;
        }
        double pitch = 0;
        if (!pitchText.empty()) {
            const auto [end, ec] =
                std::from_chars(pitchText.data(), pitchText.data() + pitchText.size(), pitch);
            if (ec != std::errc() || end != pitchText.data() + pitchText.size() || !(pitch > 0)) {
                std::cerr << "keyvet-replay: --pitch wants a pitch in Hz, found '"
                          << base::PrintableText(pitchText) << "'\n";
                return kExitBadUsage;
            }
        }
        try {
            script = replay::ScriptFromSound(audioPath, pitch);
        } catch (const base::Exception& e) {
            std::cerr << "keyvet-replay: " << e.what() << "\n";
            return kExitBadUsage;
        }
    } else {
        if (!pitchText.empty() || argc != next + 1) {
            Usage();
            return kExitBadUsage;
        }
        const std::string path = argv[next];
        if (clashes(path)) {
            return kExitBadUsage;
        }
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            std::cerr << "keyvet-replay: " << path << " is a directory, not a script\n";
            return kExitBadUsage;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "keyvet-replay: cannot read " << path << "\n";
            return kExitBadUsage;
        }
        try {
            script = replay::ParseScript(replay::ReadScriptText(in));
        } catch (const replay::EScriptError& e) {
            std::cerr << "keyvet-replay: " << path << ": " << e.what() << "\n";
            return kExitBadUsage;
        }
    }
    try {
        replay::TReplay run(std::move(script), wavPath);
        std::vector<std::string> lines = run.Run();
        if (details) {
            const std::vector<std::string> more = replay::DetailsLines(run.Form());
            lines.insert(lines.end(), more.begin(), more.end());
        }
        const int printError = PrintResults(lines);
        if (printError != 0) {
            std::cerr << "keyvet-replay: cannot write the results: " << std::strerror(printError)
                      << "\n";
            return kExitFailed;
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
    if (std::fclose(stdout) != 0) {
        std::cerr << "keyvet-replay: cannot write the results: " << std::strerror(errno) << "\n";
        return kExitFailed;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    HoldClosedStandardStreams();
    return replay::RunReportingEscapes([&] { return Replay(argc, argv); }, std::cerr);
}
