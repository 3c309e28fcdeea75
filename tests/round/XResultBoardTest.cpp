#include <tuple>

#include "round/RoundTest.h"
#include "round/XResultBoard.h"

namespace {

// Colours of the board's test pictures; digits, titles, icons and labels add their cell.
constexpr int kScroll = 20, kTitle = 21, kIcon = 24, kLabel = 30, kSmallPercent = 34, kBigPercent = 35,
              kTinyPercent = 36, kPoint = 37, kTrophy = 38, kBracket = 39, kLarge = 40, kDrawSign = 52,
              kHuge = 60, kSmall = 80;

// update, what ('a' sound, 'r' revealed row 0 to 3 or team 4 and 5, 'w' win of a player, 's' state), value
using Event = std::tuple<int, char, int>;

// The board of a round, every picture in a colour of its own at the size of the game's art.
class XResultBoardTest : public RoundTest {
protected:
    void StartBoard(bool battle, bool single, std::array<int32_t, 4> scores,
                    std::array<int32_t, 4> wins = {}) {
        InstallBlocks(165, 500, 332, 1, kScroll);
        InstallBlocks(214, 259, 16, 3, kTitle);
        InstallBlocks(145, 38, 41, 4, kIcon);
        InstallBlocks(141, 140, 35, 4, kLabel);
        InstallBlocks(151, 31, 35, 1, kSmallPercent);
        InstallBlocks(235, 60, 74, 1, kBigPercent);
        InstallBlocks(218, 16, 17, 1, kTinyPercent);
        InstallBlocks(233, 23, 84, 1, kPoint);
        InstallBlocks(149, 32, 38, 1, kTrophy);
        InstallBlocks(219, 19, 48, 1, kBracket);
        InstallBlocks(143, 22, 34, 12, kLarge);
        InstallBlocks(153, 422, 54, 1, kDrawSign);
        InstallBlocks(234, 52, 84, 12, kHuge);
        InstallBlocks(217, 11, 17, 12, kSmall);
        Start(battle, single, 2, {0, 0, 0, 0});
        board = game->GetResultBoard();
        for (int i = 0; i < 4; ++i) {
            P(i)->SetScore(scores[i]);
            P(i)->SetWins(wins[i]);
        }
        board->Start();
    }
    void Run(int updates) {
        for (int i = 0; i < updates; ++i) {
            board->Update();
        }
    }
    void Redraw() {
        Back()->ColourFill(nullptr, 0);
        board->Draw(Back());
    }
    // Everything that happens from the start to the end of the board.
    std::vector<Event> Timeline() {
        std::vector<Event> events;
        std::array<bool, 6> shown{};
        std::array<int32_t, 4> wins{};
        for (int i = 0; i < 4; ++i) {
            wins[i] = P(i)->GetWins();
        }
        Heard();
        for (int n = 1; board->GetState() != XResultBoard::kFinished && n < 1000; ++n) {
            uint32_t state = board->GetState();
            board->Update();
            for (int32_t id : Heard()) {
                events.emplace_back(n, 'a', id);
            }
            for (int k = 0; k < 6; ++k) {
                bool now = k < 4 ? board->IsRevealed(k) : board->IsTeamRevealed(k - 4);
                if (now && !shown[k]) {
                    events.emplace_back(n, 'r', k);
                }
                shown[k] = now;
            }
            for (int i = 0; i < 4; ++i) {
                if (P(i)->GetWins() != wins[i]) {
                    events.emplace_back(n, 'w', i);
                    wins[i] = P(i)->GetWins();
                }
            }
            if (board->GetState() != state) {
                events.emplace_back(n, 's', board->GetState());
            }
        }
        return events;
    }

