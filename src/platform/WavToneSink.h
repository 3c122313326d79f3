// A tone sink that records the tone into a WAV file (48 kHz, mono, 16-bit) on the time line it
// is told, so a replayed run's side-tone can be checked from outside.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "base/OutputFile.h"
#include "platform/ToneRenderer.h"
#include "platform/ToneSink.h"

namespace platform {

class TWavToneSink : public IToneSink {
  public:
    static constexpr uint32_t kSampleRate = 48000;  // Hz

    // Creates the file (under a temporary name until it is complete); sample 0 is at originUs
    // (microseconds on the bus's time line). Raises base::Exception "Cannot create WAV file
    // '<path>': <reason>".
    TWavToneSink(const std::string& path, int64_t originUs);
    // Completes the file at the time of the last change when Close was not called; a file whose
    // writing failed is dropped, leaving what stood at the path.
    ~TWavToneSink() override;
    TWavToneSink(const TWavToneSink&) = delete;
    TWavToneSink& operator=(const TWavToneSink&) = delete;

    // Writes the tone so far up to timeUs and sounds frequencyHz from there. A time before the
    // last one is taken as the last one. Never raises: a write failure is reported by Close.
    void ToneChanged(int64_t timeUs, double frequencyHz) override;

    // Writes the tone up to endUs, completes the file's header and puts the file in place.
    // Raises base::Exception "Cannot write WAV file '<path>': <reason>" when any write failed;
    // then nothing is put in place.
    void Close(int64_t endUs);

    uint64_t SamplesWritten() const { return m_samples; }

  private:
    void RenderUntil(int64_t timeUs);
    // Writes the final header; the file is put in place by the caller.
    void WriteHeader();

    std::unique_ptr<base::TOutputFile> m_output;
    std::FILE* m_file = nullptr;  // m_output's stream
    TSquareWave m_wave{kSampleRate};
    double m_frequency = 0;  // Hz sounding since the last change
    int64_t m_originUs;
    int64_t m_lastUs;
    uint64_t m_samples = 0;  // written so far
    int m_error = 0;         // errno of the first failed write, 0 = none
};

}  // namespace platform
