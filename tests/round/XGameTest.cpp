#include "round/XGame.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "base/ZRankList.h"
#include "gfx/Maths.h"
#include "input/Input.h"
#include "round/FieldTestArt.h"
#include "round/XCanvasPlane.h"
#include "round/XItemChara.h"
#include "round/XPlayerChara.h"
#include "round/XResultBoard.h"
#include "round/XTimerPlane.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr int kScanA = 30;
constexpr int kScanB = 48;
constexpr int kCountedPixels = 638 * 446;

class XGameTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        InstallFieldArt();
        app->displayDevice = GetDisplayDevice();
    }
    void TearDown() override {
        game.reset();
        SceneTest::TearDown();
    }

    // battleMode 0 is a ranking round; control types per player.
    void Configure(int battleMode, bool single, int winsNeeded, std::array<int, 4> controls) {
        XMenuData* settings = app->GetMenuSettings();
        settings->SetBattleMode(battleMode);
        if ((settings->IsSingleBattle() != 0) != single) {
            settings->ToggleBattleType();
        }
        while (settings->GetWinsNeeded() != winsNeeded) {
            settings->CycleWinsNeeded();
        }
        for (int i = 0; i < 4; ++i) {
            while (settings->GetControlType(i) != controls[i]) {
                settings->CycleControlType(i);
            }
        }
        game = std::make_unique<XGame>(app.get());
    }

    // Runs frames until the phase is reached (checked before each frame); the frames run.
    int RunUntil(uint32_t phase, uint32_t counter = 0, int limit = 20000) {
        int frames = 0;
        while (!(game->GetPhase() == phase && game->GetPhaseCounter() == counter) && frames < limit) {
            game->UpdateFrame();
            ++frames;
        }
        EXPECT_LT(frames, limit) << "phase " << phase << " never reached";
        return frames;
    }

    // Frames spent in the current phase until it changes.
    int RunPhase() {
        uint32_t phase = game->GetPhase();
        int frames = 0;
        while (game->GetPhase() == phase && frames < 20000) {
            game->UpdateFrame();
            ++frames;
        }
        return frames;
    }

    // A field of nothing but the given numbers of pixels of each player's colour, laid out in reading
    // order through the counted rectangle.
    void PaintField(std::array<int, 4> counts) {
        Surface* field = game->GetCanvas()->GetFieldSurface();
        ASSERT_NE(field, nullptr);
        for (int y = 0; y < field->GetHeight(); ++y) {
            std::fill(field->Row(y), field->Row(y) + field->GetWidth(), art::kField);
        }
        int cursor = 0;
        for (int p = 0; p < 4; ++p) {
            for (int n = 0; n < counts[p]; ++n, ++cursor) {
                field->Row(1 + cursor / 638)[1 + cursor % 638] = game->GetPlayer(p)->GetColour();
            }
        }
    }

    // Plays a round to its result, with the field replaced just before it is counted.
    void PlayToResult(std::array<int, 4> counts) {
        RunUntil(XGame::kResult, 0);
        PaintField(counts);
    }

    std::unique_ptr<XGame> game;
};

