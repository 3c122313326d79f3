// The capture loop's logging: what a second Start during a run discards, what each poll logs as
// the key goes down and up, and poll counts that follow the clock while the process is away.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "chart/engine/Series.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/Services.h"

namespace {

// Pump passes are counted from the first Start; the key is down during the given pass ranges;
// the tick count is 1000 + pass / 10, each pass one slice of the capture's clock; the pump
// clicks Start again and Finish at given passes.
class TScriptedRun : public platform::IKeyState,
                     public platform::IClock,
                     public platform::ITimeSource,
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
    // Each pass is one slice of the capture's clock.
    int64_t MonotonicNs() override { return m_pass * app::TForm1::kSliceNs; }
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
    int64_t Pass() const { return m_pass; }

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
    form->SetBusyWait(false);
    return form;
}

TEST(CaptureTest, SecondStartDuringARunDiscardsTheLogAndCountsPollsAfresh) {
    platform::TIsolatedSystemServices system;  // no sound, no service left behind
    auto form = MakeForm();
    TScriptedRun run(*form, 2000, 8000);
    run.AddPress(1000, 1500);  // before the second Start: discarded
    run.AddPress(3000, 3500);
    run.AddPress(6000, 6500);
    platform::TScopedServices services({&run, &run, &run, &run, nullptr, &run});
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
    platform::TScopedServices services({&run, &run, &run, &run, nullptr, &run});
    form->Start().Click();
    const classes::TLineList& polls = form->Memo(2).Lines();
    EXPECT_EQ(run.messages.size(), 2u);  // beep and "No Morse detected!": one line only
    ASSERT_EQ(polls.Count(), 1);
    EXPECT_EQ(polls.Strings(0), "999");
    EXPECT_EQ(form->Memo(3).Lines().Strings(0), "0");
    EXPECT_EQ(form->Start().Caption(), "Re-start:  Press TWICE");
}

// A monotonic clock that moves a fixed step at every read and once jumps far ahead, as when the
// program is kept off the processor; the key follows the clock; the tick count is its
// milliseconds; the pump clicks Finish once the clock passes the finish time.
class TJumpingClock : public platform::IKeyState,
                      public platform::IClock,
                      public platform::ITimeSource,
                      public platform::IEventPump,
                      public platform::IDialogs {
  public:
    static constexpr int64_t kMs = 1000000;

    TJumpingClock(app::TForm1& form, int64_t stepNs, int64_t jumpAtMs, int64_t jumpMs,
                  int64_t finishMs)
        : m_form(form),
          m_step(stepNs),
          m_jumpAt(jumpAtMs * kMs),
          m_jump(jumpMs * kMs),
          m_finish(finishMs * kMs) {}

    void AddPress(int64_t fromMs, int64_t toMs) { m_presses.push_back({fromMs * kMs, toMs * kMs}); }

    int64_t MonotonicNs() override {
        m_now += m_step;
        if (!m_jumped && m_now >= m_jumpAt) {
            m_jumped = true;
            m_now += m_jump;
        }
        return m_now;
    }
    uint8_t RightButtonState() override {
        bool down = false;
        int presses = 0;
        for (const auto& [from, to] : m_presses) {
            presses += m_now >= from ? 1 : 0;
            down = down || (m_now >= from && m_now < to);
        }
        return static_cast<uint8_t>((down ? 0x80 : 0) | (presses % 2));
    }
    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + m_now / kMs); }
    void ProcessMessages() override {
        if (!m_finished && m_now >= m_finish) {
            m_finished = true;
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string&) override {}
    void Beep() override {}

  private:
    app::TForm1& m_form;
    int64_t m_step;
    int64_t m_jumpAt;
    int64_t m_jump;
    int64_t m_finish;
    int64_t m_now = 0;
    bool m_jumped = false;
    bool m_finished = false;
    std::vector<std::pair<int64_t, int64_t>> m_presses;
};

