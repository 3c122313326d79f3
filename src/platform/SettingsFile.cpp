// Where the settings file is, and reading and writing it.
#include "platform/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/Exceptions.h"
#include "base/OutputFile.h"

namespace platform {
namespace {
constexpr const char* kWhat = "settings file";
constexpr std::string_view kPracticeSection = "[practice]";
constexpr std::string_view kPracticeName = "text";

// Calls `line` for every line of `text` with the line (without its break) and whether it lies
// in `section` (its header included).
template <class F>
void ForEachLineIn(std::string_view text, std::string_view section, F line) {
    bool inSection = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view entry = TrimBlanks(raw);
        if (!entry.empty() && entry.front() == '[') {
            inSection = entry == section;
        }
        line(raw, inSection);
    }
}

template <class F>
void ForEachLine(std::string_view text, F line) {
    ForEachLineIn(text, kPracticeSection, line);
}

// The lines of `section` in `text` as they stand, each with its break.
std::string SectionLines(std::string_view text, std::string_view section) {
    std::string lines;
    ForEachLineIn(text, section, [&](std::string_view raw, bool inSection) {
        if (inSection) {
            lines.append(raw);
            lines += '\n';
        }
    });
    return lines;
}

// `text` with `section` replaced by `replacement` (every other line kept byte for byte).
std::string ReplaceSection(std::string_view text, std::string_view section,
                           const std::string& replacement) {
    std::string kept;
    ForEachLineIn(text, section, [&](std::string_view raw, bool inSection) {
        if (!inSection) {
            kept.append(raw);
            kept += '\n';
        }
    });
    return kept + replacement;
}

void Write(const std::string& path, const std::string& text) {
    if (path.empty()) {
        throw base::Exception(
            "Cannot write settings file: neither XDG_CONFIG_HOME nor HOME names "
            "a folder");
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw base::Exception(std::string("Cannot write ") + kWhat + " '" + path +
                              "': " + error.message());
    }
    base::TOutputFile file(path, kWhat);
    file.Write(text.data(), text.size());
    file.Commit();
}

// The whole text of an existing settings file, or empty for none; raises when there is one that
// cannot be read, so that rewriting it loses nothing.
std::string ReadWhole(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        return std::string();
    }
    // Only a regular file is opened: a named pipe would wait for a writer for ever.
    if (!std::filesystem::is_regular_file(path, error)) {
        throw base::Exception(std::string("Cannot write ") + kWhat + " '" + path +
                              "': it is there but is not a file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw base::Exception(std::string("Cannot write ") + kWhat + " '" + path +
                              "': it is there but cannot be read");
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Problems of a damaged file named one by one in its message; the others are counted.
constexpr size_t kShownProblems = 10;

// What a file that is not a regular one is, for a message.
std::string KindOfFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a named pipe";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return "a special file";
}
}  // namespace

std::string ParsePracticeText(std::string_view text) {
    std::string practice;
    ForEachLine(text, [&](std::string_view raw, bool inPractice) {
        const std::string_view entry = TrimBlanks(raw);
        const size_t equals = entry.find('=');
        if (inPractice && equals != std::string_view::npos &&
            TrimBlanks(entry.substr(0, equals)) == kPracticeName) {
            practice = std::string(TrimBlanks(entry.substr(equals + 1)));
        }
    });
    return practice;
}

std::string FormatPracticeSection(const std::string& practiceText) {
    std::string line;
    for (const char c : practiceText) {
        const auto byte = static_cast<unsigned char>(c);
        line += byte < 0x20 || byte == 0x7f ? ' ' : c;
    }
    line = std::string(TrimBlanks(line));
    if (line.empty()) {
        return std::string();
    }
    return std::string(kPracticeSection) + "\n" + std::string(kPracticeName) + " = " + line + "\n";
}

std::string SettingsPath(const char* xdgConfigHome, const char* home) {
    // A relative XDG folder is invalid and ignored, as the base-directory rules say.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        return std::string(xdgConfigHome) + "/keyvet/settings.ini";
    }
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/keyvet/settings.ini";
    }
    return std::string();
}

std::string SettingsPathFromEnvironment() {
    return SettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

TSettingsLoad LoadSettings(const std::string& path) {
    TSettingsLoad load;
    if (path.empty()) {
        return load;
    }
    auto cannotRead = [&](const std::string& reason) {
        load.Message = "Cannot read the settings file " + path + " (" + reason +
                       "); the default settings are used.";
        return load;
    };
    // Opened without waiting (a named pipe would wait for a writer for ever) and read only when
    // it is a regular file.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return load;  // no file (or a link to none): the defaults, quietly
        }
        return cannotRead(std::strerror(errno));
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        return cannotRead(std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return cannotRead("it is " + KindOfFile(info.st_mode) + ", not a file");
    }
    std::string text(kMaxSettingsBytes + 1, '\0');
    size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            close(fd);
            return cannotRead(std::strerror(error));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    close(fd);
    text.resize(got);
    TSettingsRead read = ParseSettings(text);
    load.Settings = read.Settings;
    load.PracticeText = ParsePracticeText(text);
    load.Window = read.Window;
    load.SideTone = read.SideTone;
    if (!read.Problems.empty()) {
        load.Message = "Some settings in " + path + " could not be used and keep their defaults:";
        // A dialog shows the message: a few problems tell what is wrong, the rest only count.
        const size_t shown = std::min(read.Problems.size(), kShownProblems);
        for (size_t i = 0; i < shown; ++i) {
            load.Message += "\n" + read.Problems[i];
        }
        if (read.Problems.size() > shown) {
            load.Message += "\n(and " + std::to_string(read.Problems.size() - shown) +
                            " more problems, " + std::to_string(read.Problems.size()) + " in all)";
        }
    }
    return load;
}

namespace {
// Writes the key input and the window settings, keeping the practice text the file holds (an
// unreadable file is replaced as before: the settings are what the operator chose).
void WriteSettings(const std::string& path, const TKeyInputSettings& keyInput,
                   const TWindowSettings& window) {
    std::string practice;
    std::string sideTone;
    try {
        const std::string text = ReadWhole(path);
        practice = ParsePracticeText(text);
        sideTone = SectionLines(text, kSideToneSection);
    } catch (const base::Exception&) {
        // kept empty: the file's practice text and side-tone could not be read
    }
    Write(path, FormatSettings(keyInput) + FormatWindowSettings(window) +
                    FormatPracticeSection(practice) + sideTone);
}
}  // namespace

void SavePracticeText(const std::string& path, const std::string& practiceText) {
    Write(path,
          ReplaceSection(ReadWhole(path), kPracticeSection, FormatPracticeSection(practiceText)));
}

void SaveSideToneSettings(const std::string& path, const TSideToneSettings& settings) {
    Write(path,
          ReplaceSection(ReadWhole(path), kSideToneSection, FormatSideToneSettings(settings)));
}

void SaveSettings(const std::string& path, const TKeyInputSettings& settings) {
    WriteSettings(path, settings, LoadSettings(path).Window);
}

void SaveWindowSettings(const std::string& path, const TWindowSettings& settings) {
    WriteSettings(path, LoadSettings(path).Settings, settings);
}

}  // namespace platform
