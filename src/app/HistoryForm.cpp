// The History window and the past-run window, built from their design data.
#include "app/HistoryForm.h"

#include <unordered_set>

#include "app/DesignTexts.h"
#include "app/DetailsForm.h"
#include "app/FormClass.h"
#include "app/ProgressPoints.h"
#include "app/RunHistory.h"
#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
#include "chart/series/LineSeries.h"
#include "classes/DesignData.h"
#include "forms/Application.h"
#include "history/Csv.h"
#include "platform/FileDialogs.h"

namespace app {

namespace {
// The three fixed points of a waveform make the vertical axis span -0.1 to 1.2 and start the
// trace at 0; the trace runs on 100 ms past the last transition.
constexpr double kTopMargin = 1.2;
constexpr double kBottomMargin = -0.1;
constexpr uint32_t kLeadOutMs = 100;
// Days from the chart's day 0 (1899-12-30) to 1970-01-01, and milliseconds in a day.
constexpr double kUnixEpochDays = 25569.0;
constexpr double kMsPerDay = 86400000.0;
// Most points of a progress line drawn with a marker each.
constexpr size_t kMostMarkedPoints = 100;

void AppendPoint(chart::TChartSeries& series, double x, double y) {
    series.AppendXY(x, y, "", chart::clSeriesDefault);
}
}  // namespace

TPastRunForm::TPastRunForm(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TPastRunForm"), *this);
    m_chart1 = DesignField<chart::TChart>(*this, "Chart1");
    m_series1 = DesignField<chart::TChartSeries>(*this, "Series1");
    m_results = DesignField<forms::TListBox>(*this, "Results");
    m_keep = DesignField<forms::TButton>(*this, "KeepButton");
}

classes::TNotifyEvent TPastRunForm::FindMethod(std::string_view name) {
    static const std::pair<std::string_view, TFormHandler<TPastRunForm>> kMethods[] = {
        {"KeepButtonClick", &TPastRunForm::KeepButtonClick}};
    return FormMethod<TPastRunForm>(*this, kMethods, name);
}

const classes::TClassInfo& TPastRunForm::StaticClass() {
    return FormClass<TPastRunForm>("TPastRunForm");
}

const classes::TClassInfo& TPastRunForm::ClassInfo() const {
    return StaticClass();
}

void TPastRunForm::ShowRun(const history::TRun& run) {
    m_recording.reset();
    m_runHistory = nullptr;
    m_keep->SetVisible(false);
    SetCaption("Run of " + history::FormatTime(run.Time));
    m_chart1->UndoZoom();
    m_series1->ClearPoints();
    AppendPoint(*m_series1, 0, kTopMargin);
    AppendPoint(*m_series1, 0, kBottomMargin);
    AppendPoint(*m_series1, 0, 0);
    uint8_t level = run.StartLevel;
    for (const history::TTransition& transition : run.Transitions) {
        AppendPoint(*m_series1, transition.TimeMs, level);
        AppendPoint(*m_series1, transition.TimeMs, transition.Level);
        level = transition.Level;
    }
    if (!run.Transitions.empty()) {
        AppendPoint(*m_series1, static_cast<uint32_t>(run.Transitions.back().TimeMs + kLeadOutMs),
                    0);
    }
    std::vector<std::string> lines;
    lines.push_back("Practice text: " + run.PracticeText);
    for (size_t i = 0; i < history::kResultCount; ++i) {
        lines.push_back(std::string(history::kResultNames[i]) + ": " + run.Results[i]);
    }
    if (run.Usable.has_value()) {
        lines.push_back("Read back: " + run.ReadBack);
        if (run.AccuracyPercent.has_value()) {
            lines.push_back("Character accuracy: " + history::AccuracyText(*run.AccuracyPercent) +
                            " %");
        }
    }
    lines.push_back(std::string("Progress: ") +
                    (run.InProgress() ? "shown"
                     : run.LeftOut.value_or(false)
                         ? "left out"
                         : "left out (too few dits or dahs, or marks of one kind only)"));
    m_results->Items().SetRawLines(std::move(lines));
    Show();
}

void TPastRunForm::ShowRecording(const history::TRun& run, const std::string& name,
                                 TRunHistory& runHistory) {
    ShowRun(run);
    SetCaption("Recording " + name);
    m_recording = run;
    m_runHistory = &runHistory;
    m_keep->SetCaption(kKeep);
    m_keep->SetEnabled(true);
    m_keep->SetVisible(true);
}

void TPastRunForm::KeepButtonClick(classes::TPersistent* /*sender*/) {
    if (!m_recording.has_value() || m_runHistory == nullptr || !m_keep->Enabled()) {
        return;
    }
    // A history that is off keeps nothing: its reason was shown once, so it is said again here
    // rather than let the click pass unanswered.
    if (!m_runHistory->Failure().empty()) {
        forms::TApplication::Instance().ShowMessage("The run cannot be kept: " +
                                                    m_runHistory->Failure());
        return;
    }
    // Opening may fail now (and say why), or find the file held by another program: then the
    // run waits in memory to be stored later, and the operator is told so.
    m_runHistory->Store(*m_recording);
    if (!m_runHistory->Failure().empty()) {
        return;
    }
    m_keep->SetCaption(kKept);
    m_keep->SetEnabled(false);
}

THistoryForm::THistoryForm(classes::TComponent* owner, TRunHistory& runHistory,
                           TPastRunForm& pastRun, TDetailsForm* details)
    : forms::TForm(owner), m_runHistory(runHistory), m_pastRun(pastRun), m_details(details) {
    classes::ReadComponent(DesignText("THistoryForm"), *this);
    m_runs = DesignField<forms::TListBox>(*this, "Runs");
    m_filter = DesignField<forms::TComboBox>(*this, "PracticeFilter");
    m_leaveOut = DesignField<forms::TButton>(*this, "LeaveOutButton");
    m_status = DesignField<forms::TLabel>(*this, "Status");
    m_progress = DesignField<chart::TChart>(*this, "Progress");
    m_speed = DesignField<chart::TChartSeries>(*this, "SpeedSeries");
    m_accuracy = DesignField<chart::TChartSeries>(*this, "AccuracySeries");
    m_characterMerit = DesignField<chart::TChartSeries>(*this, "CharacterMeritSeries");
    m_wordMerit = DesignField<chart::TChartSeries>(*this, "WordMeritSeries");
    // A run analysed while the window is open shows up in it at once.
    m_runHistory.OnStored = [this] {
        if (Visible()) {
            Refresh();
        }
    };
}

THistoryForm::~THistoryForm() {
    m_runHistory.OnStored = nullptr;
}

const classes::TClassInfo& THistoryForm::StaticClass() {
    return FormClass<THistoryForm>("THistoryForm");
}

const classes::TClassInfo& THistoryForm::ClassInfo() const {
    return StaticClass();
}

classes::TNotifyEvent THistoryForm::FindMethod(std::string_view name) {
    static const std::pair<std::string_view, TFormHandler<THistoryForm>> kMethods[] = {
        {"OpenButtonClick", &THistoryForm::OpenButtonClick},
        {"DeleteButtonClick", &THistoryForm::DeleteButtonClick},
        {"LeaveOutButtonClick", &THistoryForm::LeaveOutButtonClick},
        {"RunsClick", &THistoryForm::RunsClick},
        {"PracticeFilterChange", &THistoryForm::PracticeFilterChange}};
    return FormMethod<THistoryForm>(*this, kMethods, name);
}

std::string THistoryForm::ListLine(const history::TProgressRun& run) {
    const auto figure = [](const std::optional<int32_t>& value) {
        return value.has_value() ? std::to_string(*value) : std::string("-");
    };
    std::string line = history::FormatTime(run.Time) + "   " + figure(run.Speed) +
                       " wpm   merits " + figure(run.CharacterMerit) + " / " +
                       figure(run.WordMerit);
    if (run.Usable.has_value() && run.AccuracyPercent.has_value()) {
        line += "   accuracy " + history::AccuracyText(*run.AccuracyPercent) + " %";
    }
    if (!run.InProgress()) {
        line += "   left out";
    }
    if (!run.PracticeText.empty()) {
        line += "   " + run.PracticeText;
    }
    return line;
}

double THistoryForm::ChartDate(int64_t unixMs) {
    return kUnixEpochDays + static_cast<double>(unixMs) / kMsPerDay;
}

void THistoryForm::Refresh() {
    // A run waiting to be stored gets another try first, and older runs are judged.
    m_runHistory.StoreWaiting();
    m_runHistory.JudgeSome();
    m_summaries.clear();
    if (history::THistory* history = m_runHistory.Open()) {
        try {
            m_summaries = history->ProgressList();
        } catch (const history::EHistoryError& error) {
            if (!error.Busy()) {
                m_runHistory.Fail(error.Message());
            }
        }
    }
    FillFilter();
    ShowRuns();
}

void THistoryForm::FillFilter() {
    const std::string chosen = m_filter->ItemIndex() > 0
                                   ? m_filter->Items().Strings(m_filter->ItemIndex())
                                   : std::string();
    // The texts newest first, each once; the runs come newest first.
    std::vector<std::string> items = {kAllTexts};
    std::unordered_set<std::string_view> seen;
    bool noText = false;
    for (const history::TProgressRun& run : m_summaries) {
        if (run.PracticeText.empty()) {
            noText = true;
        } else if (seen.insert(run.PracticeText).second) {
            items.push_back(run.PracticeText);
        }
    }
    if (noText) {
        items.insert(items.begin() + 1, kNoText);
    }
    if (items != m_filter->Items().RawLines()) {
        m_filter->Items().SetRawLines(std::move(items));
    }
    const int32_t index = chosen.empty() ? 0 : m_filter->IndexOf(chosen);
    // A text no run has any more shows every run again. The caller shows the runs once after.
    m_fillingFilter = true;
    m_filter->SetItemIndex(index < 0 ? 0 : index);
    m_fillingFilter = false;
}

void THistoryForm::PracticeFilterChange(classes::TPersistent* /*sender*/) {
    if (!m_fillingFilter) {
        ShowRuns();
    }
}

void THistoryForm::ShowRuns() {
    const int32_t index = m_filter->ItemIndex();
    const std::string text = index > 0 ? m_filter->Items().Strings(index) : std::string();
    const bool all = index <= 0;
    const bool none = text == kNoText;
    m_shown.clear();
    for (const history::TProgressRun& run : m_summaries) {
        if (all || (none ? run.PracticeText.empty() : run.PracticeText == text)) {
            m_shown.push_back(&run);
        }
    }
    std::vector<std::string> lines;
    std::vector<bool> dimmed;
    lines.reserve(m_shown.size());
    dimmed.reserve(m_shown.size());
    for (const history::TProgressRun* run : m_shown) {
        lines.push_back(ListLine(*run));
        dimmed.push_back(!run->InProgress());
    }
    m_runs->SetDimmedItems(std::move(dimmed));
    m_runs->Items().SetRawLines(std::move(lines));
    m_runs->SetItemIndex(m_shown.empty() ? -1 : 0);
    RunsClick(nullptr);
    ShowProgress();
    ShowStatus();
}

void THistoryForm::ShowProgress() {
    // Oldest first, so the lines run forward in time; a run left out, or without a figure,
    // leaves no point.
    std::vector<TProgressPoint> speed;
    std::vector<TProgressPoint> accuracy;
    std::vector<TProgressPoint> characterMerit;
    std::vector<TProgressPoint> wordMerit;
    int64_t first = 0;
    int64_t last = 0;
    bool any = false;
    for (auto at = m_shown.rbegin(); at != m_shown.rend(); ++at) {
        const history::TProgressRun* run = *at;
        if (!run->InProgress()) {
            continue;
        }
        first = any ? first : run->Time;
        last = run->Time;
        any = true;
        const double date = ChartDate(run->Time);
        const auto add = [date](std::vector<TProgressPoint>& points, std::optional<double> value) {
            if (value.has_value()) {
                points.push_back({date, *value});
            }
        };
        add(speed, run->Speed);
        add(characterMerit, run->CharacterMerit);
        add(wordMerit, run->WordMerit);
        add(accuracy, run->Usable.has_value() ? run->AccuracyPercent : std::nullopt);
    }
    // More runs than the chart has pixel columns would only paint over each other: each column
    // shows the mean of its runs instead.
    const int32_t columns = m_progress->Width();
    const std::pair<chart::TChartSeries*, std::vector<TProgressPoint>*> lines[] = {
        {m_speed, &speed},
        {m_accuracy, &accuracy},
        {m_characterMerit, &characterMerit},
        {m_wordMerit, &wordMerit}};
    for (const auto& [series, points] : lines) {
        series->ClearPoints();
        const std::vector<TProgressPoint> shown = ThinnedPoints(*points, columns);
        for (const TProgressPoint& point : shown) {
            AppendPoint(*series, point.X, point.Y);
        }
        // Markers on a line of hundreds of points would only blot it.
        if (auto* line = dynamic_cast<chart::TLineSeries*>(series)) {
            line->Pointer().SetVisible(shown.size() <= kMostMarkedPoints);
        }
    }
    chart::TChartAxis& bottom = m_progress->BottomAxis();
    const TDateAxisStyle style = DateAxisStyle(first, last);
    bottom.SetDateTimeFormat(style.Format);
    bottom.SetIncrement(style.SmallestStepDays);
    bottom.Title().SetCaption(any ? style.Title : std::string());
}

void THistoryForm::ShowStatus() {
    if (!m_runHistory.Failure().empty()) {
        m_status->SetCaption("No history: " + m_runHistory.Failure());
        return;
    }
    size_t inProgress = 0;
    for (const history::TProgressRun* run : m_shown) {
        inProgress += run->InProgress() ? 1 : 0;
    }
    std::string caption = std::to_string(m_shown.size()) + (m_shown.size() == 1 ? " run" : " runs");
    if (inProgress != m_shown.size()) {
        caption += ", " + std::to_string(m_shown.size() - inProgress) + " left out";
    }
    const size_t waiting = m_runHistory.Waiting().size();
    if (waiting > 0) {
        caption += "; " + std::to_string(waiting) +
                   (waiting == 1 ? " run waits to be stored: " : " runs wait to be stored: ") +
                   m_runHistory.Busy();
    } else if (!m_runHistory.Busy().empty()) {
        caption += "; " + m_runHistory.Busy();
    }
    m_status->SetCaption(caption);
}

const history::TProgressRun* THistoryForm::Picked() {
    const int32_t index = m_runs->ItemIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_shown.size()) {
        forms::TApplication::Instance().ShowMessage("Pick a run in the list first.");
        return nullptr;
    }
    return m_shown[static_cast<size_t>(index)];
}

