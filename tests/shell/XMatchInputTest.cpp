#include "gfx/Maths.h"
#include "round/XGame.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XReplay.h"
#include "support/TestSupport.h"

class XMatchInputTest : public GameTest {
protected:
    // A battle match from the round scene's creation to its end, players 1 and 2 turning every so often
    // and Escape pressed on one frame.
    uint64_t PlayMatch(int period, int escapeFrame = -1) {
        app->sceneState = XAppData::kCreateRound;
        for (int frame = 0; frame < 20000 && (frame == 0 || app->sceneState == XAppData::kRunRound);
             ++frame) {
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
    for (std::string nowhere : {file + "/x", config.Path() + "/"}) {
        EXPECT_EQ(input->RecordNextMatch(nowhere), "no file can be written there");
    }
    ASSERT_EQ(input->RecordNextMatch(file), "");
    SeedRandomWith(5);
    uint64_t recorded = PlayMatch(50);
    PlayMatch(50, 150);  // only the next match is recorded, not this one that Escape ends
    XReplay replay;
    ASSERT_EQ(replay.Load(file), "");
    EXPECT_EQ(std::tuple(replay.checksum, replay.seed, replay.winsNeeded, replay.singleBattle,
                         replay.controlType[1]),
              std::tuple(recorded, 5u, 1, 0, 0));
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
    EXPECT_NE(PlayMatch(50), recorded);
    EXPECT_EQ(input->GetReplayEnd(), End::Different);
    // Escape leaves a replay even before play; the game then ends instead of showing the menu.
    ASSERT_EQ(input->LoadReplay(file, settings), "");
    PlayMatch(50, 40);
    EXPECT_EQ(std::tuple(input->GetReplayEnd(), app->sceneState),
              std::tuple(End::Left, XAppData::kCreateMenu));
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

TEST_F(XMatchInputTest, TheStoredMatchesPlayAsRecorded) {
    for (const char* name : {"single-two-people", "team-four-people", "single-escape"}) {
        std::string file = std::string(TINTORIX_SOURCE_DIR) + "/tests/replays/" + name + ".rep";
        ASSERT_EQ(app->GetMatchInput()->LoadReplay(file, app->GetMenuSettings()), "") << name;
        PlayMatch(50);
        EXPECT_EQ(app->GetMatchInput()->GetReplayEnd(), XMatchInput::ReplayEnd::Same) << name;
    }
}
