// Start-up: the six windows in their order from their design data, and the main window's
// controls, fonts and initial state as designed.
#include "app/Startup.h"

#include <gtest/gtest.h>

#include <locale.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/AboutBox.h"
#include "app/DesignTexts.h"
#include "app/MainForm.h"
#include "base/Conversions.h"
#include "chart/engine/Series.h"
#include "classes/DesignData.h"
#include "forms/Application.h"
#include "platform/IsolatedSystemServices.h"

namespace {

class StartupTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_system = std::make_unique<platform::TIsolatedSystemServices>();
        app::CreateWindows();
    }
    static void TearDownTestSuite() {
        forms::TApplication::Instance().DestroyForms();
        s_system.reset();
    }
    static inline std::unique_ptr<platform::TIsolatedSystemServices> s_system;
    static forms::TApplication& Application() { return forms::TApplication::Instance(); }
    static app::TForm1& Main() { return dynamic_cast<app::TForm1&>(*Application().MainForm()); }
};

TEST_F(StartupTest, SixWindowsInOrderOnlyTheMainOneEverShown) {
    // The six windows of the design first; the later ones (the coach's) follow them.
    ASSERT_GE(Application().FormCount(), 6);
    for (int i = 6; i < Application().FormCount(); ++i) {
        EXPECT_FALSE(Application().Forms(i)->Visible()) << Application().Forms(i)->ClassName();
    }
    const char* const classes[] = {"TForm1", "TForm2", "TAboutBox",
                                   "TForm4", "TForm5", "TAboutBox1"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Application().Forms(i)->ClassName(), classes[i]);
        EXPECT_FALSE(Application().Forms(i)->Visible()) << classes[i];  // shown by start-up
    }
    EXPECT_EQ(Application().Forms(1)->Caption(), "Form2");
    EXPECT_EQ(Application().Forms(3)->Width(), 1088);
    EXPECT_EQ(Application().Forms(3)->Height(), 563);
    const forms::TForm& about = *Application().Forms(2);
    EXPECT_EQ(about.Caption(), "About Keyvet");
    EXPECT_EQ(about.ClientWidth(), 298);
    EXPECT_EQ(about.ClientHeight(), 187);
    EXPECT_EQ(about.Position(), forms::TPosition::poScreenCenter);
}

TEST_F(StartupTest, MainWindowAsDesigned) {
    app::TForm1& form = Main();
    EXPECT_EQ(form.Caption(), "Morse Keyvet version 2:  Pelvar Tavik July 2012");
    EXPECT_EQ(form.Width(), 798);
    EXPECT_EQ(form.Height(), 631);
    EXPECT_EQ(form.Position(), forms::TPosition::poScreenCenter);
    ASSERT_NE(form.Menu(), nullptr);
    // Help, as designed, stays the last menu; later menus come before it.
    const int32_t menus = form.Menu()->Items().Count();
    ASSERT_GE(menus, 1);
    const forms::TMenuItem& help = *form.Menu()->Items().Items(menus - 1);
    EXPECT_EQ(help.Caption(), "Help");
    ASSERT_EQ(help.Count(), 2);
    EXPECT_EQ(help.Items(0)->Caption(), "About");
    EXPECT_TRUE(static_cast<bool>(help.Items(1)->OnClick()));

    // Button states after start-up: Start enabled, Finish and Analyze disabled, Analyze hidden.
    EXPECT_TRUE(form.Start().Enabled());
    EXPECT_EQ(form.Start().Caption(), "Start");
    EXPECT_FALSE(form.Button1().Enabled());
    EXPECT_FALSE(form.Button2().Enabled());
    EXPECT_FALSE(form.Button2().Visible());
    EXPECT_EQ(form.Start().Left(), 8);
    EXPECT_EQ(form.Start().Top(), 277);
    EXPECT_EQ(form.Start().Width(), 137);
    EXPECT_EQ(form.Start().Anchors(), forms::AnchorBit(forms::TAnchorKind::akLeft) |
                                          forms::AnchorBit(forms::TAnchorKind::akBottom));

    // Fonts: Start is 11-pixel bold black; Edit7 16-pixel bold blue; Label12 the other face.
    EXPECT_EQ(form.Start().Font().Height(), -11);
    EXPECT_TRUE(form.Start().Font().Style().Contains(gfx::TFontStyle::fsBold));
    EXPECT_EQ(form.Start().Font().Color(), gfx::clBlack);
    EXPECT_EQ(form.Button1().Font().Color(), gfx::clWindowText);
    EXPECT_EQ(form.Edit(7).Font().Height(), -16);
    EXPECT_EQ(form.Edit(7).Font().Color(), gfx::clBlue);
    EXPECT_EQ(form.Edit(12).Left(), 608);
    auto* label12 = dynamic_cast<forms::TLabel*>(form.FindComponent("Label12"));
    ASSERT_NE(label12, nullptr);
    EXPECT_EQ(label12->Font().Name(), "Microsoft Sans Serif");
    EXPECT_EQ(form.Label1().Font().Name(), "MS Sans Serif");  // the window's default font
    EXPECT_EQ(form.Label1().Font().Height(), -11);

    // Result boxes empty; data boxes hidden with their initial lines.
    for (int i = 1; i <= 13; ++i) {
        EXPECT_EQ(form.Edit(i).Text(), "") << i;
        EXPECT_EQ(form.Edit(i).Height(), 28) << i;
    }
    EXPECT_EQ(form.Memo(2).Lines().Count(), 1);  // "Times" and one empty line
    EXPECT_EQ(form.Memo(6).Lines().Strings(0), "Memo6");
    EXPECT_FALSE(form.Memo(1).Visible());
    EXPECT_EQ(form.Series1().PointCount(), 0);
}

