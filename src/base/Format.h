// Message formatting: "%s" and "%d" placeholders filled in order, "%%" for a percent sign.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace base {

// One argument of Format: a text or an integer.
using FormatArg = std::variant<std::string, int64_t>;

// Fills "%s" with texts and "%d" with integers, in order. A placeholder without an argument, or
// of the other kind, is an error in the caller's message table and asserts.
std::string Format(std::string_view pattern, const std::vector<FormatArg>& args);

}  // namespace base