void THistoryForm::RunsClick(classes::TPersistent* /*sender*/) {
    const int32_t index = m_runs->ItemIndex();
    const bool leftOut = index >= 0 && static_cast<size_t>(index) < m_shown.size() &&
                         !m_shown[static_cast<size_t>(index)]->InProgress();
    m_leaveOut->SetCaption(leftOut ? kTakeBack : kLeaveOut);
}

void THistoryForm::LeaveOutButtonClick(classes::TPersistent* /*sender*/) {
    const history::TProgressRun* picked = Picked();
    history::THistory* history = m_runHistory.Open();
    if (picked == nullptr || history == nullptr) {
        return;
    }
    const int64_t id = picked->Id;
    const int32_t index = m_runs->ItemIndex();
    if (!history->SetLeftOut(id, picked->InProgress())) {
        forms::TApplication::Instance().ShowMessage("That run is no longer in the history.");
    }
    Refresh();
    // The same run stays picked, so the operator can take it back at once.
    for (size_t i = 0; i < m_shown.size(); ++i) {
        if (m_shown[i]->Id == id) {
            m_runs->SetItemIndex(static_cast<int32_t>(i));
            RunsClick(nullptr);
            return;
        }
    }
    m_runs->SetItemIndex(index);
    RunsClick(nullptr);
}

void THistoryForm::OpenButtonClick(classes::TPersistent* /*sender*/) {
    const history::TProgressRun* picked = Picked();
    history::THistory* history = m_runHistory.Open();
    if (picked == nullptr || history == nullptr) {
        return;
    }
    const std::optional<history::TRun> run = history->Load(picked->Id);
    if (!run.has_value()) {
        // Another program deleted it meanwhile.
        Refresh();
        forms::TApplication::Instance().ShowMessage("That run is no longer in the history.");
        return;
    }
    m_pastRun.ShowRun(*run);
    if (m_details != nullptr) {
        m_details->ShowRun(KeyedRun(*run), "The run of " + history::FormatTime(run->Time));
    }
}

void THistoryForm::DeleteButtonClick(classes::TPersistent* /*sender*/) {
    const history::TProgressRun* picked = Picked();
    history::THistory* history = m_runHistory.Open();
    if (picked == nullptr || history == nullptr) {
        return;
    }
    if (!platform::FileDialogs().Confirm("Delete the run of " + history::FormatTime(picked->Time) +
                                         " from the history?")) {
        return;
    }
    history->Delete(picked->Id);
    Refresh();
}

}  // namespace app
