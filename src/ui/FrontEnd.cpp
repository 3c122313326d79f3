// The front end: services, window views, the event loop and the program's end.
#include "ui/FrontEnd.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "app/KeyInputForm.h"
#include "app/MainForm.h"
#include "app/MonitorForm.h"
#include "app/PracticeForm.h"
#include "base/Arith.h"
#include "forms/Menus.h"
#include "platform/SettingsFile.h"
#include "platform/ToneRenderer.h"
#include "port/PortIO.h"
#include "ui/AssetFiles.h"
#include "ui/ChartView.h"
#include "ui/FormView.h"
#include "ui/TestChannel.h"

namespace ui {

TFrontEnd::TFrontEnd(forms::TApplication& application)
    : m_application(application),
      m_keyInput(m_keys, m_keyboard),
      m_shell(*platform::Services().Shell),
      m_services(platform::TServices{&m_keyInput, nullptr, &m_pump, &m_dialogs, &m_shell}),
      m_programFolder(ui::ProgramFolder()) {
    m_keys.InstallEventFilter();
    // The keyboard key is the chosen key's presses and releases in the program's windows; they
    // go no further, so a chosen Space or Enter never clicks a button.
    m_keys.SetKeyHandler([this](int event, unsigned symbol) {
        if (m_keyInput.Settings().Kind != platform::TKeyInputKind::kiKeyboardKey) {
            return false;
        }
        if (event == FL_KEYDOWN) {
            return m_keyboard.Press(symbol, m_keys.EventStamp());
        }
        if (event == FL_KEYUP) {
            return m_keyboard.Release(symbol, m_keys.EventStamp());
        }
        m_keyboard.ReleaseAll();  // the focus left: no release will come
        return false;
    });
    m_keyInput.SetLostNotice([this](const std::string& message) { ShowLater(message); });
    m_testChannel = TTestChannel::FromEnvironment(*this);
}

TFrontEnd::~TFrontEnd() {
    Fl::remove_timeout(&TFrontEnd::ShowPending, this);
    Fl::remove_timeout(&TFrontEnd::FollowKey, this);
    Fl::remove_timeout(&TFrontEnd::FollowRun, this);
    m_testChannel.reset();
    m_formViews.clear();
    m_keys.RemoveEventFilter();
}

void TFrontEnd::BindForms() {
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        m_formViews.push_back(std::make_unique<TFormView>(*this, *m_application.Forms(i)));
    }
    // The main window's chart takes no mouse while a keying run is being captured: the right
    // button is then only the Morse key.
    for (const std::unique_ptr<TFormView>& formView : m_formViews) {
        auto* main = dynamic_cast<app::TForm1*>(formView->Form());
        for (const std::unique_ptr<TControlView>& view : formView->Views()) {
            if (auto* chart = dynamic_cast<TChartView*>(view.get()); chart != nullptr && main) {
                chart->SetMouseGate([main] { return !main->Capturing(); });
            }
        }
    }
    // File -> Quit ends the program as the main window's close box does: a keying run in
    // progress is left and silenced.
    if (forms::TForm* mainForm = m_application.MainForm()) {
        if (auto* quit = dynamic_cast<forms::TMenuItem*>(mainForm->FindComponent("Quit1"))) {
            quit->SetOnClick({"Quit1Click", [this](classes::TPersistent*) { EndProgram(); }});
        }
    }
    // The Key input window's lamp follows the key while the window is open.
    Fl::add_timeout(kFollowKeySeconds, &TFrontEnd::FollowKey, this);
    // The Live monitor and the warning that the key cannot be heard follow the run.
    Fl::add_timeout(kFollowRunSeconds, &TFrontEnd::FollowRun, this);
    m_keys.SetPassThrough([this](int event, const Fl_Window* window) {
        for (const std::unique_ptr<TFormView>& formView : m_formViews) {
            for (const std::unique_ptr<TControlView>& view : formView->Views()) {
                auto* chart = dynamic_cast<TChartView*>(view.get());
                if (chart != nullptr && chart->WantsRightButton(event, window)) {
                    return true;
                }
            }
        }
        return false;
    });
}

TFormView* TFrontEnd::ViewOf(const forms::TForm& form) const {
    for (const std::unique_ptr<TFormView>& view : m_formViews) {
        if (view->Form() == &form) {
            return view.get();
        }
    }
    return nullptr;
}

