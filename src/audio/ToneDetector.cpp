// The Morse tone detector: mixing down, a symmetric narrow filter, hysteresis decisions against
// running levels, and each change placed afterwards at the half-height crossing of the filtered
// envelope between levels measured on both sides of it.
#include "audio/ToneDetector.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <string>

#include "audio/AudioError.h"
#include "audio/PitchFinder.h"
#include "base/Conversions.h"

namespace audio {

namespace {

// Sound looked through for a keyed tone before one is found, seconds; without a tone in it the
// search looks again a second later over a longer stretch, up to the longest below, and then
// over the latest stretch of that length. At the end of the sound a shorter stretch is
// searched, down to the shortest below.
constexpr double kSearchSeconds = 2;
constexpr double kLongestSearchSeconds = 6;
constexpr double kShortestSearchSeconds = 0.3;
// The two running averages of the filter, ms: together a kernel of 7 ms, which passes a tone up
// to about 70 Hz off the pitch (a chirp) and blurs an edge little more than its own rise does.
constexpr double kFirstAverageMs = 4;
constexpr double kSecondAverageMs = 3;
// The hysteresis thresholds, as fractions of the tone's amplitude above the noise: key down when
// the envelope passes the upper one, up when it falls below the lower one.
constexpr double kOnFraction = 0.5;
constexpr double kOffFraction = 0.3;
// And at least these many times the noise floor: noise alone passes the upper one in one
// independent average out of about e^8 (a weak tone is then taken from a higher share of its
// amplitude).
constexpr double kOnOverNoise = 8;
constexpr double kOffOverNoise = 3;
// A third running average over the filtered tone, ms (made an odd number of samples, so that its
// delay is whole): the change is first found on this smoother envelope, then on the sharper one.
constexpr double kCoarseAverageMs = 7;
// A level is measured this far from a decision beyond half the filter's kernel (a rise of up to
// 8 ms and the hysteresis' own lateness), ms.
constexpr double kGuardMarginMs = 7;
// The levels at a change are measured over this much sound either side of it, ms.
constexpr double kLevelWindowMs = 150;
// The half-height crossing is looked for this far beyond half the kernel either side of the
// decision, and then this far around the crossing of the smoother envelope, ms.
constexpr double kEdgeMarginMs = 6;
constexpr double kFineMarginMs = 3;
// A change must last this share of the keying's unit, and at least and at most these times, ms.
constexpr double kHoldOfUnit = 0.4;
constexpr double kMinHoldMs = 5;
constexpr double kMaxHoldMs = 50;
// The decisions are taken on the filtered tone averaged over this share of the keying's unit (a
// narrower band where the keying leaves room: a dit's average still reaches its full height and
// a gap's falls to nothing), at most this long, ms.
constexpr double kDecisionOfUnit = 0.8;
constexpr double kMaxDecisionMs = 60;
// The unit taken before the keying shows its own: a dit at 40 wpm, ms.
constexpr double kFirstUnitMs = 30;
// Time constants of the running levels, ms: the levels on and off, and the slow fall of the
// level on while the key is up (so that a tone fading between marks is still seen).
constexpr double kLevelTauMs = 50;
constexpr double kSignalFallTauMs = 1000;
// The noise floor moves by a factor e in this time at most, ms.
constexpr double kNoiseStepTauMs = 300;
// The level on moves this share of the way to each mark's own.
constexpr double kMarkFollow = 0.5;
// A tone is found when its level on is this many times the noise floor, and at least this share
// of the sound's whole power (noise over all the band at 48 kHz and 0 dB in 500 Hz leaves a tone
// about a hundredth; what spills from a tone 500 Hz away, a hundred thousandth).
constexpr double kMinContrast = 4;
constexpr double kMinToneOfSound = 1e-3;
// The off level is the low quantile of the power divided by that quantile of an exponential
// distribution (the power of noise alone): -ln(1 - 0.1).
constexpr double kOffQuantile = 0.1;
constexpr double kOnQuantile = 0.95;
const double kExponentialOffQuantile = -std::log(1 - kOffQuantile);
// The pitch follower moves the mixer by this share of the offset measured over a mark, when the
// offset is under the largest below and was measured over at least the shortest steady part.
constexpr double kFollowGain = 0.5;
constexpr double kMaxFollowHz = 100;
constexpr double kMinFollowMs = 5;
// A set pitch lies between this and this share of the rate.
constexpr double kMinSetPitchHz = 100;
constexpr double kMaxPitchOfRate = 0.4;
// Samples are cut to this many times full scale (far beyond any recording, so that only a wild
// value is cut).
constexpr float kLargestSample = 10;
// The oscillator is brought back to unit length this often, samples.
constexpr uint32_t kNormaliseEvery = 1024;

int64_t SamplesOf(double ms, double rate) {
    return std::max<int64_t>(1, std::llround(ms * rate / 1000));
}

}  // namespace

std::complex<double> TToneDetector::TRunningAverage::Step(std::complex<double> in) {
    Sum += in - Line[Next];
    Line[Next] = in;
    Next = Next + 1 == Line.size() ? 0 : Next + 1;
    return Sum / static_cast<double>(Line.size());
}

TToneDetector::TToneDetector(const TToneDetectorOptions& options)
    : m_rate(options.SampleRate), m_setPitch(options.PitchHz) {
    if (!(m_rate >= kMinSampleRate && m_rate <= kMaxSampleRate)) {
        throw EAudioError("the sample rate " + base::FloatToStr(m_rate) +
                          " Hz is outside the 8000 to 192000 Hz a tone can be found in");
    }
    if (!(m_setPitch == 0 ||
          (m_setPitch >= kMinSetPitchHz && m_setPitch <= kMaxPitchOfRate * m_rate))) {
        throw EAudioError("the pitch " + base::FloatToStr(m_setPitch) + " Hz is outside 100 to " +
                          base::FloatToStr(kMaxPitchOfRate * m_rate) + " Hz at this sample rate");
    }
    const int64_t first = SamplesOf(kFirstAverageMs, m_rate);
    const int64_t second = SamplesOf(kSecondAverageMs, m_rate);
    m_first.Line.assign(static_cast<size_t>(first), {0, 0});
    m_second.Line.assign(static_cast<size_t>(second), {0, 0});
    m_support = first + second - 1;
    const int64_t coarse = SamplesOf(kCoarseAverageMs, m_rate) / 2 * 2 + 1;
    m_coarse.Line.assign(static_cast<size_t>(coarse), {0, 0});
    m_coarseShift = (coarse - 1) / 2;
    m_unitSamples = kFirstUnitMs * m_rate / 1000;
    m_unitSamplesSeen.fill(m_unitSamples);
    m_wantedDecisionLength = std::llround(kDecisionOfUnit * m_unitSamples);
    m_decisionLength = m_wantedDecisionLength;
    m_delay = static_cast<double>(first - 1) / 2 + static_cast<double>(second - 1) / 2;
    m_guard = m_support / 2 + SamplesOf(kGuardMarginMs, m_rate);
    // Kept: a change is placed a level window and a guard after it, and its levels reach a
    // window before it.
    const int64_t kept =
        PlacingLag() + SamplesOf(kLevelWindowMs, m_rate) + m_guard + m_support + coarse;
    size_t capacity = 1;
    while (static_cast<int64_t>(capacity) < kept) {
        capacity <<= 1;
    }
    m_power.assign(capacity, 0);
    m_coarsePower.assign(capacity, 0);
    m_value.assign(capacity, {0, 0});
    m_decisionValue.assign(capacity, {0, 0});
    m_mask = capacity - 1;
}

double TToneDetector::SignalDb() const {
    // The filtered tone of amplitude a has power a^2 / 4.
    return m_locked ? 10 * std::log10(4 * m_signal) : -std::numeric_limits<double>::infinity();
}

double TToneDetector::NoiseDb() const {
    return m_locked ? 10 * std::log10(4 * m_noise) : -std::numeric_limits<double>::infinity();
}

void TToneDetector::SetPitch(double hz) {
    m_pitch = hz;
    const double turn = -2 * std::numbers::pi * hz / m_rate;
    m_step = {std::cos(turn), std::sin(turn)};
}

void TToneDetector::Feed(std::span<const float> input) {
    if (m_finished) {
        throw std::logic_error("sound fed to a tone detector after its end");
    }
    // A sample that is no number (a float file may hold them) is silence, and one far beyond
    // full scale is cut, so that neither can spoil the running sums for the rest of the sound.
    m_sane.resize(input.size());
    for (size_t i = 0; i < input.size(); ++i) {
        m_sane[i] =
            std::isfinite(input[i]) ? std::clamp(input[i], -kLargestSample, kLargestSample) : 0.0f;
    }
    std::span<const float> samples(m_sane);
    const size_t second = static_cast<size_t>(m_rate);
    const size_t longest = static_cast<size_t>(kLongestSearchSeconds * m_rate);
    if (m_nextSearch == 0) {
        m_nextSearch = static_cast<size_t>(kSearchSeconds * m_rate);
    }
    while (!samples.empty() && !m_locked) {
        const size_t take = std::min(samples.size(), m_nextSearch - m_pending.size());
        m_pending.insert(m_pending.end(), samples.begin(),
                         samples.begin() + static_cast<ptrdiff_t>(take));
        samples = samples.subspan(take);
        m_fed += static_cast<int64_t>(take);
        if (m_pending.size() < m_nextSearch) {
            break;
        }
        if (TryLock(m_pending)) {
            m_pending.clear();
            m_pending.shrink_to_fit();
            break;
        }
        // Looked again with a second more, up to the longest stretch; beyond it the oldest second
        // is given up.
        if (m_pending.size() + second > longest) {
            m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(second));
            m_pendingStart += static_cast<int64_t>(second);
        }
        m_nextSearch = m_pending.size() + second;
    }
    if (m_locked) {
        for (const float sample : samples) {
            Process(sample);
        }
        m_fed += static_cast<int64_t>(samples.size());
    }
}

