// The key inputs behind the key-state byte, with their device calls scripted: line changes become
// key-state changes in order with the toggle bit flipping at each press, inversion, debounce at
// its boundaries, a device unplugged and plugged in again, and the messages for devices that
// cannot be used.
#include "platform/KeyInput.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/EventTime.h"
#include "platform/FakeKeyDeviceCalls.h"
#include "platform/InputDeviceKey.h"
#include "platform/KeyConditioner.h"
#include "platform/SerialLineKey.h"

namespace platform {
namespace {

constexpr int64_t kMs = 1000000;  // nanoseconds

class TFakeTime : public ITimeSource {
  public:
    int64_t MonotonicNs() override { return Ns; }
    int64_t Ns = 0;
};

class TScriptedButton : public IKeyState {
  public:
    uint8_t RightButtonState() override { return Byte; }
    uint8_t Byte = 0;
};

// Samples a level script (one character a millisecond: '-' open, '#' closed) and returns the
// bytes at the polls where the byte changed, as "ms:byte" items.
std::string Changes(TKeyConditioner& conditioner, const std::string& levels) {
    std::string changes;
    int last = -1;
    for (size_t ms = 0; ms < levels.size(); ++ms) {
        const int byte = conditioner.Sample(levels[ms] == '#', static_cast<int64_t>(ms) * kMs);
        if (byte != last) {
            if (!changes.empty()) {
                changes += ' ';
            }
            changes += std::to_string(ms) + ":" + std::to_string(byte);
            last = byte;
        }
    }
    return changes;
}

TEST(KeyConditionerTest, PressesSetBitSevenAndFlipTheToggleBit) {
    TKeyConditioner plain;
    EXPECT_EQ(Changes(plain, "--##--##-###"), "0:0 2:129 4:1 6:128 8:0 9:129");
    TKeyConditioner inverted(true, 0);
    EXPECT_EQ(Changes(inverted, "--##--"), "0:129 2:1 4:128");
}

TEST(KeyConditionerTest, DebounceDropsChangesShorterThanItAndKeepsOnesAsLong) {
    // 5 ms: a 4 ms press and a 4 ms gap are bounces; a 5 ms press is kept, 5 ms late.
    TKeyConditioner debounced(false, 5);
    EXPECT_EQ(Changes(debounced, "--####------#####---------"), "0:0 17:129 22:1");
    TKeyConditioner gaps(false, 5);
    EXPECT_EQ(Changes(gaps, "##########----##########-----------"), "0:0 5:129 29:1");
    // Both edges late by the same time, so a mark keeps its length: 12 ms down in, 12 ms out.
    TKeyConditioner mark(false, 3);
    EXPECT_EQ(Changes(mark, "---############--------"), "0:0 6:129 18:1");
    // Debounce and inversion together: the open contact is the pressed key.
    TKeyConditioner both(true, 2);
    EXPECT_EQ(Changes(both, "##-#----##"), "0:0 6:129");
}

TEST(KeyConditionerTest, AStampedChangeIsDebouncedFromItsMomentAndPassesItsStampOn) {
    // No debounce: the byte's stamp is the level's while the level holds.
    TKeyConditioner plain;
    plain.Sample(true, 10 * kMs, TKeyStamp{7 * kMs, kMs});
    ASSERT_TRUE(plain.ByteStamp().has_value());
    EXPECT_EQ(plain.ByteStamp()->Ns, 7 * kMs);
    plain.Sample(false, 20 * kMs);
    EXPECT_FALSE(plain.ByteStamp().has_value());

    // 5 ms: a press at 100 ms seen only at 103 ms is kept at the poll of 105 ms, stamped 105 ms
    // (as if it had been seen at once); unstamped, it would wait until 108 ms.
    TKeyConditioner debounced(false, 5);
    debounced.Sample(false, 90 * kMs);
    const TKeyStamp pressed{100 * kMs, kMs};
    EXPECT_EQ(debounced.Sample(true, 103 * kMs, pressed), 0);
    EXPECT_EQ(debounced.Sample(true, 104 * kMs, pressed), 0);
    EXPECT_EQ(debounced.Sample(true, 105 * kMs, pressed), 129);
    ASSERT_TRUE(debounced.ByteStamp().has_value());
    EXPECT_EQ(debounced.ByteStamp()->Ns, 105 * kMs);
    // A release at 112 ms, back at 115 ms and both seen late: 3 ms is a bounce, whatever the
    // polls' spacing says.
    EXPECT_EQ(debounced.Sample(false, 116 * kMs, TKeyStamp{112 * kMs, kMs}), 129);
    EXPECT_EQ(debounced.Sample(true, 121 * kMs, TKeyStamp{115 * kMs, kMs}), 129);
    EXPECT_EQ(debounced.Sample(true, 140 * kMs, TKeyStamp{115 * kMs, kMs}), 129);
    EXPECT_EQ(debounced.ForceUp(), 1);
    EXPECT_FALSE(debounced.ByteStamp().has_value());
}

TEST(EventStampTest, AServerTimeIsTheMiddleOfItsMillisecondWhenItIsRecentAndNotAhead) {
    // Seen at 5000.3 ms, stamped 4990 ms.
    std::optional<TKeyStamp> stamp = EventStamp(4990, 5000 * kMs + 300000);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->Ns, 4990 * kMs + kMs / 2);
    EXPECT_EQ(stamp->ResolutionNs, kMs);
    // The server's clock wraps at 2^32 ms: a stamp 8 ms before the wrap seen 5 ms after it.
    const int64_t wrapMs = int64_t{1} << 32;
    stamp = EventStamp(4294967293u, (wrapMs + 5) * kMs);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->Ns, (wrapMs - 3) * kMs + kMs / 2);
    // Ahead of the clock, or older than believable: another clock.
    EXPECT_FALSE(EventStamp(5001, 5000 * kMs).has_value());
    EXPECT_TRUE(EventStamp(5000 - kMaxEventAgeMs, 5000 * kMs).has_value());
    EXPECT_FALSE(EventStamp(5000 - kMaxEventAgeMs - 1, 5000 * kMs).has_value());
}