TEST_F(XGameTest, PhasesRunTheirLengthsAndADrawnRoundNeverEndsTheMatch) {
    ASSERT_TRUE(SoundsLoaded());
    // Nobody takes part: nothing interrupts the clock, and every round is a draw at 0.
    Configure(1, true, 1, {2, 2, 2, 2});
    EXPECT_EQ(game->GetPhase(), XGame::kFadeIn);
    EXPECT_EQ(RunPhase(), 21);
    EXPECT_EQ(game->GetRoundNumber(), 1u);
    EXPECT_EQ(game->GetTimer()->GetRoundNumber(), 1u);

    ASSERT_EQ(game->GetPhase(), XGame::kCountDown);
    const std::pair<int, int32_t> voices[4] = {{0, 182}, {20, 183}, {40, 181}, {60, 175}};
    int frame = 0;
    for (const auto& [at, voice] : voices) {
        for (; frame < at; ++frame) {
            game->UpdateFrame();
        }
        EXPECT_EQ(SoundLog::Get().CountPlayed(voice), 0) << voice;
        game->UpdateFrame();
        ++frame;
        EXPECT_EQ(SoundLog::Get().CountPlayed(voice), 1) << voice;
    }
    EXPECT_EQ(frame + RunPhase(), 80);

    ASSERT_EQ(game->GetPhase(), XGame::kPlay);
    EXPECT_EQ(RunPhase(), 2200);
    EXPECT_EQ(game->GetTimer()->GetRemaining(), 0u);
    ASSERT_EQ(game->GetPhase(), XGame::kTimeUp);
    EXPECT_EQ(RunPhase(), 30);
    ASSERT_EQ(game->GetPhase(), XGame::kResult);
    EXPECT_EQ(RunPhase(), 80 + 100 + 80 + 10);
    EXPECT_EQ(game->GetResultBoard()->GetWinner(), -1);
    ASSERT_EQ(game->GetPhase(), XGame::kFadeOut);
    EXPECT_EQ(RunPhase(), 21);

    // One win would end the match, but a draw gives none: the next round follows.
    EXPECT_EQ(game->GetPhase(), XGame::kFadeIn);
    EXPECT_EQ(game->GetResultBoard()->GetState(), XResultBoard::kHidden);
    EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
    game->UpdateFrame();
    EXPECT_EQ(game->GetRoundNumber(), 2u);
    EXPECT_EQ(game->GetTimer()->GetRoundNumber(), 2u);
}

TEST_F(XGameTest, EscapeCancelsOnlyDuringPlay) {
    ASSERT_TRUE(SoundsLoaded());
    Configure(1, true, 2, {2, 2, 2, 2});
    // A key pressed and seen in a frame of another phase does nothing.
    auto tapEscapeDuringFrame = [&]() {
        Press(kKeyEscape);
        UpdateInput();
        game->UpdateFrame();
        Release(kKeyEscape);
        UpdateInput();
    };
    RunUntil(XGame::kCountDown, 5);
    tapEscapeDuringFrame();
    RunUntil(XGame::kResult, 3);
    tapEscapeDuringFrame();
    RunUntil(XGame::kFadeOut, 0);
    EXPECT_FALSE(game->IsAborted());
    RunUntil(XGame::kPlay, 10);
    EXPECT_EQ(SoundLog::Get().CountPlayed(176), 0);

    Press(kKeyEscape);
    game->UpdateFrame();
    Release(kKeyEscape);
    EXPECT_TRUE(game->IsAborted());
    EXPECT_EQ(game->GetPhase(), XGame::kFadeOut);
    EXPECT_EQ(SoundLog::Get().CountPlayed(176), 1);
    EXPECT_EQ(RunPhase(), 21);
    EXPECT_EQ(game->GetPhase(), XGame::kFinished);
    EXPECT_EQ(app->sceneState, XAppData::kCreateMenu);

    // A cancelled ranking round goes back to the ranking screen without a name entry.
    app->sceneState = XAppData::kBeforeStart;
    Configure(0, true, 2, {0, 1, 1, 1});
    RunUntil(XGame::kPlay, 3);
    Press(kKeyEscape);
    game->UpdateFrame();
    Release(kKeyEscape);
    RunPhase();
    EXPECT_EQ(game->GetPhase(), XGame::kFinished);
    EXPECT_EQ(app->sceneState, XAppData::kCreateRanking);
}

