// Turning a recording into a replay script through the tone detector.
#include "replay/SoundScript.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "audio/AudioError.h"
#include "audio/PitchFinder.h"
#include "audio/SoundFile.h"
#include "audio/ToneDetector.h"
#include "base/Conversions.h"

namespace replay {

namespace {

// Frames read and fed at a time.
constexpr size_t kBlockFrames = 1 << 16;

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

}  // namespace

TReplayScript ScriptFromSound(const std::string& path, double pitchHz,
                              const std::function<void(double)>& progress) {
    audio::TSoundFile file(path);
    const double seconds = static_cast<double>(file.Frames()) / file.SampleRate();
    if (seconds < kMinRecordingSeconds) {
        throw audio::EAudioError(path + " is too short (" + Seconds(seconds) +
                                 " s): a recording needs at least " +
                                 Seconds(kMinRecordingSeconds) + " s of sound");
    }
    std::unique_ptr<audio::TToneDetector> detector;
    try {
        detector = std::make_unique<audio::TToneDetector>(
            audio::TToneDetectorOptions{file.SampleRate(), pitchHz});
    } catch (const audio::EAudioError& e) {
        throw audio::EAudioError(path + ": " + e.what());
    }
    TReplayScript script;
    std::vector<audio::TKeyChange> changes;
    auto take = [&] {
        for (const audio::TKeyChange& change : detector->TakeChanges()) {
            changes.push_back(change);
        }
    };
    for (;;) {
        const std::vector<float> block = file.Read(kBlockFrames);
        if (block.empty()) {
            break;
        }
        detector->Feed(block);
        take();
        if (progress) {
            progress(std::min(
                1.0, static_cast<double>(file.FramesRead()) / static_cast<double>(file.Frames())));
        }
    }
    detector->Finish();
    take();
    if (changes.empty()) {
        const std::string where = pitchHz > 0
                                      ? "at " + base::FloatToStr(pitchHz) + " Hz"
                                      : "between " + base::FloatToStr(audio::kMinPitchHz) +
                                            " and " + base::FloatToStr(audio::kMaxPitchHz) + " Hz";
        throw audio::EAudioError("no keyed Morse tone found in " + path + " (looked " + where +
                                 ")");
    }
    for (const audio::TKeyChange& change : changes) {
        script.Events.push_back({change.Sample * 1000 / file.SampleRate(), change.Down, 0});
    }
    if (script.EffectiveFinishMs() * script.PollsPerMs > TReplayScript::kMaxPolls) {
        throw audio::EAudioError(path +
                                 " is too long: its run would take more polls than a poll "
                                 "count holds (about 11 hours)");
    }
    return script;
}

}  // namespace replay
