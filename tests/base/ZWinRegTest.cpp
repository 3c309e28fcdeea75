#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/ZRankList.h"
#include "base/ZWinReg.h"
#include "shell/XAppData.h"
#include "support/TestSupport.h"

namespace {

constexpr const char* kKey = XAppData::kRegistryKey;
const std::string kHead =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix]\n";

std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Value lines Rank01 to Rank10 holding MINE,999 and then A,1; the value at index takes data instead
// ("" leaves it out, index 10 adds Rank11).
std::string Ranks(int index = -1, const std::string& data = "") {
    std::string text;
    for (int i = 0; i < 11; ++i) {
        std::string value = i == index ? data : i == 0 ? "\"MINE,999\"" : i < 10 ? "\"A,1\"" : "";
        text += value.empty()
                    ? ""
                    : "\"Rank" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "\"=" + value + "\n";
    }
    return text;
}

std::string First(const ZRankList& table) {
    return std::string(table.GetItem(0).GetName().GetBuffer()) + "," +
           std::to_string(table.GetItem(0).GetScore());
}

TEST(ZWinReg, FileContentsReadAsTheirTableOrLeaveTheDefaultsAndTheExitLeavesASetThatLoads) {
    const std::string good = kHead + Ranks(), volume = "\"Volume\"=dword:00000010\n";
    const std::string defaults = "KOVRA GAMES,500";
    std::string crlf, lower = good;
    for (char c : good + volume) {
        crlf += c == '\n' ? "\r\r\n" : std::string(1, c);
    }
    std::transform(lower.begin() + 37, lower.end(), lower.begin() + 37, ::tolower);
    const std::pair<std::string, std::string> cases[] = {
        {good + volume, "MINE,999"},
        {kHead + Ranks(0, "\"Q\\\"B\\\\S\\xe9\\x01,7\""), "Q\"B\\S\xe9\x01,7"},
        {kHead + Ranks(2, "\"" + std::string(250, 'N') + ",100\""), "MINE,999"},
        {kHead + "\"Rank01\"=\"A,1\"\n" + Ranks(), "MINE,999"},  // the later line wins
        {crlf, "MINE,999"},
        {lower, "mine,999"},
        {good + "\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Rank01\"=\"X,1\"\n", "MINE,999"},
        {kHead + Ranks(4), defaults},
        {kHead + Ranks(10, "\"MORE,1\""), defaults},
        {kHead + Ranks(2, "dword:000001f4"), defaults},
        {kHead + Ranks(2, "hex(2):41,00"), defaults},
        {kHead + Ranks(2, "\"unterminated,5"), defaults},
        {kHead + Ranks(2, "\"A,1\" trailing"), defaults},
        {kHead + Ranks(2, "\"bad escape\\n,1\""), defaults},
        {kHead + Ranks(2, "\"" + std::string(251, 'N') + ",100\""), defaults},  // 256 bytes with its zero
        {"Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Other]\n" + Ranks(),
         defaults},
        {"", defaults},
        {good.substr(0, good.size() / 2), defaults},
        {"Windows Registry Editor Version 4.00" + good.substr(36), defaults},
        {good.substr(0, 120) + "garbage line\n" + good.substr(120), defaults},
        {std::string("\0\0", 2) + good, defaults},
        {kHead.substr(0, kHead.size() - 2) + "\n" + Ranks(), defaults}  // no closing bracket
    };
    for (const auto& [text, first] : cases) {
        SCOPED_TRACE(text.substr(0, 160));
        TempConfigDir config;
        std::filesystem::create_directories(config.Path() + "/KovraGames/Tintorix");
        std::ofstream(config.RegistryFile(), std::ios::binary) << text;
        EXPECT_EQ(First(*XAppData().GetHighScores()), first);
        ZRankList again(10);
        again.LoadFromRegistry(kKey);
        EXPECT_EQ(First(again), first) << "the exit must leave exactly ten string values";
        EXPECT_EQ(ReadFile(config.RegistryFile()).find(volume) != std::string::npos,
                  text.find(volume) != std::string::npos || text == crlf);
    }
}

