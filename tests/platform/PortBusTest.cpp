// The emulated timer channel 2 and speaker gate: when the tone sounds, at what pitch, and
// what reads give back.
#include "platform/PortBus.h"

#include <gtest/gtest.h>

namespace {

using platform::TPortBus;
using platform::TRecordingToneSink;

constexpr double kTone1500 = 1193182.0 / 1500;

// The speaker sequence: gate on, channel 2 square wave, divisor low then high.
void Program(TPortBus& bus, uint16_t divisor) {
    bus.Write(0x61, static_cast<uint8_t>(bus.Read(0x61) | 3));
    bus.Write(0x43, 0xB6);
    bus.Write(0x42, static_cast<uint8_t>(divisor & 0xFF));
    bus.Write(0x42, static_cast<uint8_t>(divisor >> 8));
}

class PortBusTest : public ::testing::Test {
  protected:
    PortBusTest() {
        m_bus.SetTimeSource([this] { return m_now; });
        m_bus.SetToneSink(&m_sink);
    }
    TPortBus m_bus;
    TRecordingToneSink m_sink;
    int64_t m_now = 1000;
};

TEST_F(PortBusTest, ToneSoundsOnlyOnceTheWholeCountIsWrittenAndStopsWithTheGate) {
    m_bus.Write(0x61, 0x33);
    m_bus.Write(0x43, 0xB6);
    EXPECT_EQ(0.0, m_bus.Frequency());
    m_bus.Write(0x42, 0xDC);
    EXPECT_EQ(0.0, m_bus.Frequency());
    m_now = 2500;
    m_bus.Write(0x42, 0x05);
    EXPECT_DOUBLE_EQ(kTone1500, m_bus.Frequency());
    m_now = 4000;
    m_bus.Write(0x61, 0x30);
    EXPECT_EQ(0.0, m_bus.Frequency());

    const auto changes = m_sink.Changes();
    ASSERT_EQ(3u, changes.size());  // told the silence when attached, then on, then off
    EXPECT_EQ(1000, changes[0].TimeUs);
    EXPECT_EQ(2500, changes[1].TimeUs);
    EXPECT_DOUBLE_EQ(kTone1500, changes[1].FrequencyHz);
    EXPECT_EQ(4000, changes[2].TimeUs);
    EXPECT_EQ(0.0, changes[2].FrequencyHz);
}

TEST_F(PortBusTest, BothGateBitsAreNeeded) {
    Program(m_bus, 1500);
    m_bus.Write(0x61, 0x01);
    EXPECT_EQ(0.0, m_bus.Frequency());
    m_bus.Write(0x61, 0x02);
    EXPECT_EQ(0.0, m_bus.Frequency());
    m_bus.Write(0x61, 0x03);
    EXPECT_DOUBLE_EQ(kTone1500, m_bus.Frequency());
}

TEST_F(PortBusTest, GateOnBeforeTheTimerUsesTheDivisorAlreadyLoaded) {
    Program(m_bus, 1500);
    m_bus.Write(0x61, 0x00);
    // The speaker sequence turns the gate on first: the old divisor sounds until the command.
    m_bus.Write(0x61, 0x03);
    EXPECT_DOUBLE_EQ(kTone1500, m_bus.Frequency());
    m_bus.Write(0x43, 0xB6);
    EXPECT_EQ(0.0, m_bus.Frequency());
    m_bus.Write(0x42, 0xE8);
    m_bus.Write(0x42, 0x03);
    EXPECT_DOUBLE_EQ(1193182.0 / 1000, m_bus.Frequency());
}

TEST_F(PortBusTest, ANewCountWithoutACommandTakesEffectWhenComplete) {
    Program(m_bus, 1500);
    m_bus.Write(0x42, 0xE8);
    EXPECT_DOUBLE_EQ(kTone1500, m_bus.Frequency());
    m_bus.Write(0x42, 0x03);
    EXPECT_DOUBLE_EQ(1193182.0 / 1000, m_bus.Frequency());
}

TEST_F(PortBusTest, CountZeroMeans65536AndOtherModesAndChannelsAreSilentOrIgnored) {
    Program(m_bus, 0);
    EXPECT_DOUBLE_EQ(1193182.0 / 65536, m_bus.Frequency());
    m_bus.Write(0x43, 0x36);  // channel 0: not the speaker's
    EXPECT_DOUBLE_EQ(1193182.0 / 65536, m_bus.Frequency());
    m_bus.Write(0x43, 0xBE);  // mode 7 is mode 3
    m_bus.Write(0x42, 0xDC);
    m_bus.Write(0x42, 0x05);
    EXPECT_DOUBLE_EQ(kTone1500, m_bus.Frequency());
    m_bus.Write(0x43, 0xB0);  // mode 0: a one-shot, no tone
    m_bus.Write(0x42, 0xDC);
    m_bus.Write(0x42, 0x05);
    EXPECT_EQ(0.0, m_bus.Frequency());
}

TEST_F(PortBusTest, ReadsGiveTheGateTheCountAndOpenBus) {
    m_bus.Write(0x61, 0x4D);
    EXPECT_EQ(0x4D, m_bus.Read(0x61));
    Program(m_bus, 0x1234);
    EXPECT_EQ(0x34, m_bus.Read(0x42));
    EXPECT_EQ(0x12, m_bus.Read(0x42));
    EXPECT_EQ(0xFF, m_bus.Read(0x80));
    EXPECT_EQ(0x1234, m_bus.Divisor());
    EXPECT_EQ(3, m_bus.Mode());
}

TEST_F(PortBusTest, TheSinkIsToldOnlyChanges) {
    Program(m_bus, 1500);
    const size_t told = m_sink.Changes().size();
    Program(m_bus, 1500);  // command silences, the same count sounds again
    m_bus.Write(0x61, 0x33);
    m_bus.Write(0x80, 0x00);
    EXPECT_EQ(told + 2, m_sink.Changes().size());
}

}  // namespace
