// An input device with one key, as the accuracy measurement serves it from a file of its own (the
// machine may have no way to make a real one): the key's state, its capabilities and, for every
// open of the file, a queue of the input events that came after the open, stamped on the clock that
// open chose. Without locking: the daemon that serves the file holds one lock around every call.
#pragma once

#include <linux/input.h>
#include <time.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace accuracy {

// A change of the key that the injector sends: down or up, at a moment of the monotonic clock.
struct TInjectedChange {
    bool Down = false;
    int64_t MonotonicNs = 0;
};

// "down NS" or "up NS" (NS: whole nanoseconds of the monotonic clock, no sign), blanks around
// the words allowed; nothing for any other line.
std::optional<TInjectedChange> ParseControlLine(std::string_view line);

// The three clocks that an open may stamp its events on, read at one moment (nanoseconds).
struct TClockReadings {
    int64_t MonotonicNs = 0;
    int64_t RealtimeNs = 0;
    int64_t BoottimeNs = 0;
};

// What an ioctl hands back: its return value and the bytes copied out to the caller.
struct TIoctlReply {
    int Result = 0;
    std::vector<uint8_t> Out;
};

class TVirtualKeyDevice {
  public:
    // Events an open's queue holds; a change that does not fit empties the queue, which then
    // holds a SYN_DROPPED and the change (the reader learns it lost events).
    static constexpr size_t kQueueEvents = 64;
    // The device's name, as EVIOCGNAME gives it.
    static constexpr std::string_view kName = "Keyvet virtual key";

    // code: the key's code (at most KEY_MAX); clocks: reads the clocks now.
    TVirtualKeyDevice(uint16_t code, std::function<TClockReadings()> clocks);

    // A new open of the file: its events start now, stamped on the realtime clock until it asks
    // for another. Returns the open's number.
    uint64_t Open();
    void Close(uint64_t open);

    // Applies a change of the key; false (nothing queued) when the key already was there.
    bool Change(const TInjectedChange& change);
    bool Down() const { return m_down; }

    // Takes the oldest whole events that fit in maxBytes from an open's queue: 0, EINVAL for room
    // for less than one event, EAGAIN when none is waiting, EBADF for an unknown open.
    int Read(uint64_t open, size_t maxBytes, std::vector<input_event>& events);
    bool Waiting(uint64_t open) const;

    // An ioctl of the evdev interface: 0 and the reply, or an errno value. in: the bytes the
    // caller passed in (the size the request encodes). Reading the key state (EVIOCGKEY) drops
    // the open's queued key events, as the kernel does: the state read supersedes them, so a
    // change that comes between a reader's read() and its state read is never read as an event.
    int Ioctl(uint64_t open, unsigned request, const std::vector<uint8_t>& in, TIoctlReply& reply);
    // The key events that state reads have dropped unread so far, over every open: changes whose
    // readers learnt of them from the state alone, without their times.
    uint64_t DroppedByStateReads() const { return m_droppedByStateReads; }

  private:
    struct TOpen {
        clockid_t Clock = CLOCK_REALTIME;
        std::deque<input_event> Queue;
    };
    // One event at monotonic time ns, in the open's clock.
    static input_event Event(const TOpen& open, const TClockReadings& now, int64_t ns,
                             uint16_t type, uint16_t code, int32_t value);
    // Queues a packet (events ending with a SYN_REPORT), dropping what waits when it does not fit.
    static void Queue(TOpen& open, const std::vector<input_event>& packet);
    int SetClock(TOpen& open, const std::vector<uint8_t>& in);
    // Drops the queued key events and the reports of the packets they leave empty.
    void DropKeyEvents(TOpen& open);

    uint16_t m_code;
    std::function<TClockReadings()> m_clocks;
    bool m_down = false;
    uint64_t m_nextOpen = 1;
    std::map<uint64_t, TOpen> m_opens;
    uint64_t m_droppedByStateReads = 0;
};

}  // namespace accuracy
