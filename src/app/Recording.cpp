// Turning a recording into a keying through the tone detector, and its analysis.
#include "app/Recording.h"

#include <algorithm>
#include <cstdio>

#include "app/MainForm.h"
#include "app/RunHistory.h"
#include "audio/AudioError.h"
#include "audio/PitchFinder.h"
#include "audio/SoundFile.h"
#include "audio/ToneDetector.h"
#include "base/Conversions.h"

namespace app {

namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

}  // namespace

TRecordingReader::TRecordingReader(const std::string& path, double pitchHz)
    : m_path(path), m_pitchHz(pitchHz), m_file(std::make_unique<audio::TSoundFile>(path)) {
    const double seconds = Seconds();
    if (seconds < kMinRecordingSeconds) {
        throw audio::EAudioError(path + " is too short (" + app::Seconds(seconds) +
                                 " s): a recording needs at least " +
                                 app::Seconds(kMinRecordingSeconds) + " s of sound");
    }
    try {
        m_detector = std::make_unique<audio::TToneDetector>(
            audio::TToneDetectorOptions{m_file->SampleRate(), pitchHz});
    } catch (const audio::EAudioError& e) {
        throw audio::EAudioError(path + ": " + e.what());
    }
}

TRecordingReader::~TRecordingReader() = default;

double TRecordingReader::Seconds() const {
    return static_cast<double>(m_file->Frames()) / m_file->SampleRate();
}

double TRecordingReader::Progress() const {
    if (m_finished) {
        return 1;
    }
    return std::min(
        1.0, static_cast<double>(m_file->FramesRead()) / static_cast<double>(m_file->Frames()));
}

bool TRecordingReader::Step(size_t maxFrames) {
    if (m_finished) {
        return false;
    }
    const std::vector<float> block = m_file->Read(maxFrames);
    if (block.empty()) {
        m_detector->Finish();
        m_finished = true;
    } else {
        m_detector->Feed(block);
    }
    for (const audio::TKeyChange& change : m_detector->TakeChanges()) {
        m_changes.push_back(change);
    }
    return !m_finished;
}

TReplayScript TRecordingReader::Script() const {
    if (m_changes.empty()) {
        const std::string where = m_pitchHz > 0
                                      ? "at " + base::FloatToStr(m_pitchHz) + " Hz"
                                      : "between " + base::FloatToStr(audio::kMinPitchHz) +
                                            " and " + base::FloatToStr(audio::kMaxPitchHz) + " Hz";
        throw audio::EAudioError("no keyed Morse tone found in " + m_path + " (looked " + where +
                                 ")");
    }
    TReplayScript script;
    for (const audio::TKeyChange& change : m_changes) {
        script.Events.push_back({change.Sample * 1000 / m_file->SampleRate(), change.Down, 0});
    }
    if (script.EffectiveFinishMs() * script.PollsPerMs > TReplayScript::kMaxPolls) {
        throw audio::EAudioError(m_path +
                                 " is too long: its run would take more polls than a poll "
                                 "count holds (about 11 hours)");
    }
    return script;
}

TReplayScript ScriptFromSound(const std::string& path, double pitchHz,
                              const std::function<void(double)>& progress) {
    TRecordingReader reader(path, pitchHz);
    while (reader.Step()) {
        if (progress) {
            progress(reader.Progress());
        }
    }
    return reader.Script();
}

TRecordingAnalysis AnalyseKeying(TReplayScript script) {
    TReplay replay(std::move(script));
    replay.Run();
    TRecordingAnalysis analysis;
    analysis.Messages = replay.Simulation().Messages();
    if (const coach::TKeyedRun* run = replay.Form().LastAnalysedRun()) {
        analysis.Run = RunRecord(replay.Form(), *run);
    }
    return analysis;
}

}  // namespace app
