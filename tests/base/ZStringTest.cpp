#include <filesystem>
#include <tuple>

#include "base/Paths.h"
#include "base/ZStringList.h"
#include "support/TestSupport.h"

static std::string Text(const ZString& text) { return text.GetBuffer(); }

TEST(ZString, MidFindTrimAndAppendFollowTheirIndexRules) {
    const std::tuple<int, int, const char*> mids[] = {{2, 1, ""},   {5, 9, ""},  {3, 3, ""},   {-1, 2, ""},
                                                      {1, 9, "bc"}, {0, 0, "a"}, {0, 2, "abc"}};
    for (const auto& [first, last, result] : mids)
        EXPECT_EQ(Text(ZString("abc").Mid(first, last)), result) << first << ".." << last;
    for (const auto& [c, start, index] :
         {std::tuple('a', 2, 3), {'a', 5, 5}, {'a', 6, -1}, {'z', 0, -1}, {'b', 0, 0}, {'a', -3, -1}}) {
        EXPECT_EQ(ZString("banana").Find(c, start), index) << c << " from " << start;
    }
    const std::tuple<const char*, int, const char*> trims[] = {
        {"  x y  ", 2, "x y"}, {"    ", 2, ""}, {"  a ", 0, "a "}, {"  a ", 1, "  a"}, {"", 2, ""},
        {"    ", 0, ""},       {"    ", 1, ""}, {"a  ", 0, "a  "}, {"  a", 1, "  a"},  {" a ", 3, " a "}};
    for (const auto& [text, mode, result] : trims) {
        ZString trimmed(text);
        trimmed.Trim(mode, ' ');
        EXPECT_EQ(Text(trimmed), result) << '"' << text << "\" mode " << mode;
    }
    ZString text('K'), copy(text);
    text.Append('\0');  // a zero byte would end the text
    copy.Append(ZString("OVRA"));
    copy = copy;
    EXPECT_EQ(Text(copy + ZString(" GAMES")) + Text(text) + Text(ZString(static_cast<const char*>(nullptr))),
              "KOVRA GAMESK");
    EXPECT_TRUE(text.GetLength() == 1 && ZString("ab") == ZString("ab") &&
                !(ZString("ab") == ZString("abc")));
}

TEST(ZStringList, KeepsCopiesInOrderAndTheMusicIsLookedForBesideTheExecutableThenInShare) {
    ZStringList list;
    ZString line("first");
    list.Add(line);
    list.Add(ZString("second"));
    line.Append('!');
    EXPECT_EQ(std::to_string(list.GetCount()) + Text(list.GetAt(0)) + Text(list.GetAt(1)), "2firstsecond");
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(Text(DirectoryOf(ZString("/usr/lib/x/tintorix"))) + Text(DirectoryOf(ZString("/x"))) +
                  Text(DirectoryOf(ZString("x"))) + Text(DirectoryOf(ZString("a/b"))), "/usr/lib/x///a/");
    const std::string directory = Text(GetExeDirectory());
    EXPECT_TRUE(std::filesystem::exists(directory + "tintorix-tests")) << directory;
    EXPECT_EQ(Text(QuotedExeFilePath(ZString("Music01.mid"))), "\"" + directory + "Music01.mid\"");
    // Each entry lists the paths that exist; the shared copy is taken only when it is there alone.
    const std::string shared = "/g/../share/tintorix/M";
    for (const std::string& files : {"/g/M " + shared, shared, std::string()}) {
        auto exists = [&files](const char* path) { return files.find(path) != std::string::npos; };
        EXPECT_EQ(Text(FindDataFile(ZString("/g/"), ZString("M"), exists)),
                  files == shared ? shared : "/g/M");
    }
}
