#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/Resources.h"
#include "gfx/Display.h"
#include "input/Input.h"
#include "scenes/ZembraLogo.h"
#include "shell/Shell.h"
#include "shell/XAppData.h"
#include "support/TestSupport.h"

namespace {

struct Presented {
    uint32_t time;
    int blackPixels;
    int whitePixels;
};

struct ScheduledMessage {
    uint32_t time;
    ShellMessage message;
};

// One fake machine: a clock that only moves when the game sleeps or waits, a script of messages
// that arrive at given times, and a display device that records what it is shown.
struct FakeMachine {
    uint32_t now = 1000;
    std::deque<ScheduledMessage> script;
    std::vector<Presented> presents;
    std::vector<std::string> messages;
    std::vector<std::string> titles;
    bool otherInstance = false;
    bool classRegisters = true;
    bool windowCreates = true;
    int windowsCreated = 0;
    int windowsHidden = 0;
    bool cursorShown = true;
    bool deviceCreates = true;
    bool modeSets = true;
    bool lost = false;
    bool restores = true;
    bool keyboardCreates = true;
    uint32_t totalSleep = 0;
};

FakeMachine* machine = nullptr;
int windowToken = 0;

class RecordingDevice : public DisplayDevice {
public:
    bool SetMode(int, int, int, uint32_t) override { return machine->modeSets; }
    bool Present(const Surface& back, const PaletteEntry*) override {
        Rect all{0, 0, back.GetWidth(), back.GetHeight()};
        machine->presents.push_back({machine->now, CountPixels(back, all, 0), CountPixels(back, all, 255)});
        return true;
    }
    bool IsLost() const override { return machine->lost; }
    bool Restore() override { return machine->restores; }
};

std::unique_ptr<DisplayDevice> MakeRecordingDevice(void*) {
    if (!machine->deviceCreates) {
        return nullptr;
    }
    return std::make_unique<RecordingDevice>();
}

ShellPlatform FakePlatform() {
    ShellPlatform platform;
    platform.claimSingleInstance = [] { return !machine->otherInstance; };
    platform.frameClock = [] { return machine->now; };
    platform.seedClock = [] { return 7u; };
    platform.registerWindowClass = [] { return machine->classRegisters; };
    platform.createWindow = []() -> void* {
        if (!machine->windowCreates) {
            return nullptr;
        }
        ++machine->windowsCreated;
        return &windowToken;
    };
    platform.hideWindow = [](void*) { ++machine->windowsHidden; };
    platform.showCursor = [](bool show) { machine->cursorShown = show; };
    platform.peekMessage = [](ShellMessage* message) {
        if (machine->script.empty() || machine->script.front().time > machine->now) {
            return false;
        }
        *message = machine->script.front().message;
        machine->script.pop_front();
        return true;
    };
    platform.waitMessage = [] {
        // Nothing left to wait for would hang the real game too: end it instead.
        if (machine->script.empty()) {
            machine->script.push_back({machine->now, {kWmDestroy, 0}});
        }
        machine->now = std::max(machine->now, machine->script.front().time);
    };
    platform.sleep = [](uint32_t milliseconds) {
        machine->now += milliseconds;
        machine->totalSleep += milliseconds;
    };
    platform.showMessage = [](const char* title, const char* text) {
        machine->titles.push_back(title);
        machine->messages.push_back(text);
    };
    return platform;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine = &fake;
        SetShellPlatform(FakePlatform());
        SetDisplayDeviceFactory(MakeRecordingDevice);
        InputPlatform input;
        input.createKeyboard = [] { return machine->keyboardCreates; };
        SetInputPlatform(input);
        app = std::make_unique<XAppData>();
    }
    void TearDown() override {
        app.reset();
        ReleaseInput();
        ReleaseDisplaySurfaces();
        ReleaseDisplay();
        SetShellPlatform(ShellPlatform{});
        SetDisplayDeviceFactory(nullptr);
        SetInputPlatform(InputPlatform{});
        ClearResourceOverrides();
        machine = nullptr;
    }

    // A started game without the message loop: window, display and input as WinMain makes them.
    void StartWithoutLoop() {
        ASSERT_TRUE(CreateMainWindow(*app));
        ASSERT_TRUE(StartDisplay(*app));
        ASSERT_TRUE(CreateInput(nullptr, app->mainWindow));
    }

    void Schedule(uint32_t time, uint32_t message, uintptr_t wParam = 0) {
        fake.script.push_back({time, {message, wParam}});
    }

    TempConfigDir config;
    FakeMachine fake;
    std::unique_ptr<XAppData> app;
};