int TFrontEnd::Run() {
    forms::TForm* mainForm = m_application.MainForm();
    if (mainForm == nullptr) {
        return 1;
    }
    if (TFormView* view = ViewOf(*mainForm); view != nullptr && m_argc > 0) {
        view->SetToolkitArguments(m_argc, m_argv);
    }
    RunHandler([mainForm] { mainForm->Show(); });
    m_started = true;
    if (m_window.MonitorOpen) {
        // Open when the program last ended: open again, beside the main window.
        for (int32_t i = 0; i < m_application.FormCount(); ++i) {
            if (auto* monitor = dynamic_cast<app::TMonitorForm*>(m_application.Forms(i))) {
                RunHandler([monitor] { monitor->Open(); });
            }
        }
    }
    if (!m_pendingMessages.empty()) {
        Fl::add_timeout(0.0, &TFrontEnd::ShowPending, this);
    }
    while (!m_application.Terminated()) {
        if (Fl::wait() == 0) {
            break;  // no window open any more
        }
    }
    return 0;
}

void TFrontEnd::RunHandler(const std::function<void()>& handler) {
    try {
        m_application.Dispatch(handler);
    } catch (const TProgramClosing&) {
        // The handler pumped events and the main window was closed meanwhile: it is left here
        // and the event loop ends.
    }
}

void TFrontEnd::CloseRequested(TFormView& view, bool byEscape) {
    forms::TForm* form = view.Form();
    if (form == nullptr) {
        return;
    }
    if (form != m_application.MainForm()) {
        form->Close();
        return;
    }
    if (!byEscape) {
        EndProgram();
    }
}

void TFrontEnd::EndProgram() {
    m_ending = true;  // the windows close with the program: they are kept open in the settings
    if (auto* mainForm = dynamic_cast<app::TForm1*>(m_application.MainForm())) {
        if (mainForm->RunFlag() != 0) {
            // A keying run is in progress: no tone may outlive the window.
            mainForm->PortIO1().SpeakerOff();
            mainForm->PortIO1().SetOpened(false);
        }
    }
    m_pump.Close();
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        m_application.Forms(i)->Hide();
    }
    m_application.MainForm()->Close();
}

void TFrontEnd::LoadSettings(const std::string& path) {
    m_settingsPath = path;
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        if (auto* keyInput = dynamic_cast<app::TKeyInputForm*>(m_application.Forms(i))) {
            keyInput->Connect(m_keyInput, path);
        }
    }
    const platform::TSettingsLoad load = platform::LoadSettings(path);
    if (!load.Message.empty()) {
        ShowLater(load.Message);
    }
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        if (auto* practice = dynamic_cast<app::TPracticeForm*>(m_application.Forms(i))) {
            practice->SetSettingsPath(path);
        }
    }
    if (auto* mainForm = dynamic_cast<app::TForm1*>(m_application.MainForm())) {
        mainForm->SetPracticeText(load.PracticeText);
    }
    ApplySideTone(load.SideTone);
    m_window = load.Window;
    SetDisplayPercent(ChosenDisplayPercent());
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        if (auto* monitor = dynamic_cast<app::TMonitorForm*>(m_application.Forms(i))) {
            monitor->SetOnOpenChanged([this](bool open) {
                if (m_started && !m_ending && open != m_window.MonitorOpen) {
                    platform::TWindowSettings changed = m_window;
                    changed.MonitorOpen = open;
                    SaveWindowSettings(changed);
                }
            });
        }
    }
    try {
        m_keyInput.Apply(load.Settings);
    } catch (const platform::EKeyInputError& error) {
        ShowLater(std::string(error.what()) + "\nThe right mouse button is the key until then.");
    }
}

void TFrontEnd::FollowKey(void* frontEnd) {
    auto* self = static_cast<TFrontEnd*>(frontEnd);
    for (int32_t i = 0; i < self->m_application.FormCount(); ++i) {
        if (auto* keyInput = dynamic_cast<app::TKeyInputForm*>(self->m_application.Forms(i))) {
            self->RunHandler([keyInput] { keyInput->FollowKey(); });
        }
    }
    Fl::repeat_timeout(kFollowKeySeconds, &TFrontEnd::FollowKey, frontEnd);
}

int32_t TFrontEnd::Scaled(int32_t designPixels) const {
    return m_displayPercent == kDesignPercent
               ? designPixels
               : base::MulDiv(designPixels, m_displayPercent, kDesignPercent);
}

int32_t TFrontEnd::Unscaled(int32_t screenPixels) const {
    return m_displayPercent == kDesignPercent
               ? screenPixels
               : base::MulDiv(screenPixels, kDesignPercent, m_displayPercent);
}

int32_t TFrontEnd::ChosenDisplayPercent() const {
    float horizontal = 0;
    float vertical = 0;
    if (m_window.DisplaySize == platform::TWindowSettings::kAutomaticSize) {
        // FLTK opens the display itself to answer, before any window is shown.
        Fl::screen_dpi(horizontal, vertical, 0);
    }
    return platform::EffectiveDisplaySize(m_window.DisplaySize, vertical);
}

void TFrontEnd::ChooseDisplaySize(int32_t chosen) {
    platform::TWindowSettings changed = m_window;
    changed.DisplaySize = chosen;
    SaveWindowSettings(changed);
    SetDisplayPercent(ChosenDisplayPercent());
}

