// A sound card's playback for the end-to-end scenarios, on a machine without one: an ALSA "file"
// device pipes what a program plays into this command, which takes it at the pace a sound card
// would (16-bit mono at the given rate) and keeps it in a WAV file of its own in the folder,
// named by its process number, written under a temporary name and renamed into place when the
// program closes the device. Each stream the program opens gets a command and a file of its own.
//
//   e2e-sound-sink FOLDER RATE
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr size_t kFrames = 256;  // per read
constexpr int64_t kNsPerS = 1000000000;

int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNsPerS + now.tv_nsec;
}

void SleepUntil(int64_t ns) {
    const timespec until{static_cast<time_t>(ns / kNsPerS), static_cast<long>(ns % kNsPerS)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
    }
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int byte = 0; byte < 4; ++byte) {
        out.push_back(static_cast<uint8_t>(value >> (8 * byte)));
    }
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// The 44-byte header of a 16-bit mono PCM WAV file holding dataBytes of samples.
std::vector<uint8_t> WavHeader(uint32_t rate, uint32_t dataBytes) {
    std::vector<uint8_t> header;
    const std::string riff = "RIFF", wave = "WAVEfmt ", data = "data";
    header.insert(header.end(), riff.begin(), riff.end());
    Put32(header, 36 + dataBytes);
    header.insert(header.end(), wave.begin(), wave.end());
    Put32(header, 16);
    Put16(header, 1);  // PCM
    Put16(header, 1);  // mono
    Put32(header, rate);
    Put32(header, rate * 2);
    Put16(header, 2);
    Put16(header, 16);
    header.insert(header.end(), data.begin(), data.end());
    Put32(header, dataBytes);
    return header;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e-sound-sink FOLDER RATE\n");
        return 2;
    }
    const std::string folder = argv[1];
    const long rate = std::strtol(argv[2], nullptr, 10);
    if (rate < 1000 || rate > 192000) {
        std::fprintf(stderr, "e2e-sound-sink: a rate of %s Hz\n", argv[2]);
        return 2;
    }
    const std::string name = folder + "/played-" + std::to_string(getpid()) + ".wav";
    const std::string part = name + ".part";
    FILE* file = std::fopen(part.c_str(), "wb");
    if (file == nullptr) {
        std::perror(part.c_str());
        return 1;
    }
    std::vector<uint8_t> header = WavHeader(static_cast<uint32_t>(rate), 0);
    std::fwrite(header.data(), 1, header.size(), file);
    std::vector<uint8_t> block(kFrames * 2);
    uint64_t bytes = 0;
    const int64_t start = NowNs();
    for (;;) {
        // Each block is taken when a card would have played the one before it.
        SleepUntil(start + static_cast<int64_t>(bytes / 2) * kNsPerS / rate);
        const size_t got = std::fread(block.data(), 1, block.size(), stdin);
        if (got == 0) {
            break;
        }
        if (std::fwrite(block.data(), 1, got, file) != got) {
            std::perror(part.c_str());
            return 1;
        }
        bytes += got;
    }
    header = WavHeader(static_cast<uint32_t>(rate), static_cast<uint32_t>(bytes & ~uint64_t{1}));
    if (std::fseek(file, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), file) != header.size() ||
        std::fclose(file) != 0 || std::rename(part.c_str(), name.c_str()) != 0) {
        std::perror(name.c_str());
        return 1;
    }
    return 0;
}
