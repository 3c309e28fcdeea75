#include <filesystem>

#include "gfx/Maths.h"
#include "gfx/ZAscii.h"
#include "round/XGame.h"
#include "scenes/ScenePicture.h"
#include "shell/Shell.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XReplay.h"
#include "support/FakeLink.h"
#include "support/TestSupport.h"

class XMatchInputTest : public GameTest {
protected:
    // A battle match from the round scene's creation to its end, players 1 and 2 turning every so often
    // and Escape pressed on one frame.
    uint64_t PlayMatch(int period, int escapeFrame = -1) {
        app->sceneState = XAppData::kCreateRound;
        for (int frame = 0; !frame || (frame < 20000 && app->sceneState == XAppData::kRunRound); ++frame) {
            KeyboardEvent(kKeyLeft, frame % period < 20);
            KeyboardEvent(kKeyX, frame % (period + 20) < 10);
            KeyboardEvent(kKeyEscape, frame == escapeFrame);
            app->UpdateFrame();
        }
        return app->GetRoundScene()->GetMatchChecksum();
    }
};

TEST_F(XMatchInputTest, ARecordedMatchReplaysAsItWasWhateverTheKeysAChangedOneDiffersAndEscapeLeavesOne) {
    using End = XMatchInput::ReplayEnd;
    std::string file = config.Path() + "/match.rep";
    XMatchInput* input = app->GetMatchInput();
    XMenuData* settings = app->GetMenuSettings();
    settings->SetWinsNeeded(1);
    settings->SetSingleBattle(0);
    settings->SetControlType(1, 0);
    for (std::string nowhere : {file + "/x", config.Path() + "/"})
        EXPECT_EQ(input->RecordNextMatch(nowhere), "no file can be written there");
    ASSERT_EQ(input->RecordNextMatch(file), "");
    // Ranking rounds before the match are not recorded, and say so once.
    settings->SetBattleMode(0);
    testing::internal::CaptureStderr();
    for (int round = 0; round < 2; ++round) {
        app->sceneState = XAppData::kCreateRound;
        app->UpdateFrame();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tintorix: " + file + ": a ranking round is not recorded, only a battle match\n");
    settings->SetBattleMode(1);
    SeedRandomWith(5);
    uint64_t recorded = PlayMatch(50);
    PlayMatch(50, 150);  // only the next match is recorded, not this one that Escape ends
    XReplay replay;
    ASSERT_EQ(replay.Load(file), "");
    EXPECT_EQ(std::tuple(replay.checksum, replay.seed, replay.winsNeeded, replay.singleBattle,
                         replay.controlType[1]), std::tuple(recorded, 5u, 1, 0, 0));
    // The replay brings its settings and seed; the keys steer nobody.
    settings->SetDefaults();
    SeedRandomWith(99);
    ASSERT_EQ(input->LoadReplay(file, settings), "");
    uint64_t replayed = PlayMatch(30);
    EXPECT_EQ(std::tuple(replayed, input->GetReplayEnd(), app->sceneState),
              std::tuple(recorded, End::Same, XAppData::kCreateWinner));
    replay.seed ^= 1;
    ASSERT_TRUE(replay.Save(file));
    ASSERT_EQ(input->LoadReplay(file, settings), "");
    EXPECT_TRUE(PlayMatch(50) != recorded && input->GetReplayEnd() == End::Different);
    // Escape leaves a replay even before play; the game then ends instead of showing the menu.
    ASSERT_EQ(input->LoadReplay(file, settings), "");
    PlayMatch(50, 40);
    EXPECT_EQ(std::pair(input->GetReplayEnd(), app->sceneState), std::pair(End::Left, XAppData::kCreateMenu));
    app->UpdateFrame();
    EXPECT_EQ(app->sceneState, XAppData::kQuit);
    // Every recorded frame steers, the last too; past the end nobody does.
    XReplay short3;
    short3.TakeSettings(*settings);
    short3.frames.assign(3, XFrameInput{1, false, 0});
    ASSERT_TRUE(short3.Save(file) && input->LoadReplay(file, settings).empty());
    input->BeginMatch(*settings);
    std::vector<XFrameInput> played;
    for (int i = 0; i < 4; ++i) played.push_back(input->Next(XFrameInput{2, false, 0}));
    short3.frames.push_back({});
    EXPECT_EQ(played, short3.frames);
}

TEST_F(XMatchInputTest, TheStoredMatchesPlayAsRecordedUnderTheirLabelAndEndTheGameSoonAfterTheirWinner) {
    std::vector<Layer> label;
    AddText(label, {105, 38, 0, 566, 2}, "REPLAY", ZAscii::CellOf);
    for (const char* name : {"single-two-people", "team-four-people", "single-escape", ""}) {
        std::string file = std::string(TINTORIX_SOURCE_DIR) + "/tests/replays/" + name + ".rep";
        app = std::make_unique<XAppData>();
        ASSERT_EQ(*name ? app->GetMatchInput()->LoadReplay(file, app->GetMenuSettings()) : "", "") << name;
        ASSERT_TRUE(StartGame(*app, nullptr));
        app->sceneState = XAppData::kCreateRound;
        // Through the frame loop, 40 ms a frame, until the game quits or 10 minutes have passed; a match
        // that is not a replay only until the label would show.
        uint32_t roundEnd = 0;
        bool winnerShown = false;
        for (int frame = 0; frame < (*name ? 15000 : 201) && !IsQuitPosted(); ++frame) {
            machine.now += 40;
            RunFrame(*app);
            roundEnd = app->GetRoundScene() ? machine.now : roundEnd;
            winnerShown = winnerShown || app->GetWinnerScene();
            if (frame == 200) {
                EXPECT_EQ(Covers(label) == 0, *name != 0) << name << ": REPLAY shown while it plays";
            }
        }
        EXPECT_EQ(app->GetMatchInput()->GetReplayEnd(),
                  *name ? XMatchInput::ReplayEnd::Same : XMatchInput::ReplayEnd::NotYet) << name;
        EXPECT_EQ(IsQuitPosted(), *name != 0) << name;
        // A match Escape ended has no winner.
        EXPECT_EQ(winnerShown, *name && name[7] != 'e') << name;
        EXPECT_LE(machine.now - roundEnd, 5000u) << name;
    }
}

TEST_F(XMatchInputTest, AMatchTheLinkStopsIsNotRecordedNorIsAnyAfterItAndEachFrameCheckPollsTheLink) {
    const std::string file = config.Path() + "/match.rep";
    XMatchInput* input = app->GetMatchInput();
    FakeLink* link = GiveLink(*input);
    ASSERT_EQ(input->RecordNextMatch(file), "");
    for (const std::string stop : {"the host has left", ""}) {
        link->stop = stop;
        testing::internal::CaptureStderr();
        input->BeginMatch(*app->GetMenuSettings());
        input->Next({});
        input->EndMatch(1, false);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  stop.empty() ? "" : "tintorix: not recorded to " + file + ": " + stop + "\n");
    }
    // Recorded again, a match longer than a replay holds is not saved either.
    ASSERT_EQ(input->RecordNextMatch(file), "");
    testing::internal::CaptureStderr();
    input->BeginMatch(*app->GetMenuSettings());
    for (uint32_t frame = 0; frame <= XReplay::kMaxFrames; ++frame) input->Next({});
    input->EndMatch(1, false);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tintorix: cannot record " + file + ": the match is too long\n");
    EXPECT_FALSE(std::filesystem::exists(file));
    app->IsFrameReady();
    EXPECT_EQ(link->polls, 1);
    // Frames run again on a correction are recorded as run again, the first too.
    ASSERT_EQ(input->RecordNextMatch(file), "");
    input->BeginMatch(*app->GetMenuSettings());
    for (int i = 0; i < 3; ++i) input->Next({});
    link->truth = [](uint32_t frame) { return XFrameInput{static_cast<uint8_t>(frame), false, 0}; };
    for (uint32_t at : {1, 2}) input->Rerun(at);
    input->EndMatch(1, false);
    XReplay replay;
    ASSERT_EQ(replay.Load(file), "");
    EXPECT_EQ(replay.frames, (std::vector<XFrameInput>{{1, false, 0}, {2, false, 0}, link->frames.back()}));
}
