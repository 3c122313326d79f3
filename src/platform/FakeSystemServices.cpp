// The scriptable system services for tests.
#include "platform/FakeSystemServices.h"

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

constexpr const char* kDevicePrefix = "\\\\.\\";
constexpr uint8_t kOpenBus = 0xFF;  // a port nobody set or wrote

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%X", value);
    return text;
}

}  // namespace

TFakeSystemServices::TFakeSystemServices()
    : m_currentDirectory("C:\\KEYVET"), m_systemDirectory("C:\\WINNT\\system32") {
    SetVersion(kPlatformNT, 5, 0);
}

void TFakeSystemServices::SetVersion(uint32_t platformId, uint32_t majorVersion,
                                     uint32_t minorVersion) {
    m_version = TOSVersionInfo{};
    m_version.PlatformId = platformId;
    m_version.MajorVersion = majorVersion;
    m_version.MinorVersion = minorVersion;
}

void TFakeSystemServices::InstallService(const std::string& name, bool running) {
    m_services[name] = running;
}

void TFakeSystemServices::Fail(TSystemCall call, uint32_t error, int32_t times) {
    m_failures[call] = TFailure{error, times};
}

uint8_t TFakeSystemServices::PortValue(uint16_t port) const {
    const auto it = m_ports.find(port);
    return it == m_ports.end() ? kOpenBus : it->second;
}

bool TFakeSystemServices::ServiceRunning(const std::string& name) const {
    const auto it = m_services.find(name);
    return it != m_services.end() && it->second;
}

bool TFakeSystemServices::Failing(TSystemCall call, const std::string& text) {
    m_calls.push_back(text);
    const auto it = m_failures.find(call);
    if (it == m_failures.end() || it->second.Remaining == 0) {
        return false;
    }
    if (it->second.Remaining > 0) {
        --it->second.Remaining;
    }
    return Refuse(it->second.Error);
}

bool TFakeSystemServices::Refuse(uint32_t error) {
    m_lastError = error;
    m_calls.back() += " -> " + std::to_string(error);
    return true;
}

THandle TFakeSystemServices::Add(TKind kind, const std::string& name) {
    const THandle handle = m_nextHandle;
    m_nextHandle += 4;
    m_handles[handle] = TEntry{kind, name};
    return handle;
}

const TFakeSystemServices::TEntry* TFakeSystemServices::Find(THandle handle, TKind kind) const {
    const auto it = m_handles.find(handle);
    return it == m_handles.end() || it->second.Kind != kind ? nullptr : &it->second;
}

bool TFakeSystemServices::GetVersionEx(TOSVersionInfo& info) {
    if (Failing(TSystemCall::scGetVersionEx,
                "GetVersionEx(" + std::to_string(info.VersionInfoSize) + ")")) {
        return false;
    }
    if (info.VersionInfoSize != sizeof(TOSVersionInfo)) {
        Refuse(kErrorInsufficientBuffer);
        return false;
    }
    const uint32_t size = info.VersionInfoSize;
    info = m_version;
    info.VersionInfoSize = size;
    return true;
}

uint32_t TFakeSystemServices::GetSystemDirectory(char* buffer, uint32_t size) {
    if (Failing(TSystemCall::scGetSystemDirectory,
                "GetSystemDirectory(" + std::to_string(size) + ")")) {
        return 0;
    }
    const auto length = static_cast<uint32_t>(m_systemDirectory.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, m_systemDirectory.c_str(), m_systemDirectory.size() + 1);
    return length;
}

THandle TFakeSystemServices::OpenSCManager(const std::string& machineName,
                                           const std::string& databaseName,
                                           uint32_t desiredAccess) {
    if (Failing(TSystemCall::scOpenSCManager, "OpenSCManager(" + machineName + "," + databaseName +
                                                  "," + Hex(desiredAccess) + ")")) {
        return 0;
    }
    return Add(TKind::hkManager, std::string());
}

THandle TFakeSystemServices::CreateService(THandle manager, const std::string& serviceName,
                                           const std::string& displayName, uint32_t desiredAccess,
                                           uint32_t serviceType, uint32_t startType,
                                           uint32_t errorControl, const std::string& binaryPath) {
    if (Failing(TSystemCall::scCreateService,
                "CreateService(" + serviceName + "," + displayName + "," + Hex(desiredAccess) +
                    "," + std::to_string(serviceType) + "," + std::to_string(startType) + "," +
                    std::to_string(errorControl) + "," + binaryPath + ")")) {
        return 0;
    }
    if (Find(manager, TKind::hkManager) == nullptr) {
        Refuse(kErrorInvalidHandle);
        return 0;
    }
    if (m_services.count(serviceName) != 0) {
        Refuse(kErrorServiceExists);
        return 0;
    }
    m_services[serviceName] = false;
    return Add(TKind::hkService, serviceName);
}

THandle TFakeSystemServices::OpenService(THandle manager, const std::string& serviceName,
                                         uint32_t desiredAccess) {
    if (Failing(TSystemCall::scOpenService,
                "OpenService(" + serviceName + "," + Hex(desiredAccess) + ")")) {
        return 0;
    }
    if (Find(manager, TKind::hkManager) == nullptr) {
        Refuse(kErrorInvalidHandle);
        return 0;
    }
    if (m_services.count(serviceName) == 0) {
        Refuse(kErrorServiceDoesNotExist);
        return 0;
    }
    return Add(TKind::hkService, serviceName);
}

