// The emulated PC I/O bus behind the port driver: channel 2 of the programmable interval timer
// (ports 0x42 and 0x43) and the speaker gate (port 0x61). While the gate lets channel 2 drive
// the speaker in square-wave mode, the bus tells its tone sink the tone of 1193182 / divisor Hz.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/ToneSink.h"

namespace platform {

constexpr uint16_t kPortTimerChannel2 = 0x42;
constexpr uint16_t kPortTimerCommand = 0x43;
constexpr uint16_t kPortSystemControl = 0x61;
constexpr double kTimerClockHz = 1193182.0;
// System-control bits: bit 0 gates timer channel 2, bit 1 connects its output to the speaker.
constexpr uint8_t kGateTimer2 = 0x01;
constexpr uint8_t kSpeakerData = 0x02;

class TPortBus {
  public:
    // Microseconds on the time line the sink is told; by default the steady clock.
    using TTimeSource = std::function<int64_t()>;

    TPortBus();

    // Reading returns the bus state: port 0x61 as last written, port 0x42 channel 2's count
    // byte by byte (low, then high), port 0x43 and unknown ports 0xFF (nothing answers).
    uint8_t Read(uint16_t port);
    void Write(uint16_t port, uint8_t value);

    // The sink the tone goes to (not owned; nullptr = silence). Setting it tells the new sink
    // the current tone at once.
    void SetToneSink(IToneSink* sink);
    IToneSink* ToneSink() const;
    void SetTimeSource(TTimeSource source);

    // The tone the speaker sounds now (Hz, 0 = silent).
    double Frequency() const;
    // Channel 2's reload count (0 stands for 65536) and mode, for tests and diagnostics.
    uint16_t Divisor() const;
    uint8_t Mode() const;

  private:
    enum class TAccess { acLatch, acLowOnly, acHighOnly, acLowHigh };

    void CommandWritten(uint8_t command);
    void CountWritten(uint8_t value);
    uint8_t CountRead();
    // Works out the sounding frequency and tells the sink when it changed. Lock held.
    void Update();

    mutable std::mutex m_mutex;
    uint8_t m_systemControl = 0;
    TAccess m_access = TAccess::acLowHigh;
    uint8_t m_mode = 0;            // 0-5; 3 = square wave
    uint16_t m_count = 0;          // reload count of the last complete write
    uint8_t m_pendingLow = 0;      // low byte waiting for its high byte
    bool m_countLoaded = false;    // a complete count was written since the last command
    bool m_writeHighNext = false;  // the low/high flip-flop of writes
    bool m_readHighNext = false;   // the low/high flip-flop of reads
    double m_frequency = 0;        // Hz, as last told to the sink
    IToneSink* m_sink = nullptr;
    TTimeSource m_timeSource;
};

}  // namespace platform
