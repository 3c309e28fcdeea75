#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "base/ZRankList.h"
#include "base/ZWinReg.h"
#include "support/TestSupport.h"

namespace {

constexpr const char* kKey = XAppData::kRegistryKey;
const std::string kHead =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix]\n";

// The table's lines as stored, joined by "|".
std::string Lines(const ZRankList& table) {
    ZStringList lines;
    table.ToStringList(lines);
    std::string text;
    for (uint32_t i = 0; i < lines.GetCount(); ++i)
        text += std::string(i ? "|" : "") + lines.GetAt(i).GetBuffer();
    return text;
}

// A registry file of values Rank01 to Rank10 holding MINE,999 and then A,1; the value at index takes data
// instead ("" leaves it out, index 10 adds Rank11).
std::string File(int index = -1, const std::string& data = "") {
    std::string text = kHead;
    for (int i = 0; i < 11; ++i) {
        std::string value = i == index ? data : i == 0 ? "\"MINE,999\"" : i < 10 ? "\"A,1\"" : "";
        text += value.empty()
                    ? ""
                    : "\"Rank" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "\"=" + value + "\n";
    }
    return text;
}

TEST(ZRankList, DefaultsFallByTheStepToZeroAndANewScoreRanksBelowEqualOnesPushingTheLastOut) {
    ZRankList table(10), small(5);
    table.FillDefaults(ZString("KOVRA GAMES"), 500, 50);
    EXPECT_EQ(Lines(table),
              "KOVRA GAMES,500|KOVRA GAMES,450|KOVRA GAMES,400|KOVRA GAMES,350|KOVRA GAMES,300|"
              "KOVRA GAMES,250|KOVRA GAMES,200|KOVRA GAMES,150|KOVRA GAMES,100|KOVRA GAMES,50");
    small.FillDefaults(ZString("D"), 40, 10);
    EXPECT_EQ(Lines(small), "D,40|D,30|D,20|D,10|D,0");
    const std::tuple<const char*, uint32_t, int, const char*> steps[] = {
        {"TIE", 40, 1, "D,40|TIE,40|D,30|D,20|D,10"}, {"LOW", 10, -1, "D,40|TIE,40|D,30|D,20|D,10"},
        {"TOP", 99, 0, "TOP,99|D,40|TIE,40|D,30|D,20"}, {"BOT", 21, 4, "TOP,99|D,40|TIE,40|D,30|BOT,21"},
        {"BIG", 4000000000u, 0, "BIG,4000000000|TOP,99|D,40|TIE,40|D,30"}};
    for (const auto& [name, score, rank, lines] : steps) {
        ZRankItem item(ZString(name), score);
        EXPECT_EQ(small.FindRank(item), rank) << name;
        small.Insert(item);
        item.SetScore(1);  // the table holds a copy
        EXPECT_EQ(Lines(small), lines) << name;
    }
    small.GetItem(4).SetScore(50);
    small.Insert(small.GetItem(4));
    // An entry inserted again keeps its name.
    EXPECT_EQ(Lines(small), "BIG,4000000000|TOP,99|D,50|D,40|TIE,40");
}

TEST(ZRankList, StoredLinesAreReadWithTheNumberRulesOfAtolAndOnlyAsAWholeTable) {
    ZRankList table(8);
    ZStringList lines, shorter;
    for (const char* line : {"AB,123xyz", "AB", ",7", "  SP ,  42", "MANY,1,2", "NEG,-1", "A,4294967296",
                             "B,99999999999999999999"}) lines.Add(ZString(line));
    table.FromStringList(lines);
    // Numbers beyond a score's range saturate rather than wrap round to small scores.
    EXPECT_EQ(Lines(table), "AB,123|ERROR,0|,7|  SP ,42|MANY,1|NEG,4294967295|A,4294967295|B,4294967295");
    shorter.Add(ZString("X,1"));
    table.FromStringList(shorter);
    EXPECT_EQ(table.GetItem(0).GetScore(), 123u) << "a list of another length changes nothing";
}

