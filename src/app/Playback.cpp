// Playing a run back through the sound card.
#include "app/Playback.h"

#include "base/Exceptions.h"
#include "platform/PortBus.h"

namespace app {
namespace {
constexpr int64_t kUsPerMs = 1000;
}  // namespace

std::vector<platform::TToneChange> PlaybackChanges(const std::vector<coach::TTransition>& run,
                                                   double frequencyHz, int64_t& endUs) {
    std::vector<platform::TToneChange> changes;
    endUs = 0;
    size_t first = 0;
    while (first < run.size() && !run[first].Down) {
        ++first;
    }
    if (first == run.size()) {
        return changes;
    }
    const uint32_t originMs = run[first].TimeMs;
    bool down = false;
    for (size_t i = first; i < run.size(); ++i) {
        // Chart times grow through a run; an unsigned difference keeps a wrapped tick count right.
        const int64_t timeUs = static_cast<int64_t>(run[i].TimeMs - originMs) * kUsPerMs;
        endUs = timeUs;
        if (run[i].Down == down) {
            continue;  // the same level again changes nothing that sounds
        }
        down = run[i].Down;
        changes.push_back(platform::TToneChange{timeUs, down ? frequencyHz : 0.0});
    }
    return changes;
}

TPlayback::TPlayback() : TPlayback([](platform::TAudioToneSink& sink) { return sink.Open(); }) {}

TPlayback::TPlayback(TOpenOutput open) : m_open(std::move(open)) {}

TPlayback::~TPlayback() {
    Stop();
}

void TPlayback::Play(const coach::TKeyedRun& run, uint16_t divisor) {
    Stop();
    const double frequency = platform::kTimerClockHz / (divisor == 0 ? 65536.0 : divisor);
    int64_t endUs = 0;
    std::vector<platform::TToneChange> changes = PlaybackChanges(run.Transitions, frequency, endUs);
    if (changes.empty()) {
        throw base::Exception(kNothingToPlay);
    }
    auto schedule = std::make_unique<platform::TToneSchedule>(std::move(changes), endUs);
    auto output = std::make_unique<platform::TAudioToneSink>(schedule.get());
    if (!m_open(*output)) {
        throw base::Exception(kNoSoundDevice);
    }
    m_schedule = std::move(schedule);
    m_output = std::move(output);
}

void TPlayback::Stop() {
    if (m_schedule != nullptr) {
        m_schedule->Stop();
    }
    m_output.reset();  // stops the stream: the callback has returned for good
    m_schedule.reset();
}

bool TPlayback::Playing() const {
    return m_output != nullptr && !m_schedule->Finished();
}

void TPlayback::Tidy() {
    if (m_output != nullptr && m_schedule->Finished()) {
        Stop();
    }
}

}  // namespace app
