// The tone's samples: the lock-free renderer for the sound card and the WAV recorder.
#include "platform/WavToneSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/Exceptions.h"
#include "platform/ToneRenderer.h"

namespace {

using platform::TToneRenderer;
using platform::TWavToneSink;

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& file) {
    std::vector<int16_t> out;
    for (size_t i = 44; i + 1 < file.size(); i += 2) {
        out.push_back(static_cast<int16_t>(file[i] | (file[i + 1] << 8)));
    }
    return out;
}

TEST(ToneRendererTest, RendersASquareWaveFromTheNextBufferAndCountsOnsets) {
    TToneRenderer renderer(48000);
    std::vector<float> buffer(64, 1.0f);
    renderer.Render(buffer.data(), buffer.size());
    EXPECT_EQ(std::vector<float>(64, 0.0f), buffer);
    EXPECT_EQ(0u, renderer.OnsetCount());

    renderer.SetFrequency(12000);  // four samples a cycle
    renderer.Render(buffer.data(), 8);
    EXPECT_EQ((std::vector<float>{0.25f, 0.25f, -0.25f, -0.25f, 0.25f, 0.25f, -0.25f, -0.25f}),
              std::vector<float>(buffer.begin(), buffer.begin() + 8));
    EXPECT_EQ(1u, renderer.OnsetCount());
    EXPECT_TRUE(renderer.Sounding());
    renderer.Render(buffer.data(), 8);
    EXPECT_EQ(1u, renderer.OnsetCount());  // still the same tone

    renderer.SetFrequency(30000);  // above hearing: silence
    renderer.Render(buffer.data(), 8);
    EXPECT_FALSE(renderer.Sounding());
    EXPECT_EQ(0.0f, buffer[0]);
}

class WavToneSinkTest : public ::testing::Test {
  protected:
    std::string m_path = ::testing::TempDir() + "keyvet-tone-test.wav";
    void TearDown() override { std::remove(m_path.c_str()); }
};

TEST_F(WavToneSinkTest, WritesA48kMono16BitFileWithTheToneAtItsTimes) {
    {
        TWavToneSink sink(m_path, 5000);
        sink.ToneChanged(5000, 0);
        sink.ToneChanged(15000, 12000);  // 10 ms after the origin: sample 480
        sink.ToneChanged(20000, 0);      // sample 720
        sink.Close(30000);               // 1200 samples
    }
    const std::vector<uint8_t> file = ReadFile(m_path);
    ASSERT_EQ(44u + 2400u, file.size());
    EXPECT_EQ("RIFF", std::string(file.begin(), file.begin() + 4));
    EXPECT_EQ(36u + 2400u, U32(file, 4));
    EXPECT_EQ("WAVEfmt ", std::string(file.begin() + 8, file.begin() + 16));
    EXPECT_EQ(0x00010001u, U32(file, 20));  // PCM, one channel
    EXPECT_EQ(48000u, U32(file, 24));
    EXPECT_EQ(96000u, U32(file, 28));
    EXPECT_EQ(0x00100002u, U32(file, 32));  // 2 bytes a frame, 16 bits
    EXPECT_EQ("data", std::string(file.begin() + 36, file.begin() + 40));
    EXPECT_EQ(2400u, U32(file, 40));

    const std::vector<int16_t> samples = Samples(file);
    EXPECT_EQ(0, samples[479]);
    EXPECT_EQ(8192, samples[480]);
    EXPECT_EQ(-8192, samples[482]);
    EXPECT_NE(0, samples[719]);
    EXPECT_EQ(0, samples[720]);
    EXPECT_EQ(0, samples[1199]);
}

TEST_F(WavToneSinkTest, TimesBeforeTheOriginOrGoingBackWriteNothingTwice) {
    {
        TWavToneSink sink(m_path, 1000);
        sink.ToneChanged(0, 12000);
        sink.ToneChanged(2000, 0);      // 48 samples of tone
        sink.ToneChanged(1500, 12000);  // back in time: from 2000 on
        sink.Close(3000);
        EXPECT_EQ(96u, sink.SamplesWritten());
    }
    const std::vector<int16_t> samples = Samples(ReadFile(m_path));
    ASSERT_EQ(96u, samples.size());
    EXPECT_NE(0, samples[47]);
    EXPECT_NE(0, samples[48]);
}

TEST_F(WavToneSinkTest, AFileThatCannotBeCreatedIsReportedByName) {
    try {
        TWavToneSink sink("/nonexistent-dir/x.wav", 0);
        FAIL() << "no error";
    } catch (const base::Exception& e) {
        EXPECT_EQ("Cannot create WAV file '/nonexistent-dir/x.wav': No such file or directory",
                  e.Message());
    }
}

TEST_F(WavToneSinkTest, DestroyedWithoutCloseStillLeavesAValidFile) {
    {
        TWavToneSink sink(m_path, 0);
        sink.ToneChanged(0, 1000);
        sink.ToneChanged(1000, 0);
    }
    const std::vector<uint8_t> file = ReadFile(m_path);
    ASSERT_EQ(44u + 96u, file.size());
    EXPECT_EQ(96u, U32(file, 40));
}

}  // namespace
