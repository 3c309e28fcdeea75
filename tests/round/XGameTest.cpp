#include <string>

#include "base/ZRankList.h"
#include "input/Controllers.h"
#include "round/RoundTest.h"
#include "shell/XSettings.h"

class XGameTest : public RoundTest {
protected:
    // Plays on to the count of the area with only these pixels of each painter's colour on the field.
    void PlayToCount(Four pixels) {
        RunUntil(XGame::kResult);
        Surface* field = Field();
        field->ColourFill(nullptr, 7);
        for (int p = 0, at = 0; p < 4; ++p)
            for (int n = pixels[p]; n-- > 0; ++at) field->Row(1 + at / 638)[1 + at % 638] = P(p)->GetColour();
        game->UpdateFrame();
    }
};

TEST_F(XGameTest, EachRoundSeatsFacesAndPlacesThePaintersAfresh) {
    // Battle, single, the menu's control types; then the round's control types, courses and top-left corners
    // (x, then y): forty pixels out from the middle along the diagonals, facing away, with an empty seat of a
    // battle left in the middle; a ranking round seats player 1 alone, facing up, and leaves the rest alone.
    // Then the painters' colours, the middle pixels of their brushes; player 1's state, speed and wins; the
    // round's number, the timer's number and time, the item and the effects.
    const std::array<int, 34> cases[] = {
        {1,   1,   0,   1,   2,   1,   0,  1,   2,  1, 96, 32, 160, 224, 273,  329, 301,
         329, 164, 164, 192, 220, 192, 23, 203, 65, 0, 4,  0,  1,   1,   2200, 0,   0},
        {1,   0,   2,   0,   1,   0,   2,  0,   1,  0, 96, 32, 160, 224, 301,  329, 273,
         329, 192, 164, 220, 220, 192, 23, 203, 65, 0, 4,  0,  1,   1,   2200, 0,   0},
        {0, 1,   1, 1, 0, 1,   0,  2,   2,  2, 64, -1, -1, -1, 301,  0, 0,
         0, 204, 0, 0, 0, 192, 23, 203, 65, 0, 4,  0,  1,  1,  1650, 0, 0}};
    for (auto c : cases) {
        Start(c[0], c[1], 2, {c[2], c[3], c[4], c[5]});
        for (int round = 1; round <= 2; ++round, c[29] = c[30] = round) {
            std::vector<int> seen;
            for (const Four& values :
                 {Each(&XPlayerChara::GetControlType), Each(&XPlayerChara::GetDirection),
                  Each(&XPlayerChara::GetX), Each(&XPlayerChara::GetY), Each(&XPlayerChara::GetColour),
                  Four{P(0)->GetState(), int(P(0)->GetSpeed()), P(0)->GetWins(), int(game->GetRoundNumber())},
                  Four{int(game->GetTimer()->GetRoundNumber()), int(game->GetTimer()->GetRemaining()),
                       game->GetItem()->GetKind(), game->GetEffects()->CountEffects()}}) {
                seen.insert(seen.end(), values.begin(), values.end());
            }
            EXPECT_EQ(seen, std::vector<int>(c.begin() + 6, c.end())) << "round " << round;
            RunUntil(XGame::kPlay, 10);  // what a round leaves behind
            P(0)->SetState(XPlayerChara::kFast);
            game->GetItem()->SetKind(XItemChara::kShoe);
            game->GetEffects()->AddEffect(XEffectManager::kBomb, 100, 100);
            game->StartRound();
        }
    }
}

