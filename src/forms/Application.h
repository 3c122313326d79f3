// The application object: owns the windows, pumps events, shows an exception that leaves an
// event handler in a message dialog and goes on, sounds the default beep.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"

namespace forms {

class TApplication {
  public:
    static TApplication& Instance();

    // Takes a created window; the first one becomes the main window.
    void AddForm(std::unique_ptr<TForm> form);
    TForm* MainForm() const { return m_forms.empty() ? nullptr : m_forms.front().get(); }
    int32_t FormCount() const { return static_cast<int32_t>(m_forms.size()); }
    TForm* Forms(int32_t index) const { return m_forms.at(static_cast<size_t>(index)).get(); }
    // Frees every window, the last created first.
    void DestroyForms();

    // Handles every pending window event, then returns.
    void ProcessMessages();
    // Runs an event handler as the event loop does: an exception that leaves it is shown in a
    // message dialog and the program goes on.
    void Dispatch(const std::function<void()>& handler);
    void HandleException(const std::exception& error);

    // A message dialog with one OK button; returns when it is closed.
    void ShowMessage(const std::string& text);
    void Beep();

    // The main window was closed: the event loop ends.
    void Terminate() { m_terminated = true; }
    bool Terminated() const { return m_terminated; }
    void ResetTerminated() { m_terminated = false; }

  private:
    std::vector<std::unique_ptr<TForm>> m_forms;
    bool m_terminated = false;
};

// Registers every control class with the class registry, so design data can name them.
void RegisterControlClasses();

}  // namespace forms
