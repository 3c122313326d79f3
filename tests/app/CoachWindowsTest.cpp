// The coach's windows: the analysed run the main window keeps, the Run menu before Help, the
// Practice text window's picks, and the Details window's text and histograms.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "app/DetailsForm.h"
#include "app/MainForm.h"
#include "app/PracticeForm.h"
#include "app/RunMenu.h"
#include "app/Startup.h"
#include "base/Exceptions.h"
#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
#include "forms/Menus.h"
#include "platform/SettingsFile.h"
#include "replay/Replay.h"
#include "support/MorseKeying.h"
#include "support/TempFolder.h"

namespace {

// The analysis' worked example: marks 64, 180, 62, 175, 66, 190, 60 and spaces 52, 58, 170,
// 50, 56, 185, read back as RKE.
const char* const kExample =
    "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n911 down\n977 up\n"
    "1033 down\n1223 up\n1408 down\n1468 up\n";

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CoachWindowsTest, TheMainWindowKeepsEachAnalysedRunWithItsPracticeText) {
    replay::TReplay run(replay::ParseScript(kExample));
    std::vector<coach::TKeyedRun> told;
    run.Form().AddRunAnalysedHandler([&](const coach::TKeyedRun& r) { told.push_back(r); });
    run.Form().SetPracticeText("rke");
    EXPECT_EQ(run.Form().LastAnalysedRun(), nullptr);
    run.Run();
    const coach::TKeyedRun* kept = run.Form().LastAnalysedRun();
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(kept->PracticeText, "rke");
    // The chart times of Finish, 100 at the first transition, and the level after each.
    ASSERT_EQ(kept->Transitions.size(), 14u);
    EXPECT_EQ(kept->Transitions[0].TimeMs, 100u);
    EXPECT_TRUE(kept->Transitions[0].Down);
    EXPECT_EQ(kept->Transitions[13].TimeMs, 1468u);
    EXPECT_FALSE(kept->Transitions[13].Down);
    EXPECT_EQ(told[0].Transitions.size(), 14u);
}

TEST(CoachWindowsTest, ARunWhoseAnalysisStoppedIsNotKept) {
    // Three transitions: the analysis divides by zero.
    replay::TReplay run(replay::ParseScript("50 down\n60 up\n90 down\n"));
    bool told = false;
    run.Form().AddRunAnalysedHandler([&](const coach::TKeyedRun&) { told = true; });
    run.Run();
    EXPECT_EQ(run.Form().LastAnalysedRun(), nullptr);
    EXPECT_FALSE(told);
}

class RunWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app::RegisterClasses();  // the Details window has charts
        m_run = std::make_unique<replay::TReplay>(replay::ParseScript(kExample));
        m_practice = std::make_unique<app::TPracticeForm>(nullptr);
        m_details = std::make_unique<app::TDetailsForm>(nullptr);
        app::AddRunMenu(Main(), *m_practice, *m_details);
    }
    app::TForm1& Main() { return m_run->Form(); }
    forms::TMenuItem& Menu(int32_t index) { return *Main().Menu()->Items().Items(index); }

    std::unique_ptr<replay::TReplay> m_run;
    std::unique_ptr<app::TPracticeForm> m_practice;
    std::unique_ptr<app::TDetailsForm> m_details;
};

TEST_F(RunWindowsTest, TheRunMenuComesJustBeforeHelp) {
    ASSERT_EQ(Main().Menu()->Items().Count(), 2);
    EXPECT_EQ(Menu(0).Caption(), "Run");
    EXPECT_EQ(Menu(1).Caption(), "Help");
    ASSERT_EQ(Menu(0).Count(), 2);
    EXPECT_EQ(Menu(0).Items(0)->Caption(), "Practice text\u2026");
    EXPECT_EQ(Menu(0).Items(1)->Caption(), "Details\u2026");
}

