// The tone through the sound card: a PortAudio output stream with a small buffer whose callback
// renders the square wave; the bus hands it the frequency through an atomic.
#pragma once

#include <memory>

#include "platform/ToneRenderer.h"
#include "platform/ToneSchedule.h"
#include "platform/ToneSink.h"

namespace platform {

class TAudioToneSink : public IToneSink {
  public:
    static constexpr double kSampleRate = 48000.0;         // Hz
    static constexpr unsigned long kFramesPerBuffer = 64;  // 1.3 ms at 48 kHz

    TAudioToneSink();
    // A sink that plays schedule (not owned; it must outlive the sink) instead of following
    // ToneChanged: the played-back side-tone.
    explicit TAudioToneSink(TToneSchedule* schedule);
    ~TAudioToneSink() override;
    TAudioToneSink(const TAudioToneSink&) = delete;
    TAudioToneSink& operator=(const TAudioToneSink&) = delete;

    // Opens and starts the default output device with the lowest latency it offers. False,
    // without a word on the error stream, when there is no device or it will not open.
    bool Open();
    bool IsOpen() const { return m_stream != nullptr; }
    // The device's output latency (seconds) as it reports it; 0 when not open.
    double OutputLatency() const { return m_outputLatency; }
    double SampleRate() const { return m_sampleRate; }

    // Any thread: takes effect at the next buffer the callback fills.
    void ToneChanged(int64_t timeUs, double frequencyHz) override;

    // What the stream's callback runs on the audio thread: fills frames mono samples. A stream
    // driven by hand (no device) calls it the same way.
    void FillBuffer(float* out, unsigned long frames);

    const TToneRenderer& Renderer() const { return *m_renderer; }

  private:
    bool OpenAt(int device, double sampleRate);

    std::unique_ptr<TToneRenderer> m_renderer;
    TToneSchedule* m_schedule = nullptr;
    void* m_stream = nullptr;  // the PortAudio stream
    bool m_initialized = false;
    double m_sampleRate = kSampleRate;
    double m_outputLatency = 0;
};

}  // namespace platform