TEST_F(XGameTest, ARoundFadesInCountsDownPlaysShowsTheBoardAndTheTimeAndFadesOut) {
    // The count-down's digits 1, 2, 3 in cells 0, 1, 2; the start signal; the board and its draw sign; the
    // timer bar's yellow and blue lamps, lit and dark; its mode labels and digits.
    const std::vector<std::array<int, 5>> pictures = {
        {156, 114, 194, 3, 100}, {155, 297, 195, 1, 110}, {165, 500, 332, 1, 120}, {153, 422, 54, 1, 125},
        {131, 16, 16, 2, 50},    {207, 16, 16, 2, 52},    {205, 128, 18, 3, 56},   {206, 12, 18, 12, 60}};
    InstallBlocks(pictures);
    // Nobody takes part: nothing cuts play short, and the round is a draw that does not end the match.
    Start(true, true, 1, {2, 2, 2, 2});
    // Phase and counter before a frame; the phase after it, the black pixels of the fades' blinds in the
    // first stripe, the pixel at (320, 224) or -1, the lamps lit (a new one goes dark every 110 ticks) and
    // the rows of the draw sign, which opens from a line, stays and closes again.
    const std::array<int, 7> checks[] = {
        {1, 10, 1, 9600, -1, 20, 0}, {1, 20, 3, 0, -1, 20, 0},  {3, 0, 3, 0, 102, 20, 0},
        {3, 19, 3, 0, 102, 20, 0},   {3, 20, 3, 0, 101, 20, 0}, {3, 40, 3, 0, 100, 20, 0},
        {3, 59, 3, 0, 100, 20, 0},   {3, 60, 3, 0, 110, 20, 0}, {3, 79, 6, 0, 110, 20, 0},
        {6, 219, 6, 0, -1, 19, 0},   {6, 220, 6, 0, -1, 18, 0}, {6, 2199, 4, 0, -1, 1, 0},
        {4, 29, 5, 0, -1, 0, 0},     {5, 100, 5, 0, 120, 0, 0}, {5, 185, 5, 0, -1, 0, 26},
        {5, 205, 5, 0, -1, 0, 52},   {5, 245, 5, 0, -1, 0, 26}, {5, 250, 5, 0, -1, 0, 0},
        {5, 269, 2, 0, -1, 0, 0},    {2, 0, 2, 0, 120, 0, 0},   {2, 4, 2, 3840, -1, 0, 0},
        {2, 20, 1, 19200, -1, 0, 0}};
    const auto* check = checks;
    std::vector<int> sounds;  // phase, counter, sound
    int trails = 0, digitTop = 0;
    for (int n = 0; check != std::end(checks) && n < 3000; ++n) {
        int phase = game->GetPhase(), counter = game->GetPhaseCounter();
        game->UpdateFrame();
        for (int32_t id : Heard()) sounds.insert(sounds.end(), {phase, counter, id});
        // The count-down's digit, 194 rows high, is centred on the screen's middle (row 127 is its rim).
        while (phase == 3 && counter == 0 && digitTop < 480 && Back()->GetPixel(320, digitTop) != 102)
            ++digitTop;
        // Above the board that slid down, the field: no trail of the board.
        for (int y = 0; phase == 5 && counter == 100 && y < 59; ++y)
            for (int x = 0; x < 640; ++x) trails += Back()->GetPixel(x, y) != Field()->GetPixel(x, y);
        if ((*check)[0] == phase && (*check)[1] == counter) {
            const auto& c = *check++;
            std::string lamps, lit = "oooooOooooOooooOoooo?";  // twenty lamps and nothing after them
            for (int i = 0; i < 21; ++i)
                lamps += "o.O:?"[std::min(4u, Back()->GetPixel(160 + 17 * i, 465) - 50u)];
            for (int i = c[5]; i < 20; ++i) lit[i] = lit[i] == 'O' ? ':' : '.';
            EXPECT_EQ(std::tuple(int(game->GetPhase()), CountPixels(*Back(), {0, 0, 40, 480}, 0),
                                 c[4] < 0 ? -1 : Back()->GetPixel(320, 224), c[3] ? lit : lamps,
                                 CountPixels(*Back(), {320, 0, 321, 480}, 125)),
                      std::tuple(c[2], c[3], c[4], lit, c[6])) << phase << ":" << counter;
        }
    }
    // The count-down's voices, the rings of three new items, the board sliding in and revealing four rows.
    const std::vector<int> heard = {3, 0,   182, 3, 20,   183, 3, 40,   181, 3, 60,  175,
                                    6, 550, 174, 6, 1100, 174, 6, 1650, 174, 5, 9,   179,
                                    5, 99,  220, 5, 119,  220, 5, 139,  220, 5, 159, 220};
    EXPECT_EQ(std::tuple(check == std::end(checks), sounds, game->GetResultBoard()->GetState(),
                         app->sceneState, trails, digitTop),
              std::tuple(true, heard, 0, XAppData::kBeforeStart, 0, 128));
    RunUntil(XGame::kCountDown);
    ExpectCorners({{507, 456, 56}, {67, 456, 60}, {79, 456, 62}}, "single battle, round 02");
}