TEST_F(StartupTest, DesignDataWritesBackToWhatItRead) {
    // Write the main window, read it into a fresh one, write again: the same text, but for the
    // menus added in code after start-up (the Run and Options menus before Help).
    std::string written = classes::WriteComponent(Main());
    const size_t runMenu = written.find("    object Run1: TMenuItem\n");
    ASSERT_NE(runMenu, std::string::npos);
    written.erase(runMenu, written.find("    object Help1: TMenuItem\n") - runMenu);
    app::TForm1 again(nullptr);
    EXPECT_EQ(classes::WriteComponent(again), written);
    // The designed caption of Start, not one a run gives it.
    EXPECT_NE(written.find("Caption = 'Start'"), std::string::npos);
    EXPECT_EQ(written.find("Caption = 'Re-start"), std::string::npos);
    EXPECT_EQ(written.find("Tag = "), std::string::npos);  // defaults are not stored
}

TEST_F(StartupTest, AboutBoxOpensOnTopAndHidesOnOk) {
    app::TForm1& form = Main();
    auto& about = dynamic_cast<app::TAboutBox&>(*Application().Forms(2));
    forms::TMenuItem& help = *form.Menu()->Items().Items(form.Menu()->Items().Count() - 1);
    help.Items(0)->Click();
    EXPECT_TRUE(about.Visible());
    help.Items(0)->Click();  // a second click only brings it forward
    EXPECT_TRUE(about.Visible());
    dynamic_cast<forms::TButton&>(*about.FindComponent("OKButton")).Click();
    EXPECT_FALSE(about.Visible());
    EXPECT_FALSE(Application().Terminated());  // hiding the About box does not end the program
}

// Start-up under a locale whose decimal separator is a comma (installed by scripts/setup); the
// environment, the number formats and the windows are put back afterwards.
class StartupLocaleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* all = std::getenv("LC_ALL")) {
            m_savedAll = all;
        }
        m_savedSettings = base::FormatSettings();
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        m_system = std::make_unique<platform::TIsolatedSystemServices>();
    }
    void TearDown() override {
        forms::TApplication::Instance().DestroyForms();
        m_system.reset();
        base::FormatSettings() = m_savedSettings;
        if (m_savedAll) {
            setenv("LC_ALL", m_savedAll->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }

  private:
    std::unique_ptr<platform::TIsolatedSystemServices> m_system;
    std::optional<std::string> m_savedAll;
    base::TFormatSettings m_savedSettings;
};

TEST_F(StartupLocaleTest, ResultBoxesShowTheLocalesDecimalSeparator) {
    const locale_t german = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
    ASSERT_NE(german, static_cast<locale_t>(0))
        << "the de_DE.UTF-8 locale is missing: run scripts/setup";
    freelocale(german);
    app::CreateWindows();
    auto& form = dynamic_cast<app::TForm1&>(*forms::TApplication::Instance().MainForm());
    // The worked example's transition times, analysed: boxes 5, 6 and 12 hold fractions.
    classes::TLineList& times = form.Memo(1).Lines();
    times.Clear();
    for (const char* t : {"100", "164", "216", "396", "454", "516", "686", "861", "911", "977",
                          "1033", "1223", "1408", "1468"}) {
        times.Add(t);
    }
    form.Button2().Click();
    EXPECT_EQ(form.Edit(5).Text(), "2,00854700854701");
    EXPECT_EQ(form.Edit(6).Text(), "1,16666666666667");
    EXPECT_EQ(form.Edit(12).Text(), "0,994350282485876");
    EXPECT_EQ(form.Edit(1).Text(), "63");
}

}  // namespace
