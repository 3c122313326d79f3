// The virtual input device's behaviour as a reader of an input device relies on it: the control
// lines, the per-open queues and clocks, whole events only, dropped events told, the ioctls' bytes.
#include "VirtualKeyDevice.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace accuracy {
namespace {

// The clocks at one fixed moment: monotonic 1,000 s, realtime 1,700,000,000 s, boottime 1,005 s.
TClockReadings FixedClocks() {
    return {1000000000000LL, 1700000000000000000LL, 1005000000000LL};
}

std::vector<uint8_t> ClockId(int clock) {
    std::vector<uint8_t> bytes(sizeof clock);
    std::memcpy(bytes.data(), &clock, sizeof clock);
    return bytes;
}

std::vector<input_event> ReadAll(TVirtualKeyDevice& device, uint64_t open) {
    std::vector<input_event> events;
    EXPECT_EQ(device.Read(open, 4096, events), 0);
    return events;
}

TEST(VirtualKeyControlLineTest, TakesADirectionAndWholeNanoseconds) {
    const std::optional<TInjectedChange> down = ParseControlLine("down 1234567890123");
    ASSERT_TRUE(down);
    EXPECT_TRUE(down->Down);
    EXPECT_EQ(down->MonotonicNs, 1234567890123);
    const std::optional<TInjectedChange> up = ParseControlLine("  up\t42 \r");
    ASSERT_TRUE(up);
    EXPECT_FALSE(up->Down);
    EXPECT_EQ(up->MonotonicNs, 42);
    for (const char* wrong : {"", "down", "down ", "up -5", "up +5", "down 12x", "down 1 2",
                              "left 5", "DOWN 5", "down 9223372036854775808", "down5"}) {
        EXPECT_FALSE(ParseControlLine(wrong)) << wrong;
    }
    EXPECT_TRUE(ParseControlLine("down 9223372036854775807"));
}

TEST(VirtualKeyDeviceTest, QueuesEachChangeForTheOpensThatCameBeforeIt) {
    TVirtualKeyDevice device(BTN_LEFT, FixedClocks);
    const uint64_t early = device.Open();
    EXPECT_TRUE(device.Change({true, 10}));
    EXPECT_FALSE(device.Change({true, 20}));  // already down: no event
    const uint64_t late = device.Open();
    EXPECT_FALSE(device.Waiting(late));
    EXPECT_TRUE(device.Change({false, 30}));

    const std::vector<input_event> first = ReadAll(device, early);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0].type, EV_KEY);
    EXPECT_EQ(first[0].code, BTN_LEFT);
    EXPECT_EQ(first[0].value, 1);
    EXPECT_EQ(first[1].type, EV_SYN);
    EXPECT_EQ(first[1].code, SYN_REPORT);
    EXPECT_EQ(first[2].value, 0);
    const std::vector<input_event> second = ReadAll(device, late);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].value, 0);
    EXPECT_FALSE(device.Waiting(early));
    std::vector<input_event> none;
    EXPECT_EQ(device.Read(early, 4096, none), EAGAIN);
}

TEST(VirtualKeyDeviceTest, StampsOnTheClockEachOpenChose) {
    TVirtualKeyDevice device(KEY_LEFTCTRL, FixedClocks);
    const uint64_t realtime = device.Open();
    const uint64_t monotonic = device.Open();
    const uint64_t boottime = device.Open();
    TIoctlReply reply;
    ASSERT_EQ(device.Ioctl(monotonic, EVIOCSCLOCKID, ClockId(CLOCK_MONOTONIC), reply), 0);
    ASSERT_EQ(device.Ioctl(boottime, EVIOCSCLOCKID, ClockId(CLOCK_BOOTTIME), reply), 0);
    // Half a second before the clocks were read, 999.499999999 s on the monotonic clock.
    device.Change({true, 999499999999});

    const input_event mono = ReadAll(device, monotonic).front();
    EXPECT_EQ(mono.input_event_sec, 999);
    EXPECT_EQ(mono.input_event_usec, 499999);  // microseconds, truncated
    EXPECT_EQ(mono.code, KEY_LEFTCTRL);
    const input_event real = ReadAll(device, realtime).front();
    EXPECT_EQ(real.input_event_sec, 1699999999);
    EXPECT_EQ(real.input_event_usec, 499999);
    const input_event boot = ReadAll(device, boottime).front();
    EXPECT_EQ(boot.input_event_sec, 1004);
    EXPECT_EQ(boot.input_event_usec, 499999);
}

