#include "round/RoundTest.h"

// Colours of the board's test pictures; digits, titles, icons and labels add their cell.
constexpr int kScroll = 20, kTitle = 21, kIcon = 24, kLabel = 30, kSmallPercent = 34, kBigPercent = 35,
              kTinyPercent = 36, kPoint = 37, kTrophy = 38, kBracket = 39, kLarge = 40, kDrawSign = 52,
              kHuge = 60, kSmall = 80;

// The board of a round, every picture in a colour of its own at the size of the game's art.
class XResultBoardTest : public RoundTest {
protected:
    void StartBoard(bool battle, bool single, Four scores, Four wins = {}) {
        const std::vector<std::array<int, 5>> pictures = {
            {165, 500, 332, 1, kScroll},    {214, 259, 16, 3, kTitle},       {145, 38, 41, 4, kIcon},
            {141, 140, 35, 4, kLabel},      {151, 31, 35, 1, kSmallPercent}, {235, 60, 74, 1, kBigPercent},
            {218, 16, 17, 1, kTinyPercent}, {233, 23, 84, 1, kPoint},        {149, 32, 38, 1, kTrophy},
            {219, 19, 48, 1, kBracket},     {143, 22, 34, 12, kLarge},       {153, 422, 54, 1, kDrawSign},
            {234, 52, 84, 12, kHuge},       {217, 11, 17, 12, kSmall}};
        InstallBlocks(pictures);
        Start(battle, single, 2, {0, 0, 0, 0});
        board = game->GetResultBoard();
        for (int i = 0; i < 4; ++i) P(i)->SetScore(scores[i]), P(i)->SetWins(wins[i]);
        board->Start();
    }
    // Runs the board on to the given state and counter, and draws it.
    void RunTo(uint32_t state, uint32_t counter) {
        for (int n = 0; n < 1000 && (board->GetState() != state || board->GetCounter() != counter); ++n)
            board->Update();
        Back()->ColourFill(nullptr, 0);
        board->Draw(Back());
    }
    XResultBoard* board = nullptr;
};

TEST_F(XResultBoardTest, ASingleBattleSlidesInRevealsEachRowInTurnAndZoomsTheWinnersNewTrophyIntoPlace) {
    StartBoard(true, true, {7, 42, 3, 5}, {0, 2, 0, 0});
    RunTo(XResultBoard::kReveal, 59);  // at rest 79 steps of 5 pixels down; players 1 and 2 revealed
    const std::vector<std::array<int, 3>> corners = {
        {70, 59, kScroll},         {191, 110, kTitle},        {149, 132, kIcon},
        {149, 180, kIcon + 1},     {149, 228, kIcon + 2},     {149, 276, kIcon + 3},
        {195, 136, kLabel},        {195, 184, kLabel + 1},    {195, 232, kLabel + 2},
        {195, 280, kLabel + 3},    {391, 135, kSmallPercent}, {391, 183, kSmallPercent},
        {391, 231, kSmallPercent}, {391, 279, kSmallPercent}, {367, 136, kLarge + 7},
        {345, 184, kLarge + 4},    {367, 184, kLarge + 2},    {425, 181, kTrophy}};
    ExpectCorners(corners, "single battle");
    ExpectCorners({{441, 181, kTrophy}}, "second trophy, half a trophy on", 32);
    // No leading zero, and player 3 not revealed yet.
    EXPECT_EQ(std::tuple(Back()->GetPixel(346, 137), Back()->GetPixel(368, 233)),
              std::tuple(kScroll, kScroll));
    // The new trophy zooms in from three times its size to its own.
    for (auto [counter, height] : {std::pair{0, 108}, {12, 73}, {25, 36}}) {
        RunTo(XResultBoard::kWinner, counter);
        EXPECT_EQ(CountPixels(*Back(), {473, 0, 474, 480}, kTrophy), height) << counter;
    }
    ExpectCorners({{457, 181, kTrophy}}, "new trophy", 32);
    RunTo(XResultBoard::kWinner, 79);
    int wins = P(1)->GetWins();  // the win comes at the end of the zoom
    RunTo(XResultBoard::kFinished, 0);
    EXPECT_EQ(std::tuple(wins, P(1)->GetWins(), Heard()),
              std::tuple(2, 3, std::vector<int32_t>{179, 220, 220, 220, 220, 184}));
}

