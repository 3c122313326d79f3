// A private folder under the test temporary directory, removed with everything in it at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace testsupport {

class TTempFolder {
  public:
    explicit TTempFolder(const std::string& prefix = "keyvet-test") {
        std::string pattern = ::testing::TempDir() + prefix + "-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
        EXPECT_FALSE(m_path.empty()) << "cannot create a temporary folder";
    }
    ~TTempFolder() {
        std::error_code ignored;
        // A test may have taken write permission away.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

}  // namespace testsupport
