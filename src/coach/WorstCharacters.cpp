// The worst characters: the mean stray of each character's dits, dahs and element gaps from the
// ideal at the run's unit, and a sentence for the worst of them.
#include "coach/WorstCharacters.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/Arith.h"
#include "base/Conversions.h"

namespace coach {

namespace {
constexpr double kPercent = 100;

// The sums of relative strays of one character, by kind.
struct TStrays {
    std::string Text;
    int Occurrences = 0;
    std::array<double, kElementKindCount> Sum{};
    std::array<int, kElementKindCount> Count{};
};

std::string Sentence(const TCharacterStray& stray) {
    const int64_t percent = base::Round(std::fabs(stray.StrayPercent));
    if (percent == 0) {
        return stray.Text + ": " + KindName(stray.Kind) + " on time";
    }
    return stray.Text + ": " + KindName(stray.Kind) + " " + base::IntToStr(percent) + " % " +
           (stray.StrayPercent < 0 ? "short" : "long");
}
}  // namespace

std::vector<TCharacterStray> WorstCharacters(const std::vector<TInterval>& intervals,
                                             const TReadBack& readBack, const TTiming& timing,
                                             size_t count) {
    std::vector<TStrays> characters;  // in order of first appearance
    for (const TDecodedCharacter& decoded : readBack.Characters) {
        if (decoded.Text == "*") {
            continue;
        }
        auto found = std::find_if(characters.begin(), characters.end(),
                                  [&](const TStrays& s) { return s.Text == decoded.Text; });
        if (found == characters.end()) {
            characters.push_back({decoded.Text, 0, {}, {}});
            found = characters.end() - 1;
        }
        ++found->Occurrences;
        const size_t end =
            std::min(decoded.FirstInterval + decoded.IntervalCount, intervals.size());
        for (size_t i = decoded.FirstInterval; i < end; ++i) {
            const TInterval& interval = intervals[i];
            const double ideal = IdealUnits(interval.Kind) * timing.UnitMs;
            const auto k = static_cast<size_t>(interval.Kind);
            found->Sum[k] += interval.LengthMs / ideal - 1;
            ++found->Count[k];
        }
    }

    std::vector<TCharacterStray> strays;
    for (const TStrays& s : characters) {
        TCharacterStray worst{s.Text, s.Occurrences, TElementKind::ekDit, 0, ""};
        bool any = false;
        for (size_t k = 0; k < kElementKindCount; ++k) {
            if (s.Count[k] == 0) {
                continue;
            }
            const double mean = s.Sum[k] / s.Count[k] * kPercent;
            if (!any || std::fabs(mean) > std::fabs(worst.StrayPercent)) {
                worst.Kind = static_cast<TElementKind>(k);
                worst.StrayPercent = mean;
                any = true;
            }
        }
        if (any) {
            worst.Sentence = Sentence(worst);
            strays.push_back(worst);
        }
    }
    std::stable_sort(strays.begin(), strays.end(),
                     [](const TCharacterStray& a, const TCharacterStray& b) {
                         return std::fabs(a.StrayPercent) > std::fabs(b.StrayPercent);
                     });
    if (strays.size() > count) {
        strays.resize(count);
    }
    return strays;
}

}  // namespace coach
