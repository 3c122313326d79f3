// The main window: the keying run's buttons, result boxes, hidden data boxes, chart and port
// component, and the three handlers that capture a run, turn it into a time line and analyse it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "coach/Keying.h"

#include "forms/Application.h"
#include "forms/ExtCtrls.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"

namespace chart {
class TChart;
class TChartSeries;
}  // namespace chart
namespace port {
class TPortIO;
}

namespace app {

class TForm1 : public forms::TForm {
  public:
    explicit TForm1(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // Start: records one keying run until Finish clears the run flag.
    void StartClick(classes::TPersistent* sender);
    // Finish: measures the polling rate, writes the time line and the chart points, then runs
    // the analysis by clicking Analyze in code.
    void Button1Click(classes::TPersistent* sender);
    // Analyze: averages, ratios, speed, merits and advice into the result boxes.
    void Button2Click(classes::TPersistent* sender);
    // Help menu: the About box; the help page in the browser.
    void About1Click(classes::TPersistent* sender);
    void Help2Click(classes::TPersistent* sender);
    // Ends a zoom or panning drag on the chart and undoes any zoom, pan or wheel scroll, so
    // that the chart shows the whole of the new run.
    void ShowChartUnzoomed();
    // A keying run is being captured (Start is polling the key, or Finish is taking a late key
    // source's last changes).
    bool Capturing() const { return m_runFlag != 0 || m_takingLateChanges; }

    // A poll stands for one slice of the monotonic clock (160 polls per millisecond): the busy
    // wait after a poll ends at the next slice boundary, and slices that passed while the
    // process was not running are added to the poll count, so the count follows real time.
    static constexpr int64_t kSliceNs = 6250;
    // How long Finish waits at most for a key source to hand over the changes that happened
    // before the click (the sound's come about 0.9 s late), ns.
    static constexpr int64_t kLateChangesNs = 2000000000;
    // Tools whose clock moves only in the event pump (simulations) turn the wait off: a wait
    // for their clock would never end.
    void SetBusyWait(bool wait) { m_busyWait = wait; }

    // The key-state threshold: above it the key is down, below it up.
    static constexpr uint8_t kKeyDownThreshold = 120;
    // Timer divisor of the side-tone: 1193182 Hz / 1500, about 795 Hz.
    static constexpr uint16_t kSideToneDivisor = 1500;
    // The divisor the side-tone sounds at (the operator's pitch; kSideToneDivisor until set).
    uint16_t SideToneDivisor() const { return m_sideToneDivisor; }
    void SetSideToneDivisor(uint16_t divisor) { m_sideToneDivisor = divisor; }
    // The help page Help opens: in the current folder, else the installed copy.
    static constexpr const char* kHelpPage = "help.htm";

    forms::TButton& Start() const { return *m_start; }
    forms::TButton& Button1() const { return *m_button1; }
    forms::TButton& Button2() const { return *m_button2; }
    // Result box 1 .. 13.
    forms::TEdit& Edit(int number) const { return *m_edits.at(static_cast<size_t>(number - 1)); }
    // Hidden data box 1 .. 6.
    forms::TMemo& Memo(int number) const { return *m_memos.at(static_cast<size_t>(number - 1)); }
    forms::TLabel& Label1() const { return *m_label1; }
    forms::TLabel& Label21() const { return *m_label21; }
    chart::TChart& Chart1() const { return *m_chart1; }
    chart::TChartSeries& Series1() const { return *m_series1; }
    port::TPortIO& PortIO1() const { return *m_portIO1; }

    // The practice text the operator set for the next runs (empty: none).
    const std::string& PracticeText() const { return m_practiceText; }
    void SetPracticeText(std::string text) { m_practiceText = std::move(text); }
    // The last run whose analysis ran to its end: its transitions and practice text; null
    // before the first.
    const coach::TKeyedRun* LastAnalysedRun() const {
        return m_hasAnalysedRun ? &m_lastAnalysedRun : nullptr;
    }
    // Called with every run whose analysis ran to its end, after the result boxes are filled.
    using TRunAnalysedHandler = std::function<void(const coach::TKeyedRun&)>;
    void AddRunAnalysedHandler(TRunAnalysedHandler handler);
    // Called as Start begins a run, before anything of the run is done.
    void AddRunStartingHandler(std::function<void()> handler);

    uint8_t RunFlag() const { return m_runFlag; }
    // Counts the runs started (a second Start during a run counts too), so a window that follows
    // the log can tell a new run from the one it read; and the tick count when the last began.
    uint32_t RunNumber() const { return m_runNumber; }
    uint32_t RunStartTick() const { return m_runStartTick; }
    uint32_t PollCount() const { return m_pollCount; }

  private:
    template <class T>
    T* Field(std::string_view name) const;
    void BusyWait();
    // Adds the slices that passed since the current poll's slice to the poll count.
    void CountPassedSlices();
    // The slice at which the change the current poll noticed is logged: the slice of the moment
    // the key source stamped it, where it stamps changes and that moment lies before the poll by
    // more than the source's resolution, but never at or before the previous logged change;
    // otherwise the current poll's slice.
    // stamped: the source's stamp placed it.
    int64_t ChangeSlice(bool& stamped);
    // Logs the change the current poll noticed (m_keyState): Label1, and the poll and tick
    // counts of its moment.
    void LogChange();
    // Finish with a key source that hands its changes over late: goes on polling (events
    // pumped, no side-tone) until every change that happened before the click has been taken,
    // for at most kLateChangesNs; a change that happened after the click is not taken.
    void TakeLateChanges();
    // Reads line `index` of a data box as a signed 32-bit integer.
    int32_t LineInt(int memo, int32_t index) const;
    // The averaging rule: signed values summed in 32 bits, the unsigned sum divided by the count.
    uint32_t Average(int memo) const;
    // Copies the lines of data box `from` whose value lies below (or above) `average` into `to`.
    void CopySplit(int from, int to, uint32_t average, bool below);
    // Keeps an analysed run for the coach's windows and tells the handlers of it.
    void RunAnalysed(std::vector<coach::TTransition> transitions);

    forms::TButton* m_start = nullptr;
    forms::TButton* m_button1 = nullptr;
    forms::TButton* m_button2 = nullptr;
    std::vector<forms::TEdit*> m_edits;
    std::vector<forms::TMemo*> m_memos;
    forms::TLabel* m_label1 = nullptr;
    forms::TLabel* m_label21 = nullptr;
    chart::TChart* m_chart1 = nullptr;
    chart::TChartSeries* m_series1 = nullptr;
    port::TPortIO* m_portIO1 = nullptr;

    // Run state of the capture loop.
    uint8_t m_runFlag = 0;                // the loop runs while not 0
    uint32_t m_pollCount = 0;             // polls since the run began; wraps at 2^32
    uint8_t m_keyState = 0;               // key-state byte of the current poll
    uint8_t m_lastKeyState = 128;         // key-state byte of the last logged change
    volatile int32_t m_delayCounter = 0;  // the busy wait's counter, a real store each step
    int64_t m_sliceOrigin = 0;            // monotonic time of the run's first poll, ns
    int64_t m_pollSlice = 0;              // slice of the current poll since the first
    int64_t m_loggedSlice = -1;           // slice of the last logged change (-1: none yet)
    bool m_polled = false;                // the run's first poll has been made
    bool m_lateChangesTaken = false;      // Finish polled a late source up to its click
    bool m_takingLateChanges = false;     // Finish is polling a late source now
    bool m_busyWait = true;
    uint16_t m_sideToneDivisor = kSideToneDivisor;
    uint32_t m_runNumber = 0;
    uint32_t m_runStartTick = 0;  // ms, the tick count
    // Polls per millisecond of the last Finish.
    double m_pollsPerMs = 0;

    std::string m_practiceText;
    coach::TKeyedRun m_lastAnalysedRun;
    bool m_hasAnalysedRun = false;
    std::vector<TRunAnalysedHandler> m_runAnalysedHandlers;
    std::vector<std::function<void()>> m_runStartingHandlers;
};

}  // namespace app
