// The Live monitor: the log read line by line as it grows (times across the tick count's wrap),
// the read-back of seeded keyings growing word by word with its error rate per condition, and
// the window following a simulated run: lamp, time, read-back, bars, the silence warning at its
// threshold, and a new run starting afresh.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/LiveRun.h"
#include "app/MainForm.h"
#include "app/MonitorForm.h"
#include "app/Startup.h"
#include "chart/engine/Series.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/Services.h"
#include "support/MorseKeying.h"

namespace {

TEST(LiveRunTest, TimesCountFromTheFirstLineAndAcrossTheTickCountsWrap) {
    app::TLiveRun run;
    EXPECT_FALSE(run.KeyDown());
    run.Add(0xFFFFFFF0u, 1);  // the key state at the first poll: no transition
    EXPECT_TRUE(run.Transitions().empty());
    run.Add(0x10u, 129);
    EXPECT_TRUE(run.KeyDown());
    run.Add(0x50u, 0);
    ASSERT_EQ(run.Transitions().size(), 2u);
    EXPECT_EQ(run.Transitions()[0].TimeMs, 0x20u);
    EXPECT_TRUE(run.Transitions()[0].Down);
    EXPECT_EQ(run.Transitions()[1].TimeMs, 0x60u);
    EXPECT_FALSE(run.Transitions()[1].Down);
    EXPECT_EQ(run.LastTick(), 0x50u);
    EXPECT_EQ(run.LineCount(), 3u);
    run.Reset();
    EXPECT_EQ(run.LineCount(), 0u);
    run.Add(500, 128);  // a run begun with the key down
    EXPECT_TRUE(run.KeyDown());
    EXPECT_TRUE(run.Transitions().empty());
}

TEST(LiveRunTest, BarsAreTheLastMarksAndSpacesAgainstTheirIdealLengths) {
    // "S" then "T" at a 50 ms unit, exactly: dit gap dit gap dit, character gap, dah.
    const std::vector<coach::TTransition> run =
        testsupport::KeyText("ST", testsupport::TKeyingStyle{50, 0, 0, 1, 1});
    const app::TLiveReading reading = app::ReadLive(run, 4);
    EXPECT_EQ(reading.Text, "ST");
    ASSERT_EQ(reading.LastBars.size(), 4u);
    const uint32_t lengths[] = {50, 50, 150, 150};  // dit, character gap, dah: the last four
    const bool marks[] = {false, true, false, true};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(reading.LastBars[i].LengthMs, lengths[i]) << i;
        EXPECT_EQ(reading.LastBars[i].Mark, marks[i]) << i;
        EXPECT_DOUBLE_EQ(reading.LastBars[i].IdealMs, lengths[i]) << i;
    }
    EXPECT_EQ(reading.Wpm, 24u);  // 1200 / 50
    // Nothing keyed, or only the wait before the first press: nothing read.
    EXPECT_EQ(app::ReadLive({}, 12).Text, "");
    EXPECT_EQ(app::ReadLive({{100, true}}, 12).Wpm, 0u);
}

TEST(LiveRunTest, AnHoursRunIsReadOverItsLastStretchWithTheSameEnd) {
    // An hour of PARIS at 20 wpm: the reading covers the last stretch only (so an update costs
    // the same as in the first minutes), and its end is the end of what was keyed.
    std::string text;
    for (int word = 0; word < 1200; ++word) {
        text += word % 2 == 0 ? "PARIS " : "CODE ";
    }
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    const std::vector<coach::TTransition> run = testsupport::KeyText(text, style);
    ASSERT_GT(run.size(), 3 * app::kLiveWindowIntervals);
    const app::TLiveReading reading = app::ReadLive(run, 12);
    const std::string keyed = text.substr(0, text.size() - 1);  // no gap after the last word
    ASSERT_GE(reading.Text.size(), 60u);
    EXPECT_EQ(reading.Text.substr(reading.Text.size() - 60), keyed.substr(keyed.size() - 60));
    EXPECT_LT(reading.Text.size(), keyed.size() / 10);
    // The speed of the last stretch is the speed of a run that short keyed the same way.
    const std::vector<coach::TTransition> minute =
        testsupport::KeyText(text.substr(0, 11 * 20), style);
    EXPECT_NEAR(reading.Wpm, app::ReadLive(minute, 12).Wpm, 1);
}

