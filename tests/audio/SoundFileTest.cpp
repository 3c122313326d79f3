// Reading sound files: samples as written by the tests' own WAV writer, channels mixed to one,
// reading in blocks, and one clear message for what is no sound.
#include "audio/SoundFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sndfile.h>

#include "audio/AudioError.h"
#include "audio/ToneDetector.h"
#include "support/MorseKeying.h"
#include "support/TempFolder.h"
#include "support/ToneSynth.h"

namespace {

std::string MessageOf(const std::string& path) {
    try {
        audio::TSoundFile file(path);
    } catch (const audio::EAudioError& e) {
        return e.what();
    }
    return "(opened)";
}

TEST(SoundFileTest, MonoSamplesComeBackInBlocksAsWritten) {
    testsupport::TTempFolder folder;
    const std::string path = folder.Path() + "/a.wav";
    std::vector<float> written(10000);
    for (size_t i = 0; i < written.size(); ++i) {
        written[i] = static_cast<float>(static_cast<double>(i % 200) / 200 - 0.5);
    }
    testsupport::WritePcmWav(path, written, 11025);
    audio::TSoundFile file(path);
    EXPECT_EQ(file.SampleRate(), 11025);
    EXPECT_EQ(file.Channels(), 1);
    EXPECT_EQ(file.Frames(), 10000);
    std::vector<float> read;
    for (;;) {
        const std::vector<float> block = file.Read(3000);
        if (block.empty()) {
            break;
        }
        EXPECT_LE(block.size(), 3000u);
        read.insert(read.end(), block.begin(), block.end());
    }
    EXPECT_EQ(file.FramesRead(), 10000);
    ASSERT_EQ(read.size(), written.size());
    for (size_t i = 0; i < read.size(); ++i) {
        // 16-bit samples: within half a step of 1/32767.
        EXPECT_NEAR(read[i], written[i], 1.0 / 32767) << i;
    }
}

TEST(SoundFileTest, ChannelsAreMixedToTheirMean) {
    testsupport::TTempFolder folder;
    const std::string path = folder.Path() + "/stereo.wav";
    // Left 0.5, right -0.25, then left 0.2, right 0.4.
    testsupport::WritePcmWav(path, {0.5f, -0.25f, 0.2f, 0.4f}, 8000, 2);
    audio::TSoundFile file(path);
    EXPECT_EQ(file.Channels(), 2);
    const std::vector<float> mono = file.Read(10);
    ASSERT_EQ(mono.size(), 2u);
    EXPECT_NEAR(mono[0], 0.125, 1e-4);
    EXPECT_NEAR(mono[1], 0.3, 1e-4);
    EXPECT_TRUE(file.Read(10).empty());
}

TEST(SoundFileTest, WhatIsNoSoundIsRefusedInOneMessage) {
    testsupport::TTempFolder folder;
    EXPECT_EQ(MessageOf(folder.Path() + "/missing.wav"),
              "cannot read " + folder.Path() + "/missing.wav: no such file");
    EXPECT_EQ(MessageOf(folder.Path()), folder.Path() + " is a directory, not a sound file");
    const std::string text = folder.Path() + "/notes.wav";
    std::ofstream(text) << "100 down\n160 up\n";
    EXPECT_EQ(MessageOf(text).rfind(text + " is not a sound file that can be read (", 0), 0u)
        << MessageOf(text);
    const std::string empty = folder.Path() + "/empty.wav";
    testsupport::WritePcmWav(empty, {}, 8000);
    EXPECT_EQ(MessageOf(empty), empty + " holds no sound");
    const std::string nothing = folder.Path() + "/nothing.wav";
    std::ofstream(nothing).close();
    EXPECT_EQ(MessageOf(nothing).rfind(nothing + " is not a sound file that can be read (", 0), 0u)
        << MessageOf(nothing);
}

}  // namespace

namespace {

// Writes a keyed tone in a compressed format through libsndfile; false when this build of the
// library cannot write it.
bool WriteCompressed(const std::string& path, int format, const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const sf_count_t written =
        sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return written == static_cast<sf_count_t>(samples.size());
}

TEST(SoundFileTest, FlacOggAndMp3AreReadAndTheirKeyingFound) {
    testsupport::TTempFolder folder;
    testsupport::TSoundConditions c;
    const std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS", {});
    const std::vector<float> sound =
        testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + 500, c);
    const std::pair<const char*, int> formats[] = {
        {"a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"a.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"a.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
    };
    for (const auto& [name, format] : formats) {
        const std::string path = folder.Path() + "/" + name;
        if (!WriteCompressed(path, format, sound)) {
            ADD_FAILURE() << "this libsndfile cannot write " << name;
            continue;
        }
        audio::TSoundFile file(path);
        EXPECT_EQ(file.SampleRate(), 8000) << name;
        audio::TToneDetector detector({file.SampleRate(), 0});
        for (std::vector<float> block = file.Read(4096); !block.empty(); block = file.Read(4096)) {
            detector.Feed(block);
        }
        detector.Finish();
        const std::vector<audio::TKeyChange> changes = detector.TakeChanges();
        if (changes.size() != keyed.size()) {
            ADD_FAILURE() << name << ": " << changes.size() << " changes of " << keyed.size();
            continue;
        }
        // Lossy coders may delay the sound (an MP3 by its coder's padding); the keying's own
        // lengths stay.
        const double shift = changes[0].Sample / 8 - keyed[0].TimeMs;
        EXPECT_LT(std::abs(shift), 100) << name;
        for (size_t i = 0; i < keyed.size(); ++i) {
            EXPECT_NEAR(changes[i].Sample / 8 - shift, keyed[i].TimeMs, 0.5) << name << " " << i;
        }
    }
}

}  // namespace
