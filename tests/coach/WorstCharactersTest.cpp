// Worst characters: the stray of each character's elements from the ideal at the run's unit.
#include "coach/WorstCharacters.h"

#include <gtest/gtest.h>

#include "coach/Details.h"
#include "support/MorseKeying.h"

namespace {

std::vector<coach::TTransition> RunOf(std::initializer_list<uint32_t> lengths) {
    return testsupport::RunOfLengths(lengths);
}

TEST(WorstCharactersTest, EachCharacterIsJudgedByItsWorstKindAtTheRunsUnit) {
    // Unit 100 ms (the dits). Q with dahs of 240 (20 % short), E exact, S with element gaps of
    // 130 (30 % long), Q again with dahs of 240.
    const auto run = RunOf({240, 100, 240, 100, 100, 100, 240, 300,  // Q
                            100, 300,                                // E
                            100, 130, 100, 130, 100, 300,            // S
                            240, 100, 240, 100, 100, 100, 240});     // Q
    const coach::TDetails details = coach::ComputeDetails({run, ""});
    ASSERT_EQ(details.ReadBack.Text, "QESQ");
    ASSERT_EQ(details.Worst.size(), 3u);
    EXPECT_EQ(details.Worst[0].Sentence, "S: element gaps 30 % long");
    EXPECT_EQ(details.Worst[1].Sentence, "Q: dahs 20 % short");
    EXPECT_EQ(details.Worst[1].Occurrences, 2);
    EXPECT_NEAR(details.Worst[1].StrayPercent, -20, 1e-9);
    EXPECT_EQ(details.Worst[2].Sentence, "E: dits on time");
}

TEST(WorstCharactersTest, OnlyTheFiveWorstAreNamedAndUnknownCodesAreLeftOut) {
    testsupport::TKeyingStyle style;
    style.Jitter = 0.2;
    const auto run = testsupport::KeyText("THE QUICK BROWN FOX", style);
    const coach::TDetails details = coach::ComputeDetails({run, ""});
    ASSERT_EQ(details.Worst.size(), 5u);
    for (size_t i = 1; i < details.Worst.size(); ++i) {
        EXPECT_GE(std::fabs(details.Worst[i - 1].StrayPercent),
                  std::fabs(details.Worst[i].StrayPercent));
    }
    // ..-- (no character in the strict reading), then A with its dah 50 % long.
    const auto unknown = RunOf({100, 100, 100, 100, 300, 100, 300, 300, 100, 100, 450});
    const coach::TDetails withStar = coach::ComputeDetails({unknown, ""});
    ASSERT_EQ(withStar.StrictReadBack.Text, "*A");
    const std::vector<coach::TCharacterStray> worst =
        coach::WorstCharacters(withStar.StrictIntervals, withStar.StrictReadBack, withStar.Timing);
    ASSERT_EQ(worst.size(), 1u);
    EXPECT_EQ(worst[0].Sentence.substr(0, 3), "A: ");
}

}  // namespace
