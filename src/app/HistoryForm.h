// The History window: the stored runs newest first (those left out of the progress greyed), a
// filter by practice text, the progress chart (character accuracy and both merits on the left
// axis, speed on its own axis on the right, over time), Open to see a past run again, Delete to
// remove one and Leave out / Take back in; and the window that shows a past run's waveform and
// results.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/ChoiceCtrls.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"
#include "history/Run.h"

namespace chart {
class TChart;
class TChartSeries;
}  // namespace chart

namespace app {

class TDetailsForm;
class TRunHistory;

// A past run, or a run analysed from a recording: its waveform drawn as the main window drew it,
// and its results; a recording's run can be kept in the history from here.
class TPastRunForm : public forms::TForm {
  public:
    explicit TPastRunForm(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // Shows the run: the caption names its time, the chart its square wave, the list its results.
    void ShowRun(const history::TRun& run);
    // Shows a run analysed from the recording `name` (not in the history yet), captioned with the
    // name, with the button that keeps it in runHistory.
    void ShowRecording(const history::TRun& run, const std::string& name, TRunHistory& runHistory);
    // Keep in history: stores the recording's run shown (once; the button then says so).
    void KeepButtonClick(classes::TPersistent* sender);

    chart::TChart& Chart1() const { return *m_chart1; }
    chart::TChartSeries& Series1() const { return *m_series1; }
    forms::TListBox& Results() const { return *m_results; }
    forms::TButton& KeepButton() const { return *m_keep; }

    // The button's captions.
    static constexpr const char* kKeep = "Keep in history";
    static constexpr const char* kKept = "Kept in history";

  private:
    chart::TChart* m_chart1 = nullptr;
    chart::TChartSeries* m_series1 = nullptr;
    forms::TListBox* m_results = nullptr;
    forms::TButton* m_keep = nullptr;
    // The recording's run shown and the history it may go to; empty for a past run.
    std::optional<history::TRun> m_recording;
    TRunHistory* m_runHistory = nullptr;
};

class THistoryForm : public forms::TForm {
  public:
    // details: where Open shows the coach's details of the run too; may be null.
    THistoryForm(classes::TComponent* owner, TRunHistory& runHistory, TPastRunForm& pastRun,
                 TDetailsForm* details = nullptr);
    ~THistoryForm() override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // Reads the history again into the list and the chart. A history that cannot be read is
    // reported once; the window then says why it is empty.
    void Refresh();
    // Open: shows the picked run in the past-run window and its details in the Details window.
    void OpenButtonClick(classes::TPersistent* sender);
    // Delete: asks, then removes the picked run.
    void DeleteButtonClick(classes::TPersistent* sender);
    // Leave out / Take back in: the picked run leaves the progress or comes back into it.
    void LeaveOutButtonClick(classes::TPersistent* sender);
    // A run picked in the list: the button says what it would do with it.
    void RunsClick(classes::TPersistent* sender);
    // Another practice text chosen: the list and the chart show its runs only.
    void PracticeFilterChange(classes::TPersistent* sender);

    // The runs listed, newest first, as the list shows them (those of the practice text chosen).
    const std::vector<const history::TProgressRun*>& Runs() const { return m_shown; }
    forms::TListBox& RunList() const { return *m_runs; }
    forms::TComboBox& PracticeFilter() const { return *m_filter; }
    forms::TButton& LeaveOutButton() const { return *m_leaveOut; }
    forms::TLabel& Status() const { return *m_status; }
    chart::TChart& Progress() const { return *m_progress; }
    chart::TChartSeries& SpeedSeries() const { return *m_speed; }
    chart::TChartSeries& AccuracySeries() const { return *m_accuracy; }
    chart::TChartSeries& CharacterMeritSeries() const { return *m_characterMerit; }
    chart::TChartSeries& WordMeritSeries() const { return *m_wordMerit; }

    // One line of the list:
    // "2026-12-07 13:49:21   20 wpm   merits 96 / 95   accuracy 92.3 %   left out   PARIS".
    static std::string ListLine(const history::TProgressRun& run);
    // A time as the chart's date-time axis counts it: days since 1899-12-30.
    static double ChartDate(int64_t unixMs);
    // The filter's first items: every run, and the runs without a practice text.
    static constexpr const char* kAllTexts = "All practice texts";
    static constexpr const char* kNoText = "No practice text";
    // The button's captions.
    static constexpr const char* kLeaveOut = "Leave out";
    static constexpr const char* kTakeBack = "Take back in";

  private:
    // The picked run, or null (with a message) when none is picked.
    const history::TProgressRun* Picked();
    // Fills the filter with the practice texts of the runs, keeping the one chosen.
    void FillFilter();
    // Fills the list and the chart with the runs of the practice text chosen.
    void ShowRuns();
    void ShowProgress();
    void ShowStatus();

    std::vector<history::TProgressRun> m_summaries;  // every run, newest first

    TRunHistory& m_runHistory;
    TPastRunForm& m_pastRun;
    TDetailsForm* m_details;
    std::vector<const history::TProgressRun*> m_shown;  // those of the practice text chosen
    bool m_fillingFilter = false;                       // the filter's choice is being restored
    forms::TListBox* m_runs = nullptr;
    forms::TComboBox* m_filter = nullptr;
    forms::TButton* m_leaveOut = nullptr;
    forms::TLabel* m_status = nullptr;
    chart::TChart* m_progress = nullptr;
    chart::TChartSeries* m_speed = nullptr;
    chart::TChartSeries* m_accuracy = nullptr;
    chart::TChartSeries* m_characterMerit = nullptr;
    chart::TChartSeries* m_wordMerit = nullptr;
};

}  // namespace app
