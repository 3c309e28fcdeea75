#include <string>

#include "base/ZRankList.h"
#include "gfx/ZAscii.h"
#include "scenes/ScenePicture.h"
#include "scenes/XRanking.h"

using XRankingTest = GameTest;

TEST_F(XRankingTest, TableShowsRanksNamesAndScoresAsPercentagesWithOneDecimal) {
    ZRankList& table = *app->GetHighScores();
    table.GetItem(0) = ZRankItem(ZString("AB-1."), 1000);
    table.GetItem(9) = ZRankItem(ZString("Z"), 45);
    XRanking ranking(app.get());
    Frames(ranking, 21);
    PressFor(ranking, kKeyUp);  // from START up to BACK
    Frames(ranking, 8);

    // Ranks right-aligned in two cells; a whole field keeps its hundreds; the rest is the default table.
    const char* ranks[10] = {" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10"};
    const std::string scores[10] = {"100.0", "45.0", "40.0", "35.0", "30.0",
                                    "25.0",  "20.0", "15.0", "10.0", " 4.5"};
    auto digit = [](char c) { return c == '.' ? 11 : c == ' ' ? -1 : c - '0'; };
    auto glyph = [](char c) { return ZAscii::CellOf(static_cast<unsigned char>(c)); };
    std::vector<Layer> layers = Band(30, {Centred(245, 1, 0, 320, 42)});
    for (int i = 0, y = 84; i < 10; ++i, y += 30) {
        AddText(layers, {244, 12, 0, 146, y}, ranks[i], digit);
        layers.push_back({243, 1, 0, 204, y, false});
        AddText(layers, {106, 38, 0, 212, y + 4}, table.GetItem(i).GetName().GetBuffer(), glyph);
        AddText(layers, {104, 12, 0, 394, y + 2}, scores[i], digit);
        layers.push_back({218, 1, 0, 394 + 14 * static_cast<int>(scores[i].size()) + 2, y + 5});
    }
    layers.insert(layers.end(), {Centred(139, 1, 0, 320, 416), Centred(203, 1, 0, 320, 454)});
    AddMarkers(layers, layers.back(), 1);
    EXPECT_EQ(Misses(layers), 0);
}
