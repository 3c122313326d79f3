// Message formatting with "%s" and "%d" placeholders.
#include "base/Format.h"

#include <cassert>

namespace base {

std::string Format(std::string_view pattern, const std::vector<FormatArg>& args) {
    std::string out;
    out.reserve(pattern.size() + 16);
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const char kind = pattern[++i];
        if (kind == '%') {
            out += '%';
            continue;
        }
        assert(next < args.size() && "Format: more placeholders than arguments");
        if (next >= args.size()) {
            break;
        }
        const FormatArg& arg = args[next++];
        if (kind == 's') {
            if (const auto* text = std::get_if<std::string>(&arg)) {
                out += *text;
            } else {
                out += std::to_string(std::get<int64_t>(arg));
            }
        } else if (kind == 'd') {
            if (const auto* number = std::get_if<int64_t>(&arg)) {
                out += std::to_string(*number);
            } else {
                out += std::get<std::string>(arg);
            }
        } else {
            out += '%';
            out += kind;
        }
    }
    return out;
}

}  // namespace base