bool TToneDetector::TryLock(std::span<const float> samples) {
    double pitch = m_setPitch;
    if (pitch == 0) {
        pitch = FindKeyedPitch(samples, m_rate).PitchHz;
        if (pitch == 0) {
            return false;
        }
    }
    // The levels on and off at this pitch, through the filter itself.
    SetPitch(pitch);
    TRunningAverage first{std::vector<std::complex<double>>(m_first.Line.size()), {0, 0}, 0};
    TRunningAverage second{std::vector<std::complex<double>>(m_second.Line.size()), {0, 0}, 0};
    // The decisions' average too, as the levels are kept for the decisions.
    TRunningAverage decision{
        std::vector<std::complex<double>>(static_cast<size_t>(m_decisionLength)), {0, 0}, 0};
    std::complex<double> osc{1, 0};
    std::vector<double> powers;
    powers.reserve(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const std::complex<double> y =
            decision.Step(second.Step(first.Step(static_cast<double>(samples[i]) * osc)));
        osc *= m_step;
        if ((i & (kNormaliseEvery - 1)) == 0) {
            osc /= std::abs(osc);
        }
        if (static_cast<int64_t>(i) >= m_support + m_decisionLength) {
            powers.push_back(std::norm(y));
        }
    }
    if (powers.empty()) {
        return false;
    }
    const double noise = Quantile(powers, kOffQuantile) / kExponentialOffQuantile;
    const double signal = Quantile(powers, kOnQuantile);
    double meanSquare = 0;
    for (const float sample : samples) {
        meanSquare += static_cast<double>(sample) * sample;
    }
    meanSquare /= static_cast<double>(samples.size());
    if (!(signal > 0) || signal < kMinContrast * noise || signal < kMinToneOfSound * meanSquare) {
        return false;
    }
    // A first run through the stretch learns the keying's unit and follows the pitch; the second
    // one, which counts, starts from them.
    m_locked = true;
    StartRun(m_pendingStart, signal, noise);
    for (const float sample : samples) {
        Process(sample);
    }
    StartRun(m_pendingStart, signal, noise);
    for (const float sample : samples) {
        Process(sample);
    }
    return true;
}

