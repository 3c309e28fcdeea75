#include "round/XResultBoard.h"

#include <array>
#include <memory>

#include "round/XPlayerChara.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint8_t kScroll = 10;
constexpr uint8_t kTitle = 11;      // + cell
constexpr uint8_t kIcon = 20;       // + cell
constexpr uint8_t kLabel = 30;      // + cell
constexpr uint8_t kLarge = 100;     // + digit
constexpr uint8_t kHuge = 120;      // + digit
constexpr uint8_t kSmall = 140;     // + digit
constexpr uint8_t kSmallPercent = 40;
constexpr uint8_t kBigPercent = 41;
constexpr uint8_t kTinyPercent = 42;
constexpr uint8_t kPoint = 43;
constexpr uint8_t kTrophy = 44;
constexpr uint8_t kBracket = 45;
constexpr uint8_t kDrawSign = 46;

class XResultBoardTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        // Every board picture in a colour of its own, at the sizes of the game's art.
        InstallKeyedPlain(165, 500, 332, kScroll);
        InstallKeyedSheet(214, 259, 16, 3, kTitle);
        InstallKeyedSheet(145, 38, 41, 4, kIcon);
        InstallKeyedSheet(141, 140, 35, 4, kLabel);
        InstallKeyedSheet(143, 22, 34, 12, kLarge);
        InstallKeyedSheet(234, 52, 84, 12, kHuge);
        InstallKeyedSheet(217, 11, 17, 12, kSmall);
        InstallKeyedPlain(151, 31, 35, kSmallPercent);
        InstallKeyedPlain(235, 60, 74, kBigPercent);
        InstallKeyedPlain(218, 16, 17, kTinyPercent);
        InstallKeyedPlain(233, 23, 84, kPoint);
        InstallKeyedPlain(149, 32, 38, kTrophy);
        InstallKeyedPlain(219, 19, 48, kBracket);
        InstallKeyedPlain(153, 422, 54, kDrawSign);
        const uint16_t bodies[4] = {109, 114, 115, 111};
        for (int i = 0; i < 4; ++i) {
            players[i] = std::make_unique<XPlayerChara>(app.get(), bodies[i], 110, 246, 160, 126);
        }
    }
    void TearDown() override {
        for (auto& player : players) {
            player.reset();
        }
        SceneTest::TearDown();
    }

    void UseMode(int battleMode, bool single) {
        XMenuData* settings = app->GetMenuSettings();
        settings->SetBattleMode(battleMode);
        if ((settings->IsSingleBattle() != 0) != single) {
            settings->ToggleBattleType();
        }
    }

    std::unique_ptr<XResultBoard> MakeBoard(std::array<int32_t, 4> scores) {
        auto board = std::make_unique<XResultBoard>(app.get());
        for (int i = 0; i < 4; ++i) {
            players[i]->SetScore(scores[i]);
            board->SetPlayer(i, players[i].get());
        }
        return board;
    }

    static void Run(XResultBoard& board, int updates) {
        for (int i = 0; i < updates; ++i) {
            board.Update();
        }
    }

    void Redraw(XResultBoard& board) {
        Back()->ColourFill(nullptr, 0);
        board.Draw(Back());
    }

    // The picture whose top-left corner is at (x, y): its colour inside and not left of or above it.
    void ExpectCorner(int x, int y, uint8_t colour, const char* what) {
        EXPECT_EQ(Back()->GetPixel(x + 1, y + 1), colour) << what << " at " << x << "," << y;
        EXPECT_NE(Back()->GetPixel(x - 1, y + 1), colour) << what << " starts left of " << x;
        EXPECT_NE(Back()->GetPixel(x + 1, y - 1), colour) << what << " starts above " << y;
    }

    std::array<std::unique_ptr<XPlayerChara>, 4> players;
};

