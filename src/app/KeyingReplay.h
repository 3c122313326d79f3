// Replays a recorded keying through the real main window, deterministically: the key state, tick
// count and event pump are simulated poll by poll, and the result is what the window would show.
// The replay tool runs its scripts through it, and the program its analysis of a recording.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/IsolatedSystemServices.h"
#include "platform/Services.h"
#include "platform/WavToneSink.h"

namespace app {

class TForm1;

struct TKeyEvent {
    double TimeMs = 0;
    bool Down = false;
    int Line = 0;  // of the script
};

// A recorded keying: the key changes in time from Start, and how the simulated machine polls.
struct TReplayScript {
    double PollsPerMs = 100;
    uint32_t Tick0 = 1000;
    uint8_t Initial = 0;
    double FinishMs = -1;  // negative: 500 ms after the last event
    std::vector<TKeyEvent> Events;
    int RateLine = 0;          // the line of the rate directive; 0 when there is none
    int FinishLine = 0;        // likewise for finish
    std::string PracticeText;  // empty: none
    int PracticeLine = 0;      // the line of the practice directive; 0 when there is none

    // The most polls a run may take: its poll count is an unsigned 32-bit value.
    static constexpr double kMaxPolls = 4294967295.0;
    // Default gap between the last event and the Finish click, milliseconds.
    static constexpr double kDefaultFinishGapMs = 500;

    // Finish time with the default applied.
    double EffectiveFinishMs() const;
};

// The simulated machine: poll i happens at i / rate milliseconds after Start, in slice i of the
// capture's clock; the key state at a poll is the state after every event at or before its time;
// the tick count is tick0 + floor(i / rate); Finish is clicked from the pump of the first poll at
// or after the finish time. Between one poll at which something happens (an event becomes
// visible, Finish is due) and the next, the pump lets every slice in between pass at once, as a
// machine away from the program would: the capture counts them, and nothing else can differ.
class TSimulation : public platform::IKeyState,
                    public platform::IClock,
                    public platform::ITimeSource,
                    public platform::IEventPump,
                    public platform::IDialogs {
  public:
    TSimulation(const TReplayScript& script, TForm1& form);

    uint8_t RightButtonState() override;
    uint32_t TickCount() override;
    int64_t MonotonicNs() override;
    void ProcessMessages() override;
    void ShowMessage(const std::string& text) override;
    void Beep() override;

    // Milliseconds since Start of the current poll (0 before the first).
    double TimeMs() const;
    // One "Dialog<TAB>..." line per beep and message, in order.
    const std::vector<std::string>& Dialogs() const { return m_dialogs; }
    // The texts of the messages shown, in order, as they were (no beeps).
    const std::vector<std::string>& Messages() const { return m_messages; }
    // Every poll one by one instead of letting idle slices pass at once (the output is the
    // same; only slower).
    void SetStepping(bool stepping) { m_stepping = stepping; }
    // Pump passes so far.
    int64_t Passes() const { return m_passes; }

  private:
    // The first poll whose time is at or after ms.
    int64_t FirstPollAt(double ms) const;
    // The next poll at which the key or Finish can change anything.
    int64_t NextBusyPoll() const;

    const TReplayScript& m_script;
    TForm1& m_form;
    int64_t m_poll = -1;     // index of the current poll
    size_t m_nextEvent = 0;  // first event not yet applied
    uint8_t m_state;         // the key-state byte
    bool m_finishClicked = false;
    bool m_stepping = false;
    int64_t m_passes = 0;
    std::vector<std::string> m_dialogs;
    std::vector<std::string> m_messages;
};

// Runs one replay: creates a main window, clicks Start, and returns the output lines. The run
// has system services of its own (a private service state and a silent port bus), so a replay
// never sounds the speaker nor touches the user's services.
class TReplay {
  public:
    // wavPath: when not empty, the side-tone of the run is recorded there, sample 0 at Start.
    // Raises base::Exception when the file cannot be created.
    explicit TReplay(TReplayScript script, const std::string& wavPath = std::string());
    ~TReplay();

    // Clicks Start and runs until the capture loop ends; returns the output lines. Raises
    // base::Exception when the side-tone recording cannot be written.
    std::vector<std::string> Run();

    TForm1& Form() { return *m_form; }
    TSimulation& Simulation() { return *m_simulation; }

  private:
    std::unique_ptr<platform::TIsolatedSystemServices> m_system;  // silent, private state
    std::unique_ptr<platform::TWavToneSink> m_wav;
    TReplayScript m_script;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TSimulation> m_simulation;
};

// Escapes a dialog text for one output line: a line feed as \n, a carriage return as \r.
std::string EscapeDialogText(const std::string& text);

}  // namespace app
