// The read-back: marks and gaps of a classified run turned into characters and words.
#include "coach/ReadBack.h"

#include "coach/Morse.h"

namespace coach {

TReadBack Decode(const std::vector<TInterval>& intervals) {
    TReadBack readBack;
    TDecodedCharacter current;
    auto endCharacter = [&](size_t end) {
        if (current.Code.empty()) {
            return;
        }
        current.Text = CodeText(current.Code);
        current.IntervalCount = end - current.FirstInterval;
        readBack.Text += current.Text;
        readBack.Characters.push_back(current);
        current = TDecodedCharacter();
    };
    for (size_t i = 0; i < intervals.size(); ++i) {
        switch (intervals[i].Kind) {
            case TElementKind::ekDit:
            case TElementKind::ekDah:
                if (current.Code.empty()) {
                    current.FirstInterval = i;
                }
                current.Code += intervals[i].Kind == TElementKind::ekDit ? '.' : '-';
                break;
            case TElementKind::ekElementGap:
                break;
            case TElementKind::ekCharacterGap:
                endCharacter(i);
                break;
            case TElementKind::ekWordGap:
                if (!current.Code.empty()) {
                    endCharacter(i);
                    readBack.Text += ' ';
                }
                break;
        }
    }
    endCharacter(intervals.size());
    return readBack;
}

}  // namespace coach
