// keyvet-replay --details: the coach's lines after the unchanged usual ones, worked by hand on
// the analysis' own example run.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include "support/ToolRun.h"

namespace {

using testsupport::TToolRun;

TToolRun RunTool(const std::string& options, const std::string& script) {
    char scriptPath[] = "/tmp/keyvet-replay-details-XXXXXX";
    const int fd = mkstemp(scriptPath);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(scriptPath) << script;
    TToolRun run = testsupport::RunBuiltTool("keyvet-replay", options + " " + scriptPath);
    std::remove(scriptPath);
    return run;
}

// The analysis' worked example: marks 64, 180, 62, 175, 66, 190, 60 and spaces 52, 58, 170,
// 50, 56, 185.
const char* const kExample =
    "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n911 down\n977 up\n"
    "1033 down\n1223 up\n1408 down\n1468 up\n";

TEST(ReplayDetailsTest, TheDetailsFollowTheUnchangedUsualLines) {
    const TToolRun plain = RunTool("", kExample);
    ASSERT_EQ(plain.Status, 0) << plain.Err;
    const TToolRun details = RunTool("--details", kExample);
    ASSERT_EQ(details.Status, 0) << details.Err;
    ASSERT_EQ(details.Out.substr(0, plain.Out.size()), plain.Out);
    EXPECT_NE(plain.Out.find("Edit10\t20\n"), std::string::npos);
    // Unit 63 ms (the average dit); dits 64, 62, 66, 60: sd sqrt(20 / 3) = 2.58, 4.1 % of 63;
    // dahs 180, 175, 190: mean 181.67, sd 7.64; element gaps 52, 58, 50, 56: sd sqrt(40 / 3);
    // character gaps 170, 185: sd 10.61.
    // 1200 / 63 is 19 wpm; the 23 standard units of R K E and their gaps over the 1368 ms from
    // the first press to the last release make 20 wpm effective, and the main window's
    // 9600 / 475 is 20 as well. Four dits and three dahs are too few to judge the run; the
    // weighting is 9 / 117 = 0.077 unit.
    // R (.-.): its gaps 52 and 58 average 55 of 63 ms, 12.7 % short; K (-.-): gaps 50 and 56,
    // 15.9 % short; E: its dit of 60 is 4.8 % short.
    EXPECT_EQ(details.Out.substr(plain.Out.size()),
              "ReadBack\tRKE\n"
              "Strict\tRKE\n"
              "Timing\t63\tms\t19\twpm\t20\teffective wpm\n"
              "SpeedNote\tThe main window's speed box reads 20 wpm: it takes the speed from the "
              "dit, the dah and both spaces together, not from the dit alone.\n"
              "Spread\tdits\t4\t63\t2.6\t4.1\t60\t66\n"
              "Spread\tdahs\t3\t181.7\t7.6\t4.2\t175\t190\n"
              "Spread\telement gaps\t4\t54\t3.7\t6.8\t50\t58\n"
              "Spread\tcharacter gaps\t2\t177.5\t10.6\t6\t170\t185\n"
              "Spread\tword gaps\t0\t0\t0\t0\t0\t0\n"
              "Worst\tK: element gaps 16 % short\n"
              "Worst\tR: element gaps 13 % short\n"
              "Worst\tE: dits 5 % short\n"
              "Verdict\tweighting\t0.08\tgood\n"
              "Verdict\tdit spread\t4.1\tgood\n"
              "Verdict\telement gap spread\t6.76\tgood\n"
              "Advice\tThis run is too short to judge: it holds 4 dits and 3 dahs, and at least "
              "4 of each are needed; the main window's merits do not apply to it.\n"
              "Advice\tNothing to fix in the figures it holds.\n");
}

TEST(ReplayDetailsTest, APracticeTextIsAlignedWithTheReadBackAndLeavesTheUsualLinesAlone) {
    const TToolRun plain = RunTool("", kExample);
    // R K E keyed against R X E: one wrong character of three.
    const TToolRun practised = RunTool("", std::string("practice RXE\n") + kExample);
    ASSERT_EQ(practised.Status, 0) << practised.Err;
    EXPECT_EQ(practised.Out, plain.Out);
    const TToolRun details = RunTool("--details", std::string("practice RXE\n") + kExample);
    ASSERT_EQ(details.Status, 0) << details.Err;
    const size_t worst = details.Out.find("Worst\tE: dits 5 % short\n");
    const size_t verdicts = details.Out.find("Verdict\t");
    ASSERT_LT(worst, verdicts);
    EXPECT_EQ(details.Out.substr(worst, verdicts - worst),
              "Worst\tE: dits 5 % short\n"
              "Sent\tRXE\n"
              "Read\tRKE\n"
              "Marks\t ~ \n"
              "Accuracy\t66.7 %\n");
    // The verdicts follow, as without a practice text.
    const TToolRun alone = RunTool("--details", kExample);
    EXPECT_EQ(details.Out.substr(verdicts), alone.Out.substr(alone.Out.find("Verdict\t")));
}

TEST(ReplayDetailsTest, ThePracticeTextsControlBytesAreShownAsQuestionMarks) {
    // A NUL, and an escape sequence that would set the terminal's title.
    const std::string practice = std::string("practice R\x1b]0;x\x07K") + '\0' + "E\n";
    const TToolRun details = RunTool("--details", practice + kExample);
    ASSERT_EQ(details.Status, 0) << details.Err;
    const size_t sent = details.Out.find("\nSent\t");
    ASSERT_NE(sent, std::string::npos) << details.Out;
    const std::string line = details.Out.substr(sent + 1, details.Out.find('\n', sent + 1) - sent);
    EXPECT_EQ(line.substr(0, 5 + 8), "Sent\tR?]0;X?K") << line;  // shown in capitals
    for (const char c : details.Out) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 || c == '\t' || c == '\n') << "control byte " << int{byte};
    }
}

