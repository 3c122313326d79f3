// Reading sound files (WAV, FLAC, Ogg, MP3 and the other formats libsndfile reads) block by block
// as mono samples, so that an hour of sound never has to be held at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

class TSoundFile {
  public:
    // Opens the file. Raises EAudioError with one clear message when it cannot be read, is not a
    // sound file, or holds no sound.
    explicit TSoundFile(const std::string& path);
    ~TSoundFile();
    TSoundFile(const TSoundFile&) = delete;
    TSoundFile& operator=(const TSoundFile&) = delete;

    double SampleRate() const { return m_rate; }
    int Channels() const { return m_channels; }
    // Frames (one sample of each channel) in the file, as its header says.
    int64_t Frames() const { return m_frames; }
    // Frames read so far.
    int64_t FramesRead() const { return m_read; }

    // The next frames, at most maxFrames, each the mean of its channels (full scale 1); empty at
    // the end. Raises EAudioError when the file cannot be read on.
    std::vector<float> Read(size_t maxFrames);

  private:
    std::string m_path;
    void* m_file = nullptr;  // the library's handle
    double m_rate = 0;
    int m_channels = 0;
    int64_t m_frames = 0;
    int64_t m_read = 0;
    std::vector<float> m_interleaved;
};

}  // namespace audio