TEST_F(XGameTest, ContestedItemGoesToTheHighestIndexAndThePauseStopsTheClock) {
    ASSERT_TRUE(SoundsLoaded());
    Configure(1, true, 2, {0, 2, 0, 2});
    RunUntil(XGame::kPlay, 0);
    XItemChara* item = game->GetItem();
    item->SetKind(XItemChara::kShoe);
    item->PlaceAt(300, 200);
    // Players 1 and 3 stand still, one on each side of the item, apart from each other.
    XPlayerChara* first = game->GetPlayer(0);
    XPlayerChara* third = game->GetPlayer(2);
    first->SetPosition(275, 190);
    third->SetPosition(330, 190);
    first->SetSpeed(0.0f);
    third->SetSpeed(0.0f);
    uint32_t remaining = game->GetTimer()->GetRemaining();

    game->UpdateFrame();
    EXPECT_EQ(game->GetItemTaker(), 2);
    EXPECT_EQ(game->GetPhase(), XGame::kItemTaken);
    EXPECT_EQ(game->GetTimer()->GetRemaining(), remaining) << "the taking frame does not tick";
    EXPECT_EQ(first->GetState(), XPlayerChara::kNormal) << "they did not bump into each other";

    for (int i = 0; i < 19; ++i) {
        game->UpdateFrame();
    }
    EXPECT_EQ(SoundLog::Get().CountPlayed(222), 1);
    EXPECT_EQ(game->GetPhase(), XGame::kItemTaken);
    EXPECT_EQ(item->GetKind(), XItemChara::kShoe);
    EXPECT_EQ(third->GetState(), XPlayerChara::kNormal);
    // The twentieth frame applies the item and play goes on.
    game->UpdateFrame();
    EXPECT_EQ(third->GetState(), XPlayerChara::kFast);
    EXPECT_EQ(first->GetState(), XPlayerChara::kNormal);
    EXPECT_EQ(item->GetKind(), XItemChara::kNone);
    EXPECT_EQ(game->GetItemTaker(), -1);
    EXPECT_EQ(game->GetPhase(), XGame::kPlay);
    EXPECT_EQ(game->GetTimer()->GetRemaining(), remaining);
    game->UpdateFrame();
    EXPECT_EQ(game->GetTimer()->GetRemaining(), remaining - 1);
}