void TToneDetector::StartRun(int64_t start, double signal, double noise) {
    m_lockStart = start;
    m_now = start - 1;
    SetPitch(m_pitch);
    m_osc = {1, 0};
    m_sinceNormalised = 0;
    for (TRunningAverage* average : {&m_first, &m_second, &m_coarse}) {
        std::fill(average->Line.begin(), average->Line.end(), std::complex<double>(0, 0));
        average->Sum = {0, 0};
        average->Next = 0;
    }
    m_decisionLength = m_wantedDecisionLength;
    m_decisionSum = {0, 0};
    m_signal = signal;
    m_noise = noise;
    m_rawDownAt = start;
    m_rawDown = false;
    m_confirmedDown = false;
    m_lastRawChange = start;
    m_candidate = -1;
    m_turn = {0, 0};
    m_turnCount = 0;
    m_decisions.clear();
    m_nextToPlace = 0;
    m_downBeforeKept = false;
    m_lastPlaced = -1;
    m_changes.clear();
}

int64_t TToneDetector::PlacingLag() const {
    // A change is placed once every change within a level window after it has been decided: a
    // decision comes up to an average's length and a hold after the change.
    return SamplesOf(kLevelWindowMs, m_rate) + m_guard + SamplesOf(kMaxDecisionMs, m_rate) +
           SamplesOf(kMaxHoldMs, m_rate) + 1;
}

