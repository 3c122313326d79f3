// System services of the program's own, apart from the user's: a private state directory that is
// removed afterwards (holding the data home too, so no run is stored among the user's) and a
// silent port bus. Installed for their lifetime, for headless runs
// (the replay tool, tests, benchmarks) that must neither sound nor leave a service behind.
#pragma once

#include <memory>
#include <string>

#include "platform/DataHome.h"
#include "platform/LinuxSystemServices.h"

namespace platform {

class TIsolatedSystemServices {
  public:
    // Creates the private directory and makes these services current. Without a temporary
    // directory the service manager refuses to open, and a run goes on without a side-tone.
    TIsolatedSystemServices();
    ~TIsolatedSystemServices();
    TIsolatedSystemServices(const TIsolatedSystemServices&) = delete;
    TIsolatedSystemServices& operator=(const TIsolatedSystemServices&) = delete;

    TLinuxSystemServices& System() { return *m_system; }
    TPortBus& Bus() { return m_system->Bus(); }

  private:
    std::string m_stateRoot;
    std::unique_ptr<TLinuxSystemServices> m_system;
    std::unique_ptr<TScopedSystemServices> m_guard;
    std::unique_ptr<TScopedDataHome> m_dataHome;
};

}  // namespace platform