TEST(KeyConditionerTest, DebounceIsClampedToItsRange) {
    EXPECT_EQ(TKeyConditioner(false, 50).DebounceMs(), 20);
    EXPECT_EQ(TKeyConditioner(false, -3).DebounceMs(), 0);
    EXPECT_FALSE(TKeyConditioner(false, 0).NeedsTime());
}

class KeyInputTest : public ::testing::Test {
  protected:
    KeyInputTest() : m_services(TServices{nullptr, nullptr, nullptr, nullptr, nullptr, &m_time}) {
        m_calls.AddDevice("/dev/ttyUSB0", "dialout");
        m_calls.AddDevice("/dev/input/event4", "input");
        m_calls.SetKeyCodes("/dev/input/event4", {29, 0x110});
    }
    TKeyInputSettings Serial(TSerialLine line = TSerialLine::slDsr) {
        TKeyInputSettings s;
        s.Kind = TKeyInputKind::kiSerialLine;
        s.SerialPort = "/dev/ttyUSB0";
        s.Line = line;
        return s;
    }
    TKeyInputSettings Device(uint32_t code = 29) {
        TKeyInputSettings s;
        s.Kind = TKeyInputKind::kiInputDevice;
        s.InputDevice = "/dev/input/event4";
        s.DeviceCode = code;
        return s;
    }
    // The message of the EKeyInputError that applying s raises, or "applied".
    std::string ApplyMessage(const TKeyInputSettings& s) {
        try {
            m_input.Apply(s);
        } catch (const EKeyInputError& error) {
            return error.what();
        }
        return "applied";
    }

