#include <gtest/gtest.h>

#include <cstring>

#include "base/Paths.h"
#include "base/ZString.h"
#include "base/ZStringList.h"

TEST(ZString, MidClipsAtTheEndAndIsEmptyPastIt) {
    ZString abc("abc");
    EXPECT_STREQ(abc.Mid(2, 1).GetBuffer(), "");
    EXPECT_STREQ(abc.Mid(5, 9).GetBuffer(), "");
    EXPECT_STREQ(abc.Mid(1, 9).GetBuffer(), "bc");
    EXPECT_STREQ(abc.Mid(0, 0).GetBuffer(), "a");
    EXPECT_STREQ(abc.Mid(-1, 2).GetBuffer(), "");
}

TEST(ZString, FindStartsAtItsIndexAndFailsPastTheEnd) {
    ZString banana("banana");
    EXPECT_EQ(banana.Find('a', 2), 3);
    EXPECT_EQ(banana.Find('a', 6), -1);
    EXPECT_EQ(banana.Find('z', 0), -1);
    EXPECT_EQ(banana.Find('b', 0), 0);
    EXPECT_EQ(banana.Find('a', -3), -1);
}

TEST(ZString, TrimRemovesRunsFromTheChosenEnds) {
    ZString both("  x y  ");
    both.Trim(2, ' ');
    EXPECT_STREQ(both.GetBuffer(), "x y");
    ZString blanks("    ");
    blanks.Trim(2, ' ');
    EXPECT_STREQ(blanks.GetBuffer(), "");
    ZString front("--a-");
    front.Trim(0, '-');
    EXPECT_STREQ(front.GetBuffer(), "a-");
    ZString back("--a-");
    back.Trim(1, '-');
    EXPECT_STREQ(back.GetBuffer(), "--a");
    ZString empty;
    empty.Trim(2, ' ');
    EXPECT_EQ(empty.GetLength(), 0);
}

TEST(ZString, AppendCopyAndConcatenationKeepTheirOwnBuffers) {
    ZString text;
    text.Append('K');
    EXPECT_EQ(text.GetLength(), 1);
    EXPECT_STREQ(text.GetBuffer(), "K");
    ZString copy(text);
    copy.Append(ZString("OVRA"));
    EXPECT_STREQ(text.GetBuffer(), "K");
    EXPECT_STREQ((copy + ZString(" GAMES")).GetBuffer(), "KOVRA GAMES");
    copy = copy;
    EXPECT_STREQ(copy.GetBuffer(), "KOVRA");
    ZString fromNull(static_cast<const char*>(nullptr));
    EXPECT_STREQ(fromNull.GetBuffer(), "");
    text.Append('\0');
    EXPECT_STREQ(text.GetBuffer(), "K");
}

TEST(Paths, DirectoryOfKeepsTheLastSeparator) {
    EXPECT_STREQ(DirectoryOf(ZString("/usr/lib/tintorix/tintorix")).GetBuffer(), "/usr/lib/tintorix/");
    EXPECT_STREQ(DirectoryOf(ZString("/tintorix")).GetBuffer(), "/");
    EXPECT_STREQ(DirectoryOf(ZString("tintorix")).GetBuffer(), "/");
    ZString quoted = QuotedExeFilePath(ZString("Music01.mid"));
    const char* text = quoted.GetBuffer();
    ASSERT_GT(quoted.GetLength(), 13);
    EXPECT_EQ(text[0], '"');
    EXPECT_EQ(text[quoted.GetLength() - 1], '"');
    EXPECT_NE(std::strstr(text, "/Music01.mid\""), nullptr);
}

TEST(ZStringList, OwnsCopiesInInsertionOrder) {
    ZStringList list;
    ZString line("first");
    list.Add(line);
    list.Add(ZString("second"));
    line.Append('!');
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_STREQ(list.GetAt(0).GetBuffer(), "first");
    EXPECT_STREQ(list.GetAt(1).GetBuffer(), "second");
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);
}
