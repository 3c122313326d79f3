// The tone detector on recordings from the tests' own synthesiser: where it places each key change
// against the keyed times, in clean sound and at and past the cliffs of noise, fading, chirp,
// clicks, hum and a second signal, at every sample rate; streaming in blocks of any size.
#include "audio/ToneDetector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/AudioError.h"
#include "support/MorseKeying.h"
#include "support/ToneScoring.h"
#include "support/ToneSynth.h"

namespace {

using testsupport::TPlacementScore;
using testsupport::TSoundConditions;

const std::string kText = "CQ CQ DE KEYVET THE QUICK BROWN FOX 599 73";

struct TTrial {
    std::vector<coach::TTransition> Keyed;
    std::vector<audio::TKeyChange> Detected;
    TPlacementScore Score;
    double PitchHz = 0;
    std::string ReadBack;
};

// Keys `text` at `wpm` with 10 % jitter after a second of lead-in, synthesises it under the
// conditions, and detects it (at the pitch given, or finding it).
TTrial Detect(const TSoundConditions& conditions, double wpm = 20, const std::string& text = kText,
              double setPitch = 0) {
    testsupport::TKeyingStyle style;
    style.UnitMs = 1200 / wpm;
    style.Jitter = 0.1;
    style.Seed = conditions.Seed;
    TTrial trial;
    trial.Keyed = testsupport::KeyText(text, style);
    for (coach::TTransition& change : trial.Keyed) {
        change.TimeMs += 900;  // the first press at 1 s
    }
    const std::vector<float> sound =
        testsupport::SynthesiseKeying(trial.Keyed, trial.Keyed.back().TimeMs + 1000, conditions);
    audio::TToneDetector detector({conditions.SampleRate, setPitch});
    detector.Feed(sound);
    detector.Finish();
    trial.Detected = detector.TakeChanges();
    trial.Score = testsupport::ScorePlacement(trial.Keyed, trial.Detected, conditions.SampleRate);
    trial.PitchHz = detector.PitchHz();
    trial.ReadBack =
        testsupport::ReadBackText(testsupport::DetectedRun(trial.Detected, conditions.SampleRate));
    return trial;
}

std::string Describe(const TTrial& trial) {
    return "missed " + std::to_string(trial.Score.Missed) + ", extra " +
           std::to_string(trial.Score.Extra) + ", median " +
           std::to_string(trial.Score.MedianMs()) + " ms, 95th " +
           std::to_string(trial.Score.Percentile95Ms()) + " ms, max " +
           std::to_string(trial.Score.MaxMs()) + " ms, read '" + trial.ReadBack + "'";
}

TEST(ToneDetectorTest, CleanToneIsPlacedWithinAFiftiethOfAMillisecondAtEveryRateAndPitch) {
    for (const double rate : {8000.0, 11025.0, 22050.0, 44100.0, 48000.0}) {
        for (const double pitch : {300.0, 700.0, 1500.0}) {
            TSoundConditions c;
            c.SampleRate = rate;
            c.PitchHz = pitch;
            const TTrial trial = Detect(c);
            SCOPED_TRACE("rate " + std::to_string(rate) + " pitch " + std::to_string(pitch) + ": " +
                         Describe(trial));
            EXPECT_EQ(trial.Score.Missed, 0u);
            EXPECT_EQ(trial.Score.Extra, 0u);
            // At 300 Hz a little of the mixer's image at twice the pitch is left.
            EXPECT_LT(trial.Score.MaxMs(), pitch < 500 ? 0.05 : 0.01);
            EXPECT_NEAR(trial.PitchHz, pitch, 3);
            EXPECT_EQ(trial.ReadBack, kText);
        }
    }
}

TEST(ToneDetectorTest, TheFilterDelayIsTakenOutOfRisesAndFallsAlike) {
    // With noise the errors scatter; their signed means stay at zero for both edges, so that
    // marks are neither lengthened nor shortened.
    TSoundConditions c;
    c.SnrDb = 20;
    c.RiseMs = 8;
    const TTrial trial = Detect(c);
    double rise = 0, fall = 0;
    size_t rises = 0, falls = 0;
    size_t j = 0;
    for (const coach::TTransition& keyed : trial.Keyed) {
        while (j < trial.Detected.size() && trial.Detected[j].Down != keyed.Down) {
            ++j;
        }
        ASSERT_LT(j, trial.Detected.size());
        const double error = trial.Detected[j].Sample * 1000 / c.SampleRate - keyed.TimeMs;
        (keyed.Down ? rise : fall) += error;
        ++(keyed.Down ? rises : falls);
        ++j;
    }
    EXPECT_NEAR(rise / static_cast<double>(rises), 0, 0.06);
    EXPECT_NEAR(fall / static_cast<double>(falls), 0, 0.06);
}

TEST(ToneDetectorTest, NoiseDownToTheCliffKeepsEveryChangeAndPastItTheReadBack) {
    // The placement's spread is bounded below by the noise: at 10 dB in 500 Hz an edge rising in
    // 5 ms cannot be timed better than about 0.64 ms (one standard deviation), so there the
    // median and the 95th percentile are held, not the largest error.
    struct TCase {
        double SnrDb;
        double MaxMs;     // every change within
        double MedianMs;  // and half of them within
        double P95Ms;
    };
    for (const TCase& k : {TCase{30, 0.3, 0.06, 0.2}, TCase{20, 1.2, 0.2, 0.5},
                           TCase{10, 4.5, 0.55, 1.5}, TCase{6, 9, 0.9, 4}}) {
        TSoundConditions c;
        c.SnrDb = k.SnrDb;
        const TTrial trial = Detect(c);
        SCOPED_TRACE("SNR " + std::to_string(k.SnrDb) + ": " + Describe(trial));
        EXPECT_EQ(trial.Score.Missed, 0u);
        EXPECT_EQ(trial.Score.Extra, 0u);
        EXPECT_LT(trial.Score.MaxMs(), k.MaxMs);
        EXPECT_LT(trial.Score.MedianMs(), k.MedianMs);
        EXPECT_LT(trial.Score.Percentile95Ms(), k.P95Ms);
        EXPECT_EQ(trial.ReadBack, kText);
    }
}

TEST(ToneDetectorTest, AtThreeDecibelsTheTextStillReadsBack) {
    // A longer text, so that one wrong character in a hundred would show.
    const std::string text =
        "NOW IS THE TIME FOR ALL GOOD MEN TO COME TO THE AID OF THE PARTY 1234567890 "
        "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS";
    for (const uint32_t seed : {1u, 2u}) {
        TSoundConditions c;
        c.SnrDb = 3;
        c.Seed = seed;
        const TTrial trial = Detect(c, 20, text);
        SCOPED_TRACE(Describe(trial));
        EXPECT_LT(testsupport::CharacterErrorRate(text, trial.ReadBack), 0.01);
    }
}

TEST(ToneDetectorTest, PastTheCliffNoiseTakesItsTollButNothingBreaks) {
    // At 0 dB marks are lost and noise makes some; the detector goes on and keeps its changes
    // in order, alternating.
    TSoundConditions c;
    c.SnrDb = 0;
    const TTrial trial = Detect(c);
    SCOPED_TRACE(Describe(trial));
    EXPECT_GT(trial.Score.Missed + trial.Score.Extra, 0u);
    EXPECT_LT(testsupport::CharacterErrorRate(kText, trial.ReadBack), 0.6);
    for (size_t i = 1; i < trial.Detected.size(); ++i) {
        EXPECT_GT(trial.Detected[i].Sample, trial.Detected[i - 1].Sample);
        EXPECT_NE(trial.Detected[i].Down, trial.Detected[i - 1].Down);
    }
}

TEST(ToneDetectorTest, SpeedsFromFiveToFiftyWordsPerMinute) {
    for (const double wpm : {5.0, 12.0, 35.0, 50.0}) {
        TSoundConditions c;
        c.SnrDb = 20;
        c.RiseMs = wpm > 40 ? 3 : 5;
        const TTrial trial = Detect(c, wpm, "PARIS CQ 73");
        SCOPED_TRACE(std::to_string(wpm) + " wpm: " + Describe(trial));
        EXPECT_EQ(trial.Score.Missed, 0u);
        EXPECT_EQ(trial.Score.Extra, 0u);
        EXPECT_LT(trial.Score.MaxMs(), 1);
        EXPECT_EQ(trial.ReadBack, "PARIS CQ 73");
    }
}

TEST(ToneDetectorTest, RiseTimesFromTwoToEightMilliseconds) {
    for (const double rise : {2.0, 8.0}) {
        TSoundConditions c;
        c.SnrDb = 20;
        c.RiseMs = rise;
        const TTrial trial = Detect(c);
        SCOPED_TRACE(std::to_string(rise) + " ms: " + Describe(trial));
        EXPECT_EQ(trial.Score.Missed + trial.Score.Extra, 0u);
        EXPECT_LT(trial.Score.Percentile95Ms(), 0.6);
        EXPECT_LT(trial.Score.MaxMs(), 1.5);
    }
}

TEST(ToneDetectorTest, FadingOfTenDecibelsEitherWayIsFollowed) {
    // At 20 dB the troughs are at 10 dB. Long enough for several fades: runs of dits fall
    // through them too (a dit alone once left the level where it was, and the marks of a fade
    // were then lost for seconds).
    const std::string text =
        "NOW IS THE TIME FOR ALL GOOD MEN TO COME TO THE AID OF THE PARTY 599 73 TU SK";
    for (const uint32_t seed : {1u, 2u}) {
        TSoundConditions c;
        c.SnrDb = 20;
        c.FadeDb = 10;
        c.FadePeriodS = 8;
        c.Seed = seed;
        const TTrial trial = Detect(c, 20, text);
        SCOPED_TRACE(Describe(trial));
        EXPECT_EQ(trial.Score.Missed + trial.Score.Extra, 0u);
        EXPECT_LT(trial.Score.Percentile95Ms(), 1);
        EXPECT_EQ(trial.ReadBack, text);
    }
}

TEST(ToneDetectorTest, ChirpClicksAndHumMakeNoChanges) {
    TSoundConditions chirp;
    chirp.SnrDb = 10;
    chirp.ChirpHz = 40;
    TSoundConditions clicks;
    clicks.SnrDb = 10;
    clicks.RiseMs = 0.1;
    clicks.ClickLevel = 3;
    TSoundConditions hum;
    hum.SnrDb = 10;
    hum.HumLevel = 3;
    TSoundConditions drift;
    drift.SnrDb = 10;
    drift.DriftHzPerS = 1;
    for (const TSoundConditions& c : {chirp, clicks, hum, drift}) {
        const TTrial trial = Detect(c);
        SCOPED_TRACE(Describe(trial));
        EXPECT_EQ(trial.Score.Missed + trial.Score.Extra, 0u);
        EXPECT_LT(trial.Score.Percentile95Ms(), 3.1);
        EXPECT_EQ(trial.ReadBack, kText);
    }
}

TEST(ToneDetectorTest, ASecondSignalTwoToThreeHundredHertzAwayMakesNoChanges) {
    const std::vector<coach::TTransition> other =
        testsupport::KeyText("VVV TEST VVV TEST VVV TEST VVV TEST", {45, 0.1, 0, 1, 7});
    for (const double offset : {300.0, -300.0, 200.0}) {
        TSoundConditions c;
        c.SnrDb = 20;
        c.SecondOffsetHz = offset;
        c.SecondKeying = other;
        // Weaker: the detector finds the stronger tone by itself.
        c.SecondLevel = 0.5;
        const TTrial found = Detect(c);
        SCOPED_TRACE(std::to_string(offset) + " Hz: " + Describe(found));
        EXPECT_NEAR(found.PitchHz, c.PitchHz, 5);
        EXPECT_EQ(found.Score.Missed + found.Score.Extra, 0u);
        EXPECT_EQ(found.ReadBack, kText);
        // As strong as the tone: the operator sets the pitch.
        c.SecondLevel = 1;
        const TTrial set = Detect(c, 20, kText, c.PitchHz);
        SCOPED_TRACE("set pitch: " + Describe(set));
        EXPECT_EQ(set.Score.Missed + set.Score.Extra, 0u);
        EXPECT_EQ(set.ReadBack, kText);
    }
}

TEST(ToneDetectorTest, FeedingInBlocksOfAnySizeGivesTheSameChanges) {
    TSoundConditions c;
    c.SnrDb = 10;
    c.SampleRate = 11025;
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS PARIS", style);
    const std::vector<float> sound =
        testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 500, c);
    audio::TToneDetector whole({c.SampleRate, 0});
    whole.Feed(sound);
    whole.Finish();
    const std::vector<audio::TKeyChange> expected = whole.TakeChanges();
    ASSERT_EQ(expected.size(), keyed.size());

