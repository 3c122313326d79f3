// The "Run" menu, made in code after the main window is built from its design data, so that the
// window's own menu stays as designed.
#include "app/RunMenu.h"

#include <memory>
#include <stdexcept>

#include "app/DetailsForm.h"
#include "app/MainForm.h"
#include "app/MonitorForm.h"
#include "app/Playback.h"
#include "app/PracticeForm.h"
#include "forms/Application.h"
#include "forms/Menus.h"

namespace app {

namespace {
constexpr const char* kPlayBackCaption = "Play back";
constexpr const char* kStopPlaybackCaption = "Stop playback";

forms::TMenuItem* MenuItem(TForm1& main, const char* name, const char* caption) {
    auto* item = new forms::TMenuItem(&main);  // the window owns and frees it
    item->SetName(name);
    item->SetCaption(caption);
    return item;
}
}  // namespace

void AddRunMenu(TForm1& main, TPracticeForm& practice, TDetailsForm& details) {
    forms::TMenuItem& bar = main.Menu()->Items();
    forms::TMenuItem* run = MenuItem(main, "Run1", "Run");
    forms::TMenuItem* practiceItem = MenuItem(main, "PracticeText1", "Practice text\u2026");
    practiceItem->SetOnClick({"PracticeText1Click", [&main, &practice](classes::TPersistent*) {
                                  practice.ShowFor(main);
                              }});
    forms::TMenuItem* detailsItem = MenuItem(main, "Details1", "Details\u2026");
    detailsItem->SetOnClick(
        {"Details1Click", [&main, &details](classes::TPersistent*) { details.ShowLastRun(main); }});
    run->Add(practiceItem);
    run->Add(detailsItem);
    // Before "Help", which stays the last menu.
    forms::TMenuItem* help = nullptr;
    for (int32_t i = 0; i < bar.Count(); ++i) {
        if (bar.Items(i)->Caption() == "Help") {
            help = bar.Items(i);
        }
    }
    if (help != nullptr) {
        bar.Remove(help);
    }
    bar.Add(run);
    if (help != nullptr) {
        bar.Add(help);
    }
    main.AddRunAnalysedHandler([&details](const coach::TKeyedRun& analysed) {
        if (details.Visible()) {
            details.Fill(analysed, "The last run");
        }
    });
}

void AddMonitorMenuItem(TForm1& main, TMonitorForm& monitor) {
    forms::TMenuItem& bar = main.Menu()->Items();
    for (int32_t i = 0; i < bar.Count(); ++i) {
        if (bar.Items(i)->Name() == "Run1") {
            forms::TMenuItem* item = MenuItem(main, "LiveMonitor1", "Live monitor\u2026");
            item->SetOnClick(
                {"LiveMonitor1Click", [&monitor](classes::TPersistent*) { monitor.Open(); }});
            bar.Items(i)->Add(item);
            return;
        }
    }
    throw std::logic_error("the Live monitor needs the Run menu first");
}

void AddPlaybackMenuItem(TForm1& main, std::shared_ptr<TPlayback> playback) {
    forms::TMenuItem& bar = main.Menu()->Items();
    forms::TMenuItem* run = nullptr;
    for (int32_t i = 0; i < bar.Count(); ++i) {
        if (bar.Items(i)->Name() == "Run1") {
            run = bar.Items(i);
        }
    }
    if (run == nullptr) {
        throw std::logic_error("Play back needs the Run menu first");
    }
    forms::TMenuItem* item = MenuItem(main, "PlayBack1", kPlayBackCaption);
    item->SetOnClick({"PlayBack1Click", [&main, playback](classes::TPersistent*) {
                          if (playback->Playing()) {
                              playback->Stop();
                          } else if (!main.Capturing() && main.LastAnalysedRun() != nullptr) {
                              playback->Play(*main.LastAnalysedRun(), main.SideToneDivisor());
                          }
                      }});
    item->SetOnUpdate([&main, playback](forms::TMenuItem& self) {
        playback->Tidy();
        const bool playing = playback->Playing();
        self.SetCaption(playing ? kStopPlaybackCaption : kPlayBackCaption);
        self.SetEnabled(playing || (!main.Capturing() && main.LastAnalysedRun() != nullptr));
    });
    run->Add(item);
    main.AddRunStartingHandler([playback] { playback->Stop(); });
}

void CreateRunWindows(forms::TApplication& application) {
    auto* main = dynamic_cast<TForm1*>(application.MainForm());
    if (main == nullptr) {
        throw std::logic_error("the Run windows need the main window first");
    }
    auto practice = std::make_unique<TPracticeForm>(nullptr);
    auto details = std::make_unique<TDetailsForm>(nullptr);
    auto monitor = std::make_unique<TMonitorForm>(nullptr);
    AddRunMenu(*main, *practice, *details);
    AddMonitorMenuItem(*main, *monitor);
    AddPlaybackMenuItem(*main, std::make_shared<TPlayback>());
    application.AddForm(std::move(practice));
    application.AddForm(std::move(details));
    application.AddForm(std::move(monitor));
}

}  // namespace app
