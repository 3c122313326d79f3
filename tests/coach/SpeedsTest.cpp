// The coach's speeds from its unit and the run's time, against hand-computed values, and the
// details taking their ideal lines and verdicts from the same unit.
#include "coach/Speeds.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "coach/Details.h"
#include "support/MorseKeying.h"

namespace {

coach::TDetails DetailsOf(const std::string& text, double unitMs, double farnsworth = 1) {
    testsupport::TKeyingStyle style;
    style.UnitMs = unitMs;
    style.Farnsworth = farnsworth;
    return coach::ComputeDetails({testsupport::KeyText(text, style), ""});
}

const char* const kFiveParis = "PARIS PARIS PARIS PARIS PARIS";

TEST(SpeedsTest, TextbookKeyingAt20Wpm) {
    // 60 ms a unit. Five PARIS are 5 * 43 units of characters and character gaps plus four word
    // gaps of 7: 243 units in 243 * 60 ms, 20 wpm with the gaps as keyed too.
    const coach::TDetails details = DetailsOf(kFiveParis, 60);
    EXPECT_EQ(details.Speeds.Wpm, 20u);
    EXPECT_EQ(details.Speeds.EffectiveWpm, 20u);
    // The main window averages the 4 word gaps (420) with the 20 character gaps (180) into its
    // character space, 220 ms: 9600 / (60 + 60 + 180 + 220) = 18.
    EXPECT_EQ(details.Speeds.MainWindowWpm, 18u);
    EXPECT_EQ(coach::MainWindowSpeedNote(details.Speeds),
              "The main window's speed box counts word gaps into the spaces between characters, "
              "so it reads 18 wpm.");
}

TEST(SpeedsTest, IdealLinesAndSpeedComeFromTheUnitNotTheMainWindowsEstimate) {
    // 18 wpm rounded to whole milliseconds: dits 67, dahs 200, gaps 67, 200 and 467 ms.
    const coach::TDetails details = DetailsOf(kFiveParis, 1200.0 / 18);
    EXPECT_EQ(details.Timing.UnitMs, 67);
    EXPECT_EQ(details.Speeds.Wpm, 18u);  // 1200 / 67 = 17.9
    // The ideal dah is three units, 201 ms, where the keyed dahs are.
    EXPECT_DOUBLE_EQ(details.IdealMs[static_cast<size_t>(coach::TElementKind::ekDah)], 201);
    EXPECT_DOUBLE_EQ(details.IdealMs[static_cast<size_t>(coach::TElementKind::ekWordGap)], 469);
    // 9600 / (67 + 67 + 200 + 244): the main window reads 16.
    EXPECT_EQ(details.Speeds.MainWindowWpm, 16u);
    const std::vector<std::string> lines = coach::DetailsLines(details);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Timing\t67\tms\t18\twpm\t18\teffective wpm"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "SpeedNote\tThe main window's speed box counts word gaps into the spaces "
                        "between characters, so it reads 16 wpm."),
              lines.end());
}

TEST(SpeedsTest, StretchedGapsLowerTheEffectiveSpeedOnly) {
    // Farnsworth x1.5 at 18 wpm: character gaps 300 ms, word gaps 700 ms. Five PARIS take
    // 5 * (10 * 67 + 4 * 200 + 9 * 67) + 20 * 300 + 4 * 700 = 19165 ms for 243 standard units:
    // 1200 * 243 / 19165 = 15.2 wpm effective.
    const coach::TDetails details = DetailsOf(kFiveParis, 1200.0 / 18, 1.5);
    EXPECT_EQ(details.Speeds.Wpm, 18u);
    EXPECT_EQ(details.Speeds.EffectiveWpm, 15u);
}

TEST(SpeedsTest, RunsWithoutMarksOrWithoutWordGaps) {
    EXPECT_EQ(coach::RunSpeeds({}, 60).Wpm, 0u);
    EXPECT_EQ(coach::RunSpeeds({{false, 500, coach::TElementKind::ekWordGap}}, 60).EffectiveWpm,
              0u);
    // A leading and a trailing space do not count: one dit of 100 ms is 12 wpm either way.
    const std::vector<coach::TInterval> dit = {{false, 900, coach::TElementKind::ekWordGap},
                                               {true, 100, coach::TElementKind::ekDit},
                                               {false, 900, coach::TElementKind::ekWordGap}};
    EXPECT_EQ(coach::RunSpeeds(dit, 100).EffectiveWpm, 12u);
    EXPECT_EQ(coach::RunSpeeds(dit, 100).MainWindowWpm, 0u);  // no dahs: it has no speed
    EXPECT_EQ(coach::MainWindowSpeedNote(coach::RunSpeeds(dit, 100)), "");
    // Without word gaps the main window still differs when the dit is not a quarter of the four
    // averages: the sentence says why without blaming word gaps.
    coach::TSpeeds speeds;
    speeds.Wpm = 19;
    speeds.MainWindowWpm = 20;
    EXPECT_EQ(coach::MainWindowSpeedNote(speeds).find("word gaps"), std::string::npos);
    speeds.MainWindowWpm = 19;
    EXPECT_EQ(coach::MainWindowSpeedNote(speeds), "");
}

}  // namespace
