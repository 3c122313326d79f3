// Number <-> text conversions with the runtime's exact formats and messages.
#include "base/Conversions.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "base/Exceptions.h"
#include "base/FalseWarnings.h"
#include "base/Format.h"

namespace base {
namespace {

// Significant digits of the general format and of the pattern formats' rounding.
constexpr int kSignificantDigits = 15;
// The general format turns scientific below 1E-4 and from 10^15 on.
constexpr int kLowestFixedExponent = -4;

[[noreturn]] void ThrowBadInteger(std::string_view text) {
    throw EConvertError(Format(kSInvalidInteger, {std::string(text)}));
}

[[noreturn]] void ThrowBadFloat(std::string_view text) {
    throw EConvertError(Format(kSInvalidFloat, {std::string(text)}));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A finite, non-negative value as `count` significant digits d1 d2 ... with value =
// d1.d2d3... x 10^exponent; zero gives all zeros and exponent 0.
struct TDecimalDigits {
    std::string Digits;
    int Exponent = 0;
};

TDecimalDigits ToDecimalDigits(double magnitude, int count) {
    TDecimalDigits result;
    if (magnitude == 0.0) {
        result.Digits.assign(static_cast<size_t>(count), '0');
        return result;
    }
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, count - 1);
    (void)ec;
    const std::string_view text(buffer, static_cast<size_t>(end - buffer));
    const size_t ePos = text.find('e');
    for (size_t i = 0; i < ePos; ++i) {
        if (text[i] != '.') {
            result.Digits += text[i];
        }
    }
    result.Exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    return result;
}

std::string StripTrailingZeros(std::string digits) {
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    return digits;
}

// GCC 12 at -O3 raises its false -Wrestrict on the assignments of "0" here.
KEYVET_FALSE_RESTRICT_BEGIN
// Rounds the digits of `d` (value = d1.d2... x 10^Exponent) half away from zero so that no digit
// is left below the 10^-decimals place; returns the integer and fraction digit strings.
void RoundToDecimals(TDecimalDigits d, int decimals, std::string& intPart, std::string& fraction) {
    const int keep = d.Exponent + 1 + decimals;  // digits that stay significant
    if (keep < 0) {
        d.Digits = "0";
        d.Exponent = 0;
    } else if (keep < static_cast<int>(d.Digits.size())) {
        const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
        d.Digits.resize(static_cast<size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.Digits[static_cast<size_t>(i)] == '9') {
                d.Digits[static_cast<size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++d.Digits[static_cast<size_t>(i)];
            } else {
                d.Digits.insert(d.Digits.begin(), '1');
                ++d.Exponent;
            }
        }
        if (d.Digits.empty()) {
            d.Digits = "0";
            d.Exponent = 0;
        }
    }
    intPart.clear();
    fraction.clear();
    for (int pos = d.Exponent; pos >= 0; --pos) {
        const int index = d.Exponent - pos;
        intPart +=
            index < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<size_t>(index)] : '0';
    }
    for (int k = 1; k <= decimals; ++k) {
        const int index = d.Exponent + k;
        fraction += (index >= 0 && index < static_cast<int>(d.Digits.size()))
                        ? d.Digits[static_cast<size_t>(index)]
                        : '0';
    }
    const size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
}
KEYVET_FALSE_RESTRICT_END

// One section of a pattern, analysed.
struct TPatternSection {
    std::string_view Text;
    int IntZeros = 0;    // required integer digits
    int FracZeros = 0;   // required decimals
    int FracHashes = 0;  // optional decimals
    bool Thousands = false;
    char ExpChar = 0;  // 'E' or 'e' when scientific
    char ExpSign = 0;  // '+' or '-'
    int ExpZeros = 0;  // required exponent digits
};

TPatternSection AnalyseSection(std::string_view text) {
    TPatternSection s;
    s.Text = text;
    bool afterPoint = false;
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                (c == '0' ? s.FracZeros : s.FracHashes)++;
            } else if (c == '0') {
                ++s.IntZeros;
            }
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            s.Thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            s.ExpChar = c;
            s.ExpSign = text[i + 1];
            size_t j = i + 2;
            while (j < text.size() && text[j] == '0') {
                ++s.ExpZeros;
                ++j;
            }
            break;
        }
    }
    return s;
}

std::vector<std::string_view> SplitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    char quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

std::string GroupThousands(const std::string& digits, char separator) {
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        out += digits[i];
        const size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) {
            out += separator;
        }
    }
    return out;
}

// The number part of a section for a non-negative magnitude.
std::string FormatNumber(const TPatternSection& s, double magnitude) {
    const TFormatSettings& fs = FormatSettings();
    const int decimals = s.FracZeros + s.FracHashes;
    std::string intPart;
    std::string fraction;
    std::string exponentText;
    TDecimalDigits digits = ToDecimalDigits(magnitude, kSignificantDigits);
    if (s.ExpChar != 0) {
        // Scientific: as many integer digits as the pattern has integer placeholders (one at
        // least), the exponent adjusted to match.
        const int intDigits = std::max(1, s.IntZeros);
        int exponent = magnitude == 0.0 ? 0 : digits.Exponent - (intDigits - 1);
        TDecimalDigits mantissa = digits;
        mantissa.Exponent = magnitude == 0.0 ? 0 : intDigits - 1;
        RoundToDecimals(mantissa, decimals, intPart, fraction);
        if (static_cast<int>(intPart.size()) > intDigits) {  // rounding carried into a new digit
            mantissa.Exponent -= 1;
            exponent += 1;
            RoundToDecimals(mantissa, decimals, intPart, fraction);
        }
        std::string expDigits = std::to_string(exponent < 0 ? -exponent : exponent);
        while (static_cast<int>(expDigits.size()) < s.ExpZeros) {
            expDigits.insert(expDigits.begin(), '0');
        }
        exponentText += s.ExpChar;
        if (exponent < 0) {
            exponentText += '-';
        } else if (s.ExpSign == '+') {
            exponentText += '+';
        }
        exponentText += expDigits;
    } else {
        RoundToDecimals(digits, decimals, intPart, fraction);
    }
    while (static_cast<int>(intPart.size()) < s.IntZeros) {
        intPart.insert(intPart.begin(), '0');
    }
    while (static_cast<int>(fraction.size()) > s.FracZeros && fraction.back() == '0') {
        fraction.pop_back();
    }
    std::string out = s.Thousands ? GroupThousands(intPart, fs.ThousandSeparator) : intPart;
    if (!fraction.empty()) {
        out += fs.DecimalSeparator;
        out += fraction;
    }
    return out + exponentText;
}

