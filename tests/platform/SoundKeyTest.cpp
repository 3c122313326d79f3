// The sound card as a key, through scripted capture devices fed with synthesised keying: every
// change stamped within a millisecond of where it was keyed though it is noticed a third of a
// second late and the blocks arrive late by a scheduler's whims, the changes handed to the polls
// one at a time, the changes of an unwatched spell dropped, and devices that will not open or go.
#include "platform/SoundKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/FakeKeyDeviceCalls.h"
#include "platform/FakeSoundInputs.h"
#include "platform/KeyInput.h"
#include "support/MorseKeying.h"
#include "support/ToneSynth.h"

namespace platform {
namespace {

constexpr int64_t kMs = 1000000;  // nanoseconds
constexpr const char* kCard = "Test capture";
// Where on the monotonic clock the synthesised sound starts.
constexpr int64_t kOriginNs = 7000 * kMs + 123456;

class TFakeTime : public ITimeSource {
  public:
    int64_t MonotonicNs() override { return Ns; }
    int64_t Ns = 0;
};

// A change the polls saw: the level and the stamp it came with (ms from the sound's start, NaN
// when unstamped).
struct TPolled {
    bool Down;
    double StampMs;
};

class SoundKeyTest : public ::testing::Test {
  protected:
    SoundKeyTest() : m_services(TServices{nullptr, nullptr, nullptr, nullptr, nullptr, &m_time}) {}

    // Plays the sound through the device in blocks as a sound card would, each block's time late
    // by up to lateMs (as a thread held off the core would stamp it), draining it into the
    // detector and polling `pollsPerBlock` times after each block.
    std::vector<TPolled> Play(TSoundKey& key, const std::vector<float>& sound, double rate,
                              double lateMs = 0, int pollsPerBlock = 4, uint32_t seed = 1) {
        constexpr size_t kBlock = 256;
        std::mt19937 engine(seed);
        std::uniform_real_distribution<double> late(0, lateMs);
        std::vector<TPolled> polled;
        bool down = false;
        for (size_t at = 0; at < sound.size(); at += kBlock) {
            const size_t count = std::min(kBlock, sound.size() - at);
            const auto firstNs =
                kOriginNs + static_cast<int64_t>(std::llround(static_cast<double>(at) * 1e9 / rate +
                                                              late(engine) * kMs));
            EXPECT_TRUE(m_inputs.Feed(kCard, {sound.data() + at, count}, firstNs));
            key.Work();
            m_time.Ns =
                kOriginNs + static_cast<int64_t>(static_cast<double>(at + count) * 1e9 / rate);
            for (int poll = 0; poll < pollsPerBlock; ++poll) {
                const bool nowDown = key.Level() == TKeyLevel::klClosed;
                if (nowDown != down) {
                    down = nowDown;
                    const std::optional<TKeyStamp> stamp = key.LevelStamp();
                    polled.push_back({down, stamp ? static_cast<double>(stamp->Ns - kOriginNs) / kMs
                                                  : std::nan("")});
                }
                m_time.Ns += kMs / 4;
            }
        }
        return polled;
    }

