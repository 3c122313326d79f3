// Exact rounding, truncation, MulDiv and checked divisions.
#include "base/Arith.h"

#include <cmath>
#include <limits>

#include "base/Exceptions.h"

namespace base {
namespace {

// Largest double below 2^63, the bound for conversion to a signed 64-bit integer.
constexpr double kTwoPow63 = 9223372036854775808.0;

void CheckConvertible(double value) {
    if (std::isnan(value) || value >= kTwoPow63 || value < -kTwoPow63) {
        throw EInvalidOp(kSInvalidOp);
    }
}

}  // namespace

int64_t Round(double value) {
    CheckConvertible(value);
    // nearbyint rounds halves to even under the default rounding mode, which the program never
    // changes.
    const double rounded = std::nearbyint(value);
    CheckConvertible(rounded);
    return static_cast<int64_t>(rounded);
}

int64_t Trunc(double value) {
    CheckConvertible(value);
    return static_cast<int64_t>(std::trunc(value));
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) {
        return -1;
    }
    const int64_t product = static_cast<int64_t>(a) * static_cast<int64_t>(b);
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = product < 0
                                   ? static_cast<uint64_t>(0) - static_cast<uint64_t>(product)
                                   : static_cast<uint64_t>(product);
    const uint64_t divisor =
        c < 0 ? static_cast<uint64_t>(0) - static_cast<uint64_t>(static_cast<int64_t>(c))
              : static_cast<uint64_t>(c);
    const uint64_t quotient = (magnitude + divisor / 2) / divisor;
    const int64_t result =
        negative ? -static_cast<int64_t>(quotient) : static_cast<int64_t>(quotient);
    if (result > std::numeric_limits<int32_t>::max() ||
        result < std::numeric_limits<int32_t>::min()) {
        return -1;
    }
    return static_cast<int32_t>(result);
}

int64_t DivTrunc(int64_t dividend, int64_t divisor) {
    if (divisor == 0) {
        throw EDivByZero(kSDivByZero);
    }
    if (divisor == -1) {
        // The one overflowing case wraps, as the processor's division of the low bits would.
        return static_cast<int64_t>(static_cast<uint64_t>(0) - static_cast<uint64_t>(dividend));
    }
    return dividend / divisor;
}

uint32_t DivUnsigned(uint32_t dividend, uint32_t divisor) {
    if (divisor == 0) {
        throw EDivByZero(kSDivByZero);
    }
    return dividend / divisor;
}

double DivFloat(long double dividend, long double divisor) {
    if (divisor == 0.0L) {
        if (dividend == 0.0L || std::isnan(dividend)) {
            throw EInvalidOp(kSInvalidOp);
        }
        throw EZeroDivide(kSZeroDivide);
    }
    const long double quotient = dividend / divisor;
    if (std::isnan(quotient)) {
        throw EInvalidOp(kSInvalidOp);
    }
    return static_cast<double>(quotient);
}

}  // namespace base
