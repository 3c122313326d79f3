// The Morse code table and the splitting of texts into the symbols the read-back writes.
#include "coach/Morse.h"

#include <cctype>
#include <utility>

namespace coach {

namespace {
struct TCodeEntry {
    const char* Text;
    const char* Code;
};

// Prosigns first: where a code doubles as a punctuation mark, the prosign is the text.
constexpr TCodeEntry kCodes[] = {
    {"<AR>", ".-.-."}, {"<SK>", "...-.-"}, {"<BT>", "-...-"}, {"<KN>", "-.--."},
    {"<AS>", ".-..."}, {"<SN>", "...-."},  {"<KA>", "-.-.-"}, {"<HH>", "........"},
    {"A", ".-"},       {"B", "-..."},      {"C", "-.-."},     {"D", "-.."},
    {"E", "."},        {"F", "..-."},      {"G", "--."},      {"H", "...."},
    {"I", ".."},       {"J", ".---"},      {"K", "-.-"},      {"L", ".-.."},
    {"M", "--"},       {"N", "-."},        {"O", "---"},      {"P", ".--."},
    {"Q", "--.-"},     {"R", ".-."},       {"S", "..."},      {"T", "-"},
    {"U", "..-"},      {"V", "...-"},      {"W", ".--"},      {"X", "-..-"},
    {"Y", "-.--"},     {"Z", "--.."},      {"0", "-----"},    {"1", ".----"},
    {"2", "..---"},    {"3", "...--"},     {"4", "....-"},    {"5", "....."},
    {"6", "-...."},    {"7", "--..."},     {"8", "---.."},    {"9", "----."},
    {".", ".-.-.-"},   {",", "--..--"},    {"?", "..--.."},   {"'", ".----."},
    {"!", "-.-.--"},   {"/", "-..-."},     {")", "-.--.-"},   {":", "---..."},
    {";", "-.-.-."},   {"-", "-....-"},    {"_", "..--.-"},   {"\"", ".-..-."},
    {"$", "...-..-"},  {"@", ".--.-."},
};

// Punctuation keyed as a prosign.
constexpr std::pair<char, const char*> kProsignPunctuation[] = {
    {'+', "<AR>"}, {'=', "<BT>"}, {'(', "<KN>"}, {'&', "<AS>"}};

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}
}  // namespace

std::string CodeText(std::string_view code) {
    for (const TCodeEntry& entry : kCodes) {
        if (code == entry.Code) {
            return entry.Text;
        }
    }
    return "*";
}

std::string SymbolCode(std::string_view symbol) {
    const std::string upper = Upper(symbol);
    for (const TCodeEntry& entry : kCodes) {
        if (upper == entry.Text) {
            return entry.Code;
        }
    }
    return "";
}

std::vector<std::string> Symbols(std::string_view text) {
    std::vector<std::string> symbols;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsBlank(c)) {
            while (i < text.size() && IsBlank(text[i])) {
                ++i;
            }
            if (!symbols.empty() && i < text.size()) {
                symbols.emplace_back(" ");
            }
            continue;
        }
        if (c == '<') {
            const size_t close = text.find('>', i + 1);
            // A prosign is letters only; "<" on its own is a character of its own.
            bool letters = close != std::string_view::npos && close > i + 1;
            for (size_t k = i + 1; letters && k < close; ++k) {
                letters = std::isalpha(static_cast<unsigned char>(text[k])) != 0;
            }
            if (letters) {
                symbols.push_back(Upper(text.substr(i, close - i + 1)));
                i = close + 1;
                continue;
            }
        }
        // A character of several bytes (UTF-8) is one symbol.
        size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        std::string symbol = Upper(text.substr(i, length));
        for (const auto& [punctuation, prosign] : kProsignPunctuation) {
            if (c == punctuation) {
                symbol = prosign;
            }
        }
        symbols.push_back(std::move(symbol));
        i += length;
    }
    return symbols;
}

std::string JoinSymbols(const std::vector<std::string>& symbols) {
    std::string text;
    for (const std::string& symbol : symbols) {
        text += symbol;
    }
    return text;
}

}  // namespace coach
