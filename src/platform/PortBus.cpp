// The emulated timer channel 2 and speaker gate.
#include "platform/PortBus.h"

#include <chrono>
#include <utility>

namespace platform {
namespace {

constexpr uint8_t kOpenBus = 0xFF;  // what a read of a port nobody answers gives

// Command byte fields: bits 7-6 channel, 5-4 access, 3-1 mode, 0 BCD.
constexpr uint8_t kChannel2 = 2;
constexpr uint8_t kSquareWave = 3;

int64_t SteadyMicroseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

}  // namespace

TPortBus::TPortBus() : m_timeSource(SteadyMicroseconds) {}

uint8_t TPortBus::Read(uint16_t port) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    switch (port) {
        case kPortSystemControl:
            return m_systemControl;
        case kPortTimerChannel2:
            return CountRead();
        default:
            return kOpenBus;
    }
}

void TPortBus::Write(uint16_t port, uint8_t value) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    switch (port) {
        case kPortSystemControl:
            m_systemControl = value;
            break;
        case kPortTimerCommand:
            CommandWritten(value);
            break;
        case kPortTimerChannel2:
            CountWritten(value);
            break;
        default:
            return;  // nothing else is on this bus
    }
    Update();
}

void TPortBus::CommandWritten(uint8_t command) {
    const uint8_t channel = static_cast<uint8_t>(command >> 6);
    if (channel != kChannel2) {
        return;  // channels 0 and 1 and read-back commands do not reach the speaker
    }
    const uint8_t access = static_cast<uint8_t>((command >> 4) & 3);
    if (access == 0) {
        // Latching the count changes nothing that sounds; the next reads start low.
        m_readHighNext = false;
        return;
    }
    m_access = static_cast<TAccess>(access);
    // Modes 6 and 7 are the same as 2 and 3.
    const uint8_t mode = static_cast<uint8_t>((command >> 1) & 7);
    m_mode = mode >= 6 ? static_cast<uint8_t>(mode - 4) : mode;
    // A new command stops the channel until a complete count is written.
    m_countLoaded = false;
    m_writeHighNext = false;
    m_readHighNext = false;
}

void TPortBus::CountWritten(uint8_t value) {
    switch (m_access) {
        case TAccess::acLatch:
            return;
        case TAccess::acLowOnly:
            m_count = value;
            m_countLoaded = true;
            return;
        case TAccess::acHighOnly:
            m_count = static_cast<uint16_t>(value << 8);
            m_countLoaded = true;
            return;
        case TAccess::acLowHigh:
            // A running count keeps its old value until both bytes of the new one are written.
            if (!m_writeHighNext) {
                m_pendingLow = value;
                m_writeHighNext = true;
            } else {
                m_count = static_cast<uint16_t>(m_pendingLow | (value << 8));
                m_writeHighNext = false;
                m_countLoaded = true;
            }
            return;
    }
}

uint8_t TPortBus::CountRead() {
    switch (m_access) {
        case TAccess::acLatch:
        case TAccess::acLowHigh:
            m_readHighNext = !m_readHighNext;
            return m_readHighNext ? static_cast<uint8_t>(m_count & 0xFF)
                                  : static_cast<uint8_t>(m_count >> 8);
        case TAccess::acLowOnly:
            return static_cast<uint8_t>(m_count & 0xFF);
        case TAccess::acHighOnly:
            return static_cast<uint8_t>(m_count >> 8);
    }
    return kOpenBus;
}

void TPortBus::Update() {
    const bool gated =
        (m_systemControl & (kGateTimer2 | kSpeakerData)) == (kGateTimer2 | kSpeakerData);
    double frequency = 0;
    if (gated && m_countLoaded && m_mode == kSquareWave) {
        const double divisor = m_count == 0 ? 65536.0 : static_cast<double>(m_count);
        frequency = kTimerClockHz / divisor;
    }
    if (frequency != m_frequency) {
        m_frequency = frequency;
        if (m_sink != nullptr) {
            m_sink->ToneChanged(m_timeSource(), frequency);
        }
    }
}

void TPortBus::SetToneSink(IToneSink* sink) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_sink = sink;
    if (m_sink != nullptr) {
        m_sink->ToneChanged(m_timeSource(), m_frequency);
    }
}

IToneSink* TPortBus::ToneSink() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_sink;
}

void TPortBus::SetTimeSource(TTimeSource source) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_timeSource = source ? std::move(source) : TTimeSource(SteadyMicroseconds);
}

double TPortBus::Frequency() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_frequency;
}

uint16_t TPortBus::Divisor() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_count;
}

uint8_t TPortBus::Mode() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

}  // namespace platform
