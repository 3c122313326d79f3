// File → "Analyse a recording…": the window that shows a recording being read through the tone
// detector (a progress bar and Cancel), and the command that then runs its keying through the
// main window's analysis and shows the run in the past-run window and the Details window.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/KeyingReplay.h"
#include "forms/ExtCtrls.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"

namespace app {

class TDetailsForm;
class TForm1;
class TPastRunForm;
class TRunHistory;

class TRecordingForm : public forms::TForm {
  public:
    // main: whose practice text the recording is judged against, and whose keying run must not be
    // under way; runWindow and details (may be null) show the run; runHistory keeps it on request.
    TRecordingForm(classes::TComponent* owner, TForm1& main, TRunHistory& runHistory,
                   TPastRunForm& runWindow, TDetailsForm* details);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // The menu command: asks for a sound file through the file dialogs, then analyses it.
    void AnalyseClick();
    // Reads the recording at path with this window showing how far it got, runs its keying
    // through the analysis and shows the run. A file that is no usable recording raises
    // audio::EAudioError with its one message (shown by the application as any handler's error);
    // a keying the analysis cannot judge shows what the main window would say of it. Cancel, or
    // closing this window, stops the reading and shows nothing.
    void Analyse(const std::string& path);
    void CancelButtonClick(classes::TPersistent* sender);

    // A recording is being read.
    bool Reading() const { return m_reading; }
    forms::TLabel& FileLabel() const { return *m_fileLabel; }
    forms::TPanel& Bar() const { return *m_bar; }
    forms::TPanel& Fill() const { return *m_fill; }
    forms::TLabel& Percent() const { return *m_percent; }
    forms::TButton& CancelButton() const { return *m_cancel; }

    // Frames read between two passes of the event pump: a few milliseconds of work at any rate.
    static constexpr size_t kStepFrames = 8192;
    // What the file dialog offers.
    static constexpr const char* kTitle = "Analyse a recording";
    static constexpr const char* kFilter =
        "Sound files\t*.{wav,WAV,flac,FLAC,ogg,OGG,oga,opus,mp3,MP3,aif,aiff,au}\nAll files\t*";
    // Said when a keying run is under way.
    static constexpr const char* kFinishFirst =
        "Finish the keying run before analysing a recording.";
    // Said when the analysis of the keying ran to no end, after the recording's name; what the
    // main window said of it follows in brackets.
    static constexpr const char* kNotAnalysed =
        " holds a keying the analysis cannot judge: it needs marks and spaces of two lengths "
        "each.";

    // A length for the window's line: "12.5 s", "3 min 05 s", "1 h 02 min".
    static std::string LengthText(double seconds);

  private:
    // Reads the recording through the detector in steps, pumping events between them; the
    // script of its keying, or empty when cancelled.
    std::optional<TReplayScript> Read(const std::string& path, const std::string& name);
    // Shows the share read, 0 to 1, on the bar and the percent line.
    void ShowShare(double share);

    TForm1& m_main;
    TRunHistory& m_runHistory;
    TPastRunForm& m_runWindow;
    TDetailsForm* m_details;
    bool m_reading = false;
    bool m_cancelled = false;
    forms::TLabel* m_fileLabel = nullptr;
    forms::TPanel* m_bar = nullptr;
    forms::TPanel* m_fill = nullptr;
    forms::TLabel* m_percent = nullptr;
    forms::TButton* m_cancel = nullptr;
};

}  // namespace app
