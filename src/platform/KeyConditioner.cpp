// The key's level to key-state byte, with inversion and debounce.
#include "platform/KeyConditioner.h"

#include <algorithm>

namespace platform {

TKeyConditioner::TKeyConditioner(bool inverted, int32_t debounceMs)
    : m_inverted(inverted),
      m_debounceNs(static_cast<int64_t>(std::clamp(debounceMs, 0, kMaxDebounceMs)) * kNsPerMs) {}

uint8_t TKeyConditioner::Sample(bool contactClosed, int64_t nowNs) {
    const bool down = contactClosed != m_inverted;
    if (m_debounceNs == 0) {
        m_byte.Set(down);
        return m_byte.Byte();
    }
    if (down == m_byte.Down()) {
        // Back to the kept level. The change ends here; it is kept if it lasted long enough
        // (when no poll fell between its start and the debounce time, this is the first poll
        // that shows its length), and then this poll starts the change back.
        if (m_pending && nowNs - m_pendingSince >= m_debounceNs) {
            m_byte.Set(!down);
            m_pendingSince = nowNs;
        } else {
            m_pending = false;
        }
        return m_byte.Byte();
    }
    if (!m_pending) {
        m_pending = true;
        m_pendingSince = nowNs;
    }
    if (nowNs - m_pendingSince >= m_debounceNs) {
        m_byte.Set(down);
        m_pending = false;
    }
    return m_byte.Byte();
}

uint8_t TKeyConditioner::ForceUp() {
    m_byte.Release();
    m_pending = false;
    return m_byte.Byte();
}

}  // namespace platform
