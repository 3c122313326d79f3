// The Analyse-a-recording window and command, built from its design data.
#include "app/RecordingForm.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/DesignTexts.h"
#include "app/DetailsForm.h"
#include "app/FormClass.h"
#include "app/HistoryForm.h"
#include "app/MainForm.h"
#include "app/Recording.h"
#include "app/RunHistory.h"
#include "classes/DesignData.h"
#include "forms/Application.h"
#include "platform/FileDialogs.h"

namespace app {

namespace {
constexpr double kSecondsPerMinute = 60;
constexpr double kSecondsPerHour = 3600;
constexpr double kPercent = 100;

// Ends a reading however it ends: the window goes, and another reading may begin.
class TReadingScope {
  public:
    TReadingScope(forms::TForm& window, bool& reading) : m_window(window), m_reading(reading) {
        m_reading = true;
    }
    ~TReadingScope() {
        m_reading = false;
        m_window.Hide();
    }
    TReadingScope(const TReadingScope&) = delete;
    TReadingScope& operator=(const TReadingScope&) = delete;

  private:
    forms::TForm& m_window;
    bool& m_reading;
};
}  // namespace

TRecordingForm::TRecordingForm(classes::TComponent* owner, TForm1& main, TRunHistory& runHistory,
                               TPastRunForm& runWindow, TDetailsForm* details)
    : forms::TForm(owner),
      m_main(main),
      m_runHistory(runHistory),
      m_runWindow(runWindow),
      m_details(details) {
    classes::ReadComponent(DesignText("TRecordingForm"), *this);
    m_fileLabel = DesignField<forms::TLabel>(*this, "FileLabel");
    m_bar = DesignField<forms::TPanel>(*this, "Bar");
    m_fill = DesignField<forms::TPanel>(*this, "Fill");
    m_percent = DesignField<forms::TLabel>(*this, "Percent");
    m_cancel = DesignField<forms::TButton>(*this, "CancelButton");
}

const classes::TClassInfo& TRecordingForm::StaticClass() {
    return FormClass<TRecordingForm>("TRecordingForm");
}

const classes::TClassInfo& TRecordingForm::ClassInfo() const {
    return StaticClass();
}

classes::TNotifyEvent TRecordingForm::FindMethod(std::string_view name) {
    static const std::pair<std::string_view, TFormHandler<TRecordingForm>> kMethods[] = {
        {"CancelButtonClick", &TRecordingForm::CancelButtonClick}};
    return FormMethod<TRecordingForm>(*this, kMethods, name);
}

std::string TRecordingForm::LengthText(double seconds) {
    char text[48];
    if (seconds < kSecondsPerMinute) {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
    } else if (seconds < kSecondsPerHour) {
        const auto whole = static_cast<long>(seconds);
        std::snprintf(text, sizeof text, "%ld min %02ld s", whole / 60, whole % 60);
    } else {
        const auto minutes = static_cast<long>(seconds / kSecondsPerMinute);
        std::snprintf(text, sizeof text, "%ld h %02ld min", minutes / 60, minutes % 60);
    }
    return text;
}

void TRecordingForm::AnalyseClick() {
    if (m_reading) {
        Show();  // one recording at a time: the one being read comes to the front
        return;
    }
    const std::string path = platform::FileDialogs().ChooseOpenFile(kTitle, kFilter);
    if (!path.empty()) {
        Analyse(path);
    }
}

void TRecordingForm::CancelButtonClick(classes::TPersistent* /*sender*/) {
    m_cancelled = true;
}

void TRecordingForm::ShowShare(double share) {
    const int32_t inside = m_bar->Width() - 2 * m_fill->Left();
    const auto width = static_cast<int32_t>(std::lround(share * inside));
    if (width != m_fill->Width()) {
        m_fill->SetWidth(width);
    }
    const std::string percent =
        std::to_string(static_cast<int>(std::floor(share * kPercent))) + " %";
    if (percent != m_percent->Caption()) {
        m_percent->SetCaption(percent);
    }
}

std::optional<TReplayScript> TRecordingForm::Read(const std::string& path,
                                                  const std::string& name) {
    TRecordingReader reader(path);
    const TReadingScope scope(*this, m_reading);
    m_cancelled = false;
    m_fileLabel->SetCaption("Reading " + name + " (" + LengthText(reader.Seconds()) + ")");
    ShowShare(0);
    Show();
    forms::TApplication& application = forms::TApplication::Instance();
    while (reader.Step(kStepFrames)) {
        ShowShare(reader.Progress());
        application.ProcessMessages();
        // Cancel, the window's close box and the program's end all stop the reading.
        if (m_cancelled || !Visible() || application.Terminated()) {
            return std::nullopt;
        }
    }
    ShowShare(1);
    return reader.Script();
}

void TRecordingForm::Analyse(const std::string& path) {
    if (m_reading) {
        Show();
        return;
    }
    // The analysis runs a main window of its own on the capture's services: never beside a
    // keying run that polls them.
    if (m_main.Capturing()) {
        forms::TApplication::Instance().ShowMessage(kFinishFirst);
        return;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    std::optional<TReplayScript> script = Read(path, name);
    if (!script.has_value()) {
        return;  // cancelled
    }
    script->PracticeText = m_main.PracticeText();
    const TRecordingAnalysis analysis = AnalyseKeying(std::move(*script));
    if (!analysis.Run.has_value()) {
        std::string said;
        for (const std::string& text : analysis.Messages) {
            said += (said.empty() ? "" : "; ") + text;
        }
        forms::TApplication::Instance().ShowMessage(name + kNotAnalysed +
                                                    (said.empty() ? "" : "\n(" + said + ")"));
        return;
    }
    m_runWindow.ShowRecording(*analysis.Run, name, m_runHistory);
    if (m_details != nullptr) {
        m_details->ShowRun(KeyedRun(*analysis.Run), "The recording " + name);
    }
}

}  // namespace app
