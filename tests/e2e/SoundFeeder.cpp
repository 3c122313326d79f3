// A sound card's capture for the end-to-end scenarios, on a machine without one: feeds a named
// pipe that an ALSA "file" device reads as its input, at the pace a sound card would (16-bit mono
// at 16 kHz, 256 frames every 16 ms), silence until a trigger file appears, then a keyed tone.
// The pipe is held open for reading too, so the device's opening and probing never wait for it
// nor end it, and it is made to hold half a minute of sound, so that a reader held off the cores
// for a while loses nothing (what waits before the program opens the device is silence).
//
//   e2e-sound-feeder PIPE PITCH TRIGGER=MS,MS,... [TRIGGER=MS,...]...
//
// Each keying is a list of key-change times in ms after its trigger appears, down first; they
// are played in order, each once its trigger file exists. The feeder runs until it is ended.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 16000;            // Hz
constexpr size_t kFrames = 256;            // per write, as the device reads
constexpr double kAmplitude = 0.3;         // of full scale
constexpr double kRiseMs = 4;              // each edge, raised cosine centred on the change
constexpr double kNoiseAmplitude = 0.003;  // white noise, about 35 dB below the tone in 500 Hz
constexpr int kPipeBytes = 1 << 20;        // the most an unprivileged pipe holds: 32 s

struct TKeying {
    std::string Trigger;
    std::vector<double> ChangesMs;
};

int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The keyed envelope (0 to 1) ms after the keying's start.
double Envelope(const std::vector<double>& changes, double ms) {
    double level = 0;
    for (size_t i = 0; i < changes.size(); ++i) {
        const bool down = i % 2 == 0;
        const double x = (ms - (changes[i] - kRiseMs / 2)) / kRiseMs;
        if (x <= 0) {
            break;
        }
        const double rise = x >= 1 ? 1 : 0.5 - 0.5 * std::cos(std::numbers::pi * x);
        level = down ? rise : 1 - rise;
    }
    return level;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: e2e-sound-feeder PIPE PITCH TRIGGER=MS,MS,...\n");
        return 2;
    }
    const double pitch = std::stod(argv[2]);
    std::vector<TKeying> keyings;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t equals = arg.find('=');
        TKeying keying{arg.substr(0, equals), {}};
        size_t at = equals + 1;
        while (at < arg.size()) {
            size_t comma = arg.find(',', at);
            comma = comma == std::string::npos ? arg.size() : comma;
            keying.ChangesMs.push_back(std::stod(arg.substr(at, comma - at)));
            at = comma + 1;
        }
        keyings.push_back(keying);
    }
    const int fd = open(argv[1], O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::perror(argv[1]);
        return 1;
    }
    fcntl(fd, F_SETPIPE_SZ, kPipeBytes);  // where it cannot, a smaller pipe serves a quiet machine
    std::mt19937 engine(7);
    std::normal_distribution<double> noise(0, kNoiseAmplitude);
    size_t next = 0;       // the keying waiting for its trigger or playing
    int64_t playing = -1;  // the sample at which it began, -1 before
    int64_t sample = 0;
    double phase = 0;
    const int64_t start = NowNs();
    std::vector<int16_t> block(kFrames);
    for (uint64_t n = 0;; ++n) {
        // Paced on the monotonic clock: block n is due n * 16 ms after the start.
        const int64_t due =
            start + static_cast<int64_t>(static_cast<double>(n * kFrames) * 1e9 / kRate);
        for (int64_t wait = due - NowNs(); wait > 0; wait = due - NowNs()) {
            const timespec pause{0, static_cast<long>(wait)};
            nanosleep(&pause, nullptr);
        }
        if (playing < 0 && next < keyings.size() &&
            access(keyings[next].Trigger.c_str(), F_OK) == 0) {
            playing = sample;
        }
        for (size_t i = 0; i < kFrames; ++i, ++sample) {
            double level = 0;
            if (playing >= 0) {
                const double ms = static_cast<double>(sample - playing) * 1000 / kRate;
                level = Envelope(keyings[next].ChangesMs, ms);
                if (ms > keyings[next].ChangesMs.back() + kRiseMs) {
                    playing = -1;
                    ++next;
                }
            }
            phase = std::fmod(phase + 2 * std::numbers::pi * pitch / kRate, 2 * std::numbers::pi);
            const double x = kAmplitude * level * std::sin(phase) + noise(engine);
            block[i] = static_cast<int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767));
        }
        const ssize_t wrote = write(fd, block.data(), block.size() * sizeof(block[0]));
        if (wrote < 0 && errno != EAGAIN) {  // full: nobody has read for half a minute
            std::perror("write");
            return 1;
        }
    }
}
