// The History window on a stored history: unusable runs left out of the progress and greyed, the
// operator leaving runs out and taking them back, the filter by practice text, speed on an axis
// of its own, date labels that never repeat, and one point per pixel column for many runs.
#include "app/HistoryForm.h"

#include <gtest/gtest.h>

#include <set>

#include "app/RunHistory.h"
#include "app/Startup.h"
#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
#include "chart/series/LineSeries.h"
#include "gfx/Bitmap.h"
#include "platform/Services.h"
#include "support/StoredRun.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

constexpr int64_t kMinuteMs = 60000;
constexpr int64_t kHourMs = 60 * kMinuteMs;
constexpr int64_t kDayMs = 24 * kHourMs;
constexpr int64_t kStart = 1796651361000;  // 2026-12-07 13:49:21 UTC

class TRecordedDialogs : public platform::IDialogs {
  public:
    std::vector<std::string> Messages;
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void Beep() override {}
};

history::TRun StoredRun(int64_t time, int speed, int merit, std::optional<bool> usable,
                        const std::string& practice = "PARIS") {
    history::TRun run = testsupport::WorkedExampleRun(time, std::to_string(speed));
    run.Results[history::kCharacterMeritResult] = std::to_string(merit);
    run.Results[history::kWordMeritResult] = std::to_string(merit - 5);
    run.PracticeText = practice;
    run.Usable = usable;
    run.ReadBack = practice;
    if (usable.has_value() && !practice.empty()) {
        run.AccuracyPercent = merit;
    }
    return run;
}

class HistoryFormTest : public ::testing::Test {
  protected:
    history::THistory& Store() {
        if (!m_store) {
            m_store = std::make_unique<history::THistory>(history::HistoryFolder(m_folder.Path()));
        }
        return *m_store;
    }
    // Stores many runs at once in one transaction, `step` apart from kStart.
    void StoreMany(int count, int64_t step) {
        history::TConnection connection(history::HistoryFolder(m_folder.Path()) + "/" +
                                        history::THistory::kFileName);
        connection.Execute("BEGIN");
        for (int i = 0; i < count; ++i) {
            const std::string values =
                std::to_string(kStart + i * step) + ", '60', '180', '60', '180', '2', '1', '" +
                std::to_string(50 + i % 50) + "', '', '', '" + std::to_string(15 + i % 10) +
                "', '" + std::to_string(40 + i % 50) + "', '1', '', 'PARIS', 0, x'', 1, 'PARIS', " +
                std::to_string(i % 101) + ", NULL";
            connection.Execute(("INSERT INTO run VALUES (NULL, " + values + ")").c_str());
        }
        connection.Execute("COMMIT");
    }
    std::vector<double> Values(const chart::TChartSeries& series) {
        std::vector<double> values;
        for (int32_t i = 0; i < series.PointCount(); ++i) {
            values.push_back(series.YValueAt(i));
        }
        return values;
    }
    // The bottom axis' labels as one paint draws them.
    std::vector<std::string> BottomLabels() {
        chart::TChart& chart = m_window.Progress();
        std::vector<std::string> texts;
        bool drawing = false;
        chart.SetOnBeforeDrawAxes({"Axes", [&](classes::TPersistent*) { drawing = true; }});
        chart.SetOnBeforeDrawSeries({"Series", [&](classes::TPersistent*) { drawing = false; }});
        chart.SetOnGetAxisLabel(
            [&](chart::TCustomChartAxis& axis, chart::TChartSeries*, int32_t, std::string& text) {
                if (drawing && &axis == &chart.BottomAxis()) {
                    texts.push_back(text);
                }
            });
        gfx::TBitmap picture(chart.Width(), chart.Height());
        chart.PaintToCanvas(&picture.Canvas(), gfx::TRect(0, 0, chart.Width(), chart.Height()));
        chart.SetOnGetAxisLabel(nullptr);
        // Drawing the axis first formats its range's ends to space the labels; the rest are the
        // labels drawn.
        constexpr size_t kRangeTexts = 2;
        return texts.size() > kRangeTexts
                   ? std::vector<std::string>(texts.begin() + kRangeTexts, texts.end())
                   : std::vector<std::string>();
    }

