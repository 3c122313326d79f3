// Finding the pitch of a keyed tone in a stretch of sound: the frequency whose power comes and
// goes (a steady hum or carrier is there in every frame, noise is nowhere far above its floor).
#pragma once

#include <complex>
#include <span>
#include <vector>

namespace audio {

// The band a Morse tone is looked for in, Hz.
constexpr double kMinPitchHz = 300;
constexpr double kMaxPitchHz = 1500;

struct TPitchEstimate {
    double PitchHz = 0;  // 0: no keyed tone found
    // The tone's power when on over its power when off (the frames' high and low quantiles).
    double Contrast = 0;
};

// Looks for a keyed tone between kMinPitchHz and kMaxPitchHz in samples at sampleRate Hz. Needs
// at least eight frames of about 30 ms; a shorter stretch finds nothing.
TPitchEstimate FindKeyedPitch(std::span<const float> samples, double sampleRate);

// The value below which a share q (0 to 1) of the values lie: the one at index q * size of them
// sorted. values must not be empty.
double Quantile(std::vector<double> values, double q);

// The discrete Fourier transform of data in place (its size a power of two).
void Fft(std::vector<std::complex<double>>& data);

}  // namespace audio
