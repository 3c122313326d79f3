// The replay lets idle slices pass at once: the same output as polling every slice, long runs
// in a handful of pump passes, and runs longer than a poll count holds refused at their line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "replay/Replay.h"
#include "replay/ReplayScript.h"

namespace {

struct TOutcome {
    std::vector<std::string> Lines;
    int64_t Passes = 0;
};

TOutcome Replay(const std::string& text, bool stepping) {
    replay::TReplay run(replay::ParseScript(text));
    run.Simulation().SetStepping(stepping);
    TOutcome outcome;
    outcome.Lines = run.Run();
    outcome.Passes = run.Simulation().Passes();
    return outcome;
}

TEST(ReplaySliceTest, LettingIdleSlicesPassGivesTheOutputOfPollingEverySlice) {
    const char* const scripts[] = {
        // The worked keying at 100 polls per millisecond.
        "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n911 down\n"
        "977 up\n1033 down\n1223 up\n1408 down\n1468 up\n",
        // A fractional rate with fractional times that fall between polls and on them, two
        // events at one time, a bounce within one poll, and an event after Finish.
        "rate 2.5\ntick0 4294967000\n10.2 down\n10.4 up\n10.4 down\n70.4 up\n130 down\n"
        "310.8 up\n370 down\n430.0001 up\n490 down\n670 up\nfinish 900\n950 down\n",
        // Begun with the key down (129), at an odd rate.
        "rate 37.3\ninitial 129\n55 up\n115 down\n295 up\n355 down\n415 up\n475 down\n"
        "655 up\n",
        // Begun with the key down reading 128, and no keying at all.
        "initial 128\n300 up\n",
        "finish 40\n",
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        const TOutcome stepped = Replay(script, true);
        const TOutcome skipped = Replay(script, false);
        EXPECT_EQ(skipped.Lines, stepped.Lines);
        EXPECT_LT(skipped.Passes * 10, stepped.Passes);
    }
}

TEST(ReplaySliceTest, HoursOfKeyingTakeAHandfulOfPasses) {
    // 11 hours at 100 polls per millisecond: four billion polls, within a poll count.
    {
        const TOutcome run = Replay("1000 down\n39999000 up\n", false);
        EXPECT_LT(run.Passes, 10);
        // The release logs poll 3999900000, which the time line cannot read as an integer.
        const std::vector<std::string>& lines = run.Lines;
        EXPECT_NE(std::find(lines.begin(), lines.end(),
                            "Dialog\t'3999900000' is not a valid integer value"),
                  lines.end());
    }
    // An event far beyond an early Finish is never reached.
    {
        const TOutcome run = Replay("finish 1000\n100 down\n200 up\n1e15 down\n", false);
        EXPECT_LT(run.Passes, 10);
    }
    // A keying spread over three hours reads as it would at once.
    const TOutcome spread = Replay(
        "rate 160\n100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n10800686 down\n"
        "10800861 up\n",
        false);
    EXPECT_LT(spread.Passes, 20);
    EXPECT_EQ(spread.Lines[1], "Label21\t160");
}

TEST(ReplaySliceTest, RunsLongerThanAPollCountHoldsAreRefusedAtTheLineThatAsksForThem) {
    const std::pair<const char*, int> cases[] = {
        {"finish 1e12\n", 1},
        {"rate 1e9\n", 1},
        {"# far\n100 down\n1e15 up\n", 3},
        {"rate 1e6\n100 down\nfinish 5000\n", 3},  // the finish makes it so
        {"finish 5000\n100 down\nrate 1e6\n", 3},  // the rate does
        {"rate 1\nfinish 4294967296\n", 2},        // one poll too many
    };
    for (const auto& [script, line] : cases) {
        SCOPED_TRACE(script);
        try {
            replay::ParseScript(script);
            ADD_FAILURE() << "not refused";
        } catch (const replay::EScriptError& e) {
            EXPECT_EQ(e.Line(), line);
            EXPECT_NE(std::string(e.what()).find("more than 4294967295 polls"), std::string::npos)
                << e.what();
        }
    }
    // The longest run a poll count holds is taken.
    EXPECT_NO_THROW(replay::ParseScript("rate 1\nfinish 4294967295\n"));
}

}  // namespace