TEST(VirtualKeyDeviceTest, HandsOutWholeEventsOnly) {
    TVirtualKeyDevice device(BTN_LEFT, FixedClocks);
    const uint64_t open = device.Open();
    device.Change({true, 1});
    std::vector<input_event> events;
    EXPECT_EQ(device.Read(open, sizeof(input_event) - 1, events), EINVAL);
    EXPECT_EQ(device.Read(open, sizeof(input_event) * 3 / 2, events), 0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EV_KEY);
    EXPECT_EQ(device.Read(open, sizeof(input_event) * 3 / 2, events), 0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EV_SYN);
    EXPECT_EQ(device.Read(open, 4096, events), EAGAIN);
    device.Close(open);
    EXPECT_EQ(device.Read(open, 4096, events), EBADF);
}

TEST(VirtualKeyDeviceTest, AFullQueueKeepsTheNewestChangeAfterADropMark) {
    TVirtualKeyDevice device(BTN_LEFT, FixedClocks);
    const uint64_t open = device.Open();
    // 64 events hold 32 changes of two events; the 33rd empties the queue.
    for (int64_t i = 1; i <= 40; ++i) {
        device.Change({i % 2 == 1, i * 1000});
    }
    const std::vector<input_event> events = ReadAll(device, open);
    ASSERT_EQ(events.size(), 1u + 2u * 8u);  // the mark, then changes 33 to 40
    EXPECT_EQ(events[0].type, EV_SYN);
    EXPECT_EQ(events[0].code, SYN_DROPPED);
    EXPECT_EQ(events[1].type, EV_KEY);
    EXPECT_EQ(events[1].value, 1);  // the 33rd change: down
    EXPECT_EQ(events[1].input_event_usec, 33);
    EXPECT_EQ(events[0].input_event_usec, 33);
    EXPECT_EQ(events.back().code, SYN_REPORT);
    EXPECT_EQ(events[events.size() - 2].value, 0);  // the 40th: up
}

TEST(VirtualKeyDeviceTest, ANewClockDropsWhatWasStampedOnTheOld) {
    TVirtualKeyDevice device(BTN_LEFT, FixedClocks);
    const uint64_t open = device.Open();
    TIoctlReply reply;
    device.Change({true, 5});
    // The same clock again keeps the queue.
    ASSERT_EQ(device.Ioctl(open, EVIOCSCLOCKID, ClockId(CLOCK_REALTIME), reply), 0);
    EXPECT_EQ(ReadAll(device, open).size(), 2u);
    device.Change({false, 6});
    ASSERT_EQ(device.Ioctl(open, EVIOCSCLOCKID, ClockId(CLOCK_MONOTONIC), reply), 0);
    const std::vector<input_event> events = ReadAll(device, open);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, SYN_DROPPED);
    EXPECT_EQ(events[0].input_event_sec, 1000);  // the moment of the switch, on the new clock
    EXPECT_EQ(device.Ioctl(open, EVIOCSCLOCKID, ClockId(CLOCK_PROCESS_CPUTIME_ID), reply), EINVAL);
    EXPECT_EQ(device.Ioctl(open, EVIOCSCLOCKID, {1, 0}, reply), EINVAL);
}

