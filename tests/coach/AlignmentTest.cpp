// The practice text against the read-back: hand-worked alignments, their marks and accuracy.
#include "coach/Alignment.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "coach/Details.h"
#include "coach/PracticeText.h"
#include "support/MorseKeying.h"

namespace {

TEST(AlignmentTest, HandWorkedCases) {
    coach::TAlignment a = coach::Align("PARIS", "PARIS");
    EXPECT_EQ(a.Distance, 0u);
    EXPECT_EQ(a.AccuracyPercent, 100);

    a = coach::Align("PARIS", "PA*IS");
    EXPECT_EQ(a.Wrong, 1u);
    EXPECT_EQ(a.AccuracyPercent, 80);

    // The word gap was not heard: one missed symbol of eleven.
    a = coach::Align("PARIS PARIS", "PARISPARIS");
    EXPECT_EQ(a.Missed, 1u);
    EXPECT_NEAR(a.AccuracyPercent, 1000.0 / 11, 1e-12);

    a = coach::Align("CQ", "CQQ");
    EXPECT_EQ(a.Extra, 1u);
    EXPECT_EQ(a.AccuracyPercent, 50);

    a = coach::Align("ABC", "");
    EXPECT_EQ(a.Missed, 3u);
    EXPECT_EQ(a.AccuracyPercent, 0);

    // More faults than symbols to send: no accuracy left, never below 0.
    a = coach::Align("AB", "XYZW");
    EXPECT_EQ(a.Distance, 4u);
    EXPECT_EQ(a.AccuracyPercent, 0);

    EXPECT_EQ(coach::Align("", "").AccuracyPercent, 100);
    EXPECT_EQ(coach::Align("", "E").AccuracyPercent, 0);
}

TEST(AlignmentTest, TheCheapestWayIsMarkedColumnByColumn) {
    // PARIS read as PRIXS: A missed and X extra (2) beats three wrong letters (3).
    const coach::TAlignment a = coach::Align("PARIS", "PRIXS");
    EXPECT_EQ(a.Distance, 2u);
    EXPECT_EQ(a.Missed, 1u);
    EXPECT_EQ(a.Extra, 1u);
    const coach::TAlignmentLines lines = coach::AlignmentLines(a);
    EXPECT_EQ(lines.Sent, "PARI_S");
    EXPECT_EQ(lines.Read, "P_RIXS");
    EXPECT_EQ(lines.Marks, " -  + ");
    // A prosign is one symbol, as wide as its text; a wrong one is one fault.
    const coach::TAlignment p = coach::Align("K <AR>", "K <SK>");
    EXPECT_EQ(p.Distance, 1u);
    EXPECT_NEAR(p.AccuracyPercent, 200.0 / 3, 1e-12);
    const coach::TAlignmentLines pl = coach::AlignmentLines(p);
    EXPECT_EQ(pl.Sent, "K <AR>");
    EXPECT_EQ(pl.Read, "K <SK>");
    EXPECT_EQ(pl.Marks, "  ~   ");
    EXPECT_EQ(coach::AlignmentLines(coach::Align("E", "<AR>")).Sent, "E   ");
}

TEST(AlignmentTest, CaseBlanksAndPunctuationKeyedAsProsignsDoNotCount) {
    EXPECT_EQ(coach::Align("  paris \n paris ", "PARIS PARIS").Distance, 0u);
    EXPECT_EQ(coach::Align("cq +", "CQ <AR>").Distance, 0u);
}

TEST(AlignmentTest, VeryLongTextsAreComparedUpToTheLimit) {
    const std::string longText(coach::kMaxAlignedSymbols + 10, 'E');
    const coach::TAlignment a = coach::Align(longText, longText);
    EXPECT_TRUE(a.Cut);
    EXPECT_EQ(a.SentCount, coach::kMaxAlignedSymbols);
    EXPECT_EQ(a.AccuracyPercent, 100);
    EXPECT_FALSE(coach::Align("E", "E").Cut);
}

TEST(AlignmentTest, TextLeftOutAtEitherEndIsMissedThere) {
    // Three PARIS of five: the sending stopped early, so the last two are missed.
    const coach::TAlignment early =
        coach::Align("PARIS PARIS PARIS PARIS PARIS", "PARIS PARIS PARIS");
    EXPECT_EQ(early.Missed, 12u);
    const coach::TAlignmentLines e = coach::AlignmentLines(early);
    EXPECT_EQ(e.Read, "PARIS PARIS PARIS____________");
    EXPECT_EQ(e.Marks, "                 ------------");
    // The same when the repeated words differ in one place: the slip stays where it was keyed.
    const coach::TAlignmentLines slip = coach::AlignmentLines(coach::Align("CQ CQ CQ CQ", "CQ CK"));
    EXPECT_EQ(slip.Read, "CQ CK______");
    EXPECT_EQ(slip.Marks, "    ~------");
    // A sending begun late has missed the start, and one with text left out in the middle
    // misses it there.
    EXPECT_EQ(coach::AlignmentLines(coach::Align("PARIS PARIS", "RIS PARIS")).Read, "__RIS PARIS");
    EXPECT_EQ(coach::AlignmentLines(coach::Align("CQ DE UA3SNB", "CQ UA3SNB")).Read,
              "CQ ___UA3SNB");
    // One keyed word of a text of one repeated word is its first.
    EXPECT_EQ(coach::AlignmentLines(coach::Align("EEE", "E")).Marks, " --");
}

TEST(AlignmentTest, APracticeRunWithOneSlipShowsItsAccuracy) {
    // Keyed PARIS PARIS with the second R keyed as K (-.- for .-.).
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    const coach::TDetails details =
        coach::ComputeDetails({testsupport::KeyText("PARIS PAKIS", style), "paris paris"});
    ASSERT_TRUE(details.HasPractice);
    EXPECT_EQ(details.Alignment.Wrong, 1u);
    const std::vector<std::string> lines = coach::DetailsLines(details);
    const auto sent = std::find(lines.begin(), lines.end(), "Sent\tPARIS PARIS");
    ASSERT_LE(sent + 4, lines.end());
    const std::vector<std::string> tail(sent, sent + 4);
    EXPECT_EQ(tail, (std::vector<std::string>{"Sent\tPARIS PARIS", "Read\tPARIS PAKIS",
                                              "Marks\t        ~  ", "Accuracy\t90.9 %"}));
    EXPECT_FALSE(coach::ComputeDetails({testsupport::KeyText("E", style), " \n"}).HasPractice);
}

TEST(PracticeTextTest, GeneratedTextsHaveTheirFormAndDependOnlyOnTheSeed) {
    EXPECT_EQ(coach::ParisText(3), "PARIS PARIS PARIS");
    EXPECT_EQ(coach::ParisText(0), "");
    const std::string groups = coach::RandomGroupsText(10, 7);
    ASSERT_EQ(groups.size(), 59u);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (i % 6 == 5) {
            EXPECT_EQ(groups[i], ' ');
        } else {
            EXPECT_TRUE(groups[i] >= 'A' && groups[i] <= 'Z') << groups;
        }
    }
    EXPECT_EQ(groups, coach::RandomGroupsText(10, 7));
    EXPECT_NE(groups, coach::RandomGroupsText(10, 8));
    // The seed's first numbers are fixed by the engine: the same texts on every machine.
    EXPECT_EQ(coach::RandomGroupsText(1, 5489), coach::RandomGroupsText(1, 5489));

