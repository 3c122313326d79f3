// The square wave generator and the lock-free tone renderer.
#include "platform/ToneRenderer.h"

#include <chrono>

namespace platform {
namespace {
std::atomic<float> g_sideToneLevel{kToneAmplitude};
static_assert(std::atomic<float>::is_always_lock_free);
}  // namespace

void SetSideToneLevel(float level) {
    g_sideToneLevel.store(level, std::memory_order_release);
}

float SideToneLevel() {
    return g_sideToneLevel.load(std::memory_order_acquire);
}

float TSquareWave::Next(double frequencyHz) {
    if (frequencyHz <= 0 || frequencyHz > kMaxAudibleHz) {
        m_sounding = false;
        m_phase = 0;
        return 0.0f;
    }
    m_sounding = true;
    const float sample = m_phase < 0.5 ? m_amplitude : -m_amplitude;
    m_phase += frequencyHz / m_sampleRate;
    if (m_phase >= 1.0) {
        m_phase -= static_cast<double>(static_cast<int64_t>(m_phase));
    }
    return sample;
}

TToneRenderer::TToneRenderer(double sampleRate) : m_wave(sampleRate) {}

void TToneRenderer::SetFrequency(double frequencyHz) {
    m_frequency.store(frequencyHz, std::memory_order_release);
}

void TToneRenderer::Render(float* out, size_t frames) {
    // One load per buffer: a change takes effect at the next buffer, which is as soon as the
    // device can play it anyway.
    const double frequency = m_frequency.load(std::memory_order_acquire);
    m_wave.SetAmplitude(SideToneLevel());
    const bool wasSounding = m_wave.Sounding();
    for (size_t i = 0; i < frames; ++i) {
        out[i] = m_wave.Next(frequency);
    }
    const bool sounding = m_wave.Sounding();
    if (sounding && !wasSounding && frames > 0) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        m_lastOnsetNs.store(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count(),
                            std::memory_order_release);
        m_onsets.fetch_add(1, std::memory_order_acq_rel);
    }
    m_sounding.store(sounding, std::memory_order_release);
    m_renders.fetch_add(1, std::memory_order_acq_rel);
}

}  // namespace platform
