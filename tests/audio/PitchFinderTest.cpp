// Finding a keyed tone's pitch: the transform against a slow one written out, the pitch of keyed
// tones across the band, and nothing for noise, hum, a steady carrier or too little sound.
#include "audio/PitchFinder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "support/MorseKeying.h"
#include "support/ToneSynth.h"

namespace {

TEST(PitchFinderTest, TheTransformMatchesTheSumItStandsFor) {
    std::mt19937 engine(9);
    std::uniform_real_distribution<double> value(-1, 1);
    for (const size_t n : {1u, 2u, 8u, 64u, 512u}) {
        std::vector<std::complex<double>> data(n);
        for (std::complex<double>& x : data) {
            x = {value(engine), value(engine)};
        }
        std::vector<std::complex<double>> fast = data;
        audio::Fft(fast);
        for (size_t k = 0; k < n; ++k) {
            std::complex<double> sum(0, 0);
            for (size_t j = 0; j < n; ++j) {
                const double angle =
                    -2 * std::numbers::pi * static_cast<double>(j * k % n) / static_cast<double>(n);
                sum += data[j] * std::complex<double>(std::cos(angle), std::sin(angle));
            }
            EXPECT_NEAR(fast[k].real(), sum.real(), 1e-9) << n << " " << k;
            EXPECT_NEAR(fast[k].imag(), sum.imag(), 1e-9) << n << " " << k;
        }
    }
}

std::vector<float> Keyed(double pitch, double rate, double snrDb, double ms = 3000) {
    testsupport::TSoundConditions c;
    c.PitchHz = pitch;
    c.SampleRate = rate;
    c.SnrDb = snrDb;
    return testsupport::SynthesiseKeying(testsupport::KeyText("PARIS PARIS", {}), ms, c);
}

TEST(PitchFinderTest, AKeyedToneIsFoundAcrossTheBandAndBetweenBins) {
    for (const double rate : {8000.0, 22050.0, 48000.0}) {
        for (const double pitch : {300.0, 451.3, 700.0, 1013.7, 1500.0}) {
            const audio::TPitchEstimate found = audio::FindKeyedPitch(Keyed(pitch, rate, 10), rate);
            EXPECT_NEAR(found.PitchHz, pitch, 4) << rate << " Hz " << pitch;
            EXPECT_GT(found.Contrast, 10);
        }
    }
}

TEST(PitchFinderTest, OutsideTheBandOrWithoutKeyingNothingIsFound) {
    const double rate = 8000;
    // A keyed tone below and above the band.
    EXPECT_EQ(audio::FindKeyedPitch(Keyed(200, rate, 30), rate).PitchHz, 0);
    EXPECT_EQ(audio::FindKeyedPitch(Keyed(1700, rate, 30), rate).PitchHz, 0);
    std::mt19937 engine(2);
    std::normal_distribution<double> gauss(0, 0.1);
    std::vector<float> noise(24000), carrier(24000), hum(24000);
    for (size_t i = 0; i < noise.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        noise[i] = static_cast<float>(gauss(engine));
        carrier[i] =
            static_cast<float>(0.3 * std::sin(2 * std::numbers::pi * 800 * t) + gauss(engine));
        hum[i] = static_cast<float>(0.2 * std::sin(2 * std::numbers::pi * 350 * t) +
                                    0.2 * std::sin(2 * std::numbers::pi * 550 * t) +
                                    0.01 * gauss(engine));
    }
    EXPECT_EQ(audio::FindKeyedPitch(noise, rate).PitchHz, 0);
    EXPECT_EQ(audio::FindKeyedPitch(carrier, rate).PitchHz, 0);
    EXPECT_EQ(audio::FindKeyedPitch(hum, rate).PitchHz, 0);
    // Eight frames of 32 ms are the least it looks at.
    const std::vector<float> keyed = Keyed(700, rate, 30, 3000);
    EXPECT_EQ(audio::FindKeyedPitch(std::span<const float>(keyed).first(7 * 256), rate).PitchHz, 0);
}

TEST(PitchFinderTest, TheToneKeyedMoreStronglyWinsOverAWeakerOne) {
    testsupport::TSoundConditions c;
    c.SnrDb = 20;
    c.SecondLevel = 0.5;
    c.SecondOffsetHz = 300;
    c.SecondKeying = testsupport::KeyText("TEST TEST TEST", {50, 0, 0, 1, 1});
    const std::vector<float> sound =
        testsupport::SynthesiseKeying(testsupport::KeyText("PARIS PARIS", {}), 3000, c);
    EXPECT_NEAR(audio::FindKeyedPitch(sound, c.SampleRate).PitchHz, 700, 4);
}

}  // namespace
