// Finding the shipped files beside the program, in its data folder, in the source assets.
#include "ui/AssetFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class AssetFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        m_root =
            fs::temp_directory_path() /
            ("keyvet-assets-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(m_root / "bin");
        fs::create_directories(m_root / "share" / "keyvet");
    }
    void TearDown() override { fs::remove_all(m_root); }
    static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }
    fs::path m_root;
};

TEST_F(AssetFilesTest, LooksBesideTheProgramThenInTheDataFolderThenInTheSourceAssets) {
    const std::vector<std::string> folders = ui::AssetFolders((m_root / "bin").string());
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], (m_root / "bin").string());
    EXPECT_EQ(folders[1], (m_root / "share" / "keyvet").string());
    EXPECT_TRUE(fs::exists(fs::path(folders[2]) / "about.bmp"));
}

TEST_F(AssetFilesTest, TheFirstFolderHoldingTheFileWins) {
    const std::string program = (m_root / "bin").string();
    Touch(m_root / "share" / "keyvet" / "help.htm");
    EXPECT_EQ(ui::FindAsset("help.htm", program),
              (m_root / "share" / "keyvet" / "help.htm").string());
    Touch(m_root / "bin" / "help.htm");
    EXPECT_EQ(ui::FindAsset("help.htm", program), (m_root / "bin" / "help.htm").string());
    // Not installed anywhere: the build tree's source assets.
    EXPECT_EQ(fs::path(ui::FindAsset("about.bmp", program)).filename(), "about.bmp");
}

TEST_F(AssetFilesTest, MissingOrUnnamedFilesAndFoldersAreNotFound) {
    const std::string program = (m_root / "bin").string();
    EXPECT_EQ(ui::FindAsset("no-such-picture.bmp", program), "");
    EXPECT_EQ(ui::FindAsset("", program), "");
    fs::create_directories(m_root / "bin" / "folder.bmp");
    EXPECT_EQ(ui::FindAsset("folder.bmp", program), "");
}

}  // namespace
