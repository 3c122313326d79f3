// The tone through the kernel's PC-speaker input device (a sound event with the frequency).
#pragma once

#include <string>

#include "platform/ToneSink.h"

namespace platform {

class TPcSpeakerToneSink : public IToneSink {
  public:
    TPcSpeakerToneSink() = default;
    ~TPcSpeakerToneSink() override;
    TPcSpeakerToneSink(const TPcSpeakerToneSink&) = delete;
    TPcSpeakerToneSink& operator=(const TPcSpeakerToneSink&) = delete;

    // Opens the first input device under /dev/input that can sound tones and that this user
    // may write; false when there is none.
    bool Open();
    // Opens that one device; false when it cannot sound tones or cannot be written.
    bool OpenDevice(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }

    void ToneChanged(int64_t timeUs, double frequencyHz) override;

  private:
    int m_fd = -1;
};

}  // namespace platform
