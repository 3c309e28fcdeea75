#include "base/ZRankList.h"
#include "support/TestSupport.h"

// The table's lines as stored, joined by "|".
static std::string Lines(const ZRankList& table) {
    ZStringList lines;
    table.ToStringList(lines);
    std::string text;
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        text += std::string(i ? "|" : "") + lines.GetAt(i).GetBuffer();
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
        {"TIE", 40, 1, "D,40|TIE,40|D,30|D,20|D,10"},
        {"LOW", 10, -1, "D,40|TIE,40|D,30|D,20|D,10"},
        {"TOP", 99, 0, "TOP,99|D,40|TIE,40|D,30|D,20"},
        {"BOT", 21, 4, "TOP,99|D,40|TIE,40|D,30|BOT,21"},
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
    EXPECT_EQ(Lines(small), "BIG,4000000000|TOP,99|D,50|D,40|TIE,40")
        << "an entry inserted again keeps its name";
}

TEST(ZRankList, StoredLinesAreReadWithTheNumberRulesOfAtolAndOnlyAsAWholeTable) {
    ZRankList table(8);
    ZStringList lines, shorter;
    for (const char* line : {"AB,123xyz", "AB", ",7", "  SP ,  42", "MANY,1,2", "NEG,-1", "A,4294967296",
                             "B,99999999999999999999"}) {
        lines.Add(ZString(line));
    }
    table.FromStringList(lines);
    // Numbers beyond a score's range saturate rather than wrap round to small scores.
    EXPECT_EQ(Lines(table), "AB,123|ERROR,0|,7|  SP ,42|MANY,1|NEG,4294967295|A,4294967295|B,4294967295");
    shorter.Add(ZString("X,1"));
    table.FromStringList(shorter);
    EXPECT_EQ(table.GetItem(0).GetScore(), 123u) << "a list of another length changes nothing";
}