TEST(ZRankList, TheRegistryFileLoadsOnlyAsAWholeSetOfTenStringsAndTheSaveKeepsWhatItCannotRead) {
    const std::string good = File(), values = good.substr(kHead.size());
    // The file, the first entry it loads as, and whether the save keeps it aside as registry.reg.bad.
    std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {good + "\"Volume\"=dword:00000010\n", "MINE,999", false},
        {"\xEF\xBB\xBF\r\n; edited by hand\nWindows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_CURRENT_USER\\SOFTWARE\\KOVRAGAMES\\TINTORIX]  \r\n \"rank01\" = \"mine,999\"\r\r\n" +
             values.substr(20), "mine,999", false},
        {File(0, "\"Q\\\"B\\\\S\\xa9\\xAf\\xF0\\x01,7\""), "Q\"B\\S\xa9\xaf\xf0\x01,7", false},
        {File(2, "\"" + std::string(250, 'N') + ",100\""), "MINE,999", false},
        {kHead + "\"Rank01\"=\"A,1\"\n" + values, "MINE,999", false},
        {good + "\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Rank01\"=\"X,1\"\n", "MINE,999", false},
        {good + std::string(ZWinReg::kMaxFileBytes - good.size() - 1, ';') + "\n", "MINE,999", false},
        {good + std::string(ZWinReg::kMaxFileBytes - good.size(), ';') + "\n", "KOVRA GAMES,500", true}};
    // A value of another type, or of 256 bytes with its zero, refuses the whole set; a file that is no
    // registry file does too, and is kept.
    for (const std::string& text :
         {File(4), File(10, "\"MORE,1\""), File(2, "dword:000001f4"), File(2, "hex(2):41,00"),
          File(2, "\"open,5"), File(2, "\"bad\\n,1\""), File(2, "\"" + std::string(253, 'N') + ",1\""),
          "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Other]\n" + values}) {
        cases.push_back({text, "KOVRA GAMES,500", false});
    }
    for (const std::string& text :
         {std::string(), good.substr(0, 200), "Windows Registry Editor Version 4.00" + good.substr(36),
          good.substr(0, 120) + "garbage\n" + good.substr(120), good + "\"Rank11\" \"X,1\"\n",
          kHead.substr(0, 85) + "\n" + values}) cases.push_back({text, "KOVRA GAMES,500", true});
    auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    for (const auto& [text, first, kept] : cases) {
        TempConfigDir config;
        std::filesystem::create_directories(config.Path() + "/KovraGames/Tintorix");
        std::ofstream(config.RegistryFile(), std::ios::binary) << text;
        ZRankList table(10), again(10);
        table.FillDefaults(ZString("KOVRA GAMES"), 500, 50);
        again.FillDefaults(ZString("KOVRA GAMES"), 500, 50);
        table.LoadFromRegistry(kKey);
        table.SaveToRegistry(kKey);
        again.LoadFromRegistry(kKey);
        // The save leaves ten string values.
        EXPECT_EQ(Lines(table).substr(0, first.size() + 1) + Lines(again).substr(0, first.size() + 1),
                  first + "|" + first + "|") << text.substr(0, 200);
        const std::string bad = config.RegistryFile() + ".bad";
        EXPECT_EQ(std::pair(std::filesystem::exists(bad), ReadFile(bad)), std::pair(kept, kept ? text : ""));
    }
    EXPECT_EQ(openFiles(), filesBefore) << "every file read is closed again";
    // Where no directory can be made for the table, no key opens.
    TempConfigDir blocked;
    std::ofstream(blocked.Path() + "/KovraGames") << "a file";
    ZWinReg key;
    EXPECT_FALSE(key.Create(RegistryRoot::CurrentUser, kKey));
}

