// An axis' value-to-pixel rule mapping many values at once: every value lands on the pixel that
// mapping it alone gives, also on rounding ties, next to them, far out and for values that are
// no numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "chart/engine/Axis.h"

namespace chart {
namespace {

// A linear mapping from minimum .. minimum + range onto length pixels from origin.
TPixelMapping Linear(double minimum, double range, int32_t length, int32_t origin, int32_t sign) {
    TPixelMapping m;
    m.Minimum = minimum;
    m.Maximum = minimum + range;
    m.Range = range;
    m.Length = length;
    m.Scale = range == 0 ? 0 : length / range;
    m.Origin = origin;
    m.Sign = sign;
    m.Centre = origin + sign * length / 2;
    return m;
}

// Maps the values all at once and expects each value's own pixel.
void ExpectEachAlone(const TPixelMapping& m, const std::vector<double>& values,
                     const std::string& what) {
    std::vector<int32_t> pixels(values.size(), -12345);
    m.Pixels(values, pixels);
    for (size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(pixels[i], m.Pixel(values[i]))
            << what << ": value " << values[i] << " at " << i << " of " << values.size();
    }
}

TEST(PixelMappingTest, TiesRoundToEvenPixelsAsWhenMappedAlone) {
    // Two values per pixel: every odd value lies exactly half-way between two pixels.
    const TPixelMapping m = Linear(0, 1400, 700, 30, 1);
    std::vector<double> values;
    for (int v = 0; v <= 1400; ++v) {
        values.push_back(v);
        values.push_back(std::nextafter(static_cast<double>(v), 0.0));
        values.push_back(std::nextafter(static_cast<double>(v), 2000.0));
    }
    ExpectEachAlone(m, values, "ties");
    // Hand-computed: 1 -> 0.5 -> 0, 3 -> 1.5 -> 2, 5 -> 2.5 -> 2 (even), from pixel 30.
    std::vector<int32_t> pixels(3);
    m.Pixels(std::vector<double>{1, 3, 5}, pixels);
    EXPECT_EQ(pixels, (std::vector<int32_t>{30, 32, 32}));
}

TEST(PixelMappingTest, SeededValuesMapAsWhenMappedAlone) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 300; ++trial) {
        const double minimum = std::ldexp(static_cast<double>(random() % 2001) - 1000.0,
                                          static_cast<int>(random() % 40) - 20);
        const double range = std::ldexp(1.0 + random() % 997, static_cast<int>(random() % 40) - 20);
        const int32_t length = 1 + static_cast<int32_t>(random() % 2000);
        const int32_t origin = static_cast<int32_t>(random() % 1000);
        const int32_t sign = random() % 2 == 0 ? 1 : -1;
        const TPixelMapping m = Linear(minimum, range, length, origin, sign);
        std::vector<double> values;
        const size_t count = 1 + random() % 64;  // odd counts leave a last value over
        for (size_t i = 0; i < count; ++i) {
            switch (random() % 5) {
                case 0:  // on a half pixel exactly, as far as doubles go
                    values.push_back(minimum + (static_cast<double>(random() % (2 * length)) + 1) *
                                                   0.5 * range / length);
                    break;
                case 1:  // repeated
                    values.push_back(values.empty() ? minimum : values.back());
                    break;
                case 2:  // far beyond the range
                    values.push_back(minimum + range * 1e9 * (random() % 2 == 0 ? 1 : -1));
                    break;
                default:
                    values.push_back(minimum + range * (random() % 100001) / 50000.0 - range / 2);
                    break;
            }
        }
        ExpectEachAlone(m, values, "trial " + std::to_string(trial));
    }
}

// Long series with a tie here and there (so some stretches are mapped again and most are not),
// odd lengths, a tie as the very first and the very last value.
TEST(PixelMappingTest, LongSeriesWithScatteredTiesMapAsWhenMappedAlone) {
    const double minimum = 0.1;
    const double range = 1000.3;
    const int32_t length = 733;
    const TPixelMapping m = Linear(minimum, range, length, 7, -1);
    std::mt19937 random(77);
    for (size_t count : {129u, 130u, 1000u, 4097u}) {
        std::vector<double> values;
        for (size_t i = 0; i < count; ++i) {
            const auto pixel = static_cast<double>(random() % length);
            double value = minimum + (pixel + (random() % 80) / 100.0) * range / length;
            if (i == 0 || i + 1 == count || random() % 150 == 0) {
                // On a half pixel as far as doubles go, or a hair to either side of it.
                const double half = minimum + (pixel + 0.5) * range / length;
                const double sides[3] = {half, 0, 2000};
                value = std::nextafter(half, sides[random() % 3]);
            }
            values.push_back(value);
        }
        ExpectEachAlone(m, values, std::to_string(count) + " values");
    }
}

TEST(PixelMappingTest, NoNumbersAndEmptyRangesMapAsWhenMappedAlone) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> values = {0, nan, 1, inf, -inf, 2, 3, nan, 4};
    ExpectEachAlone(Linear(0, 4, 200, 10, -1), values, "linear");
    ExpectEachAlone(Linear(5, 0, 200, 10, 1), values, "empty range");
    TPixelMapping logarithmic = Linear(0, std::log(1000.0), 300, 5, 1);
    logarithmic.Logarithmic = true;
    logarithmic.Scale = 0;
    ExpectEachAlone(logarithmic, {1, 10, 100, 0, -5, nan, 1000, 1e6}, "logarithmic");
}

}  // namespace
}  // namespace chart
