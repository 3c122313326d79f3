// TPortIO through scripted system services: system kinds and control codes, the service path
// with each of its errors, the virtual-device path, destruction by flags, port requests and
// the speaker's port writes.
#include "port/PortIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "classes/ClassBuilder.h"
#include "platform/FakeSystemServices.h"

namespace {

using platform::TFakeSystemServices;
using platform::TSystemCall;
using port::TPortIO;
using TWrite = TFakeSystemServices::TPortWrite;
using TCalls = std::vector<std::string>;

const std::string kOpenManager = "OpenSCManager(,,0xF003F)";
const std::string kCreateFromCwd =
    "CreateService(Zareve,Zareve,0xF01FF,1,3,1,C:\\KEYVET\\Zareve.sys)";
const std::string kOpenService = "OpenService(Zareve,0xF01FF)";
const std::string kCloseService = "CloseServiceHandle(Zareve)";
const std::string kCloseManager = "CloseServiceHandle(manager)";
const std::string kOpenDevice = "CreateFile(\\\\.\\Zareve,0xC0000000,0,3,0x80)";

class PortIOTest : public ::testing::Test {
  protected:
    PortIOTest() { m_fake.AddFile("C:\\KEYVET\\Zareve.sys"); }

    std::unique_ptr<TPortIO> Create() {
        auto io = std::make_unique<TPortIO>(nullptr);
        m_fake.ClearCalls();
        return io;
    }
    // Calls since the last ClearCalls that start with prefix.
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const std::string& call : m_fake.Calls()) {
            n += call.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }

    TFakeSystemServices m_fake;
    platform::TScopedSystemServices m_guard{m_fake};
};

TEST_F(PortIOTest, SystemKindFollowsTheVersionTableAndChoosesTheCodes) {
    struct TRow {
        uint32_t Platform, Major, Minor;
        int32_t Kind;
    };
    const TRow rows[] = {{0, 3, 1, 1}, {1, 4, 0, 2}, {1, 4, 10, 3}, {1, 4, 90, 6}, {1, 4, 3, 0},
                         {2, 4, 0, 4}, {2, 5, 1, 5}, {2, 6, 0, 0},  {2, 3, 51, 0}, {3, 5, 0, 0}};
    for (const TRow& row : rows) {
        SCOPED_TRACE("platform " + std::to_string(row.Platform) + " version " +
                     std::to_string(row.Major) + "." + std::to_string(row.Minor));
        m_fake.SetVersion(row.Platform, row.Major, row.Minor);
        const TPortIO io(nullptr);
        EXPECT_EQ(row.Kind, io.SystemKind());
        const bool service = row.Kind == 4 || row.Kind == 5;
        EXPECT_EQ(service ? 0xF1006404u : 2u, io.IoControlCodes()[0]);
    }
    EXPECT_EQ("GetVersionEx(148)", m_fake.Calls().front());
}

TEST_F(PortIOTest, AFailedVersionQueryGivesKindZero) {
    m_fake.Fail(TSystemCall::scGetVersionEx, 5);
    const TPortIO io(nullptr);
    EXPECT_EQ(0, io.SystemKind());
    EXPECT_EQ(0u, io.LastError());
}

TEST_F(PortIOTest, ControlCodesOfBothPaths) {
    // Service codes: device type 0xF100, access read 1 / write 2, functions 0x901-0x906,
    // buffered transfer.
    const auto nt = Create();
    for (uint32_t i = 0; i < 6; ++i) {
        const uint32_t access = i % 2 == 0 ? 1 : 2;
        EXPECT_EQ((0xF100u << 16) | (access << 14) | ((0x901 + i) << 2), nt->IoControlCodes()[i]);
    }
    m_fake.SetVersion(1, 4, 10);
    const auto vxd = Create();
    EXPECT_EQ((std::array<uint32_t, 6>{2, 3, 4, 5, 6, 7}), vxd->IoControlCodes());
}

