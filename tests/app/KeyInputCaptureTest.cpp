// A keying run with a serial-line key whose adapter is unplugged in the middle of a mark: the
// capture logs the key going up at once, the operator is told once, the run goes on to Finish
// and the analysis, and every change logged before the loss is kept. A change the capture noticed
// late is logged where the line's waiting thread woke for it. A keyboard key's press and release
// that reach the program between two polls are both logged where they happened.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/FakeKeyDeviceCalls.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/KeyInput.h"
#include "platform/Services.h"

namespace {

constexpr const char* kPort = "/dev/ttyUSB0";

// Pass i of the pump is slice i of the capture's clock; the tick count is 1000 + pass / 10. At
// given passes the DSR line rises or falls, the port is unplugged, and Finish is clicked.
class TSerialRun : public platform::IClock,
                   public platform::ITimeSource,
                   public platform::IEventPump,
                   public platform::IDialogs,
                   public platform::IKeyState {
  public:
    TSerialRun(app::TForm1& form, platform::TFakeKeyDeviceCalls& calls)
        : m_form(form), m_calls(calls) {}

    void LineAt(int64_t pass, bool raised) { m_lineChanges.push_back({pass, raised}); }
    // The line changes at wokeAtPass, when the port's waiting thread wakes for it, but the
    // capture's poll sees it only at pass.
    void LineAt(int64_t pass, bool raised, int64_t wokeAtPass) {
        m_lineChanges.push_back({pass, raised});
        m_wakes[pass] = wokeAtPass;
    }
    void UnplugAt(int64_t pass) { m_unplugAt = pass; }
    void FinishAt(int64_t pass) { m_finishAt = pass; }

    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + m_pass / 10); }
    int64_t MonotonicNs() override { return m_pass * app::TForm1::kSliceNs; }
    void ProcessMessages() override {
        ++m_pass;
        for (const auto& [pass, raised] : m_lineChanges) {
            if (pass != m_pass) {
                continue;
            }
            const uint32_t bits = raised ? platform::kModemDsr : 0;
            if (const auto wake = m_wakes.find(pass); wake != m_wakes.end()) {
                m_calls.WakeLine(kPort, bits, wake->second * app::TForm1::kSliceNs);
                EXPECT_TRUE(m_calls.AwaitLineWaiter(kPort));
            }
            m_calls.SetModemBits(kPort, bits);
        }
        if (m_pass == m_unplugAt) {
            m_calls.Unplug(kPort);
        }
        if (m_pass == m_finishAt) {
            const classes::TLineList& logged = m_form.Memo(3).Lines();
            for (int32_t i = 0; i < logged.Count(); ++i) {
                states.push_back(logged.Strings(i));
            }
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { messages.push_back("beep"); }
    // The right button stays up: the serial line is the key.
    uint8_t RightButtonState() override { return 0; }

    std::vector<std::string> messages;
    std::vector<std::string> states;  // the key states logged, as Finish found them

  private:
    app::TForm1& m_form;
    platform::TFakeKeyDeviceCalls& m_calls;
    int64_t m_pass = 0;
    int64_t m_unplugAt = -1;
    int64_t m_finishAt = -1;
    std::vector<std::pair<int64_t, bool>> m_lineChanges;
    std::map<int64_t, int64_t> m_wakes;  // pass of a change -> pass of its wake
};

TEST(KeyInputCaptureTest, AnAdapterUnpluggedMidMarkEndsTheKeyUpAndLosesNothing) {
    platform::TIsolatedSystemServices system;
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    form->SetBusyWait(false);
    platform::TFakeKeyDeviceCalls calls;
    calls.AddDevice(kPort, "dialout");
    TSerialRun run(*form, calls);
    platform::TKeyboardKey keyboard;
    platform::TKeyInput input(run, keyboard, calls);
    std::vector<std::string> notices;
    input.SetLostNotice([&](const std::string& text) { notices.push_back(text); });
    platform::TKeyInputSettings settings;
    settings.Kind = platform::TKeyInputKind::kiSerialLine;
    settings.SerialPort = kPort;
    input.Apply(settings);
    platform::TScopedServices services({&input, &run, &run, &run, nullptr, &run});

    // Dah, dit, a long space, dah, then a dit cut short by the unplugging (10 polls a ms).
    run.LineAt(1000, true);
    run.LineAt(4000, false);
    run.LineAt(5000, true);
    run.LineAt(6000, false);
    run.LineAt(9000, true);
    run.LineAt(12000, false);
    run.LineAt(13000, true);
    run.UnplugAt(14000);
    run.LineAt(14500, false);  // the line of a port that is gone changes nothing
    run.FinishAt(20000);
    form->Start().Click();

    // Pass p is poll p - 1; the line changes before the poll of its pass.
    const std::vector<std::string> polls = {"0",    "999",   "3999",  "4999", "5999",
                                            "8999", "11999", "12999", "13999"};
    ASSERT_EQ(form->Memo(2).Lines().Count(), 9);
    for (int32_t i = 0; i < 9; ++i) {
        EXPECT_EQ(form->Memo(2).Lines().Strings(i), polls[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(run.states,
              (std::vector<std::string>{"0", "129", "1", "128", "0", "129", "1", "128", "0"}));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("serial port /dev/ttyUSB0) has gone"), std::string::npos);
    // Finish ran the analysis on the whole run: 10 polls per ms, dits and short spaces 100 ms,
    // dahs and the long space 300 ms.
    EXPECT_EQ(form->Label21().Caption(), "10");
    EXPECT_EQ(form->Edit(1).Text(), "100");
    EXPECT_EQ(form->Edit(2).Text(), "300");
    EXPECT_EQ(form->Edit(3).Text(), "100");
    EXPECT_EQ(form->Edit(4).Text(), "300");
    EXPECT_TRUE(run.messages.empty()) << run.messages[0];
}

TEST(KeyInputCaptureTest, ASerialChangeNoticedLateIsLoggedWhereTheWaitingThreadWokeForIt) {
    platform::TIsolatedSystemServices system;
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    form->SetBusyWait(false);
    platform::TFakeKeyDeviceCalls calls;
    calls.AddDevice(kPort, "dialout");
    TSerialRun run(*form, calls);
    platform::TKeyboardKey keyboard;
    platform::TKeyInput input(run, keyboard, calls);
    platform::TKeyInputSettings settings;
    settings.Kind = platform::TKeyInputKind::kiSerialLine;
    settings.SerialPort = kPort;
    input.Apply(settings);
    platform::TScopedServices services({&input, &run, &run, &run, nullptr, &run});

    // A press seen at once; a release the loop was kept from for 300 polls; a press noticed
    // with its wake; a release without one (logged at the poll that noticed it).
    run.LineAt(1000, true, 1000);
    run.LineAt(4000, false, 3700);
    run.LineAt(5000, true, 4990);
    run.LineAt(6000, false);
    run.FinishAt(8000);
    form->Start().Click();

    // Pass p is poll p - 1, and the clock's slice p - 1: a change woken at pass w is logged at
    // poll w - 1, unless within the wake's resolution of the poll that noticed it.
    const std::vector<std::string> polls = {"0", "999", "3699", "4989", "5999"};
    ASSERT_EQ(form->Memo(2).Lines().Count(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(form->Memo(2).Lines().Strings(i), polls[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(run.states, (std::vector<std::string>{"0", "129", "1", "128", "0"}));
}

// The keyboard key's events reach the program inside the pump, stamped on the capture's clock
// (pass i is slice i); the key can be pressed and released within one pass, as when the capture
// was kept from polling for a while. The right button stays up.
class TKeyboardRun : public platform::IClock,
                     public platform::ITimeSource,
                     public platform::IEventPump,
                     public platform::IDialogs,
                     public platform::IKeyState {
  public:
    TKeyboardRun(app::TForm1& form, platform::TKeyboardKey& key) : m_form(form), m_key(key) {}

    // At pass, the key went down at pass `down` and up at pass `up` (both before pass).
    void PressAt(int64_t pass, int64_t down, int64_t up) { m_presses.push_back({pass, down, up}); }
    void FinishAt(int64_t pass) { m_finishAt = pass; }
    // The Key input window's lamp looks at the input after each press delivered.
    void WatchLamp(platform::TKeyInput& input) { m_input = &input; }

    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + m_pass / 10); }
    int64_t MonotonicNs() override { return m_pass * app::TForm1::kSliceNs; }
    void ProcessMessages() override {
        ++m_pass;
        for (const TPress& press : m_presses) {
            if (press.Pass == m_pass) {
                m_key.Press(platform::TKeyboardKey::kLeftCtrl, Stamp(press.Down));
                if (m_input != nullptr) {
                    lamp.push_back(m_input->DownNow());
                }
                m_key.Release(platform::TKeyboardKey::kLeftCtrl, Stamp(press.Up));
            }
        }
        if (m_pass == m_finishAt) {
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { messages.push_back("beep"); }
    uint8_t RightButtonState() override { return 0; }

    std::vector<std::string> messages;
    std::vector<bool> lamp;  // down, as the lamp saw the key after each press

  private:
    struct TPress {
        int64_t Pass, Down, Up;
    };
    static platform::TKeyStamp Stamp(int64_t pass) {
        return {pass * app::TForm1::kSliceNs, app::TForm1::kSliceNs};
    }
    app::TForm1& m_form;
    platform::TKeyboardKey& m_key;
    platform::TKeyInput* m_input = nullptr;
    int64_t m_pass = 0;
    int64_t m_finishAt = -1;
    std::vector<TPress> m_presses;
};

TEST(KeyInputCaptureTest, AKeyboardPressAndReleaseBetweenTwoPollsAreBothLoggedWhereTheyHappened) {
    platform::TIsolatedSystemServices system;
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    form->SetBusyWait(false);
    platform::TFakeKeyDeviceCalls calls;
    platform::TKeyboardKey keyboard;
    TKeyboardRun run(*form, keyboard);
    platform::TKeyInput input(run, keyboard, calls);
    platform::TKeyInputSettings settings;
    settings.Kind = platform::TKeyInputKind::kiKeyboardKey;
    input.Apply(settings);
    run.WatchLamp(input);
    platform::TScopedServices services({&input, &run, &run, &run, nullptr, &run});

    // Keyed before the run (the operator trying the key): none of it is logged.
    for (int press = 0; press < 5; ++press) {
        keyboard.Press(platform::TKeyboardKey::kLeftCtrl);
        keyboard.Release(platform::TKeyboardKey::kLeftCtrl);
    }
    // Two dits of 100 ms with 100 ms between them, each pressed and released while the capture
    // was away (10 polls a ms), then a 4 ms press: each reaches the program in a single pass.
    run.PressAt(2100, 1000, 2000);
    run.PressAt(4100, 3000, 4000);
    run.PressAt(5050, 5000, 5040);
    run.FinishAt(8000);
    form->Start().Click();

    // Pass p is poll p - 1: each change at the poll of its moment.
    const std::vector<std::string> polls = {"0", "999", "1999", "2999", "3999", "4999", "5039"};
    ASSERT_EQ(form->Memo(2).Lines().Count(), 7);
    for (int32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(form->Memo(2).Lines().Strings(i), polls[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(run.lamp, (std::vector<bool>{true, true, true}));
}

}  // namespace
