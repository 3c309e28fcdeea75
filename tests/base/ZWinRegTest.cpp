#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/ZRankList.h"
#include "base/ZWinReg.h"
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

// Value lines Rank01 to Rank10 holding first and then A,1; the value at index takes data instead ("" leaves
// it out, index 10 adds Rank11).
std::string Ranks(int index = -1, const std::string& data = "", const std::string& first = "\"MINE,999\"") {
    std::string text;
    for (int i = 0; i < 11; ++i) {
        std::string value = i == index ? data : i == 0 ? first : i < 10 ? "\"A,1\"" : "";
        text += value.empty()
                    ? ""
                    : "\"Rank" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "\"=" + value + "\n";
    }
    return text;
}

// The table's lines, each followed by ";".
std::string Table(const ZRankList& table) {
    ZStringList lines;
    table.ToStringList(lines);
    std::string text;
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        text += std::string(lines.GetAt(i).GetBuffer()) + ";";
    }
    return text;
}

TEST(ZWinReg, TheStoredTableLoadsOnlyAsAWholeSetOfTenStringsAndTheExitLeavesOneThatDoes) {
    const std::string good = kHead + Ranks(), volume = "\"Volume\"=dword:00000010\n",
                      defaults = "KOVRA GAMES,500;";
    std::string crlf, lower = good;
    for (char c : good + volume) {
        crlf += c == '\n' ? "\r\r\n" : std::string(1, c);
    }
    std::transform(lower.begin() + 37, lower.end(), lower.begin() + 37, ::tolower);
    std::vector<std::pair<std::string, std::string>> cases = {
        {good + volume, "MINE,999;"},
        {crlf, "MINE,999;"},
        {lower, "mine,999;"},
        {kHead + Ranks(0, "\"Q\\\"B\\\\S\\xe9\\x01,7\""), "Q\"B\\S\xe9\x01,7;"},
        {kHead + Ranks(2, "\"" + std::string(250, 'N') + ",100\""), "MINE,999;"},
        {kHead + "\"Rank01\"=\"A,1\"\n" + Ranks(), "MINE,999;"},  // the later line wins
        {good + "\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Rank01\"=\"X,1\"\n", "MINE,999;"},
        {"Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Other]\n" + Ranks(),
         defaults}};
    for (const std::string& values :
         {Ranks(4), Ranks(10, "\"MORE,1\""), Ranks(2, "dword:000001f4"), Ranks(2, "hex(2):41,00"),
          Ranks(2, "\"open,5"), Ranks(2, "\"A,1\" trailing"), Ranks(2, "\"bad escape\\n,1\""),
          Ranks(2, "\"" + std::string(251, 'N') + ",100\"")}) {  // 256 bytes with its zero
        cases.push_back({kHead + values, defaults});
    }
    for (const std::string& damaged :
         {std::string(), good.substr(0, good.size() / 2),
          "Windows Registry Editor Version 4.00" + good.substr(36),
          good.substr(0, 120) + "garbage line\n" + good.substr(120), std::string("\0\0", 2) + good,
          kHead.substr(0, kHead.size() - 2) + "\n" + Ranks()}) {
        cases.push_back({damaged, defaults});
    }
    for (const auto& [text, first] : cases) {
        SCOPED_TRACE(text.substr(0, 160));
        TempConfigDir config;
        std::filesystem::create_directories(config.Path() + "/KovraGames/Tintorix");
        std::ofstream(config.RegistryFile(), std::ios::binary) << text;
        EXPECT_EQ(Table(*XAppData().GetHighScores()).substr(0, first.size()), first);
        ZRankList again(10);
        again.LoadFromRegistry(kKey);
        EXPECT_EQ(Table(again).substr(0, first.size()), first)
            << "the exit must leave exactly ten string values";
        EXPECT_EQ(ReadFile(config.RegistryFile()).find(volume) == std::string::npos,
                  text.find(volume) == std::string::npos && text != crlf)
            << "other values are kept";
    }
}

TEST(ZWinReg, TheFirstExitWritesTheTableEscapedIntoPrivateFilesUnderTheUsersConfiguration) {
    TempConfigDir config;
    {
        XAppData app;
        app.GetHighScores()->GetItem(0).SetName(ZString("Q\"B\\S\xe9\x01"));
        EXPECT_FALSE(std::filesystem::exists(config.RegistryFile())) << "loading alone writes nothing";
    }
    std::string expected = kHead + Ranks(-1, "", "\"Q\\\"B\\\\S\\xE9\\x01,500\"");
    for (int rank = 2; rank <= 10; ++rank) {
        expected.replace(expected.find("A,1"), 3, "KOVRA GAMES," + std::to_string(550 - 50 * rank));
    }
    EXPECT_EQ(ReadFile(config.RegistryFile()), expected);
    for (const std::string& path :
         {config.RegistryFile(), config.Path() + "/KovraGames/Tintorix", config.Path() + "/KovraGames"}) {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0,
                  path.back() == 'g' ? 0600u : 0700u)
            << path;
    }
    EXPECT_EQ(ZWinReg::RegistryFilePath("Software\\..\\B") + ZWinReg::RegistryFilePath("Software\\a/b"), "");
    EXPECT_EQ(ZWinReg::RegistryFilePath("Software\\A\\\\B"), config.Path() + "/A/B/registry.reg");
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
        if (child == 0) {
            // A file size limit stops the write a quarter of the way: the process dies there, or goes on
            // with a failed write when it ignores the signal.
            signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            rlimit limit{100, 100};
            setrlimit(RLIMIT_FSIZE, &limit);
            ZWinReg key;
            bool opened =
                key.Create(RegistryRoot::CurrentUser, kKey) && key.SetString("Rank01", ZString("X,1"));
            bool saved = key.Close();
            fresh.SaveToRegistry(kKey);
            _exit(opened && !saved ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(killed ? WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ : status == 0) << killed;
        EXPECT_EQ(ReadFile(config.RegistryFile()), before);
    }
    const std::string directory = config.Path() + "/KovraGames/Tintorix/";
    std::ofstream(directory + "notes.txt") << "mine";
    std::ofstream(directory + "registry.reg.bad") << "kept";
    std::vector<std::string> files;
    for (int save = 0; save < 2; ++save, fresh.SaveToRegistry(kKey)) {
        files.push_back("");
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            std::string name = entry.path().filename().string();
            files.back() += name.rfind("registry.reg.", 0) == 0 && name != "registry.reg.bad" ? name : "";
        }
    }
    EXPECT_EQ(files[0].size() * 10 + files[1].size(), 190u)
        << "the killed save's temporary goes with the next save";
    EXPECT_EQ(ReadFile(directory + "notes.txt") + ReadFile(directory + "registry.reg.bad"), "minekept");
    loaded.LoadFromRegistry(kKey);
    EXPECT_EQ(Table(loaded), Table(fresh));
}

}  // namespace
