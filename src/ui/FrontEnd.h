// The FLTK front end: puts its services in place (event pump, dialogs, the right-button key
// state), gives every window of the application a view, runs the event loop, and ends the
// program cleanly when the main window is closed, even in the middle of a keying run.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "platform/KeyInput.h"
#include "platform/KeyboardKey.h"
#include "platform/Services.h"
#include "platform/SideToneSettings.h"
#include "platform/WindowSettings.h"
#include "ui/FltkServices.h"
#include "ui/KeyTracker.h"

namespace ui {

class TFormView;
class TTestChannel;

class TFrontEnd {
  public:
    // Installs the services and the right-button event filter for the front end's lifetime.
    explicit TFrontEnd(forms::TApplication& application);
    ~TFrontEnd();
    TFrontEnd(const TFrontEnd&) = delete;
    TFrontEnd& operator=(const TFrontEnd&) = delete;

    // Gives every window of the application a view (the windows stay closed until shown).
    void BindForms();
    // Shows the main window and handles events until it is closed; returns the exit status.
    int Run();
    // The window toolkit's own command-line options, for the main window's first show.
    void SetToolkitArguments(int argc, char** argv) {
        m_argc = argc;
        m_argv = argv;
    }

    // Runs an event handler of the program as the event loop does: an exception that leaves it
    // is shown in the message dialog and the program goes on. When the program is ending, the
    // handler (a keying run that pumps events) is left and this returns.
    void RunHandler(const std::function<void()>& handler);

    // A window's close box (or Escape in it). Closing the main window ends the program: a
    // keying run in progress stops and its side-tone is silenced. Other windows just hide.
    void CloseRequested(TFormView& view, bool byEscape);
    // A window was painted for the first time since it opened.
    void WindowPainted(TFormView& view);

    forms::TApplication& Application() const { return m_application; }
    const std::vector<std::unique_ptr<TFormView>>& FormViews() const { return m_formViews; }
    TFormView* ViewOf(const forms::TForm& form) const;
    TRightButtonTracker& Keys() { return m_keys; }
    // The key input the capture polls: the right button unless the settings chose another.
    platform::TKeyInput& KeyInput() { return m_keyInput; }
    platform::TKeyboardKey& KeyboardKey() { return m_keyboard; }
    // Reads the settings file (empty: none) and puts its key input in place. What went wrong (a
    // damaged file, an input that cannot be opened) is shown once the main window is up.
    void LoadSettings(const std::string& path);
    const std::string& SettingsPath() const { return m_settingsPath; }
    // The window settings read at start-up and changed since.
    const platform::TWindowSettings& WindowSettings() const { return m_window; }
    // Keeps the window settings in the settings file; what goes wrong is shown in a dialog.
    void SaveWindowSettings(const platform::TWindowSettings& settings);
    // The display size in percent of the design sizes (100 until the settings choose another),
    // and design pixels in screen pixels at that size and back.
    int32_t DisplayPercent() const { return m_displayPercent; }
    int32_t Scaled(int32_t designPixels) const;
    int32_t Unscaled(int32_t screenPixels) const;
    // The operator chose a display size (a percentage, or automatic): kept in the settings and
    // put in place at once.
    void ChooseDisplaySize(int32_t chosen);
    // The side-tone's pitch and volume in force; the operator's choice is kept in the settings
    // and put in place at once (the live side-tone and playing back use it).
    const platform::TSideToneSettings& SideTone() const { return m_sideTone; }
    void ChooseSideTone(const platform::TSideToneSettings& settings);
    // Draws every window at `percent` of its design size (the same design, larger and sharp).
    void SetDisplayPercent(int32_t percent);
    // The display size chosen in the settings (or automatic) for this screen, in percent.
    int32_t ChosenDisplayPercent() const;
    // The right button is the input, a run is captured and the pointer is outside every window
    // of the program, where the button is not heard (as of the last check).
    bool KeyOutOfSight() const { return m_keyOutOfSight; }
    TFltkDialogs& Dialogs() { return m_dialogs; }
    TFltkShell& Shell() { return m_shell; }
    TFltkEventPump& Pump() { return m_pump; }
    // The folder the program was started from, where its shipped files are looked for first.
    const std::string& ProgramFolder() const { return m_programFolder; }

  private:
    void EndProgram();
    // Runs `save` on the settings file, if there is one; what goes wrong is shown in a dialog.
    void SaveToSettingsFile(const std::function<void(const std::string& path)>& save);
    // Puts the side-tone's pitch and volume in place.
    void ApplySideTone(const platform::TSideToneSettings& settings);
    // Shows a message from the event loop, outside whatever called this.
    void ShowLater(const std::string& message);
    static void ShowPending(void* frontEnd);
    // Lets the Key input window's lamp follow the key.
    static void FollowKey(void* frontEnd);
    static constexpr double kFollowKeySeconds = 0.02;
    // Lets the Live monitor follow the run and tells when the key cannot be heard.
    static void FollowRun(void* frontEnd);
    static constexpr double kFollowRunSeconds = 0.05;
    // FLTK's default width of a scroll bar, pixels.
    static constexpr int32_t kScrollBarWidth = 16;
    // The pointer is over one of the program's shown windows.
    bool PointerOverProgram() const;
    // Shows or takes back the warning in the main window's title.
    void ShowOutOfSight(bool outOfSight);

    forms::TApplication& m_application;
    int m_argc = 0;
    char** m_argv = nullptr;
    TRightButtonTracker m_keys;
    platform::TKeyboardKey m_keyboard;
    platform::TKeyInput m_keyInput;
    TFltkEventPump m_pump;
    TFltkDialogs m_dialogs;
    TFltkShell m_shell;
    platform::TScopedServices m_services;
    TFltkFileDialogs m_fileDialogs;
    platform::TScopedFileDialogs m_fileDialogsInPlace{m_fileDialogs};
    std::string m_programFolder;
    std::vector<std::unique_ptr<TFormView>> m_formViews;
    platform::TSideToneSettings m_sideTone;
    std::unique_ptr<TTestChannel> m_testChannel;
    std::string m_settingsPath;
    std::vector<std::string> m_pendingMessages;  // shown by ShowPending, in order
    bool m_started = false;                      // the main window has been shown
    bool m_ending = false;                       // the main window was closed
    platform::TWindowSettings m_window;
    bool m_keyOutOfSight = false;
    int32_t m_displayPercent = kDesignPercent;
};

}  // namespace ui
