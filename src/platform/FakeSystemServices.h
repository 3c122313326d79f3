// Scriptable system services for tests: a version, directories and files, services and port
// devices held in memory, a log of every call, and any call made to fail with a given error.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/SystemServices.h"

namespace platform {

enum class TSystemCall {
    scGetVersionEx,
    scGetSystemDirectory,
    scOpenSCManager,
    scCreateService,
    scOpenService,
    scStartService,
    scControlService,
    scDeleteService,
    scCloseServiceHandle,
    scCreateFile,
    scDeviceIoControl,
    scCloseHandle
};

class TFakeSystemServices : public ISystemServices {
  public:
    static constexpr int32_t kAlways = -1;

    // One request sent to a device.
    struct TDeviceRequest {
        uint32_t Code;
        std::vector<uint8_t> In;
        uint32_t OutSize;
    };
    struct TPortWrite {
        uint16_t Port;
        uint8_t Value;
        bool operator==(const TPortWrite&) const = default;
    };

    // An NT-family system, major version 5, current directory "C:\KEYVET", system directory
    // "C:\WINNT\system32", no files, no services, no devices.
    TFakeSystemServices();

    // Scripting.
    void SetVersion(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion);
    void SetCurrentDirectory(const std::string& directory) { m_currentDirectory = directory; }
    void SetSystemDirectory(const std::string& directory) { m_systemDirectory = directory; }
    void AddFile(const std::string& path) { m_files.insert(path); }
    // A path that CreateFile opens as a port device, whatever services there are.
    void AddDevice(const std::string& path) { m_devices.insert(path); }
    // A service installed (and maybe started) before the program ran.
    void InstallService(const std::string& name, bool running);
    // Makes the next `times` calls of that kind fail with error (kAlways: every call).
    void Fail(TSystemCall call, uint32_t error, int32_t times = kAlways);
    // The value reads of a port return until the port is written.
    void SetPortValue(uint16_t port, uint8_t value) { m_ports[port] = value; }
    uint8_t PortValue(uint16_t port) const;

    // Observation.
    bool ServiceInstalled(const std::string& name) const { return m_services.count(name) != 0; }
    bool ServiceRunning(const std::string& name) const;
    // Every call in order with its arguments, such as "StartService(Zareve)"; a failed call
    // ends in " -> <error>".
    const std::vector<std::string>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    const std::vector<TDeviceRequest>& Requests() const { return m_requests; }
    // The port writes the devices carried out, in order.
    const std::vector<TPortWrite>& PortWrites() const { return m_portWrites; }
    void ClearPortWrites() { m_portWrites.clear(); }
    // Handles opened and not yet closed.
    size_t OpenHandleCount() const { return m_handles.size(); }

    uint32_t LastError() override { return m_lastError; }
    bool GetVersionEx(TOSVersionInfo& info) override;
    uint32_t GetSystemDirectory(char* buffer, uint32_t size) override;
    std::string CurrentDirectory() override { return m_currentDirectory; }
    bool FileExists(const std::string& path) override { return m_files.count(path) != 0; }
    THandle OpenSCManager(const std::string& machineName, const std::string& databaseName,
                          uint32_t desiredAccess) override;
    THandle CreateService(THandle manager, const std::string& serviceName,
                          const std::string& displayName, uint32_t desiredAccess,
                          uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                          const std::string& binaryPath) override;
    THandle OpenService(THandle manager, const std::string& serviceName,
                        uint32_t desiredAccess) override;
    bool StartService(THandle service) override;
    bool ControlService(THandle service, uint32_t control, TServiceStatus& status) override;
    bool DeleteService(THandle service) override;
    bool CloseServiceHandle(THandle handle) override;
    THandle CreateFile(const std::string& path, uint32_t desiredAccess, uint32_t shareMode,
                       uint32_t creationDisposition, uint32_t flagsAndAttributes) override;
    bool DeviceIoControl(THandle device, uint32_t code, const void* inBuffer, uint32_t inSize,
                         void* outBuffer, uint32_t outSize, uint32_t& bytesReturned) override;
    bool CloseHandle(THandle handle) override;

  private:
    enum class TKind { hkManager, hkService, hkDevice };
    struct TEntry {
        TKind Kind;
        std::string Name;  // the service's name, or the device's path
    };
    struct TFailure {
        uint32_t Error;
        int32_t Remaining;
    };

    // Logs the call; true (with the last error set and the log marked) when it is to fail.
    bool Failing(TSystemCall call, const std::string& text);
    bool Refuse(uint32_t error);
    THandle Add(TKind kind, const std::string& name);
    const TEntry* Find(THandle handle, TKind kind) const;

    TOSVersionInfo m_version;
    std::string m_currentDirectory;
    std::string m_systemDirectory;
    std::set<std::string> m_files;
    std::set<std::string> m_devices;
    std::map<std::string, bool> m_services;  // name -> running
    std::map<TSystemCall, TFailure> m_failures;
    std::map<THandle, TEntry> m_handles;
    THandle m_nextHandle = 0x10;
    std::map<uint16_t, uint8_t> m_ports;
    std::vector<std::string> m_calls;
    std::vector<TDeviceRequest> m_requests;
    std::vector<TPortWrite> m_portWrites;
    uint32_t m_lastError = kErrorSuccess;
};

}  // namespace platform