bool IsAllZero(const std::string& number) {
    for (const char c : number) {
        if (c >= '1' && c <= '9') {
            return false;
        }
        if (c == 'E' || c == 'e') {
            break;
        }
    }
    return true;
}

// Writes the section with the number placed at its first digit placeholder.
std::string ApplySection(const TPatternSection& s, const std::string& number) {
    std::string out;
    bool placed = false;
    char quote = 0;
    const std::string_view text = s.Text;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                out += c;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '0' || c == '#' || c == '.' || c == ',') {
            if (!placed) {
                out += number;
                placed = true;
            }
        } else if ((c == 'E' || c == 'e') && s.ExpChar != 0 && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            i += 1;
            while (i + 1 < text.size() && text[i + 1] == '0') {
                ++i;
            }
        } else {
            out += c;
        }
    }
    if (!placed) {
        out += number;
    }
    return out;
}

}  // namespace

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

void LoadFormatSettingsFromLocale() {
    locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        return;
    }
    const locale_t previous = uselocale(locale);
    const lconv* conv = localeconv();
    if (conv->decimal_point != nullptr && conv->decimal_point[0] != '\0' &&
        conv->decimal_point[1] == '\0') {
        FormatSettings().DecimalSeparator = conv->decimal_point[0];
    }
    if (conv->thousands_sep != nullptr && conv->thousands_sep[0] != '\0' &&
        conv->thousands_sep[1] == '\0') {
        FormatSettings().ThousandSeparator = conv->thousands_sep[0];
    }
    uselocale(previous);
    freelocale(locale);
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

std::string UIntToStr(uint32_t value) {
    return std::to_string(static_cast<uint64_t>(value));
}

int32_t StrToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) {
        ThrowBadInteger(text);
    }
    uint64_t magnitude = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFull : 0x80000000ull;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            ThrowBadInteger(text);
        }
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (magnitude > limit) {
            ThrowBadInteger(text);
        }
    }
    if (hex) {
        const uint32_t bits = static_cast<uint32_t>(magnitude);
        const uint32_t signedBits = negative ? static_cast<uint32_t>(0) - bits : bits;
        return static_cast<int32_t>(signedBits);
    }
    if (!negative && magnitude > 0x7FFFFFFFull) {
        ThrowBadInteger(text);
    }
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                    : static_cast<int32_t>(magnitude);
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    if (value == 0.0) {
        return "0";
    }
    const char separator = FormatSettings().DecimalSeparator;
    const TDecimalDigits d = ToDecimalDigits(std::fabs(value), kSignificantDigits);
    const std::string digits = StripTrailingZeros(d.Digits);
    const int e = d.Exponent;
    std::string out = value < 0 ? "-" : "";
    if (e >= kSignificantDigits || e < kLowestFixedExponent) {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(e);
        return out;
    }
    if (e >= 0) {
        const size_t intLen = static_cast<size_t>(e) + 1;
        if (digits.size() <= intLen) {
            out += digits;
            out.append(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen);
            out += separator;
            out += digits.substr(intLen);
        }
        return out;
    }
    out += '0';
    out += separator;
    out.append(static_cast<size_t>(-e - 1), '0');
    out += digits;
    return out;
}

double StrToFloat(std::string_view text) {
    const char separator = FormatSettings().DecimalSeparator;
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    std::string plain;
    size_t i = begin;
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') {
            plain += '-';
        }
        ++i;
    }
    size_t mantissaDigits = 0;
    while (i < end && text[i] >= '0' && text[i] <= '9') {
        plain += text[i++];
        ++mantissaDigits;
    }
    if (i < end && text[i] == separator) {
        plain += '.';
        ++i;
        while (i < end && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        ThrowBadFloat(text);
    }
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '-' || text[i] == '+')) {
            plain += text[i++];
        }
        size_t expDigits = 0;
        while (i < end && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++expDigits;
        }
        if (expDigits == 0) {
            ThrowBadFloat(text);
        }
    }
    if (i != end) {
        ThrowBadFloat(text);
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || ptr != plain.data() + plain.size() || std::isinf(value)) {
        ThrowBadFloat(text);
    }
    return value;
}

std::string FormatFloat(std::string_view pattern, double value) {
    if (pattern.empty() || std::isnan(value) || std::isinf(value)) {
        return FloatToStr(value);
    }
    const std::vector<std::string_view> sections = SplitSections(pattern);
    std::string_view chosen = sections[0];
    bool writeSign = value < 0;
    if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
        chosen = sections[1];
        writeSign = false;
    } else if (value == 0 && sections.size() >= 3 && !sections[2].empty()) {
        chosen = sections[2];
    }
    const TPatternSection section = AnalyseSection(chosen);
    const std::string number = FormatNumber(section, std::fabs(value));
    const std::string body = ApplySection(section, number);
    return writeSign && !IsAllZero(number) ? "-" + body : body;
}

}  // namespace base
