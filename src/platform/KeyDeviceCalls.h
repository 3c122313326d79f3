// The system calls behind the device key inputs (serial status lines, input devices): opening a
// device file read-only, its modem-status lines, its keys, listing the devices present and
// naming the group that may open one. A test scripts them with TFakeKeyDeviceCalls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Bits of the modem-status word (as the serial driver reports them).
constexpr uint32_t kModemDcd = 0x040;  // carrier detect
constexpr uint32_t kModemRi = 0x080;   // ring indicator
constexpr uint32_t kModemDsr = 0x100;  // data set ready
constexpr uint32_t kModemCts = 0x020;  // clear to send

// The highest key or button code of an input device, and the bytes of its bit set.
constexpr uint32_t kMaxKeyCode = 0x2ff;
constexpr size_t kKeyBitBytes = (kMaxKeyCode + 8) / 8;

// One change of a key or button that an input device reported, at the kernel's time of it on the
// monotonic clock; or, with Dropped, the mark the device leaves where it lost events (its queue
// overflowed): the key state must then be read again.
struct TKeyEvent {
    uint32_t Code = 0;
    bool Down = false;
    int64_t MonotonicNs = 0;
    bool Dropped = false;
};

// Every call returns 0 or a positive errno value; Open returns the descriptor through fd.
class IKeyDeviceCalls {
  public:
    virtual ~IKeyDeviceCalls() = default;
    // Opens read-only and non-blocking, never as a controlling terminal, never grabbed.
    virtual int Open(const std::string& path, int& fd) = 0;
    virtual void Close(int fd) = 0;
    // The modem-status word of a serial port.
    virtual int ModemStatus(int fd, uint32_t& bits) = 0;
    // How many times the status lines have changed since the port's driver started counting
    // (the sum over CTS, DSR, RI and DCD), where the driver counts them.
    virtual int LineChanges(int fd, uint64_t& changes) = 0;
    // The keys an input device has (capabilities) or holds down now (state), kKeyBitBytes bytes,
    // code c in bit c % 8 of byte c / 8. Reading the state drops the key events still waiting
    // for KeyEvents: the state supersedes them.
    virtual int KeyBits(int fd, bool capabilities, uint8_t* bits) = 0;
    // Has an input device stamp its events on the monotonic clock (it stamps with the wall
    // clock until told).
    virtual int UseMonotonicEventTimes(int fd) = 0;
    // Waits until one of the serial port's status lines in `lines` (modem-status bits) changes,
    // then reads the modem-status word and the monotonic clock (nanoseconds). EINTR when the wait
    // was interrupted (InterruptLineWait); a port whose driver cannot wait for line changes
    // refuses at once with another error (ENOTTY, EINVAL).
    virtual int WaitLineChange(int fd, uint32_t lines, uint32_t& bits, int64_t& monotonicNs) = 0;
    // Ends a WaitLineChange that `thread` (its native handle) is in, or is about to enter, with
    // EINTR. A wait entered after the interruption was taken may go on: call again until the
    // thread is seen to leave.
    virtual void InterruptLineWait(unsigned long thread) = 0;
    // The key presses and releases an input device queued since the last call, oldest first,
    // without waiting (repeats of a held key left out), with a Dropped mark where it lost events.
    virtual int KeyEvents(int fd, std::vector<TKeyEvent>& events) = 0;
    // The device files matching a shell pattern, sorted.
    virtual std::vector<std::string> List(const std::string& pattern) = 0;
    // The name of the group that owns a file, or empty when unknown.
    virtual std::string GroupOf(const std::string& path) = 0;
};

// The process's device calls: the Linux ones unless a guard replaced them.
IKeyDeviceCalls& KeyDeviceCalls();

class TScopedKeyDeviceCalls {
  public:
    explicit TScopedKeyDeviceCalls(IKeyDeviceCalls& replacement);
    TScopedKeyDeviceCalls(const TScopedKeyDeviceCalls&) = delete;
    TScopedKeyDeviceCalls& operator=(const TScopedKeyDeviceCalls&) = delete;
    ~TScopedKeyDeviceCalls();

  private:
    IKeyDeviceCalls* m_saved;
};

}  // namespace platform
