// Where the speaker's tone goes: a sink is told each change of the sounding frequency with the
// time of the change, and an in-memory sink that keeps the changes.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

class IToneSink {
  public:
    virtual ~IToneSink() = default;
    // From timeUs on (microseconds on the bus's time line) the speaker sounds frequencyHz;
    // 0 means silence. Called only when the frequency changes; never raises.
    virtual void ToneChanged(int64_t timeUs, double frequencyHz) = 0;
};

// Keeps every change, for tests and for checking a run afterwards.
class TRecordingToneSink : public IToneSink {
  public:
    struct TChange {
        int64_t TimeUs;
        double FrequencyHz;
    };

    void ToneChanged(int64_t timeUs, double frequencyHz) override;
    std::vector<TChange> Changes() const;

  private:
    mutable std::mutex m_mutex;
    std::vector<TChange> m_changes;
};

}  // namespace platform
