// Help -> Help: the page in the current folder as designed, else the installed copy, and never an
// address of a page that is not there.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "base/FalseWarnings.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/Services.h"

namespace {

// A desktop shell with a scripted file system that records what it was asked to open.
class TScriptedShell : public platform::IShell {
  public:
    bool Open(const std::string& address) override {
        Opened.push_back(address);
        return true;
    }
    std::string CurrentDirectory() override { return Directory; }
    bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
    std::string InstalledDocument(const std::string& name) override {
        return Installed.empty() ? "" : Installed + "/" + name;
    }

    std::string Directory;
    std::set<std::string> Files;
    std::string Installed;  // folder of the installed documents; empty when none
    std::vector<std::string> Opened;
};

class TRecordedDialogs : public platform::IDialogs {
  public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void Beep() override {}
    std::vector<std::string> Messages;
};

class HelpPageTest : public ::testing::Test {
  protected:
    HelpPageTest() {
        app::RegisterClasses();
        m_form = std::make_unique<app::TForm1>(nullptr);
    }
    void ClickHelp() {
        platform::TScopedServices services(
            platform::TServices{nullptr, nullptr, nullptr, &m_dialogs, &m_shell});
        m_form->Help2Click(nullptr);
    }

    platform::TIsolatedSystemServices m_system;
    std::unique_ptr<app::TForm1> m_form;
    TScriptedShell m_shell;
    TRecordedDialogs m_dialogs;
};

TEST_F(HelpPageTest, ThePageInTheCurrentFolderIsOpenedAsDesigned) {
    m_shell.Directory = "/home/op/morse";
    m_shell.Files = {"/home/op/morse/help.htm"};
    m_shell.Installed = "/usr/share/doc/keyvet";
    ClickHelp();
    ASSERT_EQ(m_shell.Opened.size(), 1u);
    EXPECT_EQ(m_shell.Opened[0], "file:///home/op/morse/help.htm");
    EXPECT_TRUE(m_dialogs.Messages.empty());
}

// GCC 12 at -O3 raises its false -Wrestrict on the assignment of "/" here.
KEYVET_FALSE_RESTRICT_BEGIN
TEST_F(HelpPageTest, WithoutAPageInTheCurrentFolderTheInstalledCopyIsOpened) {
    m_shell.Directory = "/home/op";  // started from the desktop's menu
    m_shell.Installed = "/usr/share/doc/keyvet";
    ClickHelp();
    ASSERT_EQ(m_shell.Opened.size(), 1u);
    EXPECT_EQ(m_shell.Opened[0], "file:///usr/share/doc/keyvet/help.htm");
    // The root folder ends in its own slash: no double slash in the path looked for.
    m_shell.Directory = "/";
    m_shell.Files = {"/help.htm"};
    ClickHelp();
    ASSERT_EQ(m_shell.Opened.size(), 2u);
    EXPECT_EQ(m_shell.Opened[1], "file:///help.htm");
}
KEYVET_FALSE_RESTRICT_END

TEST_F(HelpPageTest, WithNoPageAnywhereNothingIsOpenedAndTheOperatorIsTold) {
    m_shell.Directory = "/tmp/empty";
    ClickHelp();
    EXPECT_TRUE(m_shell.Opened.empty());
    ASSERT_EQ(m_dialogs.Messages.size(), 1u);
    EXPECT_EQ(m_dialogs.Messages[0],
              "The help page help.htm is neither in /tmp/empty/ nor installed.");
}

}  // namespace
