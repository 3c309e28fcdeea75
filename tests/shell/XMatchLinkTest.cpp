#include <set>

#include "gfx/ZAscii.h"
#include "round/RoundTest.h"
#include "scenes/ScenePicture.h"
#include "scenes/XWaiting.h"
#include "shell/Shell.h"
#include "shell/XMatchInput.h"
#include "shell/XSettings.h"
#include "support/FakeLink.h"

using XMatchLinkTest = RoundTest;

TEST_F(XMatchLinkTest, AJoinerWaitsInTheGamesLettersThenPlaysTheHostsMatchOrLeavesForTheTitle) {
    FakeLink* link = GiveLink(*app->GetMatchInput());
    app->sceneState = XAppData::kCreateMenu;
    app->UpdateFrame();
    ASSERT_NE(app->GetWaitingScene(), nullptr);
    app->UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 0), 640 * 480) << "the fade-in starts black";
    for (int i = 0; i < 20; ++i) app->UpdateFrame();
    using Lines = std::vector<std::string>;
    const std::tuple<XMatchLink::Lobby, std::string, Lines> cases[] = {
        {{}, "", {"CONNECTING TO THE HOST", "", "ESCAPE LEAVES"}},
        {{false, true, 2, 14, 6, 0, "", 0}, "",
         {"YOU ARE PLAYER 3", "JOINED 2 3", "WAITING FOR THE HOST TO START", "ESCAPE LEAVES"}},
        {{false, true, 2, 14, 6, 0, "", 0}, "the host stopped",
         {"THE LAST MATCH STOPPED", "the host stopped", "", "YOU ARE PLAYER 3", "JOINED 2 3",
          "WAITING FOR THE HOST TO START", "ESCAPE LEAVES"}},
        {{false, false, 2, 14, 6, 0, "the host has left", 0}, "", {"the host has left", "", "PRESS RETURN"}},
        {{false, true, -1, 2, 2, 0, "", 0, true}, "",
         {"A MATCH IS ON", "YOU WATCH IT WITHOUT A SEAT", "ESCAPE LEAVES"}}};
    uint32_t frame = 20;
    for (const auto& [lobby, stop, lines] : cases) {
        link->lobby = lobby;
        link->stop = stop;
        app->UpdateFrame();
        EXPECT_EQ(app->GetWaitingScene()->GetLines(), lines);
        // The lines centred in the game's letters over the moving band.
        std::vector<Layer> layers = Band(++frame);
        for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
            int width = 11 * static_cast<int>(lines[i].size());
            AddText(layers, {106, 38, 0, 320 - width / 2, 270 + 30 * i}, lines[i], ZAscii::CellOf);
        }
        EXPECT_EQ(Misses(layers), 0) << lines[0];
    }
    link->lobby.closedReason.clear();
    link->started = true;
    for (int i = 0; i < 25; ++i) app->UpdateFrame();
    EXPECT_EQ(std::tuple(app->sceneState, app->GetMenuSettings()->GetControlType(2)),
              std::tuple(XAppData::kRunRound, 0));
    // The frame loop holds the round while the other computers' input is missing, and goes on at once after.
    for (bool ready : {false, true}) {
        link->ready = ready;
        size_t presents = machine.presents.size(), frames = link->frames.size();
        machine.now += 40;
        RunFrame(*app);
        EXPECT_EQ(std::pair(machine.presents.size() - presents, link->frames.size() - frames),
                  std::pair(size_t{ready}, size_t{ready}));
    }
    app->sceneState = XAppData::kCreateMenu;
    link->started = false;
    link->lobby.closedReason = "the host has left";
    for (int i = 0; i < 25; ++i) app->UpdateFrame();
    Tap(kKeyReturn);
    for (int i = 0; i < 25; ++i) app->UpdateFrame();
    EXPECT_EQ(std::tuple(app->sceneState, app->GetMatchInput()->GetLink()),
              std::tuple(XAppData::kRunTitle, nullptr));
}

