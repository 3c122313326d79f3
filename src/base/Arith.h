// Exact integer and floating arithmetic of the runtime: rounding, truncation, MulDiv and the
// checked divisions that raise the program's own arithmetic errors.
#pragma once

#include <cstdint>

namespace base {

// Nearest integer, halves to the even neighbour. NaN or a value outside the 64-bit range raises
// EInvalidOp.
int64_t Round(double value);

// Cuts off the fraction towards zero. NaN or a value outside the 64-bit range raises EInvalidOp.
int64_t Trunc(double value);

// a * b / c with a 64-bit intermediate, halves rounded away from zero. Gives -1 when c is 0 or the
// result does not fit 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Signed 64-bit division truncating towards zero; a zero divisor raises EDivByZero.
int64_t DivTrunc(int64_t dividend, int64_t divisor);

// Unsigned 32-bit division truncating; a zero divisor raises EDivByZero.
uint32_t DivUnsigned(uint32_t dividend, uint32_t divisor);

// Divides in extended precision and stores the quotient as a 64-bit float. A zero divisor raises
// EZeroDivide, or EInvalidOp when the dividend is zero (or NaN) too; so does any NaN result.
double DivFloat(long double dividend, long double divisor);

}  // namespace base