    TFakeTime m_time;
    TScopedServices m_services;
    TFakeSoundInputs m_inputs;
};

// Each keyed change against the polled change of its direction nearest to it.
struct TStampErrors {
    std::vector<double> Ms;
    size_t Missed = 0;
    size_t Extra = 0;
    size_t Unstamped = 0;
};

TStampErrors Compare(const std::vector<coach::TTransition>& keyed,
                     const std::vector<TPolled>& polled) {
    TStampErrors errors;
    std::vector<bool> used(polled.size(), false);
    for (const coach::TTransition& change : keyed) {
        size_t best = polled.size();
        for (size_t i = 0; i < polled.size(); ++i) {
            if (!used[i] && polled[i].Down == change.Down && !std::isnan(polled[i].StampMs) &&
                (best == polled.size() || std::abs(polled[i].StampMs - change.TimeMs) <
                                              std::abs(polled[best].StampMs - change.TimeMs))) {
                best = i;
            }
        }
        if (best == polled.size() || std::abs(polled[best].StampMs - change.TimeMs) > 15) {
            ++errors.Missed;
            continue;
        }
        used[best] = true;
        errors.Ms.push_back(std::abs(polled[best].StampMs - change.TimeMs));
    }
    for (size_t i = 0; i < polled.size(); ++i) {
        errors.Extra += used[i] ? 0 : 1;
        errors.Unstamped += std::isnan(polled[i].StampMs) ? 1 : 0;
    }
    return errors;
}

double Quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values.empty()
               ? 0
               : values[std::min(values.size() - 1,
                                 static_cast<size_t>(q * static_cast<double>(values.size())))];
}

TEST_F(SoundKeyTest, StampsLieWithinAMillisecondOfTheKeyedChangesAt20Db) {
    struct TCase {
        double Rate;
        double UnitMs;
        double LateMs;  // how late each block's time may be
        const char* Text;
    };
    // 15, 25 and 50 wpm; the blocks' times exact or up to 4 ms late.
    const TCase cases[] = {{16000, 80, 0, "CQ CQ DE TEST K"},
                           {8000, 48, 4, "PARIS 599 TU"},
                           {48000, 24, 4, "QRL? QRZ 73"},
                           {16000, 24, 4, "VVV TEST 5NN"}};
    uint32_t seed = 11;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Rate) + " Hz, unit " + std::to_string(c.UnitMs) + " ms");
        m_inputs = TFakeSoundInputs();
        m_inputs.AddDevice(kCard, c.Rate);
        TSoundKey key("", {0, false}, m_inputs);
        key.Open();
        const std::vector<coach::TTransition> keyed =
            testsupport::KeyText(std::string(c.Text), {c.UnitMs, 0.1, 0, 1, seed});
        testsupport::TSoundConditions sound;
        sound.SampleRate = c.Rate;
        sound.PitchHz = 650;
        sound.SnrDb = 20;
        sound.Seed = ++seed;
        // The tone is found on the first seconds of keying: the same text twice, the second
        // scored.
        std::vector<coach::TTransition> twice = keyed;
        const uint32_t shift = keyed.back().TimeMs + 600;
        for (const coach::TTransition& change : keyed) {
            twice.push_back({change.TimeMs + shift, change.Down});
        }
        const double lengthMs = twice.back().TimeMs + 1000.0;
        const std::vector<TPolled> polled = Play(
            key, testsupport::SynthesiseKeying(twice, lengthMs, sound), c.Rate, c.LateMs, 4, seed);
        std::vector<coach::TTransition> scored(twice.begin() + static_cast<ptrdiff_t>(keyed.size()),
                                               twice.end());
        std::vector<TPolled> late;
        for (const TPolled& p : polled) {
            if (p.StampMs > shift - 300.0) {
                late.push_back(p);
            }
        }
        const TStampErrors errors = Compare(scored, late);
        std::cout << "  sound key " << c.Rate << " Hz, " << 1200 / c.UnitMs << " wpm, blocks late "
                  << c.LateMs << " ms: " << errors.Ms.size() << " changes, median "
                  << Quantile(errors.Ms, 0.5) << " ms, 95th " << Quantile(errors.Ms, 0.95)
                  << " ms, max " << Quantile(errors.Ms, 1) << " ms, missed " << errors.Missed
                  << ", extra " << errors.Extra << "\n";
        EXPECT_EQ(errors.Missed, 0u);
        EXPECT_EQ(errors.Extra, 0u);
        EXPECT_EQ(errors.Unstamped, 0u);
        EXPECT_LE(Quantile(errors.Ms, 1), 1.0);
    }
}

