// Run -> Play back: a run's keying sounded again as side-tone through the sound card, at the
// run's own timing, while the windows go on working.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "coach/Keying.h"
#include "platform/AudioToneSink.h"
#include "platform/ToneSchedule.h"

namespace app {

// The tone changes that play a run back: from its first press on (time 0), frequencyHz while the
// key is down and silence while it is up, ending at the run's last change (endUs). Empty, with
// endUs 0, for a run in which the key never goes down.
std::vector<platform::TToneChange> PlaybackChanges(const std::vector<coach::TTransition>& run,
                                                   double frequencyHz, int64_t& endUs);

class TPlayback {
  public:
    // Opens the output stream of a sink made for a playing; false when there is no sound device.
    // The sound card by default; a test drives the sink by hand.
    using TOpenOutput = std::function<bool(platform::TAudioToneSink&)>;

    TPlayback();
    explicit TPlayback(TOpenOutput open);
    ~TPlayback();
    TPlayback(const TPlayback&) = delete;
    TPlayback& operator=(const TPlayback&) = delete;

    // Starts playing the run at the side-tone divisor's pitch (a playing in progress is stopped
    // first). Returns at once. Raises base::Exception when there is no sound device, or when the
    // key never went down in the run.
    void Play(const coach::TKeyedRun& run, uint16_t divisor);
    // Silences the playing at once.
    void Stop();
    // A playing has started and has not yet ended or been stopped.
    bool Playing() const;
    // Closes the output of a playing that has ended; the next Play opens it again.
    void Tidy();

    // The sink of the present playing (null when none), for tests that drive it by hand.
    platform::TAudioToneSink* Output() const { return m_output.get(); }

    static constexpr const char* kNoSoundDevice =
        "No sound device could be opened to play the run back on.";
    static constexpr const char* kNothingToPlay = "The key never went down in this run.";

  private:
    TOpenOutput m_open;
    std::unique_ptr<platform::TToneSchedule> m_schedule;
    std::unique_ptr<platform::TAudioToneSink> m_output;  // destroyed before its schedule
};

}  // namespace app
