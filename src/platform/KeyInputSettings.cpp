// Reading the settings file's "name = value" lines under their sections, and writing the
// key-input settings under [key-input].
#include "platform/KeyInputSettings.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "base/PrintableText.h"
#include "platform/KeyConditioner.h"
#include "platform/SoundKey.h"

namespace platform {
namespace {

constexpr std::string_view kSection = "[key-input]";
// The section of the same file that keeps the practice text, read on its own.
constexpr std::string_view kPracticeSection = "[practice]";

const TKeyInputKind kKinds[] = {TKeyInputKind::kiRightButton, TKeyInputKind::kiSerialLine,
                                TKeyInputKind::kiKeyboardKey, TKeyInputKind::kiInputDevice,
                                TKeyInputKind::kiSound};
// The longest name of a sound device kept, bytes.
constexpr size_t kMaxSoundDeviceBytes = 256;
const TSerialLine kLines[] = {TSerialLine::slDsr, TSerialLine::slCts, TSerialLine::slDcd,
                              TSerialLine::slRi};

std::string Quoted(std::string_view value) {
    return QuotedValue(value);
}

// A whole decimal number within lo..hi, or false.
bool ParseNumber(std::string_view text, uint32_t lo, uint32_t hi, uint32_t& value) {
    uint32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || parsed < lo ||
        parsed > hi) {
        return false;
    }
    value = parsed;
    return true;
}

// A device path: absolute, under /dev, without blanks or control characters.
bool DevicePath(std::string_view text) {
    if (text.substr(0, 5) != "/dev/" || text.size() > 4096) {
        return false;
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}

// Applies one setting; returns an empty text or the problem.
std::string Apply(std::string_view name, std::string_view value, TKeyInputSettings& s) {
    uint32_t number = 0;
    if (name == "input") {
        for (TKeyInputKind kind : kKinds) {
            if (value == KindName(kind)) {
                s.Kind = kind;
                return std::string();
            }
        }
        return "unknown input " + Quoted(value) +
               " (right-button, serial-line, keyboard-key, input-device or sound)";
    }
    if (name == "serial-port" || name == "input-device") {
        if (!DevicePath(value)) {
            return "not a device path: " + Quoted(value);
        }
        (name == "serial-port" ? s.SerialPort : s.InputDevice) = std::string(value);
        return std::string();
    }
    if (name == "sound-device") {
        const bool printable = std::all_of(value.begin(), value.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x20 && c != 0x7f;
        });
        if (value.empty() || value.size() > kMaxSoundDeviceBytes || !printable) {
            return "not a sound device's name: " + Quoted(value);
        }
        s.SoundDevice = std::string(value);
        return std::string();
    }
    if (name == "sound-pitch-hz") {
        if (value == "0") {
            s.SoundPitchHz = 0;
            return std::string();
        }
        if (!ParseNumber(value, TSoundKey::kMinPitchHz, TSoundKey::kMaxPitchHz, number)) {
            return "the sound pitch must be 0 (found by itself) or a whole number of hertz from " +
                   std::to_string(TSoundKey::kMinPitchHz) + " to " +
                   std::to_string(TSoundKey::kMaxPitchHz) + ", not " + Quoted(value);
        }
        s.SoundPitchHz = number;
        return std::string();
    }
    if (name == "serial-line") {
        for (TSerialLine line : kLines) {
            if (value == TSerialLineKey::LineName(line)) {
                s.Line = line;
                return std::string();
            }
        }
        return "unknown serial line " + Quoted(value) + " (DSR, CTS, DCD or RI)";
    }
    if (name == "keyboard-key") {
        if (const TKeyboardKeyName* key = TKeyboardKey::FindByName(std::string(value))) {
            s.KeyboardKey = key->Symbol;
            return std::string();
        }
        return "unknown keyboard key " + Quoted(value);
    }
    if (name == "device-code") {
        if (!ParseNumber(value, 0, kMaxKeyCode, number)) {
            return "the device code must be a whole number from 0 to " +
                   std::to_string(kMaxKeyCode) + ", not " + Quoted(value);
        }
        s.DeviceCode = number;
        return std::string();
    }
    if (name == "inverted") {
        if (value != "0" && value != "1") {
            return "inverted must be 0 or 1, not " + Quoted(value);
        }
        s.Inverted = value == "1";
        return std::string();
    }
    if (name == "debounce-ms") {
        constexpr auto kMax = static_cast<uint32_t>(TKeyConditioner::kMaxDebounceMs);
        if (!ParseNumber(value, 0, kMax, number)) {
            return "the debounce time must be a whole number of milliseconds from 0 to " +
                   std::to_string(kMax) + ", not " + Quoted(value);
        }
        s.DebounceMs = static_cast<int32_t>(number);
        return std::string();
    }
    return "unknown setting " + Quoted(name);
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

const char* KindName(TKeyInputKind kind) {
    switch (kind) {
        case TKeyInputKind::kiRightButton:
            return "right-button";
        case TKeyInputKind::kiSerialLine:
            return "serial-line";
        case TKeyInputKind::kiKeyboardKey:
            return "keyboard-key";
        case TKeyInputKind::kiInputDevice:
            return "input-device";
        case TKeyInputKind::kiSound:
            return "sound";
    }
    return "right-button";
}

TSettingsRead ParseSettings(std::string_view text) {
    TSettingsRead read;
    if (text.size() > kMaxSettingsBytes) {
        read.Problems.push_back("the file is longer than " + std::to_string(kMaxSettingsBytes) +
                                " bytes; the rest is not read");
        text = text.substr(0, kMaxSettingsBytes);
    }
    enum class TSection { seKeyInput, seWindow, sePractice, seSideTone, seUnknown };
    TSection section = TSection::seKeyInput;  // settings before any header are the key input's
    int line = 0;
    while (!text.empty()) {
        ++line;
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view entry = TrimBlanks(raw);
        if (entry.empty() || entry.front() == '#' || entry.front() == ';') {
            continue;
        }
        const std::string where = "line " + std::to_string(line) + ": ";
        if (entry.front() == '[') {
            section = entry == kSection           ? TSection::seKeyInput
                      : entry == kWindowSection   ? TSection::seWindow
                      : entry == kPracticeSection ? TSection::sePractice
                      : entry == kSideToneSection ? TSection::seSideTone
                                                  : TSection::seUnknown;
            if (section == TSection::seUnknown) {
                read.Problems.push_back(where + "unknown section " + Quoted(entry));
            }
            continue;
        }
        if (section == TSection::seUnknown || section == TSection::sePractice) {
            continue;
        }
        const size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            read.Problems.push_back(where + "not a setting: " + Quoted(entry));
            continue;
        }
        const std::string_view name = TrimBlanks(entry.substr(0, equals));
        const std::string_view value = TrimBlanks(entry.substr(equals + 1));
        const std::string problem =
            section == TSection::seWindow     ? ApplyWindowSetting(name, value, read.Window)
            : section == TSection::seSideTone ? ApplySideToneSetting(name, value, read.SideTone)
                                              : Apply(name, value, read.Settings);
        if (!problem.empty()) {
            read.Problems.push_back(where + problem);
        }
    }
    return read;
}

std::string FormatSettings(const TKeyInputSettings& s) {
    const TKeyboardKeyName* key = TKeyboardKey::FindBySymbol(s.KeyboardKey);
    std::string text = "# Keyvet settings, written by the program.\n";
    text += std::string(kSection) + "\n";
    text += "input = " + std::string(KindName(s.Kind)) + "\n";
    if (!s.SerialPort.empty()) {
        text += "serial-port = " + s.SerialPort + "\n";
    }
    text += "serial-line = " + std::string(TSerialLineKey::LineName(s.Line)) + "\n";
    text += "keyboard-key = " + std::string(key != nullptr ? key->Name : "Control_L") + "\n";
    if (!s.InputDevice.empty()) {
        text += "input-device = " + s.InputDevice + "\n";
    }
    text += "device-code = " + std::to_string(s.DeviceCode) + "\n";
    text += "inverted = " + std::string(s.Inverted ? "1" : "0") + "\n";
    text += "debounce-ms = " + std::to_string(s.DebounceMs) + "\n";
    // The sound key's lines only where they differ from their defaults.
    if (!s.SoundDevice.empty()) {
        text += "sound-device = " + s.SoundDevice + "\n";
    }
    if (s.SoundPitchHz != 0) {
        text += "sound-pitch-hz = " + std::to_string(s.SoundPitchHz) + "\n";
    }
    return text;
}

}  // namespace platform
