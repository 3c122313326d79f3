// A key wired to a serial port's status line (DSR, CTS, DCD or RI); a raised line is a closed
// contact. Where reading the lines is cheap they are read at every poll. Where it is not (a USB
// round trip on some adapters, a trap to the host in a virtual machine) they are read when the
// driver's count of line changes moves, and at least every kCostShare read costs, so the reads
// never take more than a small share of the capture's time. A thread waits on the line's
// changes where the driver can wait for them and stamps each with the moment it woke; its changes
// wait for the capture, one per poll, so a change is logged where it happened even when the
// capture noticed it late, and a press and release between two polls are both logged.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/DeviceKey.h"
#include "platform/KeyChanges.h"

namespace platform {

enum class TSerialLine { slDsr, slCts, slDcd, slRi };

class TSerialLineKey : public TDeviceKey {
  public:
    TSerialLineKey(std::string path, TSerialLine line, IKeyDeviceCalls& calls = KeyDeviceCalls());
    ~TSerialLineKey() override;
    TSerialLineKey(const TSerialLineKey&) = delete;
    TSerialLineKey& operator=(const TSerialLineKey&) = delete;
    TKeyLevel Level() override;
    // When the present level began: the wake of the line's waiting thread that saw the change to
    // it, where one did before the change was noticed; none where the port cannot wait.
    std::optional<TKeyStamp> LevelStamp() override { return m_stamp; }
    // The line as it is now, the waiting thread's changes kept for the capture.
    TKeyLevel LevelNow() override { return PolledLevel(); }
    void CatchUp() override;

    // The clock is read just after the wake, so a stamp is never before the change; this is what
    // the clock itself can tell apart (nanoseconds).
    static constexpr int64_t kWakeResolutionNs = 1000;
    // The line's changes are waited for by a thread (the port did not refuse to wait).
    bool Waiting() const { return m_waiting.load(std::memory_order_acquire); }

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
    void Closing() override;

  private:
    // Reads the lines and keeps the level; returns 0 or the errno value.
    int ReadLine();
    // The level as the polling reads it (at every poll, or when due where reads are costly).
    TKeyLevel PolledLevel();
    void StartWaiter();
    void StopWaiter();
    // The waiting thread: waits on the line until stopped, the port refuses or fails.
    void WaitForChanges(int fd);
    uint64_t Wakes() const;

    uint32_t m_bit;
    int64_t m_readEveryNs = 0;
    int64_t m_nextReadNs = 0;  // monotonic nanoseconds
    bool m_counting = false;   // the driver counts line changes
    uint64_t m_changes = 0;    // its count at the last look

    std::thread m_waiter;
    std::atomic<bool> m_stopWaiting{false};
    std::atomic<bool> m_waiterDone{true};
    std::atomic<bool> m_waiting{false};
    mutable std::mutex m_wakeMutex;
    uint64_t m_wakes = 0;              // under m_wakeMutex: how often the thread woke
    TKeyChanges m_woken;               // under m_wakeMutex: the changes it woke for, not yet taken
    uint64_t m_wakesRead = 0;          // the wake count at the last read of the lines
    std::optional<TKeyStamp> m_stamp;  // when the present level began, where known
};

}  // namespace platform
