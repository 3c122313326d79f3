// The dialogs of saving and opening a file: picking where to save or what to open, and a
// question answered Yes or No. The
// FLTK front end puts its own in place; headless runs have none (every choice is cancelled), and
// a test scripts them with TScopedFileDialogs.
#pragma once

#include <string>

namespace platform {

class IFileDialogs {
  public:
    virtual ~IFileDialogs() = default;
    // Asks for the path of a file to write, titled `title`, offering files matching `filter`
    // ("CSV files\t*.csv") and `suggested` as the name. Empty when the user cancelled.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& filter,
                                       const std::string& suggested) = 0;
    // Asks for an existing file to read, titled `title`, offering files matching `filter` first.
    // Empty when the user cancelled.
    virtual std::string ChooseOpenFile(const std::string& title, const std::string& filter) = 0;
    // A question with the answers Yes and No; true for Yes.
    virtual bool Confirm(const std::string& question) = 0;
};

// The current file dialogs: the front end's, a test's, or ones that cancel everything.
IFileDialogs& FileDialogs();

// Replaces the file dialogs for the lifetime of the guard, restoring the previous ones after.
class TScopedFileDialogs {
  public:
    explicit TScopedFileDialogs(IFileDialogs& replacement);
    ~TScopedFileDialogs();
    TScopedFileDialogs(const TScopedFileDialogs&) = delete;
    TScopedFileDialogs& operator=(const TScopedFileDialogs&) = delete;

  private:
    IFileDialogs* m_saved;
};

}  // namespace platform
