// The exports' text, checked character for character: quoting, line ends, order and headings.
#include "history/Csv.h"

#include <gtest/gtest.h>

#include "support/TimeZone.h"

namespace {

class CsvTest : public ::testing::Test {
  private:
    testsupport::TScopedTimeZone m_zone{"UTC"};
};

TEST_F(CsvTest, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ("plain text", history::CsvField("plain text"));
    EXPECT_EQ("", history::CsvField(""));
    EXPECT_EQ("\"a,b\"", history::CsvField("a,b"));
    EXPECT_EQ("\"say \"\"hi\"\"\"", history::CsvField("say \"hi\""));
    EXPECT_EQ("\"\"\"\"", history::CsvField("\""));
    EXPECT_EQ("\"two\nlines\"", history::CsvField("two\nlines"));
    EXPECT_EQ("\"cr\rhere\"", history::CsvField("cr\rhere"));
    EXPECT_EQ("semi;colon 'single'", history::CsvField("semi;colon 'single'"));
}

TEST_F(CsvTest, TimesAreLocalDateAndTime) {
    EXPECT_EQ("1970-01-01 00:00:00", history::FormatTime(0));
    EXPECT_EQ("1970-01-01 00:00:00", history::FormatTime(999));
    EXPECT_EQ("1969-12-31 23:59:59", history::FormatTime(-1));
    // 2026-12-07 13:49:21 UTC.
    EXPECT_EQ("2026-12-07 13:49:21", history::FormatTime(1796651361000 + 500));
}

TEST_F(CsvTest, RunExportHoldsResultsThenTransitions) {
    history::TRun run;
    run.Time = 86400000;  // 1970-01-02
    run.Results = {"63",
                   "181",
                   "54",
                   "177",
                   "2,00854700854701",
                   "1.16666666666667",
                   "-3",
                   "weighting is heavy",
                   "",
                   "20",
                   "96",
                   "0.99",
                   "Charspace is long"};
    run.PracticeText = "CQ \"DE\", K";
    run.StartLevel = 0;
    run.Transitions = {{100, 1}, {164, 0}, {4294967295u, 1}};
    const std::string expected =
        "Time,1970-01-02 00:00:00\r\n"
        "Practice text,\"CQ \"\"DE\"\", K\"\r\n"
        "Average dit length (ms),63\r\n"
        "Average dah length (ms),181\r\n"
        "Average dit-space (ms),54\r\n"
        "Average dah-space (ms),177\r\n"
        "(Dah+Space)/(Dit+Space) ratio,\"2,00854700854701\"\r\n"
        "Weight ratio,1.16666666666667\r\n"
        "Character merit,-3\r\n"
        "Weighting advice,weighting is heavy\r\n"
        "Dash advice,\r\n"
        "Estimated speed (wpm),20\r\n"
        "Word merit,96\r\n"
        "Dash/Dashspace ratio,0.99\r\n"
        "Charspace advice,Charspace is long\r\n"
        "\r\n"
        "Transition,Time (ms),Key\r\n"
        "1,100,down\r\n"
        "2,164,up\r\n"
        "3,4294967295,down\r\n";
    EXPECT_EQ(expected, history::RunCsv(run));
}

TEST_F(CsvTest, HistoryExportIsOneLinePerRunOldestFirst) {
    history::TRunSummary newer;
    newer.Id = 2;
    newer.Time = 120000;
    newer.Results.fill("1");
    newer.PracticeText = "PARIS";
    newer.Usable = true;
    newer.ReadBack = "PA RIS, \"Q\"";
    newer.AccuracyPercent = 80;
    history::TRunSummary older;
    older.Id = 9;
    older.Time = 60000;
    older.Results.fill("");
    older.Results[9] = "18";
    older.PracticeText = "line\nbreak";
    // Judged unusable, but taken back in by the operator: in the progress.
    history::TRunSummary middle = newer;
    middle.Id = 5;
    middle.Time = 90000;
    middle.PracticeText = "";
    middle.ReadBack = "EEE";
    middle.AccuracyPercent.reset();
    middle.Usable = false;
    middle.LeftOut = false;
    history::TRunSummary out = middle;
    out.Id = 6;
    out.LeftOut.reset();
    const std::string expected =
        "Time,Average dit length (ms),Average dah length (ms),Average dit-space (ms),"
        "Average dah-space (ms),(Dah+Space)/(Dit+Space) ratio,Weight ratio,Character merit,"
        "Weighting advice,Dash advice,Estimated speed (wpm),Word merit,Dash/Dashspace ratio,"
        "Charspace advice,Practice text,Character accuracy (%),Read back,"
        "Left out of the progress\r\n"
        "1970-01-01 00:01:00,,,,,,,,,,18,,,,\"line\nbreak\",,,no\r\n"
        "1970-01-01 00:01:30,1,1,1,1,1,1,1,1,1,1,1,1,1,,,EEE,no\r\n"
        "1970-01-01 00:01:30,1,1,1,1,1,1,1,1,1,1,1,1,1,,,EEE,yes\r\n"
        "1970-01-01 00:02:00,1,1,1,1,1,1,1,1,1,1,1,1,1,PARIS,80,\"PA RIS, \"\"Q\"\"\",no\r\n";
    EXPECT_EQ(expected, history::HistoryCsv({newer, out, older, middle}));
    EXPECT_EQ(expected.substr(0, expected.find("\r\n") + 2), history::HistoryCsv({}));
}

TEST_F(CsvTest, AccuracyIsWrittenToTenthsWithAPoint) {
    EXPECT_EQ("100", history::AccuracyText(100));
    EXPECT_EQ("0", history::AccuracyText(0));
    EXPECT_EQ("81.8", history::AccuracyText(100.0 * 9 / 11));  // 81.81..
    EXPECT_EQ("66.7", history::AccuracyText(200.0 / 3));       // 66.66..
    EXPECT_EQ("99.9", history::AccuracyText(99.94));
    EXPECT_EQ("100", history::AccuracyText(99.96));  // rounds up to a whole number
    EXPECT_EQ("12.5", history::AccuracyText(12.5));
}

}  // namespace
