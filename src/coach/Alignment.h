// The practice text against the read-back: the fewest missed, extra and wrong symbols that turn
// one into the other, and the character accuracy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace coach {

enum class TAlignMark : uint8_t { amMatch, amWrong, amMissed, amExtra };

// One column of the alignment: the symbol that was to be sent and the one read back (empty for a
// missed or an extra symbol).
struct TAlignedSymbol {
    std::string Sent;
    std::string Read;
    TAlignMark Mark = TAlignMark::amMatch;
};

struct TAlignment {
    std::vector<TAlignedSymbol> Columns;
    size_t SentCount = 0;  // symbols of the practice text aligned
    size_t Distance = 0;   // missed + extra + wrong
    size_t Missed = 0, Extra = 0, Wrong = 0;
    // (symbols of the practice text - distance) in percent of them, at least 0; 100 for an empty
    // practice text read back empty.
    double AccuracyPercent = 0;
    // The texts were longer than the alignment takes: only their first kMaxAlignedSymbols
    // symbols were compared.
    bool Cut = false;
};

// Longest texts compared symbol by symbol; the alignment's table grows with the product of the
// two lengths.
constexpr size_t kMaxAlignedSymbols = 4000;

// Aligns the practice text with the read-back symbol by symbol (see Symbols: a prosign is one
// symbol, case and extra white space do not count).
TAlignment Align(std::string_view practiceText, std::string_view readBack);

// The alignment as three lines of equal columns: the practice text, the read-back and the marks
// ("~" wrong, "-" missed, "+" extra, blank right); a missed or extra symbol shows as "_" in the
// line that lacks it.
struct TAlignmentLines {
    std::string Sent, Read, Marks;
};
TAlignmentLines AlignmentLines(const TAlignment& alignment);

}  // namespace coach