// Random words of three to six letters.
std::vector<std::string> RandomWords(std::mt19937& engine, int count) {
    std::vector<std::string> words;
    for (int w = 0; w < count; ++w) {
        const int letters = 3 + static_cast<int>(engine() % 4);
        std::string word;
        for (int i = 0; i < letters; ++i) {
            word += static_cast<char>('A' + engine() % 26);
        }
        words.push_back(word);
    }
    return words;
}

TEST(LiveRunTest, TheReadBackGrowsWordByWordOnSeededKeying) {
    // At every word gap, once the next word's first press has come, the read-back must be the
    // words keyed so far. Error rates per speed and jitter; steady keying must make none.
    constexpr int kRuns = 25;
    constexpr int kWords = 5;
    std::printf("read-back at word boundaries, wrong per condition (%d runs of %d words)\n", kRuns,
                kWords);
    for (const double wpm : {12.0, 20.0, 30.0}) {
        for (const double jitter : {0.0, 0.1, 0.2, 0.3}) {
            int wrong = 0;
            int checked = 0;
            for (int seed = 1; seed <= kRuns; ++seed) {
                std::mt19937 engine(static_cast<uint32_t>(seed));
                const std::vector<std::string> words = RandomWords(engine, kWords);
                std::string text;
                for (const std::string& word : words) {
                    text += (text.empty() ? "" : " ") + word;
                }
                testsupport::TKeyingStyle style;
                style.UnitMs = 1200 / wpm;
                style.Jitter = jitter;
                style.Seed = static_cast<uint32_t>(seed);
                const std::vector<coach::TTransition> run = testsupport::KeyText(text, style);
                // The press that starts each word after the first.
                std::string sofar;
                size_t transition = 0;
                for (size_t w = 0; w + 1 < words.size(); ++w) {
                    sofar += (sofar.empty() ? "" : " ") + words[w];
                    size_t marks = 0;
                    for (const char letter : words[w]) {
                        marks += coach::SymbolCode(std::string(1, letter)).size();
                    }
                    transition += 2 * marks;  // past this word's presses and releases
                    const std::vector<coach::TTransition> prefix(
                        run.begin(), run.begin() + static_cast<std::ptrdiff_t>(transition + 1));
                    std::string read = app::ReadLive(prefix, 12).Text;
                    while (!read.empty() && read.back() == ' ') {
                        read.pop_back();
                    }
                    ++checked;
                    wrong += read != sofar ? 1 : 0;
                }
            }
            std::printf("  %2.0f wpm, jitter %3.0f %%: %3d of %3d wrong (%.1f %%)\n", wpm,
                        jitter * 100, wrong, checked, 100.0 * wrong / checked);
            if (jitter <= 0.1) {
                EXPECT_EQ(wrong, 0) << wpm << " wpm, jitter " << jitter;
            }
        }
    }
}

