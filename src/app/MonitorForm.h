// The Live monitor window (menu Run): while a run is captured it shows a lamp that follows the
// key, the run's elapsed time, the recent speed, the characters read back as they are keyed and
// the last marks and spaces as bars against their ideal lengths, and it warns when the key
// cannot be heard or has not changed for a long time. It reads only the capture's own log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/LiveRun.h"
#include "forms/ExtCtrls.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"

namespace chart {
class TChart;
class TChartSeries;
}  // namespace chart

namespace app {

class TForm1;

class TMonitorForm : public forms::TForm {
  public:
    // Marks and spaces shown as bars.
    static constexpr size_t kBarCount = 12;
    // A run without a change of the key for this long is warned of, milliseconds.
    static constexpr uint32_t kSilenceMs = 20000;
    // Characters of the read-back shown (its end).
    static constexpr size_t kReadBackShown = 36;
    static constexpr const char* kOutOfSightWarning = "The key is not heard outside the window";

    explicit TMonitorForm(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // Shows the window and brings it to the front.
    void Open();
    // Follows the main window's run at the tick count `nowTick` (milliseconds): reads the lines
    // the capture logged since the last call and shows what changed. Does nothing while the
    // window is hidden. The front end calls it from the event pump at most every 50 ms.
    void Follow(const TForm1& main, uint32_t nowTick);
    // The key cannot be heard: the right button is the input and the pointer is outside the
    // program's windows during a run.
    void SetKeyOutOfSight(bool outOfSight);
    // Called with true when the window opens and false when it closes.
    void SetOnOpenChanged(std::function<void(bool)> handler) { m_openChanged = std::move(handler); }

    forms::TPanel& Lamp() const { return *m_lamp; }
    forms::TLabel& LampLabel() const { return *m_lampLabel; }
    forms::TLabel& TimeValue() const { return *m_timeValue; }
    forms::TLabel& SpeedValue() const { return *m_speedValue; }
    forms::TLabel& ReadBackLabel() const { return *m_readBack; }
    forms::TLabel& WarningLabel() const { return *m_warning; }
    chart::TChartSeries& Bars() const { return *m_bars; }
    chart::TChartSeries& Ideals() const { return *m_ideals; }
    // The whole read-back of the run followed (the label shows its end).
    const std::string& ReadBack() const { return m_reading.Text; }

    // "m:ss.t" for a time in milliseconds (tenths truncated).
    static std::string ElapsedText(uint32_t ms);

  protected:
    void Changed(forms::TControlChange change) override;

  private:
    template <class T>
    T* Field(std::string_view name) const;
    // Empties what the window shows for a new run.
    void StartRun(const TForm1& main);
    // Reads the new lines of the log; true when there were any.
    bool ReadNewLines(const TForm1& main);
    void ShowReading();
    void ShowLamp(int state);
    void ShowWarning();

    forms::TPanel* m_lamp = nullptr;
    forms::TLabel* m_lampLabel = nullptr;
    forms::TLabel* m_timeValue = nullptr;
    forms::TLabel* m_speedValue = nullptr;
    forms::TLabel* m_readBack = nullptr;
    forms::TLabel* m_warning = nullptr;
    chart::TChart* m_barChart = nullptr;
    chart::TChartSeries* m_bars = nullptr;
    chart::TChartSeries* m_ideals = nullptr;

    TLiveRun m_run;
    TLiveReading m_reading;
    uint32_t m_runNumber = 0;  // of the run followed; 0: none yet
    int m_lampState = -1;      // shown: -1 nothing yet, 0 idle, 1 up, 2 down
    bool m_outOfSight = false;
    bool m_silent = false;
    std::function<void(bool)> m_openChanged;
};

}  // namespace app