TEST_F(XResultBoardTest, ATeamBattleShowsMembersAndTeamTotalsAndZoomsTheTeamsTrophy) {
    StartBoard(true, false, {3, 5, 60, 40}, {1, 0, 1, 0});
    // The board comes to rest; players 1 and 2, team 0, players 3 and 4 and team 1 each come with a tick.
    std::vector<uint32_t> ticks;
    for (Heard(); board->GetState() != XResultBoard::kWinner; board->Update()) {
        if (board->GetState() == XResultBoard::kReveal && !Heard().empty())
            ticks.push_back(board->GetCounter());
    }
    EXPECT_EQ(ticks, (std::vector<uint32_t>{0, 15, 30, 45, 65, 80, 95}));
    StartBoard(true, false, {3, 5, 60, 40}, {1, 0, 1, 0});
    RunTo(XResultBoard::kReveal, 64);  // the first team shown, player 3 not yet
    EXPECT_EQ(std::tuple(Back()->GetPixel(383, 159), Back()->GetPixel(297, 246)),
              std::tuple(kLarge + 8, kScroll));
    RunTo(XResultBoard::kReveal, 95);
    const std::vector<std::array<int, 3>> corners = {
        {191, 110, kTitle + 1},   {150, 136, kLabel},       {150, 180, kLabel + 1},
        {150, 236, kLabel + 2},   {150, 280, kLabel + 3},   {319, 145, kTinyPercent},
        {319, 189, kTinyPercent}, {319, 245, kTinyPercent}, {319, 289, kTinyPercent},
        {307, 145, kSmall + 3},   {296, 245, kSmall + 6},   {307, 245, kSmall},
        {338, 151, kBracket},     {338, 251, kBracket},     {406, 174, kTinyPercent},
        {406, 274, kTinyPercent}, {382, 158, kLarge + 8},   {360, 258, kLarge + 9},
        {382, 258, kLarge + 9},   {427, 155, kTrophy},      {427, 255, kTrophy}};  // 60 + 40 reads 99
    ExpectCorners(corners, "team battle");
    RunTo(XResultBoard::kWinner, 25);
    ExpectCorners({{443, 255, kTrophy}}, "new trophy of the second team", 32);
    RunTo(XResultBoard::kFinished, 0);
    EXPECT_EQ(std::tuple(Each(&XPlayerChara::GetWins), Heard()),
              std::tuple(Four{1, 0, 2, 0}, std::vector<int32_t>{179, 220, 220, 220, 220, 220, 220, 184}));
}

TEST_F(XResultBoardTest, ARankingBoardCountsThePerMilleUpBySixAndShowsItWithOneDecimal) {
    // The score and the sounds: the slide, then a tick on every third frame of the count-up.
    for (auto [score, sounds] : {std::pair{0, 2}, {635, 37}}) {
        StartBoard(false, true, {score, 0, 0, 0});
        RunTo(XResultBoard::kReveal, 10);
        ExpectCorners({{191, 110, kTitle + 2}, {383, 192, kBigPercent}}, "ranking");
        int point = CountPixels(*Back(), {0, 0, 640, 480}, kPoint);  // nothing before the reveal
        RunTo(XResultBoard::kRankingShown, 0);
        EXPECT_EQ(std::tuple(point, board->GetShownValue(), Heard().size()),
                  std::tuple(0, score, size_t(sounds)));
    }
    ExpectCorners({{200, 183, kHuge + 6}, {252, 183, kHuge + 3}, {304, 183, kPoint}, {327, 183, kHuge + 5}},
                  "63.5");
    int shownFor = 0;
    for (; board->GetState() == XResultBoard::kRankingShown && shownFor < 1000; ++shownFor) board->Update();
    EXPECT_EQ(std::pair(shownFor, board->GetState()), std::pair(80, uint32_t(XResultBoard::kFinished)));
}