int64_t TToneDetector::OldestHeld() const {
    return std::max(m_lockStart, m_now - static_cast<int64_t>(m_mask));
}

void TToneDetector::Process(float sample) {
    const int64_t n = ++m_now;
    const std::complex<double> y = m_second.Step(m_first.Step(static_cast<double>(sample) * m_osc));
    m_osc *= m_step;
    if (++m_sinceNormalised == kNormaliseEvery) {
        m_osc /= std::abs(m_osc);
        m_sinceNormalised = 0;
    }
    const double power = std::norm(y);
    m_power[static_cast<size_t>(n) & m_mask] = static_cast<float>(power);
    m_coarsePower[static_cast<size_t>(n) & m_mask] =
        static_cast<float>(std::norm(m_coarse.Step(y)));
    m_value[static_cast<size_t>(n) & m_mask] = std::complex<float>(y);
    // The sum adds the value as kept, so that taking it out again leaves nothing behind.
    m_decisionSum += std::complex<double>(m_value[static_cast<size_t>(n) & m_mask]);
    if (n - m_decisionLength >= m_lockStart) {
        m_decisionSum -= ValueAt(n - m_decisionLength);
    }
    const std::complex<double> average = m_decisionSum / static_cast<double>(m_decisionLength);
    m_decisionValue[static_cast<size_t>(n) & m_mask] = std::complex<float>(average);
    Decide(std::norm(average));
    const int64_t lag = PlacingLag();
    while (m_nextToPlace < m_decisions.size() && n - m_decisions[m_nextToPlace].Sample >= lag) {
        Place(m_nextToPlace++);
    }
    // Decisions older than the sound kept are dropped, all but the one before the next to place.
    while (m_nextToPlace >= 2 && m_decisions.front().Sample < OldestHeld()) {
        m_downBeforeKept = m_decisions.front().Down;
        m_decisions.pop_front();
        --m_nextToPlace;
    }
}

