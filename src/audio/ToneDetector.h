// The Morse tone detector: sound samples in, key changes out, each placed at the sample where the
// keyed tone's envelope crossed half its height. It finds the tone's pitch (or takes the one it
// is given) and follows it, mixes the tone down, passes it through a narrow filter of known
// delay, and decides key down and up against thresholds that follow the noise floor and the
// signal's level, with hysteresis; changes shorter than a fraction of the keying's own dit are
// taken for noise. Sound is fed in blocks of any size; each change comes out about a third of a
// second after it happened (the first ones wait until the tone is found, two seconds or more).
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace audio {

// One change of the key: where it happened, in samples from the first sample fed (fractional),
// and the level after it.
struct TKeyChange {
    double Sample = 0;
    bool Down = false;
};

struct TToneDetectorOptions {
    double SampleRate = 8000;  // Hz
    // The tone's pitch in Hz; 0 to find it (between kMinPitchHz and kMaxPitchHz).
    double PitchHz = 0;
};

class TToneDetector {
  public:
    // The rates a detector takes, Hz.
    static constexpr double kMinSampleRate = 8000;
    static constexpr double kMaxSampleRate = 192000;

    // Raises EAudioError for a rate outside the range above, or a set pitch outside 100 Hz to
    // 40 % of the rate.
    explicit TToneDetector(const TToneDetectorOptions& options);

    // Takes the next samples of the sound (full scale is 1; the level does not matter). A sample
    // that is not a number counts as silence.
    void Feed(std::span<const float> samples);
    // The sound has ended: places every change still held back. Feeding after this is a fault.
    void Finish();
    // The changes placed since the last call, in order.
    std::vector<TKeyChange> TakeChanges();

    double SampleRate() const { return m_rate; }
    int64_t SamplesFed() const { return m_fed; }
    // Whether a keyed tone has been found yet, and its pitch now (Hz, 0 before).
    bool ToneFound() const { return m_locked; }
    double PitchHz() const { return m_locked ? m_pitch : 0; }
    // The key as last decided (a change may still be held back to be placed).
    bool KeyDown() const { return m_confirmedDown; }
    // The tone's level when on and the noise floor, in dB of full scale (both -inf before a tone
    // is found): for a level meter.
    double SignalDb() const;
    double NoiseDb() const;

  private:
    struct TDecision {
        int64_t Sample;  // where the envelope passed the hysteresis threshold
        bool Down;
    };

    bool TryLock(std::span<const float> samples);
    // Starts deciding afresh at sample start with these levels (the unit and pitch learnt so far
    // kept).
    void StartRun(int64_t start, double signal, double noise);
    void Process(float sample);
    void Decide(double power);
    void MeasureMark();
    void Commit(int64_t sample, bool down);
    void SetDecisionLength(int64_t samples);
    void FollowUnit(double sample);
    void Place(size_t index);
    void SetPitch(double hz);
    double PowerAt(int64_t sample) const { return m_power[static_cast<size_t>(sample) & m_mask]; }
    std::complex<double> ValueAt(int64_t sample) const {
        return std::complex<double>(m_value[static_cast<size_t>(sample) & m_mask]);
    }
    double CoarsePowerAt(int64_t sample) const {
        return m_coarsePower[static_cast<size_t>(sample) & m_mask];
    }
    int64_t OldestHeld() const;
    int64_t PlacingLag() const;

    double m_rate;
    double m_setPitch;
    int64_t m_fed = 0;
    bool m_finished = false;
    std::vector<float> m_sane;  // the block being fed, every sample a number within bounds

    // Before a tone is found: the sound kept to look for it in, and where it starts.
    std::vector<float> m_pending;
    int64_t m_pendingStart = 0;
    size_t m_nextSearch = 0;  // samples pending at the next search
    bool m_locked = false;
    int64_t m_lockStart = 0;

    // The mixer: a complex oscillator at minus the pitch.
    double m_pitch = 0;
    std::complex<double> m_osc{1, 0};
    std::complex<double> m_step{1, 0};
    uint32_t m_sinceNormalised = 0;

    // The filter: two running averages one after the other (a symmetric kernel, so its delay is
    // the same for a rising and a falling envelope).
    struct TRunningAverage {
        std::vector<std::complex<double>> Line;
        std::complex<double> Sum{0, 0};
        size_t Next = 0;
        std::complex<double> Step(std::complex<double> in);
    };
    TRunningAverage m_first, m_second;
    // A third over the filter's output: a smoother envelope, its delay m_coarseShift samples more.
    TRunningAverage m_coarse;
    int64_t m_coarseShift = 0;
    int64_t m_support = 0;  // samples over which one input sample spreads
    double m_delay = 0;     // samples

    // The filtered tone's power and value for the last m_mask + 1 samples.
    std::vector<float> m_power;
    std::vector<float> m_coarsePower;
    std::vector<std::complex<float>> m_value;
    std::vector<std::complex<float>> m_decisionValue;  // the decisions' average
    size_t m_mask = 0;
    int64_t m_now = -1;  // the newest sample processed

    // The decisions' average of the filtered tone: its length in samples (and the length it is to
    // take when the key has been steady long enough) and its sum.
    int64_t m_decisionLength = 1;
    int64_t m_wantedDecisionLength = 1;
    std::complex<double> m_decisionSum{0, 0};
    // Deciding: the hysteresis state, a change waiting to last long enough, the running levels.
    bool m_rawDown = false;
    int64_t m_lastRawChange = 0;
    int64_t m_candidate = -1;
    bool m_confirmedDown = false;
    double m_signal = 0;      // power of tone plus noise when on
    double m_noise = 0;       // power when off
    int64_t m_rawDownAt = 0;  // the sample at which the mark going on was seen
    // The keying's unit (a dit), as far as it is known: the median of the latest dits, element
    // gaps and thirds of dahs (noise that splits a mark or joins two pulls it only when it is most
    // of what was keyed lately).
    static constexpr size_t kUnitSamples = 15;
    double m_unitSamples = 0;
    std::array<double, kUnitSamples> m_unitSamplesSeen{};
    size_t m_nextUnitSample = 0;
    int64_t m_guard = 0;
    // The pitch follower: the filtered tone's turn per sample summed over a mark's steady part.
    std::complex<double> m_turn{0, 0};
    int64_t m_turnCount = 0;

    // Placing: the decisions kept for the levels around a change, the first not yet placed, and
    // the key before the oldest kept.
    std::deque<TDecision> m_decisions;
    size_t m_nextToPlace = 0;
    bool m_downBeforeKept = false;
    double m_lastPlaced = -1;
    std::vector<TKeyChange> m_changes;
};

}  // namespace audio