    XResultBoard* board = nullptr;
};

TEST_F(XResultBoardTest, OnlyATieAtTheTopIsADrawAndATeamWinGoesToItsFirstPlayer) {
    struct Case {
        bool battle, single;
        std::array<int32_t, 4> scores;
        int32_t winner;
    };
    const Case cases[] = {
        {true, true, {30, 30, 20, 10}, -1}, {true, true, {10, 20, 35, 35}, -1},
        {true, true, {0, 0, 0, 0}, -1},     {true, true, {40, 20, 20, 10}, 0},
        {true, true, {10, 50, 20, 5}, 1},   {true, true, {5, 5, 5, 6}, 3},
        {true, true, {20, 20, 30, 20}, 2},  {true, false, {30, 10, 20, 20}, -1},
        {true, false, {10, 10, 30, 5}, 2},  {true, false, {40, 1, 20, 20}, 0},
        {true, false, {0, 30, 29, 0}, 0},   {false, true, {0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        StartBoard(c.battle, c.single, c.scores);
        EXPECT_EQ(board->GetWinner(), c.winner) << &c - cases;
    }
}

TEST_F(XResultBoardTest, TheBoardSlidesInRevealsInTurnThenCrownsTheWinnerOrShowsADraw) {
    struct Case {
        bool battle, single;
        std::array<int32_t, 4> scores;
        std::vector<Event> events;
    };
    std::vector<Event> counting{{10, 'a', 179}, {80, 's', 2}, {91, 'r', 0}};
    for (int counter = 12; counter <= 117; counter += 3) {
        counting.emplace_back(80 + counter, 'a', 220);
    }
    counting.insert(counting.end(), {{197, 's', 6}, {277, 's', 7}});
    const Case cases[] = {
        {true,
         true,
         {20, 15, 40, 21},
         {{10, 'a', 179},
          {80, 's', 2},
          {100, 'a', 220},
          {100, 'r', 0},
          {120, 'a', 220},
          {120, 'r', 1},
          {140, 'a', 220},
          {140, 'r', 2},
          {160, 'a', 220},
          {160, 'r', 3},
          {180, 's', 3},
          {181, 'a', 184},
          {260, 'w', 2},
          {260, 's', 5},
          {270, 's', 7}}},
        {true,
         true,
         {30, 10, 30, 20},
         {{10, 'a', 179},
          {80, 's', 2},
          {100, 'a', 220},
          {100, 'r', 0},
          {120, 'a', 220},
          {120, 'r', 1},
          {140, 'a', 220},
          {140, 'r', 2},
          {160, 'a', 220},
          {160, 'r', 3},
          {180, 's', 4},
          {260, 's', 5},
          {270, 's', 7}}},
        {true,
         false,
         {10, 20, 30, 5},
         {{10, 'a', 179},
          {80, 's', 2},
          {95, 'a', 220},
          {95, 'r', 0},
          {110, 'a', 220},
          {110, 'r', 1},
          {125, 'a', 220},
          {125, 'r', 4},
          {145, 'a', 220},
          {145, 'r', 2},
          {160, 'a', 220},
          {160, 'r', 3},
          {175, 'a', 220},
          {175, 'r', 5},
          {195, 's', 3},
          {196, 'a', 184},
          {275, 'w', 2},
          {275, 's', 5},
          {285, 's', 7}}},
        {false,
         true,
         {0, 0, 0, 0},
         {{10, 'a', 179}, {80, 's', 2}, {91, 'r', 0}, {92, 'a', 220}, {92, 's', 6}, {172, 's', 7}}},
        {false, true, {635, 0, 0, 0}, counting},
    };
    for (const Case& c : cases) {
        StartBoard(c.battle, c.single, c.scores);
        EXPECT_EQ(board->GetX(), 70);
        EXPECT_EQ(board->GetY(), -336);
        EXPECT_EQ(Timeline(), c.events) << &c - cases;
        EXPECT_EQ(board->GetY(), 59) << "79 steps of 5 pixels down";
        EXPECT_EQ(board->GetShownValue(), c.scores[0] * !c.battle);
    }
}

TEST_F(XResultBoardTest, ASingleBattleShowsARowPerPlayerAndZoomsTheNewTrophyIntoPlace) {
    StartBoard(true, true, {7, 42, 3, 5}, {0, 2, 0, 0});
    Back()->ColourFill(nullptr, 0);
    board->SetState(XResultBoard::kHidden);
    board->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480) << "a hidden board draws nothing";
    board->Start();
    Run(80 + 40);  // at rest, players 1 and 2 revealed
    Redraw();
    ExpectCorner(70, 59, kScroll, "scroll");
    ExpectCorner(191, 110, kTitle, "title");
    for (int i = 0; i < 4; ++i) {
        int rowY = 136 + 48 * i;
        ExpectCorner(149, rowY - 4, kIcon + i, "brush icon");
        ExpectCorner(195, rowY, kLabel + i, "label");
        ExpectCorner(391, rowY - 1, kSmallPercent, "percent sign");
    }
    ExpectCorner(367, 136, kLarge + 7, "7");
    EXPECT_EQ(Back()->GetPixel(346, 137), kScroll) << "no leading zero";
    ExpectCorner(345, 184, kLarge + 4, "4");
    ExpectCorner(367, 184, kLarge + 2, "2");
    EXPECT_EQ(Back()->GetPixel(368, 233), kScroll) << "player 3 not revealed yet";
    // Player 2's trophies overlap by half a width; the new one zooms from three times its size.
    ExpectCorner(425, 181, kTrophy, "first trophy");
    ExpectCorner(441, 181, kTrophy, "second trophy", 32);
    Run(60);
    ASSERT_EQ(board->GetState(), XResultBoard::kWinner);
    const std::pair<int, int> zoom[] = {{0, 108}, {12, 73}, {25, 36}};  // counter, height of the new trophy
    for (auto [counter, height] : zoom) {
        Run(counter - static_cast<int>(board->GetCounter()));
        Redraw();
        EXPECT_EQ(CountPixels(*Back(), Rect{473, 0, 474, 480}, kTrophy), height) << counter;
    }
    ExpectCorner(457, 181, kTrophy, "new trophy", 32);
}

TEST_F(XResultBoardTest, ADrawSignOpensFromALineStaysAndClosesAgain) {
    StartBoard(true, true, {30, 10, 30, 20});
    Run(80 + 100);
    ASSERT_EQ(board->GetState(), XResultBoard::kDraw);
    const std::pair<int, int> rows[] = {{0, 0}, {5, 26}, {25, 52}, {59, 52}, {65, 26}, {70, 0}};
    for (auto [counter, height] : rows) {
        Run(counter - static_cast<int>(board->GetCounter()));
        Redraw();
        EXPECT_EQ(CountPixels(*Back(), Rect{320, 0, 321, 480}, kDrawSign), height) << counter;
        EXPECT_EQ(CountPixels(*Back(), Rect{0, 224, 640, 225}, kDrawSign), height ? 420 : 0) << counter;
    }
}

TEST_F(XResultBoardTest, ATeamBattleShowsMembersAndTeamTotalsAndZoomsTheTeamsTrophy) {
    StartBoard(true, false, {3, 5, 60, 45}, {1, 0, 1, 0});
    Run(80 + 95);  // everything revealed
    Redraw();
    ExpectCorner(191, 110, kTitle + 1, "title");
    const int rows[4] = {136, 180, 236, 280};
    for (int i = 0; i < 4; ++i) {
        ExpectCorner(150, rows[i], kLabel + i, "label");
        ExpectCorner(319, rows[i] + 9, kTinyPercent, "member percent");
    }
    ExpectCorner(307, 145, kSmall + 3, "3");
    ExpectCorner(296, 245, kSmall + 6, "6");
    ExpectCorner(307, 245, kSmall + 0, "0");
    for (int teamY : {158, 258}) {
        ExpectCorner(338, teamY - 7, kBracket, "bracket");
        ExpectCorner(406, teamY + 16, kTinyPercent, "team percent");
        ExpectCorner(427, teamY - 3, kTrophy, "trophy");
    }
    ExpectCorner(382, 158, kLarge + 8, "3 + 5");
    ExpectCorner(360, 258, kLarge + 9, "60 + 45 reads 99");
    ExpectCorner(382, 258, kLarge + 9, "60 + 45 reads 99");
    Run(20 + 25);
    ASSERT_EQ(board->GetState(), XResultBoard::kWinner);
    Redraw();
    ExpectCorner(443, 255, kTrophy, "new trophy of the second team", 32);
}

TEST_F(XResultBoardTest, ARankingBoardCountsThePerMilleUpWithOneDecimal) {
    StartBoard(false, true, {635, 0, 0, 0});
    Run(80 + 10);
    Redraw();
    ExpectCorner(191, 110, kTitle + 2, "title");
    ExpectCorner(383, 192, kBigPercent, "percent sign");
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, kPoint), 0) << "nothing before the reveal";
    Run(107);
    ASSERT_EQ(board->GetState(), XResultBoard::kRankingShown);
    Redraw();
    ExpectCorner(200, 183, kHuge + 6, "6");
    ExpectCorner(252, 183, kHuge + 3, "3");
    ExpectCorner(304, 183, kPoint, "point");
    ExpectCorner(327, 183, kHuge + 5, "5");
}

}  // namespace
