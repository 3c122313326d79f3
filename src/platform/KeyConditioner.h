// Turns a key's sampled level into the key-state byte: an inverted switch for normally-closed
// contacts, and a debounce time that drops any change shorter than it.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/KeyByte.h"
#include "platform/Services.h"

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
    // levelStamp: when the contact took the level it shows, where its source stamps changes;
    // the debounce then measures from that moment instead of the poll that saw it.
    uint8_t Sample(bool contactClosed, int64_t nowNs,
                   std::optional<TKeyStamp> levelStamp = std::nullopt);
    // When the byte took its present value had the contact been watched without pause: the
    // stamp of the change that made it, one debounce time later; none when that change came
    // unstamped or the byte was forced up.
    std::optional<TKeyStamp> ByteStamp() const { return m_byteStamp; }
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
    std::optional<int64_t> m_pendingResolutionNs;  // set when m_pendingSince is a source's stamp
    std::optional<TKeyStamp> m_byteStamp;
};

}  // namespace platform
