// The File menu: its items, built in code beside the original design, and the exports.
#include "app/FileMenu.h"

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <memory>

#include "app/DetailsForm.h"
#include "app/HistoryForm.h"
#include "app/MainForm.h"
#include "app/RecordingForm.h"
#include "app/RunHistory.h"
#include "base/OutputFile.h"
#include "chart/component/Chart.h"
#include "forms/Application.h"
#include "gfx/Bitmap.h"
#include "history/Csv.h"
#include "platform/FileDialogs.h"

namespace app {

namespace {
constexpr const char* kCsvFilter = "CSV files\t*.csv";
constexpr const char* kPngFilter = "PNG images\t*.png";

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// A file name for an export: "<stem>-2026-12-07-1349.<extension>" from the run's local time.
std::string SuggestedName(const std::string& stem, int64_t unixMs, const std::string& extension) {
    std::string stamp = history::FormatTime(unixMs);  // "2026-12-07 13:49:21"
    stamp = stamp.substr(0, 10) + "-" + stamp.substr(11, 2) + stamp.substr(14, 2);
    return stem + "-" + stamp + "." + extension;
}

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A menu item owned (and freed) by the form; a command when it has an action.
forms::TMenuItem* NewItem(forms::TForm& form, const char* name, const char* caption,
                          std::function<void()> action = nullptr) {
    auto* item = new forms::TMenuItem(&form);
    item->SetName(name);
    item->SetCaption(caption);
    if (action) {
        item->SetOnClick({name, [action = std::move(action)](classes::TPersistent*) { action(); }});
    }
    return item;
}

void ExportRun(const TRunHistory& runHistory) {
    const std::optional<history::TRun>& run = runHistory.LastRun();
    if (!run.has_value()) {
        forms::TApplication::Instance().ShowMessage("There is no analysed run to export yet.");
        return;
    }
    const std::string path =
        AskSavePath("Export run as CSV", kCsvFilter, SuggestedName("keyvet-run", run->Time, "csv"));
    if (!path.empty()) {
        WriteTextFile(path, history::RunCsv(*run), "CSV file");
    }
}

void ExportChart(TForm1& form) {
    const std::string path =
        AskSavePath("Export chart as PNG", kPngFilter, SuggestedName("keyvet-chart", Now(), "png"));
    if (!path.empty()) {
        WriteChartPng(form.Chart1(), path);
    }
}

void ExportHistory(TRunHistory& runHistory) {
    runHistory.StoreWaiting();
    history::THistory* history = runHistory.Open();
    if (history == nullptr) {
        forms::TApplication::Instance().ShowMessage(
            "There is no history of runs: " +
            (runHistory.Failure().empty() ? runHistory.Busy() : runHistory.Failure()));
        return;
    }
    const std::vector<history::TRunSummary> runs = history->List();
    const std::string path = AskSavePath("Export history as CSV", kCsvFilter,
                                         SuggestedName("keyvet-history", Now(), "csv"));
    if (!path.empty()) {
        WriteTextFile(path, history::HistoryCsv(runs), "CSV file");
    }
}
}  // namespace

std::string AskSavePath(const std::string& title, const std::string& filter,
                        const std::string& suggested) {
    platform::IFileDialogs& dialogs = platform::FileDialogs();
    std::string offered = suggested;
    for (;;) {
        const std::string path = dialogs.ChooseSaveFile(title, filter, offered);
        if (path.empty() || !Exists(path) ||
            dialogs.Confirm("'" + path + "' exists already. Replace it?")) {
            return path;
        }
        offered = path;
    }
}

void WriteTextFile(const std::string& path, const std::string& text, const std::string& what) {
    base::TOutputFile file(path, what);
    file.Write(text.data(), text.size());
    file.Commit();
}

void WriteChartPng(chart::TChart& chart, const std::string& path) {
    gfx::TBitmap picture(chart.Width(), chart.Height());
    chart.PaintToCanvas(&picture.Canvas(), gfx::TRect(0, 0, chart.Width(), chart.Height()));
    picture.SaveToFile(path);
}

void AddFileMenu(TForm1& form, TRunHistory& runHistory) {
    forms::TApplication& application = forms::TApplication::Instance();
    // A past run opens in the coach's Details window too, where the program has one.
    TDetailsForm* details = nullptr;
    for (int32_t i = 0; i < application.FormCount(); ++i) {
        if (auto* form = dynamic_cast<TDetailsForm*>(application.Forms(i))) {
            details = form;
        }
    }
    auto pastRun = std::make_unique<TPastRunForm>(nullptr);
    auto historyForm = std::make_unique<THistoryForm>(nullptr, runHistory, *pastRun, details);
    THistoryForm& historyWindow = *historyForm;
    auto recordingForm =
        std::make_unique<TRecordingForm>(nullptr, form, runHistory, *pastRun, details);
    TRecordingForm& recordingWindow = *recordingForm;
    application.AddForm(std::move(historyForm));
    application.AddForm(std::move(pastRun));
    application.AddForm(std::move(recordingForm));

    forms::TMenuItem* file = NewItem(form, "File1", "File");
    file->Add(NewItem(form, "ExportRunCsv1", "Export run as CSV\u2026",
                      [&runHistory] { ExportRun(runHistory); }));
    file->Add(NewItem(form, "ExportChartPng1", "Export chart as PNG\u2026",
                      [&form] { ExportChart(form); }));
    file->Add(NewItem(form, "History1", "History\u2026", [&historyWindow] {
        historyWindow.Refresh();
        historyWindow.Show();
    }));
    file->Add(NewItem(form, "ExportHistoryCsv1", "Export history as CSV\u2026",
                      [&runHistory] { ExportHistory(runHistory); }));
    file->Add(NewItem(form, "AnalyseRecording1", "Analyse a recording\u2026",
                      [&recordingWindow] { recordingWindow.AnalyseClick(); }));
    // Closing the main window ends the program; the front end gives this the close box's own
    // handling (a keying run in progress is stopped and silenced).
    file->Add(NewItem(form, "Quit1", "Quit", [&form] { form.Close(); }));
    file->SetParentComponent(form.Menu());
    form.Menu()->Items().Insert(0, file);
}

}  // namespace app