TEST(VirtualKeyDeviceTest, AStateReadDropsTheKeyEventsWaiting) {
    TVirtualKeyDevice device(BTN_LEFT, FixedClocks);
    const uint64_t reader = device.Open();
    const uint64_t other = device.Open();
    device.Change({true, 1000});
    device.Change({false, 2000});
    TIoctlReply reply;
    ASSERT_EQ(device.Ioctl(reader, EVIOCGKEY(96), {}, reply), 0);
    EXPECT_EQ(reply.Out[34], 0x00);  // up again
    // Only the leading report is left (it may close a packet read before); the key events are
    // gone for this open alone.
    const std::vector<input_event> left = ReadAll(device, reader);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].type, EV_SYN);
    EXPECT_EQ(left[0].code, SYN_REPORT);
    EXPECT_EQ(ReadAll(device, other).size(), 4u);
    EXPECT_EQ(device.DroppedByStateReads(), 2u);
    device.Change({true, 3000});
    const std::vector<input_event> next = ReadAll(device, reader);
    ASSERT_EQ(next.size(), 2u);
    EXPECT_EQ(next[0].value, 1);
}

TEST(VirtualKeyDeviceTest, IoctlsGiveTheBytesThatFitTheCallersBuffer) {
    TVirtualKeyDevice device(BTN_LEFT, FixedClocks);
    const uint64_t open = device.Open();
    TIoctlReply reply;
    // BTN_LEFT, 0x110, is bit 0 of byte 34 of a 96-byte key set.
    ASSERT_EQ(device.Ioctl(open, EVIOCGBIT(EV_KEY, 200), {}, reply), 0);
    ASSERT_EQ(reply.Out.size(), 96u);
    EXPECT_EQ(reply.Result, 96);
    for (size_t i = 0; i < reply.Out.size(); ++i) {
        EXPECT_EQ(reply.Out[i], i == 34 ? 0x01 : 0x00) << "byte " << i;
    }
    ASSERT_EQ(device.Ioctl(open, EVIOCGBIT(EV_KEY, 4), {}, reply), 0);
    EXPECT_EQ(reply.Result, 4);
    EXPECT_EQ(reply.Out, std::vector<uint8_t>(4, 0));

    ASSERT_EQ(device.Ioctl(open, EVIOCGKEY(96), {}, reply), 0);
    EXPECT_EQ(reply.Out[34], 0x00);
    device.Change({true, 1});
    ASSERT_EQ(device.Ioctl(open, EVIOCGKEY(96), {}, reply), 0);
    EXPECT_EQ(reply.Out[34], 0x01);

    // The kinds of event: EV_SYN and EV_KEY, a long of bits; none of relative motion.
    ASSERT_EQ(device.Ioctl(open, EVIOCGBIT(0, 32), {}, reply), 0);
    EXPECT_EQ(reply.Out, (std::vector<uint8_t>{0x03, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(device.Ioctl(open, EVIOCGBIT(EV_REL, 32), {}, reply), 0);
    EXPECT_EQ(reply.Out, std::vector<uint8_t>(8, 0));

    ASSERT_EQ(device.Ioctl(open, EVIOCGNAME(64), {}, reply), 0);
    EXPECT_EQ(reply.Result, 19);
    EXPECT_STREQ(reinterpret_cast<const char*>(reply.Out.data()), "Keyvet virtual key");
    ASSERT_EQ(device.Ioctl(open, EVIOCGNAME(6), {}, reply), 0);
    EXPECT_EQ(std::string(reply.Out.begin(), reply.Out.end()), "Keyvet");

    ASSERT_EQ(device.Ioctl(open, EVIOCGVERSION, {}, reply), 0);
    EXPECT_EQ(reply.Out, (std::vector<uint8_t>{0x01, 0x00, 0x01, 0x00}));
    EXPECT_EQ(device.Ioctl(open, EVIOCGRAB, {1, 0, 0, 0}, reply), EINVAL);
    EXPECT_EQ(device.Ioctl(open, TIOCMGET, {}, reply), ENOTTY);
    EXPECT_EQ(device.Ioctl(open + 1, EVIOCGKEY(96), {}, reply), EBADF);
}

}  // namespace
}  // namespace accuracy