TEST(ZRankList, TheFirstExitWritesTheTableEscapedIntoPrivateFilesUnderTheUsersConfiguration) {
    TempConfigDir config;
    for (bool holdsTheLock : {false, true}) {
        XAppData app;
        app.ownsHighScores = holdsTheLock;
        app.GetHighScores()->GetItem(0).SetName(ZString("Q\"B\\S\xe9\x01"));
        // Loading alone, or a second copy, writes nothing.
        EXPECT_FALSE(std::filesystem::exists(config.RegistryFile()));
    }
    std::string expected = File(0, "\"Q\\\"B\\\\S\\xE9\\x01,500\"");
    for (int rank = 2; rank <= 10; ++rank)
        expected.replace(expected.find("A,1"), 3, "KOVRA GAMES," + std::to_string(550 - 50 * rank));
    EXPECT_EQ(ReadFile(config.RegistryFile()), expected);
    // Private.
    using std::filesystem::perms, std::filesystem::status;
    EXPECT_EQ(std::pair(status(config.RegistryFile()).permissions(),
                        status(config.Path() + "/KovraGames").permissions()),
              std::pair(perms::owner_read | perms::owner_write, perms::owner_all));
    EXPECT_EQ(ZWinReg::RegistryFilePath("Software\\..\\B") + ZWinReg::RegistryFilePath("Software\\a/b"), "");
    // Without a configuration directory the file lies in the home from the password file, never relative.
    const std::string home = std::getenv("HOME");
    setenv("HOME", "relative", 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ZWinReg::RegistryFilePath(kKey).substr(0, 1), "/");
    setenv("HOME", home.c_str(), 1);
    ZWinReg key;
    EXPECT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey) && key.Close() && !key.Close() &&
                !key.SetString("A", ZString("b")));
}

TEST(ZRankList, ASaveThatFailsOrIsKilledHalfWayLeavesTheOldTableAndTheNextSaveClearsUp) {
    TempConfigDir config;
    ZRankList old(10), fresh(10), loaded(10);
    old.FillDefaults(ZString("OLD"), 900, 90);
    fresh.FillDefaults(ZString("NEW"), 800, 70);
    old.SaveToRegistry(kKey);
    const std::string before = ReadFile(config.RegistryFile()),
                      directory = config.Path() + "/KovraGames/Tintorix/";
    for (int killed : {0, 1, 2}) {
        if (pid_t child = fork(); child == 0) {
            // A file size limit stops the write a quarter of the way: the process dies there, or goes on
            // with a failed write when it ignores the signal; or no file can be opened for the new table.
            signal(SIGXFSZ, killed == 1 ? SIG_DFL : SIG_IGN);
            rlimit limit{100, 100};
            setrlimit(RLIMIT_FSIZE, &limit);
            ZWinReg key;
            bool staged =
                key.Create(RegistryRoot::CurrentUser, kKey) && key.SetString("Rank01", ZString("X,1"));
            rlimit files{static_cast<rlim_t>(dup(0)), 1024};
            if (killed == 2)
                setrlimit(RLIMIT_NOFILE, &files);
            _exit(!(staged && !key.Close()));
        } else {
            int status = 0;
            waitpid(child, &status, 0);
            EXPECT_TRUE(killed == 1 ? WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ : status == 0)
                << killed;
        }
        EXPECT_EQ(ReadFile(config.RegistryFile()), before);
    }
    // The killed saves' temporaries go with the next save; the user's files and a running copy's save stay.
    std::set<std::string> kept = {"registry.reg", "registry.reg.bad", "registry.reg.backup",
                                  "registry.reg.orig12", "_registry.reg.999999990.Ab12Cd",
                                  ".registry.reg.1234567890.Ab12Cd"};
    for (const char* suffix : {".Ab12Cd", ".Xy34Zw", ".Qr56St"})
        kept.insert(".registry.reg." + std::to_string(getpid()) + suffix);
    for (const std::string& name : kept) {
        if (name != "registry.reg")
            std::ofstream(directory + name) << "kept";
    }
    // Leftovers of processes long gone: process ids no system hands out.
    for (int i = 0; i < 5; ++i)
        std::ofstream(directory + ".registry.reg.99999999" + std::to_string(i) + ".Ab12Cd");
    for (int save = 0; save < 2; ++save, fresh.SaveToRegistry(kKey)) {
        std::set<std::string> names, killedTemporaries;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            (kept.count(entry.path().filename()) ? names : killedTemporaries).insert(entry.path().filename());
        EXPECT_EQ(std::pair(names, killedTemporaries.size()), std::pair(kept, size_t(save == 0 ? 6 : 0)))
            << save;
    }
    // A game started with standard input closed opens the table as descriptor 0.
    int input = dup(0);
    close(0);
    loaded.LoadFromRegistry(kKey);
    dup2(input, 0);
    close(input);
    EXPECT_EQ(Lines(loaded) + ReadFile(directory + "registry.reg.bad"), Lines(fresh) + "kept");
}

}  // namespace
