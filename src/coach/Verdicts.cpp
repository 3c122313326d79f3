// Grading a run's figures against tolerance bands, and the advice for what to fix.
//
// The bands follow what trainers accept of a hand key: a listener copies weighting within a
// tenth of a unit and dahs within a tenth of three dits without noticing; he hears the rhythm as
// heavy, clipped or crowded beyond about twice that, well before the strict 2- and 5-unit reading
// misreads (a third of a unit of weighting, character gaps of 2 units, word gaps of 5). Spread is
// judged as a coefficient of variation: good hand keying stays within 15 % on marks and element
// gaps; character gaps, shaped by thinking as much as by the hand, get 20 %.
#include "coach/Verdicts.h"

#include <algorithm>
#include <array>

#include "base/Conversions.h"
#include "coach/Listener.h"
#include "coach/Spread.h"

namespace coach {

namespace {
// Fewest character gaps and word gaps whose length is judged.
constexpr size_t kMinCharacterGaps = 3;
constexpr size_t kMinWordGaps = 2;
// Character gaps from this many units on are read as deliberately stretched spacing.
constexpr double kStretchedGapUnits = 4.5;
constexpr double kStandardCharacterGap = 3;
constexpr double kStandardWordGap = 7;

const std::array<TBand, kFigureCount> kBands = {{
    {-0.1, 0.1, -0.2, 0.2},  // weighting, units
    {2.7, 3.3, 2.5, 3.6},    // dah ratio
    {2.5, 3.6, 2.0, 4.5},    // character gap, units
    {6.0, 8.5, 5.0, 10.5},   // word gap, units
    {0, 15, 0, 25},          // dit spread, %
    {0, 15, 0, 25},          // dah spread, %
    {0, 15, 0, 25},          // element gap spread, %
    {0, 20, 0, 30},          // character gap spread, %
}};

std::string Number(double value) {
    return base::FormatFloat("0.##", value);
}

std::string Signed(double value) {
    // Built in place: prepending to a temporary draws GCC 12's false -Wrestrict at -O3.
    std::string text = value > 0 ? "+" : "";
    text += Number(value);
    return text;
}

std::string Count(size_t count, const char* one, const char* many) {
    return base::UIntToStr(static_cast<uint32_t>(count)) + " " + (count == 1 ? one : many);
}

double Median(std::vector<uint32_t> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2.0;
}

// What to do about a figure to fix, by the side of its band it lies on.
std::string FixAdvice(TFigure figure, double value, bool high) {
    switch (figure) {
        case TFigure::fgWeighting:
            return high ? "Weighting " + Signed(value) +
                              " unit: your marks run into the gaps inside the characters; let "
                              "the key up sooner."
                        : "Weighting " + Signed(value) +
                              " unit: your marks are clipped and the gaps inside the characters "
                              "long; hold the key down a little longer.";
        case TFigure::fgDahRatio:
            return "Dahs are " + Number(value) +
                   " dits long (3 is standard): " + (high ? "shorten them." : "hold them longer.");
        case TFigure::fgCharacterGap: {
            if (!high) {
                return "Character gaps are typically " + Number(value) +
                       " units (3 is standard): your characters run together; leave more room "
                       "between them.";
            }
            std::string advice = "Character gaps are typically " + Number(value) +
                                 " units (3 is standard): close them up to keep your words "
                                 "together";
            if (value >= kStretchedGapUnits) {
                advice += " (spacing like this is Farnsworth x" +
                          base::FormatFloat("0.#", value / kStandardCharacterGap) + ")";
            }
            return advice + ".";
        }
        case TFigure::fgWordGap:
            return "Word gaps are typically " + Number(value) + " units (7 is standard): " +
                   (high ? "close them up."
                         : "your words run together; pause longer between "
                           "them.");
        case TFigure::fgDitSpread:
        case TFigure::fgDahSpread:
        case TFigure::fgElementGapSpread:
        case TFigure::fgCharacterGapSpread: {
            const char* what = figure == TFigure::fgDitSpread          ? "Dits"
                               : figure == TFigure::fgDahSpread        ? "Dahs"
                               : figure == TFigure::fgElementGapSpread ? "Element gaps"
                                                                       : "Character gaps";
            return std::string(what) + " vary by " + base::FormatFloat("0", value) + " % (up to " +
                   Number(FigureBand(figure).GoodHigh) +
                   " % is good): key them more evenly; slow down until they come out alike.";
        }
    }
    return std::string();
}

std::string UsabilitySentence(TUsability usability, size_t dits, size_t dahs) {
    switch (usability) {
        case TUsability::usUsable:
            return std::string();
        case TUsability::usNoMarks:
            return "Nothing was keyed: there is nothing to judge, and the main window's merits "
                   "do not apply.";
        case TUsability::usOneKind:
            return std::string("This run holds ") + (dits > 0 ? "dits" : "dahs") +
                   " only: the main window's merits and its dash advice, which weigh dahs "
                   "against dits, do not apply to it.";
        case TUsability::usTooShort:
            return "This run is too short to judge: it holds " + Count(dits, "dit", "dits") +
                   " and " + Count(dahs, "dah", "dahs") + ", and at least " +
                   base::UIntToStr(static_cast<uint32_t>(kMinMarksOfEachKind)) +
                   " of each are needed; the main window's merits do not apply to it.";
    }
    return std::string();
}
}  // namespace

TUsability Usability(const std::vector<TInterval>& classified) {
    size_t dits = 0;
    size_t dahs = 0;
    for (const TInterval& interval : classified) {
        dits += interval.Mark && interval.Kind == TElementKind::ekDit ? 1 : 0;
        dahs += interval.Mark && interval.Kind == TElementKind::ekDah ? 1 : 0;
    }
    if (dits == 0 && dahs == 0) {
        return TUsability::usNoMarks;
    }
    if (dits == 0 || dahs == 0) {
        return TUsability::usOneKind;
    }
    if (dits < kMinMarksOfEachKind || dahs < kMinMarksOfEachKind) {
        return TUsability::usTooShort;
    }
    return TUsability::usUsable;
}

bool RunIsUsable(const TKeyedRun& run) {
    // The listener's kinds, as the Details window judges the run.
    std::vector<TInterval> intervals = Intervals(run.Transitions);
    Listen(intervals);
    return Usability(intervals) == TUsability::usUsable;
}

const char* GradeName(TGrade grade) {
    switch (grade) {
        case TGrade::grGood:
            return "good";
        case TGrade::grFair:
            return "fair";
        case TGrade::grFix:
            return "fix";
    }
    return "fix";
}

const char* FigureName(TFigure figure) {
    switch (figure) {
        case TFigure::fgWeighting:
            return "weighting";
        case TFigure::fgDahRatio:
            return "dah ratio";
        case TFigure::fgCharacterGap:
            return "character gap";
        case TFigure::fgWordGap:
            return "word gap";
        case TFigure::fgDitSpread:
            return "dit spread";
        case TFigure::fgDahSpread:
            return "dah spread";
        case TFigure::fgElementGapSpread:
            return "element gap spread";
        case TFigure::fgCharacterGapSpread:
            return "character gap spread";
    }
    return "";
}

const char* FigureUnit(TFigure figure) {
    switch (figure) {
        case TFigure::fgWeighting:
            return "unit";
        case TFigure::fgDahRatio:
            return "dits";
        case TFigure::fgCharacterGap:
        case TFigure::fgWordGap:
            return "units";
        default:
            return "%";
    }
}

const TBand& FigureBand(TFigure figure) {
    return kBands[static_cast<size_t>(figure)];
}

TGrade GradeOf(double value, const TBand& band) {
    if (value >= band.GoodLow && value <= band.GoodHigh) {
        return TGrade::grGood;
    }
    if (value >= band.FairLow && value <= band.FairHigh) {
        return TGrade::grFair;
    }
    return TGrade::grFix;
}

TVerdicts JudgeRun(const std::vector<TInterval>& classified, double unitMs) {
    std::array<std::vector<uint32_t>, kElementKindCount> byKind;
    for (const TInterval& interval : classified) {
        byKind[static_cast<size_t>(interval.Kind)].push_back(interval.LengthMs);
    }
    const auto& dits = byKind[static_cast<size_t>(TElementKind::ekDit)];
    const auto& dahs = byKind[static_cast<size_t>(TElementKind::ekDah)];
    const auto& elementGaps = byKind[static_cast<size_t>(TElementKind::ekElementGap)];
    const auto& characterGaps = byKind[static_cast<size_t>(TElementKind::ekCharacterGap)];
    const auto& wordGaps = byKind[static_cast<size_t>(TElementKind::ekWordGap)];

    TVerdicts verdicts;
    verdicts.Usability = Usability(classified);
    auto judge = [&](TFigure figure, double value) {
        const TBand& band = FigureBand(figure);
        TVerdict verdict{figure, value, GradeOf(value, band), std::string()};
        if (verdict.Grade == TGrade::grFix) {
            verdict.Advice = FixAdvice(figure, value, value > band.GoodHigh);
        }
        verdicts.Figures.push_back(std::move(verdict));
    };
    // Each kind's length is its middle value: a few gaps misread as another kind, or a pause,
    // do not sway it.
    const double dit = Median(dits);
    const double gap = Median(elementGaps);
    // Weighting adds the same to every mark and takes it from every space, so the dit and the
    // element gap around it keep their sum of two units: their difference over that sum is the
    // weighting in units, and the dah plus an element gap, in the same units, is the dah plus one.
    const bool ditsAndGaps =
        dits.size() >= kMinMarksOfEachKind && elementGaps.size() >= kMinMarksOfEachKind;
    if (ditsAndGaps && dit + gap > 0) {
        judge(TFigure::fgWeighting, (dit - gap) / (dit + gap));
        if (dahs.size() >= kMinMarksOfEachKind) {
            judge(TFigure::fgDahRatio, 2 * (Median(dahs) + gap) / (dit + gap) - 1);
        }
    }
    const double unit = std::max(unitMs, 1.0);
    if (characterGaps.size() >= kMinCharacterGaps) {
        judge(TFigure::fgCharacterGap, Median(characterGaps) / unit);
    }
    if (wordGaps.size() >= kMinWordGaps) {
        judge(TFigure::fgWordGap, Median(wordGaps) / unit);
    }
    const std::pair<TFigure, const std::vector<uint32_t>*> spreads[] = {
        {TFigure::fgDitSpread, &dits},
        {TFigure::fgDahSpread, &dahs},
        {TFigure::fgElementGapSpread, &elementGaps},
        {TFigure::fgCharacterGapSpread, &characterGaps}};
    for (const auto& [figure, values] : spreads) {
        if (values->size() >= kMinMarksOfEachKind) {
            judge(figure, SpreadOf(*values).VariationPercent);
        }
    }

    const std::string why = UsabilitySentence(verdicts.Usability, dits.size(), dahs.size());
    if (!why.empty()) {
        verdicts.Advice.push_back(why);
    }
    bool allGood = true;
    for (const TVerdict& verdict : verdicts.Figures) {
        allGood = allGood && verdict.Grade == TGrade::grGood;
        if (!verdict.Advice.empty()) {
            verdicts.Advice.push_back(verdict.Advice);
        }
    }
    if (verdicts.Advice.size() == (why.empty() ? 0u : 1u) && !verdicts.Figures.empty()) {
        if (verdicts.Usability != TUsability::usUsable) {
            verdicts.Advice.push_back("Nothing to fix in the figures it holds.");
        } else if (allGood) {
            verdicts.Advice.push_back("Nothing to fix: every figure is within the good band.");
        } else {
            verdicts.Advice.push_back("Nothing to fix: every figure is good or fair.");
        }
    }
    return verdicts;
}

}  // namespace coach
