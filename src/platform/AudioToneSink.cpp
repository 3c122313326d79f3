// The PortAudio output of the tone. PortAudio and the sound systems below it are chatty on the
// error stream when there is no device; their start-up runs with that stream muted.
#include "platform/AudioToneSink.h"

#include <portaudio.h>

#include <algorithm>
#include <cstdio>

#include "platform/QuietErrorStream.h"

namespace platform {
namespace {

// The device latency asked for (seconds): with one 1.3 ms buffer this keeps the time from a
// port write to sound at the device under 10 ms where the device allows it.
constexpr double kTargetDeviceLatency = 0.005;

int StreamCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags, void* user) {
    static_cast<TAudioToneSink*>(user)->FillBuffer(static_cast<float*>(output), frames);
    return paContinue;
}

}  // namespace

TAudioToneSink::TAudioToneSink() : m_renderer(std::make_unique<TToneRenderer>(kSampleRate)) {}

TAudioToneSink::TAudioToneSink(TToneSchedule* schedule) : TAudioToneSink() {
    m_schedule = schedule;
}

TAudioToneSink::~TAudioToneSink() {
    if (m_stream != nullptr) {
        const TQuietErrorStream quiet;
        Pa_StopStream(static_cast<PaStream*>(m_stream));
        Pa_CloseStream(static_cast<PaStream*>(m_stream));
    }
    if (m_initialized) {
        const TQuietErrorStream quiet;
        Pa_Terminate();
    }
}

bool TAudioToneSink::Open() {
    if (m_stream != nullptr) {
        return true;
    }
    const TQuietErrorStream quiet;
    if (!m_initialized) {
        if (Pa_Initialize() != paNoError) {
            return false;
        }
        m_initialized = true;
    }
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice) {
        return false;
    }
    if (OpenAt(device, kSampleRate)) {
        return true;
    }
    // A device that will not run at 48 kHz runs at its own rate.
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    return info != nullptr && info->defaultSampleRate != kSampleRate &&
           OpenAt(device, info->defaultSampleRate);
}

bool TAudioToneSink::OpenAt(int device, double sampleRate) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info == nullptr || info->maxOutputChannels < 1) {
        return false;
    }
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = 1;
    output.sampleFormat = paFloat32;
    output.suggestedLatency = std::min(info->defaultLowOutputLatency, kTargetDeviceLatency);
    output.hostApiSpecificStreamInfo = nullptr;
    // The renderer must know the rate before the callback can run.
    const double frequency = m_renderer->Frequency();
    m_renderer = std::make_unique<TToneRenderer>(sampleRate);
    m_renderer->SetFrequency(frequency);
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, nullptr, &output, sampleRate, kFramesPerBuffer, paClipOff,
                      StreamCallback, this) != paNoError) {
        return false;
    }
    if (Pa_StartStream(stream) != paNoError) {
        Pa_CloseStream(stream);
        return false;
    }
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    m_outputLatency = streamInfo != nullptr ? streamInfo->outputLatency : 0;
    m_sampleRate = sampleRate;
    m_stream = stream;
    return true;
}

void TAudioToneSink::ToneChanged(int64_t, double frequencyHz) {
    if (m_schedule != nullptr) {
        return;  // a played-back tone follows its schedule only
    }
    m_renderer->SetFrequency(frequencyHz);
}

void TAudioToneSink::FillBuffer(float* out, unsigned long frames) {
    if (m_schedule != nullptr) {
        m_schedule->Fill(*m_renderer, out, frames);
        return;
    }
    m_renderer->Render(out, frames);
}

}  // namespace platform
