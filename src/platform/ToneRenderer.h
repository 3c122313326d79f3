// Samples of the speaker's tone: a square wave generator, and the renderer that hands the
// tone from the port bus to an audio callback on another thread without locks.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace platform {

// Frequencies above this are inaudible and rendered as silence (Hz).
constexpr double kMaxAudibleHz = 20000.0;
// Peak level of the tone, as a fraction of full scale: loud enough, not painful.
constexpr float kToneAmplitude = 0.25f;

// The peak level the sound card's side-tone is rendered at (fraction of full scale), for every
// renderer of the process: the operator's volume setting. kToneAmplitude until set.
void SetSideToneLevel(float level);
float SideToneLevel();

// A square wave like the speaker's: +amplitude for the first half of each cycle, -amplitude
// for the second. Starts a fresh cycle when it starts sounding.
class TSquareWave {
  public:
    explicit TSquareWave(double sampleRate) : m_sampleRate(sampleRate) {}
    // The next sample (fraction of full scale) at frequencyHz; 0 = silence.
    float Next(double frequencyHz);
    bool Sounding() const { return m_sounding; }
    double SampleRate() const { return m_sampleRate; }
    // Peak level from the next sample on (fraction of full scale).
    void SetAmplitude(float amplitude) { m_amplitude = amplitude; }

  private:
    double m_sampleRate;  // samples per second
    float m_amplitude = kToneAmplitude;
    double m_phase = 0;  // cycles, [0, 1)
    bool m_sounding = false;
};

class TToneRenderer {
  public:
    explicit TToneRenderer(double sampleRate);

    // Any thread: the tone to sound from the next rendered sample on (Hz, 0 = silence).
    void SetFrequency(double frequencyHz);
    double Frequency() const { return m_frequency.load(std::memory_order_acquire); }

    // Audio thread only: fills frames mono samples at the side-tone level. Wait-free.
    void Render(float* out, size_t frames);
    double SampleRate() const { return m_wave.SampleRate(); }

    // What the audio thread last did, for measuring latency: the number of times a
    // non-silent sample followed silence, the steady-clock time of the last such onset
    // (nanoseconds), and whether the last rendered sample sounded.
    uint64_t OnsetCount() const { return m_onsets.load(std::memory_order_acquire); }
    int64_t LastOnsetNs() const { return m_lastOnsetNs.load(std::memory_order_acquire); }
    bool Sounding() const { return m_sounding.load(std::memory_order_acquire); }
    // Buffers rendered so far: two more than now means one was wholly rendered after now.
    uint64_t RenderCount() const { return m_renders.load(std::memory_order_acquire); }

  private:
    std::atomic<double> m_frequency{0.0};
    static_assert(std::atomic<double>::is_always_lock_free);
    TSquareWave m_wave;  // audio thread only
    std::atomic<uint64_t> m_onsets{0};
    std::atomic<int64_t> m_lastOnsetNs{0};
    std::atomic<bool> m_sounding{false};
    std::atomic<uint64_t> m_renders{0};
};

}  // namespace platform
