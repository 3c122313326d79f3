// The folder under which programs keep the user's data: $XDG_DATA_HOME when it is an absolute
// path, else ~/.local/share. A headless run (TIsolatedSystemServices) or a test replaces it with a
// private folder, so that it never touches the user's data.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The current data home; empty when there is none (no HOME and no XDG_DATA_HOME).
std::string UserDataHome();

// The data home as the environment names it: XDG_DATA_HOME if absolute, else HOME/.local/share.
std::string DataHomeFromEnvironment(const char* xdgDataHome, const char* home);

// Replaces the data home for the lifetime of the guard, restoring the previous one after.
class TScopedDataHome {
  public:
    explicit TScopedDataHome(std::string replacement);
    ~TScopedDataHome();
    TScopedDataHome(const TScopedDataHome&) = delete;
    TScopedDataHome& operator=(const TScopedDataHome&) = delete;

  private:
    std::optional<std::string> m_saved;
};

}  // namespace platform