    TFakeTime m_time;
    TScopedServices m_services;
    TFakeKeyDeviceCalls m_calls;
    TScriptedButton m_button;
    TKeyboardKey m_keyboard;
    TKeyInput m_input{m_button, m_keyboard, m_calls};
};

TEST_F(KeyInputTest, TheRightButtonByteGoesThroughUnchangedByDefault) {
    // A press and release between two polls still flips the toggle bit of the tracked byte.
    m_button.Byte = 129;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    m_button.Byte = 128;
    EXPECT_EQ(m_input.RightButtonState(), 128);
    // Inverted, the button's levels are sampled afresh: held reads as up, released as down.
    TKeyInputSettings inverted;
    inverted.Inverted = true;
    m_input.Apply(inverted);
    EXPECT_EQ(m_input.RightButtonState(), 0);
    m_button.Byte = 0;
    EXPECT_EQ(m_input.RightButtonState(), 129);
}

TEST_F(KeyInputTest, SerialLineChangesBecomeKeyStateChangesInOrder) {
    m_input.Apply(Serial());
    std::vector<int> bytes;
    for (uint32_t bits : {0u, kModemDsr, kModemDsr | kModemCts, kModemCts, kModemDsr, 0u}) {
        m_calls.SetModemBits("/dev/ttyUSB0", bits);
        bytes.push_back(m_input.RightButtonState());
    }
    EXPECT_EQ(bytes, (std::vector<int>{0, 129, 129, 1, 128, 0}));
}

TEST_F(KeyInputTest, EachSerialLineReadsOnlyItsOwnBit) {
    const std::pair<TSerialLine, uint32_t> lines[] = {{TSerialLine::slDsr, 0x100},
                                                      {TSerialLine::slCts, 0x020},
                                                      {TSerialLine::slDcd, 0x040},
                                                      {TSerialLine::slRi, 0x080}};
    for (const auto& [line, bit] : lines) {
        SCOPED_TRACE(TSerialLineKey::LineName(line));
        m_input.Apply(Serial(line));
        m_calls.SetModemBits("/dev/ttyUSB0", 0x1ff & ~bit);
        EXPECT_EQ(m_input.RightButtonState() & 0x80, 0);
        m_calls.SetModemBits("/dev/ttyUSB0", bit);
        EXPECT_EQ(m_input.RightButtonState() & 0x80, 0x80);
        m_calls.SetModemBits("/dev/ttyUSB0", 0);
        m_input.RightButtonState();
    }
    // Only the port in use stays open.
    EXPECT_EQ(m_calls.OpenCount(), 1u);
}

TEST_F(KeyInputTest, ASlowPortIsReadAtCountedChangesAndNowAndThenOtherwise) {
    // Every status read takes 50 us: one is made at most every 40 x 50 us = 2 ms without a
    // change, and at once at a change the driver counted.
    m_calls.SetOnModemRead([this] { m_time.Ns += 50000; });
    m_input.Apply(Serial());
    const int opened = m_calls.ModemReads();
    for (int poll = 0; poll < 1600; ++poll) {  // 10 ms of 6.25 us polls
        m_time.Ns += 6250;
        ASSERT_EQ(m_input.RightButtonState(), 0);
    }
    EXPECT_GE(m_calls.ModemReads() - opened, 4);
    EXPECT_LE(m_calls.ModemReads() - opened, 5);
    m_calls.SetModemBits("/dev/ttyUSB0", kModemDsr);
    m_time.Ns += 6250;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    // A change of another line makes a read too, which finds the key still down.
    m_calls.SetModemBits("/dev/ttyUSB0", kModemDsr | kModemCts);
    const int before = m_calls.ModemReads();
    m_time.Ns += 6250;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    EXPECT_EQ(m_calls.ModemReads(), before + 1);
}

