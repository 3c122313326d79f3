// The port component: system kind, driver service and device, port requests, speaker tone.
#include "port/PortIO.h"

#include "classes/ClassBuilder.h"

namespace port {
namespace {

using platform::kErrorInsufficientBuffer;
using platform::kErrorInvalidHandle;
using platform::kErrorServiceAlreadyRunning;
using platform::kErrorServiceExists;

constexpr const char* kDefaultServiceName = "Zareve";
constexpr const char* kDevicePrefix = "\\\\.\\";
constexpr const char* kVirtualDeviceFile = "zareve.vxd";
constexpr const char* kDriverExtension = ".sys";

// Control codes by path: (read, write) for byte access first.
constexpr std::array<uint32_t, 6> kServiceCodes = {
    platform::kServiceReadByte,  platform::kServiceWriteByte, platform::kServiceReadWord,
    platform::kServiceWriteWord, platform::kServiceReadDword, platform::kServiceWriteDword};
constexpr std::array<uint32_t, 6> kVirtualDeviceCodes = {
    platform::kVxdReadByte,  platform::kVxdWriteByte, platform::kVxdReadWord,
    platform::kVxdWriteWord, platform::kVxdReadDword, platform::kVxdWriteDword};

// System kinds: 4 and 5 (NT family, major versions 4 and 5) take the service path.
constexpr int32_t kKindUnknown = 0;
constexpr int32_t kKindWin32s = 1;
constexpr int32_t kKind95 = 2;
constexpr int32_t kKind98 = 3;
constexpr int32_t kKindNT4 = 4;
constexpr int32_t kKindNT5 = 5;
constexpr int32_t kKindMe = 6;

// Speaker and timer ports and what is written to them.
constexpr uint16_t kSystemControlPort = 0x61;
constexpr uint16_t kTimerCommandPort = 0x43;
constexpr uint16_t kTimerChannel2Port = 0x42;
constexpr uint8_t kSpeakerBits = 0x03;  // bit 0 gates channel 2, bit 1 drives the speaker
// Channel 2, low byte then high byte, mode 3 (square wave), binary counting.
constexpr uint8_t kChannel2SquareWave = 0xB6;

constexpr uint32_t kPortBytes = 2;        // a port number in a request
constexpr uint32_t kReadBufferBytes = 2;  // the answer buffer of a request

}  // namespace

TPortIO::TPortIO(classes::TComponent* owner)
    : classes::TComponent(owner), m_system(platform::SystemServices()) {
    m_driverHandle = kClosed;
    m_serviceManager = 0;
    m_serviceName = kDefaultServiceName;
    m_removeOnDestroy = true;
    m_stopOnDestroy = true;
    m_systemKind = DetectSystemKind();
    m_ioCodes = ServicePath() ? kServiceCodes : kVirtualDeviceCodes;
    m_succeeded = false;
    m_lastError = 0;
}

TPortIO::~TPortIO() {
    if (m_driverHandle != kClosed) {
        CloseDriver();
    }
    if (ServicePath()) {
        OpenServiceManager();
        if (m_serviceManager != 0) {
            if (m_stopOnDestroy && m_startedHere) {
                StopDriverService();
            }
            if (m_removeOnDestroy && m_installedHere) {
                RemoveDriverService();
            }
            CloseServiceManager();
        }
    }
}

const classes::TClassInfo& TPortIO::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TPortIO>("TPortIO", &classes::TComponent::StaticClass())
            .Creatable()
            .Boolean("Opened", &TPortIO::Opened, &TPortIO::SetOpened, false)
            .Integer<uint32_t>("DriverHandle", &TPortIO::DriverHandle,
                               [](TPortIO&, uint32_t) {
                                   throw classes::EPropertyError("DriverHandle is read-only");
                               })
            .StoredIf([](const TPortIO&) { return false; })
            .Build();
    return info;
}

const classes::TClassInfo& TPortIO::ClassInfo() const {
    return StaticClass();
}

void RegisterPortClasses() {
    classes::RegisterClass(TPortIO::StaticClass());
}

bool TPortIO::ServicePath() const {
    return m_systemKind == kKindNT4 || m_systemKind == kKindNT5;
}