TEST_F(XGameTest, SpawnedItemsKeepClearOfPresentPaintersOnly) {
    Configure(1, true, 2, {1, 0, 2, 1});
    RunUntil(XGame::kPlay, 0);
    game->GetPlayer(0)->SetCentre(120, 100);
    game->GetPlayer(1)->SetCentre(500, 330);
    game->GetPlayer(2)->SetCentre(320, 224);  // absent
    game->GetPlayer(3)->SetCentre(330, 120);
    XItemChara* item = game->GetItem();
    std::set<int32_t> kinds;
    int nearAbsent = 0;
    std::set<int32_t> delays;
    for (int n = 0; n < 400; ++n) {
        game->SpawnItem();
        int cx = item->GetCentreX();
        int cy = item->GetCentreY();
        for (int p : {0, 1, 3}) {
            XPlayerChara* player = game->GetPlayer(p);
            ASSERT_GE(Distance(cx, cy, player->GetCentreX(), player->GetCentreY()), 140.0) << "player " << p;
        }
        nearAbsent += Distance(cx, cy, 320, 224) < 140.0;
        kinds.insert(item->GetKind());
        EXPECT_GE(item->GetX(), 1);
        EXPECT_LE(item->GetX(), 594);
        EXPECT_GE(item->GetY(), 1);
        EXPECT_LE(item->GetY(), 402);
        for (int p = 0; p < 4; ++p) {
            int32_t delay = game->GetPlayer(p)->GetComputerDelay();
            EXPECT_GE(delay, 5);
            EXPECT_LE(delay, 29);
            delays.insert(delay);
        }
    }
    EXPECT_GT(nearAbsent, 0) << "an absent painter does not keep items away";
    EXPECT_EQ(kinds, (std::set<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_GT(delays.size(), 20u);

    // From the third item time on, the clock no longer comes.
    for (int t = 0; t < 1650; ++t) {
        game->GetTimer()->Tick();
    }
    ASSERT_EQ(game->GetTimer()->GetItemTimes(), 3);
    kinds.clear();
    for (int n = 0; n < 300; ++n) {
        game->SpawnItem();
        kinds.insert(item->GetKind());
    }
    EXPECT_EQ(kinds, (std::set<int32_t>{2, 3, 4, 5, 6}));

    // A ranking round only gets the shoe, the brushes and the missiles.
    Configure(0, true, 2, {0, 1, 1, 1});
    RunUntil(XGame::kPlay, 0);
    kinds.clear();
    for (int n = 0; n < 300; ++n) {
        game->SpawnItem();
        kinds.insert(game->GetItem()->GetKind());
    }
    EXPECT_EQ(kinds, (std::set<int32_t>{2, 3, 4, 6}));
}

TEST_F(XGameTest, CountAreaGivesRoundedSharesOfTheField) {
    Configure(1, true, 2, {1, 1, 1, 1});
    // Before the first round there is no field: nothing is counted and nothing divided by zero.
    game->GetPlayer(0)->SetScore(55);
    game->CountArea();
    EXPECT_EQ(game->GetPlayer(0)->GetScore(), 0);

    game->UpdateFrame();
    // 11.21 %, 12.600 % (rounds up), 0 and exactly a half.
    PaintField({31900, 35853, 0, kCountedPixels / 2});
    game->CountArea();
    EXPECT_EQ(game->GetPlayer(0)->GetScore(), 11);
    EXPECT_EQ(game->GetPlayer(1)->GetScore(), 13);
    EXPECT_EQ(game->GetPlayer(2)->GetScore(), 0);
    EXPECT_EQ(game->GetPlayer(3)->GetScore(), 50);

    // The whole paint rectangle in one colour is as far as a painter can get.
    Surface* field = game->GetCanvas()->GetFieldSurface();
    PaintField({0, 0, 0, 0});
    field->ColourFill(nullptr, game->GetPlayer(2)->GetColour());
    game->CountArea();
    EXPECT_EQ(game->GetPlayer(2)->GetScore(), 97);
    EXPECT_EQ(game->GetPlayer(0)->GetScore(), 0);

    // Ranking: per mille for player 1, the others untouched.
    Configure(0, true, 2, {0, 1, 1, 1});
    game->UpdateFrame();
    game->GetPlayer(1)->SetScore(77);
    PaintField({180800, 0, 0, 0});
    game->CountArea();
    EXPECT_EQ(game->GetPlayer(0)->GetScore(), 635);
    EXPECT_EQ(game->GetPlayer(1)->GetScore(), 77);
    PaintField({14227, 0, 0, 0});  // 49.9986 per mille
    game->CountArea();
    EXPECT_EQ(game->GetPlayer(0)->GetScore(), 50);
}

TEST_F(XGameTest, FirstWinnerEndsTheMatchAndATeamWinGoesToPlayerOneOrThree) {
    Configure(1, false, 1, {2, 2, 2, 2});
    PlayToResult({10000, 0, 0, 20000});
    RunUntil(XGame::kFinished, 0);
    EXPECT_EQ(game->GetRoundNumber(), 1u);
    EXPECT_EQ(game->GetPlayer(2)->GetWins(), 1);
    EXPECT_EQ(game->GetPlayer(3)->GetWins(), 0);
    EXPECT_EQ(app->matchWinner, 2);
    EXPECT_EQ(app->sceneState, XAppData::kCreateWinner);

    app->sceneState = XAppData::kBeforeStart;
    app->matchWinner = -1;
    Configure(1, true, 2, {2, 2, 2, 2});
    PlayToResult({0, 30000, 0, 20000});
    RunUntil(XGame::kFadeIn, 0);
    EXPECT_EQ(game->GetPlayer(1)->GetWins(), 1);
    EXPECT_EQ(app->matchWinner, -1) << "two wins needed";
    PlayToResult({0, 30000, 0, 20000});
    RunUntil(XGame::kFinished, 0);
    EXPECT_EQ(game->GetRoundNumber(), 2u);
    EXPECT_EQ(app->matchWinner, 1);
    EXPECT_EQ(app->sceneState, XAppData::kCreateWinner);
}

TEST_F(XGameTest, RankingRoundAsksForANameOnlyAboveTheTenthEntry) {
    ZRankList* table = app->GetHighScores();
    ASSERT_EQ(table->GetItem(9).GetScore(), 50u);

    // Equal to the tenth entry: straight back to the ranking screen.
    Configure(0, true, 2, {1, 1, 1, 1});
    EXPECT_EQ(game->GetPlayer(1)->GetControlType(), XPlayerChara::kAbsent);
    EXPECT_EQ(game->GetPlayer(0)->GetControlType(), XPlayerChara::kHuman);
    PlayToResult({14227, 0, 0, 0});
    RunUntil(XGame::kFinished, 0);
    EXPECT_EQ(game->GetPlayer(0)->GetScore(), 50);
    EXPECT_EQ(app->sceneState, XAppData::kCreateRanking);
    EXPECT_EQ(table->GetItem(9).GetName(), ZString("KOVRA GAMES"));
    EXPECT_EQ(table->GetItem(9).GetScore(), 50u);

    // A better score: the typed name, trimmed, goes in at its rank.
    app->sceneState = XAppData::kBeforeStart;
    Configure(0, true, 2, {1, 1, 1, 1});
    PlayToResult({180800, 0, 0, 0});
    RunUntil(XGame::kNameEntry, 0);
    EXPECT_FALSE(app->hotKeysEnabled) << "typing P must not pause";
    for (int key : {kKeySpace, kKeySpace, kScanA, kKeyEscape, kScanB, kKeySpace, kKeyReturn}) {
        Tap(key);
    }
    RunUntil(XGame::kFinished, 0, 5);
    EXPECT_EQ(app->sceneState, XAppData::kCreateRanking);
    EXPECT_EQ(table->GetCount(), 10u);
    EXPECT_EQ(table->GetItem(0).GetName(), ZString("AB"));
    EXPECT_EQ(table->GetItem(0).GetScore(), 635u);
    EXPECT_EQ(table->GetItem(1).GetScore(), 500u);
    EXPECT_EQ(table->GetItem(9).GetScore(), 100u);

    // Only blanks: stored under the house name.
    app->sceneState = XAppData::kBeforeStart;
    Configure(0, true, 2, {1, 1, 1, 1});
    PlayToResult({130000, 0, 0, 0});
    RunUntil(XGame::kNameEntry, 0);
    for (int key : {kKeySpace, kKeySpace, kKeyReturn}) {
        Tap(key);
    }
    RunUntil(XGame::kFinished, 0, 5);
    int rank = -1;
    for (uint32_t i = 0; i < table->GetCount(); ++i) {
        if (table->GetItem(i).GetScore() == 457u) {
            rank = static_cast<int>(i);
        }
    }
    ASSERT_EQ(rank, 2) << "457 per mille goes between 500 and 450";
    EXPECT_EQ(table->GetItem(rank).GetName(), ZString("KOVRA GAMES"));
}

TEST_F(XGameTest, HumansSteerWithTheirOwnKeysOnly) {
    Configure(1, true, 2, {0, 0, 0, 0});
    RunUntil(XGame::kPlay, 0);
    struct Case {
        std::vector<int> keys;
        std::array<int, 4> turns;  // +4 left, -4 right
    };
    const Case cases[] = {
        {{kKeyLeft}, {4, 0, 0, 0}},
        {{kKeyRight, kKeyX, kKeyN}, {-4, -4, 4, 0}},
        {{kKeyLeft, kKeyRight, kKeyZ, kKeyX, kKeyM}, {0, 0, -4, 0}},
        {{kKeyPad4}, {0, 0, 0, 4}},
        {{kKey4}, {0, 0, 0, 4}},
        {{kKey6}, {0, 0, 0, -4}},
        {{kKeyPad6, kKey4}, {0, 0, 0, 0}},
        {{kKeyPad4, kKey4}, {0, 0, 0, 4}},
    };
    for (const Case& c : cases) {
        std::array<int, 4> before{};
        for (int p = 0; p < 4; ++p) {
            before[p] = game->GetPlayer(p)->GetDirection();
        }
        for (int key : c.keys) {
            Press(key);
        }
        game->UpdateFrame();
        for (int key : c.keys) {
            Release(key);
        }
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(NormaliseDirection(game->GetPlayer(p)->GetDirection() - before[p]),
                      NormaliseDirection(c.turns[p]))
                << "player " << p + 1 << ", first key " << c.keys[0];
        }
    }

    // A computer painter ignores the keys.
    Configure(1, true, 2, {1, 1, 1, 1});
    RunUntil(XGame::kPlay, 0);
    SeedRandomWith(7);
    XGame* computerGame = game.get();
    int before = computerGame->GetPlayer(1)->GetDirection();
    Press(kKeyZ);
    game->UpdateFrame();
    Release(kKeyZ);
    // Weaving turns left in the first six frames, so the key would have made it +8.
    EXPECT_EQ(NormaliseDirection(computerGame->GetPlayer(1)->GetDirection() - before), 4);
}

TEST_F(XGameTest, SceneDrawsTheCountDownAndSortsByBottomEdge) {
    // Painters and item in colours of their own.
    const uint32_t bodies[4] = {109, 114, 115, 111};
    for (int p = 0; p < 4; ++p) {
        InstallKeyedSheet(bodies[p], 38, 40, 4, static_cast<uint8_t>(150 + 4 * p));
    }
    InstallKeyedSheet(156, 114, 194, 3, 170);
    InstallKeyedPlain(155, 297, 195, 175);
    for (uint32_t id : {117u, 118u, 120u, 164u}) {
        OverrideResource(ResourceType::Bitmap, id, {});  // no arrows or shadows in the way
    }
    Configure(1, true, 2, {0, 0, 0, 0});
    RunUntil(XGame::kCountDown, 0);
    const std::pair<int, uint8_t> signs[4] = {{0, 172}, {20, 171}, {40, 170}, {60, 175}};
    for (const auto& [at, colour] : signs) {
        RunUntil(XGame::kCountDown, at);
        game->UpdateFrame();
        EXPECT_EQ(Back()->GetPixel(320, 224), colour) << "count-down frame " << at;
    }

    RunUntil(XGame::kPlay, 0);
    for (int p = 0; p < 4; ++p) {
        game->GetPlayer(p)->SetSpeed(0.0f);
    }
    // Players 1 and 2 share a bottom edge and overlap: 2 is drawn over 1. Player 3 stands higher and
    // is covered by both; player 4 stands lower and covers player 2; the item shares player 4's
    // bottom and is drawn over it.
    game->GetPlayer(0)->SetPosition(100, 100);
    game->GetPlayer(1)->SetPosition(120, 100);
    game->GetPlayer(2)->SetPosition(110, 90);
    game->GetPlayer(3)->SetPosition(150, 110);
    game->GetItem()->SetKind(XItemChara::kMissile);
    game->GetItem()->PlaceAt(170, 106);
    game->DrawSorted();
    auto bodyOf = [](int p) { return static_cast<uint8_t>(150 + 4 * p); };
    EXPECT_EQ(Back()->GetPixel(130, 120), bodyOf(1));
    EXPECT_EQ(Back()->GetPixel(115, 120), bodyOf(0));
    EXPECT_EQ(Back()->GetPixel(115, 95), bodyOf(2));
    EXPECT_EQ(Back()->GetPixel(115, 105), bodyOf(0));
    EXPECT_EQ(Back()->GetPixel(155, 130), bodyOf(3));
    EXPECT_EQ(Back()->GetPixel(180, 130), art::kItem + XItemChara::kMissile - 1);
}

TEST_F(XGameTest, FadesInAndOutWithTheBlindsAndEndsBlack) {
    Configure(1, true, 1, {2, 2, 2, 2});
    const Rect column{0, 0, 40, 480};
    const Rect screen{0, 0, 640, 480};
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), screen, 0), 640 * 480) << "the first frame is all blinds";
    RunUntil(XGame::kFadeIn, 10);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), column, 0), 20 * 480);
    RunUntil(XGame::kFadeIn, 20);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), screen, 0), 0) << "field and bar cover the screen";
    EXPECT_EQ(Back()->GetPixel(100, 100), art::kField);
    EXPECT_EQ(Back()->GetPixel(100, 470), art::kBar);

    RunUntil(XGame::kFadeOut, 4);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), column, 0), 8 * 480);
    EXPECT_EQ(game->GetResultBoard()->GetState(), XResultBoard::kFinished);
    RunUntil(XGame::kFadeOut, 20);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), screen, 0), 640 * 480);
    // A drawn round: the next one fades in; a won one ends on a black screen.
    EXPECT_EQ(game->GetPhase(), XGame::kFadeIn);
    game->GetPlayer(0)->SetWins(1);
    RunUntil(XGame::kFadeOut, 20);
    game->UpdateFrame();
    ASSERT_EQ(game->GetPhase(), XGame::kFinished);
    Back()->ColourFill(nullptr, 9);
    game->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), screen, 0), 640 * 480);
}

}  // namespace