void TToneDetector::MeasureMark() {
    // The averages that covered the mark alone: from half an average after the press was seen
    // (half the average was on by then) to the share of one before the release was seen that
    // was off by then, each less half the filter's kernel, which smears the edges.
    const int64_t from = std::max(m_rawDownAt + m_decisionLength / 2 + m_support / 2, OldestHeld());
    const int64_t to = m_now -
                       std::llround((1 - kOffFraction) * static_cast<double>(m_decisionLength)) -
                       m_support / 2;
    double level = 0;
    double follow = kMarkFollow;
    if (to >= from) {
        for (int64_t m = from; m <= to; ++m) {
            level += std::norm(m_decisionValue[static_cast<size_t>(m) & m_mask]);
        }
        level /= static_cast<double>(to - from + 1);
    } else {
        // Where the level was far off, the press is seen late and the release early, and no
        // average is known to have covered the mark alone: its highest one stands for it (noise
        // lifts it a little), followed half as far.
        for (int64_t m = std::max(m_rawDownAt, OldestHeld()); m <= m_now; ++m) {
            level = std::max(
                level,
                std::norm(std::complex<double>(m_decisionValue[static_cast<size_t>(m) & m_mask])));
        }
        follow /= 2;
    }
    // The level on follows each mark at once (a fading tone may have fallen or risen by a few dB
    // since the last one).
    m_signal += follow * (level - m_signal);
}

void TToneDetector::Decide(double power) {
    const double tone = std::max(m_signal - m_noise, std::numeric_limits<double>::min());
    const double on = std::max(kOnFraction * kOnFraction * tone + m_noise, kOnOverNoise * m_noise);
    const double off =
        std::max(kOffFraction * kOffFraction * tone + m_noise, kOffOverNoise * m_noise);
    if (m_rawDown ? power < off : power > on) {
        m_rawDown = !m_rawDown;
        if (m_rawDown) {
            m_rawDownAt = m_now;
        } else {
            MeasureMark();
        }
        // The average's amplitude passes the upper threshold when that share of the samples it
        // covers are on, and the lower one when that share are still on: so the change lies that
        // far back.
        const double share = m_rawDown ? kOnFraction : 1 - kOffFraction;
        int64_t change = m_now - std::llround(share * static_cast<double>(m_decisionLength));
        // Never before a change already decided (a level far off may make the share wrong).
        change =
            std::max(change, m_decisions.empty() ? m_lockStart : m_decisions.back().Sample + 1);
        m_lastRawChange = change;
        m_candidate = m_rawDown != m_confirmedDown ? change : -1;
    }
    SetDecisionLength(m_wantedDecisionLength);
    const int64_t n = m_now;
    const int64_t hold = std::clamp(static_cast<int64_t>(kHoldOfUnit * m_unitSamples),
                                    SamplesOf(kMinHoldMs, m_rate), SamplesOf(kMaxHoldMs, m_rate));
    if (m_candidate >= 0 && n - m_candidate >= hold) {
        Commit(m_candidate, m_rawDown);
        m_candidate = -1;
    }
    // The running levels, from the decisions' average as it was an average's length and a guard
    // ago, when it covered only the present state from a guard after its last change (a change
    // after it would have been seen by now); the pitch follower from the filtered tone there.
    const int64_t steady = n - m_guard - m_decisionLength;
    if (steady - m_decisionLength - m_guard < m_lastRawChange || steady <= m_lockStart) {
        return;
    }
    const double alpha = 1000 / (kLevelTauMs * m_rate);
    const std::complex<double> average(m_decisionValue[static_cast<size_t>(steady) & m_mask]);
    const double value = std::norm(average);
    if (m_rawDown) {
        m_signal += alpha * (value - m_signal);
        m_turn += average * std::conj(std::complex<double>(
                                m_decisionValue[static_cast<size_t>(steady - 1) & m_mask]));
        ++m_turnCount;
    } else {
        // The floor follows the median of the power (ln 2 of its mean, for noise alone) by
        // equal steps up and down: a mark not taken moves it no faster than quiet does, so that
        // it never rises to the marks.
        const double step = 1000 / (kNoiseStepTauMs * m_rate);
        m_noise *= value > m_noise * std::numbers::ln2 ? 1 + step : 1 - step;
        const double fall = 1000 / (kSignalFallTauMs * m_rate);
        m_signal *= 1 - fall;
    }
}

