// Verdicts: which runs can be judged, the bands at and past their edges, hand-computed figures of
// keyings built length by length, and grading rates over seeded keyings.
#include "coach/Verdicts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "support/MorseKeying.h"

namespace {

using coach::TFigure;
using coach::TGrade;
using coach::TUsability;

coach::TVerdicts Judge(const std::vector<coach::TTransition>& transitions) {
    std::vector<coach::TInterval> intervals = coach::Intervals(transitions);
    const coach::TTiming timing = coach::Classify(intervals);
    return coach::JudgeRun(intervals, timing.UnitMs);
}

const coach::TVerdict* Find(const coach::TVerdicts& verdicts, TFigure figure) {
    for (const coach::TVerdict& verdict : verdicts.Figures) {
        if (verdict.Figure == figure) {
            return &verdict;
        }
    }
    return nullptr;
}
// The verdict lives in the verdicts: a temporary's would be gone before it is read.
const coach::TVerdict* Find(coach::TVerdicts&& verdicts, TFigure figure) = delete;

bool AnyFix(const coach::TVerdicts& verdicts) {
    return std::any_of(verdicts.Figures.begin(), verdicts.Figures.end(),
                       [](const coach::TVerdict& v) { return v.Grade == TGrade::grFix; });
}

coach::TKeyedRun Keyed(const std::string& text, double unitMs = 60) {
    testsupport::TKeyingStyle style;
    style.UnitMs = unitMs;
    return {testsupport::KeyText(text, style), ""};
}

TEST(VerdictsTest, RunsThatCannotBeJudged) {
    EXPECT_FALSE(coach::RunIsUsable({}));
    EXPECT_EQ(Judge({}).Usability, TUsability::usNoMarks);
    EXPECT_EQ(Judge({}).Advice.size(), 1u);

    // A drill of dits only, and one of dahs only.
    const coach::TVerdicts dits = Judge(Keyed("SSS HHH").Transitions);
    EXPECT_EQ(dits.Usability, TUsability::usOneKind);
    EXPECT_FALSE(coach::RunIsUsable(Keyed("SSS HHH")));
    ASSERT_FALSE(dits.Advice.empty());
    EXPECT_NE(dits.Advice[0].find("dits only"), std::string::npos) << dits.Advice[0];
    EXPECT_NE(dits.Advice[0].find("merits"), std::string::npos);
    EXPECT_EQ(Find(dits, TFigure::fgDahRatio), nullptr);
    // Its dits and their gaps can still be judged.
    ASSERT_NE(Find(dits, TFigure::fgWeighting), nullptr);
    EXPECT_EQ(dits.Advice.back(), "Nothing to fix in the figures it holds.");
    const coach::TVerdicts dahs = Judge(Keyed("OOO MMM").Transitions);
    EXPECT_EQ(dahs.Usability, TUsability::usOneKind);
    EXPECT_NE(dahs.Advice[0].find("dahs only"), std::string::npos) << dahs.Advice[0];

    // Too short: one dit and one dah; at the edge, four dahs against three and four dits.
    const coach::TVerdicts et = Judge(Keyed("ET").Transitions);
    EXPECT_EQ(et.Usability, TUsability::usTooShort);
    EXPECT_NE(et.Advice[0].find("holds 1 dit and 1 dah"), std::string::npos) << et.Advice[0];
    EXPECT_FALSE(coach::RunIsUsable(Keyed("TTTT EEE")));
    EXPECT_TRUE(coach::RunIsUsable(Keyed("TTTT EEEE")));
    EXPECT_TRUE(coach::RunIsUsable(Keyed("PARIS")));  // 10 dits, 4 dahs
}

TEST(VerdictsTest, BandsAtAndPastTheirEdges) {
    const coach::TBand& weighting = coach::FigureBand(TFigure::fgWeighting);
    EXPECT_EQ(coach::GradeOf(0, weighting), TGrade::grGood);
    EXPECT_EQ(coach::GradeOf(0.1, weighting), TGrade::grGood);
    EXPECT_EQ(coach::GradeOf(-0.1, weighting), TGrade::grGood);
    EXPECT_EQ(coach::GradeOf(0.1001, weighting), TGrade::grFair);
    EXPECT_EQ(coach::GradeOf(-0.2, weighting), TGrade::grFair);
    EXPECT_EQ(coach::GradeOf(0.2001, weighting), TGrade::grFix);
    EXPECT_EQ(coach::GradeOf(-0.2001, weighting), TGrade::grFix);
    // Every band is ordered and the good band lies inside the fair one, around the ideal.
    const double ideal[] = {0, 3, 3, 7, 0, 0, 0, 0};
    for (int f = 0; f < coach::kFigureCount; ++f) {
        const coach::TBand& band = coach::FigureBand(static_cast<TFigure>(f));
        EXPECT_LE(band.FairLow, band.GoodLow) << f;
        EXPECT_LE(band.GoodLow, ideal[f]) << f;
        EXPECT_GE(band.GoodHigh, ideal[f]) << f;
        EXPECT_LE(band.GoodHigh, band.FairHigh) << f;
        EXPECT_EQ(coach::GradeOf(ideal[f], band), TGrade::grGood) << f;
    }
    // The fair bands stop short of where the strict 2- and 5-unit reading misreads.
    EXPECT_LT(coach::FigureBand(TFigure::fgWeighting).FairHigh, 1.0 / 3);
    EXPECT_GE(coach::FigureBand(TFigure::fgCharacterGap).FairLow, 2.0);
    EXPECT_GE(coach::FigureBand(TFigure::fgWordGap).FairLow, 5.0);
}

TEST(VerdictsTest, MachinePerfectKeyingIsAllGood) {
    // 18 wpm: a unit of 66.67 ms, every length rounded to whole milliseconds.
    for (const char* text : {"CQ CQ CQ DE UA3SNB UA3SNB K", "PARIS PARIS PARIS PARIS PARIS"}) {
        const coach::TVerdicts verdicts = Judge(Keyed(text, 1200.0 / 18).Transitions);
        EXPECT_EQ(verdicts.Usability, TUsability::usUsable);
        ASSERT_GE(verdicts.Figures.size(), 7u) << text;
        for (const coach::TVerdict& verdict : verdicts.Figures) {
            EXPECT_EQ(verdict.Grade, TGrade::grGood)
                << text << ": " << coach::FigureName(verdict.Figure) << " " << verdict.Value;
        }
        EXPECT_EQ(verdicts.Advice, std::vector<std::string>{
                                       "Nothing to fix: every figure is within the good band."});
    }
}

TEST(VerdictsTest, HandComputedFiguresOfAHeavyFist) {
    // A unit of 100 ms keyed 0.3 unit heavy: dits 130, dahs 330, element gaps 70, character gaps
    // 270, word gaps 670. PARIS twice with a word gap between:
    // P .--. A .- R .-. I .. S ...
    const uint32_t d = 130, h = 330, e = 70, c = 270, w = 670;
    const std::vector<uint32_t> paris = {d, e, h, e, h, e, d, c, d, e, h, c, d, e,
                                         h, e, d, c, d, e, d, c, d, e, d, e, d};
    std::vector<uint32_t> lengths = paris;
    for (int i = 0; i < 2; ++i) {
        lengths.push_back(w);
        lengths.insert(lengths.end(), paris.begin(), paris.end());
    }
    const coach::TVerdicts verdicts = Judge(testsupport::RunOfLengths(lengths));
    EXPECT_EQ(verdicts.Usability, TUsability::usUsable);
    const coach::TVerdict* weighting = Find(verdicts, TFigure::fgWeighting);
    ASSERT_NE(weighting, nullptr);
    EXPECT_NEAR(weighting->Value, 0.3, 1e-12);  // (130 - 70) / 200
    EXPECT_EQ(weighting->Grade, TGrade::grFix);
    EXPECT_NE(weighting->Advice.find("Weighting +0.3 unit"), std::string::npos)
        << weighting->Advice;
    // The dah with the weighting taken out: 2 * (330 + 70) / 200 - 1 = 3.
    EXPECT_NEAR(Find(verdicts, TFigure::fgDahRatio)->Value, 3, 1e-12);
    EXPECT_EQ(Find(verdicts, TFigure::fgDahRatio)->Grade, TGrade::grGood);
    // Gaps in units of the average dit: 270 / 130 and 670 / 130.
    EXPECT_NEAR(Find(verdicts, TFigure::fgCharacterGap)->Value, 270.0 / 130, 1e-12);
    EXPECT_EQ(Find(verdicts, TFigure::fgCharacterGap)->Grade, TGrade::grFair);
    EXPECT_NEAR(Find(verdicts, TFigure::fgWordGap)->Value, 670.0 / 130, 1e-12);
    EXPECT_EQ(Find(verdicts, TFigure::fgWordGap)->Grade, TGrade::grFair);
    EXPECT_EQ(Find(verdicts, TFigure::fgDitSpread)->Value, 0);
    // Advice for the one figure to fix only.
    EXPECT_EQ(verdicts.Advice, std::vector<std::string>{weighting->Advice});
}

TEST(VerdictsTest, WeightOf1030IsGood) {
    // Dits 203 ms against element gaps 197 ms: a weight of 1.030 (0.015 unit).
    testsupport::TKeyingStyle style;
    style.UnitMs = 200;
    style.WeightMs = 3;
    const coach::TVerdicts verdicts =
        Judge(testsupport::KeyText("PARIS PARIS PARIS PARIS PARIS", style));
    EXPECT_NEAR(Find(verdicts, TFigure::fgWeighting)->Value, 6.0 / 400, 1e-12);
    EXPECT_FALSE(AnyFix(verdicts));
    EXPECT_EQ(verdicts.Advice.size(), 1u);
    EXPECT_EQ(verdicts.Advice[0].rfind("Nothing to fix", 0), 0u) << verdicts.Advice[0];
}

TEST(VerdictsTest, StretchedSpacingIsNamedForWhatItIs) {
    // Character gaps 1.6 times their ideal: 4.8 units, under the strict word-gap limit.
    testsupport::TKeyingStyle style;
    style.Farnsworth = 1.6;
    const coach::TVerdicts verdicts =
        Judge(testsupport::KeyText("CQ CQ CQ DE UA3SNB UA3SNB K", style));
    const coach::TVerdict* gap = Find(verdicts, TFigure::fgCharacterGap);
    ASSERT_NE(gap, nullptr);
    EXPECT_NEAR(gap->Value, 4.8, 1e-9);
    EXPECT_EQ(gap->Grade, TGrade::grFix);
    EXPECT_NE(gap->Advice.find("Farnsworth x1.6"), std::string::npos) << gap->Advice;
    EXPECT_EQ(Find(verdicts, TFigure::fgWordGap)->Grade, TGrade::grFix);  // 11.2 units
    EXPECT_EQ(Find(verdicts, TFigure::fgWeighting)->Grade, TGrade::grGood);
    // Crowded characters: gaps of 2.1 units are read as character gaps but fair at best.
    style.Farnsworth = 0.7;
    const coach::TVerdicts crowded = Judge(testsupport::KeyText("UA3SNBCQDE", style));
    EXPECT_EQ(Find(crowded, TFigure::fgCharacterGap)->Grade, TGrade::grFair);
}

TEST(VerdictsTest, GapsTakenForCharacterGapsAreJudgedAsSuchWhateverTheirLength) {
    // A reader that follows the operator's own spacing takes 6-unit gaps for character gaps:
    // PARIS three times at a unit of 60 ms with Farnsworth x2 spacing, classified by hand.
    using coach::TElementKind;
    std::vector<coach::TInterval> intervals;
    const char* const codes[] = {".--.", ".-", ".-.", "..", "..."};
    for (int word = 0; word < 3; ++word) {
        for (int c = 0; c < 5; ++c) {
            if (word > 0 || c > 0) {
                intervals.push_back(
                    c == 0 ? coach::TInterval{false, 840, TElementKind::ekWordGap}
                           : coach::TInterval{false, 360, TElementKind::ekCharacterGap});
            }
            for (const char* e = codes[c]; *e != 0; ++e) {
                if (e != codes[c]) {
                    intervals.push_back({false, 60, TElementKind::ekElementGap});
                }
                intervals.push_back(*e == '.' ? coach::TInterval{true, 60, TElementKind::ekDit}
                                              : coach::TInterval{true, 180, TElementKind::ekDah});
            }
        }
    }
    const coach::TVerdicts verdicts = coach::JudgeRun(intervals, 60);
    const coach::TVerdict* gap = Find(verdicts, TFigure::fgCharacterGap);
    ASSERT_NE(gap, nullptr);
    EXPECT_EQ(gap->Value, 6);
    EXPECT_EQ(gap->Advice,
              "Character gaps are typically 6 units (3 is standard): close them up to keep your "
              "words together (spacing like this is Farnsworth x2).");
    EXPECT_EQ(Find(verdicts, TFigure::fgWordGap)->Value, 14);
    EXPECT_EQ(verdicts.Advice.size(), 2u);  // the two gaps; every mark is right
}

// Rates over seeded keyings of uniform jitter J, whose coefficient of variation is J / sqrt(3).
struct TRates {
    double AnyFix = 0;       // runs with some figure to fix
    double SpreadFixed = 0;  // runs whose dit or dah spread is to fix
};

TRates RatesAt(double jitter, int runs) {
    int anyFix = 0;
    int spreadFixed = 0;
    for (int seed = 1; seed <= runs; ++seed) {
        testsupport::TKeyingStyle style;
        style.UnitMs = 1200.0 / 20;
        style.Jitter = jitter;
        style.Seed = static_cast<uint32_t>(seed);
        const coach::TVerdicts verdicts =
            Judge(testsupport::KeyText("CQ CQ CQ DE UA3SNB UA3SNB PSE K", style));
        anyFix += AnyFix(verdicts) ? 1 : 0;
        const coach::TVerdict* dit = Find(verdicts, TFigure::fgDitSpread);
        const coach::TVerdict* dah = Find(verdicts, TFigure::fgDahSpread);
        spreadFixed += (dit != nullptr && dit->Grade == TGrade::grFix) ||
                               (dah != nullptr && dah->Grade == TGrade::grFix)
                           ? 1
                           : 0;
    }
    return {static_cast<double>(anyFix) / runs, static_cast<double>(spreadFixed) / runs};
}

TEST(VerdictsTest, GradingRatesOverSeededJitter) {
    constexpr int kRuns = 200;
    // Steady keying (CV 8.7 %) never draws advice.
    const TRates steady = RatesAt(0.15, kRuns);
    EXPECT_EQ(steady.AnyFix, 0) << "runs with advice at 8.7 % spread";
    // Far past the fair band (CV 40 %): the spread is to fix in nearly every run.
    const TRates ragged = RatesAt(0.7, kRuns);
    EXPECT_GE(ragged.SpreadFixed, 0.95) << "spread judged at 40 %";
    std::printf("runs with advice: %.1f %% at CV 8.7 %%; spread to fix: %.1f %% at CV 40 %%\n",
                steady.AnyFix * 100, ragged.SpreadFixed * 100);
}

// Keyings of a known weighting or spacing with jitter: the share of runs whose figure gets the
// grade its true value lies in, on both sides of every band edge. Where the jitter would carry
// gaps across the strict 2- and 5-unit reading (character gaps of 4.8 units, word gaps of 5.25)
// the reading, not the grading, would be tested; those conditions key with less jitter.
struct TCondition {
    const char* Name;
    double WeightUnits;
    double Farnsworth;
    TFigure Figure;
    TGrade Expected;
    double Jitter = 0.1;
};

TEST(VerdictsTest, GradesOfSeededKeyingsEitherSideOfTheBandEdges) {
    const TCondition conditions[] = {
        {"weighting +0.05", 0.05, 1, TFigure::fgWeighting, TGrade::grGood},
        {"weighting -0.05", -0.05, 1, TFigure::fgWeighting, TGrade::grGood},
        {"weighting +0.15", 0.15, 1, TFigure::fgWeighting, TGrade::grFair},
        {"weighting -0.15", -0.15, 1, TFigure::fgWeighting, TGrade::grFair},
        {"weighting +0.3", 0.3, 1, TFigure::fgWeighting, TGrade::grFix},
        {"weighting -0.3", -0.3, 1, TFigure::fgWeighting, TGrade::grFix},
        {"weighting +0.3, dahs", 0.3, 1, TFigure::fgDahRatio, TGrade::grGood},
        {"character gaps 3 units", 0, 1, TFigure::fgCharacterGap, TGrade::grGood},
        {"character gaps 2.25 units", 0, 0.75, TFigure::fgCharacterGap, TGrade::grFair},
        {"character gaps 4.05 units", 0, 1.35, TFigure::fgCharacterGap, TGrade::grFair},
        {"character gaps 4.8 units", 0, 1.6, TFigure::fgCharacterGap, TGrade::grFix, 0.03},
        {"word gaps 7 units", 0, 1, TFigure::fgWordGap, TGrade::grGood},
        {"word gaps 5.25 units", 0, 0.75, TFigure::fgWordGap, TGrade::grFair, 0.03},
        {"word gaps 9.45 units", 0, 1.35, TFigure::fgWordGap, TGrade::grFair},
        {"word gaps 11.2 units", 0, 1.6, TFigure::fgWordGap, TGrade::grFix, 0.03},
    };
    constexpr int kRuns = 200;
    for (const TCondition& condition : conditions) {
        int right = 0;
        for (int seed = 1; seed <= kRuns; ++seed) {
            testsupport::TKeyingStyle style;
            style.UnitMs = 1200.0 / 18;
            style.Jitter = condition.Jitter;
            style.WeightMs = condition.WeightUnits * style.UnitMs;
            style.Farnsworth = condition.Farnsworth;
            style.Seed = static_cast<uint32_t>(seed);
            const coach::TVerdicts verdicts =
                Judge(testsupport::KeyText("CQ CQ CQ DE UA3SNB UA3SNB PSE K", style));
            const coach::TVerdict* verdict = Find(verdicts, condition.Figure);
            right += verdict != nullptr && verdict->Grade == condition.Expected ? 1 : 0;
        }
        const double rate = static_cast<double>(right) / kRuns;
        std::printf("%-28s %5.1f %% graded %s\n", condition.Name, rate * 100,
                    coach::GradeName(condition.Expected));
        EXPECT_GE(rate, 0.95) << condition.Name;
    }
}

}  // namespace
