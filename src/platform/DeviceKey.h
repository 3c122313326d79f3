// What the serial-line and input-device keys share: a device file opened read-only through the
// scriptable device calls, closed when done, and the messages for a device that cannot be used.
#pragma once

#include <string>

#include "platform/KeyDeviceCalls.h"
#include "platform/KeyLevelSource.h"

namespace platform {

class TDeviceKey : public IKeyLevelSource {
  public:
    ~TDeviceKey() override;
    TDeviceKey(const TDeviceKey&) = delete;
    TDeviceKey& operator=(const TDeviceKey&) = delete;

    // Opens the device and checks that it can serve as this key; raises EKeyInputError.
    void Open();
    bool Reopen() override;
    std::string Description() const override { return m_kind + " " + m_path; }
    const std::string& Path() const { return m_path; }

  protected:
    // kind: "serial port"; defaultGroup: the group usually allowed to open such devices.
    TDeviceKey(std::string path, std::string kind, std::string defaultGroup,
               IKeyDeviceCalls& calls);
    // Checks a freshly opened device; returns an empty text or why it cannot serve.
    virtual std::string Check() = 0;
    // The level after a failed call with errno error: an interrupted call keeps the last level,
    // anything else means the device has gone (and it is closed).
    TKeyLevel Failed(int error);
    // Called before the device is closed (not from the destructor: a subclass that needs this
    // calls it from its own).
    virtual void Closing() {}

    IKeyDeviceCalls& m_calls;
    int m_fd = -1;
    TKeyLevel m_last = TKeyLevel::klOpen;

  private:
    // Opens and checks; returns an empty text or the message.
    std::string TryOpen();
    void CloseDevice();

    std::string m_path;
    std::string m_kind;
    std::string m_defaultGroup;
};

}  // namespace platform