void TToneDetector::SetDecisionLength(int64_t samples) {
    // Only a change of a tenth or more, each one sums the samples again; and only once the average
    // would cover the present state alone, so that the change decides nothing by itself.
    if (std::abs(samples - m_decisionLength) * 10 < m_decisionLength ||
        m_now - samples - m_support < m_lastRawChange) {
        return;
    }
    m_decisionLength = samples;
    m_decisionSum = 0;
    for (int64_t m = std::max(m_lockStart, m_now - samples + 1); m <= m_now; ++m) {
        m_decisionSum += ValueAt(m);
    }
}

void TToneDetector::FollowUnit(double sample) {
    m_unitSamplesSeen[m_nextUnitSample] = sample;
    m_nextUnitSample = (m_nextUnitSample + 1) % m_unitSamplesSeen.size();
    std::array<double, kUnitSamples> sorted = m_unitSamplesSeen;
    std::nth_element(sorted.begin(), sorted.begin() + kUnitSamples / 2, sorted.end());
    m_unitSamples = sorted[kUnitSamples / 2];
    m_wantedDecisionLength = std::clamp<int64_t>(std::llround(kDecisionOfUnit * m_unitSamples), 1,
                                                 SamplesOf(kMaxDecisionMs, m_rate));
}

void TToneDetector::Commit(int64_t sample, bool down) {
    if (!m_decisions.empty()) {
        const double length = static_cast<double>(sample - m_decisions.back().Sample);
        if (length < 2 * m_unitSamples) {
            // A dit, or the gap between the elements of a character.
            FollowUnit(length);
        } else if (!down) {
            // A dah; the longer gaps say too little of the unit.
            FollowUnit(length / 3);
        }
    }
    if (down) {
        m_turn = {0, 0};
        m_turnCount = 0;
    } else if (!m_decisions.empty()) {
        if (m_turnCount >= SamplesOf(kMinFollowMs, m_rate)) {
            const double offsetHz = std::arg(m_turn) * m_rate / (2 * std::numbers::pi);
            if (std::abs(offsetHz) < kMaxFollowHz) {
                SetPitch(std::clamp(m_pitch + kFollowGain * offsetHz, kMinSetPitchHz,
                                    kMaxPitchOfRate * m_rate));
            }
        }
    }
    m_confirmedDown = down;
    m_decisions.push_back({sample, down});
}