// A run simulated pass by pass: one millisecond of tick count per pass, the key down during the
// given tick ranges; the monitor follows every 50 passes (as the front end's 50 ms timer), and
// the pump clicks Start again and Finish at given ticks.
class TMonitoredRun : public platform::IKeyState,
                      public platform::IClock,
                      public platform::ITimeSource,
                      public platform::IEventPump,
                      public platform::IDialogs {
  public:
    static constexpr uint32_t kStartTick = 5000;
    static constexpr uint32_t kFollowEvery = 50;

    TMonitoredRun(app::TForm1& form, app::TMonitorForm& monitor)
        : m_form(form), m_monitor(monitor) {}

    void Press(const std::vector<coach::TTransition>& transitions) {
        for (size_t i = 0; i + 1 < transitions.size(); i += 2) {
            m_presses.push_back({transitions[i].TimeMs, transitions[i + 1].TimeMs});
        }
    }
    uint8_t RightButtonState() override {
        for (const auto& [from, to] : m_presses) {
            if (Ms() >= from && Ms() < to) {
                return 0x80;
            }
        }
        return 0;
    }
    uint32_t TickCount() override { return kStartTick + Ms(); }
    int64_t MonotonicNs() override { return static_cast<int64_t>(Ms()) * 1000000; }
    void ProcessMessages() override {
        ++m_pass;
        if (onPass) {
            onPass(m_pass);
        }
        if (m_pass % kFollowEvery == 0) {
            m_monitor.Follow(m_form, TickCount());
            seen.push_back({Ms(), m_monitor.LampLabel().Caption(), m_monitor.ReadBack(),
                            m_monitor.WarningLabel().Caption(), m_monitor.TimeValue().Caption()});
        }
        if (m_pass == restartAt) {
            forms::TApplication::Instance().Dispatch([this] { m_form.Start().Click(); });
        }
        if (m_pass == finishAt) {
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override {}

    struct TSeen {
        uint32_t Ms;
        std::string Lamp, ReadBack, Warning, Time;
    };
    std::vector<TSeen> seen;
    std::vector<std::string> messages;
    uint32_t restartAt = 0;
    uint32_t finishAt = 0;
    std::function<void(uint32_t pass)> onPass;

  private:
    uint32_t Ms() const { return m_pass; }
    app::TForm1& m_form;
    app::TMonitorForm& m_monitor;
    uint32_t m_pass = 0;
    std::vector<std::pair<uint32_t, uint32_t>> m_presses;
};

class MonitorFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app::RegisterClasses();
        m_main = std::make_unique<app::TForm1>(nullptr);
        m_main->SetBusyWait(false);
        m_monitor = std::make_unique<app::TMonitorForm>(nullptr);
        m_monitor->Open();
    }
    platform::TIsolatedSystemServices m_system;  // no sound, no service left behind
    std::unique_ptr<app::TForm1> m_main;
    std::unique_ptr<app::TMonitorForm> m_monitor;
};

TEST_F(MonitorFormTest, FollowsTheRunAndWarnsAfterTwentySecondsWithoutAChange) {
    TMonitoredRun run(*m_main, *m_monitor);
    const std::vector<coach::TTransition> keyed =
        testsupport::KeyText("PARIS", testsupport::TKeyingStyle{60, 0.05, 0, 1, 7});
    run.Press(keyed);
    // Finish 20.5 s after the last release, so updates fall on both sides of the threshold.
    run.finishAt = keyed.back().TimeMs + app::TMonitorForm::kSilenceMs + 500;
    platform::TScopedServices services({&run, &run, &run, &run, nullptr, &run});
    m_main->Start().Click();

    ASSERT_FALSE(run.seen.empty());
    const std::string final = m_monitor->ReadBack();
    EXPECT_EQ(final, "PARIS");
    bool sawDown = false;
    for (const TMonitoredRun::TSeen& seen : run.seen) {
        if (seen.Ms >= run.finishAt) {
            break;
        }
        // The lamp shows what the key was at the last poll before the update.
        bool down = false;
        for (size_t i = 0; i + 1 < keyed.size(); i += 2) {
            down = down || (seen.Ms - 1 >= keyed[i].TimeMs && seen.Ms - 1 < keyed[i + 1].TimeMs);
        }
        EXPECT_EQ(seen.Lamp, down ? "Key down" : "Key up") << seen.Ms;
        sawDown = sawDown || down;
        // The read-back only grows: all but its last character (which more elements may change)
        // is the start of the final text.
        if (!seen.ReadBack.empty()) {
            EXPECT_EQ(final.rfind(seen.ReadBack.substr(0, seen.ReadBack.size() - 1), 0), 0u)
                << seen.Ms << ": " << seen.ReadBack;
        }
        // Silent since the last change before the update (or since Start): the warning comes at
        // 20 s and not a millisecond before.
        uint32_t lastChange = 0;
        for (const coach::TTransition& transition : keyed) {
            if (transition.TimeMs <= seen.Ms - 1) {
                lastChange = transition.TimeMs;
            }
        }
        const bool silent = seen.Ms - lastChange >= app::TMonitorForm::kSilenceMs;
        EXPECT_EQ(seen.Warning.empty(), !silent) << seen.Ms;
        EXPECT_EQ(seen.Time, app::TMonitorForm::ElapsedText(seen.Ms)) << seen.Ms;
    }
    EXPECT_TRUE(sawDown);
    // Finished: the run stays on show, the lamp and the warning are off.
    m_monitor->Follow(*m_main, run.TickCount());
    EXPECT_EQ(m_monitor->LampLabel().Caption(), "Not running");
    EXPECT_EQ(m_monitor->WarningLabel().Caption(), "");
    EXPECT_EQ(m_monitor->ReadBackLabel().Caption(), "PARIS");
    EXPECT_EQ(m_monitor->Bars().PointCount(), static_cast<int32_t>(app::TMonitorForm::kBarCount));
    EXPECT_NE(m_monitor->SpeedValue().Caption(), "-");
}