TEST_F(RunWindowsTest, PracticeTextIsPickedOrTypedAndGivenBackOnlyByOk) {
    Main().SetPracticeText("CQ");
    Menu(0).Items(0)->Click();
    EXPECT_TRUE(m_practice->Visible());
    EXPECT_EQ(m_practice->TextEdit().Text(), "CQ");
    m_practice->SetSeed(11);
    m_practice->GroupsButtonClick(nullptr);
    const std::string groups = m_practice->TextEdit().Text();
    EXPECT_EQ(groups.size(), 59u);
    m_practice->GroupsButtonClick(nullptr);  // each pick takes the next seed
    EXPECT_NE(m_practice->TextEdit().Text(), groups);
    m_practice->CancelButtonClick(nullptr);
    EXPECT_FALSE(m_practice->Visible());
    EXPECT_EQ(Main().PracticeText(), "CQ");

    Menu(0).Items(0)->Click();
    m_practice->ParisButtonClick(nullptr);
    m_practice->OKButtonClick(nullptr);
    EXPECT_EQ(Main().PracticeText(), "PARIS PARIS PARIS PARIS PARIS");
    Menu(0).Items(0)->Click();
    m_practice->NoneButtonClick(nullptr);
    m_practice->OKButtonClick(nullptr);
    EXPECT_EQ(Main().PracticeText(), "");
}