TEST_F(XResultBoardTest, DecideWinner_OnlyATieAtTheTopIsADraw) {
    UseMode(1, true);
    struct Case {
        std::array<int32_t, 4> scores;
        int32_t winner;
    };
    const Case cases[] = {
        {{30, 30, 20, 10}, -1}, {{10, 20, 35, 35}, -1}, {{0, 0, 0, 0}, -1},   {{40, 20, 20, 10}, 0},
        {{10, 50, 20, 5}, 1},   {{5, 5, 5, 6}, 3},      {{25, 0, 0, 0}, 0},     {{20, 20, 30, 20}, 2},
    };
    for (const Case& c : cases) {
        auto board = MakeBoard(c.scores);
        EXPECT_EQ(board->DecideWinner(), c.winner)
            << c.scores[0] << "," << c.scores[1] << "," << c.scores[2] << "," << c.scores[3];
    }

    UseMode(1, false);
    const Case teamCases[] = {
        {{30, 10, 20, 20}, -1}, {{10, 10, 30, 5}, 2}, {{40, 1, 20, 20}, 0}, {{0, 0, 0, 0}, -1}, {{0, 30, 29, 0}, 0},
    };
    for (const Case& c : teamCases) {
        auto board = MakeBoard(c.scores);
        EXPECT_EQ(board->DecideWinner(), c.winner)
            << c.scores[0] << "," << c.scores[1] << "," << c.scores[2] << "," << c.scores[3];
    }

    UseMode(0, true);
    EXPECT_EQ(MakeBoard({0, 0, 0, 0})->DecideWinner(), 0);
}

TEST_F(XResultBoardTest, SingleBattle_SlidesInRevealsInTurnAndAwardsTheWinAtTheEnd) {
    ASSERT_TRUE(SoundsLoaded());
    UseMode(1, true);
    players[2]->SetWins(1);
    auto board = MakeBoard({20, 15, 40, 21});
    board->Draw(Back());
    EXPECT_EQ(board->GetState(), XResultBoard::kHidden);
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, kScroll), 0) << "a hidden board draws nothing";

    board->Start();
    EXPECT_EQ(board->GetState(), XResultBoard::kSlideIn);
    EXPECT_EQ(board->GetWinner(), 2);
    EXPECT_EQ(board->GetX(), 70);
    EXPECT_EQ(board->GetY(), -336);
    Run(*board, 9);
    EXPECT_EQ(SoundLog::Get().CountPlayed(179), 0);
    Run(*board, 1);
    EXPECT_EQ(SoundLog::Get().CountPlayed(179), 1);
    Run(*board, 69);
    EXPECT_EQ(board->GetY(), 59) << "79 steps of 5 pixels";
    EXPECT_EQ(board->GetState(), XResultBoard::kSlideIn);
    Run(*board, 1);
    EXPECT_EQ(board->GetY(), 59);
    EXPECT_EQ(board->GetState(), XResultBoard::kReveal);

    for (int i = 0; i < 4; ++i) {
        Run(*board, 19);
        EXPECT_FALSE(board->IsRevealed(i)) << i;
        Run(*board, 1);
        EXPECT_TRUE(board->IsRevealed(i)) << i;
        EXPECT_EQ(SoundLog::Get().CountPlayed(220), i + 1);
    }
    Run(*board, 19);
    EXPECT_EQ(board->GetState(), XResultBoard::kReveal);
    Run(*board, 1);
    EXPECT_EQ(board->GetState(), XResultBoard::kWinner);

    Run(*board, 1);
    EXPECT_EQ(SoundLog::Get().CountPlayed(184), 1);
    Run(*board, 78);
    EXPECT_EQ(players[2]->GetWins(), 1) << "the win comes at the end of the trophy";
    Run(*board, 1);
    EXPECT_EQ(players[2]->GetWins(), 2);
    EXPECT_EQ(board->GetState(), XResultBoard::kHold);
    Run(*board, 9);
    EXPECT_EQ(board->GetState(), XResultBoard::kHold);
    Run(*board, 1);
    EXPECT_EQ(board->GetState(), XResultBoard::kFinished);
    Run(*board, 50);
    EXPECT_EQ(board->GetState(), XResultBoard::kFinished);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(players[i]->GetWins(), 0) << i;
    }
    EXPECT_EQ(SoundLog::Get().CountPlayed(220), 4);
}