TEST_F(XGameTest, EachPersonSteersAContestedItemGoesToTheHigherPlayerAndPlayPausesUnderItsBanner) {
    // The banner; portraits of players 1 to 4; the item, its shadow; the painters.
    const std::vector<std::array<int, 5>> pictures = {
        {221, 471, 52, 1, 140}, {211, 120, 120, 4, 150}, {158, 44, 44, 6, 120}, {164, 40, 26, 1, 130}};
    InstallBlocks(pictures);
    InstallBlocks(
        {{109, 38, 40, 4, 160}, {114, 38, 40, 4, 164}, {115, 38, 40, 4, 168}, {111, 38, 40, 4, 172}}, 0);
    ReleaseInput();
    machine.joystick = true;  // player 1's
    ASSERT_TRUE(CreateInput(app->instance, app->mainWindow));
    ControllerAdded(100);  // player 2's pad
    for (bool battle : {true, false}) {
        Start(battle, true, 2, {0, 0, 0, 0});
        RunUntil(XGame::kPlay);
        XItemChara* item = game->GetItem();
        item->SetKind(XItemChara::kShoe);
        item->PlaceAt(300, 300);
        // Players 1 and 3 stand still on either side of it, apart from each other, player 3 lower than the
        // item and so drawn over it, player 1 higher and so under it; players 2 and 4 stand far off.
        const int corners[4][2] = {{275, 290}, {500, 100}, {330, 310}, {100, 400}};
        for (int p = 0; p < 4; ++p) Stand(P(p), corners[p][0], corners[p][1]);
        // Each person turns their own painter, with keys (players 3 and 4's swapped in the settings, so the
        // number row's 4 no longer steers player 4), player 1's joystick or player 2's pad; two ways at once
        // cancel.
        for (int p : {2, 3})
            std::swap(app->GetSettings()->steeringKeys[p][0], app->GetSettings()->steeringKeys[p][1]);
        Four before = Each(&XPlayerChara::GetDirection), turned;
        uint32_t remaining = game->GetTimer()->GetRemaining();
        Heard();
        for (bool down : {true, false}) {
            for (int key : {kKeyZ, kKeyM, kKeyPad4, kKey4}) KeyboardEvent(key, down);
            ControllerButtonEvent(100, PadButton::Right, down);
            machine.stick.x = down ? 0 : 32768;
            game->UpdateFrame();
        }
        Frames(*game, 18);
        for (int p = 0; p < 4; ++p) turned[p] = NormaliseDirection(P(p)->GetDirection() - before[p]);
        // The banner, and in a battle the taker's portrait, drawn opaque.
        ExpectCorners({{85, battle ? 248 : 198, 140}}, "banner");
        std::vector<int> pixels = {Back()->GetPixel(260, 128), Back()->GetPixel(320, 150),
                                   Back()->GetPixel(305, 320), Back()->GetPixel(335, 330),
                                   Back()->GetPixel(322, 346), Back()->GetPixel(510, 110)};
        std::vector<int> expected = {Field()->GetPixel(260, 128), Field()->GetPixel(320, 150), 121, 121, 130,
                                     Field()->GetPixel(510, 110)};
        EXPECT_EQ(std::tuple(turned, game->GetItemTaker(), Heard(), item->GetKind(), pixels),
                  std::tuple(battle ? Four{4, 0, 4, 252} : Four{4, 0, 0, 0}, battle ? 2 : 0,
                             std::vector<int32_t>{222}, XItemChara::kShoe,
                             battle ? std::vector<int>{255, 152, 121, 168, 130, 164} : expected));
        game->UpdateFrame();  // the end of the pause, which is not taken from the round, applies the item
        EXPECT_EQ(std::tuple(Each(&XPlayerChara::GetState), item->GetKind(), game->GetItemTaker(),
                             game->GetTimer()->GetRemaining()),
                  std::tuple(Four{!battle, 0, battle, 0}, 0, -1, remaining));
        app->GetSettings()->SetDefaults();
        PressFor(*game, kKeyEscape);  // cancels the match
        Frames(*game, 20);
        EXPECT_EQ(
            std::tuple(Heard(), app->sceneState),
            std::tuple(std::vector<int32_t>{176}, battle ? XAppData::kCreateMenu : XAppData::kCreateRanking));
    }
}

TEST_F(XGameTest, NewItemsKeepClearOfThePresentPaintersAndComeOfTheKindsTheRoundAllows) {
    Start(true, true, 2, {1, 0, 2, 1});
    RunUntil(XGame::kPlay);
    const int centres[4][2] = {{120, 100}, {500, 330}, {320, 224}, {330, 120}};
    for (int p = 0; p < 4; ++p) P(p)->SetCentre(centres[p][0], centres[p][1]);
    // An item lies on the field, within 140 pixels of no painter but an empty seat, and every computer player
    // waits 5 to 29 frames before it seeks it.
    std::set<int> kinds, delays;
    auto spawn = [&](int count) {
        for (kinds.clear(); count-- > 0; kinds.insert(game->GetItem()->GetKind())) {
            game->SpawnItem();
            for (int p = 0; p < 4; ++p) {
                const XItemChara* item = game->GetItem();
                double distance =
                    Distance(item->GetCentreX(), item->GetCentreY(), P(p)->GetCentreX(), P(p)->GetCentreY());
                EXPECT_TRUE((distance >= 140.0 || P(p)->GetControlType() == XPlayerChara::kAbsent) &&
                            item->GetX() >= 1 && item->GetX() <= 594 && item->GetY() >= 1 &&
                            item->GetY() <= 402);
                delays.insert(P(p)->GetComputerDelay());
            }
        }
    };
    spawn(400);
    EXPECT_EQ(std::tuple(kinds, delays.size(), *delays.begin()),
              std::tuple(std::set<int>{1, 2, 3, 4, 5, 6}, 25u, 5));
    // The item due at 1,100 ticks may still be the clock, those from 1,650 ticks on never; a ranking round
    // never brings the clock or the potion.
    for (int i = 0; i < 1100; ++i) game->GetTimer()->Tick();
    spawn(300);
    size_t clockAt1100 = kinds.count(1);
    for (int i = 0; i < 550; ++i) game->GetTimer()->Tick();
    spawn(300);
    std::set<int> late = kinds;
    Start(false, true, 2, {0, 1, 1, 1});
    spawn(300);
    EXPECT_EQ(std::tuple(clockAt1100, late, kinds),
              std::tuple(1u, std::set<int>{2, 3, 4, 5, 6}, std::set<int>{2, 3, 4, 6}));
}

