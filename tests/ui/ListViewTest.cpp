// The list box's widget, without a display: it shows the items as they are (no format codes),
// follows the picked item both ways, and a pick runs the click handler; the File menu heads the
// main window's menu bar.
#include "ui/ListViews.h"

#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Menu_Bar.H>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/FileMenu.h"
#include "app/HistoryForm.h"
#include "app/MainForm.h"
#include "app/RunHistory.h"
#include "app/Startup.h"
#include "support/TempFolder.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"

namespace {

class ListViewTest : public testing::Test {
  protected:
    void SetUp() override {
        forms::TApplication& application = forms::TApplication::Instance();
        application.ResetTerminated();
        app::CreateWindows();
        m_form1 = dynamic_cast<app::TForm1*>(application.MainForm());
        ASSERT_NE(m_form1, nullptr);
        app::AddFileMenu(*m_form1, m_runHistory);
        for (int32_t i = 0; i < application.FormCount(); ++i) {
            if (auto* history = dynamic_cast<app::THistoryForm*>(application.Forms(i))) {
                m_history = history;
            }
        }
        ASSERT_NE(m_history, nullptr);
        m_frontEnd = std::make_unique<ui::TFrontEnd>(application);
        m_frontEnd->BindForms();
    }
    void TearDown() override {
        m_frontEnd.reset();
        forms::TApplication::Instance().DestroyForms();
        forms::TApplication::Instance().ResetTerminated();
    }
    // The browser measures its lines with the display's fonts as they are added.
    static bool HasDisplay() {
        const char* display = std::getenv("DISPLAY");
        return display != nullptr && *display != '\0';
    }
    Fl_Hold_Browser& Browser() {
        ui::TControlView* view = m_frontEnd->ViewOf(*m_history)->ViewOf("Runs");
        EXPECT_NE(view, nullptr);
        return *static_cast<Fl_Hold_Browser*>(view->Widget());
    }

    testsupport::TTempFolder m_folder;
    app::TRunHistory m_runHistory{m_folder.Path()};
    std::unique_ptr<ui::TFrontEnd> m_frontEnd;
    app::TForm1* m_form1 = nullptr;
    app::THistoryForm* m_history = nullptr;
};

TEST_F(ListViewTest, TheBrowserShowsTheItemsAndFollowsThePick) {
    if (!HasDisplay()) {
        GTEST_SKIP() << "needs a display";
    }
    forms::TListBox& list = m_history->RunList();
    list.Items().SetRawLines({"first", "@C1second", "third"});
    Fl_Hold_Browser& browser = Browser();
    ASSERT_EQ(3, browser.size());
    // '@' is text, not a format code: "@." before it shows the rest as it stands.
    EXPECT_EQ('@', browser.format_char());
    EXPECT_STREQ("@.@C1second", browser.text(2));
    EXPECT_STREQ("first", browser.text(1));
    EXPECT_EQ(0, browser.value());
    list.SetItemIndex(2);
    EXPECT_EQ(3, browser.value());
    list.Items().Put(0, "changed");
    EXPECT_STREQ("changed", browser.text(1));
    EXPECT_EQ(3, browser.value());
    // A dimmed item is drawn in the inactive grey, its text still shown as it stands.
    list.SetDimmedItems({false, true, true});
    EXPECT_STREQ("changed", browser.text(1));
    EXPECT_STREQ("@C8@.@C1second", browser.text(2));
    EXPECT_STREQ("@C8@.third", browser.text(3));
    list.SetDimmedItems({});
    EXPECT_STREQ("third", browser.text(3));
}

TEST_F(ListViewTest, APickInTheBrowserSetsTheIndexAndRunsTheClickHandler) {
    if (!HasDisplay()) {
        GTEST_SKIP() << "needs a display";
    }
    forms::TListBox& list = m_history->RunList();
    list.Items().SetRawLines({"a", "b"});
    int clicks = 0;
    int32_t indexSeen = -2;
    list.SetOnClick({"Picked", [&](classes::TPersistent*) {
                         ++clicks;
                         indexSeen = list.ItemIndex();
                     }});
    Fl_Hold_Browser& browser = Browser();
    browser.value(2);
    browser.do_callback();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(1, indexSeen);
}

TEST_F(ListViewTest, FileHeadsTheMainWindowsMenuBar) {
    Fl_Menu_Bar* bar = m_frontEnd->ViewOf(*m_form1)->MenuBar();
    ASSERT_NE(bar, nullptr);
    const Fl_Menu_Item* first = bar->menu();
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ("File", first->label());
    EXPECT_STREQ("Export run as CSV\u2026", (first + 1)->label());
}

}  // namespace
