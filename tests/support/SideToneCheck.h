// Checks of a recorded side-tone: the samples of a 48 kHz mono 16-bit WAV file, the tone's
// measured frequency, and that the tone sounds exactly while the key is down.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace support {

constexpr int32_t kSamplesPerMs = 48;
constexpr int32_t kEdgeToleranceMs = 2;
constexpr double kSideToneHz = 795.0;  // 1193182 Hz / 1500

// The samples after the 44-byte header.
inline std::vector<int16_t> WavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file(std::istreambuf_iterator<char>(in), {});
    std::vector<int16_t> out;
    for (size_t i = 44; i + 1 < file.size(); i += 2) {
        out.push_back(static_cast<int16_t>(file[i] | (file[i + 1] << 8)));
    }
    return out;
}

// Whole cycles between the first and the last rising edge in samples [from, to), over the time
// between them (Hz).
inline double MeasuredFrequency(const std::vector<int16_t>& s, int32_t from, int32_t to) {
    int32_t first = -1;
    int32_t last = -1;
    int32_t cycles = -1;
    for (int32_t i = from + 1; i < to; ++i) {
        if (s[i - 1] < 0 && s[i] > 0) {
            first = first < 0 ? i : first;
            last = i;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * 48000.0 / (last - first) : 0.0;
}

// The key goes down at changes[0], up at changes[1], and so on (milliseconds); the recording
// ends at endMs. Every key-down interval holds the side-tone within 1 Hz, its first and last
// sound within the edge tolerance; every key-up interval is silent apart from that tolerance.
inline void ExpectToneFollowsKey(const std::vector<int16_t>& s, const std::vector<double>& changes,
                                 double endMs) {
    const int32_t margin = kEdgeToleranceMs * kSamplesPerMs;
    double start = 0;
    for (size_t k = 0; k <= changes.size(); ++k) {
        const double end = k < changes.size() ? changes[k] : endMs;
        const bool down = k % 2 == 1;
        SCOPED_TRACE((down ? "key down " : "key up ") + std::to_string(start) + "-" +
                     std::to_string(end) + " ms");
        const auto from = static_cast<int32_t>(start * kSamplesPerMs);
        const auto to = static_cast<int32_t>(end * kSamplesPerMs);
        if (down) {
            int32_t firstSound = -1;
            int32_t lastSound = -1;
            for (int32_t i = std::max(0, from - margin);
                 i < std::min<int32_t>(to + margin, static_cast<int32_t>(s.size())); ++i) {
                if (s[i] != 0) {
                    firstSound = firstSound < 0 ? i : firstSound;
                    lastSound = i;
                }
            }
            EXPECT_LE(std::abs(firstSound - from), margin);
            EXPECT_LE(std::abs(lastSound + 1 - to), margin);
            EXPECT_NEAR(kSideToneHz, MeasuredFrequency(s, from, to), 1.0);
        } else {
            for (int32_t i = from + (k == 0 ? 0 : margin); i < to - margin; ++i) {
                ASSERT_EQ(0, s[i]) << "sample " << i;
            }
        }
        start = end;
    }
}

}  // namespace support
