// Scriptable device calls for tests of the key inputs: device files held in memory with their
// modem lines, keys and owning group; a device can refuse to open, be unplugged and come back.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/KeyDeviceCalls.h"

namespace platform {

class TFakeKeyDeviceCalls : public IKeyDeviceCalls {
  public:
    // A device file, owned by group; opens unless an error is set.
    void AddDevice(const std::string& path, const std::string& group = "root");
    // Every later Open of the path fails with error (0: opens again).
    void SetOpenError(const std::string& path, int error);
    // Sets the lines; the change counter counts each line that changed, where it counts.
    void SetModemBits(const std::string& path, uint32_t bits);
    // A driver that does not count line changes (the call fails with error), or whose counter
    // never moves (error 0 with counting off).
    void SetChangeCounting(const std::string& path, bool counting, int error = 0);
    // Called at every modem-status read (a test can advance its clock there: a slow read).
    void SetOnModemRead(std::function<void()> onRead) { m_onModemRead = std::move(onRead); }
    int ModemReads() const { return m_modemReads; }
    void SetKeyCodes(const std::string& path, const std::set<uint32_t>& codes);
    void SetKeyDown(const std::string& path, uint32_t code, bool down);
    // Queues a key event (the key's state is set apart, with SetKeyDown); a device whose clock
    // cannot be switched to the monotonic one fails that call with error. A state read drops the
    // events waiting, as the kernel does.
    void QueueKeyEvent(const std::string& path, const TKeyEvent& event);
    // A change as the kernel reports it: the key's state and its event at monotonicNs.
    void ChangeKey(const std::string& path, uint32_t code, bool down, int64_t monotonicNs);
    // Called at the end of every read of the key events (a test can change the key there: a
    // change between the read and the state read that follows it).
    void SetOnKeyEventsRead(std::function<void()> onRead) { m_onKeyEventsRead = std::move(onRead); }
    void SetClockError(const std::string& path, int error) { m_devices[path].ClockError = error; }
    // Waits for line changes (on any thread): a port that refuses them with error (0: waits),
    // and a change that ends the oldest wait with the modem bits read and the clock at the wake.
    void SetLineWaitError(const std::string& path, int error);
    void WakeLine(const std::string& path, uint32_t bits, int64_t monotonicNs);
    // Waits up to a second until a thread waits on the path's lines with every wake taken; false
    // when none does by then.
    bool AwaitLineWaiter(const std::string& path);
    // Threads waiting on line changes now, and the waits begun so far.
    int LineWaiters() const;
    int LineWaitCalls() const;
    // Unplugged: calls on its open descriptors fail with ENODEV and it no longer opens (a wait
    // for its lines ends with EIO).
    void Unplug(const std::string& path);
    void Plug(const std::string& path);

    size_t OpenCount() const { return m_open.size(); }
    int OpenCalls() const { return m_openCalls; }

    int Open(const std::string& path, int& fd) override;
    void Close(int fd) override;
    int ModemStatus(int fd, uint32_t& bits) override;
    int LineChanges(int fd, uint64_t& changes) override;
    int KeyBits(int fd, bool capabilities, uint8_t* bits) override;
    int UseMonotonicEventTimes(int fd) override;
    int KeyEvents(int fd, std::vector<TKeyEvent>& events) override;
    int WaitLineChange(int fd, uint32_t lines, uint32_t& bits, int64_t& monotonicNs) override;
    void InterruptLineWait(unsigned long thread) override;
    std::vector<std::string> List(const std::string& pattern) override;
    std::string GroupOf(const std::string& path) override;

  private:
    struct TDevice {
        std::string Group;
        int OpenError = 0;
        bool Plugged = true;
        uint32_t ModemBits = 0;
        bool Counting = true;
        int CountError = 0;
        uint64_t Changes = 0;
        std::set<uint32_t> Codes;
        std::set<uint32_t> Down;
        std::vector<TKeyEvent> Events;
        int ClockError = 0;
    };
    // What the waits for line changes of one device see; under m_waitMutex.
    struct TLineWaits {
        int Error = 0;
        bool Unplugged = false;
        int Waiting = 0;
        std::deque<std::pair<uint32_t, int64_t>> Wakes;  // modem bits, monotonic ns
    };
    // The device behind an open descriptor, or nullptr with the error to return.
    TDevice* Find(int fd, int& error);

    std::map<std::string, TDevice> m_devices;
    std::map<int, std::string> m_open;  // descriptor -> path
    int m_nextFd = 3;
    int m_openCalls = 0;
    int m_modemReads = 0;
    std::function<void()> m_onModemRead;
    std::function<void()> m_onKeyEventsRead;

    // The waits for line changes run on other threads: what they see is kept apart, locked.
    mutable std::mutex m_waitMutex;
    std::condition_variable m_waitChanged;
    std::map<std::string, TLineWaits> m_lineWaits;
    std::map<int, std::string> m_waitFds;  // descriptor -> path, as m_open
    bool m_waitInterrupted = false;
    int m_lineWaiters = 0;
    int m_lineWaitCalls = 0;
};

}  // namespace platform
