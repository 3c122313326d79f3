// The sound card's capture devices, behind a seam: listing them and opening one as a mono stream
// whose blocks of samples arrive on the sound system's own thread with the moment their first
// sample was taken on the monotonic clock. PortAudio in the program; a test scripts
// TFakeSoundInputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Takes the blocks of an open stream. Receive runs on the sound system's thread, which must not
// wait: it may neither block nor allocate.
class ISoundReceiver {
  public:
    virtual ~ISoundReceiver() = default;
    // frames mono samples (full scale 1), the first taken at firstSampleNs (monotonic);
    // afterGap: the device lost samples just before these (it overran).
    virtual void Receive(const float* samples, size_t frames, int64_t firstSampleNs,
                         bool afterGap) = 0;
};

// An open capture stream; closing it (destroying it) stops the blocks.
class ISoundStream {
  public:
    virtual ~ISoundStream() = default;
    // Hz.
    virtual double SampleRate() const = 0;
    // False once the stream has stopped on its own (the device has gone).
    virtual bool Running() const = 0;
};

class ISoundInputs {
  public:
    virtual ~ISoundInputs() = default;
    // The names of the capture devices present, the default one first.
    virtual std::vector<std::string> Devices() = 0;
    // Opens the named device (empty: the default one) at a rate the detector takes, the rate
    // asked for where the device offers it, and starts it. Raises EKeyInputError saying why it
    // cannot.
    virtual std::unique_ptr<ISoundStream> Open(const std::string& device, double sampleRate,
                                               ISoundReceiver& receiver) = 0;
};

// The process's sound inputs: PortAudio's unless a guard replaced them.
ISoundInputs& SoundInputs();

class TScopedSoundInputs {
  public:
    explicit TScopedSoundInputs(ISoundInputs& replacement);
    TScopedSoundInputs(const TScopedSoundInputs&) = delete;
    TScopedSoundInputs& operator=(const TScopedSoundInputs&) = delete;
    ~TScopedSoundInputs();

  private:
    ISoundInputs* m_saved;
};

}  // namespace platform
