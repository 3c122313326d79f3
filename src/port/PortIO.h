// TPortIO: byte access to the PC's I/O ports through the port driver, which it installs and
// starts as a service (or loads as a virtual device), and the speaker tone on top of it. It
// never raises: failures show in LastError and Succeeded.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "classes/Component.h"
#include "platform/SystemServices.h"

namespace port {

class TPortIO : public classes::TComponent {
  public:
    // DriverHandle of a closed component: all ones.
    static constexpr uint32_t kClosed = platform::kInvalidHandleValue;
    // Timer divisor of the side-tone: 1193182 Hz / 1500, about 795 Hz.
    static constexpr uint16_t kSideToneDivisor = 1500;

    // Nothing is loaded or opened at creation. The component keeps the system services that
    // are current now for its whole life.
    explicit TPortIO(classes::TComponent* owner);
    // Closes the device; on the service path stops and removes the service as far as
    // StopOnDestroy and RemoveOnDestroy allow, and only what this instance started and
    // installed.
    ~TPortIO() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Published: True while the device is open. Setting True opens it if closed, setting
    // False closes it if open.
    bool Opened() const { return m_driverHandle != kClosed; }
    void SetOpened(bool value);
    uint32_t DriverHandle() const { return m_driverHandle; }

    void OpenDriver();
    // Closes the device; the service stays installed and running.
    void CloseDriver();

    // The byte read in the low 8 bits; 0 on failure.
    uint16_t ReadPortByte(uint16_t port);
    // Writes the low 8 bits of value.
    void WritePortByte(uint16_t port, uint16_t value);

    // Sounds the speaker at 1193182 / divisor Hz: gate on first, then the timer is programmed
    // for channel 2, low then high byte, square wave.
    void SpeakerOn(uint16_t divisor);
    void SpeakerOff();

    // The last port read or write succeeded; False after creation.
    bool Succeeded() const { return m_succeeded; }
    // The last system error code; 0 = none; 6 when a port is used while the device is closed.
    uint32_t LastError() const { return m_lastError; }
    // The kind of system (0-6) found at creation; 4 and 5 take the service path.
    int32_t SystemKind() const { return m_systemKind; }
    // Device-control codes in (read, write) pairs: byte, then two pairs the program never sends.
    const std::array<uint32_t, 6>& IoControlCodes() const { return m_ioCodes; }
    const std::string& ServiceName() const { return m_serviceName; }
    bool RemoveOnDestroy() const { return m_removeOnDestroy; }
    bool StopOnDestroy() const { return m_stopOnDestroy; }
    uint32_t ServiceManager() const { return m_serviceManager; }
    // Byte count the last device request reported.
    uint32_t BytesReturned() const { return m_bytesReturned; }

  private:
    bool ServicePath() const;
    int32_t DetectSystemKind();
    void OpenServiceManager();
    void CloseServiceManager();
    void InstallDriverService();
    void StartDriverService();
    void StopDriverService();
    void RemoveDriverService();
    // Opens the service, runs action on it and closes it; LastError as the steps say.
    template <class TAction>
    void WithService(TAction action);
    // The system directory, or false with LastError set when it cannot be had in kMaxPath.
    bool SystemDirectory(std::string& directory);
    void OpenVirtualDevice();

    platform::ISystemServices& m_system;
    bool m_succeeded = false;
    uint32_t m_lastError = 0;
    int32_t m_systemKind = 0;
    std::array<uint32_t, 6> m_ioCodes{};
    std::string m_serviceName;
    bool m_removeOnDestroy = true;
    bool m_stopOnDestroy = true;
    uint32_t m_serviceManager = 0;
    uint32_t m_driverHandle = kClosed;
    uint32_t m_bytesReturned = 0;
    // Port write request: bytes 0-1 port (little-endian), byte 2 value, byte 3 zero.
    std::array<uint8_t, 4> m_portWriteRecord{};
    // What this instance itself did to the service, so that it never stops or removes one
    // that another program installed or started, and its own second open does not take the
    // service it installed for someone else's.
    bool m_installedHere = false;
    bool m_startedHere = false;
};

// Registers TPortIO with the class registry, so design data can create it.
void RegisterPortClasses();

}  // namespace port
