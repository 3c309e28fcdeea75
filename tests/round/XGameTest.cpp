#include <set>
#include <tuple>

#include "base/ZRankList.h"
#include "gfx/Maths.h"
#include "input/Controllers.h"
#include "input/Input.h"
#include "round/RoundTest.h"
#include "round/XEffectSprite.h"
#include "round/XGame.h"
#include "round/XResultBoard.h"
#include "round/XTimerPlane.h"

namespace {

constexpr int kKeyA = 30;
constexpr int kKeyB = 48;

class XGameTest : public RoundTest {
protected:
    // The field holds nothing but these numbers of pixels of each painter's colour, in reading order.
    void PaintField(std::array<int, 4> counts) {
        for (int y = 0; y < 448; ++y) {
            std::fill(Field()->Row(y), Field()->Row(y) + 640, 7);
        }
        for (int p = 0, at = 0; p < 4; ++p) {
            for (int n = 0; n < counts[p]; ++n, ++at) {
                Field()->Row(1 + at / 638)[1 + at % 638] = kColours[p];
            }
        }
    }
};

TEST_F(XGameTest, EachRoundSeatsFacesAndPlacesThePaintersAfresh) {
    struct Case {
        bool battle;
        bool single;
        std::array<int, 4> menu;
        std::array<int, 4> types;
        std::array<int, 4> directions;
        std::array<int, 8> corners;  // top-left corners of the seated painters
    };
    // Forty pixels out from the middle along the diagonals, facing away; an empty seat of a battle stays in
    // the middle. A ranking round seats player 1 alone, facing up.
    const Case cases[] = {
        {true,
         true,
         {0, 1, 2, 1},
         {0, 1, 2, 1},
         {96, 32, 160, 224},
         {273, 164, 329, 164, 301, 192, 329, 220}},
        {true,
         false,
         {2, 0, 1, 0},
         {2, 0, 1, 0},
         {96, 32, 160, 224},
         {301, 192, 329, 164, 273, 220, 329, 220}},
        {false, true, {1, 1, 0, 1}, {0, 2, 2, 2}, {64}, {301, 204}},
    };
    for (const Case& c : cases) {
        Start(c.battle, c.single, 2, c.menu);
        for (uint32_t round = 1; round <= 2; ++round) {
            SCOPED_TRACE(testing::Message() << "battle " << c.battle << " round " << round);
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(P(i)->GetControlType(), c.types[i]) << i;
                EXPECT_EQ(P(i)->GetColour(), kColours[i]) << i;
                if (i > 0 && !c.battle) {
                    continue;
                }
                EXPECT_EQ(P(i)->GetDirection(), c.directions[i]) << i;
                EXPECT_EQ(P(i)->GetX(), c.corners[2 * i]) << i;
                EXPECT_EQ(P(i)->GetY(), c.corners[2 * i + 1]) << i;
                EXPECT_EQ(P(i)->GetState(), XPlayerChara::kNormal) << i;
                EXPECT_FLOAT_EQ(P(i)->GetSpeed(), 4.0f) << i;
                EXPECT_EQ(P(i)->GetWins(), static_cast<int>(round) - 1) << "wins last the match";
            }
            EXPECT_EQ(game->GetRoundNumber(), round);
            EXPECT_EQ(game->GetTimer()->GetRoundNumber(), round);
            EXPECT_EQ(game->GetTimer()->GetRemaining(), c.battle ? 2200u : 1650u);
            EXPECT_EQ(game->GetItem()->GetKind(), XItemChara::kNone);
            EXPECT_EQ(game->GetEffects()->CountEffects(), 0);
            // What a round leaves behind.
            for (int i = 0; i < 4; ++i) {
                P(i)->SetWins(static_cast<int>(round));
                P(i)->SetState(XPlayerChara::kFast);
                P(i)->SetPosition(5, 5);
            }
            Field()->ColourFill(nullptr, kColours[0]);
            game->GetItem()->SetKind(XItemChara::kShoe);
            game->GetEffects()->AddEffect(XEffectManager::kBomb, 100, 100);
            game->GetTimer()->Tick();
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
    struct Check {
        uint32_t phase;
        uint32_t counter;
        int blackInFirstStripe;  // the fades' blinds
        int centre;              // the pixel at (320, 224), -1 for any
    };
    const Check checks[] = {{1, 10, 20 * 480, -1}, {1, 20, 0, -1},   {3, 0, 0, 102},  {3, 19, 0, 102},
                            {3, 20, 0, 101},       {3, 40, 0, 100},  {3, 59, 0, 100}, {3, 60, 0, 110},
                            {3, 79, 0, 110},       {5, 100, 0, 120}, {2, 0, 0, 120},  {2, 4, 8 * 480, -1},
                            {2, 20, 40 * 480, -1}};
    const Check* check = checks;
    std::vector<std::pair<uint32_t, int>> spans;  // phase, frames
    std::vector<std::tuple<uint32_t, uint32_t, int32_t>> sounds;
    Heard();
    for (int frames = 1; spans.size() < 6;) {
        uint32_t phase = game->GetPhase();
        uint32_t counter = game->GetPhaseCounter();
        game->UpdateFrame();
        ++frames;
        for (int32_t id : Heard()) {
            sounds.emplace_back(phase, counter, id);
        }
        if (check != std::end(checks) && check->phase == phase && check->counter == counter) {
            EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 40, 480}, 0), check->blackInFirstStripe)
                << phase << ":" << counter;
            if (check->centre >= 0) {
                EXPECT_EQ(Back()->GetPixel(320, 224), check->centre) << phase << ":" << counter;
            }
            ++check;
        }
        if (game->GetPhase() != phase) {
            spans.emplace_back(phase, frames);
            frames = 0;
        }
    }
    EXPECT_EQ(check, std::end(checks));
    EXPECT_EQ(spans, (std::vector<std::pair<uint32_t, int>>{
                         {1, 21}, {3, 80}, {6, 2200}, {4, 30}, {5, 270}, {2, 21}}));
    // Voices of the count-down, the rings of three new items, the board sliding in and revealing four rows.
    EXPECT_EQ(sounds, (std::vector<std::tuple<uint32_t, uint32_t, int32_t>>{{3, 0, 182},
                                                                            {3, 20, 183},
                                                                            {3, 40, 181},
                                                                            {3, 60, 175},
                                                                            {6, 550, 174},
                                                                            {6, 1100, 174},
                                                                            {6, 1650, 174},
                                                                            {5, 9, 179},
                                                                            {5, 99, 220},
                                                                            {5, 119, 220},
                                                                            {5, 139, 220},
                                                                            {5, 159, 220}}));
    EXPECT_EQ(game->GetResultBoard()->GetState(), XResultBoard::kHidden);
    EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
    EXPECT_EQ(game->GetPhase(), XGame::kFadeIn);
    game->UpdateFrame();
    EXPECT_EQ(game->GetRoundNumber(), 2u);
}