TEST_F(PortIOTest, CreationSetsTheFieldsAndOpensNothing) {
    const auto io = Create();
    EXPECT_FALSE(io->Opened());
    EXPECT_EQ(0xFFFFFFFFu, io->DriverHandle());
    EXPECT_EQ("Zareve", io->ServiceName());
    EXPECT_TRUE(io->RemoveOnDestroy());
    EXPECT_TRUE(io->StopOnDestroy());
    EXPECT_EQ(0u, io->ServiceManager());
    EXPECT_FALSE(io->Succeeded());
    EXPECT_EQ(0u, io->LastError());
    EXPECT_TRUE(m_fake.Calls().empty());
}

TEST_F(PortIOTest, ServicePathInstallsStartsOpensAndAtDestroyStopsAndRemoves) {
    auto io = Create();
    io->SetOpened(true);
    EXPECT_EQ((TCalls{kOpenManager, kCreateFromCwd, kCloseService, kOpenService,
                      "StartService(Zareve)", kCloseService, kCloseManager, kOpenDevice}),
              m_fake.Calls());
    EXPECT_TRUE(io->Opened());
    EXPECT_EQ(0u, io->LastError());
    EXPECT_EQ(0u, io->ServiceManager());
    EXPECT_TRUE(m_fake.ServiceRunning("Zareve"));

    m_fake.ClearCalls();
    io->SetOpened(false);
    EXPECT_EQ((TCalls{"CloseHandle(\\\\.\\Zareve)"}), m_fake.Calls());
    EXPECT_TRUE(m_fake.ServiceRunning("Zareve"));  // closing leaves the service alone

    m_fake.ClearCalls();
    io.reset();
    EXPECT_EQ((TCalls{kOpenManager, kOpenService, "ControlService(Zareve,1)", kCloseService,
                      kOpenService, "DeleteService(Zareve)", kCloseService, kCloseManager}),
              m_fake.Calls());
    EXPECT_FALSE(m_fake.ServiceInstalled("Zareve"));
    EXPECT_EQ(0u, m_fake.OpenHandleCount());
}

TEST_F(PortIOTest, WithoutTheDriverInTheCurrentDirectoryTheSystemDirectoryCopyIsUsed) {
    TFakeSystemServices bare;  // no driver file anywhere
    const platform::TScopedSystemServices guard(bare);
    TPortIO io(nullptr);
    io.OpenDriver();
    EXPECT_TRUE(io.Opened());
    EXPECT_EQ(1, std::count(bare.Calls().begin(), bare.Calls().end(),
                            "CreateService(Zareve,Zareve,0xF01FF,1,3,1,"
                            "C:\\WINNT\\system32\\Zareve.sys)"));
}

TEST_F(PortIOTest, EachFailingStepOfTheServicePathLeavesItClosedWithTheError) {
    struct TCase {
        TSystemCall Call;
        uint32_t Error;
        std::string LastCall;  // the last call made before giving up
    };
    const TCase cases[] = {
        {TSystemCall::scOpenSCManager, 5, kOpenManager + " -> 5"},
        {TSystemCall::scCreateService, 5, kCloseManager},
        {TSystemCall::scOpenService, 1060, kCloseManager},
        {TSystemCall::scStartService, 2, kCloseManager},
        {TSystemCall::scCreateFile, 2, kOpenDevice + " -> 2"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.LastCall);
        TFakeSystemServices fake;
        fake.AddFile("C:\\KEYVET\\Zareve.sys");
        fake.Fail(c.Call, c.Error, 1);
        const platform::TScopedSystemServices guard(fake);
        {
            TPortIO io(nullptr);
            io.SetOpened(true);
            EXPECT_FALSE(io.Opened());
            EXPECT_EQ(c.Error, io.LastError());
            EXPECT_EQ(0u, io.ServiceManager());
            EXPECT_EQ(c.LastCall, fake.Calls().back());
            EXPECT_TRUE(io.RemoveOnDestroy());
            EXPECT_TRUE(io.StopOnDestroy());
        }
        // Whatever this instance managed to install is removed again.
        EXPECT_FALSE(fake.ServiceInstalled("Zareve"));
        EXPECT_EQ(0u, fake.OpenHandleCount());
    }
}