TEST(ReplayDetailsTest, AnAccuracyOfACutComparisonSaysItWasCut) {
    // 4,001 characters of practice text: only the first 4,000 are compared.
    const std::string practice = "practice " + std::string(4001, 'E') + "\n";
    const TToolRun details = RunTool("--details", practice + kExample);
    ASSERT_EQ(details.Status, 0) << details.Err;
    const size_t accuracy = details.Out.find("\nAccuracy\t");
    ASSERT_NE(accuracy, std::string::npos) << details.Out;
    const std::string line = details.Out.substr(accuracy + 1);
    EXPECT_NE(line.find(" %\t(only the first 4000 characters of each were compared)\n"),
              std::string::npos)
        << line;
    // Within the limit nothing is added.
    const TToolRun whole = RunTool("--details", std::string("practice RKE\n") + kExample);
    EXPECT_NE(whole.Out.find("\nAccuracy\t100 %\n"), std::string::npos) << whole.Out;
}

TEST(ReplayDetailsTest, ARunWhoseAnalysisStoppedHasNoDetails) {
    const TToolRun run = RunTool("--details", "50 down\n60 up\n90 down\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("Dialog\tDivision by zero\n"), std::string::npos);
    EXPECT_EQ(run.Out.substr(run.Out.size() - 24), "Details\tno analysed run\n");
}

TEST(ReplayDetailsTest, TheOptionIsDocumentedAndMixesWithTheOthers) {
    const TToolRun help = testsupport::RunBuiltTool("keyvet-replay", "--help");
    EXPECT_NE(help.Out.find("[--details] SCRIPT"), std::string::npos);
    EXPECT_NE(help.Out.find("  --details      then print the read-back"), std::string::npos);
    const TToolRun alone = testsupport::RunBuiltTool("keyvet-replay", "--details");
    EXPECT_EQ(alone.Status, 2);
    const std::string png = "/tmp/keyvet-replay-details-chart.png";
    const TToolRun both = RunTool("--details --chart " + png, kExample);
    EXPECT_EQ(both.Status, 0) << both.Err;
    EXPECT_NE(both.Out.find("ReadBack\tRKE\n"), std::string::npos);
    EXPECT_EQ(std::remove(png.c_str()), 0);
}

}  // namespace