TEST_F(SoundKeyTest, ChangesAroundLostOrMadeUpSoundAreStampedWhereTheyHappened) {
    // In the middle of the keying the device loses a block of 64 ms (an overrun), saying so or
    // not, or makes up a block of silence (a device padding what it could not read): the samples
    // after lie 64 ms later or earlier than their count says. Long blocks, so that a change just
    // after the fault is stamped no sooner than the fault shows.
    enum class TFault { fLossSaid, fLossUnsaid, fMadeUp };
    for (const TFault fault : {TFault::fLossSaid, TFault::fLossUnsaid, TFault::fMadeUp}) {
        SCOPED_TRACE(fault == TFault::fLossSaid     ? "the loss announced"
                     : fault == TFault::fLossUnsaid ? "the loss unannounced"
                                                    : "silence made up");
        m_inputs = TFakeSoundInputs();
        m_inputs.AddDevice(kCard, 16000);
        TSoundKey key("", {0, false}, m_inputs);
        key.Open();
        const std::vector<coach::TTransition> keyed =
            testsupport::KeyText("TEST DE TEST DE TEST DE TEST", {60, 0.1, 0, 1, 21});
        testsupport::TSoundConditions sound;
        sound.SampleRate = 16000;
        sound.SnrDb = 25;
        const std::vector<float> samples =
            testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 1000.0, sound);
        constexpr size_t kBlock = 1024;
        const size_t faultAt = samples.size() / 2 / kBlock * kBlock;
        constexpr size_t kFaulty = kBlock;
        const std::vector<float> silence(kBlock, 0.0f);
        std::vector<TPolled> polled;
        bool down = false;
        for (size_t at = 0; at < samples.size(); at += kBlock) {
            const int64_t atNs = kOriginNs + static_cast<int64_t>(at) * 62500;
            if (fault != TFault::fMadeUp && at >= faultAt && at < faultAt + kFaulty) {
                continue;
            }
            if (fault == TFault::fMadeUp && at == faultAt) {
                for (size_t made = 0; made < kFaulty; made += kBlock) {
                    m_inputs.Feed(kCard, silence, atNs);
                }
            }
            const size_t count = std::min(kBlock, samples.size() - at);
            m_inputs.Feed(kCard, {samples.data() + at, count}, atNs,
                          fault == TFault::fLossSaid && at == faultAt + kFaulty);
            key.Work();
            m_time.Ns = kOriginNs + static_cast<int64_t>(at + count) * 62500;
            const bool nowDown = key.Level() == TKeyLevel::klClosed;
            if (nowDown != down) {
                down = nowDown;
                polled.push_back(
                    {down, static_cast<double>(key.LevelStamp()->Ns - kOriginNs) / kMs});
            }
        }
        // Scored over the seconds around the fault (an unannounced loss shows only by the blocks'
        // times that stay late for a while, before the changes after it are stamped); the changes
        // within the faulty sound are not.
        const double faultMs = static_cast<double>(faultAt) / 16;
        const double from = faultMs - 1000;
        std::vector<coach::TTransition> scored;
        for (const coach::TTransition& change : keyed) {
            if (change.TimeMs > from + 20 &&
                (change.TimeMs < faultMs - 20 || change.TimeMs > faultMs + 90)) {
                scored.push_back(change);
            }
        }
        std::vector<TPolled> scoredPolled;
        for (const TPolled& p : polled) {
            if (p.StampMs > from && (p.StampMs < faultMs - 10 || p.StampMs > faultMs + 80)) {
                scoredPolled.push_back(p);
            }
        }
        ASSERT_GT(scored.size(), 10u);
        const TStampErrors errors = Compare(scored, scoredPolled);
        EXPECT_EQ(errors.Missed, 0u);
        EXPECT_LE(Quantile(errors.Ms, 1), 1.0);
    }
}