    std::mt19937 engine(3);
    audio::TToneDetector blocks({c.SampleRate, 0});
    std::vector<audio::TKeyChange> got;
    size_t at = 0;
    while (at < sound.size()) {
        const size_t size = std::min<size_t>(sound.size() - at, 1 + engine() % 3000);
        blocks.Feed(std::span<const float>(sound).subspan(at, size));
        at += size;
        for (const audio::TKeyChange& change : blocks.TakeChanges()) {
            got.push_back(change);
        }
    }
    blocks.Finish();
    for (const audio::TKeyChange& change : blocks.TakeChanges()) {
        got.push_back(change);
    }
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].Sample, expected[i].Sample) << i;
        EXPECT_EQ(got[i].Down, expected[i].Down) << i;
    }
    EXPECT_EQ(blocks.SamplesFed(), static_cast<int64_t>(sound.size()));
}

TEST(ToneDetectorTest, ChangesComeOutAboutAThirdOfASecondAfterTheyHappen) {
    // A live key: each change is reported while the sound goes on, not only at its end.
    TSoundConditions c;
    std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS", {});
    keyed.push_back({3000, true});
    keyed.push_back({3060, false});
    const std::vector<float> sound = testsupport::SynthesiseKeying(keyed, 4000, c);
    audio::TToneDetector detector({c.SampleRate, 0});
    std::vector<audio::TKeyChange> changes;
    const size_t step = 80;  // 10 ms
    for (size_t at = 0; at + step <= sound.size(); at += step) {
        detector.Feed(std::span<const float>(sound).subspan(at, step));
        for (const audio::TKeyChange& change : detector.TakeChanges()) {
            changes.push_back(change);
            const double heardMs = static_cast<double>(at + step) * 1000 / c.SampleRate;
            const double happenedMs = change.Sample * 1000 / c.SampleRate;
            // The first changes wait for the tone to be found (two seconds of sound).
            if (happenedMs > 2000) {
                EXPECT_LT(heardMs - happenedMs, 350) << happenedMs;
            }
        }
    }
    EXPECT_EQ(changes.size(), keyed.size());
}