TEST(CaptureTest, PollCountsFollowTheClockWhateverAPassCostsAndWhileTheProgramIsAway) {
    // Clock reads 0.1 us apart (the wait spins many times per slice), 1 us apart, and 20 us
    // apart (every pass is longer than a slice, so each one catches up).
    for (const int64_t stepNs : {100, 1000, 20000}) {
        SCOPED_TRACE(stepNs);
        platform::TIsolatedSystemServices system;
        app::RegisterClasses();
        auto form = std::make_unique<app::TForm1>(nullptr);
        // The clock jumps 30 s at 20 ms, in the middle of the first press.
        TJumpingClock clock(*form, stepNs, 20, 30000, 30100);
        clock.AddPress(10, 30040);
        clock.AddPress(30060, 30070);
        platform::TScopedServices services({&clock, &clock, &clock, &clock, nullptr, &clock});
        form->Start().Click();

        // 160 polls per millisecond, counted from the first poll at about 0 ms.
        const classes::TLineList& polls = form->Memo(2).Lines();
        ASSERT_EQ(polls.Count(), 5);
        const double expectedPolls[] = {0, 1600, 4806400, 4809600, 4811200};
        for (int32_t i = 0; i < 5; ++i) {
            EXPECT_NEAR(std::stod(polls.Strings(i)), expectedPolls[i], 4) << i;
        }
        EXPECT_EQ(form->Label21().Caption(), "160");
        // The chart's edges: the 30 s away are part of the first mark.
        const chart::TChartSeries& series = form->Series1();
        ASSERT_EQ(series.PointCount(), 12);
        const double edges[] = {100, 30130, 30150, 30160};
        for (int32_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(series.XValueAt(3 + 2 * i), edges[i], 1) << i;
        }
    }
}

// A key source that notices its changes late, as a program kept off the processor does, but
// stamps each with the moment it happened. One pass is one slice; the key is down over the given
// pass ranges, each change seen `lateBy` passes after it happened and stamped at its pass (the
// stamp counted from slice `stampOffset`, which lets a stamp lie before the previous change).
class TLateStampedKey : public TScriptedRun {
  public:
    TLateStampedKey(app::TForm1& form, int64_t finishAt, int64_t lateBy, int64_t resolutionNs)
        : TScriptedRun(form, -1, finishAt), m_lateBy(lateBy), m_resolutionNs(resolutionNs) {}

    void AddStampedPress(int64_t from, int64_t to) {
        AddPress(from + m_lateBy, to + m_lateBy);
        m_changes.push_back(from);
        m_changes.push_back(to);
    }
    void SetStampShift(int64_t passes) { m_shift = passes; }
    std::optional<platform::TKeyStamp> ChangeStamp() override {
        // The latest change already seen.
        std::optional<platform::TKeyStamp> stamp;
        for (const int64_t change : m_changes) {
            if (change + m_lateBy <= Pass()) {
                stamp =
                    platform::TKeyStamp{(change + m_shift) * app::TForm1::kSliceNs, m_resolutionNs};
            }
        }
        return stamp;
    }

  private:
    int64_t m_lateBy;
    int64_t m_resolutionNs;
    int64_t m_shift = 0;
    std::vector<int64_t> m_changes;
};

std::vector<std::string> LoggedPolls(const app::TForm1& form) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < form.Memo(2).Lines().Count(); ++i) {
        lines.push_back(form.Memo(2).Lines().Strings(i));
    }
    return lines;
}

TEST(CaptureTest, StampedChangesAreLoggedAtThePollOfTheirMomentNotWhenNoticed) {
    platform::TIsolatedSystemServices system;
    auto form = MakeForm();
    // Seen 400 passes (2.5 ms) late; the first poll is pass 1, so pass p is poll p - 1.
    TLateStampedKey key(*form, 6000, 400, 1000000);
    key.AddStampedPress(1000, 1500);
    key.AddStampedPress(3000, 3480);
    platform::TScopedServices services({&key, &key, &key, &key, nullptr, &key});
    form->Start().Click();
    const std::vector<std::string> expected = {"0", "999", "1499", "2999", "3479"};
    EXPECT_EQ(LoggedPolls(*form), expected);
    EXPECT_EQ(key.Pass(), 6000);  // a source that hands changes over at once: Finish polls no more
}

TEST(CaptureTest, AStampWithinItsResolutionOrBeforeThePreviousChangeIsNotBelieved) {
    platform::TIsolatedSystemServices system;
    {
        // Seen 100 passes (0.625 ms) late by a source good to 1 ms: logged when seen.
        auto form = MakeForm();
        TLateStampedKey key(*form, 4000, 100, 1000000);
        key.AddStampedPress(1000, 1500);
        platform::TScopedServices services({&key, &key, &key, &key, nullptr, &key});
        form->Start().Click();
        const std::vector<std::string> expected = {"0", "1099", "1599"};
        EXPECT_EQ(LoggedPolls(*form), expected);
    }
    {
        // Stamps 800 passes early: the press would land before the run's first poll and is
        // logged right after it; the release, stamped after that, where its stamp says.
        auto form = MakeForm();
        TLateStampedKey key(*form, 4000, 400, 1000);
        key.SetStampShift(-800);
        key.AddStampedPress(300, 1000);
        platform::TScopedServices services({&key, &key, &key, &key, nullptr, &key});
        form->Start().Click();
        const std::vector<std::string> expected = {"0", "1", "199"};
        EXPECT_EQ(LoggedPolls(*form), expected);
    }
}

