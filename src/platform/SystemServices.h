// The system services behind the port driver: the version query, the service manager, device
// files and device control, with the system's error codes. Production code asks
// SystemServices() for them; a test swaps in its own with TScopedSystemServices.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Handles are 32-bit. Service-manager and service handles are 0 on failure; device handles are
// kInvalidHandleValue (all ones) on failure.
using THandle = uint32_t;
constexpr THandle kInvalidHandleValue = 0xFFFFFFFFu;

// The system's error codes that the port driver's callers meet.
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorInvalidFunction = 1;  // unknown device-control code
constexpr uint32_t kErrorFileNotFound = 2;     // no such device or driver image
constexpr uint32_t kErrorAccessDenied = 5;     // the service database cannot be used
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorInvalidServiceControl = 1052;
constexpr uint32_t kErrorServiceAlreadyRunning = 1056;
constexpr uint32_t kErrorServiceDoesNotExist = 1060;
constexpr uint32_t kErrorServiceNotActive = 1062;
constexpr uint32_t kErrorDatabaseDoesNotExist = 1065;
constexpr uint32_t kErrorServiceExists = 1073;

// Access masks, service kinds and file-open arguments.
constexpr uint32_t kScManagerAllAccess = 0xF003F;
constexpr uint32_t kServiceAllAccess = 0xF01FF;
constexpr uint32_t kServiceKernelDriver = 1;
constexpr uint32_t kServiceDemandStart = 3;
constexpr uint32_t kServiceErrorNormal = 1;
constexpr uint32_t kServiceControlStop = 1;
constexpr uint32_t kServiceControlInterrogate = 4;
constexpr uint32_t kServiceStopped = 1;
constexpr uint32_t kServiceRunning = 4;
constexpr uint32_t kGenericReadWrite = 0xC0000000u;
constexpr uint32_t kOpenExisting = 3;
constexpr uint32_t kFileAttributeNormal = 0x80;
constexpr uint32_t kMaxPath = 260;  // characters, terminator included

// Device-control codes the port driver answers: read and write a byte, a 16-bit word and a
// 32-bit double word, by the service's device and by the virtual device.
constexpr uint32_t kServiceReadByte = 0xF1006404;
constexpr uint32_t kServiceWriteByte = 0xF100A408;
constexpr uint32_t kServiceReadWord = 0xF100640C;
constexpr uint32_t kServiceWriteWord = 0xF100A410;
constexpr uint32_t kServiceReadDword = 0xF1006414;
constexpr uint32_t kServiceWriteDword = 0xF100A418;
constexpr uint32_t kVxdReadByte = 2;
constexpr uint32_t kVxdWriteByte = 3;
constexpr uint32_t kVxdReadWord = 4;
constexpr uint32_t kVxdWriteWord = 5;
constexpr uint32_t kVxdReadDword = 6;
constexpr uint32_t kVxdWriteDword = 7;

// The driver image the service manager can start and the virtual device it can load; both
// reach the port bus.
constexpr const char* kPortDriverImage = "zareve.sys";
constexpr const char* kPortVirtualDevice = "zareve.vxd";

// Platform ids of the version record.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows = 1;  // the 95 family
constexpr uint32_t kPlatformNT = 2;

// The version record; VersionInfoSize must be set to its size (148 bytes) before the query.
struct TOSVersionInfo {
    uint32_t VersionInfoSize = 0;
    uint32_t MajorVersion = 0;
    uint32_t MinorVersion = 0;
    uint32_t BuildNumber = 0;
    uint32_t PlatformId = 0;
    char CSDVersion[128] = {};
};
static_assert(sizeof(TOSVersionInfo) == 148);

// A service's status as the stop control answers it.
struct TServiceStatus {
    uint32_t ServiceType = 0;
    uint32_t CurrentState = 0;
    uint32_t ControlsAccepted = 0;
    uint32_t Win32ExitCode = 0;
    uint32_t ServiceSpecificExitCode = 0;
    uint32_t CheckPoint = 0;
    uint32_t WaitHint = 0;
};

// Every call that fails returns false (or the failure handle) and leaves its error for
// LastError(); a call that succeeds leaves the last error alone unless it says otherwise.
class ISystemServices {
  public:
    virtual ~ISystemServices() = default;

    virtual uint32_t LastError() = 0;
    // Fills the record when its VersionInfoSize is 148.
    virtual bool GetVersionEx(TOSVersionInfo& info) = 0;
    // Copies the system directory with its terminator into buffer and returns its length; when
    // the buffer is too small returns the size needed (terminator included); 0 on failure.
    virtual uint32_t GetSystemDirectory(char* buffer, uint32_t size) = 0;
    virtual std::string CurrentDirectory() = 0;
    virtual bool FileExists(const std::string& path) = 0;

    // The service control manager. An empty machine name is the local machine, an empty
    // database name the default one.
    virtual THandle OpenSCManager(const std::string& machineName, const std::string& databaseName,
                                  uint32_t desiredAccess) = 0;
    // Creates a service with no load-order group, tag, dependencies, account or password.
    virtual THandle CreateService(THandle manager, const std::string& serviceName,
                                  const std::string& displayName, uint32_t desiredAccess,
                                  uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                                  const std::string& binaryPath) = 0;
    virtual THandle OpenService(THandle manager, const std::string& serviceName,
                                uint32_t desiredAccess) = 0;
    // Starts the service with no arguments.
    virtual bool StartService(THandle service) = 0;
    virtual bool ControlService(THandle service, uint32_t control, TServiceStatus& status) = 0;
    virtual bool DeleteService(THandle service) = 0;
    virtual bool CloseServiceHandle(THandle handle) = 0;

    // Device files: opens path without security attributes or template.
    virtual THandle CreateFile(const std::string& path, uint32_t desiredAccess, uint32_t shareMode,
                               uint32_t creationDisposition, uint32_t flagsAndAttributes) = 0;
    // Sends one request to an open device; bytesReturned receives the output byte count.
    virtual bool DeviceIoControl(THandle device, uint32_t code, const void* inBuffer,
                                 uint32_t inSize, void* outBuffer, uint32_t outSize,
                                 uint32_t& bytesReturned) = 0;
    virtual bool CloseHandle(THandle handle) = 0;
};

// The process-wide current system services; the Linux ones unless a guard replaced them.
ISystemServices& SystemServices();

// Replaces the current system services for the lifetime of the guard, restoring them after.
class TScopedSystemServices {
  public:
    explicit TScopedSystemServices(ISystemServices& replacement);
    TScopedSystemServices(const TScopedSystemServices&) = delete;
    TScopedSystemServices& operator=(const TScopedSystemServices&) = delete;
    ~TScopedSystemServices();

  private:
    ISystemServices* m_saved;
};

}  // namespace platform