TEST_F(XResultBoardTest, Draw_NobodyWinsAndTheSignOpensAndCloses) {
    UseMode(1, true);
    auto board = MakeBoard({30, 10, 30, 20});
    board->Start();
    Run(*board, 80 + 100);
    ASSERT_EQ(board->GetState(), XResultBoard::kDraw);
    EXPECT_EQ(SoundLog::Get().CountPlayed(184), 0);

    // The sign is centred on (320, 224), 422 x 54 at full height, scaled vertically only.
    auto signRows = [&]() { return CountPixels(*Back(), Rect{320, 0, 321, 480}, kDrawSign); };
    auto signColumns = [&]() { return CountPixels(*Back(), Rect{0, 224, 640, 225}, kDrawSign); };
    Redraw(*board);
    EXPECT_EQ(signRows(), 0) << "counter 0: a line of no height";
    Run(*board, 5);
    Redraw(*board);
    EXPECT_EQ(signRows(), 27);
    EXPECT_EQ(signColumns(), 422);
    Run(*board, 20);
    Redraw(*board);
    EXPECT_EQ(signRows(), 54);
    EXPECT_EQ(Back()->GetPixel(320, 224 - 26), kDrawSign);
    EXPECT_NE(Back()->GetPixel(320, 224 - 28), kDrawSign);
    Run(*board, 40);
    Redraw(*board);
    EXPECT_NEAR(signRows(), 27, 1) << "counter 65 closes to half";
    Run(*board, 5);
    Redraw(*board);
    EXPECT_EQ(signRows(), 0);

    Run(*board, 10);
    EXPECT_EQ(board->GetState(), XResultBoard::kHold);
    Run(*board, 10);
    EXPECT_EQ(board->GetState(), XResultBoard::kFinished);
    for (auto& player : players) {
        EXPECT_EQ(player->GetWins(), 0);
    }
}

TEST_F(XResultBoardTest, TeamBattle_RevealOrderAndTheWinGoesToTheFirstOfTheTeam) {
    ASSERT_TRUE(SoundsLoaded());
    UseMode(1, false);
    auto board = MakeBoard({10, 20, 30, 5});
    board->Start();
    EXPECT_EQ(board->GetWinner(), 2);
    Run(*board, 80);
    ASSERT_EQ(board->GetState(), XResultBoard::kReveal);
    int sounds = SoundLog::Get().CountPlayed(220);
    auto shown = [&]() {
        return std::array<bool, 6>{board->IsRevealed(0),     board->IsRevealed(1), board->IsTeamRevealed(0),
                                   board->IsRevealed(2),     board->IsRevealed(3), board->IsTeamRevealed(1)};
    };
    const int frames[6] = {15, 30, 45, 65, 80, 95};
    int counter = 0;
    for (int step = 0; step < 6; ++step) {
        Run(*board, frames[step] - 1 - counter);
        EXPECT_FALSE(shown()[step]) << step;
        Run(*board, 1);
        counter = frames[step];
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(shown()[k], k <= step) << "step " << step << " item " << k;
        }
        EXPECT_EQ(SoundLog::Get().CountPlayed(220), sounds + step + 1);
    }
    Run(*board, 115 - 1 - 95);
    EXPECT_EQ(board->GetState(), XResultBoard::kReveal);
    Run(*board, 1);
    EXPECT_EQ(board->GetState(), XResultBoard::kWinner);
    Run(*board, 80);
    EXPECT_EQ(players[2]->GetWins(), 1);
    EXPECT_EQ(players[3]->GetWins(), 0);
    EXPECT_EQ(players[0]->GetWins(), 0);
}

