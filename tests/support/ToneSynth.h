// Test recordings of a keyed Morse tone, made apart from the program: the keyed envelope with
// raised-cosine edges (half height at each key change), white noise at a signal-to-noise ratio
// measured in a 500 Hz band, slow fading, a chirp at each key-down, hard key clicks, mains hum and
// a second keyed signal, at any sample rate. Also a plain 16-bit PCM WAV writer of its own.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "coach/Keying.h"

namespace testsupport {

struct TSoundConditions {
    double SampleRate = 8000;  // Hz
    double PitchHz = 700;
    double Amplitude = 0.25;  // of the tone when on, full scale 1
    // Each edge rises or falls over this time as half a cosine, centred on the key change, ms.
    double RiseMs = 5;
    // Signal power over the noise's power within 500 Hz, dB (infinity: no noise).
    double SnrDb = std::numeric_limits<double>::infinity();
    // The tone's level swings this many dB either way, as a sine of this period, seconds.
    double FadeDb = 0;
    double FadePeriodS = 8;
    // At each key-down the tone starts this far above its pitch and settles with this time
    // constant, Hz and ms.
    double ChirpHz = 0;
    double ChirpMs = 10;
    // The pitch drifts by this much a second, Hz.
    double DriftHzPerS = 0;
    // A burst of broadband noise of this amplitude (relative to the tone) for 1 ms at each key
    // change: the clicks of a hard-keyed transmitter or of the key itself.
    double ClickLevel = 0;
    // Mains hum at 50 Hz with its odd harmonics to 550 Hz, each this amplitude relative to the
    // tone.
    double HumLevel = 0;
    // A second keyed signal, this amplitude relative to the tone, this far from the pitch, keyed
    // with the changes of SecondKeying.
    double SecondLevel = 0;
    double SecondOffsetHz = 300;
    std::vector<coach::TTransition> SecondKeying;
    uint32_t Seed = 1;
};

namespace detail {

// The keyed envelope (0 to 1) at time ms for changes at the given times.
class TKeyedEnvelope {
  public:
    TKeyedEnvelope(const std::vector<coach::TTransition>& keying, double riseMs)
        : m_keying(keying), m_rise(riseMs) {}

    // Times are asked in order.
    double At(double ms) {
        while (m_next < m_keying.size() && m_keying[m_next].TimeMs + m_rise / 2 <= ms) {
            m_down = m_keying[m_next++].Down;
        }
        if (m_next < m_keying.size()) {
            const double start = m_keying[m_next].TimeMs - m_rise / 2;
            if (ms > start && m_keying[m_next].Down != m_down) {
                const double x = (ms - start) / m_rise;  // 0 to 1 across the edge
                const double rise = 0.5 - 0.5 * std::cos(std::numbers::pi * x);
                return m_keying[m_next].Down ? rise : 1 - rise;
            }
        }
        return m_down ? 1 : 0;
    }
    // The time of the last key-down at or before ms, or -infinity.
    double LastDownMs() const {
        for (size_t i = m_next; i-- > 0;) {
            if (m_keying[i].Down) {
                return m_keying[i].TimeMs;
            }
        }
        return -std::numeric_limits<double>::infinity();
    }

  private:
    const std::vector<coach::TTransition>& m_keying;
    double m_rise;
    size_t m_next = 0;
    bool m_down = false;
};

}  // namespace detail

// The sound of `keying` (times in ms from the first sample) lasting lengthMs.
inline std::vector<float> SynthesiseKeying(const std::vector<coach::TTransition>& keying,
                                           double lengthMs, const TSoundConditions& c) {
    const size_t count = static_cast<size_t>(lengthMs * c.SampleRate / 1000);
    std::vector<float> out(count);
    std::mt19937 engine(c.Seed);
    std::normal_distribution<double> gauss(0, 1);
    // White noise over 0 to rate/2 with this much of its power in 500 Hz.
    const double signalPower = c.Amplitude * c.Amplitude / 2;
    const double noiseSigma =
        std::isinf(c.SnrDb)
            ? 0
            : std::sqrt(signalPower / std::pow(10, c.SnrDb / 10) * (c.SampleRate / 2) / 500);
    detail::TKeyedEnvelope envelope(keying, std::max(c.RiseMs, 1e-6));
    detail::TKeyedEnvelope second(c.SecondKeying, 5);
    double phase = 0, secondPhase = 0;
    size_t click = 0;  // the next key change to click at
    const double dt = 1 / c.SampleRate;
    for (size_t i = 0; i < count; ++i) {
        const double ms = static_cast<double>(i) * 1000 / c.SampleRate;
        const double e = envelope.At(ms);
        const double sinceDown = ms - envelope.LastDownMs();
        const double chirp =
            c.ChirpHz != 0 && sinceDown >= 0 ? c.ChirpHz * std::exp(-sinceDown / c.ChirpMs) : 0;
        const double hz = c.PitchHz + c.DriftHzPerS * ms / 1000 + chirp;
        phase = std::fmod(phase + 2 * std::numbers::pi * hz * dt, 2 * std::numbers::pi);
        const double fade =
            c.FadeDb == 0
                ? 1
                : std::pow(10, c.FadeDb *
                                   std::sin(2 * std::numbers::pi * ms / 1000 / c.FadePeriodS) / 20);
        double x = c.Amplitude * fade * e * std::sin(phase);
        if (c.SecondLevel > 0) {
            secondPhase += 2 * std::numbers::pi * (c.PitchHz + c.SecondOffsetHz) * dt;
            x += c.Amplitude * c.SecondLevel * second.At(ms) * std::sin(secondPhase);
        }
        if (c.HumLevel > 0) {
            for (int h = 1; h <= 11; h += 2) {
                x += c.Amplitude * c.HumLevel / h *
                     std::sin(2 * std::numbers::pi * 50 * h * ms / 1000);
            }
        }
        if (c.ClickLevel > 0) {
            while (click < keying.size() && keying[click].TimeMs + 1 < ms) {
                ++click;
            }
            if (click < keying.size() && ms >= keying[click].TimeMs) {
                x += c.Amplitude * c.ClickLevel * gauss(engine);
            }
        }
        if (noiseSigma > 0) {
            x += noiseSigma * gauss(engine);
        }
        out[i] = static_cast<float>(x);
    }
    return out;
}

// The changes as fractional milliseconds, for comparing with what a detector placed.
struct TTimedChange {
    double Ms = 0;
    bool Down = false;
};

// Writes mono or interleaved samples (full scale 1, clipped) as 16-bit PCM WAV.
inline void WritePcmWav(const std::string& path, const std::vector<float>& samples,
                        uint32_t sampleRate, uint16_t channels = 1) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](uint16_t v) {
        out.put(static_cast<char>(v & 0xFF));
        out.put(static_cast<char>(v >> 8));
    };
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(channels);
    u32(sampleRate);
    u32(sampleRate * channels * 2);
    u16(static_cast<uint16_t>(channels * 2));
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (const float s : samples) {
        const double clipped = std::fmax(-1.0, std::fmin(1.0, static_cast<double>(s)));
        u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(clipped * 32767))));
    }
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace testsupport
