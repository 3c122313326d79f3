// The operator's choices about the windows, as kept in the settings file's [window] section: the
// display size and whether the live monitor is open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct TWindowSettings {
    // Display size in percent of the design sizes; kAutomaticSize lets the screen's resolution
    // choose.
    static constexpr int32_t kAutomaticSize = 0;
    static constexpr int32_t kDefaultSize = 100;
    // The sizes offered, in percent.
    static constexpr int32_t kSizes[] = {100, 125, 150, 200};

    int32_t DisplaySize = kDefaultSize;
    bool MonitorOpen = false;  // the live monitor was open when the program last ran

    bool operator==(const TWindowSettings&) const = default;
};

// A setting's value as a problem names it: in quotes, control characters as '?', cut after 40
// characters.
std::string QuotedValue(std::string_view value);

// The section header of these settings.
constexpr std::string_view kWindowSection = "[window]";

// Applies one "name = value" setting of the section; returns an empty text or the problem.
std::string ApplyWindowSetting(std::string_view name, std::string_view value, TWindowSettings& s);
// The section, its header first.
std::string FormatWindowSettings(const TWindowSettings& s);

// The display size in percent for a chosen size and the screen's resolution (dots per inch):
// a chosen percentage as it is; automatic gives 100 up to 150 dpi and above it the offered size
// nearest to dpi / 96, never more than the largest.
int32_t EffectiveDisplaySize(int32_t chosen, double screenDpi);

}  // namespace platform