TEST_F(RunWindowsTest, DetailsSayThereIsNoRunThenShowTheLastOneAndFollowNewOnes) {
    Menu(0).Items(1)->Click();
    EXPECT_TRUE(m_details->Visible());
    EXPECT_EQ(m_details->TextMemo().Lines().Strings(0), app::TDetailsForm::kNoRunText);
    EXPECT_EQ(m_details->TextMemo().Lines().Count(), 1);

    // Analysed while the window is open: the window follows.
    Main().SetPracticeText("RKT");
    m_run->Run();
    const classes::TLineList& lines = m_details->TextMemo().Lines();
    std::vector<std::string> shown;
    for (int32_t i = 0; i < lines.Count(); ++i) {
        shown.push_back(lines.Strings(i));
    }
    EXPECT_TRUE(Contains(shown, "RKE")) << lines.Text();
    EXPECT_TRUE(Contains(shown, "Sent  RKT")) << lines.Text();
    EXPECT_TRUE(Contains(shown, "Read  RKE")) << lines.Text();
    EXPECT_TRUE(Contains(shown, "        ~")) << lines.Text();
    EXPECT_TRUE(Contains(shown, "Character accuracy: 66.7 % (1 wrong, 0 missed, 0 extra)"));
    // The speed from the unit, 1200 / 63; the 23 standard units of RKE over its 1368 ms.
    EXPECT_TRUE(Contains(shown, "Unit 63 ms (the average dit), speed 19 wpm;")) << lines.Text();
    EXPECT_TRUE(Contains(shown, "with the gaps as keyed, 20 wpm effective."));
    EXPECT_TRUE(
        Contains(shown, "The main window's speed box reads 20 wpm: it takes the speed from"));
    EXPECT_TRUE(Contains(shown, "  the dit, the dah and both spaces together, not from the dit"));
    EXPECT_TRUE(Contains(shown, "dits                   4      63     2.6     4.1      60      66"))
        << lines.Text();
    EXPECT_TRUE(Contains(shown, "K: element gaps 16 % short"));
    EXPECT_EQ(m_details->StrictEdit().Text(), "RKE");
    EXPECT_EQ(m_details->CoachingLabel().Caption(), "It reads the same as the read-back.");

    // Marks in 20 bins of 15.75 ms at their middles: 60 and 62 in bin 3, 64 and 66 in bin 4.
    const chart::TChartSeries& bars = *m_details->MarkChart().Series(0);
    ASSERT_EQ(bars.PointCount(), 20);
    EXPECT_DOUBLE_EQ(bars.XValueAt(3), 3.5 * 15.75);
    EXPECT_EQ(bars.YValueAt(3), 2);
    EXPECT_EQ(bars.YValueAt(12), 1);
    // The ideal dit and dah at the unit, 63 and 189 ms, as high as the highest bar, kept apart
    // by a null point.
    const chart::TChartSeries& ideals = *m_details->MarkChart().Series(1);
    ASSERT_EQ(ideals.PointCount(), 5);
    EXPECT_EQ(ideals.XValueAt(0), 63);
    EXPECT_EQ(ideals.YValueAt(1), 2);
    EXPECT_EQ(ideals.PointColor(2), gfx::clNone);
    EXPECT_EQ(ideals.XValueAt(4), 189);
    const chart::TChartSeries& gaps = *m_details->SpaceChart().Series(1);
    ASSERT_EQ(gaps.PointCount(), 8);
    EXPECT_EQ(gaps.XValueAt(7), 441);
    EXPECT_EQ(m_details->MarkChart().Title().Text().Strings(0),
              "Marks, ms (red: ideal dit and dah at 19 wpm)");

    // The verdicts box: the advice broken into lines that fit, then a row per figure judged.
    // Four dits and three dahs are too few to judge; the weighting is 9 / 117 unit.
    const classes::TLineList& verdicts = m_details->VerdictMemo().Lines();
    std::vector<std::string> rows;
    for (int32_t i = 0; i < verdicts.Count(); ++i) {
        rows.push_back(verdicts.Strings(i));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "This run is too short to judge: it holds 4 dits and 3 dahs, and at",
                        "  least 4 of each are needed; the main window's merits do not",
                        "  apply to it.",
                        "Nothing to fix in the figures it holds.",
                        "",
                        "weighting               +0.08 unit   good",
                        "dit spread                4.1 %      good",
                        "element gap spread       6.76 %      good",
                    }));

    // The weighting's sign shows heavy or light, never on a value shown as 0.
    coach::TVerdicts judged;
    judged.Figures = {{coach::TFigure::fgWeighting, 0.004, coach::TGrade::grGood, ""},
                      {coach::TFigure::fgWeighting, -0.25, coach::TGrade::grFix, ""}};
    EXPECT_EQ(app::VerdictText(judged),
              (std::vector<std::string>{"weighting                   0 unit   good",
                                        "weighting               -0.25 unit   fix"}));

    // Hidden, it is filled afresh when shown; with no practice text there is no alignment.
    m_details->Close();
    m_details->ShowRun(*Main().LastAnalysedRun(), "A past run");
    EXPECT_EQ(m_details->TextMemo().Lines().Strings(0), "A past run");
    m_details->ShowRun({Main().LastAnalysedRun()->Transitions, ""});
    EXPECT_EQ(m_details->TextMemo().Lines().Strings(0), "Read back:");
    EXPECT_EQ(m_details->TextMemo().Lines().Text().find("Sent"), std::string::npos);

    // Keyed with the gaps between characters stretched twice: the strict listener hears a word
    // break between every two characters, and the window says why.
    testsupport::TKeyingStyle stretched;
    stretched.Farnsworth = 2;
    m_details->ShowRun({testsupport::KeyText("DE DL1ABC", stretched), ""});
    EXPECT_EQ(m_details->TextMemo().Lines().Strings(1), "DE DL1ABC");
    EXPECT_EQ(m_details->StrictEdit().Text(), "D E D L 1 A B C");
    EXPECT_EQ(m_details->CoachingLabel().Caption(),
              "Coaching: character gaps of 6 units: Farnsworth x2; a strict listener hears words "
              "break there");
    m_details->FillNoRun();
    EXPECT_EQ(m_details->StrictEdit().Text(), "");
    m_details->FillNoRun();
    EXPECT_EQ(m_details->VerdictMemo().Lines().Count(), 0);
}

TEST_F(RunWindowsTest, OkKeepsThePracticeTextInTheSettingsFile) {
    testsupport::TTempFolder folder;
    const std::string path = folder / "keyvet/settings.ini";
    m_practice->SetSettingsPath(path);
    Menu(0).Items(0)->Click();
    m_practice->TextEdit().SetText("CQ DE UA3SNB");
    m_practice->OKButtonClick(nullptr);
    EXPECT_FALSE(m_practice->Visible());
    EXPECT_EQ(platform::LoadSettings(path).PracticeText, "CQ DE UA3SNB");

    // A settings folder that cannot be made: the text is in use all the same, the window stays
    // open with the error.
    std::ofstream(folder / "blocked") << "not a folder";
    m_practice->SetSettingsPath(folder / "blocked/settings.ini");
    Menu(0).Items(0)->Click();
    m_practice->TextEdit().SetText("PARIS");
    EXPECT_THROW(m_practice->OKButtonClick(nullptr), base::Exception);
    EXPECT_EQ(Main().PracticeText(), "PARIS");
    EXPECT_TRUE(m_practice->Visible());
    EXPECT_EQ(platform::LoadSettings(path).PracticeText, "CQ DE UA3SNB");
}

}  // namespace