TEST_F(ShellTest, FramesStartAtMostEveryFortyMillisecondsFromTheLastStart) {
    StartWithoutLoop();
    app->sceneState = XAppData::kBeforeStart;  // frames that draw nothing

    fake.now = 0;
    RunFrame(*app);
    EXPECT_TRUE(fake.presents.empty()) << "the clock has not moved from the initial frame time";
    EXPECT_EQ(TimeUntilNextFrame(*app, 0), 40u);

    for (uint32_t time : {39u, 40u, 41u, 79u, 80u}) {
        fake.now = time;
        RunFrame(*app);
    }
    ASSERT_EQ(fake.presents.size(), 2u);
    EXPECT_EQ(fake.presents[0].time, 40u);
    EXPECT_EQ(fake.presents[1].time, 80u);

    // A late frame is not made up for: the next one is measured from the late one's start.
    fake.now = 250;
    RunFrame(*app);
    RunFrame(*app);
    EXPECT_EQ(TimeUntilNextFrame(*app, 250), 40u);
    EXPECT_EQ(TimeUntilNextFrame(*app, 289), 1u);
    fake.now = 289;
    RunFrame(*app);
    fake.now = 290;
    RunFrame(*app);
    ASSERT_EQ(fake.presents.size(), 4u);
    EXPECT_EQ(fake.presents[2].time, 250u);
    EXPECT_EQ(fake.presents[3].time, 290u);
}

TEST_F(ShellTest, TheClockWrappingPastZeroDoesNotStopTheFrames) {
    StartWithoutLoop();
    app->sceneState = XAppData::kBeforeStart;

    fake.now = 0xFFFFFFF0u;
    RunFrame(*app);
    ASSERT_EQ(fake.presents.size(), 1u);
    EXPECT_EQ(app->lastFrameTime, 0xFFFFFFF0u);

    // Just after the wrap the last frame counts as having started at 0.
    fake.now = 5;
    EXPECT_EQ(TimeUntilNextFrame(*app, fake.now), 35u);
    RunFrame(*app);
    EXPECT_EQ(app->lastFrameTime, 0u);
    EXPECT_EQ(fake.presents.size(), 1u);
    fake.now = 40;
    RunFrame(*app);
    fake.now = 80;
    RunFrame(*app);
    EXPECT_EQ(fake.presents.size(), 3u);
    EXPECT_EQ(app->lastFrameTime, 80u);
}

TEST_F(ShellTest, PauseKeyWorksOnlyWithHotKeysAndTheForegroundAlwaysDecides) {
    StartWithoutLoop();
    ASSERT_TRUE(IsKeyboardAcquired());

    WindowProc(*app, kWmKeyDown, 'Q');
    EXPECT_FALSE(app->paused);
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    EXPECT_TRUE(app->paused);
    EXPECT_FALSE(IsKeyboardAcquired());
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    EXPECT_FALSE(app->paused);
    EXPECT_TRUE(IsKeyboardAcquired());

    // While a name is typed the pause key is just a letter.
    app->hotKeysEnabled = false;
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    EXPECT_FALSE(app->paused);
    app->hotKeysEnabled = true;
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    EXPECT_TRUE(app->paused);

    // Coming back to the foreground resumes, even after the pause key.
    WindowProc(*app, kWmActivateApp, 1);
    EXPECT_FALSE(app->paused);
    EXPECT_TRUE(IsKeyboardAcquired());
    WindowProc(*app, kWmActivateApp, 0);
    EXPECT_TRUE(app->paused);
    EXPECT_FALSE(IsKeyboardAcquired());
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    WindowProc(*app, kWmActivateApp, 0);
    EXPECT_TRUE(app->paused) << "leaving the foreground pauses whatever the pause key did";

    EXPECT_EQ(WindowProc(*app, kWmNcHitTest, 0), 0);
    WindowProc(*app, kWmActivateApp, 1);
    EXPECT_EQ(WindowProc(*app, kWmNcHitTest, 0), 1);
    EXPECT_EQ(WindowProc(*app, kWmPaint, 0), 1);
    EXPECT_EQ(fake.presents.size(), 1u) << "a repaint request presents the back surface again";
}

TEST_F(ShellTest, TheLoopSleepsBetweenFramesAndRunsNoneWhilePaused) {
    Schedule(1200, kWmKeyDown, kVirtualKeyP);
    Schedule(3000, kWmKeyDown, kVirtualKeyP);
    Schedule(3400, kWmActivateApp, 0);
    Schedule(5000, kWmActivateApp, 1);
    Schedule(5200, kWmDestroy);
    EXPECT_EQ(WinMain(*app, nullptr), 0);

    ASSERT_GT(fake.presents.size(), 10u);
    for (size_t i = 1; i < fake.presents.size(); ++i) {
        uint32_t time = fake.presents[i].time;
        EXPECT_FALSE(time > 1200 && time < 3000) << "frame at " << time << " while paused by the key";
        EXPECT_FALSE(time > 3400 && time < 5000) << "frame at " << time << " while in the background";
        uint32_t gap = time - fake.presents[i - 1].time;
        EXPECT_GE(gap, 40u);
    }
    // 1000..1200, 3000..3400 and 5000..5200 at 25 frames a second, the last of each run cut short.
    EXPECT_NEAR(static_cast<double>(fake.presents.size()), 5 + 10 + 5 + 3, 3);
    EXPECT_GT(fake.totalSleep, 600u) << "the loop must sleep between frames, not spin";
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.windowsHidden, 1);
    EXPECT_TRUE(fake.cursorShown);
    EXPECT_EQ(GetBackSurface(), nullptr);
    EXPECT_EQ(app->GetLogoScene(), nullptr);
}

