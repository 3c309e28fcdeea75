#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/ZRankList.h"
#include "base/ZWinReg.h"
#include "shell/XAppData.h"
#include "support/TestSupport.h"

namespace {

constexpr const char* kKey = "Software\\KovraGames\\Tintorix";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::string directory = path.substr(0, path.rfind('/'));
    std::string parent = directory.substr(0, directory.rfind('/'));
    mkdir(parent.c_str(), 0700);
    mkdir(directory.c_str(), 0700);
    std::ofstream(path, std::ios::binary) << text;
}

std::string FileOf(const std::vector<std::string>& lines) {
    std::string text = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix]\n";
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::vector<std::string> RankLines(const std::vector<std::string>& data) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < data.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\"Rank%02zu\"=", i + 1);
        lines.push_back(name + data[i]);
    }
    return lines;
}

std::vector<std::string> DefaultData() {
    std::vector<std::string> data;
    for (int score = 500; score >= 50; score -= 50) {
        data.push_back("\"KOVRA GAMES," + std::to_string(score) + "\"");
    }
    return data;
}

std::string Table(const ZRankList& table) {
    std::string text;
    for (uint32_t i = 0; i < table.GetCount(); ++i) {
        text += std::string(table.GetItem(i).GetName().GetBuffer()) + "," +
                std::to_string(table.GetItem(i).GetScore()) + ";";
    }
    return text;
}

const std::string kDefaultTable =
    "KOVRA GAMES,500;KOVRA GAMES,450;KOVRA GAMES,400;KOVRA GAMES,350;KOVRA GAMES,300;KOVRA GAMES,250;"
    "KOVRA GAMES,200;KOVRA GAMES,150;KOVRA GAMES,100;KOVRA GAMES,50;";

// The table an application object loads from the current registry file.
std::string LoadedTable() {
    XAppData app;
    return Table(*app.GetHighScores());
}

}  // namespace

