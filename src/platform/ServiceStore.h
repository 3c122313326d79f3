// The installed services of the Linux service manager, one small state file each in the user's
// runtime directory, so that a second program instance sees the services of the first.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct TServiceRecord {
    std::string Name;  // as created; looked up without regard to case
    std::string DisplayName;
    std::string BinaryPath;  // the driver image
    uint32_t ServiceType = 0;
    uint32_t StartType = 0;
    uint32_t ErrorControl = 0;
    uint32_t CurrentState = 0;  // kServiceStopped or kServiceRunning
};

// Every operation returns a system error code, 0 on success.
class TServiceStore {
  public:
    explicit TServiceStore(std::string directory);

    // $XDG_RUNTIME_DIR/keyvet/services, or /tmp/keyvet-<uid>/services without a runtime
    // directory.
    static std::string DefaultDirectory();
    const std::string& Directory() const { return m_directory; }

    // Refuses a directory that is not the user's own. Nothing is made until a service is.
    uint32_t Prepare();
    // Makes the directory (owner only) if needed; kErrorServiceExists when a service of that
    // name is installed.
    uint32_t Create(const TServiceRecord& record);
    // kErrorServiceDoesNotExist when none is installed.
    uint32_t Load(const std::string& name, TServiceRecord& record) const;
    uint32_t Save(const TServiceRecord& record);
    // Deletes the service's file, and the directory with it when it was the last one.
    uint32_t Remove(const std::string& name);

    // A service name is 1 to 256 printable characters without slashes.
    static bool ValidName(const std::string& name);

  private:
    std::string FileOf(const std::string& name) const;
    uint32_t WriteTemporary(const TServiceRecord& record, std::string& tempPath) const;

    std::string m_directory;
};

}  // namespace platform
