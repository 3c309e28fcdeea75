#include <gtest/gtest.h>

#include <string>

#include "base/ZRankList.h"

namespace {

// The table's lines as stored, joined by "|".
std::string Lines(const ZRankList& table) {
    ZStringList lines;
    table.ToStringList(lines);
    std::string text;
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        text += std::string(i ? "|" : "") + lines.GetAt(i).GetBuffer();
    }
    return text;
}

TEST(ZRankList, DefaultsFallByTheStepAndNeverBelowZero) {
    ZRankList table(10);
    table.FillDefaults(ZString("KOVRA GAMES"), 500, 50);
    EXPECT_EQ(Lines(table),
              "KOVRA GAMES,500|KOVRA GAMES,450|KOVRA GAMES,400|KOVRA GAMES,350|KOVRA GAMES,300|"
              "KOVRA GAMES,250|KOVRA GAMES,200|KOVRA GAMES,150|KOVRA GAMES,100|KOVRA GAMES,50");
    ZRankList small(5);
    small.FillDefaults(ZString("X"), 120, 50);
    EXPECT_EQ(Lines(small), "X,120|X,70|X,20|X,0|X,0");
}

TEST(ZRankList, ANewScoreRanksBelowEqualOnesAndPushesTheLastOut) {
    ZRankList table(4);
    table.FillDefaults(ZString("D"), 40, 10);
    struct Step {
        const char* name;
        uint32_t score;
        int rank;
        const char* lines;
    };
    const Step steps[] = {
        {"TIE", 40, 1, "D,40|TIE,40|D,30|D,20"},
        {"LOW", 20, -1, "D,40|TIE,40|D,30|D,20"},
        {"TOP", 99, 0, "TOP,99|D,40|TIE,40|D,30"},
        {"BOT", 31, 3, "TOP,99|D,40|TIE,40|BOT,31"},
        {"BIG", 4000000000u, 0, "BIG,4000000000|TOP,99|D,40|TIE,40"},
    };
    for (const Step& step : steps) {
        ZRankItem item(ZString(step.name), step.score);
        EXPECT_EQ(table.FindRank(item), step.rank) << step.name;
        table.Insert(item);
        item.SetScore(1);  // the table holds a copy
        EXPECT_EQ(Lines(table), step.lines) << step.name;
    }
    // An entry of the table itself, raised and inserted again, keeps its own name through the shift.
    table.GetItem(3).SetScore(50);
    table.Insert(table.GetItem(3));
    EXPECT_EQ(Lines(table), "BIG,4000000000|TOP,99|TIE,50|D,40");
}

TEST(ZRankList, StoredLinesAreReadWithTheNumberRulesOfAtol) {
    ZRankList table(8);
    table.FillDefaults(ZString("D"), 80, 10);
    ZStringList lines;
    for (const char* line : {"AB,123xyz", "AB", ",7", "  SP ,  42", "MANY,1,2", "NEG,-1", "A,4294967296",
                             "B,99999999999999999999999"}) {
        lines.Add(ZString(line));
    }
    table.FromStringList(lines);
    // Numbers beyond a score's range saturate rather than wrap round to small scores.
    EXPECT_EQ(Lines(table), "AB,123|ERROR,0|,7|  SP ,42|MANY,1|NEG,4294967295|A,4294967295|B,4294967295");
    ZStringList shorter;
    shorter.Add(ZString("X,1"));
    table.FromStringList(shorter);
    EXPECT_EQ(table.GetItem(0).GetScore(), 123u) << "a list of another length changes nothing";
}

}  // namespace
