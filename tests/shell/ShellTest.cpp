#include <string>
#include <vector>

#include "base/Resources.h"
#include "round/XGame.h"
#include "scenes/XMenu.h"
#include "scenes/XRanking.h"
#include "scenes/XTitle.h"
#include "scenes/XWinner.h"
#include "scenes/ZembraLogo.h"
#include "shell/Shell.h"
#include "support/TestSupport.h"

namespace {

class ShellTest : public GameTest {
protected:
    void Frame() {
        machine.now += 40;
        RunFrame(*app);
    }
    // A new application object for WinMain, which starts everything itself.
    int RunWinMain() {
        app = std::make_unique<XAppData>();
        return WinMain(*app, nullptr);
    }
    std::vector<uint32_t> PresentTimes() const {
        std::vector<uint32_t> times;
        for (const auto& present : machine.presents) {
            times.push_back(present.time);
        }
        return times;
    }
};

TEST_F(ShellTest, FramesStartEveryFortyMillisecondsFromTheLastStartAndSurviveTheClockWrapping) {
    struct Step {
        uint32_t now;
        uint32_t untilNext;  // after the frame, if any, at now
    };
    // A late frame is not made up for; after the wrap the last frame counts as having started at 0.
    const Step steps[] = {{0, 40},   {39, 1},  {40, 40},  {41, 39},          {79, 1}, {80, 40}, {250, 40},
                          {250, 40}, {289, 1}, {290, 40}, {0xFFFFFFF0u, 40}, {5, 35}, {40, 40}};
    app->sceneState = XAppData::kBeforeStart;
    for (const Step& step : steps) {
        machine.now = step.now;
        RunFrame(*app);
        EXPECT_EQ(TimeUntilNextFrame(*app, step.now), step.untilNext) << step.now;
    }
    EXPECT_EQ(PresentTimes(), (std::vector<uint32_t>{40, 80, 250, 290, 0xFFFFFFF0u, 40}));
}

TEST_F(ShellTest, PauseKeyWorksOnlyWithHotKeysAndTheForegroundAlwaysDecides) {
    struct Step {
        uint32_t message;
        uintptr_t wParam;
        bool hotKeys;
        bool paused;
    };
    // While a name is typed the pause key is just a letter; coming back resumes even after the pause key.
    const Step steps[] = {{kWmKeyDown, 'Q', true, false},          {kWmKeyDown, kVirtualKeyP, true, true},
                          {kWmKeyDown, kVirtualKeyP, true, false}, {kWmKeyDown, kVirtualKeyP, false, false},
                          {kWmKeyDown, kVirtualKeyP, true, true},  {kWmActivateApp, 1, true, false},
                          {kWmActivateApp, 0, true, true},         {kWmKeyDown, kVirtualKeyP, true, false},
                          {kWmActivateApp, 0, true, true},         {kWmActivateApp, 0, true, true},
                          {kWmActivateApp, 1, true, false}};
    app->SelectMusic(1);
    for (const Step& step : steps) {
        app->hotKeysEnabled = step.hotKeys;
        machine.music.clear();
        bool before = app->paused;
        WindowProc(*app, step.message, step.wParam);
        ASSERT_EQ(app->paused, step.paused) << step.message << " " << step.wParam;
        EXPECT_EQ(IsKeyboardAcquired(), !step.paused);
        EXPECT_EQ(WindowProc(*app, kWmNcHitTest, 0), step.paused ? 0 : 1);
        // The music stops at its place and goes on from there.
        if (before != step.paused) {
            EXPECT_EQ(machine.music, std::vector<std::string>{step.paused ? "stop" : "play on"});
        }
    }
    EXPECT_EQ(WindowProc(*app, kWmPaint, 0), 1);
    EXPECT_EQ(machine.presents.size(), 1u) << "a repaint request presents the back surface again";
}

TEST_F(ShellTest, TheEndOfThePieceReplaysItFromTheStartOnlyOnSuccess) {
    app->SelectMusic(2);
    machine.music.clear();
    WindowProc(*app, kMmMciNotify, 2);
    EXPECT_TRUE(machine.music.empty());
    WindowProc(*app, kMmMciNotify, 1);
    EXPECT_EQ(machine.music, std::vector<std::string>{"play from 0"});
    app->StopMusic();
    machine.music.clear();
    WindowProc(*app, kMmMciNotify, 1);
    EXPECT_TRUE(machine.music.empty()) << "no music chosen, nothing replays";
}

TEST_F(ShellTest, EachCreateStateBuildsItsSceneBehindABlackFrameWithItsMusic) {
    struct Case {
        int32_t create;
        bool (*built)(const XAppData&);
        const char* music;
    };
    const Case cases[] = {
        {XAppData::kCreateLogo, [](const XAppData& a) { return a.GetLogoScene() != nullptr; }, ""},
        {XAppData::kCreateTitle, [](const XAppData& a) { return a.GetTitleScene() != nullptr; },
         "Music01.mid"},
        {XAppData::kCreateMenu, [](const XAppData& a) { return a.GetMenuScene() != nullptr; }, "Music01.mid"},
        {XAppData::kCreateRound, [](const XAppData& a) { return a.GetRoundScene() != nullptr; },
         "Music02.mid"},
        {XAppData::kCreateWinner, [](const XAppData& a) { return a.GetWinnerScene() != nullptr; },
         "Music03.mid"},
        {XAppData::kCreateRanking, [](const XAppData& a) { return a.GetRankingScene() != nullptr; },
         "Music01.mid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.create);
        app->SelectMusic(3 - (c.create == XAppData::kCreateWinner));  // some other music plays before
        Back()->ColourFill(nullptr, 9);
        app->sceneState = c.create;
        Frame();
        EXPECT_EQ(app->sceneState, c.create + 1);
        EXPECT_TRUE(c.built(*app));
        EXPECT_EQ(machine.presents.back().blackPixels, 640 * 480);
        EXPECT_EQ(machine.OpenMusic(), c.music);
        int built = 0;
        for (const Case& other : cases) {
            built += other.built(*app);
        }
        EXPECT_EQ(built, 1) << "one scene at a time";
    }
}

TEST_F(ShellTest, TheLogoAsksForTheTitleAfterNineSecondsAndQuittingPresentsNothing) {
    app->sceneState = XAppData::kCreateLogo;
    Frame();
    int frames = 0;
    for (; app->sceneState == XAppData::kRunLogo && frames < 1000; ++frames) {
        Frame();
    }
    EXPECT_EQ(frames, 226);
    EXPECT_EQ(app->sceneState, XAppData::kCreateTitle);
    EXPECT_NE(app->GetLogoScene(), nullptr) << "the scene that asked for the next one was still shown";
    EXPECT_GT(machine.presents.back().whitePixels, 640 * 480 / 2);

    size_t shown = machine.presents.size();
    app->sceneState = XAppData::kQuit;
    Frame();
    EXPECT_EQ(machine.presents.size(), shown) << "the quitting frame is not presented";
    EXPECT_TRUE(IsQuitPosted());
    EXPECT_TRUE(machine.shownTexts.empty());
    EXPECT_EQ(app->GetLogoScene(), nullptr);
}

TEST_F(ShellTest, TheLoopSleepsBetweenFramesRunsNoneWhilePausedAndShutsDownOnDestroy) {
    machine.Schedule(1200, kWmKeyDown, kVirtualKeyP);
    machine.Schedule(3000, kWmKeyDown, kVirtualKeyP);
    machine.Schedule(3400, kWmActivateApp, 0);
    machine.Schedule(5000, kWmActivateApp, 1);
    machine.Schedule(5200, kWmDestroy);
    machine.presents.clear();
    EXPECT_EQ(RunWinMain(), 0);

    ASSERT_GT(machine.presents.size(), 10u);
    for (size_t i = 1; i < machine.presents.size(); ++i) {
        uint32_t time = machine.presents[i].time;
        EXPECT_FALSE(time > 1200 && time < 3000) << "frame at " << time << " while paused by the key";
        EXPECT_FALSE(time > 3400 && time < 5000) << "frame at " << time << " while in the background";
        EXPECT_GE(time - machine.presents[i - 1].time, 40u);
    }
    // 1000..1200, 3000..3400 and 5000..5200 at 25 frames a second, the last of each run cut short.
    EXPECT_NEAR(static_cast<double>(machine.presents.size()), 5 + 10 + 5 + 3, 3);
    EXPECT_GT(machine.slept, 600u) << "the loop must sleep between frames, not spin";
    EXPECT_TRUE(machine.shownTexts.empty());
    EXPECT_EQ(machine.windowsHidden, 1);
    EXPECT_TRUE(machine.cursorShown);
    EXPECT_EQ(GetBackSurface(), nullptr);
    EXPECT_EQ(app->GetLogoScene(), nullptr);
}

TEST_F(ShellTest, EachStartFailureShowsItsTextOnceAndRunsNoFrame) {
    struct Case {
        const char* text;
        void (*breakIt)(FakeMachine&);
        bool windowExpected;
    };
    const Case cases[] = {
        {"Failed to register Window class.", [](FakeMachine& m) { m.classRegisters = false; }, false},
        {"Failed to create application window.", [](FakeMachine& m) { m.windowCreates = false; }, false},
        {"Failed to create DirectDraw object.", [](FakeMachine& m) { m.deviceCreates = false; }, true},
        {"Failed to create DirectDraw surfaces.", [](FakeMachine& m) { m.modeSets = false; }, true},
        {"Failed to initialise palette.",
         [](FakeMachine&) { OverrideResource(ResourceType::Bitmap, 102, {}); }, true},
        {"Failed to create DirectInput object.", [](FakeMachine& m) { m.keyboardCreates = false; }, true},
        {"Failed to restore surfaces.",
         [](FakeMachine& m) {
             m.lost = true;
             m.restores = false;
         },
         true},
        {"", [](FakeMachine& m) { m.otherInstance = true; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        machine.shownTexts.clear();
        machine.presents.clear();
        machine.script.clear();
        machine.windowsCreated = 0;
        c.breakIt(machine);
        machine.Schedule(machine.now + 5000, kWmDestroy);

        EXPECT_EQ(RunWinMain(), 0);
        std::vector<std::string> expected;
        if (*c.text) {
            expected.push_back(std::string("Tintorix Message: ") + c.text);
        }
        EXPECT_EQ(machine.shownTexts, expected);
        EXPECT_TRUE(machine.presents.empty());
        EXPECT_EQ(machine.windowsCreated, c.windowExpected ? 1 : 0);
        EXPECT_EQ(app->GetLogoScene(), nullptr);
        EXPECT_TRUE(machine.cursorShown);
        EXPECT_FALSE(IsQuitPosted());
        EXPECT_EQ(machine.script.size(), 1u) << "the game ended before the destroy request";
        machine.classRegisters = machine.windowCreates = machine.deviceCreates = machine.modeSets = true;
        machine.keyboardCreates = machine.restores = true;
        machine.lost = machine.otherInstance = false;
        ClearResourceOverrides();
    }
}

TEST_F(ShellTest, ASceneThatCannotBeBuiltEndsTheGameWithItsText) {
    app->sceneState = XAppData::kQuit;
    app->failureText = "Failed to create DirectDraw surfaces.";
    Frame();
    EXPECT_TRUE(machine.presents.empty());
    EXPECT_EQ(machine.shownTexts,
              std::vector<std::string>{"Tintorix Message: Failed to create DirectDraw surfaces."});
}

}  // namespace
