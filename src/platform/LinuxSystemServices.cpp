// The Linux service manager and device namespace, and the port driver on the emulated bus.
#include "platform/LinuxSystemServices.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/LiveToneSink.h"

namespace platform {
namespace {

// Each thread has its own last error, as on the system the program was made for.
thread_local uint32_t t_lastError = kErrorSuccess;

// The version this stand-in reports: the NT family, major version 5, which the port driver's
// service path expects.
constexpr uint32_t kReportedMajor = 5;
constexpr uint32_t kReportedMinor = 1;
constexpr uint32_t kReportedBuild = 2600;

constexpr const char* kDevicePrefix = "\\\\.\\";

bool Fail(uint32_t error) {
    t_lastError = error;
    return false;
}

THandle FailHandle(uint32_t error, THandle failure) {
    t_lastError = error;
    return failure;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

// The last component of a path with either kind of separator.
std::string BaseName(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The directory of the running program stands for the system directory: that is where a
// driver image beside the program would be found.
std::string ProgramDirectory() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return "/";
    }
    const std::string path(buffer.data(), static_cast<size_t>(length));
    const size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

}  // namespace

TLinuxSystemServices::TLinuxSystemServices(std::string stateDirectory, bool liveOutput)
    : m_store(std::move(stateDirectory)), m_liveOutput(liveOutput) {}

TLinuxSystemServices::~TLinuxSystemServices() {
    if (m_live != nullptr && m_bus.ToneSink() == m_live.get()) {
        m_bus.SetToneSink(nullptr);
    }
}

uint32_t TLinuxSystemServices::LastError() {
    return t_lastError;
}

bool TLinuxSystemServices::GetVersionEx(TOSVersionInfo& info) {
    if (info.VersionInfoSize != sizeof(TOSVersionInfo)) {
        return Fail(kErrorInsufficientBuffer);
    }
    info.MajorVersion = kReportedMajor;
    info.MinorVersion = kReportedMinor;
    info.BuildNumber = kReportedBuild;
    info.PlatformId = kPlatformNT;
    std::memset(info.CSDVersion, 0, sizeof(info.CSDVersion));
    return true;
}

uint32_t TLinuxSystemServices::GetSystemDirectory(char* buffer, uint32_t size) {
    const std::string directory = ProgramDirectory();
    const auto length = static_cast<uint32_t>(directory.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, directory.c_str(), directory.size() + 1);
    return length;
}

std::string TLinuxSystemServices::CurrentDirectory() {
    std::vector<char> buffer(4096);
    if (getcwd(buffer.data(), buffer.size()) == nullptr) {
        return std::string();
    }
    return std::string(buffer.data());
}

bool TLinuxSystemServices::FileExists(const std::string& path) {
    // Paths are built with either separator; the file system knows only '/'.
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    struct stat info {};
    return stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

THandle TLinuxSystemServices::AddHandle(THandleEntry entry) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    // Handles count up in steps of 4 and skip 0 and all ones, the two failure values.
    THandle handle = m_nextHandle;
    while (handle == 0 || handle == kInvalidHandleValue || m_handles.count(handle) != 0) {
        handle += 4;
    }
    m_nextHandle = handle + 4;
    m_handles.emplace(handle, std::move(entry));
    return handle;
}

const TLinuxSystemServices::THandleEntry* TLinuxSystemServices::Find(THandle handle,
                                                                     THandleKind kind) const {
    const auto it = m_handles.find(handle);
    return it == m_handles.end() || it->second.Kind != kind ? nullptr : &it->second;
}

THandle TLinuxSystemServices::OpenSCManager(const std::string& machineName,
                                            const std::string& databaseName, uint32_t) {
    if (!machineName.empty()) {
        return FailHandle(kErrorAccessDenied, 0);  // only the local machine is served
    }
    if (!databaseName.empty() && databaseName != "ServicesActive") {
        return FailHandle(kErrorDatabaseDoesNotExist, 0);
    }
    if (const uint32_t error = m_store.Prepare(); error != kErrorSuccess) {
        return FailHandle(error, 0);
    }
    return AddHandle(THandleEntry{THandleKind::hkManager, std::string()});
}

THandle TLinuxSystemServices::CreateService(THandle manager, const std::string& serviceName,
                                            const std::string& displayName, uint32_t,
                                            uint32_t serviceType, uint32_t startType,
                                            uint32_t errorControl, const std::string& binaryPath) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (Find(manager, THandleKind::hkManager) == nullptr) {
            return FailHandle(kErrorInvalidHandle, 0);
        }
    }
    if (!TServiceStore::ValidName(serviceName)) {
        return FailHandle(kErrorInvalidName, 0);
    }
    constexpr uint32_t kMaxStartType = 4;  // boot, system, automatic, on demand, disabled
    constexpr uint32_t kMaxErrorControl = 3;
    if (serviceType != kServiceKernelDriver || startType > kMaxStartType ||
        errorControl > kMaxErrorControl || binaryPath.empty() ||
        binaryPath.find('\n') != std::string::npos || displayName.find('\n') != std::string::npos) {
        return FailHandle(kErrorInvalidParameter, 0);
    }
    TServiceRecord record;
    record.Name = serviceName;
    record.DisplayName = displayName;
    record.BinaryPath = binaryPath;
    record.ServiceType = serviceType;
    record.StartType = startType;
    record.ErrorControl = errorControl;
    record.CurrentState = kServiceStopped;
    if (const uint32_t error = m_store.Create(record); error != kErrorSuccess) {
        return FailHandle(error, 0);
    }
    return AddHandle(THandleEntry{THandleKind::hkService, serviceName});
}

