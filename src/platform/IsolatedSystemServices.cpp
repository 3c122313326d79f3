// Private, silent system services for headless runs.
#include "platform/IsolatedSystemServices.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace platform {

TIsolatedSystemServices::TIsolatedSystemServices() {
    std::string root = (std::filesystem::temp_directory_path() / "keyvet-run-XXXXXX").string();
    if (mkdtemp(root.data()) != nullptr) {
        m_stateRoot = root;
    }
    m_system = std::make_unique<TLinuxSystemServices>(m_stateRoot + "/services", false);
    m_guard = std::make_unique<TScopedSystemServices>(*m_system);
    // Without a private folder there is no data home at all, never the user's.
    m_dataHome = std::make_unique<TScopedDataHome>(m_stateRoot.empty() ? std::string()
                                                                       : m_stateRoot + "/data");
}

TIsolatedSystemServices::~TIsolatedSystemServices() {
    m_dataHome.reset();
    m_guard.reset();
    m_system.reset();
    if (!m_stateRoot.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_stateRoot, ignored);
    }
}

}  // namespace platform