TEST(ZWinReg, FirstStartWritesTheDefaultsAtExitEscapedIntoPrivateFiles) {
    TempConfigDir config;
    {
        XAppData app;
        app.GetHighScores()->GetItem(9).SetName(ZString("Q\"B\\S\xe9\x01"));
        EXPECT_FALSE(std::filesystem::exists(config.RegistryFile())) << "loading alone writes nothing";
    }
    std::string expected = kHead;
    for (int rank = 1; rank <= 10; ++rank) {
        expected += "\"Rank" + std::string(rank < 10 ? "0" : "") + std::to_string(rank) + "\"=\"" +
                    (rank < 10 ? "KOVRA GAMES" : "Q\\\"B\\\\S\\xE9\\x01") + "," +
                    std::to_string(550 - 50 * rank) + "\"\n";
    }
    EXPECT_EQ(ReadFile(config.RegistryFile()), expected);
    for (const std::string& path :
         {config.RegistryFile(), config.Path() + "/KovraGames/Tintorix", config.Path() + "/KovraGames"}) {
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, S_ISDIR(info.st_mode) ? 0700u : 0600u) << path;
    }
}

TEST(ZWinReg, AKeyIsOpenFromCreateToCloseAndNamesItsValuesWithoutRegardToCase) {
    TempConfigDir config;
    ZWinReg key;
    ZString value;
    EXPECT_FALSE(key.SetString("Name", ZString("x")));
    ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
    EXPECT_TRUE(key.SetString("Name", ZString("first")));
    EXPECT_TRUE(key.SetString("NAME", ZString("second")));
    EXPECT_TRUE(key.Close());
    EXPECT_FALSE(key.Close());
    EXPECT_FALSE(key.GetString("Name", value));
    ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
    ASSERT_TRUE(key.GetString("name", value));
    EXPECT_STREQ(value.GetBuffer(), "second");
    EXPECT_FALSE(key.GetString("Missing", value));

    const char* paths[][2] = {{"Software\\A\\\\B", "/A/B/registry.reg"},
                              {"A\\B", "/A/B/registry.reg"},
                              {"Software\\..\\B", ""},
                              {"Software\\a/b", ""}};
    for (const auto& p : paths) {
        EXPECT_EQ(ZWinReg::RegistryFilePath(p[0]), *p[1] ? config.Path() + p[1] : "") << p[0];
    }
    EXPECT_FALSE(ZWinReg().Create(RegistryRoot::CurrentUser, "Software\\.."));
}

TEST(ZWinReg, ASaveThatFailsOrIsKilledHalfWayLeavesTheOldTableAndTheNextSaveClearsUp) {
    TempConfigDir config;
    ZRankList old(10), fresh(10), loaded(10);
    old.FillDefaults(ZString("OLD"), 900, 90);
    fresh.FillDefaults(ZString("NEW"), 800, 70);
    old.SaveToRegistry(kKey);
    const std::string before = ReadFile(config.RegistryFile());
    for (bool killed : {false, true}) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A file size limit stops the write a quarter of the way: the process dies there, or goes on
            // with a failed write when it ignores the signal.
            signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            rlimit limit{100, 100};
            setrlimit(RLIMIT_FSIZE, &limit);
            ZWinReg key;
            bool opened = key.Create(RegistryRoot::CurrentUser, kKey);
            key.SetString("Rank01", ZString("X,1"));
            bool saved = key.Close();
            fresh.SaveToRegistry(kKey);
            _exit(opened && !saved ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(killed ? WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ : status == 0) << killed;
        EXPECT_EQ(ReadFile(config.RegistryFile()), before);
    }
    const std::string directory = config.Path() + "/KovraGames/Tintorix";
    auto files = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    ASSERT_EQ(files().size(), 2u) << "the killed save left its temporary";
    std::ofstream(directory + "/notes.txt") << "mine";
    std::ofstream(directory + "/registry.reg.bad") << "kept";
    fresh.SaveToRegistry(kKey);
    EXPECT_EQ(files(), (std::vector<std::string>{"notes.txt", "registry.reg", "registry.reg.bad"}));
    loaded.LoadFromRegistry(kKey);
    EXPECT_EQ(First(loaded), "NEW,800");
    EXPECT_EQ(loaded.GetItem(9).GetScore(), 170u);
}

}  // namespace
