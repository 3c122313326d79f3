// The default Linux services: a tick count that starts with the program, and a desktop shell
// whose xdg-open leaves no zombie child behind.
#include "platform/Services.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

// Milliseconds since this process started, from the kernel's own records.
double ProcessAgeMs() {
    std::ifstream statFile("/proc/self/stat");
    const std::string stat((std::istreambuf_iterator<char>(statFile)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) {  // field 22: start time in clock ticks after boot
        fields >> field;
    }
    double uptimeSeconds = 0;
    std::ifstream("/proc/uptime") >> uptimeSeconds;
    return (uptimeSeconds - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000;
}

// Children of this process that have ended but were not reaped.
int ZombieChildren() {
    int zombies = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;  // not a process
        }
        // Read with stdio: a process may end while it is read, which is no error here.
        std::FILE* file = std::fopen((entry.path() / "stat").c_str(), "r");
        if (file == nullptr) {
            continue;
        }
        char buffer[1024] = {};
        const size_t got = std::fread(buffer, 1, sizeof buffer - 1, file);
        std::fclose(file);
        const std::string stat(buffer, got);
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream fields(stat.substr(close + 2));
        char state = 0;
        long parent = 0;
        fields >> state >> parent;
        zombies += state == 'Z' && parent == getpid() ? 1 : 0;
    }
    return zombies;
}

TEST(ServicesTest, TheTickCountStartsWithTheProgramNotWithTheMachine) {
    platform::IClock& clock = *platform::Services().Clock;
    const uint32_t first = clock.TickCount();
    EXPECT_LE(first, ProcessAgeMs() + 1000);  // a second for the coarse clock-tick records
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t second = clock.TickCount();
    EXPECT_GE(second - first, 30u);
    EXPECT_LT(second - first, 10000u);
}

TEST(ServicesTest, EachHelpOpeningIsReapedWhenItEnds) {
    char folder[] = "/tmp/keyvet-shell-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    const std::string opened = std::string(folder) + "/opened";
    {
        std::ofstream script(std::string(folder) + "/xdg-open");
        script << "#!/bin/sh\nsleep 0.2\necho \"$1\" >>" << opened << "\n";
    }
    std::filesystem::permissions(std::string(folder) + "/xdg-open",
                                 std::filesystem::perms::owner_all);
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (std::string(folder) + ":" + savedPath).c_str(), 1);
    platform::Services().Shell->Open("file:///one/help.htm");
    platform::Services().Shell->Open("file:///two/help.htm");
    setenv("PATH", savedPath.c_str(), 1);

    std::string lines;
    for (int i = 0; i < 200 && std::count(lines.begin(), lines.end(), '\n') < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(opened);
        lines.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(lines.find("file:///one/help.htm\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find("file:///two/help.htm\n"), std::string::npos) << lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // both have ended by now
    EXPECT_EQ(ZombieChildren(), 0);
    std::filesystem::remove_all(folder);
}

}  // namespace
