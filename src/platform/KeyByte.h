// The key-state byte that the capture loop polls, built from a key's presses and releases: bit 7
// while the key is down, bit 0 flipping at every press (0/1 up, 128/129 down).
#pragma once

#include <cstdint>

namespace platform {

class TKeyByte {
  public:
    static constexpr uint8_t kDownBit = 0x80;
    static constexpr uint8_t kToggleBit = 0x01;

    // A press while the key is already down (a lost release) changes nothing, nor does a release
    // while it is up: the byte follows the key, not the event count.
    void Press() {
        if (!Down()) {
            m_byte = static_cast<uint8_t>((m_byte ^ kToggleBit) | kDownBit);
        }
    }
    void Release() { m_byte = static_cast<uint8_t>(m_byte & ~kDownBit); }
    void Set(bool down) {
        if (down) {
            Press();
        } else {
            Release();
        }
    }
    bool Down() const { return (m_byte & kDownBit) != 0; }
    uint8_t Byte() const { return m_byte; }

  private:
    uint8_t m_byte = 0;
};

}  // namespace platform
