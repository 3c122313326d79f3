// The key's level to key-state byte, with inversion and debounce.
#include "platform/KeyConditioner.h"

#include <algorithm>

namespace platform {

TKeyConditioner::TKeyConditioner(bool inverted, int32_t debounceMs)
    : m_inverted(inverted),
      m_debounceNs(static_cast<int64_t>(std::clamp(debounceMs, 0, kMaxDebounceMs)) * kNsPerMs) {}

uint8_t TKeyConditioner::Sample(bool contactClosed, int64_t nowNs,
                                std::optional<TKeyStamp> levelStamp) {
    const bool down = contactClosed != m_inverted;
    if (m_debounceNs == 0) {
        if (down != m_byte.Down()) {
            m_byteStamp = levelStamp;
        }
        m_byte.Set(down);
        return m_byte.Byte();
    }
    // The level's change began at its stamp where the source gives one, else at this poll.
    const int64_t levelSince = levelStamp ? levelStamp->Ns : nowNs;
    auto keepPending = [&](bool level) {
        m_byte.Set(level);
        m_byteStamp = std::nullopt;
        if (m_pendingResolutionNs) {
            m_byteStamp = TKeyStamp{m_pendingSince + m_debounceNs, *m_pendingResolutionNs};
        }
    };
    auto startPending = [&] {
        m_pending = true;
        m_pendingSince = levelSince;
        m_pendingResolutionNs = std::nullopt;
        if (levelStamp) {
            m_pendingResolutionNs = levelStamp->ResolutionNs;
        }
    };
    if (down == m_byte.Down()) {
        // Back to the kept level. The change ends here; it is kept if it lasted long enough
        // (when no poll fell between its start and the debounce time, this is the first poll
        // that shows its length), and then this moment starts the change back.
        if (m_pending && levelSince - m_pendingSince >= m_debounceNs) {
            keepPending(!down);
            startPending();
        } else {
            m_pending = false;
        }
        return m_byte.Byte();
    }
    if (!m_pending) {
        startPending();
    }
    if (nowNs - m_pendingSince >= m_debounceNs) {
        keepPending(down);
        m_pending = false;
    }
    return m_byte.Byte();
}

uint8_t TKeyConditioner::ForceUp() {
    m_byte.Release();
    m_pending = false;
    m_byteStamp = std::nullopt;
    return m_byte.Byte();
}

}  // namespace platform