TEST_F(SoundKeyTest, ChangesFoundTogetherReachThePollsOneAtATimeInOrder) {
    m_inputs.AddDevice(kCard, 8000);
    TSoundKey key("", {0, false}, m_inputs);
    key.Open();
    const std::vector<coach::TTransition> keyed =
        testsupport::KeyText("EEEEEE EEEEEE TEST TEST", {40, 0, 0, 1, 3});
    testsupport::TSoundConditions sound;
    sound.PitchHz = 800;
    sound.SnrDb = 30;
    // Polled once per block only after the first seconds: the changes pile up between polls.
    const std::vector<float> samples =
        testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 1000.0, sound);
    m_time.Ns = kOriginNs;
    EXPECT_EQ(key.Level(), TKeyLevel::klOpen);
    // Half a second of sound at a time, polled once after each: changes wait.
    constexpr size_t kHalfSecond = 4000;
    size_t handed = 0;
    int64_t lastStamp = 0;
    bool down = false;
    for (size_t at = 0; at < samples.size(); at += kHalfSecond) {
        const size_t count = std::min(kHalfSecond, samples.size() - at);
        m_inputs.Feed(kCard, {samples.data() + at, count},
                      kOriginNs + static_cast<int64_t>(at) * 125000);
        key.Work();
        m_time.Ns = kOriginNs + static_cast<int64_t>(at + count) * 125000;
        // Polls a slice apart take every waiting change, one each (and one poll at least each
        // half second, as a run polls).
        do {
            const size_t before = key.Waiting();
            const bool nowDown = key.Level() == TKeyLevel::klClosed;
            m_time.Ns += 6250;
            if (before == 0) {
                EXPECT_EQ(nowDown, down);
                continue;
            }
            EXPECT_EQ(key.Waiting(), before - 1);
            EXPECT_NE(nowDown, down) << "change " << handed;
            down = nowDown;
            ASSERT_TRUE(key.LevelStamp().has_value());
            EXPECT_GT(key.LevelStamp()->Ns, lastStamp);
            lastStamp = key.LevelStamp()->Ns;
            ++handed;
        } while (key.Waiting() > 0);
    }
    EXPECT_GE(handed, keyed.size() - 2);  // the first change or two may go before the tone is found
    EXPECT_LE(handed, keyed.size());
}

TEST_F(SoundKeyTest, EveryChangeBeforeTheSettledMomentHasBeenHandedOn) {
    struct TCase {
        double Rate;
        double SnrDb;
        double UnitMs;
    };
    // 24, 15 and 40 wpm, from a clean tone down to 10 dB.
    const TCase cases[] = {{16000, 20, 50}, {8000, 10, 80}, {48000, 30, 30}};
    uint32_t seed = 3;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Rate) + " Hz, " + std::to_string(c.SnrDb) + " dB");
        m_inputs = TFakeSoundInputs();
        m_inputs.AddDevice(kCard, c.Rate);
        TSoundKey key("", {0, false}, m_inputs);
        key.Open();
        EXPECT_LT(key.SettledNs(), kOriginNs);  // no sound yet: nothing is settled
        const std::vector<coach::TTransition> keyed =
            testsupport::KeyText("TEST PARIS TEST", {c.UnitMs, 0.1, 0, 1, ++seed});
        testsupport::TSoundConditions sound;
        sound.SampleRate = c.Rate;
        sound.SnrDb = c.SnrDb;
        sound.Seed = ++seed;
        const std::vector<float> samples =
            testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 1500.0, sound);
        // Blocks of 256 samples, their times up to 4 ms late, two polls after each; after the
        // polls, how far the key says it has settled and how many changes it has handed on.
        std::mt19937 engine(++seed);
        std::uniform_real_distribution<double> late(0, 4);
        const double nsPerSample = 1e9 / c.Rate;
        std::vector<std::pair<int64_t, size_t>> checks;
        std::vector<int64_t> handed;
        bool down = false;
        for (size_t at = 0; at < samples.size(); at += 256) {
            const size_t count = std::min<size_t>(256, samples.size() - at);
            ASSERT_TRUE(m_inputs.Feed(
                kCard, {samples.data() + at, count},
                kOriginNs +
                    std::llround(static_cast<double>(at) * nsPerSample + late(engine) * kMs)));
            key.Work();
            m_time.Ns = kOriginNs + std::llround(static_cast<double>(at + count) * nsPerSample);
            for (int poll = 0; poll < 2; ++poll) {
                if ((key.Level() == TKeyLevel::klClosed) != down) {
                    down = !down;
                    ASSERT_TRUE(key.LevelStamp().has_value());
                    handed.push_back(key.LevelStamp()->Ns);
                }
                m_time.Ns += 6250;
            }
            checks.emplace_back(key.SettledNs(), handed.size());
        }
        EXPECT_GE(handed.size() + 2, keyed.size());
        // Every change stamped before a settled moment had been handed on by then.
        size_t broken = 0;
        for (const auto& [settled, count] : checks) {
            const auto before = static_cast<size_t>(std::count_if(
                handed.begin(), handed.end(), [&](int64_t ns) { return ns < settled; }));
            broken += before > count ? 1 : 0;
        }
        // And the settled moment follows the sound about 0.6 s behind.
        const double behindMs =
            static_cast<double>(m_time.Ns - checks.back().first) / static_cast<double>(kMs);
        std::cout << "  settled " << c.Rate << " Hz, " << c.SnrDb << " dB: " << handed.size()
                  << " of " << keyed.size() << " changes handed on, " << broken << " of "
                  << checks.size() << " settled moments too early, " << behindMs
                  << " ms behind the sound at the end\n";
        EXPECT_EQ(broken, 0u);
        EXPECT_GT(behindMs, 550);
        EXPECT_LT(behindMs, 700);
        m_inputs.Unplug(kCard);
        EXPECT_EQ(key.SettledNs(), kSettledNow);  // a device that has gone hands over nothing more
    }
}