TEST_F(PortIOTest, ASecondProgramFindsTheServiceInstalledAndRunningAndLeavesIt) {
    m_fake.InstallService("Zareve", true);
    {
        auto io = Create();
        io->SetOpened(true);
        EXPECT_TRUE(io->Opened());
        EXPECT_EQ(0u, io->LastError());
        EXPECT_FALSE(io->RemoveOnDestroy());  // creation reported 1073
        EXPECT_FALSE(io->StopOnDestroy());    // start reported 1056
        m_fake.ClearCalls();
    }
    EXPECT_EQ((TCalls{"CloseHandle(\\\\.\\Zareve)", kOpenManager, kCloseManager}), m_fake.Calls());
    EXPECT_TRUE(m_fake.ServiceRunning("Zareve"));
}

TEST_F(PortIOTest, DestroyStopsAndRemovesAsFarAsTheFlagsAllow) {
    struct TCase {
        bool Installed, Running;      // before the program ran
        uint32_t ScriptedStartError;  // 1056 from a service that starts itself
        bool Remove, Stop;
    };
    const TCase cases[] = {{false, false, 0, true, true},
                           {true, false, 0, false, true},
                           {false, false, 1056, true, false},
                           {true, true, 0, false, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string("remove ") + (c.Remove ? "T" : "F") + " stop " +
                     (c.Stop ? "T" : "F"));
        TFakeSystemServices fake;
        if (c.Installed) {
            fake.InstallService("Zareve", c.Running);
        }
        if (c.ScriptedStartError != 0) {
            fake.Fail(TSystemCall::scStartService, c.ScriptedStartError, 1);
        }
        const platform::TScopedSystemServices guard(fake);
        {
            TPortIO io(nullptr);
            io.SetOpened(true);
            if (c.ScriptedStartError != 0) {
                // The scripted answer leaves the device unopenable; open it by name.
                fake.AddDevice("\\\\.\\Zareve");
                io.SetOpened(true);
            }
            ASSERT_TRUE(io.Opened());
            EXPECT_EQ(c.Remove, io.RemoveOnDestroy());
            EXPECT_EQ(c.Stop, io.StopOnDestroy());
            fake.ClearCalls();
        }
        const auto has = [&](const std::string& call) {
            return std::count(fake.Calls().begin(), fake.Calls().end(), call) > 0;
        };
        EXPECT_EQ(c.Stop, has("ControlService(Zareve,1)"));
        EXPECT_EQ(c.Remove, has("DeleteService(Zareve)"));
        EXPECT_EQ(!c.Remove, fake.ServiceInstalled("Zareve"));
        EXPECT_EQ(kCloseManager, fake.Calls().back());
    }
}

TEST_F(PortIOTest, AComponentThatNeverOpenedLeavesAnotherProgramsServiceAlone) {
    m_fake.InstallService("Zareve", true);
    { const auto io = Create(); }
    EXPECT_EQ(0, Count("ControlService"));
    EXPECT_EQ(0, Count("DeleteService"));
    EXPECT_TRUE(m_fake.ServiceRunning("Zareve"));
}

TEST_F(PortIOTest, ReopeningItsOwnServiceKeepsItsDutyToRemoveIt) {
    {
        auto io = Create();
        io->SetOpened(true);
        io->SetOpened(false);
        io->SetOpened(true);  // the second run: the service exists and runs, by our doing
        EXPECT_TRUE(io->Opened());
        EXPECT_TRUE(io->RemoveOnDestroy());
        EXPECT_TRUE(io->StopOnDestroy());
    }
    EXPECT_FALSE(m_fake.ServiceInstalled("Zareve"));
}

TEST_F(PortIOTest, OpenedTwiceOpensOnceAndClosingAClosedOneDoesNothing) {
    auto io = Create();
    io->SetOpened(false);
    EXPECT_TRUE(m_fake.Calls().empty());
    io->SetOpened(true);
    const uint32_t handle = io->DriverHandle();
    io->SetOpened(true);
    EXPECT_EQ(1, Count("CreateFile"));
    EXPECT_EQ(handle, io->DriverHandle());
    // OpenDriver itself reopens: it closes the open device first.
    io->OpenDriver();
    EXPECT_EQ(1, Count("CloseHandle"));
    EXPECT_EQ(2, Count("CreateFile"));
    EXPECT_TRUE(io->Opened());
}

