// A whole run keyed through the sound card: the sound key decides each change a third of a second
// after the sound and hands it over about 0.9 s after it, yet Finish clicked 0.2 s after the last
// character still takes that character, where it was keyed, and nothing keyed after the click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/FakeSoundInputs.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/KeyByte.h"
#include "platform/Services.h"
#include "platform/SoundKey.h"
#include "support/MorseKeying.h"
#include "support/ToneSynth.h"

namespace {

constexpr int64_t kSliceNs = app::TForm1::kSliceNs;
constexpr int64_t kMs = 1000000;  // nanoseconds
constexpr double kRate = 8000;
constexpr size_t kBlock = 256;  // samples a block, 32 ms
constexpr const char* kCard = "Test capture";

// The capture's world: pump pass p is the clock's slice p, the sound's sample 0 lies at 0 on the
// clock, and the card delivers each block once its last sample has been taken; the detector is
// drained as blocks come (the worker's part). The key byte follows the sound key's level, stamped
// as it stamps it. Finish is clicked once the clock reaches finishNs.
class TSoundRun : public platform::IKeyState,
                  public platform::IClock,
                  public platform::ITimeSource,
                  public platform::IEventPump,
                  public platform::IDialogs {
  public:
    TSoundRun(app::TForm1& form, platform::TSoundKey& key, platform::TFakeSoundInputs& inputs,
              std::vector<float> sound, int64_t finishNs)
        : m_form(form),
          m_key(key),
          m_inputs(inputs),
          m_sound(std::move(sound)),
          m_finishNs(finishNs) {}

    uint8_t RightButtonState() override {
        m_byte.Set(m_key.Level() == platform::TKeyLevel::klClosed);
        return m_byte.Byte();
    }
    std::optional<platform::TKeyStamp> ChangeStamp() override { return m_key.LevelStamp(); }
    int64_t SettledNs() override { return m_key.SettledNs(); }
    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + MonotonicNs() / kMs); }
    int64_t MonotonicNs() override { return m_pass * kSliceNs; }
    void ProcessMessages() override {
        ++m_pass;
        bool fed = false;
        while (m_next < m_sound.size() &&
               static_cast<double>(m_next + kBlock) * 1e9 / kRate <= static_cast<double>(Now())) {
            const size_t count = std::min(kBlock, m_sound.size() - m_next);
            EXPECT_TRUE(m_inputs.Feed(
                kCard, {m_sound.data() + m_next, count},
                static_cast<int64_t>(std::llround(static_cast<double>(m_next) * 1e9 / kRate))));
            m_next += count;
            fed = true;
        }
        if (fed) {
            m_key.Work();
        }
        if (!m_clicked && Now() >= m_finishNs) {
            m_clicked = true;
            m_finishPass = m_pass;
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { messages.push_back("beep"); }

    int64_t Pass() const { return m_pass; }
    int64_t FinishPass() const { return m_finishPass; }
    std::vector<std::string> messages;

  private:
    int64_t Now() const { return m_pass * kSliceNs; }

    app::TForm1& m_form;
    platform::TSoundKey& m_key;
    platform::TFakeSoundInputs& m_inputs;
    std::vector<float> m_sound;
    int64_t m_finishNs;
    int64_t m_pass = 0;
    size_t m_next = 0;  // the first sample not yet delivered
    bool m_clicked = false;
    int64_t m_finishPass = 0;
    platform::TKeyByte m_byte;
};

TEST(SoundKeyCaptureTest, FinishSoonAfterTheLastCharacterKeepsItAndNothingAfterTheClick) {
    platform::TIsolatedSystemServices system;
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    form->SetBusyWait(false);
    platform::TFakeSoundInputs inputs;
    inputs.AddDevice(kCard, kRate);
    platform::TSoundKey key("", {0, false}, inputs);
    key.Open();

    // 20 wpm with some jitter; Finish 0.2 s after the last release, and a dit keyed 0.1 s after
    // the click (the operator's hand still moving).
    const std::vector<coach::TTransition> keyed =
        testsupport::KeyText("PARIS PARIS TEST", {60, 0.1, 0, 1, 5});
    const uint32_t finishMs = keyed.back().TimeMs + 200;
    std::vector<coach::TTransition> sounded = keyed;
    sounded.push_back({finishMs + 100, true});
    sounded.push_back({finishMs + 160, false});
    testsupport::TSoundConditions conditions;
    conditions.SampleRate = kRate;
    conditions.PitchHz = 700;
    conditions.SnrDb = 30;
    conditions.Seed = 9;
    TSoundRun run(*form, key, inputs,
                  testsupport::SynthesiseKeying(sounded, finishMs + 3000.0, conditions),
                  finishMs * kMs);
    platform::TScopedServices services({&run, &run, &run, &run, nullptr, &run});
    form->Start().Click();

    // Poll p is the clock's slice p, from the first poll at pass 1: at (p + 1) slices.
    const classes::TLineList& polls = form->Memo(2).Lines();
    ASSERT_GE(polls.Count(), 3);
    std::vector<coach::TTransition> logged;
    for (int32_t i = 1; i < polls.Count(); ++i) {
        const double ms = static_cast<double>((std::stoll(polls.Strings(i)) + 1) * kSliceNs) / kMs;
        // The key starts up, so the changes alternate from a press.
        logged.push_back({static_cast<uint32_t>(std::lround(ms)), i % 2 == 1});
        // Each logged change lies within a millisecond of a keyed change of its direction.
        double nearest = 1e9;
        for (const coach::TTransition& change : keyed) {
            if (change.Down == logged.back().Down) {
                nearest = std::min(nearest, std::abs(ms - change.TimeMs));
            }
        }
        EXPECT_LE(nearest, 1.0) << "change " << i << " at " << ms << " ms";
    }
    // The first change or two may go by before the tone is found; the last character is there,
    // ending with the release 0.2 s before the click, and the dit after the click is not.
    EXPECT_GE(logged.size() + 2, keyed.size());
    EXPECT_LE(logged.size(), keyed.size());
    EXPECT_FALSE(logged.back().Down);
    EXPECT_NEAR(static_cast<double>(logged.back().TimeMs), keyed.back().TimeMs, 1.0);
    // Finish waited for the sound to settle past the click, well within its limit.
    const double waitedMs = static_cast<double>((run.Pass() - run.FinishPass()) * kSliceNs) / kMs;
    std::cout << "  " << logged.size() << " of " << keyed.size()
              << " keyed changes logged; Finish waited " << waitedMs << " ms for the sound key\n";
    EXPECT_GT(waitedMs, 500);
    EXPECT_LT(waitedMs, 1000);
    EXPECT_EQ(form->Label21().Caption(), "160");
    EXPECT_TRUE(run.messages.empty());
    EXPECT_FALSE(form->Edit(1).Text().empty());
}

}  // namespace
