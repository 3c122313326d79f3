// Picks the live tone output.
#include "platform/LiveToneSink.h"

#include "platform/AudioToneSink.h"
#include "platform/PcSpeakerToneSink.h"

namespace platform {

std::unique_ptr<IToneSink> OpenLiveToneSink() {
    auto audio = std::make_unique<TAudioToneSink>();
    if (audio->Open()) {
        return audio;
    }
    auto speaker = std::make_unique<TPcSpeakerToneSink>();
    if (speaker->Open()) {
        return speaker;
    }
    return nullptr;
}

}  // namespace platform