void TToneDetector::Place(size_t index) {
    const TDecision decision = m_decisions[index];
    const int64_t c = decision.Sample;
    const int64_t oldest = OldestHeld();
    const int64_t n = m_now;

    // The levels on and off around the change, where the key was steady by the decisions, on the
    // sharper envelope and on the smoother one (whose sample m + shift stands for m).
    const int64_t window = SamplesOf(kLevelWindowMs, m_rate);
    const int64_t from = std::max(c - window, oldest);
    const int64_t to = std::min(c + window, n - m_coarseShift);
    constexpr int64_t kFar = std::numeric_limits<int64_t>::max() / 4;
    size_t k = 0;
    bool down = m_downBeforeKept;
    double on = 0, off = 0, coarseOn = 0, coarseOff = 0;
    int64_t onCount = 0, offCount = 0, coarseOnCount = 0, coarseOffCount = 0;
    for (int64_t m = from; m <= to; ++m) {
        while (k < m_decisions.size() && m_decisions[k].Sample <= m) {
            down = m_decisions[k++].Down;
        }
        const int64_t previous = k > 0 ? m_decisions[k - 1].Sample : -kFar;
        const int64_t next = k < m_decisions.size() ? m_decisions[k].Sample : kFar;
        const int64_t distance = std::min(m - previous, next - m);
        if (distance <= m_guard) {
            continue;
        }
        (down ? on : off) += PowerAt(m);
        ++(down ? onCount : offCount);
        if (distance > m_guard + m_coarseShift) {
            (down ? coarseOn : coarseOff) += CoarsePowerAt(m + m_coarseShift);
            ++(down ? coarseOnCount : coarseOffCount);
        }
    }
    const int64_t enough = SamplesOf(2, m_rate);
    auto mean = [&](double sum, int64_t count, double otherwise) {
        return count >= enough ? sum / static_cast<double>(count) : otherwise;
    };
    // Half the tone's amplitude, with the noise's power added as it adds to the envelope.
    auto halfHeight = [](double signal, double noise) {
        return std::max(signal - noise, 0.0) / 4 + noise;
    };
    const double half = halfHeight(mean(on, onCount, m_signal), mean(off, offCount, m_noise));
    const double coarseHalf = halfHeight(mean(coarseOn, coarseOnCount, m_signal),
                                         mean(coarseOff, coarseOffCount, m_noise));

    // The samples above half height in a stretch around the decision (bounded halfway to its
    // neighbours) say where the envelope crossed it, even where noise crosses it back and forth:
    // first on the smoother envelope in a wide stretch, as far as the decision may be off, then
    // on the sharper one in a narrow stretch around that.
    int64_t low = oldest + 1;
    int64_t high = n - m_coarseShift;
    if (index > 0) {
        low = std::max(low, (m_decisions[index - 1].Sample + c) / 2 + 1);
    }
    if (index + 1 < m_decisions.size()) {
        high = std::min(high, (c + m_decisions[index + 1].Sample) / 2);
    }
    auto crossing = [&](int64_t centre, int64_t reach, bool coarse) {
        const int64_t a = std::max(centre - reach, low);
        const int64_t b = std::min(centre + reach, high);
        int64_t above = 0;
        for (int64_t m = a; m <= b; ++m) {
            above += (coarse ? CoarsePowerAt(m + m_coarseShift) > coarseHalf : PowerAt(m) > half);
        }
        // The first sample on the new side.
        return std::clamp(decision.Down ? b + 1 - above : a + above, a, std::max(a, b));
    };
    const int64_t edge = m_support / 2 + m_coarseShift + SamplesOf(kEdgeMarginMs, m_rate);
    const int64_t first = crossing(crossing(c, edge + m_decisionLength, true),
                                   m_support / 2 + SamplesOf(kFineMarginMs, m_rate), false);
    // The crossing lies between the first sample on the new side and the one before, where the
    // amplitude passes half height (or halfway between them when noise bends it).
    const double before = std::sqrt(static_cast<double>(PowerAt(first - 1)));
    const double after = std::sqrt(static_cast<double>(PowerAt(first)));
    const double level = std::sqrt(half);
    double fraction = 0.5;
    if ((before - level) * (after - level) <= 0 && before != after) {
        fraction = std::clamp((level - before) / (after - before), 0.0, 1.0);
    }
    double sample = static_cast<double>(first - 1) + fraction - m_delay;
    sample = std::max({sample, 0.0, m_lastPlaced + 1});
    m_lastPlaced = sample;
    m_changes.push_back({sample, decision.Down});
}

void TToneDetector::Finish() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    if (!m_locked && static_cast<double>(m_pending.size()) >= kShortestSearchSeconds * m_rate) {
        TryLock(m_pending);
    }
    m_pending.clear();
    if (!m_locked) {
        return;
    }
    const int64_t hold = std::clamp(static_cast<int64_t>(kHoldOfUnit * m_unitSamples),
                                    SamplesOf(kMinHoldMs, m_rate), SamplesOf(kMaxHoldMs, m_rate));
    if (m_candidate >= 0 && m_now - m_candidate >= hold) {
        Commit(m_candidate, m_rawDown);
        m_candidate = -1;
    }
    while (m_nextToPlace < m_decisions.size()) {
        Place(m_nextToPlace++);
    }
}

std::vector<TKeyChange> TToneDetector::TakeChanges() {
    std::vector<TKeyChange> changes;
    changes.swap(m_changes);
    return changes;
}

}  // namespace audio
