// The changes of a key that reached the program and are waiting for the capture, handed over one
// per read: a press and its release that both arrive between two polls are then both logged, each
// at its own moment, instead of cancelling out in a level read once. Two key-state bytes (bit 7
// down, bit 0 flipping at every press): the one read, which follows the changes taken, and the
// one now, which follows every change seen (for lamps and for a run's first poll).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "platform/KeyByte.h"
#include "platform/Services.h"

namespace platform {

class TKeyChanges {
  public:
    // Changes kept for a reader that has stopped reading (no run is being captured); beyond them
    // the oldest are taken unread, which is what a level read once would have shown.
    static constexpr size_t kMaxWaiting = 256;

    // The key went down or up, at stamp where its source tells. A change to the level the key
    // already has is none (a repeat of a held key, a lost event).
    void Change(bool down, std::optional<TKeyStamp> stamp) {
        if (down == m_now.Down()) {
            return;
        }
        m_now.Set(down);
        m_waiting.push_back({down, stamp});
        if (m_waiting.size() > kMaxWaiting) {
            Take();
        }
    }
    // Takes the oldest waiting change into the byte read; false when none was waiting.
    bool Take() {
        if (m_waiting.empty()) {
            return false;
        }
        m_read.Set(m_waiting.front().Down);
        m_stamp = m_waiting.front().Stamp;
        m_waiting.pop_front();
        return true;
    }
    // Takes every waiting change at once: a run starts, and its first poll reads the key as it is.
    void TakeAll() {
        while (Take()) {
        }
    }
    // Forgets what is waiting and gives the key this level, unstamped (a key chosen anew).
    void Reset(bool down) {
        TakeAll();
        m_read.Set(down);
        m_now.Set(down);
        m_stamp = std::nullopt;
    }

    // The byte read, and the stamp of the change that gave it its value.
    uint8_t Byte() const { return m_read.Byte(); }
    bool Down() const { return m_read.Down(); }
    std::optional<TKeyStamp> Stamp() const { return m_stamp; }
    // The key as it is now, every change seen applied.
    uint8_t ByteNow() const { return m_now.Byte(); }
    bool DownNow() const { return m_now.Down(); }
    size_t Waiting() const { return m_waiting.size(); }

  private:
    struct TChange {
        bool Down;
        std::optional<TKeyStamp> Stamp;
    };
    TKeyByte m_read;
    TKeyByte m_now;
    std::optional<TKeyStamp> m_stamp;
    std::deque<TChange> m_waiting;
};

}  // namespace platform