THandle TLinuxSystemServices::OpenService(THandle manager, const std::string& serviceName,
                                          uint32_t) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (Find(manager, THandleKind::hkManager) == nullptr) {
            return FailHandle(kErrorInvalidHandle, 0);
        }
    }
    if (!TServiceStore::ValidName(serviceName)) {
        return FailHandle(kErrorInvalidName, 0);
    }
    TServiceRecord record;
    if (const uint32_t error = m_store.Load(serviceName, record); error != kErrorSuccess) {
        return FailHandle(error, 0);
    }
    return AddHandle(THandleEntry{THandleKind::hkService, record.Name});
}

bool TLinuxSystemServices::ServiceNameOf(THandle service, std::string& name) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const THandleEntry* entry = Find(service, THandleKind::hkService);
    if (entry == nullptr) {
        return false;
    }
    name = entry->Service;
    return true;
}

uint32_t TLinuxSystemServices::LoadServiceOf(THandle service, TServiceRecord& record) const {
    std::string name;
    if (!ServiceNameOf(service, name)) {
        return kErrorInvalidHandle;
    }
    return m_store.Load(name, record);
}

bool TLinuxSystemServices::StartService(THandle service) {
    TServiceRecord record;
    if (const uint32_t error = LoadServiceOf(service, record); error != kErrorSuccess) {
        return Fail(error);
    }
    if (record.CurrentState == kServiceRunning) {
        return Fail(kErrorServiceAlreadyRunning);
    }
    // The port driver is the one driver this system has.
    if (Lower(BaseName(record.BinaryPath)) != kPortDriverImage) {
        return Fail(kErrorFileNotFound);
    }
    record.CurrentState = kServiceRunning;
    if (const uint32_t error = m_store.Save(record); error != kErrorSuccess) {
        return Fail(error);
    }
    return true;
}

bool TLinuxSystemServices::ControlService(THandle service, uint32_t control,
                                          TServiceStatus& status) {
    TServiceRecord record;
    if (const uint32_t error = LoadServiceOf(service, record); error != kErrorSuccess) {
        return Fail(error);
    }
    if (control != kServiceControlStop && control != kServiceControlInterrogate) {
        return Fail(kErrorInvalidServiceControl);
    }
    if (record.CurrentState != kServiceRunning) {
        return Fail(kErrorServiceNotActive);
    }
    if (control == kServiceControlStop) {
        record.CurrentState = kServiceStopped;
        if (const uint32_t error = m_store.Save(record); error != kErrorSuccess) {
            return Fail(error);
        }
    }
    status = TServiceStatus{};
    status.ServiceType = record.ServiceType;
    status.CurrentState = record.CurrentState;
    return true;
}

bool TLinuxSystemServices::DeleteService(THandle service) {
    std::string name;
    if (!ServiceNameOf(service, name)) {
        return Fail(kErrorInvalidHandle);
    }
    if (const uint32_t error = m_store.Remove(name); error != kErrorSuccess) {
        return Fail(error);
    }
    return true;
}

bool TLinuxSystemServices::CloseServiceHandle(THandle handle) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_handles.find(handle);
    if (it == m_handles.end() ||
        (it->second.Kind != THandleKind::hkManager && it->second.Kind != THandleKind::hkService)) {
        return Fail(kErrorInvalidHandle);
    }
    m_handles.erase(it);
    return true;
}

