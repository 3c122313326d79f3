// The read-back: runs keyed from known texts at many speeds, with jitter, weighting errors and
// stretched spacing, decode to those texts; the timing split and the gap rule at their edges.
#include "coach/ReadBack.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "coach/Details.h"
#include "coach/Morse.h"
#include "support/MorseKeying.h"

namespace {

using coach::TElementKind;
using coach::TTransition;
using testsupport::KeyText;
using testsupport::TKeyingStyle;

std::vector<coach::TTransition> RunOf(std::initializer_list<uint32_t> lengths) {
    return testsupport::RunOfLengths(lengths);
}

std::string ReadBack(const std::vector<TTransition>& transitions) {
    return coach::ComputeDetails({transitions, ""}).ReadBack.Text;
}

// The textbook reading: marks split at their average, spaces at 2 and 5 average dits.
std::string StrictReadBack(const std::vector<TTransition>& transitions) {
    return coach::ComputeDetails({transitions, ""}).StrictReadBack.Text;
}

const char* const kTexts[] = {
    "PARIS PARIS",
    "CQ CQ DE DL1ABC DL1ABC K",
    "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789",
    "RST 599 QTH BERLIN, NAME PETER? 73/",
};

TEST(ReadBackTest, TextsKeyedFrom5To40WpmWithJitterUpTo20PercentDecodeToThemselves) {
    for (const int wpm : {5, 8, 12, 15, 20, 25, 30, 35, 40}) {
        for (const double jitter : {0.0, 0.1, 0.2}) {
            for (uint32_t seed = 1; seed <= 3; ++seed) {
                for (const char* text : kTexts) {
                    TKeyingStyle style;
                    style.UnitMs = 1200.0 / wpm;
                    style.Jitter = jitter;
                    style.Seed = seed;
                    EXPECT_EQ(ReadBack(KeyText(text, style)), text)
                        << wpm << " wpm, jitter " << jitter << ", seed " << seed;
                }
            }
        }
    }
}

TEST(ReadBackTest, TheSpeedFollowsTheKeyingAndTheUnitIsTheAverageDit) {
    for (const int wpm : {5, 13, 20, 40}) {
        TKeyingStyle style;
        style.UnitMs = 1200.0 / wpm;
        // One word: the analysis' speed counts no word gaps among its character spaces.
        const coach::TDetails details = coach::ComputeDetails({KeyText("PARIS", style), ""});
        EXPECT_NEAR(details.Timing.Wpm, wpm, 1) << wpm;
        EXPECT_NEAR(details.Timing.UnitMs, style.UnitMs, 1) << wpm;
        EXPECT_FALSE(details.Timing.OneKind);
    }
}

TEST(ReadBackTest, HeavyAndLightWeightingAndStretchedSpacingStillDecode) {
    for (const double weight : {-0.2, 0.2}) {
        for (uint32_t seed = 1; seed <= 5; ++seed) {
            TKeyingStyle style;
            style.UnitMs = 60;
            style.WeightMs = weight * style.UnitMs;
            style.Jitter = 0.05;
            style.Seed = seed;
            EXPECT_EQ(ReadBack(KeyText(kTexts[2], style)), kTexts[2]) << weight << " " << seed;
        }
    }
    // Farnsworth: characters at 25 wpm, the gaps between them stretched up to 1.6 times.
    for (const double stretch : {1.2, 1.4, 1.6}) {
        TKeyingStyle style;
        style.UnitMs = 48;
        style.Farnsworth = stretch;
        EXPECT_EQ(ReadBack(KeyText(kTexts[1], style)), kTexts[1]) << stretch;
    }
    TKeyingStyle wide;
    wide.Farnsworth = 1.4;
    wide.Jitter = 0.1;
    EXPECT_EQ(ReadBack(KeyText(kTexts[0], wide)), kTexts[0]);
}

TEST(ReadBackTest, TheStrictReadingSplitsSpacesAtTwoAndFiveUnitsOfTheAverageDit) {
    // Dits of 100 ms and dahs of 300 ms: the unit is 100 ms.
    // E, then spaces of 199 (element gap: I), 200 (character gap: E E), 499 and 500 (word gap).
    EXPECT_EQ(StrictReadBack(RunOf({100, 199, 100, 300, 300})), "IT");
    EXPECT_EQ(StrictReadBack(RunOf({100, 200, 100, 300, 300})), "EET");
    EXPECT_EQ(StrictReadBack(RunOf({100, 499, 100, 300, 300})), "EET");
    EXPECT_EQ(StrictReadBack(RunOf({100, 500, 100, 300, 300})), "E ET");
    std::vector<coach::TInterval> intervals = coach::Intervals(RunOf({100, 500, 100, 300, 300}));
    coach::Classify(intervals);
    ASSERT_EQ(intervals.size(), 5u);
    EXPECT_EQ(intervals[1].Kind, TElementKind::ekWordGap);
    EXPECT_EQ(intervals[3].Kind, TElementKind::ekCharacterGap);
    EXPECT_EQ(intervals[4].Kind, TElementKind::ekDah);
}

TEST(ReadBackTest, MarksSplitAtTheirAverageAsTheAnalysisSplitsThem) {
    // The analysis' worked example: marks 64, 180, 62, 175, 66, 190, 60 average 113; dits average
    // 63 ms, which is the unit; the spaces 52, 58, 170, 50, 56, 185 are gaps of 0.8 to 2.9 units.
    const std::vector<TTransition> run =
        RunOf({64, 52, 180, 58, 62, 170, 175, 50, 66, 56, 190, 185, 60});
    const coach::TDetails details = coach::ComputeDetails({run, ""});
    EXPECT_EQ(details.Timing.MarkSplitMs, 113u);
    EXPECT_EQ(details.Timing.UnitMs, 63);
    EXPECT_EQ(details.Timing.Wpm, 20u);  // as the analysis shows it
    EXPECT_EQ(details.ReadBack.Text, "RKE");
    ASSERT_EQ(details.ReadBack.Characters.size(), 3u);
    EXPECT_EQ(details.ReadBack.Characters[1].Code, "-.-");
    EXPECT_EQ(details.ReadBack.Characters[1].FirstInterval, 6u);
    EXPECT_EQ(details.ReadBack.Characters[1].IntervalCount, 5u);
}

TEST(ReadBackTest, ARunOfOneElementOrNoneReadsWithoutFault) {
    EXPECT_EQ(ReadBack({}), "");
    EXPECT_EQ(ReadBack({{100, true}}), "");
    const coach::TDetails one = coach::ComputeDetails({RunOf({70}), ""});
    EXPECT_EQ(one.ReadBack.Text, "E");  // a lone mark is taken for a dit
    EXPECT_EQ(one.Timing.UnitMs, 70);
    EXPECT_EQ(one.Timing.Wpm, 17u);  // 1200 / 70
    EXPECT_EQ(one.Spread[0].Count, 1u);
    // A lone space (the key released, then pressed) reads as nothing.
    EXPECT_EQ(ReadBack({{100, false}, {400, true}}), "");
}

TEST(ReadBackTest, RunsOfOneKindOfElementReadByTheirGaps) {
    for (uint32_t seed = 1; seed <= 5; ++seed) {
        TKeyingStyle style;
        style.Jitter = 0.15;
        style.Seed = seed;
        EXPECT_EQ(ReadBack(KeyText("HI HI 5 ES", style)), "HI HI 5 ES") << seed;
        EXPECT_EQ(ReadBack(KeyText("TO MOM OTTO", style)), "TO MOM OTTO") << seed;
    }
    const coach::TDetails dahs = coach::ComputeDetails({RunOf({300, 100, 300, 100, 300}), ""});
    EXPECT_EQ(dahs.ReadBack.Text, "O");
    EXPECT_TRUE(dahs.Timing.OneKind);
    EXPECT_EQ(dahs.Timing.UnitMs, 100);
}

TEST(ReadBackTest, ProsignsAreWrittenInAngleBracketsAndUnknownCodesAsAStar) {
    TKeyingStyle style;
    style.Jitter = 0.1;
    const std::string text = "CQ <BT> TEST <KN> <AR> <SK> <AS> <SN> <KA> <HH>";
    EXPECT_EQ(ReadBack(KeyText(text, style)), text);
    // Punctuation that shares a prosign's code is read as the prosign.
    EXPECT_EQ(ReadBack(KeyText("A+B=C", style)), "A<AR>B<BT>C");
    // ..-- is no character: the strict reading writes a star and reads on; the listener hears two
    // characters in it.
    const auto unknown = RunOf({100, 100, 100, 100, 300, 100, 300, 300, 100, 100, 300});
    EXPECT_EQ(StrictReadBack(unknown), "*A");
    EXPECT_EQ(coach::Symbols(ReadBack(unknown)).size(), 3u);
}

TEST(ReadBackTest, ARunBegunWithTheKeyDownOrWithRepeatedLevelsReadsTheSame) {
    std::vector<TTransition> run = KeyText("PARIS", TKeyingStyle());
    const std::string plain = ReadBack(run);
    // The key was down at Start: the first change is a release, then a long space.
    std::vector<TTransition> begunDown = run;
    for (TTransition& t : begunDown) {
        t.TimeMs += 1000;
    }
    begunDown.insert(begunDown.begin(), {100, false});
    EXPECT_EQ(ReadBack(begunDown), plain);
    // A change that keeps the level (a toggle without a press) lengthens the interval it lies in.
    std::vector<coach::TInterval> intervals =
        coach::Intervals({{100, true}, {130, true}, {160, false}, {220, true}, {280, false}});
    ASSERT_EQ(intervals.size(), 3u);
    EXPECT_EQ(intervals[0].LengthMs, 60u);
    EXPECT_TRUE(intervals[0].Mark);
    EXPECT_EQ(intervals[1].LengthMs, 60u);
}

TEST(ReadBackTest, TimesThatWrapAt32BitsMeasureAcrossTheWrap) {
    std::vector<TTransition> run = KeyText("PARIS", TKeyingStyle());
    for (TTransition& t : run) {
        t.TimeMs += 4294967295u - 500;  // the chart's times are unsigned 32-bit
    }
    EXPECT_EQ(ReadBack(run), "PARIS");
}

TEST(MorseTest, TheTableHoldsTheInternationalCode) {
    // Letters and digits as a Morse chart lists them.
    const char* const chart =
        "A.- B-... C-.-. D-.. E. F..-. G--. H.... I.. J.--- K-.- L.-.. M-- N-. O--- P.--. Q--.- "
        "R.-. S... T- U..- V...- W.-- X-..- Y-.-- Z--.. 0----- 1.---- 2..--- 3...-- 4....- "
        "5..... 6-.... 7--... 8---.. 9----. ..-.-.- ,--..-- ?..--.. /-..-.";
    std::string rest = chart;
    while (!rest.empty()) {
        const size_t end = rest.find(' ');
        const std::string entry = rest.substr(0, end);
        rest = end == std::string::npos ? "" : rest.substr(end + 1);
        const std::string symbol = entry.substr(0, 1);
        const std::string code = entry.substr(1);
        EXPECT_EQ(coach::SymbolCode(symbol), code) << symbol;
        EXPECT_EQ(coach::CodeText(code), symbol) << code;
    }
    EXPECT_EQ(coach::SymbolCode("<sk>"), "...-.-");
    EXPECT_EQ(coach::CodeText("...-.-"), "<SK>");
    EXPECT_EQ(coach::CodeText("........."), "*");
    EXPECT_EQ(coach::SymbolCode(" "), "");
}

TEST(MorseTest, TextsSplitIntoSymbols) {
    const std::vector<std::string> expected = {"C", "Q", " ", "<AR>", " ", "<", "X", "é", "<BT>"};
    EXPECT_EQ(coach::Symbols("  cq \n\t <ar> <xé= "), expected);
    EXPECT_EQ(coach::Symbols("<a1>"), (std::vector<std::string>{"<", "A", "1", ">"}));
    EXPECT_EQ(coach::JoinSymbols(coach::Symbols(" de  dl1abc ")), "DE DL1ABC");
}

}  // namespace
