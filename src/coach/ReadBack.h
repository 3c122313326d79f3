// The read-back: a run decoded into text at its own timing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "coach/Keying.h"

namespace coach {

// One decoded character: its text, its code and where its elements lie among the intervals.
struct TDecodedCharacter {
    std::string Text;          // a character, a prosign in angle brackets, or "*"
    std::string Code;          // "." and "-"
    size_t FirstInterval = 0;  // its first mark
    size_t IntervalCount = 0;  // its marks and the element gaps between them
};

struct TReadBack {
    std::string Text;  // the characters, with one blank for each word gap
    std::vector<TDecodedCharacter> Characters;
};

// Decodes classified intervals: marks make the code of a character, element gaps keep it going,
// a character gap ends it and a word gap ends it and writes a blank. Spaces before the first
// mark write nothing.
TReadBack Decode(const std::vector<TInterval>& intervals);

// Decodes as Decode does, except that a code that is no character is split at its element gaps
// into characters, as few as it takes and at its longest gaps (an unheard character gap is
// likelier than several); the gaps it is split at become character gaps. A code that splits into
// no characters stays "*".
TReadBack DecodeSplitting(std::vector<TInterval>& intervals);

}  // namespace coach