TEST_F(SoundKeyTest, APollAfterAnUnwatchedSpellTakesTheKeyAsItIsUnstamped) {
    m_inputs.AddDevice(kCard, 8000);
    TSoundKey key("", {700, false}, m_inputs);
    key.Open();
    // Keyed and found while no run polls, ending with the key held down.
    std::vector<coach::TTransition> keyed = testsupport::KeyText("TEST TEST", {60, 0, 0, 1, 5});
    keyed.pop_back();
    testsupport::TSoundConditions sound;
    sound.PitchHz = 700;
    const std::vector<float> samples =
        testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 1500.0, sound);
    m_inputs.Feed(kCard, samples, kOriginNs);
    key.Work();
    ASSERT_GT(key.Waiting(), 5u);
    m_time.Ns = kOriginNs + 10000 * kMs;
    EXPECT_EQ(key.Level(), TKeyLevel::klClosed);
    EXPECT_FALSE(key.LevelStamp().has_value());
    EXPECT_EQ(key.Waiting(), 0u);
    EXPECT_TRUE(key.Meter().ToneFound);
    EXPECT_NEAR(key.Meter().PitchHz, 700, 10);
    EXPECT_GT(key.Meter().InputDb, -20);
}

TEST_F(SoundKeyTest, AWorkerThreadDrainsTheSoundByItself) {
    m_inputs.AddDevice(kCard, 8000);
    TSoundKey key("", {0, true}, m_inputs);
    key.Open();
    const std::vector<coach::TTransition> keyed =
        testsupport::KeyText("TEST TEST TEST", {60, 0, 0, 1, 7});
    testsupport::TSoundConditions sound;
    const std::vector<float> samples =
        testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 1000.0, sound);
    for (size_t at = 0; at < samples.size(); at += 256) {
        m_inputs.Feed(kCard, {samples.data() + at, std::min<size_t>(256, samples.size() - at)},
                      kOriginNs + static_cast<int64_t>(at) * 125000);
    }
    // The worker rests a few milliseconds at a time; allow it ample time on a loaded machine.
    for (int wait = 0; wait < 2000 && key.Waiting() + 2 < keyed.size(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(key.Waiting() + 2, keyed.size());
    EXPECT_EQ(key.Overflows(), 0u);
}

TEST_F(SoundKeyTest, SoundTheDetectorCannotKeepUpWithIsDroppedInWholeBlocksAndCounted) {
    m_inputs.AddDevice(kCard, 48000);
    TSoundKey key("", {0, false}, m_inputs);
    key.Open();
    // Six seconds at 48 kHz without the detector draining: more than the ring holds.
    const std::vector<float> block(48000, 0.1f);
    for (int s = 0; s < 6; ++s) {
        m_inputs.Feed(kCard, block, kOriginNs + s * 1000 * kMs);
    }
    EXPECT_GT(key.Overflows(), 0u);
    key.Work();
    EXPECT_EQ(key.Level(), TKeyLevel::klOpen);
}

class SoundKeyInputTest : public SoundKeyTest {
  protected:
    SoundKeyInputTest() : m_guard(m_inputs) { m_inputs.AddDevice(kCard, 16000); }
    static TKeyInputSettings Sound(const std::string& device = kCard, uint32_t pitch = 0) {
        TKeyInputSettings s;
        s.Kind = TKeyInputKind::kiSound;
        s.SoundDevice = device;
        s.SoundPitchHz = pitch;
        return s;
    }
    std::string ApplyMessage(const TKeyInputSettings& s) {
        try {
            m_input.Apply(s);
        } catch (const EKeyInputError& error) {
            return error.what();
        }
        return "applied";
    }

    class TUpButton : public IKeyState {
      public:
        uint8_t RightButtonState() override { return 0; }
    };
    TScopedSoundInputs m_guard;
    TFakeKeyDeviceCalls m_calls;
    TUpButton m_button;
    TKeyboardKey m_keyboard;
    TKeyInput m_input{m_button, m_keyboard, m_calls};
};

TEST_F(SoundKeyInputTest, ADeviceThatWillNotOpenLeavesTheInputInUseAndSaysWhy) {
    m_inputs.SetOpenFails(kCard, true);
    EXPECT_EQ(ApplyMessage(Sound()),
              "The capture of the sound card Test capture cannot be opened.");
    EXPECT_EQ(m_input.Settings().Kind, TKeyInputKind::kiRightButton);
    EXPECT_EQ(m_input.SoundKey(), nullptr);
    EXPECT_EQ(ApplyMessage(Sound("Gone card")),
              "The sound capture device Gone card is not present.");
    // A set pitch the detector cannot take at the device's rate is refused before any run.
    m_inputs.SetOpenFails(kCard, false);
    m_inputs.AddDevice("Slow card", 8000);
    EXPECT_NE(ApplyMessage(Sound("Slow card", 3500)).find("cannot take"), std::string::npos);
    EXPECT_FALSE(m_inputs.IsOpen("Slow card"));
    EXPECT_EQ(ApplyMessage(Sound()), "applied");
    ASSERT_NE(m_input.SoundKey(), nullptr);
    EXPECT_TRUE(m_inputs.IsOpen(kCard));
    EXPECT_EQ(m_input.RightButtonState(), 0);
    // Another input closes the device.
    EXPECT_EQ(ApplyMessage(TKeyInputSettings()), "applied");
    EXPECT_FALSE(m_inputs.IsOpen(kCard));
    EXPECT_EQ(m_input.SoundKey(), nullptr);
    EXPECT_EQ(m_input.SettledNs(), kSettledNow);  // the right button hands changes over at once
}

TEST_F(SoundKeyInputTest, ADeviceThatGoesEndsTheKeyAsUpAndIsOpenedAgainWhenBack) {
    std::vector<std::string> notices;
    m_input.SetLostNotice([&](const std::string& message) { notices.push_back(message); });
    m_input.Apply(Sound());
    EXPECT_EQ(m_input.RightButtonState(), 0);
    EXPECT_LT(m_input.SettledNs(), m_time.Ns);  // no sound has come: a late input
    m_inputs.Unplug(kCard);
    EXPECT_EQ(m_input.RightButtonState(), 0);
    EXPECT_TRUE(m_input.Lost());
    EXPECT_EQ(m_input.SettledNs(), kSettledNow);  // Finish waits for nothing from a lost input
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("the sound capture device Test capture"), std::string::npos);
    const int calls = m_inputs.OpenCalls();
    m_time.Ns += TKeyInput::kRetryNs + 1;
    m_input.RightButtonState();
    EXPECT_EQ(m_inputs.OpenCalls(), calls + 1);  // looked for, not there
    m_inputs.Plug(kCard);
    m_time.Ns += TKeyInput::kRetryNs + 1;
    m_input.RightButtonState();
    EXPECT_FALSE(m_input.Lost());
    EXPECT_TRUE(m_inputs.IsOpen(kCard));
    EXPECT_EQ(notices.size(), 1u);
}

}  // namespace
}  // namespace platform
