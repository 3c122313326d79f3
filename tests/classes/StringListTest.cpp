// The line list of a multi-line box: count rule, past-end reads, long lines.
#include "classes/StringList.h"

#include <gtest/gtest.h>

#include "base/Exceptions.h"

namespace {

TEST(LineListTest, CountLeavesOutOneTrailingEmptyLine) {
    classes::TLineList lines({"Times", ""});
    EXPECT_EQ(lines.Count(), 1);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("");
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("");
    EXPECT_EQ(lines.Count(), 1);  // only the last empty line is left out
    lines.SetRawLines({"5000", "6000"});
    EXPECT_EQ(lines.Count(), 2);
}

TEST(LineListTest, ReadingAtOrPastTheEndGivesAnEmptyLine) {
    classes::TLineList lines({"5000"});
    EXPECT_EQ(lines.Strings(0), "5000");
    EXPECT_EQ(lines.Strings(1), "");
    EXPECT_EQ(lines.Strings(99), "");
    EXPECT_EQ(lines.Strings(-1), "");
}

TEST(LineListTest, ALineIsReadThroughAFixedBuffer) {
    classes::TLineList lines({std::string(5000, '7')});
    EXPECT_EQ(lines.Strings(0).size(), classes::TLineList::kLineBufferChars);
}

TEST(StringListTest, PlainListChecksIndicesAndNotifiesChanges) {
    classes::TStringList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.Add("a");
    list.Insert(0, "b");
    EXPECT_EQ(list.Text(), "b\r\na\r\n");
    try {
        (void)list.Strings(2);
        FAIL();
    } catch (const base::EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (2)");
    }
    EXPECT_THROW(list.Insert(3, "x"), base::EListError);
    EXPECT_EQ(changes, 2);
}

}  // namespace
