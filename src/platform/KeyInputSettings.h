// The operator's choice of key input, as kept in the settings file: which input, its port and
// line, key or device and code, the sound device and pitch, the inverted switch and the debounce
// time. Reading takes any
// text: a damaged or unknown setting keeps its default and is named in the problems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KeyboardKey.h"
#include "platform/SerialLineKey.h"
#include "platform/SideToneSettings.h"
#include "platform/WindowSettings.h"

namespace platform {

enum class TKeyInputKind { kiRightButton, kiSerialLine, kiKeyboardKey, kiInputDevice, kiSound };

struct TKeyInputSettings {
    static constexpr uint32_t kDefaultDeviceCode = 29;  // the left Ctrl key of a keyboard adapter

    TKeyInputKind Kind = TKeyInputKind::kiRightButton;
    std::string SerialPort;  // a device path, empty until chosen
    TSerialLine Line = TSerialLine::slDsr;
    uint32_t KeyboardKey = TKeyboardKey::kLeftCtrl;  // key symbol
    std::string InputDevice;                         // a device path, empty until chosen
    uint32_t DeviceCode = kDefaultDeviceCode;        // 0..kMaxKeyCode
    bool Inverted = false;
    int32_t DebounceMs = 0;     // milliseconds, 0..20
    std::string SoundDevice;    // a sound capture device's name, empty for the default one
    uint32_t SoundPitchHz = 0;  // the Morse tone's pitch, Hz; 0 to find it

    bool operator==(const TKeyInputSettings&) const = default;
};

const char* KindName(TKeyInputKind kind);

// A settings line's name or value without the blanks, tabs and carriage returns around it.
std::string_view TrimBlanks(std::string_view text);

struct TSettingsRead {
    TKeyInputSettings Settings;
    TWindowSettings Window;
    TSideToneSettings SideTone;
    // One line per setting that fell back to its default ("line 3: ...").
    std::vector<std::string> Problems;
};

// The longest settings text read, bytes; a longer one is read up to there and named a problem.
constexpr size_t kMaxSettingsBytes = 64 * 1024;

// Reads the [key-input] section (settings before any section header count as its), the
// [window] section and the [side-tone] section.
TSettingsRead ParseSettings(std::string_view text);
// The [key-input] section, with the file's opening comment.
std::string FormatSettings(const TKeyInputSettings& settings);

}  // namespace platform
