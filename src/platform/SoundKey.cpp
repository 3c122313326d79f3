// The sound key: the stream's blocks through a lock-free ring to the detector on a worker thread,
// the changes it finds stamped and handed to the polls one at a time.
#include "platform/SoundKey.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <limits>
#include <thread>
#include <vector>

#include "audio/AudioError.h"
#include "audio/ToneDetector.h"

namespace platform {
namespace {

constexpr double kNsPerS = 1e9;
// Samples the ring holds: over sixteen seconds at the rate asked for, so a worker held off the
// cores for a while loses nothing.
constexpr size_t kRingSamples = size_t{1} << 18;
// Block times the ring holds (a block is 16 ms at the rate asked for).
constexpr size_t kRingBlocks = 1024;
// Samples the worker hands the detector at once.
constexpr size_t kChunkSamples = 4096;
// How long the worker rests when the ring is empty.
constexpr auto kWorkerRest = std::chrono::milliseconds(4);
// The changes kept for the polls; older ones are folded into the level when more come.
constexpr size_t kMaxWaiting = 4096;
// The input meter holds the loudest sample this long, seconds.
constexpr double kMeterHoldS = 0.1;
// Blocks whose times place sample 0 later than the present placing by more than this, for
// longer than kJumpS, show that samples were lost unannounced before them (or that the sound
// card's clock runs slow): ns and seconds. Blocks merely held up on their way come back in time
// well within it.
constexpr double kJumpNs = 1e6;
constexpr double kJumpS = 0.5;
// A change is stamped once the sound has gone on this long past it, so that a loss before it has
// shown: kJumpS counted from the start of the block that shows it, and a block or two more.
constexpr double kHoldS = kJumpS + 0.1;
// The placings kept for changes still to be stamped: far more than the detector holds back.
constexpr size_t kMaxSegments = 64;

float DbOf(float peak) {
    return peak > 0 ? static_cast<float>(20 * std::log10(peak)) : -200.0f;
}

struct TStampedChange {
    int64_t Ns;
    bool Down;
};

}  // namespace

class TSoundKey::TEngine : public ISoundReceiver {
  public:
    TEngine(const std::string& device, const TSoundKeyOptions& options, ISoundInputs& inputs)
        : m_ring(kRingSamples), m_chunk(kChunkSamples) {
        m_stream = inputs.Open(device, kSampleRate, *this);
        m_rate = m_stream->SampleRate();
        try {
            m_detector = std::make_unique<audio::TToneDetector>(
                audio::TToneDetectorOptions{m_rate, options.PitchHz});
        } catch (const audio::EAudioError& error) {
            throw EKeyInputError(
                "The sound capture device gives sound the tone detector cannot "
                "take: " +
                std::string(error.what()));
        }
        m_resolutionNs = static_cast<int64_t>(std::ceil(kNsPerS / m_rate));
        if (options.Worker) {
            m_worker = std::thread([this] {
                while (!m_stop.load(std::memory_order_acquire)) {
                    if (!Work()) {
                        std::this_thread::sleep_for(kWorkerRest);
                    }
                }
            });
        }
    }

    ~TEngine() override {
        m_stream.reset();  // no more blocks
        m_stop.store(true, std::memory_order_release);
        if (m_worker.joinable()) {
            m_worker.join();
        }
    }

    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    // The stream's thread: copies the block into the ring, or drops it whole when it does not fit.
    void Receive(const float* samples, size_t frames, int64_t firstSampleNs,
                 bool afterGap) override {
        const uint64_t written = m_written.load(std::memory_order_relaxed);
        const uint64_t read = m_read.load(std::memory_order_acquire);
        if (written - read + frames > kRingSamples) {
            m_overflows.fetch_add(1, std::memory_order_relaxed);
            m_gap = true;
            return;
        }
        for (size_t i = 0; i < frames; ++i) {
            m_ring[(written + i) & (kRingSamples - 1)] = samples[i];
        }
        const uint64_t blocks = m_blocksWritten.load(std::memory_order_relaxed);
        if (blocks - m_blocksRead.load(std::memory_order_acquire) < kRingBlocks) {
            m_blocks[blocks & (kRingBlocks - 1)] = {written, firstSampleNs, afterGap || m_gap};
            m_blocksWritten.store(blocks + 1, std::memory_order_release);
            m_gap = false;
        }
        m_written.store(written + frames, std::memory_order_release);
    }

