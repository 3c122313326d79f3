// Text from a file made safe to show on a terminal or in a one-line message.
#pragma once

#include <string>
#include <string_view>

namespace base {

// The text with every control byte (below 0x20, and 0x7f) shown as "?", one character for one
// byte, so that text from a file can reach a terminal or a one-line message without acting on
// it (setting the terminal's title, moving its cursor, ending a line) and keeps its columns.
std::string PrintableText(std::string_view text);

}  // namespace base
