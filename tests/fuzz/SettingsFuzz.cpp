// Fuzz target: the settings reader on arbitrary text must give usable settings (every value in
// its range) whatever it is fed, never crash, leak or read out of bounds, and what it gives must
// survive being written and read back, the key input's section and the windows' alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/KeyConditioner.h"
#include "platform/KeyDeviceCalls.h"
#include "platform/KeyInputSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const platform::TSettingsRead read = platform::ParseSettings(text);
    const platform::TKeyInputSettings& s = read.Settings;
    if (s.DebounceMs < 0 || s.DebounceMs > platform::TKeyConditioner::kMaxDebounceMs ||
        s.DeviceCode > platform::kMaxKeyCode) {
        std::abort();
    }
    const platform::TWindowSettings& w = read.Window;
    bool offered = w.DisplaySize == platform::TWindowSettings::kAutomaticSize;
    for (const int32_t size : platform::TWindowSettings::kSizes) {
        offered = offered || w.DisplaySize == size;
    }
    if (!offered) {
        std::abort();
    }
    const platform::TSettingsRead again =
        platform::ParseSettings(platform::FormatSettings(s) + platform::FormatWindowSettings(w));
    if (!again.Problems.empty() || !(again.Settings == s) || !(again.Window == w)) {
        std::abort();
    }
    return 0;
}