    // Feeds what the ring holds to the detector and stamps the changes it finds; false when
    // there was nothing to feed.
    bool Work() {
        bool fed = false;
        for (;;) {
            const uint64_t written = m_written.load(std::memory_order_acquire);
            const uint64_t read = m_read.load(std::memory_order_relaxed);
            if (written == read) {
                break;
            }
            const size_t count =
                static_cast<size_t>(std::min<uint64_t>(written - read, kChunkSamples));
            for (size_t i = 0; i < count; ++i) {
                m_chunk[i] = m_ring[(read + i) & (kRingSamples - 1)];
            }
            m_read.store(read + count, std::memory_order_release);
            Meter(std::span<const float>(m_chunk.data(), count));
            m_detector->Feed(std::span<const float>(m_chunk.data(), count));
            fed = true;
        }
        TakeBlockTimes();
        for (const audio::TKeyChange& change : m_detector->TakeChanges()) {
            m_held.push_back(change);
        }
        const double settled = static_cast<double>(m_detector->SamplesFed()) - kHoldS * m_rate;
        if ((!m_held.empty() && m_held.front().Sample <= settled) || m_detector->ToneFound()) {
            const std::lock_guard<std::mutex> lock(m_mutex);
            while (!m_held.empty() && m_held.front().Sample <= settled) {
                if (m_waiting.size() == kMaxWaiting) {
                    m_waiting.pop_front();
                }
                m_waiting.push_back({SampleNs(m_held.front().Sample), m_held.front().Down});
                m_held.pop_front();
            }
            // Before the tone is found the detector holds back every change of the sound it
            // searches, however old.
            if (!m_segments.empty() && m_detector->ToneFound()) {
                m_settledNs = std::max(m_settledNs, SampleNs(settled));
            }
        }
        m_toneFound.store(m_detector->ToneFound(), std::memory_order_relaxed);
        m_pitchHz.store(m_detector->PitchHz(), std::memory_order_relaxed);
        m_detectedDown.store(m_detector->KeyDown(), std::memory_order_relaxed);
        return fed;
    }

    // The next change for a poll: the oldest one, or after an idle spell the newest one (the
    // others went by unwatched) with no stamp.
    std::optional<TStampedChange> Next(bool idle, bool& stamped) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        stamped = !idle;
        if (m_waiting.empty()) {
            return std::nullopt;
        }
        TStampedChange change = idle ? m_waiting.back() : m_waiting.front();
        if (idle) {
            m_waiting.clear();
        } else {
            m_waiting.pop_front();
        }
        return change;
    }

