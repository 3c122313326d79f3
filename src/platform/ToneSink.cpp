// The in-memory tone sink.
#include "platform/ToneSink.h"

namespace platform {

void TRecordingToneSink::ToneChanged(int64_t timeUs, double frequencyHz) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_changes.push_back(TChange{timeUs, frequencyHz});
}

std::vector<TRecordingToneSink::TChange> TRecordingToneSink::Changes() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_changes;
}

}  // namespace platform
