// The drop-down list and the check box: choosing by index, the chosen item's text as caption,
// items that shrink under the choice, the check box's click, the menu's Insert, and both
// controls through design data and back.
#include "forms/ChoiceCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Menus.h"

namespace {

TEST(ChoiceCtrlsTest, AComboBoxChoosesByIndexAndTellsItsHandler) {
    forms::TComboBox box(nullptr);
    box.Items().Add("DSR");
    box.Items().Add("CTS");
    std::vector<int32_t> told;
    box.SetOnChange({"Changed", [&](classes::TPersistent*) { told.push_back(box.ItemIndex()); }});
    box.SetItemIndex(1);
    EXPECT_EQ(box.Caption(), "CTS");
    box.SetItemIndex(2);  // one past the end: nothing chosen
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Caption(), "");
    box.SetItemIndex(0);
    EXPECT_EQ(told, (std::vector<int32_t>{1, -1, 0}));
    EXPECT_EQ(box.IndexOf("CTS"), 1);
    EXPECT_EQ(box.IndexOf("cts"), -1);
    // Items that no longer reach the choice drop it; a choice still there stays.
    box.SetItemIndex(1);
    box.Items().Delete(1);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Caption(), "");
}

TEST(ChoiceCtrlsTest, ACheckBoxClickFlipsItThenRunsTheHandler) {
    forms::TCheckBox box(nullptr);
    std::vector<bool> seen;
    box.SetOnClick({"Clicked", [&](classes::TPersistent*) { seen.push_back(box.Checked()); }});
    box.Click();
    box.Click();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    box.SetChecked(true);  // setting it in code is no click
    EXPECT_EQ(seen.size(), 2u);
}

class TChoiceForm : public forms::TForm {
  public:
    explicit TChoiceForm(classes::TComponent* owner) : forms::TForm(owner) {}
    static const classes::TClassInfo& StaticClass() {
        static const classes::TClassInfo info =
            classes::TClassBuilder<TChoiceForm>("TChoiceForm", &forms::TForm::StaticClass())
                .Build();
        return info;
    }
    const classes::TClassInfo& ClassInfo() const override { return StaticClass(); }
};

TEST(ChoiceCtrlsTest, BothComeFromDesignDataAndWriteBackTheSame) {
    forms::RegisterControlClasses();
    const std::string text =
        "object Form: TChoiceForm\n"
        "  object Box: TComboBox\n"
        "    Items = (\n"
        "      'Right mouse button'\n"
        "      'Keyboard key')\n"
        "  end\n"
        "  object Check: TCheckBox\n"
        "    Caption = 'Inverted'\n"
        "    Checked = True\n"
        "  end\n"
        "end\n";
    TChoiceForm form(nullptr);
    classes::ReadComponent(text, form);
    auto& box = dynamic_cast<forms::TComboBox&>(*form.FindComponent("Box"));
    auto& check = dynamic_cast<forms::TCheckBox&>(*form.FindComponent("Check"));
    EXPECT_EQ(box.Items().Count(), 2);
    EXPECT_EQ(box.Items().Strings(1), "Keyboard key");
    EXPECT_TRUE(check.Checked());
    const std::string written = classes::WriteComponent(form);
    TChoiceForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);
    EXPECT_NE(written.find("Checked = True"), std::string::npos);
}

TEST(ChoiceCtrlsTest, MenuInsertPlacesAndMovesItems) {
    forms::TMenuItem root(nullptr);
    forms::TMenuItem a(nullptr), b(nullptr), c(nullptr);
    root.Add(&a);
    root.Add(&b);
    root.Insert(1, &c);   // a c b
    root.Insert(0, &b);   // b a c: moved, not doubled
    root.Insert(99, &a);  // b c a: past the end is the end
    ASSERT_EQ(root.Count(), 3);
    EXPECT_EQ(root.Items(0), &b);
    EXPECT_EQ(root.Items(1), &c);
    EXPECT_EQ(root.Items(2), &a);
    EXPECT_EQ(a.ParentItem(), &root);
}

}  // namespace
