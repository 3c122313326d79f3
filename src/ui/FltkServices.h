// The platform services the FLTK front end puts in place: the event pump (Fl::check) and the
// message dialog with one OK button and the default beep.
#pragma once

#include <string>

#include "platform/FileDialogs.h"
#include "platform/Services.h"
#include "ui/FltkStyle.h"

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

// Saving a file: the desktop's file chooser (FLTK's own where the desktop has none) and a Yes/No
// question titled with the program's name.
class TFltkFileDialogs : public platform::IFileDialogs {
  public:
    std::string ChooseSaveFile(const std::string& title, const std::string& filter,
                               const std::string& suggested) override;
    bool Confirm(const std::string& question) override;
    // The display size the question is drawn at, percent.
    void SetDisplayPercent(int percent) { m_percent = percent; }

  private:
    int m_percent = kDesignPercent;
};

}  // namespace ui