TEST_F(XGameTest, EscapeCancelsOnlyDuringPlayAndLeavesForTheMenuOrTheRanking) {
    for (bool battle : {true, false}) {
        Start(battle, true, 2, {2, 2, 2, 2});
        RunUntil(XGame::kCountDown, 5);
        Press(kKeyEscape);
        UpdateInput();
        game->UpdateFrame();
        Release(kKeyEscape);
        UpdateInput();
        RunUntil(XGame::kPlay, 3);
        EXPECT_FALSE(game->IsAborted());
        Heard();
        Press(kKeyEscape);
        game->UpdateFrame();
        Release(kKeyEscape);
        EXPECT_TRUE(game->IsAborted());
        EXPECT_EQ(Heard(), std::vector<int32_t>{176});
        Frames(*game, 21);
        EXPECT_EQ(game->GetPhase(), XGame::kFinished);
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
        int taker = battle ? 2 : 0;
        uint32_t remaining = game->GetTimer()->GetRemaining();
        Heard();
        game->UpdateFrame();
        EXPECT_EQ(game->GetItemTaker(), taker);
        EXPECT_EQ(game->GetPhase(), XGame::kItemTaken);
        Frames(*game, 19);
        EXPECT_EQ(Heard(), std::vector<int32_t>{222});
        EXPECT_EQ(item->GetKind(), XItemChara::kShoe) << "applied only at the end of the pause";
        ExpectCorner(85, battle ? 248 : 198, 140, "banner");
        // In a battle the taker's portrait, drawn opaque.
        EXPECT_EQ(Back()->GetPixel(260, 128), battle ? 255 : Field()->GetPixel(260, 128));
        EXPECT_EQ(Back()->GetPixel(320, 150), battle ? 150 + taker : Field()->GetPixel(320, 150));
        game->UpdateFrame();
        EXPECT_EQ(P(taker)->GetState(), XPlayerChara::kFast);
        EXPECT_EQ(P(0)->GetState(), battle ? XPlayerChara::kNormal : XPlayerChara::kFast);
        EXPECT_EQ(item->GetKind(), XItemChara::kNone);
        EXPECT_EQ(game->GetItemTaker(), -1);
        EXPECT_EQ(game->GetPhase(), XGame::kPlay);
        EXPECT_EQ(game->GetTimer()->GetRemaining(), remaining) << "the pause is not taken from the round";
        game->UpdateFrame();
        EXPECT_EQ(game->GetTimer()->GetRemaining(), remaining - 1);
    }
}

