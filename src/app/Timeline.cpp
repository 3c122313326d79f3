// Finish: ends the run, measures polls per millisecond against the tick count, rewrites the log
// in milliseconds, gives the chart its square wave and starts the analysis.
#include "app/MainForm.h"

#include <exception>

#include "base/Arith.h"
#include "base/Conversions.h"
#include "chart/engine/Series.h"
#include "port/PortIO.h"

namespace app {

namespace {
// The three fixed points make the vertical axis span -0.1 to 1.2 and start the trace at 0.
constexpr double kTopMargin = 1.2;
constexpr double kBottomMargin = -0.1;
// Chart time of the first transition, and the lead-out after the last one, milliseconds.
constexpr uint32_t kLeadMs = 100;
// A logged key state above this reads as level 1 on the chart.
constexpr int32_t kLevelThreshold = 16;

const char* const kNoMorseMessage = "No Morse detected!\n\rSend some now?\n\rOr Check connections?";

// Gives Start back (enabled, captioned "Start") when Finish or the analysis it runs stops with an
// error, so that a new run can begin once the message is shown; the boxes keep what was computed.
// It catches nothing: the error goes on to the application, which shows it.
class TStartAgainOnError {
  public:
    explicit TStartAgainOnError(forms::TButton& start)
        : m_start(start), m_pending(std::uncaught_exceptions()) {}
    TStartAgainOnError(const TStartAgainOnError&) = delete;
    TStartAgainOnError& operator=(const TStartAgainOnError&) = delete;
    ~TStartAgainOnError() {
        if (std::uncaught_exceptions() > m_pending) {
            m_start.SetCaption("Start");
            m_start.SetEnabled(true);
        }
    }

  private:
    forms::TButton& m_start;
    int m_pending;  // exceptions already in flight when the handler began
};
}  // namespace

void TForm1::Button1Click(classes::TPersistent* /*sender*/) {
    m_button2->SetEnabled(true);
    m_button1->SetEnabled(false);
    m_start->SetEnabled(false);
    const TStartAgainOnError startAgain(*m_start);
    m_runFlag = 0;
    m_portIO1->SpeakerOff();
    m_portIO1->SetOpened(false);
    TakeLateChanges();
    m_series1->ClearPoints();

    classes::TLineList& polls = Memo(2).Lines();
    classes::TLineList& ticks = Memo(6).Lines();
    const int32_t n = polls.Count();
    if (n == 1) {
        forms::TApplication& application = forms::TApplication::Instance();
        application.Beep();
        application.ShowMessage(kNoMorseMessage);
        m_button1->SetEnabled(false);
        m_button2->SetEnabled(false);
        m_start->SetCaption("Re-start:  Press TWICE");
        m_start->SetEnabled(true);
        return;
    }

    const int32_t pFirst = base::StrToInt(polls.Strings(1));
    const int32_t pLast = base::StrToInt(polls.Strings(n - 1));
    const int32_t tFirst = base::StrToInt(ticks.Strings(1));
    const int32_t tLast = base::StrToInt(ticks.Strings(n - 1));
    const uint32_t dP = static_cast<uint32_t>(pLast) - static_cast<uint32_t>(pFirst);
    const uint32_t dT = static_cast<uint32_t>(tLast) - static_cast<uint32_t>(tFirst);
    m_pollsPerMs = base::DivFloat(static_cast<long double>(dP), static_cast<long double>(dT));
    const int64_t r = base::Round(m_pollsPerMs);
    m_label21->SetCaption(base::IntToStr(r));

    ticks.Clear();
    for (int32_t i = 1; i <= n - 1; ++i) {
        const double polled = base::StrToFloat(polls.Strings(i));
        const double ms = base::DivFloat(polled, m_pollsPerMs);
        ticks.Add(base::FloatToStr(static_cast<double>(base::Trunc(ms))));
    }

    m_series1->AppendXY(0, kTopMargin, "", chart::clSeriesDefault);
    m_series1->AppendXY(0, kBottomMargin, "", chart::clSeriesDefault);
    m_series1->AppendXY(0, 0, "", chart::clSeriesDefault);

    const auto base32 = static_cast<uint32_t>(
        base::DivTrunc(static_cast<int64_t>(base::StrToInt(polls.Strings(1))), r));
    classes::TLineList& chartTimes = Memo(1).Lines();
    classes::TLineList& states = Memo(3).Lines();
    chartTimes.Clear();
    std::vector<coach::TTransition> transitions;  // the run as the coach reads it
    uint32_t t = 0;
    for (int32_t i = 1; i <= n - 1; ++i) {
        const auto q = static_cast<uint32_t>(
            base::DivTrunc(static_cast<int64_t>(base::StrToInt(polls.Strings(i))), r));
        t = q - base32 + kLeadMs;
        const int a = base::StrToInt(states.Strings(i - 1)) > kLevelThreshold ? 1 : 0;
        const int b = base::StrToInt(states.Strings(i)) > kLevelThreshold ? 1 : 0;
        m_series1->AppendXY(static_cast<double>(t), static_cast<double>(a), "",
                            chart::clSeriesDefault);
        m_series1->AppendXY(static_cast<double>(t), static_cast<double>(b), "",
                            chart::clSeriesDefault);
        chartTimes.Add(base::UIntToStr(t));
        transitions.push_back({t, b == 1});
    }
    m_series1->AppendXY(static_cast<double>(t + kLeadMs), 0, "", chart::clSeriesDefault);

    m_button2->Click();
    RunAnalysed(std::move(transitions));
}

}  // namespace app