    // The windows' design data names chart classes.
    bool m_registered = (app::RegisterClasses(), true);
    testsupport::TScopedTimeZone m_zone{"UTC"};
    testsupport::TTempFolder m_folder;
    TRecordedDialogs m_dialogs;
    platform::TScopedServices m_services{{nullptr, nullptr, nullptr, &m_dialogs, nullptr}};
    std::unique_ptr<history::THistory> m_store;
    app::TRunHistory m_runHistory{m_folder.Path()};
    app::TPastRunForm m_pastRun{nullptr};
    app::THistoryForm m_window{nullptr, m_runHistory, m_pastRun};
};

TEST_F(HistoryFormTest, UnusableRunsAreGreyedAndLeftOutTheOperatorDecidesOtherwise) {
    Store().Add(StoredRun(kStart, 18, 80, true));
    const int64_t drill = Store().Add(StoredRun(kStart + kHourMs, 12, 6, false, "SSS HHH"));
    Store().Add(StoredRun(kStart + 2 * kHourMs, 22, 90, true));
    m_window.Refresh();

    forms::TListBox& list = m_window.RunList();
    ASSERT_EQ(3, list.Items().Count());
    EXPECT_EQ("2026-12-07 14:49:21   12 wpm   merits 6 / 1   accuracy 6 %   left out   SSS HHH",
              list.Items().Strings(1));
    EXPECT_EQ((std::vector<bool>{false, true, false}),
              (std::vector<bool>{list.ItemDimmed(0), list.ItemDimmed(1), list.ItemDimmed(2)}));
    EXPECT_EQ("3 runs, 1 left out", m_window.Status().Caption());
    // Speed on the right axis, oldest first, the drill missing from every line.
    EXPECT_EQ(chart::TVertAxis::aRightAxis, m_window.SpeedSeries().VertAxis());
    EXPECT_EQ(chart::TVertAxis::aLeftAxis, m_window.CharacterMeritSeries().VertAxis());
    EXPECT_EQ((std::vector<double>{18, 22}), Values(m_window.SpeedSeries()));
    EXPECT_EQ((std::vector<double>{80, 90}), Values(m_window.AccuracySeries()));
    EXPECT_EQ((std::vector<double>{80, 90}), Values(m_window.CharacterMeritSeries()));
    EXPECT_EQ((std::vector<double>{75, 85}), Values(m_window.WordMeritSeries()));

    // Taking the drill back in: in the chart, no longer greyed, still picked.
    list.SetItemIndex(1);
    m_window.RunsClick(nullptr);
    EXPECT_EQ(app::THistoryForm::kTakeBack, m_window.LeaveOutButton().Caption());
    m_window.LeaveOutButtonClick(nullptr);
    EXPECT_EQ((std::vector<double>{18, 12, 22}), Values(m_window.SpeedSeries()));
    EXPECT_FALSE(list.ItemDimmed(1));
    EXPECT_EQ(1, list.ItemIndex());
    EXPECT_EQ(app::THistoryForm::kLeaveOut, m_window.LeaveOutButton().Caption());
    EXPECT_EQ(std::optional<bool>(false), Store().Load(drill)->LeftOut);
    EXPECT_EQ("3 runs", m_window.Status().Caption());

    // Leaving a good run out.
    list.SetItemIndex(0);
    m_window.LeaveOutButtonClick(nullptr);
    EXPECT_EQ((std::vector<double>{18, 12}), Values(m_window.SpeedSeries()));
    EXPECT_TRUE(list.ItemDimmed(0));
    EXPECT_EQ(0, list.ItemIndex());
    EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(HistoryFormTest, TheFilterShowsTheRunsOfOnePracticeText) {
    Store().Add(StoredRun(kStart, 18, 80, true, "PARIS"));
    Store().Add(StoredRun(kStart + kMinuteMs, 19, 81, true, ""));
    Store().Add(StoredRun(kStart + 2 * kMinuteMs, 20, 82, true, "CQ DE"));
    Store().Add(StoredRun(kStart + 3 * kMinuteMs, 21, 83, true, "PARIS"));
    m_window.Refresh();
    forms::TComboBox& filter = m_window.PracticeFilter();
    // Every run, the runs without a text, then the texts newest first.
    EXPECT_EQ((std::vector<std::string>{app::THistoryForm::kAllTexts, app::THistoryForm::kNoText,
                                        "PARIS", "CQ DE"}),
              filter.Items().RawLines());
    EXPECT_EQ(0, filter.ItemIndex());
    EXPECT_EQ(4u, m_window.Runs().size());

    filter.SetItemIndex(2);
    EXPECT_EQ(2u, m_window.Runs().size());
    EXPECT_EQ((std::vector<double>{18, 21}), Values(m_window.SpeedSeries()));
    EXPECT_EQ(2, m_window.RunList().Items().Count());
    EXPECT_EQ("2 runs", m_window.Status().Caption());
    // A new run keeps the choice.
    Store().Add(StoredRun(kStart + 4 * kMinuteMs, 22, 84, true, "PARIS"));
    m_window.Refresh();
    EXPECT_EQ("PARIS", filter.Items().Strings(filter.ItemIndex()));
    EXPECT_EQ((std::vector<double>{18, 21, 22}), Values(m_window.SpeedSeries()));

    filter.SetItemIndex(1);
    ASSERT_EQ(1u, m_window.Runs().size());
    EXPECT_EQ("", m_window.Runs()[0]->PracticeText);
    // Open and Leave out act on the run shown, not on the run at that place in the whole list.
    m_window.LeaveOutButtonClick(nullptr);
    EXPECT_EQ(std::optional<bool>(true), Store().Load(m_window.Runs()[0]->Id)->LeftOut);
}

TEST_F(HistoryFormTest, DateLabelsNeverRepeatWhateverTheRunsSpan) {
    // Runs minutes apart, hours, across midnight, days, years.
    const int64_t spans[] = {3 * kMinuteMs, 5 * kHourMs, 20 * kHourMs, 3 * kDayMs, 800 * kDayMs};
    for (const int64_t span : spans) {
        for (const history::TRunSummary& run : Store().List()) {
            Store().Delete(run.Id);
        }
        for (int i = 0; i < 10; ++i) {
            Store().Add(StoredRun(kStart + span * i / 9, 20, 90, true));
        }
        m_window.Refresh();
        const std::vector<std::string> labels = BottomLabels();
        EXPECT_GE(labels.size(), 2u) << "span " << span << " ms";
        EXPECT_EQ(labels.size(), std::set<std::string>(labels.begin(), labels.end()).size())
            << "span " << span << " ms: " << ::testing::PrintToString(labels);
        // Times name their day or days on the axis title; dates need none.
        const std::string title = m_window.Progress().BottomAxis().Title().Caption();
        if (span <= 5 * kHourMs) {
            EXPECT_EQ("2026-12-07", title);
        } else if (span == 20 * kHourMs) {
            EXPECT_EQ("2026-12-07 to 2026-12-08", title);
        } else {
            EXPECT_EQ("", title);
        }
    }
}

TEST_F(HistoryFormTest, ManyRunsGiveAtMostOnePointPerPixelColumn) {
    Store();
    StoreMany(3000, kMinuteMs);
    m_window.Refresh();
    EXPECT_EQ(3000, m_window.RunList().Items().Count());
    const int32_t columns = m_window.Progress().Width();
    for (chart::TChartSeries* series :
         {&m_window.SpeedSeries(), &m_window.AccuracySeries(), &m_window.CharacterMeritSeries(),
          &m_window.WordMeritSeries()}) {
        EXPECT_GT(series->PointCount(), columns / 2);
        EXPECT_LE(series->PointCount(), columns);
        EXPECT_FALSE(dynamic_cast<chart::TLineSeries&>(*series).Pointer().Visible());
    }
    // Speeds 15 to 24 in turn: every column's mean lies within them, and the mean of all is kept
    // within the rounding of the columns' sizes.
    for (const double speed : Values(m_window.SpeedSeries())) {
        EXPECT_GE(speed, 15);
        EXPECT_LE(speed, 24);
    }
}

}  // namespace