TEST_F(XGameTest, NewItemsKeepClearOfThePresentPaintersAndComeOfTheKindsTheRoundAllows) {
    Start(true, true, 2, {1, 0, 2, 1});
    RunUntil(XGame::kPlay);
    const int centres[4][2] = {{120, 100}, {500, 330}, {320, 224}, {330, 120}};
    for (int p = 0; p < 4; ++p) {
        P(p)->SetCentre(centres[p][0], centres[p][1]);
    }
    XItemChara* item = game->GetItem();
    Heard();
    game->SpawnItem();
    // Rings mark the new item.
    auto* rings = dynamic_cast<const XEffectSprite*>(game->GetEffects()->GetEffect(0));
    ASSERT_NE(rings, nullptr);
    EXPECT_EQ(rings->GetSprite()->GetCentreX(), item->GetCentreX());
    EXPECT_EQ(rings->GetSprite()->GetCentreY(), item->GetCentreY());
    EXPECT_EQ(Heard(), std::vector<int32_t>{174});
    std::set<int32_t> delays;
    int nearAbsent = 0;
    auto spawnKinds = [&](int count) {
        std::set<int32_t> kinds;
        for (int n = 0; n < count; ++n) {
            game->SpawnItem();
            kinds.insert(item->GetKind());
            for (int p = 0; p < 4; ++p) {
                delays.insert(P(p)->GetComputerDelay());
                double distance =
                    Distance(item->GetCentreX(), item->GetCentreY(), P(p)->GetCentreX(), P(p)->GetCentreY());
                if (P(p)->GetControlType() == XPlayerChara::kAbsent) {
                    nearAbsent += distance < 140.0;
                } else {
                    EXPECT_GE(distance, 140.0) << p;
                }
            }
        }
        return kinds;
    };
    EXPECT_EQ(spawnKinds(400), (std::set<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_GT(nearAbsent, 0) << "an empty seat keeps nothing away";
    EXPECT_EQ(delays.size(), 25u);
    EXPECT_EQ(*delays.begin(), 5);
    // From the third item of a battle on, no clock; a ranking round never brings the clock or the potion.
    while (game->GetTimer()->GetItemTimes() < 3) {
        game->GetTimer()->Tick();
    }
    EXPECT_EQ(spawnKinds(300), (std::set<int32_t>{2, 3, 4, 5, 6}));
    Start(false, true, 2, {0, 1, 1, 1});
    item = game->GetItem();
    RunUntil(XGame::kPlay);
    EXPECT_EQ(spawnKinds(300), (std::set<int32_t>{2, 3, 4, 6}));
}

TEST_F(XGameTest, ScoresAreRoundedSharesOfTheWholeCountedField) {
    game = std::make_unique<XGame>(app.get());
    P(0)->SetScore(55);
    game->CountArea();
    EXPECT_EQ(P(0)->GetScore(), 0) << "no field before the first round, and no division by zero";
    game->UpdateFrame();
    PaintField({31900, 35853, 0, 638 * 446 / 2});  // 11.2, 12.6, 0 and 50 per cent
    game->CountArea();
    const int expected[4] = {11, 13, 0, 50};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(P(i)->GetScore(), expected[i]) << i;
    }
    Field()->ColourFill(nullptr, kColours[2]);  // as far as paint reaches
    game->CountArea();
    EXPECT_EQ(P(2)->GetScore(), 97);
}

TEST_F(XGameTest, TheFirstToTheWinsNeededEndsTheMatchAndADrawWinsNobodyAnything) {
    struct Case {
        bool single;
        int winsNeeded;
        std::vector<std::array<int, 4>> rounds;  // painted pixels of each round
        int winner;
    };
    const Case cases[] = {
        {false, 1, {{10000, 0, 0, 20000}}, 2},  // a team's win is counted on its first player
        {true, 2, {{0, 30000, 0, 20000}, {0, 30000, 0, 20000}}, 1},
        {true, 1, {{30000, 30000, 0, 0}, {0, 0, 0, 3000}}, 3},
    };
    for (const Case& c : cases) {
        app->matchWinner = -1;
        Start(true, c.single, c.winsNeeded, {2, 2, 2, 2});
        for (size_t r = 0; r < c.rounds.size(); ++r) {
            RunUntil(XGame::kResult);
            PaintField(c.rounds[r]);
            bool last = r + 1 == c.rounds.size();
            RunUntil(last ? XGame::kFinished : XGame::kFadeIn);
            EXPECT_EQ(app->matchWinner, last ? c.winner : -1);
        }
        EXPECT_EQ(app->sceneState, XAppData::kCreateWinner);
        EXPECT_EQ(game->GetRoundNumber(), c.rounds.size());
        int wins = 0;
        for (int i = 0; i < 4; ++i) {
            wins += P(i)->GetWins();
        }
        EXPECT_EQ(wins, c.winsNeeded);
        EXPECT_EQ(P(c.winner)->GetWins(), c.winsNeeded);
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
    const Case cases[] = {
        {14227, 50, {}, nullptr, 9},  // ties the tenth entry
        {180800, 635, {kKeySpace, kKeyA, kKeyB, kKeySpace, kKeyReturn}, "AB", 0},
        {130000, 457, {kKeySpace, kKeySpace, kKeyReturn}, "KOVRA GAMES", 2},
    };
    for (const Case& c : cases) {
        app->sceneState = XAppData::kBeforeStart;
        Start(false, true, 2, {1, 1, 1, 1});
        RunUntil(XGame::kResult);
        PaintField({c.pixels, 0, 0, 0});
        P(1)->SetScore(77);
        RunUntil(c.name ? XGame::kNameEntry : XGame::kFinished);
        EXPECT_EQ(P(0)->GetScore(), c.score);
        EXPECT_EQ(P(1)->GetScore(), 77) << "only player 1 is scored";
        EXPECT_EQ(app->hotKeysEnabled, c.name == nullptr) << "typing P must not pause";
        for (int key : c.keys) {
            Tap(key);
        }
        RunUntil(XGame::kFinished);
        EXPECT_EQ(app->sceneState, XAppData::kCreateRanking);
        EXPECT_EQ(table->GetCount(), 10u);
        EXPECT_EQ(table->GetItem(c.rank).GetScore(), static_cast<uint32_t>(c.score));
        EXPECT_EQ(table->GetItem(c.rank).GetName(), ZString(c.name ? c.name : "KOVRA GAMES"));
    }
}

TEST_F(XGameTest, EachPersonSteersTheirOwnPainterWithKeysOrAPad) {
    for (int id : {100, 101, 102, 103}) {
        ControllerAdded(id);  // the pads of players 2, 3 and 4, and a spare
    }
    Start(true, true, 2, {0, 0, 0, 0});
    RunUntil(XGame::kPlay);
    struct Case {
        std::vector<int> keys;
        std::vector<std::pair<int, PadButton>> pads;
        std::array<int, 4> turns;  // +4 left, -4 right
    };
    const Case cases[] = {
        {{kKeyLeft}, {}, {4, 0, 0, 0}},
        {{kKeyRight, kKeyX, kKeyN}, {}, {-4, -4, 4, 0}},
        {{kKeyLeft, kKeyRight, kKeyZ, kKeyX, kKeyM}, {}, {0, 0, -4, 0}},
        {{kKeyPad4}, {}, {0, 0, 0, 4}},
        {{kKey6}, {}, {0, 0, 0, -4}},
        {{kKeyPad6, kKey4}, {}, {0, 0, 0, 0}},
        {{}, {{100, PadButton::Left}, {101, PadButton::Right}, {102, PadButton::Left}}, {0, 4, -4, 4}},
        {{kKeyX}, {{100, PadButton::Left}}, {0, 0, 0, 0}},
        {{kKeyZ, kKeyM}, {{100, PadButton::Left}, {103, PadButton::Left}}, {0, 4, -4, 0}},
    };
    for (const Case& c : cases) {
        std::array<int, 4> before{};
        for (int p = 0; p < 4; ++p) {
            before[p] = P(p)->GetDirection();
        }
        for (bool down : {true, false}) {
            for (int key : c.keys) {
                KeyboardEvent(key, down);
            }
            for (auto [id, button] : c.pads) {
                ControllerButtonEvent(id, button, down);
            }
            if (down) {
                game->UpdateFrame();
            }
        }
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(NormaliseDirection(P(p)->GetDirection() - before[p]), NormaliseDirection(c.turns[p]))
                << "player " << p + 1 << ", case " << &c - cases;
        }
    }
    // A computer painter ignores the keys: only its weave turns it.
    Start(true, true, 2, {1, 1, 1, 1});
    RunUntil(XGame::kPlay);
    int before = P(1)->GetDirection();
    Press(kKeyZ);
    game->UpdateFrame();
    EXPECT_EQ(NormaliseDirection(P(1)->GetDirection() - before), 4);
}

TEST_F(XGameTest, PaintersAndTheItemAreDrawnLowestLastWithArrowsUntilTimeIsUp) {
    const uint32_t bodies[4] = {109, 114, 115, 111};
    for (int p = 0; p < 4; ++p) {
        InstallBlocks(bodies[p], 38, 40, 4, 100 + 4 * p, 0);
    }
    InstallBlocks(158, 44, 44, 6, 120);
    InstallBlocks(117, 15, 15, 32, 130, 0);
    InstallBlocks(118, 15, 15, 32, 130, 0);
    Start(true, true, 2, {0, 0, 0, 0});
    RunUntil(XGame::kPlay);
    // Players 1 and 2 share a bottom edge and overlap: 2 covers 1. Player 3 stands higher and is covered by
    // both; player 4 stands lower and covers player 2; the item shares player 4's bottom and covers it.
    const int corners[4][2] = {{100, 100}, {120, 100}, {110, 90}, {150, 110}};
    for (int p = 0; p < 4; ++p) {
        Stand(P(p), corners[p][0], corners[p][1]);
    }
    game->GetItem()->SetKind(XItemChara::kMissile);
    game->GetItem()->PlaceAt(170, 106);
    game->DrawSorted();
    const int samples[][3] = {{130, 120, 104}, {115, 120, 100}, {115, 95, 108},
                              {115, 105, 100}, {155, 130, 112}, {180, 130, 122}};
    for (const auto& s : samples) {
        EXPECT_EQ(Back()->GetPixel(s[0], s[1]), s[2]) << s[0] << "," << s[1];
    }
    // Each painter's arrow floats ahead of it during play and is gone once the time is up.
    game->GetItem()->SetKind(XItemChara::kNone);
    for (int p = 0; p < 4; ++p) {
        Stand(P(p), 100 + 120 * p, 300);
    }
    game->UpdateFrame();
    const Rect field{0, 0, 640, 448};
    EXPECT_GT(CountPixels(*Back(), field, 130), 4 * 100);
    while (game->GetTimer()->GetRemaining() > 1) {
        game->GetTimer()->Tick();
    }
    Frames(*game, 2);
    ASSERT_EQ(game->GetPhase(), XGame::kTimeUp);
    EXPECT_EQ(CountPixels(*Back(), field, 130), 0);
    EXPECT_GT(CountPixels(*Back(), field, 112), 30 * 30);
}

}  // namespace
