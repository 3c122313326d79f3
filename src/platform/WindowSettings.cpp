// Reading and writing the [window] section of the settings file.
#include "platform/WindowSettings.h"

#include <cmath>

#include "base/PrintableText.h"

namespace platform {
namespace {
constexpr double kDesignDpi = 96;          // the resolution the design sizes are for
constexpr double kAutomaticFromDpi = 150;  // automatic enlarges only above this
constexpr size_t kQuotedMax = 40;          // characters of a bad value shown in a problem
}  // namespace

std::string QuotedValue(std::string_view value) {
    // Built in place: joining temporaries here draws GCC 12's false -Wrestrict at -O3.
    std::string quoted = "'";
    quoted += base::PrintableText(value.substr(0, kQuotedMax));
    quoted += value.size() > kQuotedMax ? "...'" : "'";
    return quoted;
}

std::string ApplyWindowSetting(std::string_view name, std::string_view value, TWindowSettings& s) {
    if (name == "display-size") {
        if (value == "automatic") {
            s.DisplaySize = TWindowSettings::kAutomaticSize;
            return std::string();
        }
        for (int32_t size : TWindowSettings::kSizes) {
            if (value == std::to_string(size)) {
                s.DisplaySize = size;
                return std::string();
            }
        }
        return "the display size must be 100, 125, 150, 200 or automatic, not " +
               QuotedValue(value);
    }
    if (name == "live-monitor") {
        if (value != "0" && value != "1") {
            return "live-monitor must be 0 or 1, not " + QuotedValue(value);
        }
        s.MonitorOpen = value == "1";
        return std::string();
    }
    return "unknown setting " + QuotedValue(name);
}

std::string FormatWindowSettings(const TWindowSettings& s) {
    std::string text = std::string(kWindowSection) + "\n";
    text += "display-size = " +
            (s.DisplaySize == TWindowSettings::kAutomaticSize ? std::string("automatic")
                                                              : std::to_string(s.DisplaySize)) +
            "\n";
    text += "live-monitor = " + std::string(s.MonitorOpen ? "1" : "0") + "\n";
    return text;
}

int32_t EffectiveDisplaySize(int32_t chosen, double screenDpi) {
    if (chosen != TWindowSettings::kAutomaticSize) {
        return chosen;
    }
    if (!(screenDpi > kAutomaticFromDpi)) {
        return TWindowSettings::kDefaultSize;
    }
    const double wanted = 100 * screenDpi / kDesignDpi;
    int32_t best = TWindowSettings::kDefaultSize;
    for (int32_t size : TWindowSettings::kSizes) {
        if (std::fabs(size - wanted) < std::fabs(best - wanted)) {
            best = size;
        }
    }
    return best;
}

}  // namespace platform
