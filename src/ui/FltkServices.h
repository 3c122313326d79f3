// The platform services the FLTK front end puts in place: the event pump (Fl::check), the
// message dialog with one OK button and the default beep, and the desktop shell with a help
// window of the program's own.
#pragma once

#include <memory>
#include <string>

#include "platform/FileDialogs.h"
#include "platform/Services.h"
#include "ui/FltkStyle.h"

class Fl_Double_Window;
class Fl_Help_View;

namespace ui {

// Thrown by the event pump once the program is ending, so that a handler that pumps events (the
// capture loop) unwinds to the front end, which ends the program. It is deliberately not a
// std::exception: the application's exception display must let it pass.
struct TProgramClosing {};

class TFltkEventPump : public platform::IEventPump {
  public:
    // Handles every pending event, then returns; throws TProgramClosing once Close was called.
    void ProcessMessages() override;
    void Close() { m_closing = true; }
    bool Closing() const { return m_closing; }

  private:
    bool m_closing = false;
};

// A modal dialog titled with the program's name, showing the text and one OK button (Enter or
// Escape close it too); returns when it is closed. The beep is the display's bell.
class TFltkDialogs : public platform::IDialogs {
  public:
    void ShowMessage(const std::string& text) override;
    void Beep() override;

    // The display size the dialog is drawn at, percent.
    void SetDisplayPercent(int percent) { m_percent = percent; }

    // The text of the dialog on screen, for the test channel; empty when none is open.
    const std::string& OpenMessage() const { return m_openMessage; }
    bool MessageOpen() const { return m_open; }

    static constexpr const char* kTitle = "Keyvet";

  private:
    std::string m_openMessage;
    bool m_open = false;
    int m_percent = kDesignPercent;
};

// Saving and opening a file: the desktop's file chooser (FLTK's own where the desktop has none) and
// a Yes/No question titled with the program's name.
class TFltkFileDialogs : public platform::IFileDialogs {
  public:
    std::string ChooseSaveFile(const std::string& title, const std::string& filter,
                               const std::string& suggested) override;
    std::string ChooseOpenFile(const std::string& title, const std::string& filter) override;
    bool Confirm(const std::string& question) override;
    // The display size the question is drawn at, percent.
    void SetDisplayPercent(int percent) { m_percent = percent; }

  private:
    int m_percent = kDesignPercent;
};

// The desktop shell, which shows a page of the program's own (a file:// address) in a window of
// the program when the desktop has no program to open it with (no xdg-open): the help page is
// never a click that does nothing.
class TFltkShell : public platform::IShell {
  public:
    explicit TFltkShell(platform::IShell& desktop);
    ~TFltkShell() override;
    TFltkShell(const TFltkShell&) = delete;
    TFltkShell& operator=(const TFltkShell&) = delete;

    bool Open(const std::string& address) override;
    std::string CurrentDirectory() override { return m_desktop.CurrentDirectory(); }
    bool FileExists(const std::string& path) override { return m_desktop.FileExists(path); }
    std::string InstalledDocument(const std::string& name) override {
        return m_desktop.InstalledDocument(name);
    }

    // Whether the program's own page window is open (for the test channel).
    bool PageShown() const;

    static constexpr const char* kPageTitle = "Keyvet help";

  private:
    void ShowPage(const std::string& path);

    platform::IShell& m_desktop;
    std::unique_ptr<Fl_Double_Window> m_window;  // made at the first page shown, then reused
    Fl_Help_View* m_view = nullptr;              // owned by m_window
};

}  // namespace ui
