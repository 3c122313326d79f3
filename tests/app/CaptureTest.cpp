// The capture loop's logging: what a second Start during a run discards, and what each poll
// logs as the key goes down and up.
#include <gtest/gtest.h>

#include <memory>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/Services.h"

namespace {

// Pump passes are counted from the first Start; the key is down during the given pass ranges;
// the tick count is 1000 + pass / 10; the pump clicks Start again and Finish at given passes.
class TScriptedRun : public platform::IKeyState,
                     public platform::IClock,
                     public platform::IEventPump,
                     public platform::IDialogs {
  public:
    TScriptedRun(app::TForm1& form, int64_t restartAt, int64_t finishAt)
        : m_form(form), m_restartAt(restartAt), m_finishAt(finishAt) {}

    void AddPress(int64_t from, int64_t to) { m_presses.push_back({from, to}); }

    uint8_t RightButtonState() override {
        bool down = false;
        int presses = 0;
        for (const auto& [from, to] : m_presses) {
            presses += m_pass >= from ? 1 : 0;
            down = down || (m_pass >= from && m_pass < to);
        }
        const auto toggle = static_cast<uint8_t>(presses % 2);
        return static_cast<uint8_t>((down ? 0x80 : 0) | toggle);
    }
    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + m_pass / 10); }
    void ProcessMessages() override {
        ++m_pass;
        if (m_pass == m_restartAt) {
            forms::TApplication::Instance().Dispatch([this] { m_form.Start().Click(); });
        }
        if (m_pass == m_finishAt) {
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { messages.push_back("beep"); }

    std::vector<std::string> messages;

  private:
    app::TForm1& m_form;
    int64_t m_restartAt;
    int64_t m_finishAt;
    int64_t m_pass = 0;
    std::vector<std::pair<int64_t, int64_t>> m_presses;
};

std::unique_ptr<app::TForm1> MakeForm() {
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    form->SetDelaySteps(0);
    return form;
}

TEST(CaptureTest, SecondStartDuringARunDiscardsTheLogAndCountsPollsAfresh) {
    platform::TIsolatedSystemServices system;  // no sound, no service left behind
    auto form = MakeForm();
    TScriptedRun run(*form, 2000, 8000);
    run.AddPress(1000, 1500);  // before the second Start: discarded
    run.AddPress(3000, 3500);
    run.AddPress(6000, 6500);
    platform::TScopedServices services({&run, &run, &run, &run, nullptr});
    form->Start().Click();

    // The inner run began at pass 2001 with poll 0 and the key up (toggle 1 after one press).
    const classes::TLineList& polls = form->Memo(2).Lines();
    const std::vector<std::string> expected = {"0", "999", "1499", "3999", "4499"};
    ASSERT_EQ(polls.Count(), static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(polls.Strings(static_cast<int32_t>(i)), expected[i]);
    }
    const classes::TLineList& states = form->Memo(3).Lines();
    EXPECT_EQ(states.Strings(0), "1");
    EXPECT_EQ(states.Strings(1), "128");
    EXPECT_EQ(states.Strings(2), "0");
    EXPECT_EQ(states.Strings(3), "129");
    EXPECT_EQ(form->Label1().Caption(), "1");
    EXPECT_EQ(form->RunFlag(), 0);
    EXPECT_FALSE(form->Button1().Enabled());
}

TEST(CaptureTest, ALogStartingWithTheKeyDownReadingAs128LogsNothingUntilRelease) {
    platform::TIsolatedSystemServices system;  // no sound, no service left behind
    auto form = MakeForm();
    TScriptedRun run(*form, -1, 3000);
    // Two earlier presses would leave the toggle at 0: the byte reads 128 at Start.
    run.AddPress(-20, -15);
    run.AddPress(-10, 1000);
    platform::TScopedServices services({&run, &run, &run, &run, nullptr});
    form->Start().Click();
    const classes::TLineList& polls = form->Memo(2).Lines();
    EXPECT_EQ(run.messages.size(), 2u);  // beep and "No Morse detected!": one line only
    ASSERT_EQ(polls.Count(), 1);
    EXPECT_EQ(polls.Strings(0), "999");
    EXPECT_EQ(form->Memo(3).Lines().Strings(0), "0");
    EXPECT_EQ(form->Start().Caption(), "Re-start:  Press TWICE");
}

}  // namespace
