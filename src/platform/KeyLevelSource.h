// A key input other than the right button, sampled once per poll: its contact is open or closed,
// or the input has gone (a device unplugged). Failures to open it are EKeyInputError.
#pragma once

#include <optional>
#include <string>

#include "base/Exceptions.h"
#include "platform/Services.h"

namespace platform {

enum class TKeyLevel { klOpen, klClosed, klLost };

class IKeyLevelSource {
  public:
    virtual ~IKeyLevelSource() = default;
    virtual TKeyLevel Level() = 0;
    // When the contact took the level Level() last returned, where the input stamps its changes.
    virtual std::optional<TKeyStamp> LevelStamp() { return std::nullopt; }
    // Every change that happened before this moment of the monotonic clock has been returned by
    // Level() (IKeyState::SettledNs); kSettledNow where each is returned as it happens.
    virtual int64_t SettledNs() { return kSettledNow; }
    // The level as the contact is now, without taking a change from the capture (IKeyState::
    // DownNow); a source that keeps no changes waiting reads its level.
    virtual TKeyLevel LevelNow() { return Level(); }
    // Takes every waiting change at once (IKeyState::CatchUp).
    virtual void CatchUp() {}
    // After a loss: tries quietly to open the input again; true when it is back.
    virtual bool Reopen() = 0;
    // How messages name the input ("the serial port /dev/ttyUSB0").
    virtual std::string Description() const = 0;
};

// A key input that cannot be used; the message says why and what to do.
class EKeyInputError : public base::Exception {
  public:
    using base::Exception::Exception;
};

}  // namespace platform