TEST_F(KeyInputTest, ASlowPortWhoseDriverCountsNothingIsStillSeenWithinTheReadInterval) {
    m_calls.SetOnModemRead([this] { m_time.Ns += 50000; });
    m_calls.SetChangeCounting("/dev/ttyUSB0", false, EINVAL);
    m_input.Apply(Serial());
    m_calls.SetModemBits("/dev/ttyUSB0", kModemDsr);
    int polls = 0;
    while (m_input.RightButtonState() == 0 && polls < 10000) {
        m_time.Ns += 6250;
        ++polls;
    }
    EXPECT_GT(polls, 0);
    EXPECT_LE(polls * 6250, 2000000 + 6250);
    // A counter that never moves is no better and no worse.
    m_calls.SetChangeCounting("/dev/ttyUSB0", false, 0);
    m_input.Apply(Serial());
    m_calls.SetModemBits("/dev/ttyUSB0", 0);
    polls = 0;
    while ((m_input.RightButtonState() & 0x80) != 0 && polls < 10000) {
        m_time.Ns += 6250;
        ++polls;
    }
    EXPECT_LE(polls * 6250, 2000000 + 6250);
}

TEST_F(KeyInputTest, AnInputDeviceReadsItsChosenCodeOnly) {
    m_input.Apply(Device(0x110));
    m_calls.ChangeKey("/dev/input/event4", 29, true, 1 * kMs);
    EXPECT_EQ(m_input.RightButtonState(), 0);
    m_calls.ChangeKey("/dev/input/event4", 0x110, true, 2 * kMs);
    EXPECT_EQ(m_input.RightButtonState(), 129);
    m_calls.ChangeKey("/dev/input/event4", 0x110, false, 3 * kMs);
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_EQ(ApplyMessage(Device(30)),
              "The input device /dev/input/event4 has no key or button with the code 30.");
}

TEST_F(KeyInputTest, AnInputDevicesEventTimeStampsTheChangeItReports) {
    const std::string path = "/dev/input/event4";
    m_input.Apply(Device(0x110));
    // Pressed at 40 ms (the kernel's time), seen at the poll of 43 ms; another code's event and
    // an older one of the chosen code go before it in the queue.
    m_calls.QueueKeyEvent(path, {0x110, false, 10 * kMs});
    m_calls.QueueKeyEvent(path, {0x110, true, 40 * kMs});
    m_calls.QueueKeyEvent(path, {29, true, 41 * kMs});
    m_calls.SetKeyDown(path, 0x110, true);
    m_time.Ns = 43 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    ASSERT_TRUE(m_input.ChangeStamp().has_value());
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 40 * kMs);
    // Released with its event lost (the device marks the loss): the key state is believed, the
    // press's stamp is not.
    m_calls.SetKeyDown(path, 0x110, false);
    m_calls.QueueKeyEvent(path, {0, false, 45 * kMs, true});
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_FALSE(m_input.ChangeStamp().has_value());
    // A device whose events keep the wall clock's times stamps nothing.
    m_calls.SetClockError(path, EINVAL);
    m_input.Apply(Device(0x110));
    m_calls.QueueKeyEvent(path, {0x110, true, 50 * kMs});
    m_calls.SetKeyDown(path, 0x110, true);
    EXPECT_EQ(m_input.RightButtonState(), 129);
    EXPECT_FALSE(m_input.ChangeStamp().has_value());
}

TEST_F(KeyInputTest, AnInputDeviceChangeJustAfterAnEventReadKeepsItsTime) {
    // The press comes between a poll's read of the events and what follows it: a read of the key
    // state there would drop its event, and the time of the press with it.
    const std::string path = "/dev/input/event4";
    m_input.Apply(Device(0x110));
    bool pressed = false;
    m_calls.SetOnKeyEventsRead([&] {
        if (!pressed) {
            pressed = true;
            m_calls.ChangeKey(path, 0x110, true, 40 * kMs);
        }
    });
    m_time.Ns = 41 * kMs;
    uint8_t byte = m_input.RightButtonState();
    if (byte == 0) {
        m_time.Ns = 42 * kMs;
        byte = m_input.RightButtonState();
    }
    EXPECT_EQ(byte, 129);
    ASSERT_TRUE(m_input.ChangeStamp().has_value());
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 40 * kMs);
    // A device that lost events says so: its state is read again and believed, without a time.
    m_calls.SetOnKeyEventsRead(nullptr);
    m_calls.SetKeyDown(path, 0x110, false);
    m_calls.QueueKeyEvent(path, {0, false, 50 * kMs, true});
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_FALSE(m_input.ChangeStamp().has_value());
}