TEST_F(MonitorFormTest, TheSilenceWarningComesAtTwentySecondsToTheMillisecond) {
    TMonitoredRun run(*m_main, *m_monitor);
    run.Press({{100, true}, {160, false}});  // the release is logged at tick 5160
    run.finishAt = 20200;
    std::vector<std::string> warnings;
    run.onPass = [&](uint32_t pass) {
        if (pass == 20159 || pass == 20160) {
            m_monitor->Follow(*m_main, run.TickCount());
            warnings.push_back(m_monitor->WarningLabel().Caption());
        }
    };
    platform::TScopedServices services({&run, &run, &run, &run, nullptr, &run});
    m_main->Start().Click();
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "");  // 19999 ms after the release
    EXPECT_EQ(warnings[1], "No change of the key for 20 seconds: is it connected?");
    // The pointer's warning goes before the silence's, and goes with the run.
    m_monitor->SetKeyOutOfSight(true);
    EXPECT_EQ(m_monitor->WarningLabel().Caption(), app::TMonitorForm::kOutOfSightWarning);
    m_monitor->Follow(*m_main, run.TickCount());
    EXPECT_EQ(m_monitor->WarningLabel().Caption(), "");
}

TEST_F(MonitorFormTest, ASecondStartBeginsAfreshAndAMonitorOpenedLateReadsTheWholeLog) {
    TMonitoredRun run(*m_main, *m_monitor);
    run.Press(testsupport::KeyText("TEST", testsupport::TKeyingStyle{60, 0, 0, 1, 3}));
    // "A" after the second Start.
    run.Press({{2100, true}, {2160, false}, {2220, true}, {2400, false}});
    run.restartAt = 1500;  // within "TEST": what was logged so far is dropped
    run.finishAt = 3000;
    m_monitor->Hide();
    bool opened = false;
    run.onPass = [&](uint32_t pass) {
        if (pass == 2450 && !opened) {  // the monitor opens only now
            opened = true;
            m_monitor->Open();
        }
    };
    platform::TScopedServices services({&run, &run, &run, &run, nullptr, &run});
    m_main->Start().Click();
    EXPECT_EQ(m_monitor->ReadBack(), "A");
    for (const TMonitoredRun::TSeen& seen : run.seen) {
        // Hidden, it showed nothing; opened, it had the whole log of the new run at once.
        EXPECT_EQ(seen.ReadBack, seen.Ms < 2450 ? "" : "A") << seen.Ms;
    }
}

TEST(MonitorElapsedTest, ShowsMinutesSecondsAndTenths) {
    EXPECT_EQ(app::TMonitorForm::ElapsedText(0), "0:00.0");
    EXPECT_EQ(app::TMonitorForm::ElapsedText(59999), "0:59.9");
    EXPECT_EQ(app::TMonitorForm::ElapsedText(60000), "1:00.0");
    EXPECT_EQ(app::TMonitorForm::ElapsedText(61234), "1:01.2");
    EXPECT_EQ(app::TMonitorForm::ElapsedText(3600000), "60:00.0");
}

}  // namespace
