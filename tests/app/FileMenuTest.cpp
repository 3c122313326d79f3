// The File menu and the History window on a replayed run: the menu comes first, the exports write
// what they should where the user said (asking before replacing a file), a failed write is an
// error, and the History window lists, opens and deletes stored runs.
#include "app/FileMenu.h"
#include "app/MenuKeys.h"

#include <gtest/gtest.h>

#include "app/DetailsForm.h"

#include <deque>
#include <filesystem>
#include <fstream>

#include "app/HistoryForm.h"
#include "app/MainForm.h"
#include "app/RunHistory.h"
#include "base/Exceptions.h"
#include "chart/engine/Series.h"
#include "forms/Application.h"
#include "gfx/ImageFiles.h"
#include "platform/FileDialogs.h"
#include "platform/Services.h"
#include "replay/Replay.h"
#include "support/AppWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

namespace fs = std::filesystem;

using testsupport::TRecordedDialogs;
using testsupport::TScriptedFileDialogs;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The worked example of the analysis, replayed and stored; the File menu added to its window.
class FileMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app::KeepRuns(m_replay.Form(), m_runHistory);
        m_replay.Form().SetPracticeText("PARIS");
        m_replay.Run();
        forms::TApplication::Instance().AddForm(std::make_unique<app::TDetailsForm>(nullptr));
        app::AddFileMenu(m_replay.Form(), m_runHistory);
    }
    void TearDown() override { forms::TApplication::Instance().DestroyForms(); }

    forms::TMenuItem& FileItem(int index) {
        return *m_replay.Form().Menu()->Items().Items(0)->Items(index);
    }
    template <class T>
    T& Window() {
        return testsupport::AppWindow<T>();
    }

    testsupport::TScopedTimeZone m_zone{"UTC"};
    testsupport::TTempFolder m_folder;
    app::TRunHistory m_runHistory{m_folder / "data"};
    replay::TReplay m_replay{replay::ParseScript(
        "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n911 down\n"
        "977 up\n1033 down\n1223 up\n1408 down\n1468 up\n")};
    TScriptedFileDialogs m_files;
    platform::TScopedFileDialogs m_filesInPlace{m_files};
    TRecordedDialogs m_dialogs;
    platform::TScopedServices m_services{{nullptr, nullptr, nullptr, &m_dialogs, nullptr}};
};

TEST_F(FileMenuTest, FileComesFirstWithItsSixCommandsAndHelpKeepsItsPlace) {
    const forms::TMenuItem& bar = m_replay.Form().Menu()->Items();
    ASSERT_EQ(2, bar.Count());
    EXPECT_EQ("File", bar.Items(0)->Caption());
    EXPECT_EQ("Help1", bar.Items(1)->Name());
    const std::vector<std::string> captions = {
        "Export run as CSV\u2026",     "Export chart as PNG\u2026", "History\u2026",
        "Export history as CSV\u2026", "Analyse a recording\u2026", "Quit"};
    ASSERT_EQ(6, bar.Items(0)->Count());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(captions[static_cast<size_t>(i)], bar.Items(0)->Items(i)->Caption());
    }
}

TEST_F(FileMenuTest, MenusOpenWithAltAndTheirInitialHelpIsF1AndQuitIsCtrlQ) {
    app::SetMenuKeys(m_replay.Form());
    const forms::TMenuItem& bar = m_replay.Form().Menu()->Items();
    EXPECT_EQ(forms::kscAlt | 'f', bar.Items(0)->ShortCut());
    EXPECT_EQ(forms::kscAlt | 'h', bar.Items(1)->ShortCut());
    const forms::TMenuItem& help = *bar.Items(1);
    EXPECT_EQ(0U, help.Items(0)->ShortCut());  // About
    EXPECT_EQ(forms::kscFunctionKey + 1, help.Items(1)->ShortCut());
    EXPECT_EQ(forms::kscCtrl | 'q', FileItem(5).ShortCut());
    // Captions keep no mnemonic marks: the window looks as designed.
    EXPECT_EQ("Help", help.Caption());
    EXPECT_EQ("Help", help.Items(1)->Caption());
}

TEST_F(FileMenuTest, QuitClosesTheMainWindow) {
    m_replay.Form().Show();
    FileItem(5).Click();
    EXPECT_FALSE(m_replay.Form().Visible());
}

