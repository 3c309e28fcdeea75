#include <gtest/gtest.h>

#include <string>

#include "base/ZRankList.h"

namespace {

ZRankList* DefaultTable() {
    auto* table = new ZRankList(10);
    table->FillDefaults(ZString("KOVRA GAMES"), 500, 50);
    return table;
}

std::string Lines(const ZRankList& table) {
    ZStringList lines;
    table.ToStringList(lines);
    std::string text;
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        text += std::string(lines.GetAt(i).GetBuffer()) + "|";
    }
    return text;
}

}  // namespace

TEST(ZRankList, DefaultsFallByTheStepAndNeverBelowZero) {
    std::unique_ptr<ZRankList> table(DefaultTable());
    EXPECT_EQ(Lines(*table),
              "KOVRA GAMES,500|KOVRA GAMES,450|KOVRA GAMES,400|KOVRA GAMES,350|KOVRA GAMES,300|"
              "KOVRA GAMES,250|KOVRA GAMES,200|KOVRA GAMES,150|KOVRA GAMES,100|KOVRA GAMES,50|");
    ZRankList small(5);
    small.FillDefaults(ZString("X"), 120, 50);
    EXPECT_EQ(Lines(small), "X,120|X,70|X,20|X,0|X,0|");
}

TEST(ZRankList, EqualScoresRankBelowAndTheLastEntryDrops) {
    std::unique_ptr<ZRankList> table(DefaultTable());
    ZRankItem tie(ZString("NEW"), 500);
    EXPECT_EQ(table->FindRank(tie), 1);
    table->Insert(tie);
    EXPECT_EQ(Lines(*table),
              "KOVRA GAMES,500|NEW,500|KOVRA GAMES,450|KOVRA GAMES,400|KOVRA GAMES,350|"
              "KOVRA GAMES,300|KOVRA GAMES,250|KOVRA GAMES,200|KOVRA GAMES,150|KOVRA GAMES,100|");

    std::unique_ptr<ZRankList> fresh(DefaultTable());
    const std::string before = Lines(*fresh);
    ZRankItem last(ZString("LOW"), 50);
    EXPECT_EQ(fresh->FindRank(last), -1);
    fresh->Insert(last);
    EXPECT_EQ(Lines(*fresh), before);

    ZRankItem best(ZString("TOP"), 1000);
    fresh->Insert(best);
    ZRankItem bottom(ZString("BOT"), 101);
    fresh->Insert(bottom);
    EXPECT_EQ(Lines(*fresh),
              "TOP,1000|KOVRA GAMES,500|KOVRA GAMES,450|KOVRA GAMES,400|KOVRA GAMES,350|"
              "KOVRA GAMES,300|KOVRA GAMES,250|KOVRA GAMES,200|KOVRA GAMES,150|BOT,101|");
    // The inserted entry is a copy.
    best.SetScore(1);
    EXPECT_EQ(fresh->GetItem(0).GetScore(), 1000u);

    // An entry of the table itself, raised and inserted again, keeps its own name through the shift.
    ZRankItem& own = fresh->GetItem(9);
    own.SetScore(700);
    fresh->Insert(own);
    EXPECT_EQ(fresh->GetItem(1).GetName(), ZString("BOT"));
    EXPECT_EQ(fresh->GetItem(1).GetScore(), 700u);
}

TEST(ZRankList, LinesAreReadWithTheNumberRulesOfAtol) {
    ZRankList table(6);
    table.FillDefaults(ZString("D"), 60, 10);
    ZStringList lines;
    for (const char* line : {"AB,123xyz", "AB", ",7", "  SP ,  42", "MANY,1,2", "NEG,-1"}) {
        lines.Add(ZString(line));
    }
    table.FromStringList(lines);
    EXPECT_EQ(Lines(table), "AB,123|ERROR,0|,7|  SP ,42|MANY,1|NEG,4294967295|");

    // Numbers beyond a score's range saturate rather than wrap round to small scores.
    ZRankList big(2);
    ZStringList huge;
    huge.Add(ZString("A,4294967296"));
    huge.Add(ZString("B,99999999999999999999999"));
    big.FromStringList(huge);
    EXPECT_EQ(Lines(big), "A,4294967295|B,4294967295|");

    // A list of another length changes nothing.
    ZStringList shorter;
    shorter.Add(ZString("X,1"));
    table.FromStringList(shorter);
    EXPECT_EQ(table.GetItem(0).GetScore(), 123u);
}
