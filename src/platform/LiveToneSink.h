// The tone sink an operator hears: the sound card, else the PC speaker, else none.
#pragma once

#include <memory>

#include "platform/ToneSink.h"

namespace platform {

// The first output that opens: the sound card through PortAudio, then the kernel's PC-speaker
// input device. nullptr when neither does; the tone is then silent.
std::unique_ptr<IToneSink> OpenLiveToneSink();

}  // namespace platform