TEST_F(FileMenuTest, RunExportWritesResultsAndTransitions) {
    const std::string path = m_folder / "run.csv";
    m_files.Paths = {path};
    FileItem(0).Click();
    const std::string text = ReadFile(path);
    EXPECT_EQ(0u, text.find("Time,")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\nEstimated speed (wpm),20\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\nCharspace advice,Charspace is long\r\n")) << text;
    EXPECT_NE(std::string::npos,
              text.find("\r\nTransition,Time (ms),Key\r\n1,100,down\r\n2,164,up\r\n"))
        << text;
    EXPECT_TRUE(text.ends_with("\r\n14,1468,up\r\n")) << text;
    ASSERT_EQ(1u, m_files.Suggested.size());
    EXPECT_TRUE(m_files.Suggested[0].starts_with("keyvet-run-")) << m_files.Suggested[0];
    EXPECT_TRUE(m_files.Questions.empty());  // a new file needs no question
}

TEST_F(FileMenuTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
    const std::string kept = m_folder / "kept.csv";
    const std::string other = m_folder / "other.csv";
    std::ofstream(kept) << "mine";
    m_files.Paths = {kept, other};
    m_files.Answers = {false};
    FileItem(0).Click();
    EXPECT_EQ("mine", ReadFile(kept));
    EXPECT_TRUE(fs::exists(other));
    ASSERT_EQ(1u, m_files.Questions.size());
    EXPECT_EQ("'" + kept + "' exists already. Replace it?", m_files.Questions[0]);
    EXPECT_EQ(kept, m_files.Suggested[1]);  // asked again, from the name refused

    m_files.Paths = {kept};
    m_files.Answers = {true};
    FileItem(0).Click();
    EXPECT_TRUE(ReadFile(kept).starts_with("Time,"));
}

TEST_F(FileMenuTest, CancellingWritesNothing) {
    FileItem(0).Click();
    FileItem(1).Click();
    FileItem(3).Click();
    EXPECT_EQ(3u, m_files.Suggested.size());
    EXPECT_EQ(1, std::distance(fs::directory_iterator(m_folder.Path()), {}));  // data/ only
}

TEST_F(FileMenuTest, AFailedWriteIsAnErrorWithTheReason) {
    const std::string path = m_folder / "missing/run.csv";
    m_files.Paths = {path};
    try {
        FileItem(0).Click();
        FAIL() << "no error";
    } catch (const base::Exception& error) {
        EXPECT_EQ("Cannot create CSV file '" + path + "': No such file or directory",
                  error.Message());
    }
}

TEST_F(FileMenuTest, ChartExportIsThePictureOfTheMainChart) {
    const std::string path = m_folder / "chart.png";
    m_files.Paths = {path};
    FileItem(1).Click();
    const gfx::TImageData image = gfx::ReadPng(path);
    EXPECT_EQ(768, image.Width);
    EXPECT_EQ(249, image.Height);
    // The panel's light cyan in a corner, the series' blue somewhere on the wave.
    constexpr uint32_t kPanel = 16777088;
    constexpr uint32_t kBlue = 0xFF0000;
    EXPECT_EQ(kPanel, image.Pixels[5 * 768 + 5]);
    EXPECT_NE(image.Pixels.end(), std::find(image.Pixels.begin(), image.Pixels.end(), kBlue));
}

TEST_F(FileMenuTest, HistoryExportIsOneLinePerStoredRun) {
    const std::string path = m_folder / "history.csv";
    m_files.Paths = {path};
    FileItem(3).Click();
    const std::string text = ReadFile(path);
    const size_t firstLine = text.find("\r\n");
    ASSERT_NE(std::string::npos, firstLine);
    EXPECT_TRUE(text.substr(firstLine + 2)
                    .find(",63,181,54,177,2.00854700854701,1.16666666666667,96,weighting is "
                          "heavy,dashes are too long,20,96,0.994350282485876,Charspace is long,"
                          "PARIS,") != std::string::npos)
        << text;
    // Then the accuracy, the read-back and the flag: three dahs are too few for the progress.
    EXPECT_TRUE(text.ends_with(",yes\r\n")) << text;
}

TEST_F(FileMenuTest, HistoryWindowListsOpensAndDeletesRuns) {
    FileItem(2).Click();
    app::THistoryForm& window = Window<app::THistoryForm>();
    EXPECT_TRUE(window.Visible());
    ASSERT_EQ(1, window.RunList().Items().Count());
    EXPECT_EQ(0, window.RunList().ItemIndex());
    const std::string line = window.RunList().Items().Strings(0);
    EXPECT_NE(std::string::npos, line.find("   20 wpm   merits 96 / 96   accuracy ")) << line;
    // Four dits and three dahs are too few to show progress: listed greyed, but not drawn.
    EXPECT_TRUE(line.ends_with(" %   left out   PARIS")) << line;
    EXPECT_TRUE(window.RunList().ItemDimmed(0));
    EXPECT_EQ("1 run, 1 left out", window.Status().Caption());
    EXPECT_EQ(0, window.SpeedSeries().PointCount());
    // Taken back in, it is.
    window.LeaveOutButtonClick(nullptr);
    EXPECT_EQ("1 run", window.Status().Caption());
    ASSERT_EQ(1, window.SpeedSeries().PointCount());
    EXPECT_EQ(20, window.SpeedSeries().YValueAt(0));
    EXPECT_EQ(96, window.WordMeritSeries().YValueAt(0));

    // Open redraws the stored run point for point as Finish drew it.
    window.OpenButtonClick(nullptr);
    app::TPastRunForm& past = Window<app::TPastRunForm>();
    EXPECT_TRUE(past.Visible());
    const chart::TChartSeries& drawn = m_replay.Form().Series1();
    ASSERT_EQ(drawn.PointCount(), past.Series1().PointCount());
    for (int32_t i = 0; i < drawn.PointCount(); ++i) {
        EXPECT_EQ(drawn.XValueAt(i), past.Series1().XValueAt(i)) << i;
        EXPECT_EQ(drawn.YValueAt(i), past.Series1().YValueAt(i)) << i;
    }
    EXPECT_EQ("Word merit: 96", past.Results().Items().Strings(11));
    EXPECT_EQ("Practice text: PARIS", past.Results().Items().Strings(0));
    ASSERT_EQ(17, past.Results().Items().Count());
    EXPECT_TRUE(past.Results().Items().Strings(14).starts_with("Read back: "));
    EXPECT_TRUE(past.Results().Items().Strings(15).starts_with("Character accuracy: "));
    EXPECT_EQ("Progress: shown", past.Results().Items().Strings(16));
    // And the coach's details of the same run.
    app::TDetailsForm& details = Window<app::TDetailsForm>();
    EXPECT_TRUE(details.Visible());
    EXPECT_TRUE(details.TextMemo().Lines().Strings(0).starts_with("The run of "))
        << details.TextMemo().Lines().Strings(0);

    m_files.Answers = {false};
    window.DeleteButtonClick(nullptr);
    EXPECT_EQ(1, window.RunList().Items().Count());
    m_files.Answers = {true};
    window.DeleteButtonClick(nullptr);
    EXPECT_EQ(0, window.RunList().Items().Count());
    EXPECT_EQ(-1, window.RunList().ItemIndex());
    EXPECT_EQ(0, window.SpeedSeries().PointCount());
    EXPECT_EQ("0 runs", window.Status().Caption());
    ASSERT_EQ(2u, m_files.Questions.size());
    EXPECT_TRUE(m_files.Questions[0].starts_with("Delete the run of "));

    // With nothing picked, Open and Delete say so.
    window.OpenButtonClick(nullptr);
    ASSERT_EQ(1u, m_dialogs.Messages.size());
    EXPECT_EQ("Pick a run in the list first.", m_dialogs.Messages[0]);
}

TEST_F(FileMenuTest, AnOpenHistoryWindowFollowsNewRunsAHiddenOneWaits) {
    app::THistoryForm& window = Window<app::THistoryForm>();
    history::TRun run;
    run.Results[history::kSpeedResult] = "25";
    m_runHistory.Store(run);
    EXPECT_EQ(0, window.RunList().Items().Count());  // hidden: read when shown
    FileItem(2).Click();
    EXPECT_EQ(2, window.RunList().Items().Count());
    m_runHistory.Store(run);
    EXPECT_EQ(3, window.RunList().Items().Count());
    // Runs stored without the coach's judgement are judged when the window reads them: without
    // a mark they are left out, as the worked example (three dahs) is.
    EXPECT_EQ(0, window.SpeedSeries().PointCount());
    EXPECT_EQ("3 runs, 3 left out", window.Status().Caption());
}

TEST(HistoryListTest, LinesShowTimeSpeedMeritsAndPracticeText) {
    const testsupport::TScopedTimeZone zone("UTC");
    history::TRunSummary run;
    run.Time = 60000;
    run.Results[history::kSpeedResult] = "18";
    run.Results[history::kCharacterMeritResult] = "-4";
    run.Results[history::kWordMeritResult] = "";
    EXPECT_EQ("1970-01-01 00:01:00   18 wpm   merits -4 / -",
              app::THistoryForm::ListLine(history::ProgressRun(run)));
    run.PracticeText = "CQ";
    EXPECT_EQ("1970-01-01 00:01:00   18 wpm   merits -4 / -   CQ",
              app::THistoryForm::ListLine(history::ProgressRun(run)));
    // The accuracy of a judged run, and a run left out.
    run.Usable = false;
    run.AccuracyPercent = 100.0 * 2 / 3;
    EXPECT_EQ("1970-01-01 00:01:00   18 wpm   merits -4 / -   accuracy 66.7 %   left out   CQ",
              app::THistoryForm::ListLine(history::ProgressRun(run)));
    run.LeftOut = false;
    run.AccuracyPercent.reset();
    EXPECT_EQ("1970-01-01 00:01:00   18 wpm   merits -4 / -   CQ",
              app::THistoryForm::ListLine(history::ProgressRun(run)));
    // 1970-01-01 noon is day 25569.5 of the chart's calendar.
    EXPECT_DOUBLE_EQ(25569.5, app::THistoryForm::ChartDate(43200000));
}

}  // namespace
