// A recording as a keying: the key changes that the tone detector finds in a sound file, each at
// the time it happened, run through the simulated capture and the real analysis of the main
// window. The program's File menu and the replay tool both analyse recordings through it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/KeyingReplay.h"
#include "history/Run.h"

namespace audio {
class TSoundFile;
class TToneDetector;
struct TKeyChange;
}  // namespace audio

namespace app {

// The shortest recording analysed, seconds: less cannot show a tone and its keying.
inline constexpr double kMinRecordingSeconds = 0.5;

// Reads a recording block by block through the tone detector, so that a caller can show its
// progress and stop between blocks.
class TRecordingReader {
  public:
    // Frames read and fed at a time unless a step asks for fewer.
    static constexpr size_t kBlockFrames = size_t{1} << 16;

    // Opens the sound file at path. pitchHz is the tone's pitch, or 0 to find it. Raises
    // audio::EAudioError with one clear message when the file is not sound, holds none or is too
    // short, or the pitch is out of range.
    explicit TRecordingReader(const std::string& path, double pitchHz = 0);
    ~TRecordingReader();
    TRecordingReader(const TRecordingReader&) = delete;
    TRecordingReader& operator=(const TRecordingReader&) = delete;

    // Reads and detects at most maxFrames more; false (and the detector finished) once the whole
    // file has been read. Raises audio::EAudioError when the file cannot be read on.
    bool Step(size_t maxFrames = kBlockFrames);
    // The share of the file read so far, 0 to 1.
    double Progress() const;
    // The recording's length, seconds.
    double Seconds() const;
    // After the last step: a script of the key changes (times in ms from the recording's start,
    // the key up before the first; Finish at the default time after the last). Raises
    // audio::EAudioError when the recording holds no keyed tone, or a run too long for the
    // capture's poll count.
    TReplayScript Script() const;

  private:
    std::string m_path;
    double m_pitchHz;
    std::unique_ptr<audio::TSoundFile> m_file;
    std::unique_ptr<audio::TToneDetector> m_detector;
    std::vector<audio::TKeyChange> m_changes;
    bool m_finished = false;
};

// Reads the whole recording at path and returns its script (see TRecordingReader). progress,
// when set, is told the share of the file read so far after each block.
TReplayScript ScriptFromSound(const std::string& path, double pitchHz = 0,
                              const std::function<void(double)>& progress = {});

// What the main window makes of a recording's keying.
struct TRecordingAnalysis {
    // The run as the history keeps it (the result boxes, transitions and the coach's judgement);
    // empty when the analysis did not run to its end.
    std::optional<history::TRun> Run;
    // What the window said meanwhile (why there is no run, for one), in order.
    std::vector<std::string> Messages;
};

// Runs the script through a main window of its own (silent, with services of its own, so the
// program's windows and history are untouched) and returns its run.
TRecordingAnalysis AnalyseKeying(TReplayScript script);

}  // namespace app
