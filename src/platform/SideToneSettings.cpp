// Reading and writing the [side-tone] section of the settings file.
#include "platform/SideToneSettings.h"

#include <charconv>

#include "platform/PortBus.h"
#include "platform/ToneRenderer.h"
#include "platform/WindowSettings.h"

namespace platform {
namespace {

// A whole number from low to high written in plain decimal digits.
bool ParseWhole(std::string_view text, int32_t low, int32_t high, int32_t& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    int32_t parsed = 0;
    std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

uint16_t TSideToneSettings::Divisor() const {
    return static_cast<uint16_t>(kTimerClockHz / static_cast<double>(PitchHz));
}

float TSideToneSettings::Level() const {
    return kToneAmplitude * static_cast<float>(VolumePercent) / static_cast<float>(kDesignedVolume);
}

std::string ApplySideToneSetting(std::string_view name, std::string_view value,
                                 TSideToneSettings& s) {
    if (name == "pitch-hz") {
        if (!ParseWhole(value, TSideToneSettings::kMinPitchHz, TSideToneSettings::kMaxPitchHz,
                        s.PitchHz)) {
            return "the side-tone pitch must be a whole number of hertz from " +
                   std::to_string(TSideToneSettings::kMinPitchHz) + " to " +
                   std::to_string(TSideToneSettings::kMaxPitchHz) + ", not " + QuotedValue(value);
        }
        return std::string();
    }
    if (name == "volume") {
        if (!ParseWhole(value, 0, TSideToneSettings::kMaxVolume, s.VolumePercent)) {
            return "the side-tone volume must be a whole percentage from 0 to " +
                   std::to_string(TSideToneSettings::kMaxVolume) + ", not " + QuotedValue(value);
        }
        return std::string();
    }
    return "unknown setting " + QuotedValue(name);
}

std::string FormatSideToneSettings(const TSideToneSettings& s) {
    return std::string(kSideToneSection) + "\npitch-hz = " + std::to_string(s.PitchHz) +
           "\nvolume = " + std::to_string(s.VolumePercent) + "\n";
}

}  // namespace platform
