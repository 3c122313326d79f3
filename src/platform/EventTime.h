// The moment of a window-system event on the monotonic clock: a local X server stamps its events
// with the same monotonic clock in whole milliseconds, wrapping at 2^32.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Services.h"

namespace platform {

// Events older than this when they reach the program are not believed: the server's clock is
// then another machine's, or the stamp is not a monotonic time at all.
constexpr uint32_t kMaxEventAgeMs = 2000;

// The stamp of an event stamped eventMs (the server's milliseconds), seen at nowNs (monotonic
// nanoseconds): the middle of its millisecond, with a resolution of one millisecond. None for a
// stamp in the future or older than kMaxEventAgeMs.
inline std::optional<TKeyStamp> EventStamp(uint32_t eventMs, int64_t nowNs) {
    constexpr int64_t kNsPerMs = 1000000;
    if (nowNs < 0) {
        return std::nullopt;
    }
    const int64_t nowMs = nowNs / kNsPerMs;
    // The age is taken modulo 2^32 as the server's clock wraps; a stamp ahead of the clock
    // shows as a huge age.
    const uint32_t ageMs = static_cast<uint32_t>(nowMs) - eventMs;
    if (ageMs > kMaxEventAgeMs) {
        return std::nullopt;
    }
    return TKeyStamp{(nowMs - ageMs) * kNsPerMs + kNsPerMs / 2, kNsPerMs};
}

}  // namespace platform