TEST_F(KeyInputTest, TheKeyboardKeyFollowsOnlyTheChosenKey) {
    TKeyInputSettings s;
    s.Kind = TKeyInputKind::kiKeyboardKey;
    m_input.Apply(s);
    EXPECT_FALSE(m_keyboard.Press(0xffe4));  // right Ctrl is not the key
    EXPECT_EQ(m_input.RightButtonState(), 0);
    EXPECT_TRUE(m_keyboard.Press(TKeyboardKey::kLeftCtrl));
    EXPECT_EQ(m_input.RightButtonState(), 129);
    EXPECT_TRUE(m_keyboard.Release(TKeyboardKey::kLeftCtrl));
    EXPECT_EQ(m_input.RightButtonState(), 1);
    s.KeyboardKey = 0x20;
    m_input.Apply(s);
    EXPECT_FALSE(m_keyboard.Press(TKeyboardKey::kLeftCtrl));
    EXPECT_TRUE(m_keyboard.Press(0x20));
    EXPECT_EQ(m_input.RightButtonState() & 0x80, 0x80);
}

TEST_F(KeyInputTest, KeyboardAndDeviceChangesBetweenTwoPollsAreTakenOneAtEachPoll) {
    // Left Ctrl pressed at 10 ms and released at 14 ms, both before the next poll; the lamp
    // looks meanwhile. Each poll takes one change with its window-system stamp.
    TKeyInputSettings keyboard;
    keyboard.Kind = TKeyInputKind::kiKeyboardKey;
    m_input.Apply(keyboard);
    m_keyboard.Press(TKeyboardKey::kLeftCtrl, TKeyStamp{10 * kMs, kMs});
    m_keyboard.Release(TKeyboardKey::kLeftCtrl, TKeyStamp{14 * kMs, kMs});
    EXPECT_FALSE(m_input.DownNow());
    EXPECT_EQ(m_input.RightButtonState(), 129);
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 10 * kMs);
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 14 * kMs);
    // Inverted, the lamp shows the contact's sense as the capture does.
    keyboard.Inverted = true;
    m_input.Apply(keyboard);
    EXPECT_TRUE(m_input.DownNow());
    m_keyboard.Press(TKeyboardKey::kLeftCtrl);
    EXPECT_FALSE(m_input.DownNow());
    // Presses from before a run are taken at its start, none of them logged.
    m_input.Apply(Device(0x110));
    const std::string path = "/dev/input/event4";
    m_calls.QueueKeyEvent(path, {0x110, true, 1 * kMs});
    m_calls.QueueKeyEvent(path, {0x110, false, 2 * kMs});
    EXPECT_FALSE(m_input.DownNow());  // the lamp reads the events, keeping them
    m_input.CatchUp();
    EXPECT_EQ(m_input.RightButtonState(), 0);
    // The device's press and release read in one poll, the key state up again by then.
    m_calls.QueueKeyEvent(path, {0x110, true, 40 * kMs});
    m_calls.QueueKeyEvent(path, {0x110, false, 44 * kMs});
    m_time.Ns = 45 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 40 * kMs);
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 44 * kMs);
    // A press whose event the device lost (it marks the loss) is read from the key state,
    // unstamped.
    m_calls.SetKeyDown(path, 0x110, true);
    m_calls.QueueKeyEvent(path, {0, false, 46 * kMs, true});
    EXPECT_EQ(m_input.RightButtonState(), 128);
    EXPECT_FALSE(m_input.ChangeStamp().has_value());
}