    const std::string cq = coach::CqCallsText(2, 3);
    const size_t end = cq.find(" K ");  // the end of the first call
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(cq.find('\n'), std::string::npos);
    for (const std::string& call : {cq.substr(0, end + 2), cq.substr(end + 3)}) {
        ASSERT_EQ(call.rfind("CQ CQ CQ DE ", 0), 0u) << call;
        ASSERT_EQ(call.substr(call.size() - 2), " K") << call;
        const std::string calls = call.substr(12, call.size() - 14);
        const std::string sign = calls.substr(0, calls.find(' '));
        EXPECT_EQ(calls, sign + " " + sign + " " + sign);
        const size_t digit = sign.find_first_of("0123456789");
        EXPECT_TRUE(digit == 1 || digit == 2) << sign;
        EXPECT_GE(sign.size() - digit - 1, 1u) << sign;
        EXPECT_LE(sign.size() - digit - 1, 3u) << sign;
    }
}

TEST(PracticeTextTest, EveryPickedTextKeysAndReadsBackWhole) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        for (const coach::TPracticeKind kind :
             {coach::TPracticeKind::pkParis, coach::TPracticeKind::pkCqCalls,
              coach::TPracticeKind::pkRandomGroups}) {
            const std::string text = coach::PracticeText(kind, seed);
            testsupport::TKeyingStyle style;
            style.Jitter = 0.1;
            style.Seed = seed;
            const coach::TDetails details =
                coach::ComputeDetails({testsupport::KeyText(text, style), text});
            EXPECT_EQ(details.Alignment.AccuracyPercent, 100) << text;
        }
    }
}

}  // namespace
