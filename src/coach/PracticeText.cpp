// Practice texts: PARIS, CQ calls and random five-letter groups from a seeded generator whose
// numbers do not depend on the standard library's distributions.
#include "coach/PracticeText.h"

#include <random>

namespace coach {

namespace {
constexpr int kLetters = 26;
constexpr int kDigits = 10;
constexpr int kGroupLength = 5;
constexpr int kCallRepeats = 3;
constexpr int kUsualWords = 5;
constexpr int kUsualCalls = 2;
constexpr int kUsualGroups = 10;

// Numbers below `bound`, the same for a seed everywhere (the engine is fixed by the standard,
// the distributions are not).
class TDraw {
  public:
    explicit TDraw(uint32_t seed) : m_engine(seed) {}
    int Below(int bound) { return static_cast<int>(m_engine() % static_cast<uint32_t>(bound)); }
    char Letter() { return static_cast<char>('A' + Below(kLetters)); }

  private:
    std::mt19937 m_engine;
};

std::string CallSign(TDraw& draw) {
    std::string call(1, draw.Letter());
    if (draw.Below(2) == 1) {
        call += draw.Letter();
    }
    call += static_cast<char>('0' + draw.Below(kDigits));
    const int suffix = 1 + draw.Below(3);
    for (int i = 0; i < suffix; ++i) {
        call += draw.Letter();
    }
    return call;
}
}  // namespace

std::string ParisText(int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        text += i == 0 ? "PARIS" : " PARIS";
    }
    return text;
}

std::string CqCallsText(int calls, uint32_t seed) {
    TDraw draw(seed);
    std::string text;
    for (int c = 0; c < calls; ++c) {
        const std::string call = CallSign(draw);
        text += c == 0 ? "CQ CQ CQ DE" : " CQ CQ CQ DE";
        for (int i = 0; i < kCallRepeats; ++i) {
            text += " " + call;
        }
        text += " K";
    }
    return text;
}

std::string RandomGroupsText(int groups, uint32_t seed) {
    TDraw draw(seed);
    std::string text;
    for (int g = 0; g < groups; ++g) {
        if (g > 0) {
            text += ' ';
        }
        for (int i = 0; i < kGroupLength; ++i) {
            text += draw.Letter();
        }
    }
    return text;
}

std::string PracticeText(TPracticeKind kind, uint32_t seed) {
    switch (kind) {
        case TPracticeKind::pkParis:
            return ParisText(kUsualWords);
        case TPracticeKind::pkCqCalls:
            return CqCallsText(kUsualCalls, seed);
        case TPracticeKind::pkRandomGroups:
            return RandomGroupsText(kUsualGroups, seed);
    }
    return "";
}

}  // namespace coach