TEST_F(KeyInputTest, AnUnpluggedDeviceEndsTheKeyUpTellsOnceAndComesBack) {
    std::vector<std::string> notices;
    m_input.SetLostNotice([&](const std::string& text) { notices.push_back(text); });
    m_input.Apply(Serial());
    m_calls.SetModemBits("/dev/ttyUSB0", kModemDsr);
    EXPECT_EQ(m_input.RightButtonState(), 129);
    m_calls.Unplug("/dev/ttyUSB0");
    // Up, with the toggle bit of the last press kept, at once and at every poll after.
    for (int poll = 0; poll < 5; ++poll) {
        m_time.Ns += 100 * kMs;
        EXPECT_EQ(m_input.RightButtonState(), 1);
    }
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "The key input (serial port /dev/ttyUSB0) has gone. The key reads as up until it "
              "is back; the run so far is kept.");
    EXPECT_TRUE(m_input.Lost());
    // Looked for again about once a second, not at every poll.
    const int opens = m_calls.OpenCalls();
    m_time.Ns += 650 * kMs;  // 1050 ms after the loss
    m_input.RightButtonState();
    m_time.Ns += 50 * kMs;
    m_input.RightButtonState();
    EXPECT_EQ(m_calls.OpenCalls(), opens + 1);
    m_calls.Plug("/dev/ttyUSB0");
    m_time.Ns += TKeyInput::kRetryNs;
    EXPECT_EQ(m_input.RightButtonState(), 128);
    EXPECT_FALSE(m_input.Lost());
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(KeyInputTest, AnUnpluggedInputDeviceEndsTheKeyUpToo) {
    int notices = 0;
    m_input.SetLostNotice([&](const std::string&) { ++notices; });
    TKeyInputSettings s = Device();
    s.Inverted = true;  // the key reads up at the loss whatever the contact's sense
    m_input.Apply(s);
    EXPECT_EQ(m_input.RightButtonState(), 129);
    m_calls.Unplug("/dev/input/event4");
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_EQ(m_input.RightButtonState(), 1);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(m_calls.OpenCount(), 0u);  // the dead descriptor is closed
}

TEST_F(KeyInputTest, APortWithoutPermissionNamesTheGroupToJoin) {
    m_calls.SetOpenError("/dev/ttyUSB0", EACCES);
    EXPECT_EQ(ApplyMessage(Serial()),
              "Cannot open the serial port /dev/ttyUSB0: permission denied. Join the group "
              "dialout (sudo usermod -aG dialout $USER), then log out and in again.");
    // A device owned by root names the usual group; an input device names its own.
    m_calls.AddDevice("/dev/ttyS1", "root");
    m_calls.SetOpenError("/dev/ttyS1", EPERM);
    TKeyInputSettings s = Serial();
    s.SerialPort = "/dev/ttyS1";
    EXPECT_NE(ApplyMessage(s).find("Join the group dialout "), std::string::npos);
    m_calls.SetOpenError("/dev/input/event4", EACCES);
    EXPECT_NE(ApplyMessage(Device()).find("Join the group input "), std::string::npos);
    // The failed choices left the right button in use.
    EXPECT_EQ(m_input.Settings().Kind, TKeyInputKind::kiRightButton);
    m_button.Byte = 129;
    EXPECT_EQ(m_input.RightButtonState(), 129);
}

