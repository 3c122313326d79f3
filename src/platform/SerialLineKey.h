// A key wired to a serial port's status line (DSR, CTS, DCD or RI): the line is read at every
// poll with the modem-status call; a raised line is a closed contact.
#pragma once

#include <string>
#include <vector>

#include "platform/DeviceKey.h"

namespace platform {

enum class TSerialLine { slDsr, slCts, slDcd, slRi };

class TSerialLineKey : public TDeviceKey {
  public:
    TSerialLineKey(std::string path, TSerialLine line, IKeyDeviceCalls& calls = KeyDeviceCalls());
    TKeyLevel Level() override;

    // The serial ports present: /dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM*.
    static std::vector<std::string> Ports(IKeyDeviceCalls& calls = KeyDeviceCalls());
    // The line's name in the settings and the window ("DSR").
    static const char* LineName(TSerialLine line);
    static uint32_t LineBit(TSerialLine line);

  protected:
    std::string Check() override;

  private:
    uint32_t m_bit;
};

}  // namespace platform
