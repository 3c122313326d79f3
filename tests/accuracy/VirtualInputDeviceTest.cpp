// keyvet-virtual-device mounted and keyed through its control pipe, read by the program's own
// input-device key and by plain system calls. Skipped where FUSE cannot be mounted (no
// /dev/fuse, not root).
#include <fcntl.h>
#include <glob.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/InputDeviceKey.h"

extern char** environ;

namespace {

constexpr int kNoMount = 3;  // the daemon's exit status when it cannot mount
constexpr auto kPatience = std::chrono::seconds(5);

int64_t ClockNs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t EventNs(const input_event& event) {
    return (static_cast<int64_t>(event.input_event_sec) * 1000000 + event.input_event_usec) * 1000;
}

class VirtualInputDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* daemon = std::getenv("KEYVET_VIRTUAL_DEVICE");
        if (daemon == nullptr || *daemon == '\0') {
            GTEST_SKIP() << "KEYVET_VIRTUAL_DEVICE names no keyvet-virtual-device";
        }
        if (geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0) {
            GTEST_SKIP() << "FUSE cannot be mounted here (it needs /dev/fuse and root)";
        }
        char folder[] = "/tmp/keyvet-vdev-test-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        m_folder = folder;
        m_mount = m_folder + "/mount";
        m_control = m_folder + "/control";
        ASSERT_EQ(::mkdir(m_mount.c_str(), 0755), 0);
        m_file = m_mount + "/event0";
        std::vector<char*> arguments = {const_cast<char*>(daemon), m_mount.data(), m_control.data(),
                                        nullptr};
        ASSERT_EQ(::posix_spawn(&m_daemon, daemon, nullptr, nullptr, arguments.data(), environ), 0);
        struct stat file {};
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (::stat(m_file.c_str(), &file) != 0) {
            int status = 0;
            if (::waitpid(m_daemon, &status, WNOHANG) == m_daemon) {
                m_daemon = 0;
                if (WIFEXITED(status) && WEXITSTATUS(status) == kNoMount) {
                    GTEST_SKIP() << "keyvet-virtual-device could not mount here";
                }
                FAIL() << "keyvet-virtual-device ended at start-up";
            }
            ASSERT_LT(std::chrono::steady_clock::now(), until) << m_file << " did not appear";
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        m_controlFd = ::open(m_control.c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(m_controlFd, 0);
    }

    void TearDown() override {
        if (m_controlFd >= 0) {
            ::close(m_controlFd);
        }
        if (m_daemon != 0) {
            ::kill(m_daemon, SIGTERM);
            int status = 0;
            ASSERT_EQ(::waitpid(m_daemon, &status, 0), m_daemon);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            // Unmounted: the mount point is the empty folder again.
            struct stat file {};
            EXPECT_NE(::stat(m_file.c_str(), &file), 0);
            // A control pipe the daemon made, it removes.
            EXPECT_NE(::access(m_control.c_str(), F_OK), 0);
        }
        if (!m_folder.empty()) {
            ::rmdir(m_mount.c_str());
            ::rmdir(m_folder.c_str());
        }
    }

    void Send(const std::string& lines) {
        ASSERT_EQ(::write(m_controlFd, lines.data(), lines.size()),
                  static_cast<ssize_t>(lines.size()));
    }

    // Reads from a non-blocking descriptor until `count` events came (the daemon applies the
    // control lines on a thread of its own).
    std::vector<input_event> Await(int fd, size_t count) {
        std::vector<input_event> events;
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (events.size() < count && std::chrono::steady_clock::now() < until) {
            input_event batch[16];
            const ssize_t got = ::read(fd, batch, sizeof batch);
            if (got > 0) {
                events.insert(events.end(), batch, batch + got / sizeof(input_event));
            } else {
                EXPECT_EQ(errno, EAGAIN);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        return events;
    }

    int OpenFile(int flags = O_RDONLY | O_NONBLOCK) {
        const int fd = ::open(m_file.c_str(), flags | O_CLOEXEC);
        EXPECT_GE(fd, 0) << std::strerror(errno);
        return fd;
    }

    std::string m_folder;
    std::string m_mount;
    std::string m_control;
    std::string m_file;
    pid_t m_daemon = 0;
    int m_controlFd = -1;
};

TEST_F(VirtualInputDeviceTest, TheProgramsKeyReadsAPressAndReleaseBetweenPollsAtTheirTimes) {
    platform::TInputDeviceKey key(m_file, BTN_LEFT);
    key.Open();
    EXPECT_EQ(key.Level(), platform::TKeyLevel::klOpen);
    // A witness opened before the changes: once it has read them, so could the key.
    const int witness = OpenFile();
    Send("down 5000001234\nup 5000051999\n");
    EXPECT_EQ(Await(witness, 4).size(), 4u);
    ::close(witness);

    EXPECT_EQ(key.Level(), platform::TKeyLevel::klClosed);
    ASSERT_TRUE(key.LevelStamp());
    EXPECT_EQ(key.LevelStamp()->Ns, 5000001000);  // whole microseconds, as the kernel stamps
    EXPECT_EQ(key.Level(), platform::TKeyLevel::klOpen);
    ASSERT_TRUE(key.LevelStamp());
    EXPECT_EQ(key.LevelStamp()->Ns, 5000051000);
    EXPECT_EQ(key.Level(), platform::TKeyLevel::klOpen);
}

TEST_F(VirtualInputDeviceTest, EachOpenGetsTheChangesSinceItOpenedOnItsOwnClock) {
    const int first = OpenFile();
    const int64_t offset = ClockNs(CLOCK_REALTIME) - ClockNs(CLOCK_MONOTONIC);
    Send("down 1000000000\n");
    const std::vector<input_event> pressed = Await(first, 2);
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_EQ(pressed[0].type, EV_KEY);
    EXPECT_EQ(pressed[0].code, BTN_LEFT);
    EXPECT_EQ(pressed[0].value, 1);
    EXPECT_EQ(pressed[1].type, EV_SYN);
    // Until told otherwise an open is stamped on the realtime clock.
    EXPECT_NEAR(static_cast<double>(EventNs(pressed[0]) - 1000000000 - offset), 0.0, 1e8);

    const int second = OpenFile();
    input_event event{};
    EXPECT_EQ(::read(second, &event, sizeof event), -1);
    EXPECT_EQ(errno, EAGAIN);
    uint8_t keys[KEY_MAX / 8 + 1] = {};
    ASSERT_GE(::ioctl(second, EVIOCGKEY(sizeof keys), keys), 0);
    EXPECT_EQ(keys[BTN_LEFT / 8], 1 << (BTN_LEFT % 8));
    int clock = CLOCK_MONOTONIC;
    ASSERT_EQ(::ioctl(second, EVIOCSCLOCKID, &clock), 0);

    Send("up 2000000000\n");
    const std::vector<input_event> released = Await(second, 2);
    ASSERT_EQ(released.size(), 2u);
    EXPECT_EQ(released[0].value, 0);
    EXPECT_EQ(released[0].input_event_sec, 2);
    EXPECT_EQ(released[0].input_event_usec, 0);
    EXPECT_EQ(Await(first, 2).size(), 2u);
    ::close(first);
    ::close(second);
}

TEST_F(VirtualInputDeviceTest, AnswersAsAnInputDeviceFile) {
    glob_t found{};
    ASSERT_EQ(::glob((m_mount + "/event*").c_str(), 0, nullptr, &found), 0);
    ASSERT_EQ(found.gl_pathc, 1u);
    EXPECT_EQ(std::string(found.gl_pathv[0]), m_file);
    ::globfree(&found);

    errno = 0;
    EXPECT_EQ(::open(m_file.c_str(), O_RDWR | O_CLOEXEC), -1);
    EXPECT_EQ(errno, EACCES);
    const int fd = OpenFile();
    char small[10];
    EXPECT_EQ(::read(fd, small, sizeof small), -1);
    EXPECT_EQ(errno, EINVAL);
    uint8_t bits[KEY_MAX / 8 + 1] = {};
    EXPECT_EQ(::ioctl(fd, EVIOCGBIT(EV_KEY, sizeof bits), bits), 96);
    for (size_t i = 0; i < sizeof bits; ++i) {
        EXPECT_EQ(bits[i], i == BTN_LEFT / 8 ? 1 << (BTN_LEFT % 8) : 0) << "byte " << i;
    }
    char name[64] = {};
    EXPECT_EQ(::ioctl(fd, EVIOCGNAME(sizeof name), name), 19);
    EXPECT_STREQ(name, "Keyvet virtual key");
    int clock = CLOCK_PROCESS_CPUTIME_ID;
    EXPECT_EQ(::ioctl(fd, EVIOCSCLOCKID, &clock), -1);
    EXPECT_EQ(errno, EINVAL);
    ::close(fd);
}

TEST_F(VirtualInputDeviceTest, ABlockingReadWaitsForAChangeAndEndsOnASignal) {
    const int fd = OpenFile(O_RDONLY);
    std::thread presser([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Send("down 7000000\n");
    });
    input_event events[4];
    EXPECT_EQ(::read(fd, events, sizeof events), static_cast<ssize_t>(2 * sizeof(input_event)));
    presser.join();

    struct sigaction action {};
    action.sa_handler = [](int) {};
    sigemptyset(&action.sa_mask);
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &saved), 0);
    const pthread_t reader = pthread_self();
    std::atomic<bool> ended{false};
    std::thread interrupter([this, reader, &ended] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pthread_kill(reader, SIGUSR1);
        // Should the interruption not end the read, a change does, and the test fails.
        for (int i = 0; i < 300 && !ended; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!ended) {
            Send("up 8000000\n");
        }
    });
    errno = 0;
    const ssize_t got = ::read(fd, events, sizeof events);
    const int error = errno;
    ended = true;
    interrupter.join();
    ::sigaction(SIGUSR1, &saved, nullptr);
    EXPECT_EQ(got, -1);
    EXPECT_EQ(error, EINTR);
    ::close(fd);
}

TEST(VirtualInputDeviceStartTest, AMountThatFailsSaysSoAndLeavesNoControlPipe) {
    const char* daemon = std::getenv("KEYVET_VIRTUAL_DEVICE");
    if (daemon == nullptr || *daemon == '\0') {
        GTEST_SKIP() << "KEYVET_VIRTUAL_DEVICE names no keyvet-virtual-device";
    }
    char folder[] = "/tmp/keyvet-vdev-test-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    std::string missing = std::string(folder) + "/no-such-folder";
    std::string control = std::string(folder) + "/control";
    std::vector<char*> arguments = {const_cast<char*>(daemon), missing.data(), control.data(),
                                    nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, daemon, nullptr, nullptr, arguments.data(), environ), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kNoMount) << "status " << status;
    EXPECT_NE(::access(control.c_str(), F_OK), 0);
    ::unlink(control.c_str());
    ::rmdir(folder);
}

}  // namespace
