// Finding the pitch of a keyed tone from the spread of each frequency's power over short frames.
#include "audio/PitchFinder.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

namespace audio {

namespace {

// A frame lasts at least this long (its length is the next power of two in samples): about
// 30 Hz between bins, and short enough that a dit at 40 wpm fills a frame.
constexpr double kFrameSeconds = 0.03;
constexpr size_t kMinFrames = 8;
// The quantiles of a bin's frame powers taken for the tone on and off: a keyed tone is on in
// more than a twentieth of the frames and off in more than a tenth.
constexpr double kOnQuantile = 0.95;
constexpr double kOffQuantile = 0.1;
// A keyed tone is on at least this many times the median power of the band's bins (noise alone
// reaches about 4.3 at the on quantile), and at least this many times its own off power (a
// steady hum in noise stays within about 1.5).
constexpr double kOnOverFloor = 10;
constexpr double kOnOverOff = 5;
// A tone's bin is the strongest within this many bins either side (the window's main lobe is two
// bins wide each way).
constexpr size_t kPeakBins = 3;

}  // namespace

double Quantile(std::vector<double> values, double q) {
    assert(!values.empty() && "a quantile needs values");
    const size_t k = std::min(values.size() - 1, static_cast<size_t>(q * values.size()));
    std::nth_element(values.begin(), values.begin() + k, values.end());
    return values[k];
}

void Fft(std::vector<std::complex<double>>& data) {
    const size_t n = data.size();
    assert((n & (n - 1)) == 0 && "the transform's size is a power of two");
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(data[i], data[j]);
        }
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2 * std::numbers::pi / static_cast<double>(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t start = 0; start < n; start += len) {
            std::complex<double> w(1, 0);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> a = data[start + k];
                const std::complex<double> b = data[start + k + len / 2] * w;
                data[start + k] = a + b;
                data[start + k + len / 2] = a - b;
                w *= step;
            }
        }
    }
}

TPitchEstimate FindKeyedPitch(std::span<const float> samples, double sampleRate) {
    size_t frame = 1;
    while (static_cast<double>(frame) < sampleRate * kFrameSeconds) {
        frame <<= 1;
    }
    const size_t frames = samples.size() / frame;
    if (frames < kMinFrames) {
        return {};
    }
    const double binHz = sampleRate / static_cast<double>(frame);
    // Some bins either side of the band, so that a tone at its edge can be refined and one beyond
    // it is seen as the stronger neighbour.
    const size_t firstBin = static_cast<size_t>(std::floor(kMinPitchHz / binHz)) - kPeakBins;
    const size_t lastBin =
        std::min(frame / 2 - 1, static_cast<size_t>(kMaxPitchHz / binHz) + kPeakBins + 1);
    const size_t bins = lastBin - firstBin + 1;

    std::vector<double> window(frame);
    for (size_t i = 0; i < frame; ++i) {
        window[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) /
                                         static_cast<double>(frame));
    }
    std::vector<std::vector<double>> power(bins, std::vector<double>(frames));
    std::vector<std::complex<double>> data(frame);
    for (size_t f = 0; f < frames; ++f) {
        for (size_t i = 0; i < frame; ++i) {
            data[i] = samples[f * frame + i] * window[i];
        }
        Fft(data);
        for (size_t b = 0; b < bins; ++b) {
            power[b][f] = std::norm(data[firstBin + b]);
        }
    }
    std::vector<double> on(bins), off(bins), median(bins);
    for (size_t b = 0; b < bins; ++b) {
        on[b] = Quantile(power[b], kOnQuantile);
        off[b] = Quantile(power[b], kOffQuantile);
        median[b] = Quantile(power[b], 0.5);
    }
    const double floor = Quantile(median, 0.5);
    size_t best = 0;
    double bestSpread = 0;
    for (size_t b = 1; b + 1 < bins; ++b) {
        const double hz = static_cast<double>(firstBin + b) * binHz;
        // The bins just outside the band count when the tone lies within half a bin of its edge.
        if (hz < kMinPitchHz - binHz / 2 || hz > kMaxPitchHz + binHz / 2) {
            continue;
        }
        if (on[b] < kOnOverFloor * floor || on[b] < kOnOverOff * off[b]) {
            continue;
        }
        // A tone's own bin has the most power around it: the bins beside a tone below or above
        // the band, or between two steady ones, only catch what spills from them.
        bool peak = true;
        for (size_t n = b > kPeakBins ? b - kPeakBins : 0; n <= std::min(bins - 1, b + kPeakBins);
             ++n) {
            peak = peak && on[n] <= on[b];
        }
        if (!peak) {
            continue;
        }
        if (on[b] - off[b] > bestSpread) {
            bestSpread = on[b] - off[b];
            best = b;
        }
    }
    if (bestSpread <= 0) {
        return {};
    }
    // The peak between bins: a parabola through the logarithms of the three on-powers (exact for
    // the window's main lobe near its top).
    const double l = std::log(std::max(on[best - 1], 1e-30));
    const double c = std::log(on[best]);
    const double r = std::log(std::max(on[best + 1], 1e-30));
    const double denominator = l - 2 * c + r;
    double shift = denominator < 0 ? 0.5 * (l - r) / denominator : 0;
    shift = std::clamp(shift, -0.5, 0.5);
    TPitchEstimate estimate;
    estimate.PitchHz = (static_cast<double>(firstBin + best) + shift) * binHz;
    estimate.Contrast = on[best] / std::max(off[best], 1e-30);
    return estimate;
}

}  // namespace audio
