// The read-back: marks and gaps of a classified run turned into characters and words.
#include "coach/ReadBack.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "coach/Morse.h"

namespace coach {

namespace {
// The most marks of a character (the error prosign, eight dits).
constexpr size_t kLongestCode = 8;
// What each split of a code costs beyond how much shorter its gap is than the code's longest
// (natural log): splitting into fewer characters wins between gaps of about equal length.
constexpr double kSplitCost = 0.1;

// Splits one undecodable character into characters at its element gaps: the split of least cost,
// or nothing when no split decodes wholly.
std::vector<TDecodedCharacter> SplitCharacter(const TDecodedCharacter& whole,
                                              std::vector<TInterval>& intervals) {
    // Its marks and the gaps before them (gap[0] unused).
    std::vector<size_t> marks;
    for (size_t i = whole.FirstInterval; i < whole.FirstInterval + whole.IntervalCount; ++i) {
        if (intervals[i].Mark) {
            marks.push_back(i);
        }
    }
    const size_t n = marks.size();
    double longest = 1;
    for (size_t j = 1; j < n; ++j) {
        longest = std::max<double>(longest, intervals[marks[j] - 1].LengthMs);
    }
    auto splitCost = [&](size_t j) {
        const double gap = std::max<uint32_t>(intervals[marks[j] - 1].LengthMs, 1);
        return kSplitCost + std::log(longest / gap);
    };
    constexpr double kInfinite = std::numeric_limits<double>::infinity();
    // best[j]: the least cost of decoding the first j marks; from[j]: where its last character
    // begins.
    std::vector<double> best(n + 1, kInfinite);
    std::vector<size_t> from(n + 1, 0);
    best[0] = 0;
    for (size_t j = 1; j <= n; ++j) {
        std::string code;
        for (size_t i = j; i-- > 0 && j - i <= kLongestCode;) {
            code.insert(code.begin(), whole.Code[i]);
            if (best[i] == kInfinite || CodeText(code) == "*") {
                continue;
            }
            const double cost = best[i] + (i > 0 ? splitCost(i) : 0);
            if (cost < best[j]) {
                best[j] = cost;
                from[j] = i;
            }
        }
    }
    std::vector<TDecodedCharacter> pieces;
    if (best[n] == kInfinite) {
        return pieces;
    }
    for (size_t j = n; j > 0; j = from[j]) {
        const size_t i = from[j];
        TDecodedCharacter piece;
        piece.Code = whole.Code.substr(i, j - i);
        piece.Text = CodeText(piece.Code);
        piece.FirstInterval = marks[i];
        piece.IntervalCount = marks[j - 1] + 1 - marks[i];
        pieces.push_back(piece);
        if (i > 0) {
            intervals[marks[i] - 1].Kind = TElementKind::ekCharacterGap;
        }
    }
    std::reverse(pieces.begin(), pieces.end());
    return pieces;
}

// Characters and word blanks of classified intervals; with `split`, undecodable codes split.
TReadBack DecodeIntervals(const std::vector<TInterval>& intervals,
                          std::vector<TInterval>* splitIn) {
    TReadBack readBack;
    TDecodedCharacter current;
    auto endCharacter = [&](size_t end) {
        if (current.Code.empty()) {
            return;
        }
        current.Text = CodeText(current.Code);
        current.IntervalCount = end - current.FirstInterval;
        std::vector<TDecodedCharacter> pieces;
        if (current.Text == "*" && splitIn != nullptr) {
            pieces = SplitCharacter(current, *splitIn);
        }
        if (pieces.empty()) {
            pieces.push_back(current);
        }
        for (const TDecodedCharacter& piece : pieces) {
            readBack.Text += piece.Text;
            readBack.Characters.push_back(piece);
        }
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
}  // namespace

TReadBack Decode(const std::vector<TInterval>& intervals) {
    return DecodeIntervals(intervals, nullptr);
}

TReadBack DecodeSplitting(std::vector<TInterval>& intervals) {
    // The split changes only gaps inside the character being ended, behind the decoding.
    return DecodeIntervals(intervals, &intervals);
}

}  // namespace coach
