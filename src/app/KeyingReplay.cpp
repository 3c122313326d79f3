// The replay of a recorded keying through the real main window.
#include "app/KeyingReplay.h"

#include <algorithm>
#include <cmath>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "base/Conversions.h"
#include "chart/engine/Series.h"
#include "forms/Application.h"

namespace app {

namespace {
// No run the script reader lets through reaches this poll (it refuses runs of more polls than a
// poll count holds).
constexpr double kPollsBeyondAnyRun = 1e15;
}  // namespace

double TReplayScript::EffectiveFinishMs() const {
    if (FinishMs >= 0) {
        return FinishMs;
    }
    return (Events.empty() ? 0 : Events.back().TimeMs) + kDefaultFinishGapMs;
}

TSimulation::TSimulation(const TReplayScript& script, TForm1& form)
    : m_script(script), m_form(form), m_state(script.Initial) {}

double TSimulation::TimeMs() const {
    return m_poll < 0 ? 0 : static_cast<double>(m_poll) / m_script.PollsPerMs;
}

int64_t TSimulation::FirstPollAt(double ms) const {
    // Polls beyond the longest run the script may ask for are never reached.
    const double estimate = std::ceil(ms * m_script.PollsPerMs);
    if (!(estimate < kPollsBeyondAnyRun)) {
        return static_cast<int64_t>(kPollsBeyondAnyRun);
    }
    // The estimate is off by at most a poll or two through rounding: settle it against the very
    // comparison the stepping polls make.
    auto at = static_cast<int64_t>(std::max(estimate, 0.0));
    while (at > 0 && static_cast<double>(at - 1) / m_script.PollsPerMs >= ms) {
        --at;
    }
    while (static_cast<double>(at) / m_script.PollsPerMs < ms) {
        ++at;
    }
    return at;
}

int64_t TSimulation::NextBusyPoll() const {
    int64_t next = static_cast<int64_t>(kPollsBeyondAnyRun);
    if (m_nextEvent < m_script.Events.size()) {
        next = std::min(next, FirstPollAt(m_script.Events[m_nextEvent].TimeMs));
    }
    if (!m_finishClicked) {
        next = std::min(next, FirstPollAt(m_script.EffectiveFinishMs()));
    }
    return next;
}

void TSimulation::ProcessMessages() {
    ++m_passes;
    ++m_poll;
    // The first poll is poll 0 of the capture's count: only later ones may let slices pass.
    if (!m_stepping && m_poll > 0) {
        m_poll = std::max(m_poll, NextBusyPoll());
    }
    if (!m_finishClicked && TimeMs() >= m_script.EffectiveFinishMs()) {
        m_finishClicked = true;
        forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
    }
}

uint8_t TSimulation::RightButtonState() {
    const double now = TimeMs();
    constexpr uint8_t kDownBit = 0x80;
    constexpr uint8_t kToggleBit = 0x01;
    while (m_nextEvent < m_script.Events.size() && m_script.Events[m_nextEvent].TimeMs <= now) {
        if (m_script.Events[m_nextEvent].Down) {
            m_state = static_cast<uint8_t>((m_state | kDownBit) ^ kToggleBit);
        } else {
            m_state = static_cast<uint8_t>(m_state & ~kDownBit);
        }
        ++m_nextEvent;
    }
    return m_state;
}

uint32_t TSimulation::TickCount() {
    // Wraps as the tick count does; the remainder is exact however long the run.
    const double elapsed = std::fmod(std::floor(TimeMs()), 4294967296.0);
    return static_cast<uint32_t>(m_script.Tick0 + static_cast<uint64_t>(elapsed));
}

int64_t TSimulation::MonotonicNs() {
    // The capture sees poll i in slice i of its clock.
    return std::max<int64_t>(m_poll, 0) * TForm1::kSliceNs;
}

void TSimulation::ShowMessage(const std::string& text) {
    m_dialogs.push_back("Dialog\t" + EscapeDialogText(text));
    m_messages.push_back(text);
}

void TSimulation::Beep() {
    m_dialogs.push_back("Dialog\tbeep");
}

std::string EscapeDialogText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

TReplay::TReplay(TReplayScript script, const std::string& wavPath) : m_script(std::move(script)) {
    // The recording first: a file that cannot be created stops the run before anything else
    // is set up.
    if (!wavPath.empty()) {
        m_wav = std::make_unique<platform::TWavToneSink>(wavPath, 0);
    }
    m_system = std::make_unique<platform::TIsolatedSystemServices>();
    m_system->Bus().SetTimeSource([this] {
        return m_simulation == nullptr ? int64_t{0} : std::llround(m_simulation->TimeMs() * 1000.0);
    });
    m_system->Bus().SetToneSink(m_wav.get());
    // The port component keeps the services current at its creation.
    RegisterClasses();
    m_form = std::make_unique<TForm1>(nullptr);
    m_form->SetBusyWait(false);  // simulated time advances in the pump, not in the wait
    m_form->SetPracticeText(m_script.PracticeText);
    m_simulation = std::make_unique<TSimulation>(m_script, *m_form);
}

TReplay::~TReplay() {
    // The window (with its port component) goes before the services it used.
    m_simulation.reset();
    m_form.reset();
    m_system->Bus().SetToneSink(nullptr);
    m_wav.reset();
    m_system.reset();
}

std::vector<std::string> TReplay::Run() {
    platform::TScopedServices services(platform::TServices{m_simulation.get(), m_simulation.get(),
                                                           m_simulation.get(), m_simulation.get(),
                                                           nullptr, m_simulation.get()});
    forms::TApplication::Instance().Dispatch([this] { m_form->Start().Click(); });
    if (m_wav != nullptr) {
        m_system->Bus().SetToneSink(nullptr);
        m_wav->Close(std::llround(m_simulation->TimeMs() * 1000.0));
    }

    std::vector<std::string> lines;
    TForm1& form = *m_form;
    lines.push_back("Label1\t" + form.Label1().Caption());
    lines.push_back("Label21\t" + form.Label21().Caption());
    for (int i = 1; i <= 13; ++i) {
        lines.push_back("Edit" + std::to_string(i) + "\t" + form.Edit(i).Text());
    }
    auto state = [](const forms::TControl& c) { return c.Enabled() ? "enabled" : "disabled"; };
    lines.push_back("Start\t" + form.Start().Caption() + "\t" + state(form.Start()));
    lines.push_back(std::string("Finish\t") + state(form.Button1()));
    for (const std::string& dialog : m_simulation->Dialogs()) {
        lines.push_back(dialog);
    }
    chart::TChartSeries& series = form.Series1();
    lines.push_back("Points\t" + std::to_string(series.PointCount()));
    for (int32_t i = 0; i < series.PointCount(); ++i) {
        lines.push_back("Point\t" + base::FloatToStr(series.XValueAt(i)) + "\t" +
                        base::FloatToStr(series.YValueAt(i)));
    }
    return lines;
}

}  // namespace app
