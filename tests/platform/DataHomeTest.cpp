// The data home follows the desktop's rules, and a private run never sees the user's.
#include "platform/DataHome.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IsolatedSystemServices.h"

namespace {

TEST(DataHomeTest, AnAbsoluteXdgDataHomeWinsElseHomeLocalShare) {
    EXPECT_EQ("/data/me", platform::DataHomeFromEnvironment("/data/me", "/home/me"));
    EXPECT_EQ("/home/me/.local/share", platform::DataHomeFromEnvironment(nullptr, "/home/me"));
    // Relative or empty values are invalid and are ignored.
    EXPECT_EQ("/home/me/.local/share", platform::DataHomeFromEnvironment("data", "/home/me/"));
    EXPECT_EQ("/home/me/.local/share", platform::DataHomeFromEnvironment("", "/home/me"));
    EXPECT_EQ("", platform::DataHomeFromEnvironment(nullptr, nullptr));
    EXPECT_EQ("", platform::DataHomeFromEnvironment("relative", ""));
}

TEST(DataHomeTest, ReplacementsNestAndAreUndone) {
    const std::string user = platform::UserDataHome();
    {
        const platform::TScopedDataHome outer("/outer");
        {
            const platform::TScopedDataHome inner("");
            EXPECT_EQ("", platform::UserDataHome());
        }
        EXPECT_EQ("/outer", platform::UserDataHome());
    }
    EXPECT_EQ(user, platform::UserDataHome());
}

TEST(DataHomeTest, AnIsolatedRunHasAPrivateDataHomeRemovedAfterwards) {
    const std::string user = platform::UserDataHome();
    std::string isolated;
    {
        const platform::TIsolatedSystemServices system;
        isolated = platform::UserDataHome();
        EXPECT_NE(user, isolated);
        ASSERT_FALSE(isolated.empty());
        std::filesystem::create_directories(isolated + "/keyvet");
    }
    EXPECT_EQ(user, platform::UserDataHome());
    EXPECT_FALSE(std::filesystem::exists(isolated));
}

}  // namespace