TEST_F(XMatchLinkTest, AnOnlineRoundSendsPlayerOnesKeysHandsSeatsToTheComputerAndStopsWhenTheLinkDoes) {
    FakeLink* link = GiveLink(*app->GetMatchInput());
    Start(true, true, 1, {1, 0, 0, 1});
    Press(app->GetSettings()->steeringKeys[0][0]);
    for (int i = 1; i < 30; ++i) game->UpdateFrame();
    EXPECT_EQ(std::tuple(link->begun, link->sums.size(), P(2)->GetControlType(), link->sent.back().IsLeft(0)),
              std::tuple(1, 1u, XPlayerChara::kHuman, true));
    game->UpdateFrame();
    EXPECT_EQ(P(2)->GetControlType(), XPlayerChara::kComputer);
    link->stop = "the host has left";
    for (int i = 0; i < 25; ++i) game->UpdateFrame();
    // The cancel sound it makes sounds once.
    const auto& channels = machine.audio->channels;
    const bool looping = std::any_of(channels.begin(), channels.end(), [](const auto& c) { return c.loop; });
    EXPECT_EQ(std::tuple(game->IsAborted(), app->sceneState, link->ended, looping),
              std::tuple(true, XAppData::kCreateMenu, 1, false));
}

// Reached on guesses, a match ends once every frame up to its end is known.
TEST_F(XMatchLinkTest, AMatchEndedOnGuessesIsOverOnlyOnceEveryFrameIsKnown) {
    FakeLink* link = GiveLink(*app->GetMatchInput());
    Start(true, true, 1, {1, 1, 1, 1});
    RunUntil(XGame::kFinished);
    for (int known : {0, 1}) {
        link->confirmed = known;
        game->UpdateFrame();
        EXPECT_TRUE(app->GetMatchInput()->IsFrameReady() && link->held && link->ended == known) << known;
    }
}

// Player 1 a person steering left in play on every third frame of four, the others the computer's.
TEST_F(XMatchLinkTest, CorrectedFramesEndAsThePlainRunInStatePictureAndSoundsNoneHeardTwice) {
    auto steering = [](uint32_t frame) { return XFrameInput{static_cast<uint8_t>(frame % 4 != 0), false, 0}; };
    auto idle = [](uint32_t) { return XFrameInput{}; };
    // The plain run; guesses right, corrected anyway; guesses wrong (player 1 idle), corrected.
    auto play = [&](bool guessing, bool guessRight) {
        FakeLink* link = GiveLink(*app->GetMatchInput());
        link->truth = steering;
        link->guess = guessRight ? link->truth : idle;
        SeedRandomWith(5);
        Start(true, true, 1, {0, 1, 1, 1});
        Heard();
        for (uint32_t frame = 2; frame <= 1300; ++frame) {
            // Every few frames, a correction from up to 12 frames back (none before the first).
            link->correction = guessing && frame % 5 == 0 ? std::max(1u, frame - 12 + frame % 7) : 0;
            game->UpdateFrame();
        }
        ZChecksum state;
        game->AddStateTo(&state);
        const uint8_t* pixels = Back()->GetPixels();
        auto run = std::tuple(state.Get(), std::vector<uint8_t>(pixels, pixels + Back()->GetPitch() * 448), Heard());
        game.reset();
        return run;
    };
    auto plain = play(false, true);
    EXPECT_EQ(std::get<2>(plain), (std::vector<int32_t>{182, 183, 181, 175, 174, 222, 174}))
        << "the count down's, an item's ring, its taking (and its effect), the next item's ring";
    EXPECT_TRUE(play(true, true) == plain);
    std::get<2>(plain).clear();  // a guess gone wrong may change what is heard
    auto wrong = play(true, false);
    EXPECT_TRUE(std::tie(std::get<0>(wrong), std::get<1>(wrong)) == std::tie(std::get<0>(plain), std::get<1>(plain)));
}

// The computers compare this sum once a second: one pixel that differs anywhere on the field shows.
TEST_F(XMatchLinkTest, TheComparedStateSeesEveryPixelOfTheField) {
    Start(true, true, 1, {0, 1, 1, 1});
    RunUntil(XGame::kPlay);
    auto sum = [&] {
        ZChecksum state;
        game->AddStateTo(&state);
        return state.Get();
    };
    std::set<uint64_t> sums{sum()};
    for (auto [x, y] : {std::pair{0, 0}, {639, 447}, {637, 200}, {5, 1}, {322, 9}}) {
        Field()->Row(y)[x] ^= 1;
        sums.insert(sum());
    }
    EXPECT_EQ(sums.size(), 6u) << "a changed pixel went unseen";
    // Words, then the bytes left over: nothing past the count is read.
    uint8_t bytes[24] = {7};
    for (size_t count : {5, 13, 16}) {
        ZChecksum before, after;
        before.AddWords(bytes, count);
        bytes[count] ^= 1;
        after.AddWords(bytes, count);
        EXPECT_EQ(after.Get(), before.Get()) << count;
    }
}
