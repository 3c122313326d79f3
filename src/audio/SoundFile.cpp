// Reading sound files through libsndfile, mixed down to mono.
#include "audio/SoundFile.h"

#include <sndfile.h>

#include <filesystem>
#include <system_error>

#include "audio/AudioError.h"

namespace audio {

TSoundFile::TSoundFile(const std::string& path) : m_path(path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        throw EAudioError("cannot read " + path + ": no such file");
    }
    if (std::filesystem::is_directory(status)) {
        throw EAudioError(path + " is a directory, not a sound file");
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        throw EAudioError(path + " is not a sound file that can be read (" + sf_strerror(nullptr) +
                          ")");
    }
    m_file = file;
    m_rate = info.samplerate;
    m_channels = info.channels;
    m_frames = info.frames;
    if (m_channels <= 0 || m_rate <= 0) {
        sf_close(file);
        m_file = nullptr;
        throw EAudioError(path + " is not a sound file that can be read (no channels)");
    }
    if (m_frames <= 0) {
        sf_close(file);
        m_file = nullptr;
        throw EAudioError(path + " holds no sound");
    }
}

TSoundFile::~TSoundFile() {
    if (m_file != nullptr) {
        sf_close(static_cast<SNDFILE*>(m_file));
    }
}

std::vector<float> TSoundFile::Read(size_t maxFrames) {
    m_interleaved.resize(maxFrames * static_cast<size_t>(m_channels));
    const sf_count_t got = sf_readf_float(static_cast<SNDFILE*>(m_file), m_interleaved.data(),
                                          static_cast<sf_count_t>(maxFrames));
    if (got < 0 || (got == 0 && sf_error(static_cast<SNDFILE*>(m_file)) != SF_ERR_NO_ERROR)) {
        throw EAudioError("cannot read " + m_path +
                          " on: " + sf_strerror(static_cast<SNDFILE*>(m_file)));
    }
    std::vector<float> mono(static_cast<size_t>(got));
    const size_t channels = static_cast<size_t>(m_channels);
    for (size_t i = 0; i < mono.size(); ++i) {
        float sum = 0;
        for (size_t c = 0; c < channels; ++c) {
            sum += m_interleaved[i * channels + c];
        }
        mono[i] = sum / static_cast<float>(channels);
    }
    m_read += got;
    return mono;
}

}  // namespace audio