TEST_F(ShellTest, ScenesChangeOneFrameLateBehindABlackFrameAndQuittingPresentsNothing) {
    StartWithoutLoop();
    app->sceneState = XAppData::kCreateLogo;
    auto frame = [&] {
        fake.now += 40;
        RunFrame(*app);
    };

    frame();
    ASSERT_NE(app->GetLogoScene(), nullptr);
    EXPECT_EQ(app->sceneState, XAppData::kRunLogo);
    ASSERT_EQ(fake.presents.size(), 1u);
    EXPECT_EQ(fake.presents[0].blackPixels, 640 * 480);

    int frames = 0;
    while (app->sceneState == XAppData::kRunLogo && frames < 1000) {
        frame();
        ++frames;
    }
    // About nine seconds of logo; the logo that asked for the title is still there and was shown.
    EXPECT_NEAR(frames, 226, 2);
    EXPECT_EQ(app->sceneState, XAppData::kCreateTitle);
    EXPECT_NE(app->GetLogoScene(), nullptr);
    EXPECT_GT(fake.presents.back().whitePixels, 640 * 480 / 2);

    frame();
    EXPECT_EQ(app->GetLogoScene(), nullptr);
    EXPECT_NE(app->GetTitleScene(), nullptr);
    EXPECT_EQ(app->sceneState, XAppData::kRunTitle);
    EXPECT_EQ(fake.presents.back().blackPixels, 640 * 480);

    size_t shown = fake.presents.size();
    app->sceneState = XAppData::kQuit;
    frame();
    EXPECT_EQ(fake.presents.size(), shown) << "the quitting frame is not presented";
    EXPECT_TRUE(IsQuitPosted());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(app->GetTitleScene(), nullptr);
    frame();
    EXPECT_EQ(fake.presents.size(), shown);
}

TEST_F(ShellTest, ASceneThatCannotBeBuiltEndsTheGameWithItsText) {
    StartWithoutLoop();
    app->sceneState = XAppData::kQuit;
    app->failureText = "Failed to create DirectDraw surfaces.";
    fake.now += 40;
    RunFrame(*app);
    EXPECT_TRUE(fake.presents.empty());
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0], "Failed to create DirectDraw surfaces.");
}

TEST_F(ShellTest, EachStartFailureShowsItsTextOnceAndRunsNoFrame) {
    struct Case {
        const char* text;
        void (*breakIt)();
        bool windowExpected;
    };
    const Case cases[] = {
        {"Failed to register Window class.", [] { machine->classRegisters = false; }, false},
        {"Failed to create application window.", [] { machine->windowCreates = false; }, false},
        {"Failed to create DirectDraw object.", [] { machine->deviceCreates = false; }, true},
        {"Failed to create DirectDraw surfaces.", [] { machine->modeSets = false; }, true},
        {"Failed to initialise palette.", [] { OverrideResource(ResourceType::Bitmap, 102, {}); }, true},
        {"Failed to create DirectInput object.", [] { machine->keyboardCreates = false; }, true},
        {"Failed to restore surfaces.",
         [] {
             machine->lost = true;
             machine->restores = false;
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fake = FakeMachine{};
        app = std::make_unique<XAppData>();
        c.breakIt();
        Schedule(5000, kWmDestroy);

        EXPECT_EQ(WinMain(*app, nullptr), 0);
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0], c.text);
        EXPECT_EQ(fake.titles[0], "Tintorix Message");
        EXPECT_TRUE(fake.presents.empty());
        EXPECT_EQ(fake.windowsCreated, c.windowExpected ? 1 : 0);
        EXPECT_EQ(app->GetLogoScene(), nullptr);
        EXPECT_TRUE(fake.cursorShown);
        EXPECT_FALSE(IsQuitPosted());
        EXPECT_EQ(fake.script.size(), 1u) << "the game ended before the destroy request";
        ClearResourceOverrides();
    }
}

TEST_F(ShellTest, ASecondInstanceEndsSilentlyBeforeAnyWindow) {
    fake.otherInstance = true;
    EXPECT_EQ(WinMain(*app, nullptr), 0);
    EXPECT_EQ(fake.windowsCreated, 0);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(fake.cursorShown);
    EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
}

}  // namespace