TEST_F(KeyInputTest, AMissingOrUnchosenDeviceIsRefusedWithItsReason) {
    TKeyInputSettings s = Serial();
    s.SerialPort = "/dev/ttyUSB7";
    EXPECT_EQ(ApplyMessage(s), "The serial port /dev/ttyUSB7 is not there. Is it plugged in?");
    s.SerialPort.clear();
    EXPECT_EQ(ApplyMessage(s), "No serial port is chosen for the key.");
    m_calls.SetOpenError("/dev/ttyUSB0", EBUSY);
    EXPECT_EQ(ApplyMessage(Serial()),
              "Cannot open the serial port /dev/ttyUSB0: Device or resource busy.");
    EXPECT_EQ(m_calls.OpenCount(), 0u);
}

TEST_F(KeyInputTest, ASerialLineChangeIsStampedWhenTheWaitingThreadWokeForIt) {
    const std::string path = "/dev/ttyUSB0";
    m_input.Apply(Serial());
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    // Pressed at 40 ms, when the thread woke; the capture's poll notices it at 43 ms.
    m_calls.SetModemBits(path, kModemDsr);
    m_calls.WakeLine(path, kModemDsr, 40 * kMs);
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));  // the wake is taken, the thread waits again
    m_time.Ns = 43 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    ASSERT_TRUE(m_input.ChangeStamp().has_value());
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 40 * kMs);
    EXPECT_EQ(m_input.ChangeStamp()->ResolutionNs, TSerialLineKey::kWakeResolutionNs);
    // Released at 100 ms.
    m_calls.SetModemBits(path, 0);
    m_calls.WakeLine(path, 0, 100 * kMs);
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    m_time.Ns = 101 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 1);
    ASSERT_TRUE(m_input.ChangeStamp().has_value());
    EXPECT_EQ(m_input.ChangeStamp()->Ns, 100 * kMs);
    // A press noticed before its wake keeps the poll's timing; that late wake is then no stamp
    // for the release that follows it.
    m_calls.SetModemBits(path, kModemDsr);
    m_time.Ns = 150 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 128);
    EXPECT_FALSE(m_input.ChangeStamp().has_value());
    m_calls.WakeLine(path, kModemDsr, 149 * kMs);
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    m_calls.SetModemBits(path, 0);
    m_time.Ns = 200 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 0);
    EXPECT_FALSE(m_input.ChangeStamp().has_value());
    // A press, its release and the next press all between two polls: each poll takes one
    // change with the time of its wake, and the lamp meanwhile takes none.
    m_calls.SetModemBits(path, kModemDsr);
    m_calls.WakeLine(path, kModemDsr, 250 * kMs);
    m_calls.WakeLine(path, 0, 254 * kMs);
    m_calls.WakeLine(path, kModemDsr, 258 * kMs);
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    m_time.Ns = 260 * kMs;
    EXPECT_TRUE(m_input.DownNow());
    std::vector<std::pair<int, int64_t>> polls;
    for (int poll = 0; poll < 4; ++poll) {
        const int byte = m_input.RightButtonState();
        polls.emplace_back(byte, m_input.ChangeStamp() ? m_input.ChangeStamp()->Ns : -1);
    }
    EXPECT_EQ(polls, (std::vector<std::pair<int, int64_t>>{
                         {129, 250 * kMs}, {1, 254 * kMs}, {128, 258 * kMs}, {128, 258 * kMs}}));
}

