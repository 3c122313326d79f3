// Text from a file made safe to show on a terminal or in a one-line message.
#include "base/PrintableText.h"

namespace base {

std::string PrintableText(std::string_view text) {
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr unsigned char kDelete = 0x7f;
    std::string shown(text);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstPrintable || byte == kDelete) {
            c = '?';
        }
    }
    return shown;
}

}  // namespace base
