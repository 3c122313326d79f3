// What the live monitor knows of a run while it is captured: the transitions read so far from
// the capture's own log, line by line as it grows, and what the coach reads into them (the text,
// the speed, the last marks and spaces against their ideal lengths).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "coach/Keying.h"

namespace app {

// One of the last marks or spaces, with the length it should have had at the run's own timing.
struct TLiveBar {
    bool Mark = false;
    uint32_t LengthMs = 0;
    double IdealMs = 0;
};

struct TLiveReading {
    std::string Text;                // the characters read back, a blank for each word gap
    uint32_t Wpm = 0;                // 0 until the run has a mark
    std::vector<TLiveBar> LastBars;  // oldest first, at most the number asked for
};

// The marks and spaces the monitor reads at most: the last minute or two of keying, so that an
// update costs the same after an hour as after a minute. The text, speed and timing are those
// of this stretch.
constexpr size_t kLiveWindowIntervals = 1000;

// The coach's reading of a run so far: the one place the monitor asks the coach, so another
// decoder can be put behind it. `barCount` is how many of the last marks and spaces to give.
TLiveReading ReadLive(const std::vector<coach::TTransition>& transitions, size_t barCount);

// A run's log as the monitor reads it: line 0 is the key state at the first poll, every later
// line a transition. Times are the lines' tick counts less line 0's, in milliseconds (the tick
// count wraps at 2^32 and the differences with it).
class TLiveRun {
  public:
    void Reset();
    // Takes the next line of the log: its tick count and key-state byte.
    void Add(uint32_t tick, uint8_t keyState);
    size_t LineCount() const { return m_lines; }
    const std::vector<coach::TTransition>& Transitions() const { return m_transitions; }
    // The key is down after the last line (false before any).
    bool KeyDown() const { return m_down; }
    // The tick count of the last line; meaningless before any.
    uint32_t LastTick() const { return m_lastTick; }

  private:
    size_t m_lines = 0;
    uint32_t m_firstTick = 0;
    uint32_t m_lastTick = 0;
    bool m_down = false;
    std::vector<coach::TTransition> m_transitions;
};

}  // namespace app
