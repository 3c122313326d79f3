// A tone played back at set times: the changes of a side-tone with their times, followed sample
// by sample by the sound card's callback, so a played-back run keeps its own timing exactly.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ToneRenderer.h"

namespace platform {

// From TimeUs on (microseconds from the start of the playing) the tone is FrequencyHz; 0 is
// silence.
struct TToneChange {
    int64_t TimeUs = 0;
    double FrequencyHz = 0;
};

class TToneSchedule {
  public:
    // changes in time order (raises std::invalid_argument otherwise, or for a time before 0);
    // the playing ends, silent, at endUs (at least the last change's time).
    TToneSchedule(std::vector<TToneChange> changes, int64_t endUs);

    // Audio thread only: the next frames of the playing through renderer, each change taking
    // effect at the first sample at or after its time on the renderer's sample clock; silence
    // once it has ended or was stopped. Wait-free.
    void Fill(TToneRenderer& renderer, float* out, size_t frames);

    // Any thread: silence from the next buffer on, and Finished.
    void Stop() { m_stopped.store(true, std::memory_order_release); }
    // Every sample up to the end has been rendered (or it was stopped).
    bool Finished() const { return m_finished.load(std::memory_order_acquire); }
    // The length of the playing, microseconds.
    int64_t EndUs() const { return m_endUs; }

    // The first sample at or after timeUs at sampleRate samples per second.
    static uint64_t SampleAt(int64_t timeUs, double sampleRate);

  private:
    std::vector<TToneChange> m_changes;
    int64_t m_endUs;
    uint64_t m_sample = 0;  // audio thread: samples rendered so far
    size_t m_next = 0;      // audio thread: the first change not yet in force
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_finished{false};
};

}  // namespace platform