TEST_F(XResultBoardTest, Ranking_CountsUpBySixAndStopsAtTheScore) {
    ASSERT_TRUE(SoundsLoaded());
    UseMode(0, true);
    {
        auto board = MakeBoard({0, 0, 0, 0});
        board->Start();
        Run(*board, 80 + 11);
        EXPECT_TRUE(board->IsRevealed(0));
        EXPECT_EQ(board->GetState(), XResultBoard::kReveal);
        EXPECT_EQ(SoundLog::Get().CountPlayed(220), 0) << "the reveal itself is silent";
        Run(*board, 1);
        EXPECT_EQ(board->GetState(), XResultBoard::kRankingShown) << "score 0 ends in the first counting frame";
        EXPECT_EQ(board->GetShownValue(), 0);
        Run(*board, 80);
        EXPECT_EQ(board->GetState(), XResultBoard::kFinished);
    }
    SoundLog::Get().played.clear();
    auto board = MakeBoard({635, 0, 0, 0});
    board->Start();
    Run(*board, 80 + 11);
    int frames = 0;
    int lastShown = 0;
    while (board->GetState() == XResultBoard::kReveal && frames < 1000) {
        board->Update();
        ++frames;
        if (board->GetState() == XResultBoard::kReveal) {
            EXPECT_EQ(board->GetShownValue(), lastShown + 6);
        }
        lastShown = board->GetShownValue();
    }
    EXPECT_EQ(frames, 106) << "6 x 106 = 636 is the first value past 635";
    EXPECT_EQ(board->GetShownValue(), 635);
    EXPECT_EQ(board->GetState(), XResultBoard::kRankingShown);
    // Counters 12 to 117: a sound on every multiple of 3.
    EXPECT_EQ(SoundLog::Get().CountPlayed(220), 36);
    EXPECT_EQ(players[0]->GetWins(), 0);
}

TEST_F(XResultBoardTest, SingleBattle_Layout) {
    UseMode(1, true);
    players[1]->SetWins(2);
    auto board = MakeBoard({7, 42, 3, 5});
    board->Start();
    Run(*board, 80 + 40);  // at rest, players 1 and 2 revealed
    Redraw(*board);

    const int x = 70;
    const int y = 59;
    ExpectCorner(x, y, kScroll, "scroll");
    // The title is centred on the scroll, its top 51 pixels below the scroll's top.
    ExpectCorner(320 - 259 / 2, y + 51, kTitle + 0, "title");
    const int colX = x + 79;
    for (int i = 0; i < 4; ++i) {
        int rowY = y + 77 + 48 * i;
        ExpectCorner(colX, rowY - 4, kIcon + i, "brush icon");
        int labelX = colX + 38 + 8;
        ExpectCorner(labelX, rowY, kLabel + i, "label");
        int numberX = labelX + 140 + 10;
        ExpectCorner(numberX + 2 * 22 + 2, rowY - 1, kSmallPercent, "percent sign");
        if (i == 0) {
            // 7 in the right cell, the left cell blank.
            EXPECT_EQ(Back()->GetPixel(numberX + 22 + 5, rowY + 5), kLarge + 7);
            EXPECT_EQ(Back()->GetPixel(numberX + 5, rowY + 5), kScroll);
        } else if (i == 1) {
            EXPECT_EQ(Back()->GetPixel(numberX + 5, rowY + 5), kLarge + 4);
            EXPECT_EQ(Back()->GetPixel(numberX + 22 + 5, rowY + 5), kLarge + 2);
        } else {
            EXPECT_EQ(Back()->GetPixel(numberX + 22 + 5, rowY + 5), kScroll) << "not revealed yet";
        }
    }
    // Player 2's two trophies overlap by half a width.
    int rowY = y + 77 + 48;
    ExpectCorner(colX + 276, rowY - 3, kTrophy, "first trophy");
    EXPECT_EQ(CountPixels(*Back(), Rect{0, rowY + 10, 640, rowY + 11}, kTrophy), 16 + 32);
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, kTrophy), (16 + 32) * 38 - 1);

    // The winner's new trophy zooms in where its third will stand.
    Run(*board, 60);
    ASSERT_EQ(board->GetState(), XResultBoard::kWinner);
    Redraw(*board);
    int bigRows = CountPixels(*Back(), Rect{colX + 276 + 32 + 16, 0, colX + 276 + 32 + 17, 480}, kTrophy);
    EXPECT_EQ(bigRows, 3 * 38) << "three times its size at the start";
    Run(*board, 25);
    Redraw(*board);
    EXPECT_EQ(Back()->GetPixel(colX + 276 + 32 + 31, rowY), kTrophy) << "new trophy at rest";
    EXPECT_NE(Back()->GetPixel(colX + 276 + 32 + 32, rowY), kTrophy);
    EXPECT_EQ(CountPixels(*Back(), Rect{colX + 276 + 32 + 16, 0, colX + 276 + 32 + 17, 480}, kTrophy), 38);
}