void TFrontEnd::ApplySideTone(const platform::TSideToneSettings& settings) {
    m_sideTone = settings;
    platform::SetSideToneLevel(settings.Level());
    if (auto* mainForm = dynamic_cast<app::TForm1*>(m_application.MainForm())) {
        mainForm->SetSideToneDivisor(settings.Divisor());
    }
}

void TFrontEnd::ChooseSideTone(const platform::TSideToneSettings& settings) {
    ApplySideTone(settings);
    SaveToSettingsFile(
        [&settings](const std::string& path) { platform::SaveSideToneSettings(path, settings); });
}

void TFrontEnd::SaveToSettingsFile(const std::function<void(const std::string& path)>& save) {
    if (m_settingsPath.empty()) {
        return;  // no settings file (a test's private run): kept for this run only
    }
    try {
        save(m_settingsPath);
    } catch (const std::exception& error) {
        ShowLater(error.what());
    }
}

void TFrontEnd::SetDisplayPercent(int32_t percent) {
    if (percent == m_displayPercent) {
        return;
    }
    m_displayPercent = percent;
    // FLTK's scroll bars (memo and list boxes) are as wide as its default at the display size.
    Fl::scrollbar_size(Scaled(kScrollBarWidth));
    m_dialogs.SetDisplayPercent(percent);
    m_fileDialogs.SetDisplayPercent(percent);
    for (const std::unique_ptr<TFormView>& view : m_formViews) {
        view->Rescale();
    }
}

void TFrontEnd::SaveWindowSettings(const platform::TWindowSettings& settings) {
    m_window = settings;
    SaveToSettingsFile(
        [&settings](const std::string& path) { platform::SaveWindowSettings(path, settings); });
}

void TFrontEnd::FollowRun(void* frontEnd) {
    auto* self = static_cast<TFrontEnd*>(frontEnd);
    Fl::repeat_timeout(kFollowRunSeconds, &TFrontEnd::FollowRun, frontEnd);
    auto* main = dynamic_cast<app::TForm1*>(self->m_application.MainForm());
    if (main == nullptr || self->m_ending) {
        return;
    }
    const bool rightButton =
        self->m_keyInput.Settings().Kind == platform::TKeyInputKind::kiRightButton;
    // One query of the pointer each time, and only while a run with the right button is captured.
    const bool outOfSight = main->Capturing() && rightButton && !self->PointerOverProgram();
    if (outOfSight != self->m_keyOutOfSight) {
        self->ShowOutOfSight(outOfSight);
    }
    const uint32_t now = platform::Services().Clock->TickCount();
    for (int32_t i = 0; i < self->m_application.FormCount(); ++i) {
        if (auto* monitor = dynamic_cast<app::TMonitorForm*>(self->m_application.Forms(i))) {
            self->RunHandler([monitor, main, now, outOfSight] {
                monitor->SetKeyOutOfSight(outOfSight);
                monitor->Follow(*main, now);
            });
        }
    }
}

bool TFrontEnd::PointerOverProgram() const {
    int x = 0;
    int y = 0;
    Fl::get_mouse(x, y);
    for (const std::unique_ptr<TFormView>& view : m_formViews) {
        Fl_Window& window = view->Window();
        if (window.shown() && window.visible() && x >= window.x() && x < window.x() + window.w() &&
            y >= window.y() && y < window.y() + window.h()) {
            return true;
        }
    }
    return false;
}

void TFrontEnd::ShowOutOfSight(bool outOfSight) {
    m_keyOutOfSight = outOfSight;
    forms::TForm* main = m_application.MainForm();
    TFormView* view = main != nullptr ? ViewOf(*main) : nullptr;
    if (view == nullptr) {
        return;
    }
    // Only the window's title changes: the window keeps its own caption.
    const std::string title =
        outOfSight ? main->Caption() + " \u2014 " + app::TMonitorForm::kOutOfSightWarning
                   : main->Caption();
    view->Window().copy_label(title.c_str());
}

void TFrontEnd::ShowLater(const std::string& message) {
    m_pendingMessages.push_back(message);
    if (m_started) {
        Fl::add_timeout(0.0, &TFrontEnd::ShowPending, this);
    }
}

void TFrontEnd::ShowPending(void* frontEnd) {
    auto* self = static_cast<TFrontEnd*>(frontEnd);
    while (!self->m_pendingMessages.empty()) {
        const std::string message = self->m_pendingMessages.front();
        self->m_pendingMessages.erase(self->m_pendingMessages.begin());
        self->RunHandler([self, &message] { self->m_dialogs.ShowMessage(message); });
    }
}

void TFrontEnd::WindowPainted(TFormView& view) {
    if (m_testChannel != nullptr) {
        m_testChannel->WindowPainted(view);
    }
}

}  // namespace ui