TEST_F(PortIOTest, VirtualDevicePathFallsBackToTheSystemDirectory) {
    m_fake.SetVersion(1, 4, 10);
    auto io = Create();
    io->SetOpened(true);
    EXPECT_FALSE(io->Opened());
    EXPECT_EQ(2u, io->LastError());
    EXPECT_EQ((TCalls{"CreateFile(\\\\.\\zareve.vxd,0x0,0,0,0x0) -> 2", "GetSystemDirectory(260)",
                      "CreateFile(\\\\.\\C:\\WINNT\\system32\\zareve.vxd,0x0,0,0,0x0) -> 2"}),
              m_fake.Calls());

    m_fake.AddDevice("\\\\.\\C:\\WINNT\\system32\\zareve.vxd");
    io->SetOpened(true);
    EXPECT_TRUE(io->Opened());

    m_fake.ClearCalls();
    io.reset();  // no service work on this path
    EXPECT_EQ((TCalls{"CloseHandle(\\\\.\\C:\\WINNT\\system32\\zareve.vxd)"}), m_fake.Calls());
}

TEST_F(PortIOTest, VirtualDeviceFoundFirstTimeNeedsNoSystemDirectory) {
    m_fake.SetVersion(0, 0, 0);
    m_fake.AddDevice("\\\\.\\zareve.vxd");
    auto io = Create();
    io->SetOpened(true);
    EXPECT_TRUE(io->Opened());
    EXPECT_EQ(0, Count("GetSystemDirectory"));
}

TEST_F(PortIOTest, ASystemDirectoryThatDoesNotFitIsAnErrorNotAGarbledPath) {
    m_fake.SetVersion(1, 4, 0);
    m_fake.SetSystemDirectory(std::string(300, 'x'));
    auto io = Create();
    io->SetOpened(true);
    EXPECT_FALSE(io->Opened());
    EXPECT_EQ(platform::kErrorInsufficientBuffer, io->LastError());
    EXPECT_EQ(1, Count("CreateFile"));

    m_fake.Fail(TSystemCall::scGetSystemDirectory, 87);
    io->SetOpened(true);
    EXPECT_EQ(87u, io->LastError());
}

TEST_F(PortIOTest, PortOperationsOnAClosedComponentFailWithInvalidHandle) {
    auto io = Create();
    EXPECT_EQ(0, io->ReadPortByte(0x61));
    EXPECT_FALSE(io->Succeeded());
    EXPECT_EQ(6u, io->LastError());
    io->WritePortByte(0x61, 3);
    EXPECT_FALSE(io->Succeeded());
    EXPECT_EQ(6u, io->LastError());
    io->SpeakerOn(1500);
    io->SpeakerOff();
    EXPECT_EQ(6u, io->LastError());
    EXPECT_TRUE(m_fake.Requests().empty());
}

TEST_F(PortIOTest, PortRequestsCarryThePortAndValueAsTheDriverExpects) {
    auto io = Create();
    io->SetOpened(true);
    m_fake.SetPortValue(0x61, 0x30);
    EXPECT_EQ(0x30, io->ReadPortByte(0x61));
    EXPECT_TRUE(io->Succeeded());
    EXPECT_EQ(1u, io->BytesReturned());
    io->WritePortByte(0x1234, 0x1AB);  // only the low byte goes out
    ASSERT_EQ(2u, m_fake.Requests().size());
    EXPECT_EQ(0xF1006404u, m_fake.Requests()[0].Code);
    EXPECT_EQ((std::vector<uint8_t>{0x61, 0x00}), m_fake.Requests()[0].In);
    EXPECT_EQ(2u, m_fake.Requests()[0].OutSize);
    EXPECT_EQ(0xF100A408u, m_fake.Requests()[1].Code);
    EXPECT_EQ((std::vector<uint8_t>{0x34, 0x12, 0xAB, 0x00}), m_fake.Requests()[1].In);
    EXPECT_TRUE(io->Succeeded());

    m_fake.Fail(TSystemCall::scDeviceIoControl, 31, 1);
    EXPECT_EQ(0, io->ReadPortByte(0x61));
    EXPECT_FALSE(io->Succeeded());
    EXPECT_EQ(31u, io->LastError());
    m_fake.Fail(TSystemCall::scDeviceIoControl, 1117, 1);
    io->WritePortByte(0x61, 0);
    EXPECT_FALSE(io->Succeeded());
    EXPECT_EQ(1117u, io->LastError());
}