constexpr int64_t kMs = 1000000;  // nanoseconds

// A source that hands each change over long after it happened, as the sound key does, and says
// how far it has settled: up to `lateBy` passes back, or never. Its tick count follows the
// capture's clock (160 passes a millisecond).
class TLateHandingKey : public TLateStampedKey {
  public:
    TLateHandingKey(app::TForm1& form, int64_t finishAt, int64_t lateBy, bool settles)
        : TLateStampedKey(form, finishAt, lateBy, 1000),
          m_form(form),
          m_finishAt(finishAt),
          m_lateBy(lateBy),
          m_settles(settles) {}
    void ProcessMessages() override {
        if (Pass() == m_finishAt + 1000) {
            capturingAfterClick = m_form.Capturing();  // Finish is still taking changes
        }
        TLateStampedKey::ProcessMessages();
    }
    int64_t SettledNs() override {
        return m_settles ? (Pass() - m_lateBy) * app::TForm1::kSliceNs
                         : std::numeric_limits<int64_t>::min();
    }
    uint32_t TickCount() override {
        return static_cast<uint32_t>(1000 + Pass() * app::TForm1::kSliceNs / kMs);
    }

    bool capturingAfterClick = false;

  private:
    app::TForm1& m_form;
    int64_t m_finishAt;
    int64_t m_lateBy;
    bool m_settles;
};

constexpr int64_t kFinishPass = 400000;  // 2.5 s
constexpr int64_t kHandedLate = 144000;  // 0.9 s

const std::vector<std::string> kAllThreeDahs = {"0",      "99999",  "115999", "131999",
                                                "147999", "349999", "367999"};

// A run through such a source: two dahs, then a last one whose release lies 0.2 s (32000 passes)
// before the click on Finish, and maybe a dit 10 ms after the click.
struct TLateRun {
    TLateRun(bool settles, bool ditAfterClick)
        : form(MakeForm()), key(*form, kFinishPass, kHandedLate, settles) {
        key.AddStampedPress(100000, 116000);
        key.AddStampedPress(132000, 148000);
        key.AddStampedPress(350000, kFinishPass - 32000);
        if (ditAfterClick) {
            key.AddStampedPress(kFinishPass + 1600, kFinishPass + 3200);
        }
        platform::TScopedServices services({&key, &key, &key, &key, nullptr, &key});
        form->Start().Click();
    }
    std::unique_ptr<app::TForm1> form;
    TLateHandingKey key;
};

TEST(CaptureTest, FinishWaitsForALateSourceToHandOverWhatWasKeyedBeforeTheClick) {
    platform::TIsolatedSystemServices system;
    const TLateRun run(true, true);
    // The last dah was still on its way at the click: Finish polled on until the source had
    // settled past it, and it is logged where it was keyed; the dit is not.
    EXPECT_EQ(LoggedPolls(*run.form), kAllThreeDahs);
    EXPECT_EQ(run.key.Pass(), kFinishPass + kHandedLate);
    // Meanwhile the run counted as being captured (so no recording is read beside it).
    EXPECT_TRUE(run.key.capturingAfterClick);
    EXPECT_FALSE(run.form->Capturing());
    EXPECT_EQ(run.form->Label21().Caption(), "160");
    // The chart's last edge: 100 + 367999 / 160 - 99999 / 160.
    ASSERT_EQ(run.form->Series1().PointCount(), 16);
    EXPECT_EQ(run.form->Series1().XValueAt(13), 1775);
    EXPECT_TRUE(run.key.messages.empty());
}

TEST(CaptureTest, FinishTakesNothingKeyedAfterTheClickAndWaitsAtMostTwoSeconds) {
    platform::TIsolatedSystemServices system;
    {
        // A source that never says it has settled hands over the dit made after the click:
        // Finish stops there without it.
        const TLateRun run(false, true);
        EXPECT_EQ(LoggedPolls(*run.form), kAllThreeDahs);
        EXPECT_EQ(run.key.Pass(), kFinishPass + 1600 + kHandedLate);
    }
    {
        // Nothing more comes: Finish gives up 2 s (320000 passes) after the click.
        const TLateRun run(false, false);
        EXPECT_EQ(LoggedPolls(*run.form), kAllThreeDahs);
        EXPECT_EQ(run.key.Pass(), kFinishPass + 320000);
        EXPECT_EQ(run.form->Label21().Caption(), "160");
    }
}