TEST(ToneDetectorTest, SilenceNoiseASteadyCarrierOrHumAloneMakeNoChanges) {
    const double rate = 8000;
    std::mt19937 engine(5);
    std::normal_distribution<double> gauss(0, 0.1);
    std::vector<float> silence(5 * 8000, 0.0f), noise(5 * 8000), carrier(5 * 8000), hum(5 * 8000);
    for (size_t i = 0; i < noise.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        noise[i] = static_cast<float>(gauss(engine));
        carrier[i] = static_cast<float>(0.3 * std::sin(2 * 3.14159265358979 * 700 * t) +
                                        gauss(engine) * 0.01);
        hum[i] = static_cast<float>(0.3 * std::sin(2 * 3.14159265358979 * 350 * t) +
                                    0.3 * std::sin(2 * 3.14159265358979 * 450 * t) +
                                    gauss(engine) * 0.01);
    }
    for (const std::vector<float>* sound : {&silence, &noise, &carrier, &hum}) {
        audio::TToneDetector detector({rate, 0});
        detector.Feed(*sound);
        detector.Finish();
        EXPECT_FALSE(detector.ToneFound());
        EXPECT_EQ(detector.PitchHz(), 0);
        EXPECT_TRUE(detector.TakeChanges().empty());
    }
    // With the pitch set, noise alone is no tone either.
    audio::TToneDetector set({rate, 700});
    set.Feed(noise);
    set.Finish();
    EXPECT_TRUE(set.TakeChanges().empty());
}