TEST_F(PortIOTest, SpeakerOnGatesFirstThenProgramsTheTimerAndOffRestoresTheGate) {
    auto io = Create();
    io->SetOpened(true);
    m_fake.SetPortValue(0x61, 0x30);
    io->SpeakerOn(1500);
    EXPECT_EQ((std::vector<TWrite>{{0x61, 0x33}, {0x43, 0xB6}, {0x42, 0xDC}, {0x42, 0x05}}),
              m_fake.PortWrites());
    EXPECT_EQ(0xF1006404u, m_fake.Requests().front().Code);  // the gate was read first

    m_fake.ClearPortWrites();
    io->SpeakerOff();
    io->SpeakerOff();  // already off: written unchanged
    EXPECT_EQ((std::vector<TWrite>{{0x61, 0x30}, {0x61, 0x30}}), m_fake.PortWrites());
    EXPECT_EQ(0x05, m_fake.PortValue(0x42));  // the timer keeps its divisor
}

TEST_F(PortIOTest, AFailedGateReadWhileOpenCountsAsZero) {
    auto io = Create();
    io->SetOpened(true);
    m_fake.SetPortValue(0x61, 0xF0);
    m_fake.Fail(TSystemCall::scDeviceIoControl, 31, 1);
    io->SpeakerOn(0x1234);
    EXPECT_EQ((std::vector<TWrite>{{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x34}, {0x42, 0x12}}),
              m_fake.PortWrites());
    m_fake.ClearPortWrites();
    m_fake.Fail(TSystemCall::scDeviceIoControl, 31, 1);
    io->SpeakerOff();
    EXPECT_EQ((std::vector<TWrite>{{0x61, 0x00}}), m_fake.PortWrites());
}

TEST_F(PortIOTest, DesignDataCreatesItByClassAndStoresOpenedOnlyWhenTrue) {
    port::RegisterPortClasses();
    const classes::TClassInfo* info = classes::FindClass("TPortIO");
    ASSERT_NE(nullptr, info);
    classes::TComponent owner(nullptr);
    auto* io = dynamic_cast<TPortIO*>(info->Create(&owner));
    ASSERT_NE(nullptr, io);
    EXPECT_EQ(&owner, io->Owner());
    EXPECT_FALSE(info->FindProperty("Opened")->IsStored(*io));
    EXPECT_FALSE(info->FindProperty("DriverHandle")->IsStored(*io));
    info->FindProperty("Opened")->Set(*io, classes::TDesignValue::OfIdent("True"));
    EXPECT_TRUE(io->Opened());
    EXPECT_TRUE(info->FindProperty("Opened")->IsStored(*io));
    EXPECT_THROW(info->FindProperty("DriverHandle")->Set(*io, classes::TDesignValue::OfInteger(1)),
                 classes::EPropertyError);
}

TEST_F(PortIOTest, TheOwnerFreesItAndThatStopsAndRemovesTheService) {
    {
        classes::TComponent owner(nullptr);
        auto* io = new TPortIO(&owner);
        io->SetOpened(true);
        EXPECT_TRUE(m_fake.ServiceRunning("Zareve"));
    }
    EXPECT_FALSE(m_fake.ServiceInstalled("Zareve"));
    EXPECT_EQ(0u, m_fake.OpenHandleCount());
}

}  // namespace
