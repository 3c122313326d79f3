// The WAV recorder of the tone: a 44-byte header, then 16-bit little-endian samples.
#include "platform/WavToneSink.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

#include "base/Exceptions.h"

namespace platform {
namespace {

constexpr uint32_t kHeaderBytes = 44;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kChannels = 1;
constexpr uint16_t kPcmFormat = 1;
constexpr float kFullScale = 32767.0f;
constexpr size_t kChunkSamples = 4096;
// The header's sizes are 32-bit: the data may hold at most this many bytes.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes;

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
    }
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

std::vector<uint8_t> Header(uint32_t dataBytes) {
    std::vector<uint8_t> h;
    PutTag(h, "RIFF");
    Put32(h, kHeaderBytes - 8 + dataBytes);
    PutTag(h, "WAVE");
    PutTag(h, "fmt ");
    Put32(h, 16);  // size of the format chunk
    Put16(h, kPcmFormat);
    Put16(h, kChannels);
    Put32(h, TWavToneSink::kSampleRate);
    Put32(h, TWavToneSink::kSampleRate * kChannels * kBitsPerSample / 8);  // bytes per second
    Put16(h, kChannels * kBitsPerSample / 8);                              // bytes per frame
    Put16(h, kBitsPerSample);
    PutTag(h, "data");
    Put32(h, dataBytes);
    return h;
}

}  // namespace

TWavToneSink::TWavToneSink(const std::string& path, int64_t originUs)
    : m_originUs(originUs), m_lastUs(originUs) {
    m_output = std::make_unique<base::TOutputFile>(path, "WAV file");
    m_file = m_output->Stream();
    const std::vector<uint8_t> header = Header(0);
    if (std::fwrite(header.data(), 1, header.size(), m_file) != header.size()) {
        m_error = errno != 0 ? errno : EIO;
    }
}

TWavToneSink::~TWavToneSink() {
    if (m_file == nullptr) {
        return;
    }
    WriteHeader();
    if (m_error == 0) {
        try {
            m_output->Commit();
        } catch (const base::Exception&) {
            // A destructor reports nothing: the temporary file is gone, the path as it was.
        }
    }
}

void TWavToneSink::ToneChanged(int64_t timeUs, double frequencyHz) {
    if (m_file == nullptr) {
        return;
    }
    RenderUntil(timeUs);
    m_frequency = frequencyHz;
}

void TWavToneSink::RenderUntil(int64_t timeUs) {
    m_lastUs = std::max(m_lastUs, timeUs);
    // The sample nearest the time: 48 samples per millisecond.
    const int64_t sinceOrigin = std::max<int64_t>(0, m_lastUs - m_originUs);
    const auto target = static_cast<uint64_t>((sinceOrigin * kSampleRate / 1000 + 500) / 1000);
    std::vector<int16_t> chunk;
    chunk.reserve(kChunkSamples);
    while (m_samples < target && m_error == 0) {
        if ((m_samples + 1) * sizeof(int16_t) > kMaxDataBytes) {
            m_error = EFBIG;
            break;
        }
        chunk.clear();
        while (chunk.size() < kChunkSamples && m_samples + chunk.size() < target) {
            chunk.push_back(
                static_cast<int16_t>(std::lround(m_wave.Next(m_frequency) * kFullScale)));
        }
        // Samples are little-endian on disk, as on this machine.
        if (std::fwrite(chunk.data(), sizeof(int16_t), chunk.size(), m_file) != chunk.size()) {
            m_error = errno != 0 ? errno : EIO;
        }
        m_samples += chunk.size();
    }
}

void TWavToneSink::WriteHeader() {
    const std::vector<uint8_t> header = Header(
        static_cast<uint32_t>(std::min<uint64_t>(m_samples * sizeof(int16_t), kMaxDataBytes)));
    if (std::fseek(m_file, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), m_file) != header.size()) {
        m_error = m_error != 0 ? m_error : (errno != 0 ? errno : EIO);
    }
    m_file = nullptr;
}

void TWavToneSink::Close(int64_t endUs) {
    if (m_file == nullptr) {
        return;
    }
    RenderUntil(endUs);
    WriteHeader();
    m_output->Fail(m_error);
    m_output->Commit();
}

}  // namespace platform
