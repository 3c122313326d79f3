// The History window and the past-run window, built from their design data.
#include "app/HistoryForm.h"

#include "app/DesignTexts.h"
#include "app/DetailsForm.h"
#include "app/FormClass.h"
#include "app/RunHistory.h"
#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
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

void AppendPoint(chart::TChartSeries& series, double x, double y) {
    series.AppendXY(x, y, "", chart::clSeriesDefault);
}
}  // namespace

TPastRunForm::TPastRunForm(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TPastRunForm"), *this);
    m_chart1 = DesignField<chart::TChart>(*this, "Chart1");
    m_series1 = DesignField<chart::TChartSeries>(*this, "Series1");
    m_results = DesignField<forms::TListBox>(*this, "Results");
}

const classes::TClassInfo& TPastRunForm::StaticClass() {
    return FormClass<TPastRunForm>("TPastRunForm");
}

const classes::TClassInfo& TPastRunForm::ClassInfo() const {
    return StaticClass();
}

void TPastRunForm::ShowRun(const history::TRun& run) {
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
    m_results->Items().SetRawLines(std::move(lines));
    Show();
}

THistoryForm::THistoryForm(classes::TComponent* owner, TRunHistory& runHistory,
                           TPastRunForm& pastRun, TDetailsForm* details)
    : forms::TForm(owner), m_runHistory(runHistory), m_pastRun(pastRun), m_details(details) {
    classes::ReadComponent(DesignText("THistoryForm"), *this);
    m_runs = DesignField<forms::TListBox>(*this, "Runs");
    m_status = DesignField<forms::TLabel>(*this, "Status");
    m_progress = DesignField<chart::TChart>(*this, "Progress");
    m_speed = DesignField<chart::TChartSeries>(*this, "SpeedSeries");
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
    if (classes::SameText(name, "OpenButtonClick")) {
        return {"OpenButtonClick", [this](classes::TPersistent* s) { OpenButtonClick(s); }};
    }
    if (classes::SameText(name, "DeleteButtonClick")) {
        return {"DeleteButtonClick", [this](classes::TPersistent* s) { DeleteButtonClick(s); }};
    }
    return {};
}

std::string THistoryForm::ListLine(const history::TRunSummary& run) {
    const auto figure = [](const std::optional<int32_t>& value) {
        return value.has_value() ? std::to_string(*value) : std::string("-");
    };
    std::string line = history::FormatTime(run.Time) + "   " + figure(run.Speed()) +
                       " wpm   merits " + figure(run.CharacterMerit()) + " / " +
                       figure(run.WordMerit());
    if (!run.PracticeText.empty()) {
        line += "   " + run.PracticeText;
    }
    return line;
}

double THistoryForm::ChartDate(int64_t unixMs) {
    return kUnixEpochDays + static_cast<double>(unixMs) / kMsPerDay;
}

void THistoryForm::Refresh() {
    m_summaries.clear();
    if (history::THistory* history = m_runHistory.Open()) {
        try {
            m_summaries = history->List();
        } catch (const history::EHistoryError& error) {
            m_runHistory.Fail(error.Message());
        }
    }
    std::vector<std::string> lines;
    lines.reserve(m_summaries.size());
    for (const history::TRunSummary& run : m_summaries) {
        lines.push_back(ListLine(run));
    }
    m_runs->Items().SetRawLines(std::move(lines));
    m_runs->SetItemIndex(m_summaries.empty() ? -1 : 0);

    m_speed->ClearPoints();
    m_characterMerit->ClearPoints();
    m_wordMerit->ClearPoints();
    // Oldest first, so the lines run forward in time; a run without a figure leaves no point.
    for (auto run = m_summaries.rbegin(); run != m_summaries.rend(); ++run) {
        const double date = ChartDate(run->Time);
        const std::pair<chart::TChartSeries*, std::optional<int32_t>> figures[] = {
            {m_speed, run->Speed()},
            {m_characterMerit, run->CharacterMerit()},
            {m_wordMerit, run->WordMerit()}};
        for (const auto& [series, value] : figures) {
            if (value.has_value()) {
                AppendPoint(*series, date, *value);
            }
        }
    }
    if (!m_runHistory.Failure().empty()) {
        m_status->SetCaption("No history: " + m_runHistory.Failure());
    } else {
        m_status->SetCaption(std::to_string(m_summaries.size()) +
                             (m_summaries.size() == 1 ? " run" : " runs"));
    }
}

const history::TRunSummary* THistoryForm::Picked() {
    const int32_t index = m_runs->ItemIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_summaries.size()) {
        forms::TApplication::Instance().ShowMessage("Pick a run in the list first.");
        return nullptr;
    }
    return &m_summaries[static_cast<size_t>(index)];
}

void THistoryForm::OpenButtonClick(classes::TPersistent* /*sender*/) {
    const history::TRunSummary* picked = Picked();
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
    const history::TRunSummary* picked = Picked();
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
