// Where the settings file is, and reading and writing it.
#include "platform/SettingsFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/Exceptions.h"
#include "base/OutputFile.h"

namespace platform {
namespace {
constexpr const char* kWhat = "settings file";
}  // namespace

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
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        return load;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) {
        text.resize(kMaxSettingsBytes + 1);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<size_t>(in.gcount()));
    }
    if (!in && !in.eof()) {
        load.Message = "Cannot read the settings file " + path + " (" + std::strerror(errno) +
                       "); the default settings are used.";
        return load;
    }
    TSettingsRead read = ParseSettings(text);
    load.Settings = read.Settings;
    load.Window = read.Window;
    if (!read.Problems.empty()) {
        load.Message = "Some settings in " + path + " could not be used and keep their defaults:";
        for (const std::string& problem : read.Problems) {
            load.Message += "\n" + problem;
        }
    }
    return load;
}

namespace {
void WriteSettings(const std::string& path, const TKeyInputSettings& keyInput,
                   const TWindowSettings& window) {
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
    const std::string text = FormatSettings(keyInput) + FormatWindowSettings(window);
    base::TOutputFile file(path, kWhat);
    file.Write(text.data(), text.size());
    file.Commit();
}
}  // namespace

void SaveSettings(const std::string& path, const TKeyInputSettings& settings) {
    WriteSettings(path, settings, LoadSettings(path).Window);
}

void SaveWindowSettings(const std::string& path, const TWindowSettings& settings) {
    WriteSettings(path, LoadSettings(path).Settings, settings);
}

}  // namespace platform
