// Number <-> text conversions of the runtime: plain integers, the general floating format and
// pattern formats such as "#,##0.###", with the exact error messages for text that does not fit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace base {

// Separators of the user's locale used by the floating formats.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
};

// The process-wide settings; tests and start-up may change them.
TFormatSettings& FormatSettings();

// Reads the separators of the user's locale (LC_NUMERIC from the environment) into
// FormatSettings() without changing the C library's own locale.
void LoadFormatSettingsFromLocale();

// Signed decimal with a leading "-" for negatives.
std::string IntToStr(int64_t value);

// A value the program treats as unsigned 32-bit: 0 .. 4294967295.
std::string UIntToStr(uint32_t value);

// Optional leading blanks, an optional sign and decimal digits, or hexadecimal after "$" or
// "0x"; the result must fit a signed 32-bit integer (hexadecimal: any 32-bit pattern). Anything
// else raises EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// General format: at most 15 significant digits, the shortest form that shows the value to that
// precision, no decimal point for integral values, the locale's decimal separator; scientific
// ("1.5E20", "1E-5") below 1E-4 and from 1E15 on.
std::string FloatToStr(double value);

// Blanks around an optional sign, digits with an optional decimal separator and exponent.
// Anything else raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view text);

// Pattern formatting: sections "positive;negative;zero", "0" a required digit, "#" an optional
// one, "." the decimal point, "," thousands grouping, "E+00"/"E-00" scientific, quoted texts and
// every other character (including "%") literal. Halves round away from zero.
std::string FormatFloat(std::string_view pattern, double value);

}  // namespace base
