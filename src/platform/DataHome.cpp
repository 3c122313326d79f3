// The user's data home from the environment, and its replacement for private runs.
#include "platform/DataHome.h"

#include <stdlib.h>

namespace platform {

namespace {
// The replacement in force; empty when the environment decides.
std::optional<std::string>& Replacement() {
    static std::optional<std::string> replacement;
    return replacement;
}
}  // namespace

std::string DataHomeFromEnvironment(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and is ignored, as the desktop's rules say.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return xdgDataHome;
    }
    if (home != nullptr && home[0] != '\0') {
        std::string folder = home;
        if (!folder.ends_with('/')) {
            folder += '/';
        }
        return folder + ".local/share";
    }
    return std::string();
}

std::string UserDataHome() {
    if (Replacement().has_value()) {
        return *Replacement();
    }
    return DataHomeFromEnvironment(getenv("XDG_DATA_HOME"), getenv("HOME"));
}

TScopedDataHome::TScopedDataHome(std::string replacement) : m_saved(Replacement()) {
    Replacement() = std::move(replacement);
}

TScopedDataHome::~TScopedDataHome() {
    Replacement() = m_saved;
}

}  // namespace platform
