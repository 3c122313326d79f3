// The Live monitor window: the capture's log read as it grows, and what it shows of it.
#include "app/MonitorForm.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "app/MainForm.h"
#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"

namespace app {

namespace {
// Half the width of an ideal length's mark over its bar, in bars.
constexpr double kIdealHalfWidth = 0.4;
constexpr uint32_t kMsPerSecond = 1000;
constexpr uint32_t kMsPerTenth = 100;
constexpr uint32_t kSecondsPerMinute = 60;

uint32_t LineNumber(const forms::TMemo& memo, int32_t index) {
    const std::string line = memo.Lines().Strings(index);
    uint32_t value = 0;
    std::from_chars(line.data(), line.data() + line.size(), value);
    return value;
}

void ShowText(forms::TControl& control, const std::string& text) {
    if (control.Caption() != text) {
        control.SetCaption(text);
    }
}
}  // namespace

const classes::TClassInfo& TMonitorForm::StaticClass() {
    return FormClass<TMonitorForm>("TMonitorForm");
}

const classes::TClassInfo& TMonitorForm::ClassInfo() const {
    return StaticClass();
}

classes::TNotifyEvent TMonitorForm::FindMethod(std::string_view /*name*/) {
    return {};
}

template <class T>
T* TMonitorForm::Field(std::string_view name) const {
    return DesignField<T>(*this, name);
}

TMonitorForm::TMonitorForm(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TMonitorForm"), *this);
    m_lamp = Field<forms::TPanel>("Lamp");
    m_lampLabel = Field<forms::TLabel>("LampLabel");
    m_timeValue = Field<forms::TLabel>("TimeValue");
    m_speedValue = Field<forms::TLabel>("SpeedValue");
    m_readBack = Field<forms::TLabel>("ReadBackLabel");
    m_warning = Field<forms::TLabel>("WarningLabel");
    m_barChart = Field<chart::TChart>("BarChart");
    m_bars = Field<chart::TChartSeries>("Bars");
    m_ideals = Field<chart::TChartSeries>("Ideals");
}

void TMonitorForm::Open() {
    Show();
}

void TMonitorForm::Changed(forms::TControlChange change) {
    forms::TForm::Changed(change);
    if (change == forms::TControlChange::ccVisible && m_openChanged) {
        m_openChanged(Visible());
    }
}

std::string TMonitorForm::ElapsedText(uint32_t ms) {
    const uint32_t seconds = ms / kMsPerSecond;
    const uint32_t tenths = ms % kMsPerSecond / kMsPerTenth;
    const uint32_t inMinute = seconds % kSecondsPerMinute;
    return std::to_string(seconds / kSecondsPerMinute) + (inMinute < 10 ? ":0" : ":") +
           std::to_string(inMinute) + "." + std::to_string(tenths);
}

void TMonitorForm::Follow(const TForm1& main, uint32_t nowTick) {
    if (!Visible()) {
        return;
    }
    const bool capturing = main.Capturing();
    if (capturing && main.RunNumber() != m_runNumber) {
        StartRun(main);
    }
    if (capturing) {
        if (ReadNewLines(main)) {
            ShowReading();
        }
        ShowLamp(m_run.LineCount() > 0 && m_run.KeyDown() ? 2 : 1);
        ShowText(*m_timeValue, ElapsedText(nowTick - main.RunStartTick()));
        const uint32_t lastChange = m_run.LineCount() > 1 ? m_run.LastTick() : main.RunStartTick();
        m_silent = nowTick - lastChange >= kSilenceMs;
    } else {
        // After Finish the log is rewritten in milliseconds: what was read stays on show.
        ShowLamp(0);
        m_silent = false;
        m_outOfSight = false;
    }
    ShowWarning();
}

void TMonitorForm::StartRun(const TForm1& main) {
    m_runNumber = main.RunNumber();
    m_run.Reset();
    m_reading = TLiveReading();
    m_silent = false;
    ShowReading();
}

bool TMonitorForm::ReadNewLines(const TForm1& main) {
    const forms::TMemo& polls = main.Memo(2);
    const forms::TMemo& ticks = main.Memo(6);
    const forms::TMemo& states = main.Memo(3);
    // The three lists grow together; a line not yet in all three waits for the next call.
    const int32_t count =
        std::min({polls.Lines().Count(), ticks.Lines().Count(), states.Lines().Count()});
    if (static_cast<size_t>(count) < m_run.LineCount()) {
        // The lists were emptied under the same run number: read them again from the start.
        m_run.Reset();
    }
    const size_t before = m_run.LineCount();
    for (auto i = static_cast<int32_t>(m_run.LineCount()); i < count; ++i) {
        m_run.Add(LineNumber(ticks, i), static_cast<uint8_t>(LineNumber(states, i)));
    }
    return m_run.LineCount() != before;
}

void TMonitorForm::ShowReading() {
    m_reading = ReadLive(m_run.Transitions(), kBarCount);
    const std::string& text = m_reading.Text;
    ShowText(*m_readBack,
             text.size() > kReadBackShown ? text.substr(text.size() - kReadBackShown) : text);
    ShowText(*m_speedValue, m_reading.Wpm == 0 ? "-" : std::to_string(m_reading.Wpm));
    m_bars->ClearPoints();
    m_ideals->ClearPoints();
    for (size_t i = 0; i < m_reading.LastBars.size(); ++i) {
        const TLiveBar& bar = m_reading.LastBars[i];
        const auto x = static_cast<double>(i);
        m_bars->AppendXY(x, bar.LengthMs, "", bar.Mark ? gfx::clBlue : gfx::clGreen);
        if (i > 0) {
            // A null point: no line from one ideal to the next.
            m_ideals->AppendXY(x - kIdealHalfWidth, bar.IdealMs, "", gfx::clNone);
        }
        m_ideals->AppendXY(x - kIdealHalfWidth, bar.IdealMs, "", chart::clSeriesDefault);
        m_ideals->AppendXY(x + kIdealHalfWidth, bar.IdealMs, "", chart::clSeriesDefault);
    }
}

void TMonitorForm::ShowLamp(int state) {
    if (state == m_lampState) {
        return;
    }
    m_lampState = state;
    m_lamp->SetColor(state == 2 ? gfx::clLime : state == 1 ? gfx::clGray : gfx::clBtnFace);
    m_lampLabel->SetCaption(state == 2 ? "Key down" : state == 1 ? "Key up" : "Not running");
}

void TMonitorForm::SetKeyOutOfSight(bool outOfSight) {
    m_outOfSight = outOfSight;
    ShowWarning();
}

void TMonitorForm::ShowWarning() {
    std::string text;
    if (m_outOfSight) {
        text = kOutOfSightWarning;
    } else if (m_silent) {
        text = "No change of the key for " + std::to_string(kSilenceMs / kMsPerSecond) +
               " seconds: is it connected?";
    }
    ShowText(*m_warning, text);
}

}  // namespace app