TEST_F(XGameTest, RoundedSharesDecideEachRoundAndTheFirstToTheWinsNeededEndsTheMatch) {
    // Single, wins needed, the pixels painted in each round and the shares they give, the winner. 143696 is
    // just under 50.5 per cent of the 638 x 446 counted pixels. A team's win counts on its first player;
    // equal team totals and a tie at the top are draws, a tie below it is not.
    const std::tuple<bool, int, std::vector<std::array<Four, 2>>, int> cases[] = {
        {false, 1, {{{{2845, 20000, 14000, 8845}, {1, 7, 5, 3}}}, {{{0, 0, 10000, 0}, {0, 0, 4, 0}}}}, 2},
        {true, 2, {{{{0, 35853, 0, 31900}, {0, 13, 0, 11}}}, {{{5700, 8535, 5700, 5700}, {2, 3, 2, 2}}}}, 1},
        {true, 1, {{{{28000, 28000, 0, 0}, {10, 10, 0, 0}}}, {{{0, 0, 143696, 3000}, {0, 0, 50, 1}}}}, 2}};
    for (const auto& [single, winsNeeded, rounds, winner] : cases) {
        app->matchWinner = -1;
        Start(true, single, winsNeeded, {2, 2, 2, 2});
        for (const auto& [pixels, scores] : rounds) {
            PlayToCount(pixels);
            EXPECT_EQ(std::tuple(Each(&XPlayerChara::GetScore), app->matchWinner), std::tuple(scores, -1));
            RunUntil(game->GetRoundNumber() < rounds.size() ? XGame::kFadeIn : XGame::kFinished);
        }
        EXPECT_EQ(std::tuple(P(winner)->GetWins(), app->matchWinner, app->sceneState),
                  std::tuple(winsNeeded, winner, XAppData::kCreateWinner));
    }
    Back()->ColourFill(nullptr, 9);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 0), 640 * 480);  // the finished scene is black
}

TEST_F(XGameTest, ARankingRoundAsksForANameOnlyWhenItBeatsTheTenthEntry) {
    ZRankList* table = app->GetHighScores();
    // Pixels painted, the per mille they give, the text typed before Enter (none: no name asked for), the
    // name stored and its place in the table. 50 ties the tenth entry: no name is asked for.
    const std::tuple<int, int, const char*, const char*, uint32_t> cases[] = {
        {14227, 50, nullptr, "KOVRA GAMES", 9}, {180800, 635, " ab ", "AB", 0},
        {130000, 457, "  ", "KOVRA GAMES", 2}};
    for (const auto& [pixels, score, typed, name, rank] : cases) {
        Start(false, true, 2, {1, 1, 1, 1});
        P(1)->SetScore(77);
        PlayToCount({pixels, 0, 0, 0});
        RunUntil(!typed ? XGame::kFinished : XGame::kNameEntry);
        // Only player 1 is scored; typing P must not pause; the name is asked for on the black screen.
        if (typed)
            game->UpdateFrame();
        EXPECT_EQ(std::tuple(Each(&XPlayerChara::GetScore), app->hotKeysEnabled,
                             CountPixels(*Back(), {0, 0, 640, 480}, 0) == 640 * 480),
                  std::tuple(Four{score, 77, 0, 0}, !typed, !typed));
        TextEvent(typed);
        Tap(kKeyReturn);
        RunUntil(XGame::kFinished);
        EXPECT_EQ(std::tuple(app->sceneState, table->GetCount(), table->GetItem(rank).GetScore(),
                             table->GetItem(rank).GetName()),
                  std::tuple(XAppData::kCreateRanking, 10u, static_cast<uint32_t>(score), ZString(name)));
    }
}