int32_t TPortIO::DetectSystemKind() {
    platform::TOSVersionInfo info;
    info.VersionInfoSize = sizeof(info);
    // A system that does not say what it is gets kind 0, the virtual-device path.
    if (!m_system.GetVersionEx(info)) {
        return kKindUnknown;
    }
    switch (info.PlatformId) {
        case platform::kPlatformWin32s:
            return kKindWin32s;
        case platform::kPlatformWindows:
            switch (info.MinorVersion) {
                case 0:
                    return kKind95;
                case 10:
                    return kKind98;
                case 90:
                    return kKindMe;
                default:
                    return kKindUnknown;
            }
        case platform::kPlatformNT:
            switch (info.MajorVersion) {
                case 4:
                    return kKindNT4;
                case 5:
                    return kKindNT5;
                default:
                    return kKindUnknown;
            }
        default:
            return kKindUnknown;
    }
}

void TPortIO::SetOpened(bool value) {
    if (value && !Opened()) {
        OpenDriver();
    } else if (!value && Opened()) {
        CloseDriver();
    }
}

void TPortIO::OpenDriver() {
    if (m_driverHandle != kClosed) {
        CloseDriver();
    }
    if (!ServicePath()) {
        OpenVirtualDevice();
        return;
    }
    OpenServiceManager();
    if (m_lastError != 0) {
        return;
    }
    InstallDriverService();
    if (m_lastError == kErrorServiceExists) {
        // Someone else's service stays when this instance ends; one this instance installed
        // on an earlier open is still its own.
        if (!m_installedHere) {
            m_removeOnDestroy = false;
        }
        m_lastError = 0;
    } else if (m_lastError != 0) {
        CloseServiceManager();
    }
    if (m_lastError != 0) {
        return;
    }
    StartDriverService();
    if (m_lastError == kErrorServiceAlreadyRunning) {
        if (!m_startedHere) {
            m_stopOnDestroy = false;
        }
        m_lastError = 0;
    }
    CloseServiceManager();
    if (m_lastError != 0) {
        return;
    }
    const uint32_t handle =
        m_system.CreateFile(kDevicePrefix + m_serviceName, platform::kGenericReadWrite, 0,
                            platform::kOpenExisting, platform::kFileAttributeNormal);
    if (handle == kClosed) {
        m_lastError = m_system.LastError();
    }
    m_driverHandle = handle;
}

void TPortIO::OpenVirtualDevice() {
    m_driverHandle =
        m_system.CreateFile(kDevicePrefix + std::string(kVirtualDeviceFile), 0, 0, 0, 0);
    if (m_driverHandle != kClosed) {
        return;
    }
    std::string directory;
    if (!SystemDirectory(directory)) {
        return;
    }
    m_driverHandle =
        m_system.CreateFile(kDevicePrefix + directory + "\\" + kVirtualDeviceFile, 0, 0, 0, 0);
    if (m_driverHandle == kClosed) {
        m_lastError = m_system.LastError();
    }
}

bool TPortIO::SystemDirectory(std::string& directory) {
    char buffer[platform::kMaxPath] = {};
    const uint32_t length = m_system.GetSystemDirectory(buffer, platform::kMaxPath);
    if (length == 0) {
        m_lastError = m_system.LastError();
        return false;
    }
    if (length >= platform::kMaxPath) {
        // The answer is the size it would need: the directory did not fit.
        m_lastError = kErrorInsufficientBuffer;
        return false;
    }
    directory.assign(buffer, length);
    return true;
}

void TPortIO::CloseDriver() {
    if (m_driverHandle != kClosed) {
        m_system.CloseHandle(m_driverHandle);
        m_driverHandle = kClosed;
    }
}

void TPortIO::OpenServiceManager() {
    if (m_serviceManager != 0) {
        return;
    }
    m_lastError = 0;
    m_serviceManager =
        m_system.OpenSCManager(std::string(), std::string(), platform::kScManagerAllAccess);
    if (m_serviceManager == 0) {
        m_lastError = m_system.LastError();
    }
}