TEST_F(KeyInputTest, APortThatCannotWaitForLineChangesStampsNothingAndIsPolledAsBefore) {
    const std::string path = "/dev/ttyUSB0";
    m_calls.SetLineWaitError(path, ENOTTY);
    TSerialLineKey key(path, TSerialLine::slDsr, m_calls);
    key.Open();
    for (int i = 0; i < 1000 && key.Waiting(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(key.Waiting());
    EXPECT_EQ(m_calls.LineWaitCalls(), 1);  // refused once, not asked again and again
    m_calls.SetModemBits(path, kModemDsr);
    m_time.Ns = 10 * kMs;
    EXPECT_EQ(key.Level(), TKeyLevel::klClosed);
    EXPECT_FALSE(key.LevelStamp().has_value());
    m_calls.SetModemBits(path, 0);
    EXPECT_EQ(key.Level(), TKeyLevel::klOpen);
    EXPECT_FALSE(key.LevelStamp().has_value());
}

TEST_F(KeyInputTest, TheWaitingThreadStopsWhenThePortClosesAndStartsAgainWhenItReopens) {
    const std::string path = "/dev/ttyUSB0";
    m_input.Apply(Serial());
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    EXPECT_EQ(m_calls.LineWaiters(), 1);
    // Another input chosen: the port is closed and nothing waits on it any more.
    m_input.Apply(TKeyInputSettings());
    EXPECT_EQ(m_calls.LineWaiters(), 0);
    EXPECT_EQ(m_calls.OpenCount(), 0u);
    // Unplugged and back: the thread ends with the port and a new one waits on the new port.
    m_input.Apply(Serial());
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    m_calls.Unplug(path);
    EXPECT_EQ(m_input.RightButtonState(), 0);
    EXPECT_TRUE(m_input.Lost());
    EXPECT_EQ(m_calls.LineWaiters(), 0);
    m_calls.Plug(path);
    m_time.Ns += TKeyInput::kRetryNs;
    m_input.RightButtonState();
    ASSERT_FALSE(m_input.Lost());
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    m_calls.SetModemBits(path, kModemDsr);
    m_calls.WakeLine(path, kModemDsr, m_time.Ns + 2 * kMs);
    ASSERT_TRUE(m_calls.AwaitLineWaiter(path));
    const int64_t woke = m_time.Ns + 2 * kMs;
    m_time.Ns += 5 * kMs;
    EXPECT_EQ(m_input.RightButtonState(), 129);
    ASSERT_TRUE(m_input.ChangeStamp().has_value());
    EXPECT_EQ(m_input.ChangeStamp()->Ns, woke);
}

TEST(SerialLineWaitTest, APseudoTerminalRefusesToWaitForLineChangesAtOnce) {
    // A pseudo-terminal has no modem lines: the wait is refused, never entered.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    int fd = -1;
    ASSERT_EQ(KeyDeviceCalls().Open(slave, fd), 0);
    uint32_t bits = 0;
    int64_t ns = 0;
    const int error = KeyDeviceCalls().WaitLineChange(fd, kModemDsr, bits, ns);
    EXPECT_NE(error, 0);
    EXPECT_NE(error, EINTR);
    // Nor can it serve as a serial key: it has no status lines to read.
    TSerialLineKey key(slave, TSerialLine::slDsr);
    EXPECT_THROW(key.Open(), EKeyInputError);
    KeyDeviceCalls().Close(fd);
    close(master);
}

TEST(SerialLineWaitTest, AWaitOnARealPortEndsPromptlyWhenTheKeyCloses) {
    // Opening a port raises its DTR and RTS lines, so only a port named for it is used.
    const char* port = std::getenv("KEYVET_TEST_SERIAL_PORT");
    if (port == nullptr || port[0] == '\0') {
        GTEST_SKIP() << "KEYVET_TEST_SERIAL_PORT names no serial port to wait on";
    }
    const auto started = std::chrono::steady_clock::now();
    {
        TSerialLineKey key(port, TSerialLine::slDsr);
        key.Open();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(key.Waiting()) << "the port refused to wait for line changes";
    }
    // The thread blocked in the driver was interrupted, not waited for.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

TEST(SerialPortsTest, ListsTheSerialPortsPresentByKind) {
    TFakeKeyDeviceCalls calls;
    for (const char* path : {"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/tty1",
                             "/dev/ttyUSB0", "/dev/input/event0"}) {
        calls.AddDevice(path);
    }
    EXPECT_EQ(
        TSerialLineKey::Ports(calls),
        (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"}));
    EXPECT_EQ(TInputDeviceKey::Devices(calls), (std::vector<std::string>{"/dev/input/event0"}));
}

}  // namespace
}  // namespace platform
