// Keyed runs made from a text: the transitions an operator would key at a given unit, with
// seeded timing jitter, weighting errors and stretched (Farnsworth) spacing between characters.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "coach/Keying.h"
#include "coach/Morse.h"

namespace testsupport {

struct TKeyingStyle {
    double UnitMs = 60;  // 20 wpm
    // Every element and gap is off its ideal by up to this fraction, uniformly, either way.
    double Jitter = 0;
    // Milliseconds added to every mark and taken from every space (heavy when above 0).
    double WeightMs = 0;
    // Character and word gaps are this many times their ideal.
    double Farnsworth = 1;
    uint32_t Seed = 1;
};

// The transitions of `text` (symbols as coach::Symbols splits them), the first press at 100 ms.
inline std::vector<coach::TTransition> KeyText(const std::string& text, const TKeyingStyle& style) {
    std::mt19937 engine(style.Seed);
    auto jittered = [&](double units, bool mark, double stretch) {
        const double r = static_cast<double>(engine()) / 4294967295.0 * 2 - 1;
        const double ms = units * style.UnitMs * stretch * (1 + style.Jitter * r) +
                          (mark ? style.WeightMs : -style.WeightMs);
        return static_cast<uint32_t>(std::lround(std::max(ms, 1.0)));
    };
    std::vector<coach::TTransition> transitions;
    uint32_t t = 100;
    bool first = true;
    bool wordGap = false;
    for (const std::string& symbol : coach::Symbols(text)) {
        if (symbol == " ") {
            wordGap = true;
            continue;
        }
        const std::string code = coach::SymbolCode(symbol);
        if (code.empty()) {
            throw std::invalid_argument("no code for " + symbol);
        }
        if (!first) {
            t += jittered(wordGap ? 7 : 3, false, style.Farnsworth);
        }
        first = false;
        wordGap = false;
        for (size_t i = 0; i < code.size(); ++i) {
            if (i > 0) {
                t += jittered(1, false, 1);
            }
            transitions.push_back({t, true});
            t += jittered(code[i] == '.' ? 1 : 3, true, 1);
            transitions.push_back({t, false});
        }
    }
    return transitions;
}

// A run from alternating lengths in milliseconds, a mark first, the first press at 100 ms.
inline std::vector<coach::TTransition> RunOfLengths(const std::vector<uint32_t>& lengths) {
    std::vector<coach::TTransition> run{{100, true}};
    bool down = true;
    for (const uint32_t length : lengths) {
        down = !down;
        run.push_back({run.back().TimeMs + length, down});
    }
    return run;
}

}  // namespace testsupport
