// The Linux service manager and device namespace: services shared between program instances
// through the state directory, the port driver's device and its requests.
#include "platform/LinuxSystemServices.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using platform::THandle;
using platform::TLinuxSystemServices;

class LinuxSystemServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "keyvet-services-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        m_root = pattern;
        m_state = m_root + "/runtime/services";
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    // Installs and starts the port driver as the program does; returns the manager.
    static THandle InstallAndStart(TLinuxSystemServices& sys, uint32_t* startError = nullptr) {
        const THandle manager = sys.OpenSCManager("", "", platform::kScManagerAllAccess);
        THandle service =
            sys.CreateService(manager, "Zareve", "Zareve", platform::kServiceAllAccess, 1, 3, 1,
                              "/opt/keyvet\\Zareve.sys");
        if (service == 0) {
            service = sys.OpenService(manager, "Zareve", platform::kServiceAllAccess);
        }
        const bool started = sys.StartService(service);
        if (startError != nullptr) {
            *startError = started ? 0 : sys.LastError();
        }
        sys.CloseServiceHandle(service);
        return manager;
    }

    std::string m_root;
    std::string m_state;
};

TEST_F(LinuxSystemServicesTest, ReportsTheVersionThatTakesTheServicePath) {
    TLinuxSystemServices sys(m_state, false);
    platform::TOSVersionInfo info;
    EXPECT_FALSE(sys.GetVersionEx(info));  // size not set
    EXPECT_EQ(platform::kErrorInsufficientBuffer, sys.LastError());
    info.VersionInfoSize = sizeof(info);
    ASSERT_TRUE(sys.GetVersionEx(info));
    EXPECT_EQ(platform::kPlatformNT, info.PlatformId);
    EXPECT_EQ(5u, info.MajorVersion);

    char small[2];
    const uint32_t needed = sys.GetSystemDirectory(small, sizeof(small));
    std::string directory(needed, '\0');
    EXPECT_EQ(needed - 1, sys.GetSystemDirectory(directory.data(), needed));
}

TEST_F(LinuxSystemServicesTest, ASecondInstanceSeesTheFirstOnesServiceUntilItIsRemoved) {
    TLinuxSystemServices first(m_state, false);
    const THandle idle = first.OpenSCManager("", "", platform::kScManagerAllAccess);
    ASSERT_NE(0u, idle);
    EXPECT_FALSE(std::filesystem::exists(m_state));  // nothing is left for nothing installed
    first.CloseServiceHandle(idle);
    const THandle manager = InstallAndStart(first);
    EXPECT_TRUE(std::filesystem::exists(m_state + "/zareve"));

    TLinuxSystemServices second(m_state, false);
    const THandle otherManager = second.OpenSCManager("", "", platform::kScManagerAllAccess);
    EXPECT_EQ(0u, second.CreateService(otherManager, "ZAREVE", "x", 0, 1, 3, 1, "a\\Zareve.sys"));
    EXPECT_EQ(platform::kErrorServiceExists, second.LastError());
    const THandle service = second.OpenService(otherManager, "Zareve", 0);
    ASSERT_NE(0u, service);
    EXPECT_FALSE(second.StartService(service));
    EXPECT_EQ(platform::kErrorServiceAlreadyRunning, second.LastError());
    EXPECT_NE(platform::kInvalidHandleValue, second.CreateFile("\\\\.\\Zareve", 0, 0, 3, 0));

    // The first instance stops and removes it; the state goes with it.
    const THandle own = first.OpenService(manager, "Zareve", 0);
    platform::TServiceStatus status;
    ASSERT_TRUE(first.ControlService(own, platform::kServiceControlStop, status));
    EXPECT_EQ(platform::kServiceStopped, status.CurrentState);
    EXPECT_EQ(platform::kInvalidHandleValue, second.CreateFile("\\\\.\\Zareve", 0, 0, 3, 0));
    EXPECT_FALSE(first.ControlService(own, platform::kServiceControlStop, status));
    EXPECT_EQ(platform::kErrorServiceNotActive, first.LastError());
    ASSERT_TRUE(first.DeleteService(own));
    EXPECT_FALSE(std::filesystem::exists(m_state));
    EXPECT_EQ(0u, second.OpenService(otherManager, "Zareve", 0));
    EXPECT_EQ(platform::kErrorServiceDoesNotExist, second.LastError());
}

TEST_F(LinuxSystemServicesTest, OnlyThePortDriverImageStarts) {
    TLinuxSystemServices sys(m_state, false);
    const THandle manager = sys.OpenSCManager("", "", 0);
    const THandle service =
        sys.CreateService(manager, "Other", "Other", 0, 1, 3, 1, "/x/other.sys");
    ASSERT_NE(0u, service);
    EXPECT_FALSE(sys.StartService(service));
    EXPECT_EQ(platform::kErrorFileNotFound, sys.LastError());
    EXPECT_EQ(0u, sys.CreateService(manager, "a/b", "x", 0, 1, 3, 1, "/x/zareve.sys"));
    EXPECT_EQ(platform::kErrorInvalidName, sys.LastError());
    EXPECT_EQ(0u, sys.CreateService(0x999, "y", "y", 0, 1, 3, 1, "/x/zareve.sys"));
    EXPECT_EQ(platform::kErrorInvalidHandle, sys.LastError());
    EXPECT_TRUE(sys.DeleteService(service));
}

TEST_F(LinuxSystemServicesTest, AStateDirectoryOthersCanWriteIsRefused) {
    std::filesystem::create_directories(m_state);
    chmod(m_state.c_str(), 0777);
    TLinuxSystemServices sys(m_state, false);
    EXPECT_EQ(0u, sys.OpenSCManager("", "", 0));
    EXPECT_EQ(platform::kErrorAccessDenied, sys.LastError());
}

