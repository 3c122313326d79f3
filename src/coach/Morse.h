// The Morse code: characters and prosigns by their dits and dahs, written "." and "-".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace coach {

// The text of a code: a letter, digit or punctuation mark, or a prosign written in angle
// brackets ("<AR>", "<SK>", "<BT>", "<KN>", "<AS>", "<SN>", "<KA>", "<HH>"); "*" for a code
// that is none of them. A prosign whose code is also a punctuation mark (+ = ( &) is written as
// the prosign, since operators key it as one.
std::string CodeText(std::string_view code);

// The code of one symbol (a character, or a prosign in angle brackets, either case), or an empty
// code for a symbol that has none (a blank, "*", anything unknown).
std::string SymbolCode(std::string_view symbol);

// Splits a text into symbols: every character on its own, except that a prosign in angle brackets
// is one symbol. Letters are made upper case, the punctuation marks that double as prosigns are
// written as the prosign, and runs of white space become one blank; leading and trailing blanks
// go.
std::vector<std::string> Symbols(std::string_view text);

// The symbols joined back into one text.
std::string JoinSymbols(const std::vector<std::string>& symbols);

}  // namespace coach
