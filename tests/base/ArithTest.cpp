// Rounding, MulDiv and the checked divisions with their exact errors.
#include "base/Arith.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace {

TEST(ArithTest, RoundGoesHalvesToEvenAndTruncCutsTowardsZero) {
    EXPECT_EQ(base::Round(2.5), 2);
    EXPECT_EQ(base::Round(3.5), 4);
    EXPECT_EQ(base::Round(-2.5), -2);
    EXPECT_EQ(base::Round(96.24), 96);
    EXPECT_EQ(base::Trunc(99.9), 99);
    EXPECT_EQ(base::Trunc(-99.9), -99);
    EXPECT_THROW(base::Round(std::nan("")), base::EInvalidOp);
    EXPECT_THROW(base::Trunc(1e300), base::EInvalidOp);
}

TEST(ArithTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(base::MulDiv(8, 96, 72), 11);  // 10.67
    EXPECT_EQ(base::MulDiv(3, 1, 2), 2);     // 1.5 -> 2
    EXPECT_EQ(base::MulDiv(-3, 1, 2), -2);   // -1.5 -> -2
    EXPECT_EQ(base::MulDiv(5, 1, -2), -3);
    EXPECT_EQ(base::MulDiv(65536, 65536, 2), -1);  // does not fit 32 bits
    EXPECT_EQ(base::MulDiv(1, 1, 0), -1);
    EXPECT_EQ(base::MulDiv(100000, 100000, 100000), 100000);  // 64-bit intermediate
}

TEST(ArithTest, CheckedDivisionsRaiseTheRuntimeMessages) {
    EXPECT_EQ(base::DivTrunc(-7, 2), -3);
    try {
        base::DivTrunc(1, 0);
        FAIL();
    } catch (const base::EDivByZero& e) {
        EXPECT_EQ(e.Message(), "Division by zero");
    }
    EXPECT_THROW(base::DivUnsigned(1, 0), base::EDivByZero);
    EXPECT_EQ(base::DivFloat(4000, 40), 100.0);
    try {
        base::DivFloat(1, 0);
        FAIL();
    } catch (const base::EZeroDivide& e) {
        EXPECT_EQ(e.Message(), "Floating point division by zero");
    }
    try {
        base::DivFloat(0, 0);
        FAIL();
    } catch (const base::EInvalidOp& e) {
        EXPECT_EQ(e.Message(), "Invalid floating point operation");
    }
}

TEST(ArithTest, DivFloatDividesInExtendedPrecision) {
    // Quotients worked out apart from the code, with exact fractions: rounded to the 64-bit
    // significand of extended precision (ties to even), then to a double's 53 bits.
    // 235/117 = 2.008547008547..., the worked example's ratio.
    EXPECT_EQ(base::DivFloat(235, 117), 0x1.0118118118118p+1);
    // Quotients whose first rounding lands on a half-way point of the second: a division done
    // directly in doubles gives 0x1.4d8e0fa154ac9p+13 and 0x1.85b2ec38eebb5p+11 instead.
    EXPECT_EQ(base::DivFloat(2326164022.0L, 217933.0L), 0x1.4d8e0fa154ac8p+13);
    EXPECT_EQ(base::DivFloat(1828111913.0L, 586386.0L), 0x1.85b2ec38eebb6p+11);
}

TEST(FormatTest, FillsPlaceholdersInOrder) {
    EXPECT_EQ(base::Format("%s of %s", {std::string("5"), std::string("10")}), "5 of 10");
    EXPECT_EQ(base::Format("List index out of bounds (%d)", {int64_t{-1}}),
              "List index out of bounds (-1)");
    EXPECT_EQ(base::Format("100%%", {}), "100%");
}

}  // namespace
