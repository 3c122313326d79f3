// Pins the process's local time zone for a test's lifetime, restoring the previous one after.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

namespace testsupport {

class TScopedTimeZone {
  public:
    explicit TScopedTimeZone(const char* zone) {
        if (const char* saved = getenv("TZ")) {
            m_saved = saved;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TScopedTimeZone() {
        if (m_saved.has_value()) {
            setenv("TZ", m_saved->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TScopedTimeZone(const TScopedTimeZone&) = delete;
    TScopedTimeZone& operator=(const TScopedTimeZone&) = delete;

  private:
    std::optional<std::string> m_saved;
};

}  // namespace testsupport
