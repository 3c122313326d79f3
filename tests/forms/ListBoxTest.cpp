// The list box's picked item follows its items, and menu items can be put in any place.
#include <gtest/gtest.h>

#include "forms/Menus.h"
#include "forms/StdCtrls.h"

namespace {

TEST(ListBoxTest, TheItemIndexStaysInsideTheItems) {
    forms::TListBox list(nullptr);
    EXPECT_EQ(-1, list.ItemIndex());
    list.SetItemIndex(0);  // nothing to pick
    EXPECT_EQ(-1, list.ItemIndex());
    list.Items().SetRawLines({"a", "b", "c"});
    list.SetItemIndex(2);
    EXPECT_EQ(2, list.ItemIndex());
    list.SetItemIndex(3);
    EXPECT_EQ(-1, list.ItemIndex());
    list.SetItemIndex(1);
    list.SetItemIndex(-7);
    EXPECT_EQ(-1, list.ItemIndex());
    list.SetItemIndex(2);
    list.Items().Delete(0);  // the picked line is now past the end
    EXPECT_EQ(-1, list.ItemIndex());
    list.SetItemIndex(1);
    list.Items().Clear();
    EXPECT_EQ(-1, list.ItemIndex());
}

TEST(MenuItemTest, InsertPutsAnItemInPlaceAndMovesOneAlreadyThere) {
    forms::TMenuItem root(nullptr);
    forms::TMenuItem a(nullptr), b(nullptr), c(nullptr);
    root.Add(&a);
    root.Add(&b);
    root.Insert(0, &c);
    ASSERT_EQ(3, root.Count());
    EXPECT_EQ(&c, root.Items(0));
    EXPECT_EQ(&a, root.Items(1));
    EXPECT_EQ(&root, c.ParentItem());
    root.Insert(99, &c);  // past the end: last
    EXPECT_EQ(&c, root.Items(2));
    EXPECT_EQ(3, root.Count());
    root.Insert(1, &c);
    EXPECT_EQ(&a, root.Items(0));
    EXPECT_EQ(&c, root.Items(1));
    EXPECT_EQ(&b, root.Items(2));
    root.Remove(&a);
    root.Remove(&b);
    root.Remove(&c);
}

}  // namespace
