// The default Linux services: a tick count that starts with the program.
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

TEST(ServicesTest, TheTickCountStartsWithTheProgramNotWithTheMachine) {
    platform::IClock& clock = *platform::Services().Clock;
    const uint32_t first = clock.TickCount();
    EXPECT_LE(first, ProcessAgeMs() + 1000);  // a second for the coarse clock-tick records
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t second = clock.TickCount();
    EXPECT_GE(second - first, 30u);
    EXPECT_LT(second - first, 10000u);
}

}  // namespace