    int64_t SettledNs() const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_waiting.empty() ? m_settledNs : std::min(m_settledNs, m_waiting.front().Ns - 1);
    }

    size_t Waiting() const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_waiting.size();
    }

    TSoundMeter Meter() const {
        TSoundMeter meter;
        meter.InputDb = m_inputDb.load(std::memory_order_relaxed);
        meter.ToneFound = m_toneFound.load(std::memory_order_relaxed);
        meter.PitchHz = m_pitchHz.load(std::memory_order_relaxed);
        meter.DetectedDown = m_detectedDown.load(std::memory_order_relaxed);
        return meter;
    }

    bool Running() const { return m_stream->Running(); }
    int64_t ResolutionNs() const { return m_resolutionNs; }
    uint64_t Overflows() const { return m_overflows.load(std::memory_order_relaxed); }

  private:
    struct TBlockTime {
        uint64_t FirstSample;  // the index of its first sample among those kept
        int64_t Ns;            // when that sample was taken, monotonic
        bool AfterGap;         // samples were lost just before it
    };
    // A stretch of samples without loss, from its first, and where sample 0 lies by it (ns).
    struct TSegment {
        uint64_t Start;
        double OriginNs;
    };
    struct TAnchor {
        uint64_t Sample;
        double OriginNs;  // where sample 0 lies by this block's time
    };

    // Reads the times of the blocks received. Each says where sample 0 lies; within a stretch
    // without loss the earliest is taken (the block least held up on its way). A block after lost
    // samples, blocks that all lie later for a while, or a block that lies earlier than a
    // settled stretch start a new stretch.
    void TakeBlockTimes() {
        const uint64_t blocks = m_blocksWritten.load(std::memory_order_acquire);
        uint64_t next = m_blocksRead.load(std::memory_order_relaxed);
        for (; next != blocks; ++next) {
            const TBlockTime& block = m_blocks[next & (kRingBlocks - 1)];
            const TAnchor anchor{block.FirstSample,
                                 static_cast<double>(block.Ns) -
                                     static_cast<double>(block.FirstSample) * kNsPerS / m_rate};
            if (m_segments.empty() || block.AfterGap) {
                StartSegment(anchor.Sample, anchor.OriginNs);
                continue;
            }
            TSegment& segment = m_segments.back();
            // A block earlier than a stretch settled for a while shows samples made up before it
            // (a device that pads what it could not read): the samples before keep their place.
            if (anchor.OriginNs < segment.OriginNs - kJumpNs &&
                static_cast<double>(anchor.Sample - segment.Start) >= kJumpS * m_rate) {
                StartSegment(anchor.Sample, anchor.OriginNs);
                continue;
            }
            if (anchor.OriginNs <= segment.OriginNs + kJumpNs) {
                segment.OriginNs = std::min(segment.OriginNs, anchor.OriginNs);
                m_later.clear();
                continue;
            }
            m_later.push_back(anchor);
            if (static_cast<double>(anchor.Sample - m_later.front().Sample) >= kJumpS * m_rate) {
                const double origin = std::min_element(m_later.begin(), m_later.end(),
                                                       [](const TAnchor& a, const TAnchor& b) {
                                                           return a.OriginNs < b.OriginNs;
                                                       })
                                          ->OriginNs;
                StartSegment(m_later.front().Sample, origin);
            }
        }
        m_blocksRead.store(next, std::memory_order_release);
    }

    void StartSegment(uint64_t start, double originNs) {
        if (m_segments.size() == kMaxSegments) {
            m_segments.pop_front();
        }
        m_segments.push_back({start, originNs});
        m_later.clear();
    }

    // Where a sample lies on the monotonic clock, by the stretch it belongs to.
    int64_t SampleNs(double sample) const {
        double origin = 0;
        for (auto segment = m_segments.rbegin(); segment != m_segments.rend(); ++segment) {
            origin = segment->OriginNs;
            if (static_cast<double>(segment->Start) <= sample) {
                break;
            }
        }
        return static_cast<int64_t>(std::llround(origin + sample * kNsPerS / m_rate));
    }

    void Meter(std::span<const float> samples) {
        float peak = 0;
        for (float x : samples) {
            peak = std::max(peak, std::isfinite(x) ? std::abs(x) : 0.0f);
        }
        m_meterSamples += samples.size();
        m_meterPeak = std::max(m_meterPeak, peak);
        if (static_cast<double>(m_meterSamples) >= kMeterHoldS * m_rate) {
            m_inputDb.store(DbOf(m_meterPeak), std::memory_order_relaxed);
            m_meterPeak = 0;
            m_meterSamples = 0;
        }
    }

    // The ring between the stream's thread (writes) and the worker (reads).
    std::vector<float> m_ring;
    std::atomic<uint64_t> m_written{0};
    std::atomic<uint64_t> m_read{0};
    std::array<TBlockTime, kRingBlocks> m_blocks{};
    std::atomic<uint64_t> m_blocksWritten{0};
    std::atomic<uint64_t> m_blocksRead{0};
    std::atomic<uint64_t> m_overflows{0};
    bool m_gap = false;  // the stream's thread's own: a block was dropped since the last kept

    // The worker's own.
    std::vector<float> m_chunk;
    std::unique_ptr<audio::TToneDetector> m_detector;
    std::deque<TSegment> m_segments;
    std::deque<TAnchor> m_later;  // the blocks since the last that fitted the newest stretch
    std::deque<audio::TKeyChange> m_held;  // found, not yet stamped
    size_t m_meterSamples = 0;
    float m_meterPeak = 0;

    // Shared with the polls.
    mutable std::mutex m_mutex;
    std::deque<TStampedChange> m_waiting;
    // Every change before this moment is waiting or handed on: where the stamping has got to.
    int64_t m_settledNs = std::numeric_limits<int64_t>::min();
    std::atomic<float> m_inputDb{-200.0f};
    std::atomic<bool> m_toneFound{false};
    std::atomic<double> m_pitchHz{0};
    std::atomic<bool> m_detectedDown{false};

    double m_rate = kSampleRate;
    int64_t m_resolutionNs = 1;
    std::unique_ptr<ISoundStream> m_stream;
    std::atomic<bool> m_stop{false};
    std::thread m_worker;
};

