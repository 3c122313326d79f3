// The capture devices through PortAudio. A block's first sample is placed on the monotonic clock
// from the stream's own account of when the converter took it (its input time against its
// current time, both on the stream's clock), read against the monotonic clock at the callback.
#include "platform/SoundInput.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <vector>

#include "platform/KeyLevelSource.h"
#include "platform/QuietErrorStream.h"

namespace platform {
namespace {

constexpr int64_t kNsPerS = 1000000000;
// Frames per callback: short enough that the key is not held up, long enough to be cheap.
constexpr unsigned long kFramesPerBuffer = 256;
// The most channels read from a device that will not open in mono; the first one is used.
constexpr int kMaxChannels = 2;
// A stream time further back than this at the callback is not believed, seconds.
constexpr double kMaxInputAge = 1.0;

int64_t MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNsPerS + now.tv_nsec;
}

// Keeps PortAudio started while it lives.
class TPortAudio {
  public:
    TPortAudio() {
        const TQuietErrorStream quiet;
        m_ok = Pa_Initialize() == paNoError;
    }
    ~TPortAudio() {
        if (m_ok) {
            const TQuietErrorStream quiet;
            Pa_Terminate();
        }
    }
    TPortAudio(const TPortAudio&) = delete;
    TPortAudio& operator=(const TPortAudio&) = delete;
    bool Ok() const { return m_ok; }

  private:
    bool m_ok = false;
};

class TPortAudioStream : public ISoundStream {
  public:
    TPortAudioStream(ISoundReceiver& receiver, int channels)
        : m_receiver(receiver), m_channels(channels), m_mono(kFramesPerBuffer) {}
    ~TPortAudioStream() override {
        if (m_stream != nullptr) {
            const TQuietErrorStream quiet;
            Pa_StopStream(m_stream);
            Pa_CloseStream(m_stream);
        }
    }
    TPortAudioStream(const TPortAudioStream&) = delete;
    TPortAudioStream& operator=(const TPortAudioStream&) = delete;

    // False when the device will not open or start this way.
    bool Start(PaDeviceIndex device, double sampleRate) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
        PaStreamParameters input{};
        input.device = device;
        input.channelCount = m_channels;
        input.sampleFormat = paFloat32;
        input.suggestedLatency = info->defaultLowInputLatency;
        if (Pa_OpenStream(&m_stream, &input, nullptr, sampleRate, kFramesPerBuffer, paClipOff,
                          Callback, this) != paNoError) {
            m_stream = nullptr;
            return false;
        }
        Pa_SetStreamFinishedCallback(m_stream, Finished);
        if (Pa_StartStream(m_stream) != paNoError) {
            Pa_CloseStream(m_stream);
            m_stream = nullptr;
            return false;
        }
        const PaStreamInfo* streamInfo = Pa_GetStreamInfo(m_stream);
        m_rate = streamInfo != nullptr && streamInfo->sampleRate > 0 ? streamInfo->sampleRate
                                                                     : sampleRate;
        return true;
    }

    double SampleRate() const override { return m_rate; }
    bool Running() const override {
        return !m_finished.load(std::memory_order_acquire) && Pa_IsStreamActive(m_stream) == 1;
    }

  private:
    static int Callback(const void* input, void*, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* user) {
        static_cast<TPortAudioStream*>(user)->Take(static_cast<const float*>(input), frames, time,
                                                   (flags & paInputOverflow) != 0);
        return paContinue;
    }
    static void Finished(void* user) {
        static_cast<TPortAudioStream*>(user)->m_finished.store(true, std::memory_order_release);
    }

