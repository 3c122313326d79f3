// The ways of keying that the read-back is measured on, and its character error rate on them:
// the edit distance between the symbols sent and read, over the symbols sent.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "coach/Morse.h"
#include "coach/ReadBack.h"
#include "support/KeyingGenerator.h"

namespace testsupport {

struct TReadBackCondition {
    std::string Name;
    TFist Fist;
    std::vector<TTextKind> Texts;  // one per run, in turn
    int Words = 12;                // per run
    // Among the habits a listener must copy with at most kHabitGoal of errors (the ones the
    // strict rule failed on and the limits of each habit); the others are the wider survey.
    bool Habit = false;
};

// Goals, percent of the symbols sent.
constexpr double kTextbookGoal = 0;
constexpr double kHabitGoal = 2;
constexpr double kOverallGoal = 1;

inline std::vector<TReadBackCondition> ReadBackConditions() {
    const std::vector<TTextKind> mixed = {TTextKind::tkQso, TTextKind::tkGroups,
                                          TTextKind::tkFigures, TTextKind::tkPunctuation,
                                          TTextKind::tkProsigns};
    std::vector<TReadBackCondition> conditions;
    auto add = [&](const std::string& name, TFist fist, bool habit,
                   std::vector<TTextKind> texts = {}) {
        conditions.push_back({name, fist, texts.empty() ? mixed : texts, 12, habit});
    };
    TFist textbook;
    add("textbook keying, 20 wpm", textbook, true);
    for (const double wpm : {5.0, 12.0, 30.0, 40.0}) {
        TFist f;
        f.StartWpm = f.EndWpm = wpm;
        f.Jitter = 0.1;
        add("jitter 10 %, " + std::to_string(static_cast<int>(wpm)) + " wpm", f, false);
    }
    // Everything below keys at 20 wpm with jitter of 10 % unless it says otherwise.
    TFist base;
    base.Jitter = 0.1;
    for (const int percent : {5, 10, 15, 20, 25}) {
        TFist f = base;
        f.Jitter = percent / 100.0;
        add("jitter " + std::to_string(percent) + " %", f, percent == 20);
    }
    for (const double ratio : {2.0, 2.5, 3.5, 4.0}) {
        TFist f = base;
        f.DahUnits = ratio;
        add("dah ratio " + std::to_string(ratio).substr(0, 3), f, ratio == 2.0 || ratio == 4.0);
    }
    const std::pair<const char*, double> weights[] = {{"+0.2", 0.2},      {"+1/3", 1 / 3.0},
                                                      {"+0.45", 0.45},    {"-0.2", -0.2},
                                                      {"-1/3", -1 / 3.0}, {"-0.45", -0.45}};
    for (const auto& [name, units] : weights) {
        TFist f = base;
        f.WeightUnits = units;
        add(std::string("weighting ") + name + " unit", f, true);
    }
    for (const auto& [name, factor] : std::vector<std::pair<const char*, double>>{
             {"1.5", 1.5}, {"5/3", 5 / 3.0}, {"2", 2}, {"3", 3}}) {
        TFist f = base;
        f.Farnsworth = factor;
        add(std::string("Farnsworth x") + name, f, true);
    }
    {
        TFist f = base;
        f.CharacterGapUnits = 2;
        add("character gaps 2 units", f, true);
        f.WordGapUnits = 5;
        add("character gaps 2, word gaps 5 units", f, true);
        TFist w = base;
        w.WordGapUnits = 5;
        add("word gaps 5 units", w, true);
    }
    {
        TFist f = base;
        f.StartWpm = 12;
        f.EndWpm = 28;
        add("speed drifting 12 -> 28 wpm", f, true);
        std::swap(f.StartWpm, f.EndWpm);
        add("speed drifting 28 -> 12 wpm", f, true);
    }
    {
        TFist f;
        f.StartWpm = 22;
        f.EndWpm = 16;
        f.Jitter = 0.15;
        f.WeightUnits = 0.25;
        f.CharacterGapUnits = 2.5;
        f.WordGapUnits = 6;
        add("tired (22 -> 16 wpm, 15 %, +0.25, 2.5-unit gaps)", f, true);
    }
    {
        TFist f = base;
        f.PauseShare = 0.3;
        add("thinking pauses of 1.5-4 s", f, true);
    }
    add("drill of dits only", base, true, {TTextKind::tkDits});
    add("drill of dahs only", base, true, {TTextKind::tkDahs});
    add("one-word runs", base, true, {TTextKind::tkWord});
    return conditions;
}

struct TErrorCount {
    size_t Sent = 0;    // symbols sent, blanks between words among them
    size_t Errors = 0;  // edit distance to the symbols read
    double Percent() const { return Sent == 0 ? 0 : 100.0 * Errors / Sent; }
};

using TReader = std::function<std::string(const std::vector<coach::TTransition>&)>;

// Keys `runs` runs of the condition (seeded by run number) and reads them back.
inline TErrorCount MeasureReadBack(const TReadBackCondition& condition, int runs,
                                   const TReader& read) {
    TErrorCount count;
    for (int run = 0; run < runs; ++run) {
        std::mt19937 engine(static_cast<uint32_t>(1000 + run));
        const TTextKind kind = condition.Texts[static_cast<size_t>(run) % condition.Texts.size()];
        const std::string text = GenerateText(kind, condition.Words, engine);
        const std::vector<std::string> sent = coach::Symbols(text);
        const std::vector<std::string> heard =
            coach::Symbols(read(KeyWithFist(text, condition.Fist, engine)));
        count.Sent += sent.size();
        count.Errors += EditDistance(sent, heard);
    }
    return count;
}

// A reader that knows the fist (not the text): each interval goes to the kind under whose normal
// distribution about its ideal length, at the fist's speed, it is likeliest. What no decoder of
// single intervals can beat; for fists of one speed without pauses.
inline std::string OracleReadBack(const std::vector<coach::TTransition>& transitions,
                                  const TFist& fist) {
    std::vector<coach::TInterval> intervals = coach::Intervals(transitions);
    const double unitMs = 1200 / fist.StartWpm;
    struct TKind {
        coach::TElementKind Kind;
        double Units;
    };
    const double w = fist.WeightUnits;
    const TKind marks[] = {{coach::TElementKind::ekDit, 1 + w},
                           {coach::TElementKind::ekDah, fist.DahUnits + w}};
    const TKind spaces[] = {
        {coach::TElementKind::ekElementGap, 1 - w},
        {coach::TElementKind::ekCharacterGap, fist.CharacterGapUnits * fist.Farnsworth - w},
        {coach::TElementKind::ekWordGap, fist.WordGapUnits * fist.Farnsworth - w}};
    for (coach::TInterval& interval : intervals) {
        double best = -1e300;
        auto consider = [&](const TKind& kind) {
            const double mean = kind.Units * unitMs;
            const double deviation = std::max(fist.Jitter * mean, 0.5);
            const double z = (interval.LengthMs - mean) / deviation;
            const double score = -std::log(deviation) - 0.5 * z * z;
            if (score > best) {
                best = score;
                interval.Kind = kind.Kind;
            }
        };
        if (interval.Mark) {
            for (const TKind& kind : marks) {
                consider(kind);
            }
        } else {
            for (const TKind& kind : spaces) {
                consider(kind);
            }
        }
    }
    return coach::Decode(intervals).Text;
}

}  // namespace testsupport
