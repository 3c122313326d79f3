// The program's own share of side-tone latency: from SpeakerOn to the first non-silent sample
// the audio callback hands on. Through PortAudio when a device opens; otherwise the same
// callback is driven by a thread that asks for buffer after buffer, as a stream would.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/AudioToneSink.h"
#include "platform/LinuxSystemServices.h"
#include "port/PortIO.h"

namespace {

constexpr int64_t kGiveUpNs = 1000000000;  // one second: the tone is not coming

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Calls the sink's callback code back to back until stopped, like a stream with no wait.
class TDrivenStream {
  public:
    explicit TDrivenStream(platform::TAudioToneSink& sink)
        : m_thread([this, &sink] {
              std::vector<float> buffer(platform::TAudioToneSink::kFramesPerBuffer);
              while (!m_stop.load(std::memory_order_acquire)) {
                  sink.FillBuffer(buffer.data(), buffer.size());
              }
          }) {}
    ~TDrivenStream() {
        m_stop.store(true, std::memory_order_release);
        m_thread.join();
    }
    TDrivenStream(const TDrivenStream&) = delete;
    TDrivenStream& operator=(const TDrivenStream&) = delete;

  private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void BM_SpeakerOnToFirstSample(benchmark::State& state) {
    std::string root = "/tmp/keyvet-bench-XXXXXX";
    if (mkdtemp(root.data()) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    std::vector<double> latenciesUs;
    bool device = false;
    {
        platform::TLinuxSystemServices sys(root + "/services", false);
        platform::TAudioToneSink sink;
        device = sink.Open();
        sys.Bus().SetToneSink(&sink);
        std::unique_ptr<TDrivenStream> driven;
        if (!device) {
            driven = std::make_unique<TDrivenStream>(sink);
        }
        const platform::TScopedSystemServices guard(sys);
        port::TPortIO io(nullptr);
        io.SetOpened(true);
        if (!io.Opened()) {
            state.SkipWithError("the port driver did not open");
        }
        const platform::TToneRenderer& renderer = sink.Renderer();
        for (auto _ : state) {
            const uint64_t onsets = renderer.OnsetCount();
            const int64_t start = NowNs();
            io.SpeakerOn(port::TPortIO::kSideToneDivisor);
            bool sounded = true;
            while (renderer.OnsetCount() == onsets) {
                if (NowNs() - start > kGiveUpNs) {
                    sounded = false;
                    break;
                }
            }
            if (!sounded) {
                state.SkipWithError("SpeakerOn gave no sound within a second");
                break;
            }
            const double latencyUs = static_cast<double>(renderer.LastOnsetNs() - start) / 1000.0;
            state.SetIterationTime(latencyUs / 1e6);
            latenciesUs.push_back(latencyUs);
            state.PauseTiming();
            io.SpeakerOff();
            // Wait for a buffer begun after the tone stopped, so the next onset is a fresh one;
            // a momentary silence inside SpeakerOn (the timer reprogrammed) does not count.
            const uint64_t renders = renderer.RenderCount();
            while (renderer.RenderCount() < renders + 2) {
            }
            state.ResumeTiming();
        }
        io.SetOpened(false);
        sys.Bus().SetToneSink(nullptr);
    }
    std::filesystem::remove_all(root);
    if (!latenciesUs.empty()) {
        std::sort(latenciesUs.begin(), latenciesUs.end());
        state.counters["median_us"] = latenciesUs[latenciesUs.size() / 2];
        state.counters["p90_us"] = latenciesUs[latenciesUs.size() * 9 / 10];
        state.counters["sound_card"] = device ? 1 : 0;
    }
}
BENCHMARK(BM_SpeakerOnToFirstSample)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