TEST(ZWinReg, FirstStartWritesTheDefaultTableAtExitPrivately) {
    TempConfigDir config;
    {
        XAppData app;
        EXPECT_EQ(Table(*app.GetHighScores()), kDefaultTable);
        // Loading alone writes nothing.
        EXPECT_NE(access(config.RegistryFile().c_str(), F_OK), 0);
    }
    EXPECT_EQ(ReadFile(config.RegistryFile()), FileOf(RankLines(DefaultData())));
    struct stat info {};
    ASSERT_EQ(stat(config.RegistryFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat((config.Path() + "/KovraGames").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((config.Path() + "/KovraGames/Tintorix").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(ZWinReg, StoredTableSurvivesAStartAndAnExitUnchanged) {
    TempConfigDir config;
    std::vector<std::string> data = DefaultData();
    data[0] = "\"ANNA,998\"";
    data[3] = "\"B-52 .X,0\"";
    data[9] = "\"ZED,7\"";
    // Another value of the key, of another type, and another key's section are kept as they were.
    std::vector<std::string> lines = RankLines(data);
    lines.push_back("\"Volume\"=dword:00000010");
    std::string text = FileOf(lines) + "\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Rank01\"=\"X,1\"\n";
    WriteFile(config.RegistryFile(), text);
    {
        XAppData app;
        ZRankList& table = *app.GetHighScores();
        EXPECT_EQ(Table(table).substr(0, 9), "ANNA,998;");
        EXPECT_STREQ(table.GetItem(3).GetName().GetBuffer(), "B-52 .X");
        EXPECT_EQ(table.GetItem(9).GetScore(), 7u);
    }
    EXPECT_EQ(ReadFile(config.RegistryFile()), FileOf(lines));
}

TEST(ZWinReg, IncompleteOrForeignSetsLeaveTheDefaults) {
    const std::vector<std::string> full = RankLines(DefaultData());
    auto withData = [](int index, const std::string& data) {
        std::vector<std::string> d = DefaultData();
        d[0] = "\"MINE,999\"";
        d[index] = data;
        return RankLines(d);
    };
    std::vector<std::vector<std::string>> broken;
    std::vector<std::string> missing = withData(0, "\"MINE,999\"");
    missing.erase(missing.begin() + 4);
    broken.push_back(missing);
    std::vector<std::string> extra = withData(0, "\"MINE,999\"");
    extra.push_back("\"Rank11\"=\"MORE,1\"");
    broken.push_back(extra);
    broken.push_back(withData(2, "dword:000001f4"));
    broken.push_back(withData(2, "hex(2):41,00"));
    broken.push_back(withData(2, "\"unterminated,5"));
    broken.push_back(withData(2, "\"A,1\" trailing"));
    broken.push_back(withData(2, "\"bad escape\\n,1\""));
    broken.push_back(withData(2, "\"" + std::string(251, 'N') + ",100\""));  // 256 bytes with its zero
    for (const auto& lines : broken) {
        TempConfigDir config;
        WriteFile(config.RegistryFile(), FileOf(lines));
        EXPECT_EQ(LoadedTable(), kDefaultTable) << lines[2];
        // ... and the exit leaves exactly the ten defaults, so that the next table is kept again.
        std::vector<RegistryValue> values = ZWinReg::ParseRegistryText(ReadFile(config.RegistryFile()), kKey);
        std::vector<std::string> stored;
        for (const RegistryValue& value : values) {
            stored.push_back("\"" + value.name + "\"=" + (value.isString ? "\"" + value.data + "\"" : value.data));
        }
        std::sort(stored.begin(), stored.end());
        EXPECT_EQ(stored, full);
    }

    // One byte shorter fits.
    TempConfigDir config;
    WriteFile(config.RegistryFile(), FileOf(withData(2, "\"" + std::string(250, 'N') + ",100\"")));
    EXPECT_EQ(LoadedTable().substr(0, 9), "MINE,999;");
}

TEST(ZWinReg, DamagedFilesReadAsAnEmptyKey) {
    const std::string good = FileOf(RankLines({"\"MINE,999\"", "\"A,1\"", "\"A,1\"", "\"A,1\"", "\"A,1\"",
                                               "\"A,1\"", "\"A,1\"", "\"A,1\"", "\"A,1\"", "\"A,1\""}));
    std::vector<std::string> damaged = {
        "",
        good.substr(0, good.size() / 2),                 // cut in the middle of a line
        "Windows Registry Editor Version 4.00" + good.substr(36),
        good.substr(0, 60) + "garbage line\n" + good.substr(60),
        std::string("\0\0\0\0", 4) + good,
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix\n",
    };
    for (const std::string& text : damaged) {
        TempConfigDir config;
        WriteFile(config.RegistryFile(), text);
        EXPECT_EQ(LoadedTable(), kDefaultTable);
    }
    // Carriage returns and a section name in other case are fine.
    TempConfigDir config;
    std::string crlf;
    for (char c : good) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    WriteFile(config.RegistryFile(), crlf);
    EXPECT_EQ(LoadedTable().substr(0, 9), "MINE,999;");

    // No byte sequence crashes the parser, and what it accepts survives a round trip.
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text = good;
        int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) {
            size_t at = random() % text.size();
            switch (random() % 3) {
                case 0: text[at] = static_cast<char>(random()); break;
                case 1: text.erase(at, random() % 20); break;
                default: text.insert(at, 1, "\"\\=[]x\n,"[random() % 8]); break;
            }
        }
        std::vector<RegistryValue> values = ZWinReg::ParseRegistryText(text, kKey);
        std::vector<RegistryValue> again =
            ZWinReg::ParseRegistryText(ZWinReg::FormatRegistryText(values, kKey), kKey);
        ASSERT_EQ(again.size(), values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(again[i].data, values[i].data);
            EXPECT_EQ(again[i].isString, values[i].isString);
        }
    }
}

TEST(ZWinReg, ValueTextIsEscapedAndReadBack) {
    TempConfigDir config;
    const std::string odd = "quote\" back\\slash \xE9\x01 end";
    {
        ZWinReg key;
        ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
        EXPECT_TRUE(key.SetString("Name", ZString(odd.c_str())));
        EXPECT_TRUE(key.Close());
        EXPECT_FALSE(key.Close());
        EXPECT_FALSE(key.SetString("Name", ZString("x")));
    }
    std::string text = ReadFile(config.RegistryFile());
    EXPECT_NE(text.find("\"Name\"=\"quote\\\" back\\\\slash \\xE9\\x01 end\"\n"), std::string::npos) << text;
    ZWinReg key;
    ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
    ZString back;
    ASSERT_TRUE(key.GetString("name", back));  // value names ignore case, as the registry's do
    EXPECT_EQ(std::string(back.GetBuffer()), odd);
    EXPECT_FALSE(key.GetString("Missing", back));

    EXPECT_EQ(ZWinReg::RegistryFilePath("Software\\A\\\\B"), config.Path() + "/A/B/registry.reg");
    EXPECT_EQ(ZWinReg::RegistryFilePath("A\\B"), config.Path() + "/A/B/registry.reg");
    EXPECT_EQ(ZWinReg::RegistryFilePath("Software\\..\\B"), "");
    EXPECT_EQ(ZWinReg::RegistryFilePath("Software\\a/b"), "");
    EXPECT_FALSE(ZWinReg().Create(RegistryRoot::CurrentUser, "Software\\.."));
}

TEST(ZWinReg, UnwritableConfigurationKeepsTheOldFileAndFailsQuietly) {
    TempConfigDir config;
    { XAppData app; }
    const std::string before = ReadFile(config.RegistryFile());
    chmod((config.Path() + "/KovraGames/Tintorix").c_str(), 0500);
    if (access((config.Path() + "/KovraGames/Tintorix").c_str(), W_OK) == 0) {
        // Rights that ignore file modes (root): a file size limit of 0 makes every write fail instead,
        // in a child so that the limit stays there.
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit none{0, 0};
            setrlimit(RLIMIT_FSIZE, &none);
            ZWinReg key;
            bool opened = key.Create(RegistryRoot::CurrentUser, kKey);
            bool staged = key.SetString("Rank01", ZString("X,1"));
            bool closed = key.Close();
            { XAppData app; }
            _exit(opened && staged && !closed ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a failed save was reported as done";
    } else {
        ZWinReg key;
        ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
        EXPECT_TRUE(key.SetString("Rank01", ZString("X,1")));
        EXPECT_FALSE(key.Close());
        { XAppData app; }
    }
    EXPECT_EQ(ReadFile(config.RegistryFile()), before);
}

TEST(ZWinReg, KilledWhileSavingLeavesTheOldOrTheNewTable) {
    TempConfigDir config;
    ZRankList a(10);
    a.FillDefaults(ZString("OLD"), 900, 90);
    ZRankList b(10);
    b.FillDefaults(ZString("NEW"), 800, 70);
    a.SaveToRegistry(kKey);
    auto readBack = [] {
        ZRankList table(10);
        table.FillDefaults(ZString("NONE"), 1, 0);
        table.LoadFromRegistry(kKey);
        return Table(table);
    };
    const std::string tableA = readBack();
    std::mt19937 random(11);
    int sawNew = 0;
    for (int round = 0; round < 25; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < 20000; ++i) {
                (i % 2 ? a : b).SaveToRegistry(kKey);
            }
            _exit(0);
        }
        usleep(1000 + random() % 30000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        std::string loaded = readBack();
        if (loaded != tableA) {
            ++sawNew;
            ASSERT_EQ(loaded.substr(0, 8), "NEW,800;") << "after kill " << round;
            ASSERT_EQ(loaded, Table(b));
        }
    }
    // The kills did land in the middle of saving both tables.
    EXPECT_GT(sawNew, 0);

    // Temporaries a killed save left behind go with the next save; other files stay.
    const std::string directory = config.Path() + "/KovraGames/Tintorix";
    std::ofstream(directory + "/registry.reg.Ab12Cd") << "half";
    std::ofstream(directory + "/notes.txt") << "mine";
    a.SaveToRegistry(kKey);
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        leftovers += entry.path().filename().string().rfind("registry.reg.", 0) == 0;
    }
    EXPECT_EQ(leftovers, 0);
    EXPECT_TRUE(std::filesystem::exists(directory + "/notes.txt"));
    EXPECT_EQ(readBack(), tableA);
}

// Found by fuzzing: a value line ending in two carriage returns lost one on every rewrite.
TEST(ZWinReg, WhatTheWriterWritesReadsBackTheSame) {
    const std::string key = "Software\\KovraGames\\Tintorix";
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + key +
                             "]\r\n\"Rank01\"=\"KOVRA GAMES,500\"\r\r\n\"Other\"=dword:1\r\r\n" +
                             std::string("\"Nul\"=\"A\0B\"\n", 12);
    auto values = ZWinReg::ParseRegistryText(text, key);
    auto again = ZWinReg::ParseRegistryText(ZWinReg::FormatRegistryText(values, key), key);
    ASSERT_EQ(values.size(), 3u);
    ASSERT_EQ(again.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(again[i].name, values[i].name);
        EXPECT_EQ(again[i].isString, values[i].isString) << values[i].name;
        EXPECT_EQ(again[i].data, values[i].data) << values[i].name;
    }
    EXPECT_TRUE(values[0].isString);
    EXPECT_FALSE(values[1].isString);
}
