// A key wired to a serial port's status line (DSR, CTS, DCD or RI); a raised line is a closed
// contact. Where reading the lines is cheap they are read at every poll. Where it is not (a USB
// round trip on some adapters, a trap to the host in a virtual machine) they are read when the
// driver's count of line changes moves, and at least every kCostShare read costs, so the reads
// never take more than a small share of the capture's time.
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

    // A read that takes longer than this (nanoseconds) is not made at every poll.
    static constexpr int64_t kCheapReadNs = 300;
    // Without a counted change, a costly read is made once per this many read costs.
    static constexpr int64_t kCostShare = 40;
    // How often the lines are read without a counted change, nanoseconds; 0: at every poll.
    int64_t ReadEveryNs() const { return m_readEveryNs; }

  protected:
    std::string Check() override;

  private:
    // Reads the lines and keeps the level; returns 0 or the errno value.
    int ReadLine();

    uint32_t m_bit;
    int64_t m_readEveryNs = 0;
    int64_t m_nextReadNs = 0;  // monotonic nanoseconds
    bool m_counting = false;   // the driver counts line changes
    uint64_t m_changes = 0;    // its count at the last look
};

}  // namespace platform