TEST_F(XResultBoardTest, TeamAndRanking_Layout) {
    UseMode(1, false);
    players[0]->SetWins(1);
    auto board = MakeBoard({60, 45, 3, 5});
    board->Start();
    Run(*board, 80 + 95);
    Redraw(*board);
    const int baseX = 70 + 80;
    const int baseY = 59 + 77;
    const int rows[4] = {0, 44, 100, 144};
    for (int i = 0; i < 4; ++i) {
        ExpectCorner(baseX, baseY + rows[i], kLabel + i, "label");
        ExpectCorner(baseX + 140 + 6 + 22 + 1, baseY + rows[i] + 9, kTinyPercent, "member percent");
    }
    EXPECT_EQ(Back()->GetPixel(baseX + 146 + 3, baseY + 9 + 3), kSmall + 6);
    EXPECT_EQ(Back()->GetPixel(baseX + 146 + 11 + 3, baseY + 9 + 3), kSmall + 0);
    const int teamX = baseX + 140 + 48;
    const int teamRows[2] = {22, 122};
    for (int team = 0; team < 2; ++team) {
        int teamY = baseY + teamRows[team];
        ExpectCorner(teamX, teamY - 7, kBracket, "bracket");
        ExpectCorner(teamX + 22 + 44 + 2, teamY + 16, kTinyPercent, "team percent");
    }
    // 60 + 45 = 105 does not fit two cells and reads 99.
    EXPECT_EQ(Back()->GetPixel(teamX + 22 + 5, baseY + 22 + 5), kLarge + 9);
    EXPECT_EQ(Back()->GetPixel(teamX + 44 + 5, baseY + 22 + 5), kLarge + 9);
    EXPECT_EQ(Back()->GetPixel(teamX + 44 + 5, baseY + 122 + 5), kLarge + 8);
    ExpectCorner(baseX + 277, baseY + 22 - 3, kTrophy, "team 0 trophy");

    UseMode(0, true);
    auto ranking = MakeBoard({635, 0, 0, 0});
    ranking->Start();
    Run(*ranking, 80 + 10);
    Redraw(*ranking);
    const int x = 70 + 130;
    const int y = 59 + 124;
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, kPoint), 0) << "nothing before the reveal";
    ExpectCorner(x + 23 + 3 * 52 + 4, 59 + 133, kBigPercent, "percent sign");
    while (ranking->GetState() == XResultBoard::kReveal) {
        ranking->Update();
    }
    Redraw(*ranking);
    // 63, the point, 5.
    EXPECT_EQ(Back()->GetPixel(x + 5, y + 5), kHuge + 6);
    EXPECT_EQ(Back()->GetPixel(x + 52 + 5, y + 5), kHuge + 3);
    ExpectCorner(x + 104, y, kPoint, "point");
    EXPECT_EQ(Back()->GetPixel(x + 104 + 23 + 5, y + 5), kHuge + 5);
    ExpectCorner(320 - 259 / 2, 59 + 51 + 0, kTitle + 2, "ranking title");
}

}  // namespace
