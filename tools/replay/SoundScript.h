// A recording as a replay script: the key changes that the tone detector finds in a sound file,
// each at the time it happened, to be run through the simulated capture like a recorded keying.
#pragma once

#include <functional>
#include <string>

#include "replay/ReplayScript.h"

namespace replay {

// The shortest recording analysed, seconds: less cannot show a tone and its keying.
inline constexpr double kMinRecordingSeconds = 0.5;

// Reads the sound file at path and returns a script of its key changes (times in ms from the
// recording's start, the key up before the first; Finish at the default time after the last).
// pitchHz is the tone's pitch, or 0 to find it. progress, when set, is told the share of the
// file read so far (0 to 1) now and then. Raises audio::EAudioError with one clear message when
// the file is not sound, holds none, is too short or too long, or holds no keyed tone.
TReplayScript ScriptFromSound(const std::string& path, double pitchHz = 0,
                              const std::function<void(double)>& progress = {});

}  // namespace replay
