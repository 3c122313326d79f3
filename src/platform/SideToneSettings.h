// The side-tone's pitch and volume, as kept in the settings file's [side-tone] section. The
// defaults are the tone as designed: the timer divisor 1500 (about 795 Hz) at the designed level.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct TSideToneSettings {
    // The designed tone: 1193182 Hz / 1500, whose whole hertz are 795.
    static constexpr uint16_t kDesignedDivisor = 1500;
    static constexpr int32_t kDesignedPitchHz = 795;
    static constexpr int32_t kMinPitchHz = 300;
    static constexpr int32_t kMaxPitchHz = 1500;
    // Volume in percent of the designed level; up to twice it.
    static constexpr int32_t kDesignedVolume = 100;
    static constexpr int32_t kMaxVolume = 200;
    // The choices the Options menu offers.
    static constexpr int32_t kPitches[] = {400, 500, 600, 700, 795, 900, 1000, 1200};
    static constexpr int32_t kVolumes[] = {0, 25, 50, 100, 150, 200};

    int32_t PitchHz = kDesignedPitchHz;       // kMinPitchHz..kMaxPitchHz
    int32_t VolumePercent = kDesignedVolume;  // 0..kMaxVolume

    bool operator==(const TSideToneSettings&) const = default;

    // The timer divisor that sounds the pitch: the whole part of the timer clock over the pitch,
    // so the tone is the pitch or a fraction of a hertz above it (795 Hz gives the designed
    // 1500).
    uint16_t Divisor() const;
    // The peak level of the sound card's tone (fraction of full scale).
    float Level() const;
};

// The section header of these settings.
constexpr std::string_view kSideToneSection = "[side-tone]";

// Applies one "name = value" setting of the section; returns an empty text or the problem.
std::string ApplySideToneSetting(std::string_view name, std::string_view value,
                                 TSideToneSettings& s);
// The section, its header first.
std::string FormatSideToneSettings(const TSideToneSettings& s);

}  // namespace platform
