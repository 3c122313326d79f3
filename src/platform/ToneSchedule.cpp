// The played-back tone's sample clock.
#include "platform/ToneSchedule.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace platform {
namespace {
constexpr double kUsPerSecond = 1e6;
}  // namespace

TToneSchedule::TToneSchedule(std::vector<TToneChange> changes, int64_t endUs)
    : m_changes(std::move(changes)), m_endUs(endUs) {
    int64_t previous = 0;
    for (const TToneChange& change : m_changes) {
        if (change.TimeUs < previous) {
            throw std::invalid_argument("tone changes must be in time order from 0 on");
        }
        previous = change.TimeUs;
    }
    m_endUs = std::max(m_endUs, previous);
}

uint64_t TToneSchedule::SampleAt(int64_t timeUs, double sampleRate) {
    // Sample n sounds at n / rate seconds; the product is exact for whole rates and times below
    // years, so the ceiling does not wobble.
    return static_cast<uint64_t>(
        std::ceil(static_cast<double>(timeUs) * sampleRate / kUsPerSecond));
}

void TToneSchedule::Fill(TToneRenderer& renderer, float* out, size_t frames) {
    const double rate = renderer.SampleRate();
    const uint64_t end = SampleAt(m_endUs, rate);
    size_t done = 0;
    if (m_stopped.load(std::memory_order_acquire)) {
        renderer.SetFrequency(0);
        m_sample = std::max(m_sample, end);
    }
    while (done < frames) {
        // Changes due at or before the present sample take effect now.
        while (m_next < m_changes.size() && SampleAt(m_changes[m_next].TimeUs, rate) <= m_sample) {
            renderer.SetFrequency(m_changes[m_next].FrequencyHz);
            ++m_next;
        }
        if (m_sample >= end) {
            renderer.SetFrequency(0);
            renderer.Render(out + done, frames - done);
            m_finished.store(true, std::memory_order_release);
            return;
        }
        uint64_t until = end;
        if (m_next < m_changes.size()) {
            until = std::min(until, SampleAt(m_changes[m_next].TimeUs, rate));
        }
        const size_t count =
            static_cast<size_t>(std::min<uint64_t>(until - m_sample, frames - done));
        renderer.Render(out + done, count);
        done += count;
        m_sample += count;
    }
    if (m_sample >= end) {
        m_finished.store(true, std::memory_order_release);
    }
}

}  // namespace platform