TSoundKey::TSoundKey(std::string device, const TSoundKeyOptions& options, ISoundInputs& inputs)
    : m_device(std::move(device)), m_options(options), m_inputs(inputs) {}

TSoundKey::~TSoundKey() = default;

void TSoundKey::Open() {
    m_engine.reset();
    m_engine = std::make_unique<TEngine>(m_device, m_options, m_inputs);
    m_down = false;
    m_stamp.reset();
    m_lastPollNs.reset();
}

TKeyLevel TSoundKey::Level() {
    if (m_engine == nullptr) {
        return TKeyLevel::klLost;
    }
    const int64_t now = Services().TimeSource->MonotonicNs();
    // The first poll, or one after a spell without polls, starts from the key as it is.
    const bool idle = !m_lastPollNs || now - *m_lastPollNs > kIdleNs;
    m_lastPollNs = now;
    bool stamped = false;
    if (const std::optional<TStampedChange> change = m_engine->Next(idle, stamped)) {
        m_down = change->Down;
        m_stamp = stamped
                      ? std::optional<TKeyStamp>(TKeyStamp{change->Ns, m_engine->ResolutionNs()})
                      : std::nullopt;
    }
    if (!m_engine->Running()) {
        return TKeyLevel::klLost;
    }
    return m_down ? TKeyLevel::klClosed : TKeyLevel::klOpen;
}

bool TSoundKey::Reopen() {
    try {
        Open();
        return true;
    } catch (const EKeyInputError&) {
        m_engine.reset();
        return false;
    }
}

std::string TSoundKey::Description() const {
    return m_device.empty() ? "the default sound capture device"
                            : "the sound capture device " + m_device;
}

void TSoundKey::Work() {
    if (m_engine != nullptr) {
        m_engine->Work();
    }
}

TSoundMeter TSoundKey::Meter() const {
    return m_engine != nullptr ? m_engine->Meter() : TSoundMeter();
}

int64_t TSoundKey::SettledNs() {
    if (m_engine == nullptr || !m_engine->Running()) {
        return kSettledNow;
    }
    return m_engine->SettledNs();
}

size_t TSoundKey::Waiting() const {
    return m_engine != nullptr ? m_engine->Waiting() : 0;
}

uint64_t TSoundKey::Overflows() const {
    return m_engine != nullptr ? m_engine->Overflows() : 0;
}

}  // namespace platform