TEST_F(LinuxSystemServicesTest, DevicesOpenByServiceOrVirtualDeviceNameAndDriveTheBus) {
    TLinuxSystemServices sys(m_state, false);
    platform::TRecordingToneSink sink;
    sys.Bus().SetToneSink(&sink);
    EXPECT_EQ(platform::kInvalidHandleValue, sys.CreateFile("\\\\.\\Zareve", 0, 0, 3, 0));
    EXPECT_EQ(platform::kErrorFileNotFound, sys.LastError());
    const THandle vxd = sys.CreateFile("\\\\.\\/usr/lib\\ZAREVE.VXD", 0, 0, 0, 0);
    ASSERT_NE(platform::kInvalidHandleValue, vxd);

    uint32_t returned = 99;
    const uint8_t write[4] = {0x61, 0x00, 0x03, 0x00};
    uint8_t out[4] = {};
    EXPECT_TRUE(sys.DeviceIoControl(vxd, platform::kVxdWriteByte, write, 4, out, 2, returned));
    EXPECT_EQ(0u, returned);
    const uint8_t port[2] = {0x61, 0x00};
    EXPECT_TRUE(sys.DeviceIoControl(vxd, platform::kVxdReadByte, port, 2, out, 2, returned));
    EXPECT_EQ(1u, returned);
    EXPECT_EQ(0x03, out[0]);
    const uint8_t command[4] = {0x43, 0x00, 0xB6, 0x00};
    const uint8_t low[3] = {0x42, 0x00, 0xDC};
    const uint8_t high[3] = {0x42, 0x00, 0x05};
    EXPECT_TRUE(sys.DeviceIoControl(vxd, platform::kVxdWriteByte, command, 4, out, 2, returned));
    EXPECT_TRUE(sys.DeviceIoControl(vxd, platform::kVxdWriteByte, low, 3, out, 2, returned));
    EXPECT_TRUE(sys.DeviceIoControl(vxd, platform::kVxdWriteByte, high, 3, out, 2, returned));
    EXPECT_NEAR(795.45, sys.Bus().Frequency(), 0.01);
    // Word access covers the port and the next one: the count as the reads give it.
    const uint8_t countPort[2] = {0x42, 0x00};
    EXPECT_TRUE(sys.DeviceIoControl(vxd, platform::kVxdReadWord, countPort, 2, out, 2, returned));
    EXPECT_EQ(2u, returned);
    EXPECT_EQ(0xDC, out[0]);
    EXPECT_EQ(0xFF, out[1]);  // port 0x43 cannot be read
    EXPECT_NEAR(795.45, sink.Changes().back().FrequencyHz, 0.01);

    // Service codes are not the virtual device's; short buffers and closed handles fail.
    EXPECT_FALSE(sys.DeviceIoControl(vxd, platform::kServiceReadByte, port, 2, out, 2, returned));
    EXPECT_EQ(platform::kErrorInvalidFunction, sys.LastError());
    EXPECT_FALSE(sys.DeviceIoControl(vxd, platform::kVxdReadWord, port, 2, out, 1, returned));
    EXPECT_EQ(platform::kErrorInsufficientBuffer, sys.LastError());
    EXPECT_FALSE(sys.DeviceIoControl(vxd, platform::kVxdWriteByte, write, 2, out, 2, returned));
    EXPECT_EQ(platform::kErrorInvalidParameter, sys.LastError());
    EXPECT_TRUE(sys.CloseHandle(vxd));
    EXPECT_FALSE(sys.CloseHandle(vxd));
    EXPECT_FALSE(sys.DeviceIoControl(vxd, platform::kVxdReadByte, port, 2, out, 2, returned));
    EXPECT_EQ(platform::kErrorInvalidHandle, sys.LastError());

    const THandle manager = InstallAndStart(sys);
    const THandle device = sys.CreateFile("\\\\.\\zareve", platform::kGenericReadWrite, 0, 3, 0x80);
    ASSERT_NE(platform::kInvalidHandleValue, device);
    EXPECT_TRUE(sys.DeviceIoControl(device, platform::kServiceReadByte, port, 2, out, 2, returned));
    EXPECT_EQ(0x03, out[0]);
    sys.CloseHandle(device);
    const THandle service = sys.OpenService(manager, "Zareve", 0);
    EXPECT_TRUE(sys.DeleteService(service));
}

TEST_F(LinuxSystemServicesTest, TheDeviceWorksWhetherOrNotAnyAudioOutputOpens) {
    // The production set-up: the live output is tried at the first open; with no sound card
    // the bus still answers and the tone is silent.
    TLinuxSystemServices sys(m_state, true);
    const THandle device = sys.CreateFile("\\\\.\\zareve.vxd", 0, 0, 0, 0);
    ASSERT_NE(platform::kInvalidHandleValue, device);
    const uint8_t gate[4] = {0x61, 0x00, 0x03, 0x00};
    const uint8_t port[2] = {0x61, 0x00};
    uint8_t out[2] = {};
    uint32_t returned = 0;
    EXPECT_TRUE(sys.DeviceIoControl(device, platform::kVxdWriteByte, gate, 4, out, 2, returned));
    EXPECT_TRUE(sys.DeviceIoControl(device, platform::kVxdReadByte, port, 2, out, 2, returned));
    EXPECT_EQ(0x03, out[0]);
    EXPECT_TRUE(sys.CloseHandle(device));
}

}  // namespace