bool TFakeSystemServices::StartService(THandle service) {
    const TEntry* entry = Find(service, TKind::hkService);
    if (Failing(TSystemCall::scStartService,
                "StartService(" + (entry != nullptr ? entry->Name : Hex(service)) + ")")) {
        return false;
    }
    if (entry == nullptr) {
        return !Refuse(kErrorInvalidHandle);
    }
    if (m_services.count(entry->Name) == 0) {
        return !Refuse(kErrorServiceDoesNotExist);
    }
    if (m_services[entry->Name]) {
        return !Refuse(kErrorServiceAlreadyRunning);
    }
    m_services[entry->Name] = true;
    return true;
}

bool TFakeSystemServices::ControlService(THandle service, uint32_t control,
                                         TServiceStatus& status) {
    const TEntry* entry = Find(service, TKind::hkService);
    if (Failing(TSystemCall::scControlService, "ControlService(" +
                                                   (entry != nullptr ? entry->Name : Hex(service)) +
                                                   "," + std::to_string(control) + ")")) {
        return false;
    }
    if (entry == nullptr) {
        return !Refuse(kErrorInvalidHandle);
    }
    if (!ServiceRunning(entry->Name)) {
        return !Refuse(kErrorServiceNotActive);
    }
    if (control == kServiceControlStop) {
        m_services[entry->Name] = false;
    }
    status = TServiceStatus{};
    status.ServiceType = kServiceKernelDriver;
    status.CurrentState = ServiceRunning(entry->Name) ? kServiceRunning : kServiceStopped;
    return true;
}

bool TFakeSystemServices::DeleteService(THandle service) {
    const TEntry* entry = Find(service, TKind::hkService);
    if (Failing(TSystemCall::scDeleteService,
                "DeleteService(" + (entry != nullptr ? entry->Name : Hex(service)) + ")")) {
        return false;
    }
    if (entry == nullptr) {
        return !Refuse(kErrorInvalidHandle);
    }
    if (m_services.erase(entry->Name) == 0) {
        return !Refuse(kErrorServiceDoesNotExist);
    }
    return true;
}

bool TFakeSystemServices::CloseServiceHandle(THandle handle) {
    const auto it = m_handles.find(handle);
    const bool valid = it != m_handles.end() && it->second.Kind != TKind::hkDevice;
    const std::string what = !valid                                ? Hex(handle)
                             : it->second.Kind == TKind::hkManager ? std::string("manager")
                                                                   : it->second.Name;
    if (Failing(TSystemCall::scCloseServiceHandle, "CloseServiceHandle(" + what + ")")) {
        return false;
    }
    if (!valid) {
        return !Refuse(kErrorInvalidHandle);
    }
    m_handles.erase(it);
    return true;
}

THandle TFakeSystemServices::CreateFile(const std::string& path, uint32_t desiredAccess,
                                        uint32_t shareMode, uint32_t creationDisposition,
                                        uint32_t flagsAndAttributes) {
    if (Failing(TSystemCall::scCreateFile, "CreateFile(" + path + "," + Hex(desiredAccess) + "," +
                                               std::to_string(shareMode) + "," +
                                               std::to_string(creationDisposition) + "," +
                                               Hex(flagsAndAttributes) + ")")) {
        return kInvalidHandleValue;
    }
    const std::string prefix = kDevicePrefix;
    const bool serviceDevice =
        path.compare(0, prefix.size(), prefix) == 0 && ServiceRunning(path.substr(prefix.size()));
    if (!serviceDevice && m_devices.count(path) == 0) {
        Refuse(kErrorFileNotFound);
        return kInvalidHandleValue;
    }
    return Add(TKind::hkDevice, path);
}

bool TFakeSystemServices::DeviceIoControl(THandle device, uint32_t code, const void* inBuffer,
                                          uint32_t inSize, void* outBuffer, uint32_t outSize,
                                          uint32_t& bytesReturned) {
    if (Failing(TSystemCall::scDeviceIoControl, "DeviceIoControl(" + Hex(code) + "," +
                                                    std::to_string(inSize) + "," +
                                                    std::to_string(outSize) + ")")) {
        return false;
    }
    if (Find(device, TKind::hkDevice) == nullptr) {
        return !Refuse(kErrorInvalidHandle);
    }
    const auto* in = static_cast<const uint8_t*>(inBuffer);
    m_requests.push_back(TDeviceRequest{code, std::vector<uint8_t>(in, in + inSize), outSize});
    const bool read = code == kServiceReadByte || code == kVxdReadByte;
    const bool write = code == kServiceWriteByte || code == kVxdWriteByte;
    if ((!read && !write) || inSize < (write ? 3u : 2u)) {
        return !Refuse(read || write ? kErrorInvalidParameter : kErrorInvalidFunction);
    }
    const auto port = static_cast<uint16_t>(in[0] | (in[1] << 8));
    if (write) {
        m_ports[port] = in[2];
        m_portWrites.push_back(TPortWrite{port, in[2]});
        bytesReturned = 0;
        return true;
    }
    if (outSize < 1) {
        return !Refuse(kErrorInsufficientBuffer);
    }
    static_cast<uint8_t*>(outBuffer)[0] = PortValue(port);
    bytesReturned = 1;
    return true;
}

bool TFakeSystemServices::CloseHandle(THandle handle) {
    const auto it = m_handles.find(handle);
    const bool valid = it != m_handles.end() && it->second.Kind == TKind::hkDevice;
    if (Failing(TSystemCall::scCloseHandle,
                "CloseHandle(" + (valid ? it->second.Name : Hex(handle)) + ")")) {
        return false;
    }
    if (!valid) {
        return !Refuse(kErrorInvalidHandle);
    }
    m_handles.erase(it);
    return true;
}

}  // namespace platform
