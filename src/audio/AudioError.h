// The failure of anything in sound input that a user or a file can cause, with its message.
#pragma once

#include <string>

#include "base/Exceptions.h"

namespace audio {

class EAudioError : public base::Exception {
  public:
    explicit EAudioError(const std::string& message) : base::Exception(message) {}
};

}  // namespace audio
