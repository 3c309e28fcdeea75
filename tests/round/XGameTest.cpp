#include "base/ZRankList.h"
#include "input/Controllers.h"
#include "round/RoundTest.h"

namespace {

class XGameTest : public RoundTest {
protected:
    // Plays on to the count of the area, with only these numbers of pixels of each painter's colour on the
    // field, in reading order.
    void PlayToCount(Four pixels) {
        RunUntil(XGame::kResult);
        Field()->ColourFill(nullptr, 7);
        for (int p = 0, at = 0; p < 4; ++p) {
            for (int n = 0; n < pixels[p]; ++n, ++at) Field()->Row(1 + at / 638)[1 + at % 638] = kColours[p];
        }
        game->UpdateFrame();
    }
};

TEST_F(XGameTest, EachRoundSeatsFacesAndPlacesThePaintersAfresh) {
    // Battle, single, the menu's control types; then the round's control types, courses and top-left corners
    // (x, then y): forty pixels out from the middle along the diagonals, facing away, with an empty seat of a
    // battle left in the middle; a ranking round seats player 1 alone, facing up, and leaves the rest alone.
    const std::array<int, 22> cases[] = {
        {1, 1, 0, 1, 2, 1, 0, 1, 2, 1, 96, 32, 160, 224, 273, 329, 301, 329, 164, 164, 192, 220},
        {1, 0, 2, 0, 1, 0, 2, 0, 1, 0, 96, 32, 160, 224, 301, 329, 273, 329, 192, 164, 220, 220},
        {0, 1, 1, 1, 0, 1, 0, 2, 2, 2, 64, -1, -1, -1, 301, 0, 0, 0, 204, 0, 0, 0}};
    for (const auto& c : cases) {
        Start(c[0], c[1], 2, {c[2], c[3], c[4], c[5]});
        for (int round = 1; round <= 2; ++round) {
            std::vector<int> seats;
            for (const Four& values : {Each(&XPlayerChara::GetControlType), Each(&XPlayerChara::GetDirection),
                                       Each(&XPlayerChara::GetX), Each(&XPlayerChara::GetY)}) {
                seats.insert(seats.end(), values.begin(), values.end());
            }
            EXPECT_EQ(seats, std::vector<int>(c.begin() + 6, c.end())) << "round " << round;
            EXPECT_EQ(Each(&XPlayerChara::GetColour), kColours);
            EXPECT_EQ(std::tuple(P(0)->GetState(), P(0)->GetSpeed(), P(0)->GetWins()),
                      std::tuple(0, 4.0f, round - 1));
            EXPECT_EQ(std::tuple(game->GetRoundNumber(), game->GetTimer()->GetRoundNumber(),
                                 game->GetTimer()->GetRemaining(), game->GetItem()->GetKind(),
                                 game->GetEffects()->CountEffects()),
                      std::tuple(round, round, c[0] ? 2200 : 1650, 0, 0));
            // What a round leaves behind; the wins last the match.
            RunUntil(XGame::kPlay, 10);
            P(0)->SetWins(round);
            P(0)->SetState(XPlayerChara::kFast);
            game->GetItem()->SetKind(XItemChara::kShoe);
            game->GetEffects()->AddEffect(XEffectManager::kBomb, 100, 100);
            game->StartRound();
        }
        EXPECT_EQ(Painted(0), 0) << "a clean field";
    }
}

TEST_F(XGameTest, ARoundFadesInCountsDownPlaysShowsTheBoardAndFadesOut) {
    InstallBlocks(156, 114, 194, 3, 100);  // cells 0, 1, 2: the digits 1, 2, 3
    InstallBlocks(155, 297, 195, 1, 110);  // start signal
    InstallBlocks(165, 500, 332, 1, 120);  // the board
    // Nobody takes part: nothing cuts play short, and the round is a draw that does not end the match.
    Start(true, true, 1, {2, 2, 2, 2});
    // Phase and counter before a frame; the phase after it, the black pixels of the fades' blinds in the
    // first stripe and the pixel at (320, 224) or -1.
    const std::array<int, 5> checks[] = {
        {1, 10, 1, 9600, -1}, {1, 20, 3, 0, -1},   {3, 0, 3, 0, 102},   {3, 19, 3, 0, 102},
        {3, 20, 3, 0, 101},   {3, 40, 3, 0, 100},  {3, 59, 3, 0, 100},  {3, 60, 3, 0, 110},
        {3, 79, 6, 0, 110},   {6, 2199, 4, 0, -1}, {4, 29, 5, 0, -1},   {5, 100, 5, 0, 120},
        {5, 269, 2, 0, -1},   {2, 0, 2, 0, 120},   {2, 4, 2, 3840, -1}, {2, 20, 1, 19200, -1}};
    const auto* check = checks;
    std::vector<int> sounds;  // phase, counter, sound
    Heard();
    for (int n = 0; check != std::end(checks) && n < 3000; ++n) {
        int phase = game->GetPhase(), counter = game->GetPhaseCounter();
        game->UpdateFrame();
        for (int32_t id : Heard()) sounds.insert(sounds.end(), {phase, counter, id});
        if ((*check)[0] == phase && (*check)[1] == counter) {
            const auto& c = *check++;
            EXPECT_EQ(
                std::tuple(static_cast<int>(game->GetPhase()), CountPixels(*Back(), Rect{0, 0, 40, 480}, 0),
                           c[4] < 0 ? -1 : Back()->GetPixel(320, 224)),
                std::tuple(c[2], c[3], c[4]))
                << phase << ":" << counter;
        }
    }
    EXPECT_EQ(check, std::end(checks));
    // The count-down's voices, the rings of three new items, the board sliding in and revealing four rows.
    const std::vector<int> heard = {3, 0,   182, 3, 20,   183, 3, 40,   181, 3, 60,  175,
                                    6, 550, 174, 6, 1100, 174, 6, 1650, 174, 5, 9,   179,
                                    5, 99,  220, 5, 119,  220, 5, 139,  220, 5, 159, 220};
    EXPECT_EQ(sounds, heard);
    EXPECT_EQ(std::tuple(game->GetResultBoard()->GetState(), app->sceneState),
              std::tuple(0, XAppData::kBeforeStart));
    game->UpdateFrame();
    EXPECT_EQ(game->GetRoundNumber(), 2u);
}

TEST_F(XGameTest, EscapeCancelsOnlyDuringPlayAndLeavesForTheMenuOrTheRanking) {
    for (bool battle : {true, false}) {
        Start(battle, true, 2, {2, 2, 2, 2});
        RunUntil(XGame::kCountDown, 5);
        Press(kKeyEscape);
        UpdateInput();  // newly down in a frame of the count-down
        game->UpdateFrame();
        Release(kKeyEscape);
        RunUntil(XGame::kPlay, 3);
        EXPECT_FALSE(game->IsAborted());
        Heard();
        PressFor(*game, kKeyEscape);
        EXPECT_EQ(std::tuple(game->IsAborted(), Heard()), std::tuple(true, std::vector<int32_t>{176}));
        Frames(*game, 20);  // the rest of the fade-out
        EXPECT_EQ(app->sceneState, battle ? XAppData::kCreateMenu : XAppData::kCreateRanking);
    }
}

TEST_F(XGameTest, AContestedItemGoesToTheHigherPlayerWhilePlayPausesUnderItsBanner) {
    InstallBlocks(221, 471, 52, 1, 140);   // item banner
    InstallBlocks(211, 120, 120, 4, 150);  // portraits of players 1 to 4
    for (bool battle : {true, false}) {
        Start(battle, true, 2, {0, 2, 0, 2});
        RunUntil(XGame::kPlay);
        XItemChara* item = game->GetItem();
        item->SetKind(XItemChara::kShoe);
        item->PlaceAt(300, 300);
        // Player 1 and (in a battle) player 3 stand still on either side of it, apart from each other.
        Stand(P(0), 275, 290);
        Stand(P(2), 330, 290);
        uint32_t remaining = game->GetTimer()->GetRemaining();
        Heard();
        Frames(*game, 20);
        EXPECT_EQ(std::tuple(game->GetItemTaker(), Heard(), item->GetKind()),
                  std::tuple(battle ? 2 : 0, std::vector<int32_t>{222}, XItemChara::kShoe));
        ExpectCorner(85, battle ? 248 : 198, 140, "banner");
        // In a battle the taker's portrait, drawn opaque.
        EXPECT_EQ(Back()->GetPixel(260, 128), battle ? 255 : Field()->GetPixel(260, 128));
        EXPECT_EQ(Back()->GetPixel(320, 150), battle ? 152 : Field()->GetPixel(320, 150));
        game->UpdateFrame();
        EXPECT_EQ(Each(&XPlayerChara::GetState), (Four{!battle, 0, battle, 0}));
        EXPECT_EQ(std::tuple(item->GetKind(), game->GetItemTaker(), game->GetTimer()->GetRemaining()),
                  std::tuple(0, -1, remaining))
            << "the pause is not taken from the round";
        game->UpdateFrame();
        EXPECT_EQ(game->GetTimer()->GetRemaining(), remaining - 1);
    }
}

TEST_F(XGameTest, NewItemsKeepClearOfThePresentPaintersAndComeOfTheKindsTheRoundAllows) {
    Start(true, true, 2, {1, 0, 2, 1});
    RunUntil(XGame::kPlay);
    const int centres[4][2] = {{120, 100}, {500, 330}, {320, 224}, {330, 120}};
    for (int p = 0; p < 4; ++p) P(p)->SetCentre(centres[p][0], centres[p][1]);
    XItemChara* item = game->GetItem();
    std::set<int> delays;
    Rect reach{640, 448, 0, 0};  // of the item's top-left corner
    int nearAbsent = 0;
    auto spawnKinds = [&](int count) {
        std::set<int> kinds;
        for (int n = 0; n < count; ++n) {
            game->SpawnItem();
            kinds.insert(item->GetKind());
            reach = Rect{std::min(reach.left, item->GetX()), std::min(reach.top, item->GetY()),
                         std::max(reach.right, item->GetX()), std::max(reach.bottom, item->GetY())};
            for (int p = 0; p < 4; ++p) {
                delays.insert(P(p)->GetComputerDelay());
                double distance =
                    Distance(item->GetCentreX(), item->GetCentreY(), P(p)->GetCentreX(), P(p)->GetCentreY());
                nearAbsent += distance < 140.0;
                EXPECT_TRUE(distance >= 140.0 || P(p)->GetControlType() == XPlayerChara::kAbsent) << p;
            }
        }
        return kinds;
    };
    EXPECT_EQ(spawnKinds(400), (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(std::tuple(nearAbsent > 0, delays.size(), *delays.begin()), std::tuple(true, 25u, 5));
    // From the third item of a battle on, no clock; and anywhere on the field when nobody is in the way.
    while (game->GetTimer()->GetItemTimes() < 3) game->GetTimer()->Tick();
    for (int p = 0; p < 4; ++p) P(p)->SetControlType(XPlayerChara::kAbsent);
    EXPECT_EQ(spawnKinds(20000), (std::set<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(std::tuple(reach.left, reach.top, reach.right, reach.bottom), std::tuple(1, 1, 594, 402));
    // A ranking round never brings the clock or the potion.
    Start(false, true, 2, {0, 1, 1, 1});
    item = game->GetItem();
    EXPECT_EQ(spawnKinds(300), (std::set<int>{2, 3, 4, 6}));
}

TEST_F(XGameTest, RoundedSharesDecideEachRoundAndTheFirstToTheWinsNeededEndsTheMatch) {
    game = std::make_unique<XGame>(app.get());
    game->CountArea();
    EXPECT_EQ(P(0)->GetScore(), 0) << "no field before the first round, and no division by zero";
    struct Case {
        bool single;
        int winsNeeded;
        std::vector<std::array<Four, 2>> rounds;  // pixels painted, the scores they give
        int winner;
    };
    const Case cases[] = {
        {false, 1, {{{{10000, 0, 0, 20000}, {4, 0, 0, 7}}}}, 2},  // a team's win counts on its first player
        {true, 2, {{{{0, 35853, 0, 31900}, {0, 13, 0, 11}}}, {{{0, 35853, 0, 31900}, {0, 13, 0, 11}}}}, 1},
        {true, 1, {{{{28000, 28000, 0, 0}, {10, 10, 0, 0}}}, {{{0, 0, 142274, 3000}, {0, 0, 50, 1}}}}, 2}};
    for (const Case& c : cases) {
        app->matchWinner = -1;
        Start(true, c.single, c.winsNeeded, {2, 2, 2, 2});
        for (const auto& [pixels, scores] : c.rounds) {
            PlayToCount(pixels);
            EXPECT_EQ(std::tuple(Each(&XPlayerChara::GetScore), app->matchWinner), std::tuple(scores, -1));
            RunUntil(game->GetRoundNumber() < c.rounds.size() ? XGame::kFadeIn : XGame::kFinished);
        }
        Four wins{};
        wins[c.winner] = c.winsNeeded;
        EXPECT_EQ(std::tuple(Each(&XPlayerChara::GetWins), app->matchWinner, app->sceneState),
                  std::tuple(wins, c.winner, XAppData::kCreateWinner));
    }
    // The finished scene shows nothing but black.
    Back()->ColourFill(nullptr, 9);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);
}

TEST_F(XGameTest, ARankingRoundAsksForANameOnlyWhenItBeatsTheTenthEntry) {
    ZRankList* table = app->GetHighScores();
    struct Case {
        int pixels;
        int score;  // per mille
        std::vector<int> keys;
        const char* name;
        uint32_t rank;
    };
    const Case cases[] = {{14227, 50, {}, "KOVRA GAMES", 9},  // ties the tenth entry: no name asked
                          {180800, 635, {kKeySpace, 30, 48, kKeySpace, kKeyReturn}, "AB", 0},
                          {130000, 457, {kKeySpace, kKeySpace, kKeyReturn}, "KOVRA GAMES", 2}};
    for (const Case& c : cases) {
        app->sceneState = XAppData::kBeforeStart;
        Start(false, true, 2, {1, 1, 1, 1});
        P(1)->SetScore(77);
        PlayToCount({c.pixels, 0, 0, 0});
        EXPECT_EQ(Each(&XPlayerChara::GetScore), (Four{c.score, 77, 0, 0}));
        RunUntil(c.keys.empty() ? XGame::kFinished : XGame::kNameEntry);
        EXPECT_EQ(app->hotKeysEnabled, c.keys.empty()) << "typing P must not pause";
        for (int key : c.keys) Tap(key);
        RunUntil(XGame::kFinished);
        EXPECT_EQ(std::tuple(app->sceneState, table->GetCount(), table->GetItem(c.rank).GetScore()),
                  std::tuple(XAppData::kCreateRanking, 10u, static_cast<uint32_t>(c.score)));
        EXPECT_EQ(table->GetItem(c.rank).GetName(), ZString(c.name));
    }
}

TEST_F(XGameTest, EachPersonSteersTheirOwnPainterWithKeysOrAPad) {
    for (int id : {100, 101, 102}) ControllerAdded(id);  // the pads of players 2, 3 and 4
    Start(true, true, 2, {0, 0, 0, 0});
    RunUntil(XGame::kPlay);
    // Keys, and pad buttons as 1000 x pad + button; the turns they make (+4 left, -4 right).
    const std::pair<std::vector<int>, Four> cases[] = {
        {{kKeyLeft}, {4, 0, 0, 0}},     {{kKeyRight, kKeyX, kKeyN}, {-4, -4, 4, 0}},
        {{kKeyPad4}, {0, 0, 0, 4}},     {{kKeyLeft, kKeyRight, kKeyZ, kKeyX, kKeyM}, {0, 0, -4, 0}},
        {{kKey6}, {0, 0, 0, -4}},       {{100004, 101005, 102004}, {0, 4, -4, 4}},
        {{kKeyX, 100004}, {0, 0, 0, 0}}};
    for (const auto& [keys, turns] : cases) {
        Four before = Each(&XPlayerChara::GetDirection);
        for (bool down : {true, false}) {
            for (int key : keys) {
                key < 1000 ? KeyboardEvent(key, down)
                           : ControllerButtonEvent(key / 1000, static_cast<PadButton>(key % 1000), down);
            }
            if (down) {
                game->UpdateFrame();
            }
        }
        Four after = Each(&XPlayerChara::GetDirection);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(NormaliseDirection(after[p] - before[p] - turns[p]), 0) << p << keys[0];
    }
    // A computer painter ignores the keys: only its weave turns it.
    Start(true, true, 2, {1, 1, 1, 1});
    RunUntil(XGame::kPlay);
    int before = P(1)->GetDirection();
    PressFor(*game, kKeyZ);
    EXPECT_EQ(NormaliseDirection(P(1)->GetDirection() - before), 8);
}

TEST_F(XGameTest, PaintersAndTheItemAreDrawnLowestLastWithArrowsUntilTimeIsUp) {
    for (uint32_t body : {109, 114, 115, 111}) InstallBlocks(body, 38, 40, 4, body, 0);
    InstallBlocks(158, 44, 44, 6, 120);
    InstallBlocks(117, 15, 15, 32, 130, 0);
    InstallBlocks(118, 15, 15, 32, 130, 0);
    Start(true, true, 2, {0, 0, 0, 0});
    RunUntil(XGame::kPlay);
    // Players 1 and 2 share a bottom edge and overlap: 2 covers 1. Player 3 stands higher and is covered by
    // both; player 4 stands lower and covers player 2; the item shares player 4's bottom and covers it.
    const int corners[4][2] = {{100, 100}, {120, 100}, {110, 90}, {150, 110}};
    for (int p = 0; p < 4; ++p) Stand(P(p), corners[p][0], corners[p][1]);
    game->GetItem()->SetKind(XItemChara::kMissile);
    game->GetItem()->PlaceAt(170, 106);
    game->DrawSorted();
    std::vector<int> seen;
    for (auto [x, y] : {std::pair{130, 120}, {115, 120}, {115, 95}, {115, 105}, {155, 130}, {180, 130}}) {
        seen.push_back(Back()->GetPixel(x, y));
    }
    EXPECT_EQ(seen, (std::vector<int>{114, 109, 115, 109, 111, 122}));
    // The arrows float ahead during play and are gone once the time is up.
    game->GetItem()->SetKind(XItemChara::kNone);
    game->UpdateFrame();
    EXPECT_GT(CountPixels(*Back(), Rect{0, 0, 640, 448}, 130), 0);
    while (game->GetTimer()->GetRemaining() > 1) game->GetTimer()->Tick();
    Frames(*game, 2);
    EXPECT_EQ(std::tuple(game->GetPhase(), CountPixels(*Back(), Rect{0, 0, 640, 448}, 130)),
              std::tuple(XGame::kTimeUp, 0));
}

}  // namespace
