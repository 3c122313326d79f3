// Toolkit-neutral controls: change notification to the view, the parent's font, programmatic
// clicks, window frames, the menu tree and the application's exception display.
#include "forms/Control.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "platform/Services.h"

namespace {

struct TRecordingView : forms::IControlView {
    std::vector<forms::TControlChange> changes;
    bool destroyed = false;
    void ControlChanged(forms::TControl&, forms::TControlChange change) override {
        changes.push_back(change);
    }
    void ControlDestroyed(forms::TControl&) override { destroyed = true; }
};

TEST(ControlTest, SettersTellTheViewOnlyAboutRealChanges) {
    TRecordingView view;
    auto button = std::make_unique<forms::TButton>(nullptr);
    button->SetView(&view);
    button->SetCaption("Start");
    button->SetCaption("Start");
    button->SetEnabled(false);
    button->SetBounds(8, 277, 137, 25);
    button->SetBounds(8, 277, 137, 25);
    using C = forms::TControlChange;
    EXPECT_EQ(view.changes, (std::vector<C>{C::ccCaption, C::ccEnabled, C::ccBounds}));
    button.reset();
    EXPECT_TRUE(view.destroyed);
}

TEST(ControlTest, ChildrenShowTheParentsFontUntilTheyGetTheirOwn) {
    forms::TForm form(nullptr);
    auto* label = new forms::TLabel(&form);
    auto* edit = new forms::TEdit(&form);
    label->SetParent(&form);
    edit->SetParent(&form);
    form.Font().SetHeight(-13);
    EXPECT_EQ(label->Font().Height(), -13);
    EXPECT_TRUE(label->ParentFont());
    edit->Font().SetHeight(-16);  // a font of its own
    EXPECT_FALSE(edit->ParentFont());
    form.Font().SetName("Arial");
    EXPECT_EQ(label->Font().Name(), "Arial");
    EXPECT_EQ(edit->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(edit->Font().Height(), -16);
    edit->SetParentFont(true);
    EXPECT_EQ(edit->Font().Height(), -13);
}

TEST(ControlTest, AProgrammaticClickRunsTheHandlerWhateverTheButtonsState) {
    forms::TButton button(nullptr);
    int clicks = 0;
    button.SetOnClick({"Click", [&clicks](classes::TPersistent*) { ++clicks; }});
    button.SetEnabled(false);
    button.SetVisible(false);
    button.Click();
    EXPECT_EQ(clicks, 1);
    forms::TButton silent(nullptr);
    silent.Click();  // no handler: nothing happens
}

TEST(ControlTest, FreeingAContainerFirstLeavesItsChildrenWithoutAParent) {
    auto panel = std::make_unique<forms::TWinControl>(nullptr);
    forms::TLabel label(nullptr);
    label.SetParent(panel.get());
    EXPECT_EQ(panel->ControlCount(), 1);
    panel.reset();
    EXPECT_EQ(label.Parent(), nullptr);
}

TEST(FormTest, ClientSizeIsTheOuterSizeLessTheFrame) {
    forms::TForm form(nullptr);
    form.SetBounds(0, 0, 798, 631);
    EXPECT_EQ(form.ClientWidth(), 798 - 2 * forms::kFrameBorder);
    EXPECT_EQ(form.ClientHeight(), 631 - 2 * forms::kFrameBorder - forms::kFrameCaption);
    forms::TMainMenu menu(nullptr);
    form.SetMenu(&menu);
    EXPECT_EQ(form.ClientHeight(),
              631 - 2 * forms::kFrameBorder - forms::kFrameCaption - forms::kFrameMenu);
    form.SetBorderStyle(forms::TFormBorderStyle::bsDialog);
    form.SetClientWidth(298);
    form.SetClientHeight(187);
    EXPECT_EQ(form.ClientWidth(), 298);
    EXPECT_EQ(form.ClientHeight(), 187);
}

TEST(FormTest, AFreedMenuIsForgottenByItsWindow) {
    forms::TForm form(nullptr);
    auto* menu = new forms::TMainMenu(&form);
    form.SetMenu(menu);
    delete menu;
    EXPECT_EQ(form.Menu(), nullptr);
}

TEST(MenuTest, ItemsNestAndClickTheirHandler) {
    forms::TMainMenu menu(nullptr);
    forms::TMenuItem help(nullptr);
    forms::TMenuItem about(nullptr);
    help.SetParentComponent(&menu);
    about.SetParentComponent(&help);
    ASSERT_EQ(menu.Items().Count(), 1);
    EXPECT_EQ(menu.Items().Items(0), &help);
    EXPECT_EQ(about.ParentItem(), &help);
    bool clicked = false;
    about.SetOnClick({"About1Click", [&clicked](classes::TPersistent*) { clicked = true; }});
    about.Click();
    EXPECT_TRUE(clicked);
    forms::TButton notAMenu(nullptr);
    EXPECT_THROW(about.SetParentComponent(&notAMenu), classes::EComponentError);
}

TEST(ApplicationTest, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
    struct TDialogs : platform::IDialogs {
        std::vector<std::string> shown;
        void ShowMessage(const std::string& text) override { shown.push_back(text); }
        void Beep() override { shown.push_back("beep"); }
    } dialogs;
    platform::TScopedServices services({nullptr, nullptr, nullptr, &dialogs, nullptr});
    forms::TApplication& application = forms::TApplication::Instance();
    application.Dispatch([] { throw std::runtime_error("Division by zero"); });
    bool ranAfter = false;
    application.Dispatch([&ranAfter] { ranAfter = true; });
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Division by zero"}));
    EXPECT_TRUE(ranAfter);
}

}  // namespace
