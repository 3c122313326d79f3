// The live monitor's reading of a run's log and the coach's reading of its transitions.
#include "app/LiveRun.h"

#include "app/MainForm.h"
#include "coach/ReadBack.h"

namespace app {

TLiveReading ReadLive(const std::vector<coach::TTransition>& transitions, size_t barCount) {
    TLiveReading reading;
    // The last stretch, beginning at a press (its first character may be cut; it is the oldest
    // and off the monitor's line).
    size_t first = transitions.size() > kLiveWindowIntervals + 1
                       ? transitions.size() - kLiveWindowIntervals - 1
                       : 0;
    while (first > 0 && !transitions[first].Down) {
        --first;
    }
    std::vector<coach::TInterval> intervals =
        coach::Intervals(first == 0 ? transitions
                                    : std::vector<coach::TTransition>(
                                          transitions.begin() + static_cast<std::ptrdiff_t>(first),
                                          transitions.end()));
    // A run begins at its first press: the space before it is only the wait after Start.
    if (!intervals.empty() && !intervals.front().Mark) {
        intervals.erase(intervals.begin());
    }
    if (intervals.empty()) {
        return reading;
    }
    const coach::TTiming timing = coach::Classify(intervals);
    reading.Text = coach::Decode(intervals).Text;
    reading.Wpm = timing.Wpm;
    const size_t firstBar = intervals.size() > barCount ? intervals.size() - barCount : 0;
    for (size_t i = firstBar; i < intervals.size(); ++i) {
        const coach::TInterval& interval = intervals[i];
        reading.LastBars.push_back(
            {interval.Mark, interval.LengthMs, coach::IdealUnits(interval.Kind) * timing.UnitMs});
    }
    return reading;
}

void TLiveRun::Reset() {
    *this = TLiveRun();
}

void TLiveRun::Add(uint32_t tick, uint8_t keyState) {
    if (m_lines == 0) {
        m_firstTick = tick;
    } else {
        m_transitions.push_back({tick - m_firstTick, keyState > TForm1::kKeyDownThreshold});
    }
    m_down = keyState > TForm1::kKeyDownThreshold;
    m_lastTick = tick;
    ++m_lines;
}

}  // namespace app