void TPortIO::CloseServiceManager() {
    if (m_serviceManager != 0) {
        m_system.CloseServiceHandle(m_serviceManager);
        m_serviceManager = 0;
    }
}

void TPortIO::InstallDriverService() {
    m_lastError = 0;
    const std::string fileName = "\\" + m_serviceName + kDriverExtension;
    std::string driverPath = m_system.CurrentDirectory() + fileName;
    if (!m_system.FileExists(driverPath)) {
        std::string directory;
        if (!SystemDirectory(directory)) {
            return;
        }
        driverPath = directory + fileName;
    }
    const uint32_t service = m_system.CreateService(
        m_serviceManager, m_serviceName, m_serviceName, platform::kServiceAllAccess,
        platform::kServiceKernelDriver, platform::kServiceDemandStart,
        platform::kServiceErrorNormal, driverPath);
    if (service == 0) {
        m_lastError = m_system.LastError();
        return;
    }
    m_installedHere = true;
    m_system.CloseServiceHandle(service);
}

template <class TAction>
void TPortIO::WithService(TAction action) {
    m_lastError = 0;
    const uint32_t service =
        m_system.OpenService(m_serviceManager, m_serviceName, platform::kServiceAllAccess);
    if (service == 0 || !action(service)) {
        m_lastError = m_system.LastError();
    }
    if (service != 0) {
        m_system.CloseServiceHandle(service);
    }
}

void TPortIO::StartDriverService() {
    WithService([this](uint32_t service) {
        const bool started = m_system.StartService(service);
        m_startedHere = m_startedHere || started;
        return started;
    });
}

void TPortIO::StopDriverService() {
    WithService([this](uint32_t service) {
        platform::TServiceStatus status;
        return m_system.ControlService(service, platform::kServiceControlStop, status);
    });
}

void TPortIO::RemoveDriverService() {
    WithService([this](uint32_t service) { return m_system.DeleteService(service); });
}

uint16_t TPortIO::ReadPortByte(uint16_t port) {
    if (m_driverHandle == kClosed) {
        m_succeeded = false;
        m_lastError = kErrorInvalidHandle;
        return 0;
    }
    const uint8_t request[kPortBytes] = {static_cast<uint8_t>(port & 0xFF),
                                         static_cast<uint8_t>(port >> 8)};
    uint8_t answer[kReadBufferBytes] = {};
    m_succeeded = m_system.DeviceIoControl(m_driverHandle, m_ioCodes[0], request, kPortBytes,
                                           answer, kReadBufferBytes, m_bytesReturned);
    if (!m_succeeded) {
        m_lastError = m_system.LastError();
        return 0;
    }
    return answer[0];
}

void TPortIO::WritePortByte(uint16_t port, uint16_t value) {
    if (m_driverHandle == kClosed) {
        m_succeeded = false;
        m_lastError = kErrorInvalidHandle;
        return;
    }
    m_portWriteRecord = {static_cast<uint8_t>(port & 0xFF), static_cast<uint8_t>(port >> 8),
                         static_cast<uint8_t>(value & 0xFF), 0};
    uint8_t scratch[kReadBufferBytes] = {};
    m_succeeded = m_system.DeviceIoControl(m_driverHandle, m_ioCodes[1], m_portWriteRecord.data(),
                                           static_cast<uint32_t>(m_portWriteRecord.size()), scratch,
                                           kReadBufferBytes, m_bytesReturned);
    if (!m_succeeded) {
        m_lastError = m_system.LastError();
    }
}

void TPortIO::SpeakerOn(uint16_t divisor) {
    // A failed read counts as 0: the gate is then written as 3.
    const uint16_t control = ReadPortByte(kSystemControlPort);
    WritePortByte(kSystemControlPort, control | kSpeakerBits);
    WritePortByte(kTimerCommandPort, kChannel2SquareWave);
    WritePortByte(kTimerChannel2Port, divisor & 0xFF);
    WritePortByte(kTimerChannel2Port, divisor >> 8);
}

void TPortIO::SpeakerOff() {
    const uint16_t control = ReadPortByte(kSystemControlPort);
    WritePortByte(kSystemControlPort, control & static_cast<uint16_t>(~kSpeakerBits & 0xFF));
}

}  // namespace port