TEST(ToneDetectorTest, AToneAlreadyOnAtTheStartOrStillOnAtTheEnd) {
    TSoundConditions c;
    // Down from the first sample, up at 300 ms; down again at 500 ms and still down at the end.
    const std::vector<coach::TTransition> keyed{
        {0, true}, {300, false}, {500, true}, {560, false}, {620, true}, {800, false}, {860, true}};
    const std::vector<float> sound = testsupport::SynthesiseKeying(keyed, 1400, c);
    audio::TToneDetector detector({c.SampleRate, 0});
    detector.Feed(sound);
    detector.Finish();
    const std::vector<audio::TKeyChange> changes = detector.TakeChanges();
    ASSERT_EQ(changes.size(), keyed.size());
    EXPECT_TRUE(changes.front().Down);
    EXPECT_LT(changes.front().Sample, c.SampleRate * 0.005);
    EXPECT_TRUE(changes.back().Down);
    EXPECT_NEAR(changes.back().Sample / c.SampleRate * 1000, 860, 0.01);
}

TEST(ToneDetectorTest, SamplesThatAreNoNumbersOrHugeSpoilOnlyThemselves) {
    // A float file may hold NaN, infinities or wild values; the keying around them is still
    // found.
    TSoundConditions c;
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS PARIS PARIS", style);
    std::vector<float> sound = testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 500, c);
    // In the first word gap (where no change lies within 50 ms).
    const size_t gap = static_cast<size_t>((keyed[27].TimeMs + 100) * c.SampleRate / 1000);
    sound[gap] = std::numeric_limits<float>::quiet_NaN();
    sound[gap + 1] = std::numeric_limits<float>::infinity();
    sound[gap + 2] = -std::numeric_limits<float>::infinity();
    sound[gap + 3] = 3e38f;
    audio::TToneDetector detector({c.SampleRate, 0});
    detector.Feed(sound);
    detector.Finish();
    const std::vector<audio::TKeyChange> changes = detector.TakeChanges();
    const TPlacementScore score = testsupport::ScorePlacement(keyed, changes, c.SampleRate);
    EXPECT_EQ(score.Missed, 0u);
    EXPECT_EQ(score.Extra, 0u);
    // The cut values still count in the noise floor of the changes around them.
    EXPECT_LT(score.MaxMs(), 0.5);
    EXPECT_LT(score.Percentile95Ms(), 0.05);
}

TEST(ToneDetectorTest, RatesAndPitchesOutsideWhatItTakesAreRefused) {
    EXPECT_THROW(audio::TToneDetector({7999, 0}), audio::EAudioError);
    EXPECT_THROW(audio::TToneDetector({192001, 0}), audio::EAudioError);
    EXPECT_THROW(audio::TToneDetector({std::nan(""), 0}), audio::EAudioError);
    EXPECT_THROW(audio::TToneDetector({8000, 99}), audio::EAudioError);
    EXPECT_THROW(audio::TToneDetector({8000, 3201}), audio::EAudioError);
    EXPECT_NO_THROW(audio::TToneDetector({8000, 3200}));
    try {
        audio::TToneDetector({4000, 0});
        FAIL();
    } catch (const audio::EAudioError& e) {
        EXPECT_STREQ(e.what(),
                     "the sample rate 4000 Hz is outside the 8000 to 192000 Hz a tone can be "
                     "found in");
    }
    audio::TToneDetector finished({8000, 0});
    finished.Finish();
    const std::vector<float> more(10, 0.0f);
    EXPECT_THROW(finished.Feed(more), std::logic_error);
}

}  // namespace