// A stamped change whose poll is held up between counting the slices and reading the tick count
// (the process kept off the processor): from the first change on, the clock and the tick count
// are `stallNs` ahead.
class TStallingKey : public TLateStampedKey {
  public:
    TStallingKey(app::TForm1& form, int64_t finishAt, int64_t lateBy, int64_t stallNs)
        : TLateStampedKey(form, finishAt, lateBy, 1000),
          m_form(form),
          m_finishAt(finishAt),
          m_stallNs(stallNs) {}
    uint8_t RightButtonState() override {
        const uint8_t state = TLateStampedKey::RightButtonState();
        // The state at the start of the run (pass 1) is no change.
        if (Pass() > 1 && state != m_last && !m_stalled) {
            m_stallNext = true;  // the next clock read comes after the stall
        }
        m_last = state;
        return state;
    }
    int64_t MonotonicNs() override {
        if (m_stallNext) {
            m_stallNext = false;
            m_stalled = true;
        }
        return TLateStampedKey::MonotonicNs() + (m_stalled ? m_stallNs : 0);
    }
    uint32_t TickCount() override {
        return static_cast<uint32_t>(
            1000 + (Pass() * app::TForm1::kSliceNs + (m_stalled ? m_stallNs : 0)) / kMs);
    }
    void ProcessMessages() override {
        if (Pass() + 1 == m_finishAt) {
            for (int32_t i = 0; i < m_form.Memo(6).Lines().Count(); ++i) {
                ticks.push_back(m_form.Memo(6).Lines().Strings(i));
            }
        }
        TLateStampedKey::ProcessMessages();
    }

    std::vector<std::string> ticks;  // the tick counts logged, as Finish found them

  private:
    app::TForm1& m_form;
    int64_t m_finishAt;
    int64_t m_stallNs;
    uint8_t m_last = 0;
    bool m_stallNext = false;
    bool m_stalled = false;
};

TEST(CaptureTest, AStallBeforeTheTickIsReadDoesNotMoveAStampedChangesTick) {
    platform::TIsolatedSystemServices system;
    auto form = MakeForm();
    // A press at 100 ms and a release at 110 ms on the clock, each noticed 2.5 ms late; the
    // press's poll stalls 3 ms after counting its slices.
    TStallingKey key(*form, 20000, 400, 3 * kMs);
    key.AddStampedPress(16000, 17600);
    platform::TScopedServices services({&key, &key, &key, &key, nullptr, &key});
    form->Start().Click();
    EXPECT_EQ(key.ticks, (std::vector<std::string>{"1000", "1100", "1110"}));
    // So the run's polling rate is measured true.
    EXPECT_EQ(form->Label21().Caption(), "160");
}

// A key whose read is held up (the process kept off the processor while it read): at pass
// `stallAt` the read takes 3 ms, and the key went down 2 ms into it, stamped then; the release at
// pass `upAt` is noticed at once. From the stall on the clock runs 3 ms ahead of the passes.
class TStalledReadKey : public TScriptedRun {
  public:
    static constexpr int64_t kStallNs = 3 * kMs;
    static constexpr int64_t kDownAfterNs = 2 * kMs;

    TStalledReadKey(app::TForm1& form, int64_t finishAt, int64_t stallAt, int64_t upAt)
        : TScriptedRun(form, -1, finishAt), m_stallAt(stallAt), m_upAt(upAt) {}
    uint8_t RightButtonState() override {
        m_stalled = m_stalled || Pass() >= m_stallAt;
        if (!m_stalled) {
            return 0x00;
        }
        return Pass() < m_upAt ? 0x81 : 0x01;
    }
    std::optional<platform::TKeyStamp> ChangeStamp() override {
        if (!m_stalled) {
            return std::nullopt;
        }
        const int64_t at =
            Pass() < m_upAt ? m_stallAt * app::TForm1::kSliceNs + kDownAfterNs : MonotonicNs();
        return platform::TKeyStamp{at, 1000};
    }
    int64_t MonotonicNs() override {
        return TScriptedRun::MonotonicNs() + (m_stalled ? kStallNs : 0);
    }
    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + MonotonicNs() / kMs); }

  private:
    int64_t m_stallAt;
    int64_t m_upAt;
    bool m_stalled = false;
};

TEST(CaptureTest, AChangeStampedDuringAHeldUpReadIsLoggedAtItsMomentNotBeforeIt) {
    platform::TIsolatedSystemServices system;
    auto form = MakeForm();
    TStalledReadKey key(*form, 4000, 1000, 2000);
    platform::TScopedServices services({&key, &key, &key, &key, nullptr, &key});
    form->Start().Click();
    // The read began in slice 999; the press came 2 ms (320 slices) later, the release at pass
    // 2000, 3 ms (480 slices) of clock further on than the passes.
    const std::vector<std::string> expected = {"0", "1319", "2479"};
    EXPECT_EQ(LoggedPolls(*form), expected);
}

}  // namespace