    void Take(const float* input, unsigned long frames, const PaStreamCallbackTimeInfo* time,
              bool afterGap) {
        const int64_t now = MonotonicNow();
        // How long before now the first sample was taken, by the stream's clock; where the
        // stream does not say, the block is taken to end now.
        double age = static_cast<double>(frames) / m_rate;
        if (time != nullptr && time->inputBufferAdcTime > 0 && time->currentTime > 0) {
            const double said = time->currentTime - time->inputBufferAdcTime;
            if (said >= 0 && said < kMaxInputAge) {
                age = said;
            }
        }
        const int64_t firstNs = now - static_cast<int64_t>(age * kNsPerS);
        if (input == nullptr) {
            return;
        }
        const float* samples = input;
        if (m_channels > 1) {
            const size_t count = std::min<size_t>(frames, m_mono.size());
            for (size_t i = 0; i < count; ++i) {
                m_mono[i] = input[i * static_cast<size_t>(m_channels)];
            }
            samples = m_mono.data();
            frames = count;
        }
        m_receiver.Receive(samples, frames, firstNs, afterGap);
    }

    ISoundReceiver& m_receiver;
    int m_channels;
    std::vector<float> m_mono;  // the first channel of a block of several, made before it starts
    PaStream* m_stream = nullptr;
    double m_rate = 0;
    std::atomic<bool> m_finished{false};
};

class TPortAudioInputs : public ISoundInputs {
  public:
    std::vector<std::string> Devices() override {
        std::vector<std::string> names;
        if (!m_portAudio.Ok()) {
            return names;
        }
        const PaDeviceIndex chosen = Pa_GetDefaultInputDevice();
        const PaDeviceIndex count = std::max<PaDeviceIndex>(Pa_GetDeviceCount(), 0);
        for (PaDeviceIndex i = 0; i < count; ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (info == nullptr || info->maxInputChannels < 1 || info->name == nullptr) {
                continue;
            }
            names.insert(i == chosen ? names.begin() : names.end(), info->name);
        }
        return names;
    }

    std::unique_ptr<ISoundStream> Open(const std::string& device, double sampleRate,
                                       ISoundReceiver& receiver) override {
        const std::string named = device.empty() ? "the sound card" : "the sound card " + device;
        if (!m_portAudio.Ok()) {
            throw EKeyInputError("The sound system cannot be started, so " + named +
                                 " cannot be used as the key.");
        }
        const PaDeviceIndex index = Find(device);
        if (index == paNoDevice) {
            throw EKeyInputError(device.empty()
                                     ? "There is no sound capture device on this machine."
                                     : "The sound capture device " + device +
                                           " is not present. Plug it in or choose another.");
        }
        const TQuietErrorStream quiet;
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        const int channels = std::min(info->maxInputChannels, kMaxChannels);
        for (int c : {1, channels}) {
            for (double rate : {sampleRate, info->defaultSampleRate}) {
                auto stream = std::make_unique<TPortAudioStream>(receiver, c);
                if (rate > 0 && stream->Start(index, rate)) {
                    return stream;
                }
            }
        }
        throw EKeyInputError("The capture of " + named +
                             " cannot be opened: it may be in use by another program.");
    }

  private:
    static PaDeviceIndex Find(const std::string& device) {
        if (device.empty()) {
            return Pa_GetDefaultInputDevice();
        }
        const PaDeviceIndex count = std::max<PaDeviceIndex>(Pa_GetDeviceCount(), 0);
        for (PaDeviceIndex i = 0; i < count; ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (info != nullptr && info->maxInputChannels > 0 && info->name != nullptr &&
                device == info->name) {
                return i;
            }
        }
        return paNoDevice;
    }

    TPortAudio m_portAudio;
};

ISoundInputs*& Current() {
    static ISoundInputs* current = nullptr;
    return current;
}

}  // namespace

ISoundInputs& SoundInputs() {
    if (Current() == nullptr) {
        // Started at first use: a program that never captures sound never starts it.
        static TPortAudioInputs inputs;
        Current() = &inputs;
    }
    return *Current();
}

TScopedSoundInputs::TScopedSoundInputs(ISoundInputs& replacement) : m_saved(Current()) {
    Current() = &replacement;
}

TScopedSoundInputs::~TScopedSoundInputs() {
    Current() = m_saved;
}

}  // namespace platform