THandle TLinuxSystemServices::CreateFile(const std::string& path, uint32_t, uint32_t, uint32_t,
                                         uint32_t) {
    const std::string prefix = kDevicePrefix;
    if (path.compare(0, prefix.size(), prefix) != 0) {
        return FailHandle(kErrorFileNotFound, kInvalidHandleValue);  // only devices are served
    }
    const std::string name = path.substr(prefix.size());
    // A running service of the port driver answers under its own name.
    TServiceRecord record;
    if (TServiceStore::ValidName(name) && m_store.Load(name, record) == kErrorSuccess &&
        record.CurrentState == kServiceRunning &&
        Lower(BaseName(record.BinaryPath)) == kPortDriverImage) {
        return OpenDevice(THandleKind::hkServiceDevice);
    }
    // The virtual device is loaded by its file name, with or without a directory.
    if (Lower(BaseName(name)) == kPortVirtualDevice) {
        return OpenDevice(THandleKind::hkVirtualDevice);
    }
    return FailHandle(kErrorFileNotFound, kInvalidHandleValue);
}

THandle TLinuxSystemServices::OpenDevice(THandleKind kind) {
    if (m_liveOutput && m_live == nullptr && m_bus.ToneSink() == nullptr) {
        m_live = OpenLiveToneSink();
        if (m_live != nullptr) {
            m_bus.SetToneSink(m_live.get());
        }
        m_liveOutput = false;  // tried once; without a device the bus stays silent
    }
    return AddHandle(THandleEntry{kind, std::string()});
}

bool TLinuxSystemServices::CloseHandle(THandle handle) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_handles.find(handle);
    if (it == m_handles.end() || (it->second.Kind != THandleKind::hkServiceDevice &&
                                  it->second.Kind != THandleKind::hkVirtualDevice)) {
        return Fail(kErrorInvalidHandle);
    }
    m_handles.erase(it);
    return true;
}

bool TLinuxSystemServices::DeviceIoControl(THandle device, uint32_t code, const void* inBuffer,
                                           uint32_t inSize, void* outBuffer, uint32_t outSize,
                                           uint32_t& bytesReturned) {
    bool vxd = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_handles.find(device);
        if (it == m_handles.end() || (it->second.Kind != THandleKind::hkServiceDevice &&
                                      it->second.Kind != THandleKind::hkVirtualDevice)) {
            return Fail(kErrorInvalidHandle);
        }
        vxd = it->second.Kind == THandleKind::hkVirtualDevice;
    }
    if ((inBuffer == nullptr && inSize != 0) || (outBuffer == nullptr && outSize != 0)) {
        return Fail(kErrorInvalidParameter);
    }
    return Transfer(vxd, code, static_cast<const uint8_t*>(inBuffer), inSize,
                    static_cast<uint8_t*>(outBuffer), outSize, bytesReturned);
}

bool TLinuxSystemServices::Transfer(bool vxd, uint32_t code, const uint8_t* in, uint32_t inSize,
                                    uint8_t* out, uint32_t outSize, uint32_t& bytesReturned) {
    // The codes come in (read, write) pairs for 1-, 2- and 4-byte accesses.
    const uint32_t codes[2][6] = {
        {kServiceReadByte, kServiceWriteByte, kServiceReadWord, kServiceWriteWord,
         kServiceReadDword, kServiceWriteDword},
        {kVxdReadByte, kVxdWriteByte, kVxdReadWord, kVxdWriteWord, kVxdReadDword, kVxdWriteDword}};
    const uint32_t* set = codes[vxd ? 1 : 0];
    const uint32_t* found = std::find(set, set + 6, code);
    if (found == set + 6) {
        return Fail(kErrorInvalidFunction);
    }
    const auto index = static_cast<uint32_t>(found - set);
    const uint32_t width = 1u << (index / 2);  // bytes
    const bool write = index % 2 == 1;
    constexpr uint32_t kPortBytes = 2;
    // A byte write carries a padding byte after the value: its record is 4 bytes.
    if (inSize < kPortBytes + (write ? width : 0)) {
        return Fail(kErrorInvalidParameter);
    }
    const auto port = static_cast<uint16_t>(in[0] | (in[1] << 8));
    if (write) {
        for (uint32_t i = 0; i < width; ++i) {
            m_bus.Write(static_cast<uint16_t>(port + i), in[kPortBytes + i]);
        }
        bytesReturned = 0;
        return true;
    }
    if (outSize < width) {
        return Fail(kErrorInsufficientBuffer);
    }
    for (uint32_t i = 0; i < width; ++i) {
        out[i] = m_bus.Read(static_cast<uint16_t>(port + i));
    }
    bytesReturned = width;
    return true;
}

}  // namespace platform
