// The coaching sentence: the listener's and the strict kinds compared, the commonest difference
// explained by the operator's own figures.
#include "coach/Coaching.h"

#include <array>
#include <cmath>

#include "base/Conversions.h"
#include "coach/Morse.h"

namespace coach {

namespace {
// Weighting from this many units on is named as the cause of gaps heard wrong.
constexpr double kNamedWeighting = 0.2;
constexpr double kIdealCharacterGap = 3;
// Gaps averaging within these are the right habit, a few keyed off it (units): character gaps
// from 2.6 up and below 4.5, word gaps from 6, element gaps below 1.3.
constexpr double kSteadyCharacterGap = 2.6;
constexpr double kStretchedCharacterGap = 4.5;
constexpr double kSteadyWordGap = 6;
constexpr double kLongElementGap = 1.3;

std::string Units(double value) {
    return base::FormatFloat("0.#", value);
}

std::string Count(size_t count) {
    return base::UIntToStr(static_cast<uint32_t>(count));
}

std::string Signed(double value) {
    // Built in place: prepending to a temporary draws GCC 12's false -Wrestrict at -O3.
    std::string text = value >= 0 ? "+" : "-";
    text += Units(std::fabs(value));
    return text;
}

// A pair of characters that the listener parts at a gap the strict listener takes for an element
// gap: the first that then sounds like another character ("DE as B"), else the first ("CQ as one
// character"); empty when there is none.
std::string MergedExample(const std::vector<TInterval>& strict, const TReadBack& readBack) {
    std::string first;
    for (size_t c = 0; c + 1 < readBack.Characters.size(); ++c) {
        const TDecodedCharacter& one = readBack.Characters[c];
        const TDecodedCharacter& two = readBack.Characters[c + 1];
        const size_t gap = one.FirstInterval + one.IntervalCount;
        if (gap + 1 != two.FirstInterval || gap >= strict.size() ||
            strict[gap].Kind != TElementKind::ekElementGap) {
            continue;
        }
        const std::string merged = CodeText(one.Code + two.Code);
        if (merged != "*") {
            return one.Text + two.Text + " as " + merged;
        }
        if (first.empty()) {
            first = one.Text + two.Text + " as one character";
        }
    }
    return first;
}
}  // namespace

std::string CoachingSentence(const std::vector<TInterval>& listened, const TReadBack& readBack,
                             const TListening& listening, const std::vector<TInterval>& strict,
                             const TReadBack& strictReadBack) {
    if (readBack.Text == strictReadBack.Text || listened.size() != strict.size()) {
        return "";
    }
    // How often each listener kind was taken for each strict kind.
    std::array<std::array<size_t, kElementKindCount>, kElementKindCount> confused{};
    for (size_t i = 0; i < listened.size(); ++i) {
        if (listened[i].Kind != strict[i].Kind) {
            ++confused[static_cast<size_t>(listened[i].Kind)][static_cast<size_t>(strict[i].Kind)];
        }
    }
    size_t most = 0;
    TElementKind heard = TElementKind::ekDit;
    TElementKind taken = TElementKind::ekDit;
    for (size_t a = 0; a < kElementKindCount; ++a) {
        for (size_t b = 0; b < kElementKindCount; ++b) {
            if (confused[a][b] > most) {
                most = confused[a][b];
                heard = static_cast<TElementKind>(a);
                taken = static_cast<TElementKind>(b);
            }
        }
    }
    auto units = [&](TElementKind kind) { return listening.Units[static_cast<size_t>(kind)]; };
    const double weighting = listening.WeightingUnits;
    const std::string weighted =
        "weighting " + Signed(weighting) + " unit (" + (weighting > 0 ? "heavy" : "light") + ")";
    if (heard == TElementKind::ekCharacterGap && taken == TElementKind::ekElementGap) {
        const std::string example = MergedExample(strict, readBack);
        const std::string hears = example.empty() ? "runs characters together" : "hears " + example;
        if (weighting >= kNamedWeighting) {
            return weighted + ": a strict listener " + hears;
        }
        const double gap = units(TElementKind::ekCharacterGap);
        if (gap >= kSteadyCharacterGap) {
            // The habit is right on average: a few gaps keyed short.
            return Count(most) +
                   " of your character gaps fell short of 2 units: a strict listener " + hears;
        }
        return "your character gaps average " + Units(gap) + " units: a strict listener " + hears;
    }
    if (heard == TElementKind::ekCharacterGap && taken == TElementKind::ekWordGap) {
        const double gap = units(TElementKind::ekCharacterGap);
        if (gap < kStretchedCharacterGap) {
            return Count(most) +
                   " of your character gaps reached 5 units: a strict listener hears "
                   "words break there";
        }
        return "character gaps of " + Units(gap) + " units: Farnsworth x" +
               Units(gap / kIdealCharacterGap) + "; a strict listener hears words break there";
    }
    if (heard == TElementKind::ekWordGap) {
        const double gap = units(TElementKind::ekWordGap);
        if (gap >= kSteadyWordGap) {
            return Count(most) +
                   " of your word gaps fell short of 5 units: a strict listener runs "
                   "those words together";
        }
        return "your word gaps average " + Units(gap) +
               " units: a strict listener runs words together";
    }
    if (heard == TElementKind::ekElementGap) {
        if (weighting <= -kNamedWeighting) {
            return weighted + ": a strict listener hears characters break apart";
        }
        const double gap = units(TElementKind::ekElementGap);
        if (gap < kLongElementGap) {
            return Count(most) +
                   " of your element gaps reached 2 units: a strict listener hears "
                   "those characters break apart";
        }
        return "your element gaps average " + Units(gap) +
               " units: a strict listener hears characters break apart";
    }
    return Count(most) + (most == 1 ? " mark" : " marks") + " between your dits (" +
           Units(units(TElementKind::ekDit)) + " unit) and dahs (" +
           Units(units(TElementKind::ekDah)) + " units): a strict listener takes " +
           (most == 1 ? "it" : "them") + " for the other kind";
}

}  // namespace coach
