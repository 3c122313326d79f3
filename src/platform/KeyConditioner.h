// Turns a key's sampled level into the key-state byte: an inverted switch for normally-closed
// contacts, and a debounce time that drops any change shorter than it.
#pragma once

#include <cstdint>

#include "platform/KeyByte.h"

namespace platform {

class TKeyConditioner {
  public:
    static constexpr int32_t kMaxDebounceMs = 20;

    // debounceMs is clamped to 0..kMaxDebounceMs.
    TKeyConditioner(bool inverted = false, int32_t debounceMs = 0);

    // Takes the level the contact showed at a poll at nowNs (monotonic, non-decreasing) and
    // returns the key-state byte. With a debounce time, a change is kept only once the new level
    // has lasted that long (as measured between polls), so every kept change reaches the byte
    // one debounce time late and presses and releases keep their lengths.
    uint8_t Sample(bool contactClosed, int64_t nowNs);
    // Whether Sample needs the time at all (it does only with a debounce time).
    bool NeedsTime() const { return m_debounceNs > 0; }
    // Ends the key as up at once (the input has gone): no change is pending after it.
    uint8_t ForceUp();

    uint8_t Byte() const { return m_byte.Byte(); }
    bool Inverted() const { return m_inverted; }
    int32_t DebounceMs() const { return static_cast<int32_t>(m_debounceNs / kNsPerMs); }

  private:
    static constexpr int64_t kNsPerMs = 1000000;

    bool m_inverted;
    int64_t m_debounceNs;
    TKeyByte m_byte;
    bool m_pending = false;      // the level differs from the byte's since m_pendingSince
    int64_t m_pendingSince = 0;  // nanoseconds
};

}  // namespace platform
