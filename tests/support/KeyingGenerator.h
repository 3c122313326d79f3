// A seeded generator of human-like keying: texts as operators send them (QSOs, five-letter
// groups, figures, punctuation, prosigns, drills) keyed with a fist of their own (Gaussian
// jitter in proportion to each length, weighting, dah ratio, own gap lengths, Farnsworth
// spacing, speed drifting through the run, thinking pauses). It knows only the Morse code table
// and timings, nothing of how the coach reads them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "coach/Keying.h"
#include "coach/Morse.h"

namespace testsupport {

// How an operator keys. Lengths in units of his speed at that moment.
struct TFist {
    double StartWpm = 20;  // the speed at the first character
    double EndWpm = 20;    // at the last; in between it drifts evenly over the characters
    // Each length is drawn from a normal distribution about its own ideal with this standard
    // deviation, a share of that length (0.2: a dah of 180 ms has a deviation of 36 ms).
    double Jitter = 0;
    double WeightUnits = 0;  // added to every mark and taken from every space (heavy above 0)
    double DahUnits = 3;
    double CharacterGapUnits = 3;
    double WordGapUnits = 7;
    double Farnsworth = 1;  // character and word gaps stretched by this
    double PauseShare = 0;  // the share of word gaps that become a thinking pause
    double PauseMinMs = 1500;
    double PauseMaxMs = 4000;
};

// What is sent.
enum class TTextKind {
    tkQso,
    tkGroups,
    tkFigures,
    tkPunctuation,
    tkProsigns,
    tkDits,
    tkDahs,
    tkWord
};

// A text of about `words` words of the kind, drawn with the engine.
inline std::string GenerateText(TTextKind kind, int words, std::mt19937& engine) {
    auto pick = [&engine](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(engine)];
    };
    auto letters = [&engine](const std::string& alphabet, int count) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out += alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(engine)];
        }
        return out;
    };
    const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string kDigits = "0123456789";
    auto call = [&] {
        const std::vector<std::string> prefixes = {"DL", "G",  "UA", "W",  "K", "F",  "OK", "SP",
                                                   "JA", "VK", "EA", "PA", "I", "ON", "OH", "SM"};
        return pick(prefixes) + letters(kDigits, 1) + letters(kLetters, 1 + engine() % 3);
    };
    const std::vector<std::string> qso = {
        "CQ",   "DE",  "K",   "UR",  "RST",  "599",   "579",  "NAME", "QTH",  "TNX",    "FER",
        "CALL", "ES",  "HR",  "WX",  "IS",   "SUNNY", "RAIN", "RIG",  "ANT",  "DIPOLE", "PWR",
        "W",    "73",  "GL",  "BK",  "OP",   "HW",    "CPY",  "FB",   "OM",   "GM",     "GE",
        "AGN",  "PSE", "QSL", "VIA", "BURO", "TU",    "EE",   "5NN",  "TEST", "BERLIN", "PETER"};
    const std::vector<std::string> punctuation = {".", ",", "?", "/", "=",  "+", "-",
                                                  "(", ")", ":", "'", "\"", "@"};
    const std::vector<std::string> prosigns = {"<AR>", "<SK>", "<BT>", "<KN>",
                                               "<AS>", "<SN>", "<KA>"};
    std::vector<std::string> out;
    for (int w = 0; w < words; ++w) {
        switch (kind) {
            case TTextKind::tkQso:
                out.push_back(engine() % 5 == 0 ? call() : pick(qso));
                break;
            case TTextKind::tkGroups:
                out.push_back(letters(kLetters, 5));
                break;
            case TTextKind::tkFigures:
                out.push_back(letters(kDigits, 5));
                break;
            case TTextKind::tkPunctuation:
                out.push_back(pick(qso) + (engine() % 2 == 0 ? pick(punctuation) : ""));
                break;
            case TTextKind::tkProsigns:
                out.push_back(engine() % 3 == 0 ? pick(prosigns) : pick(qso));
                break;
            case TTextKind::tkDits:
                out.push_back(std::string(3, "EISH5"[engine() % 5]));
                break;
            case TTextKind::tkDahs:
                out.push_back(std::string(3, "TMO0"[engine() % 4]));
                break;
            case TTextKind::tkWord:
                return engine() % 2 == 0 ? pick(qso) : call();
        }
    }
    std::string text;
    for (const std::string& word : out) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

// The transitions of `text` (symbols as coach::Symbols splits them) keyed with the fist; the
// first press at 100 ms; lengths rounded to whole milliseconds, at least 1.
inline std::vector<coach::TTransition> KeyWithFist(const std::string& text, const TFist& fist,
                                                   std::mt19937& engine) {
    std::vector<std::string> codes;  // "" for a word gap
    for (const std::string& symbol : coach::Symbols(text)) {
        if (symbol == " ") {
            codes.emplace_back();
            continue;
        }
        const std::string code = coach::SymbolCode(symbol);
        if (code.empty()) {
            throw std::invalid_argument("no code for " + symbol);
        }
        codes.push_back(code);
    }
    size_t characters = 0;
    for (const std::string& code : codes) {
        characters += code.empty() ? 0 : 1;
    }
    std::normal_distribution<double> normal(0, 1);
    std::uniform_real_distribution<double> uniform(0, 1);
    double unitMs = 1200 / fist.StartWpm;
    auto length = [&](double units, bool mark) {
        const double ideal = (units + (mark ? fist.WeightUnits : -fist.WeightUnits)) * unitMs;
        // A hand never keys less than a tenth of what it means to.
        const double ms = std::max(ideal * (1 + fist.Jitter * normal(engine)), 0.1 * ideal);
        return static_cast<uint32_t>(std::max(1L, std::lround(ms)));
    };
    std::vector<coach::TTransition> transitions;
    uint32_t t = 100;
    size_t index = 0;  // characters keyed so far
    bool wordGap = false;
    for (const std::string& code : codes) {
        if (code.empty()) {
            wordGap = true;
            continue;
        }
        const double at = characters > 1 ? static_cast<double>(index) / (characters - 1) : 0;
        unitMs = 1200 / (fist.StartWpm + (fist.EndWpm - fist.StartWpm) * at);
        if (index > 0) {
            if (wordGap && uniform(engine) < fist.PauseShare) {
                t += static_cast<uint32_t>(std::lround(
                    fist.PauseMinMs + (fist.PauseMaxMs - fist.PauseMinMs) * uniform(engine)));
            } else {
                t +=
                    length((wordGap ? fist.WordGapUnits : fist.CharacterGapUnits) * fist.Farnsworth,
                           false);
            }
        }
        wordGap = false;
        ++index;
        for (size_t i = 0; i < code.size(); ++i) {
            if (i > 0) {
                t += length(1, false);
            }
            transitions.push_back({t, true});
            t += length(code[i] == '.' ? 1 : fist.DahUnits, true);
            transitions.push_back({t, false});
        }
    }
    return transitions;
}

// The edit distance between two symbol sequences (insertions, deletions and substitutions
// each 1).
inline size_t EditDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t up = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

}  // namespace testsupport
