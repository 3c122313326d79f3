// The coach's judgement of a run with tolerance: whether the run can be judged at all, each
// figure of the keying graded good, fair or fix against the bands trainers accept, and advice
// for what to fix only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "coach/Keying.h"

namespace coach {

// Whether a run tells anything about the keying. The main window's merits weigh dahs against
// dits and element spaces against character spaces; they mean nothing for a run without marks,
// a run of one element kind (a drill of dits only) or a run too short to average.
enum class TUsability : uint8_t { usUsable, usNoMarks, usOneKind, usTooShort };

// Fewest dits and fewest dahs of a run that can be judged.
constexpr size_t kMinMarksOfEachKind = 4;

// The usability of a run from its classified intervals.
TUsability Usability(const std::vector<TInterval>& classified);

// Whether the coach judges the run usable: marks of both kinds, at least kMinMarksOfEachKind of
// each. Runs judged unusable are left out of the progress by default.
bool RunIsUsable(const TKeyedRun& run);

enum class TGrade : uint8_t { grGood, grFair, grFix };

// "good", "fair", "fix".
const char* GradeName(TGrade grade);

// The figures judged.
enum class TFigure : uint8_t {
    // The lengths below are each kind's median: a few gaps misread as another kind, or a
    // thinking pause, do not sway them.
    fgWeighting,          // units: half the dit minus the element gap, over their mean
    fgDahRatio,           // the dah in dits, with the weighting taken out
    fgCharacterGap,       // units: the character gap
    fgWordGap,            // units: the word gap
    fgDitSpread,          // coefficient of variation, percent
    fgDahSpread,          // likewise
    fgElementGapSpread,   // likewise
    fgCharacterGapSpread  // likewise
};
constexpr int kFigureCount = 8;

// "weighting", "dah ratio", "character gap", "word gap", "dit spread", "dah spread",
// "element gap spread", "character gap spread".
const char* FigureName(TFigure figure);

// What a figure's value counts: "unit", "dits", "units", "%".
const char* FigureUnit(TFigure figure);

// Good from GoodLow to GoodHigh, fair from FairLow to FairHigh, to fix outside; bounds belong to
// the better grade.
struct TBand {
    double GoodLow = 0, GoodHigh = 0;
    double FairLow = 0, FairHigh = 0;
};
const TBand& FigureBand(TFigure figure);
TGrade GradeOf(double value, const TBand& band);

struct TVerdict {
    TFigure Figure = TFigure::fgWeighting;
    double Value = 0;
    TGrade Grade = TGrade::grGood;
    std::string Advice;  // what to do about it, for a figure to fix only
};

struct TVerdicts {
    TUsability Usability = TUsability::usNoMarks;
    std::vector<TVerdict> Figures;  // the figures the run holds enough values for, in order
    // The sentences for the operator: why the run cannot be judged (when so), then the advice of
    // every figure to fix, or that there is nothing to fix.
    std::vector<std::string> Advice;
};

// Judges the classified intervals of a run whose unit (the average dit) is `unitMs`.
TVerdicts JudgeRun(const std::vector<TInterval>& classified, double unitMs);

}  // namespace coach
