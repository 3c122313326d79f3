// Number <-> text conversions: exact texts of the general and pattern formats, and the errors.
#include "base/Conversions.h"

#include <gtest/gtest.h>

#include "base/Exceptions.h"

namespace {

std::string ConvertErrorOf(auto&& call) {
    try {
        call();
    } catch (const base::EConvertError& e) {
        return e.Message();
    }
    return "<no error>";
}

TEST(ConversionsTest, IntegersPrintSignedAndUnsignedWidened) {
    EXPECT_EQ(base::IntToStr(-42), "-42");
    EXPECT_EQ(base::IntToStr(0), "0");
    EXPECT_EQ(base::UIntToStr(4294967295u), "4294967295");
    EXPECT_EQ(base::UIntToStr(static_cast<uint32_t>(-1)), "4294967295");
}

TEST(ConversionsTest, StrToIntAcceptsBlanksSignAndHexPrefixes) {
    EXPECT_EQ(base::StrToInt("  123"), 123);
    EXPECT_EQ(base::StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(base::StrToInt("+2147483647"), INT32_MAX);
    EXPECT_EQ(base::StrToInt("$1F"), 31);
    EXPECT_EQ(base::StrToInt("0x10"), 16);
    EXPECT_EQ(base::StrToInt("$FFFFFFFF"), -1);
}

TEST(ConversionsTest, StrToIntRejectsWhatDoesNotFitWithTheExactMessage) {
    EXPECT_EQ(ConvertErrorOf([] { base::StrToInt(""); }), "'' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { base::StrToInt("2147483648"); }),
              "'2147483648' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { base::StrToInt("12 "); }), "'12 ' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { base::StrToInt("1.5"); }), "'1.5' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { base::StrToInt("-"); }), "'-' is not a valid integer value");
}

TEST(ConversionsTest, FloatToStrGivesShortestFifteenDigitGeneralForm) {
    EXPECT_EQ(base::FloatToStr(235.0 / 117.0), "2.00854700854701");
    EXPECT_EQ(base::FloatToStr(63.0 / 54.0), "1.16666666666667");
    EXPECT_EQ(base::FloatToStr(176.0 / 177.0), "0.994350282485876");
    EXPECT_EQ(base::FloatToStr(1234.0), "1234");
    EXPECT_EQ(base::FloatToStr(-0.5), "-0.5");
    EXPECT_EQ(base::FloatToStr(0.0), "0");
    EXPECT_EQ(base::FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(base::FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(base::FloatToStr(1.5e20), "1.5E20");
    EXPECT_EQ(base::FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(base::FloatToStr(0.1 + 0.2), "0.3");
}

TEST(ConversionsTest, FloatTextsFollowTheLocaleSeparator) {
    base::TFormatSettings saved = base::FormatSettings();
    base::FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(base::FloatToStr(2.5), "2,5");
    EXPECT_DOUBLE_EQ(base::StrToFloat("2,5"), 2.5);
    EXPECT_THROW(base::StrToFloat("2.5"), base::EConvertError);
    base::FormatSettings() = saved;
}

TEST(ConversionsTest, StrToFloatParsesAndRejects) {
    EXPECT_DOUBLE_EQ(base::StrToFloat(" 5000 "), 5000.0);
    EXPECT_DOUBLE_EQ(base::StrToFloat("-1.5e3"), -1500.0);
    EXPECT_EQ(ConvertErrorOf([] { base::StrToFloat(""); }),
              "'' is not a valid floating point value");
    EXPECT_EQ(ConvertErrorOf([] { base::StrToFloat("1e"); }),
              "'1e' is not a valid floating point value");
    EXPECT_EQ(ConvertErrorOf([] { base::StrToFloat("abc"); }),
              "'abc' is not a valid floating point value");
}

TEST(ConversionsTest, FormatFloatPatterns) {
    EXPECT_EQ(base::FormatFloat("#,##0.###", 1234.5678), "1,234.568");
    EXPECT_EQ(base::FormatFloat("#,##0.###", 0), "0");
    EXPECT_EQ(base::FormatFloat("#,##0.###", -1234567), "-1,234,567");
    EXPECT_EQ(base::FormatFloat("##0.## %", 100), "100 %");
    EXPECT_EQ(base::FormatFloat("##0.## %", 33.3333), "33.33 %");
    EXPECT_EQ(base::FormatFloat("0.00", 0.125), "0.13");  // halves away from zero
    EXPECT_EQ(base::FormatFloat("0.00", 9.999), "10.00");
    EXPECT_EQ(base::FormatFloat("#.##", 0.5), ".5");
    EXPECT_EQ(base::FormatFloat("0.0E+00", 12345), "1.2E+04");
    EXPECT_EQ(base::FormatFloat("0.0E-00", 0.00012), "1.2E-04");
    EXPECT_EQ(base::FormatFloat("0;(0);'zero'", -5), "(5)");
    EXPECT_EQ(base::FormatFloat("0;(0);'zero'", 0), "zero");
    EXPECT_EQ(base::FormatFloat("0.0", -0.01), "0.0");
}

}  // namespace
