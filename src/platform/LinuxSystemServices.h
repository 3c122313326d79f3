// The system services on Linux: an in-process service manager whose services are kept in the
// user's runtime directory, and a device namespace whose one driver is the emulated port bus.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/PortBus.h"
#include "platform/ServiceStore.h"
#include "platform/SystemServices.h"

namespace platform {

class TLinuxSystemServices : public ISystemServices {
  public:
    // stateDirectory holds the installed services. With liveOutput the first device opened
    // sounds the bus through the sound card or the PC speaker, unless a sink was set before.
    explicit TLinuxSystemServices(std::string stateDirectory = TServiceStore::DefaultDirectory(),
                                  bool liveOutput = true);
    ~TLinuxSystemServices() override;
    TLinuxSystemServices(const TLinuxSystemServices&) = delete;
    TLinuxSystemServices& operator=(const TLinuxSystemServices&) = delete;

    TPortBus& Bus() { return m_bus; }

    uint32_t LastError() override;
    bool GetVersionEx(TOSVersionInfo& info) override;
    uint32_t GetSystemDirectory(char* buffer, uint32_t size) override;
    std::string CurrentDirectory() override;
    bool FileExists(const std::string& path) override;
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
    enum class THandleKind { hkManager, hkService, hkServiceDevice, hkVirtualDevice };
    struct THandleEntry {
        THandleKind Kind;
        std::string Service;  // hkService: the service's name
    };

    THandle AddHandle(THandleEntry entry);
    // The entry of handle if it is of one of the kinds, else nullptr. Lock held.
    const THandleEntry* Find(THandle handle, THandleKind kind) const;
    // The name of the service behind a service handle; false for any other handle.
    bool ServiceNameOf(THandle service, std::string& name) const;
    // The stored record of the service behind a service handle: kErrorSuccess or the error.
    uint32_t LoadServiceOf(THandle service, TServiceRecord& record) const;
    THandle OpenDevice(THandleKind kind);
    bool Transfer(bool vxd, uint32_t code, const uint8_t* in, uint32_t inSize, uint8_t* out,
                  uint32_t outSize, uint32_t& bytesReturned);

    mutable std::mutex m_mutex;
    std::map<THandle, THandleEntry> m_handles;
    THandle m_nextHandle = 0x100;
    TServiceStore m_store;
    TPortBus m_bus;
    bool m_liveOutput;
    std::unique_ptr<IToneSink> m_live;  // the sound card or PC speaker, once opened
};

}  // namespace platform
