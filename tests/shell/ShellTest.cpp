#include <string>
#include <vector>

#include "audio/ZSoundList.h"
#include "base/Resources.h"
#include "gfx/Maths.h"
#include "gfx/ZAscii.h"
#include "shell/Shell.h"
#include "shell/XMatchInput.h"
#include "shell/XSettings.h"
#include "support/FakeLink.h"
#include "support/TestSupport.h"

class ShellTest : public GameTest {
protected:
    // A new application object for WinMain, which starts everything itself.
    int RunWinMain() {
        app = std::make_unique<XAppData>();
        return WinMain(*app, nullptr);
    }
    // A new application object whose matches are played over a fake link.
    FakeLink* Online() {
        app = std::make_unique<XAppData>();
        FakeLink* link = GiveLink(*app->GetMatchInput());
        return link;
    }
};

TEST_F(ShellTest, FramesStartEveryFortyMillisecondsOfflineFromTheLastStartOnlineOnASchedule) {
    // The clock, and the time until the next frame after a frame there, if one was due. Offline a late frame
    // is not made up for; online, late at 250, the frames of 120, 160, 200 and 240 run at once, and far
    // behind the schedule starts again. After the wrap the last frame counts as having started at 0.
    using Steps = std::vector<std::pair<uint32_t, uint32_t>>;
    const Steps offline = {{0, 40},   {39, 1},  {40, 40},  {41, 39}, {79, 1},           {80, 40}, {250, 40},
                           {250, 40}, {289, 1}, {290, 40}, {0xFFFFFFF0u, 40}, {5, 35}, {40, 40}};
    const Steps online = {{0, 40},   {39, 1},   {40, 40},  {41, 39},  {79, 1},  {80, 40},          {250, 0},
                          {250, 0},  {250, 0},  {250, 30}, {250, 30}, {600, 40}, {620, 20},        {640, 40},
                          {0xFFFFFFF0u, 40},    {5, 35},   {40, 40}};
    const std::pair<const Steps*, std::vector<uint32_t>> cases[] = {
        {&offline, {40, 80, 250, 290, 0xFFFFFFF0u, 40}},
        {&online, {40, 80, 250, 250, 250, 250, 600, 640, 0xFFFFFFF0u, 40}}};
    for (const auto& [steps, presents] : cases) {
        app = std::make_unique<XAppData>();
        if (steps == &online)
            Online();
        machine.presents.clear();
        for (const auto& [now, untilNext] : *steps) {
            machine.now = now;
            RunFrame(*app);
            EXPECT_EQ(TimeUntilNextFrame(*app, now), untilNext) << now;
        }
        EXPECT_EQ(machine.presents, presents);
    }
    EXPECT_EQ(TimeUntilNextFrame(*app, 95), 0u) << "overdue";
    machine.presents.clear();
    // The sound effects load only once the first picture is up.
    app = std::make_unique<XAppData>();
    ASSERT_TRUE(StartGame(*app, nullptr) && !app->GetSoundList());
    Frame();
    EXPECT_TRUE(app->GetSoundList() && app->GetSoundList()->HasDevice() && machine.presents.size() == 1);
}

TEST_F(ShellTest, PauseKeyWorksOnlyWithHotKeysTheForegroundAlwaysDecidesAndTheMusicWaits) {
    // Message, its parameter, hot keys on, paused after it. While a name is typed the pause key is just a
    // letter; coming back resumes even after the pause key; going away while paused stays paused.
    const uintptr_t steps[][4] = {
        {kWmKeyDown, 'Q', 1, 0},          {kWmKeyDown, kVirtualKeyP, 1, 1}, {kWmKeyDown, kVirtualKeyP, 1, 0},
        {kWmKeyDown, kVirtualKeyP, 0, 0}, {kWmKeyDown, kVirtualKeyP, 1, 1}, {kWmActivateApp, 0, 1, 1},
        {kWmActivateApp, 1, 1, 0},        {kWmActivateApp, 0, 1, 1},        {kWmKeyDown, kVirtualKeyP, 1, 0},
        {kWmActivateApp, 0, 1, 1},        {kWmActivateApp, 1, 1, 0}};
    app->SelectMusic(1);
    for (const auto& [message, wParam, hotKeys, paused] : steps) {
        app->hotKeysEnabled = hotKeys;
        machine.music.clear();
        bool before = app->paused;
        WindowProc(*app, static_cast<uint32_t>(message), wParam);
        ASSERT_EQ(app->paused, paused != 0) << message << " " << wParam;
        EXPECT_EQ(IsKeyboardAcquired(), !paused);
        EXPECT_EQ(WindowProc(*app, kWmNcHitTest, 0), paused ? 0 : 1);
        // The music stops at its place and goes on from there.
        if (before != app->paused) {
            EXPECT_EQ(machine.music, std::vector<std::string>{paused ? "stop" : "play on"});
        }
    }
    machine.presents.clear();
    EXPECT_EQ(WindowProc(*app, kWmPaint, 0), 1);
    EXPECT_EQ(machine.presents.size(), 1u) << "a repaint request presents the back surface again";
    // Paused, the screen shows the frame dimmed with the word over its middle, the dimmed frame between its
    // letters; the frame itself stays as it was.
    Surface& back = *GetBackSurface();
    uint8_t white = static_cast<uint8_t>(MatchColor(&back, 0xFFFFFF));
    back.ColourFill(nullptr, white);
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    const Surface& shown = *machine.shown;
    const Rect all{0, 0, 640, 480}, word{188, 204, 452, 276};
    int groundInWord = CountPixels(shown, word, shown.GetPixel(0, 0));
    EXPECT_EQ(std::tuple(CountPixels(back, all, white),
                         CountPixels(shown, all, shown.GetPixel(0, 0)) - groundInWord,
                         shown.GetPixel(0, 0) == MatchColor(&back, 0x666666),  // white at 40 per cent
                         groundInWord < 264 * 72 * 4 / 5 && groundInWord > 264 * 72 / 5),
              std::tuple(640 * 480, 640 * 480 - 264 * 72, true, true));
    WindowProc(*app, kWmKeyDown, kVirtualKeyP);
    Frame();
    EXPECT_EQ(machine.shown, &back) << "resumed, the frame itself";
    // The end of the piece replays it from its start, but only on success and while music is chosen.
    for (auto [code, stopped, replays] : {std::tuple(2, false, 0), {1, false, 1}, {1, true, 0}}) {
        app->SelectMusic(stopped ? 0 : 1);  // 0: no music
        machine.music.clear();
        WindowProc(*app, kMmMciNotify, static_cast<uintptr_t>(code));
        EXPECT_EQ(machine.music, std::vector<std::string>(replays, "play from 0")) << code << stopped;
    }
}

TEST_F(ShellTest, EachCreateStateBuildsItsSceneBehindABlackFrameWithItsMusic) {
    const std::pair<int32_t, const char*> cases[] = {
        {XAppData::kCreateLogo, ""},             {XAppData::kCreateTitle, "Music01.mid"},
        {XAppData::kCreateMenu, "Music01.mid"},  {XAppData::kCreateRanking, "Music01.mid"},
        {XAppData::kCreateRound, "Music02.mid"}, {XAppData::kCreateWinner, "Music03.mid"}};
    auto built = [&] {
        return std::vector<const void*>{app->GetLogoScene(),    app->GetTitleScene(), app->GetMenuScene(),
                                        app->GetRankingScene(), app->GetRoundScene(), app->GetWinnerScene()};
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto [create, music] = cases[i];
        app->SelectMusic(create == XAppData::kCreateWinner ? 2 : 3);  // some other music plays before
        Back()->ColourFill(nullptr, 9);
        app->sceneState = create;
        Frame();
        EXPECT_EQ(std::tuple(app->sceneState, CountPixels(*Back(), {0, 0, 640, 480}, 0), machine.OpenMusic()),
                  std::tuple(create + 1, 640 * 480, music));
        const std::vector<const void*> scenes = built();
        EXPECT_TRUE(scenes[i] && std::count(scenes.begin(), scenes.end(), nullptr) == 5) << "one at a time";
    }
    // The logo asks for the title after nine seconds, and is shown in that frame too.
    app->sceneState = XAppData::kCreateLogo;
    Frame();
    int frames = 0;
    for (; app->sceneState == XAppData::kRunLogo && frames < 1000; ++frames) Frame();
    EXPECT_EQ(frames, 226);
    EXPECT_TRUE(app->GetLogoScene() && CountPixels(*Back(), {0, 0, 640, 480}, 255) > 640 * 480 / 2);
    // A scene that cannot be built ends the game with its text, and the quitting frame is not shown.
    size_t shown = machine.presents.size();
    app->sceneState = XAppData::kQuit;
    app->failureText = "Failed to create DirectDraw surfaces.";
    Frame();
    EXPECT_TRUE(machine.presents.size() == shown && IsQuitPosted() && !app->GetLogoScene());
    EXPECT_EQ(machine.shownTexts,
              std::vector<std::string>{"Tintorix Message: Failed to create DirectDraw surfaces."});
}

TEST_F(ShellTest, TheLoopSleepsBetweenFramesRunsNoneWhilePausedAndShutsDownOnDestroy) {
    for (auto [time, message, wParam] :
         {std::tuple{1200, kWmKeyDown, kVirtualKeyP}, {3000, kWmKeyDown, kVirtualKeyP},
          {3400, kWmActivateApp, 0}, {5000, kWmActivateApp, 1}, {5200, kWmDestroy, 0}})
        machine.Schedule(time, message, wParam);
    machine.presents.clear();
    EXPECT_TRUE(app->ownsHighScores) << "the lock holder keeps the table";
    machine.instance = InstanceClaim::Unavailable;
    XSettings chosen;  // the game starts as its settings say
    std::tie(chosen.musicVolume, chosen.effectsVolume, chosen.window.fullScreen) = std::tuple(30, 60, false);
    chosen.Save();
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(std::tuple(machine.musicVolume, machine.audio->volume, machine.window.fullScreen),
              std::tuple(30, 60, false));
    EXPECT_FALSE(app->ownsHighScores) << "without a lock the game runs, but leaves the table alone";
    ASSERT_GT(machine.presents.size(), 10u);
    for (size_t i = 1; i < machine.presents.size(); ++i) {
        uint32_t time = machine.presents[i];
        EXPECT_FALSE((time > 1200 && time < 3000) || (time > 3400 && time < 5000)) << "frame while paused";
        EXPECT_GE(time - machine.presents[i - 1], 40u);
    }
    // 1000..1200, 3000..3400 and 5000..5200 at 25 frames a second, the last of each run cut short.
    EXPECT_NEAR(static_cast<double>(machine.presents.size()), 5 + 10 + 5 + 3, 3);
    EXPECT_GT(machine.slept, 600u) << "the loop must sleep between frames, not spin";
    // Shut down in order: sounds stopped, window hidden, cursor back, surfaces gone, no text.
    const auto& sounds = machine.audio->channels;
    const auto playing = std::count_if(sounds.begin(), sounds.end(), [](const auto& c) { return c.playing; });
    EXPECT_EQ(std::tuple(playing, machine.shownTexts.size(), machine.windowsHidden, machine.cursorShown),
              std::tuple(0, 0u, 1, true));
    EXPECT_EQ(GetBackSurface(), nullptr);
}

TEST_F(ShellTest, OnlineTheLoopSleepsInTheLinksWaitUntilTheNextFrameOrTheOthersInput) {
    for (bool ready : {true, false}) {
        FakeLink* link = Online();
        std::tie(link->started, link->ready) = std::pair(true, ready);
        machine.slept = 0;
        machine.Schedule(machine.now + 4000, kWmDestroy);
        EXPECT_EQ(WinMain(*app, nullptr), 0);
        // Never in steps of a millisecond or two: a whole frame's wait at once, or up to a packet.
        uint32_t waited = 0, shortest = 1000;
        for (uint32_t wait : link->waits) waited += wait, shortest = std::min(shortest, wait);
        EXPECT_EQ(std::tuple(link->begun, machine.slept, waited >= 3900, shortest >= (ready ? 1u : 20u)),
                  std::tuple(1, 0u, true, true)) << ready << " " << waited << " " << shortest;
        EXPECT_LE(link->waits.size(), ready ? 2 * link->frames.size() + 10 : 4000u / 20 + 10) << ready;
        EXPECT_EQ(link->frames.empty(), !ready);
    }
}

TEST_F(ShellTest, OnlineARoundFarBehindTheOthersRunsItsFramesAtOnceUnseenAndUnheard) {
    FakeLink* link = Online();
    link->started = true;
    link->status.framesHeld = 60;
    size_t presents = 0, played = 0;
    bool checked = false;
    link->onWait = [&](uint32_t) {
        if (link->frames.empty()) {
            std::tie(presents, played) = std::pair(machine.presents.size(), machine.audio->played.size());
        } else if (!checked) {
            // Eight frames behind is near enough: those run on the schedule, seen and heard. Unseen, the
            // countdown's first calls are unheard too; only the frame the round is built behind shows.
            checked = true;
            EXPECT_EQ(std::tuple(link->frames.size(), machine.presents.size(), machine.audio->played.size()),
                      std::tuple(52u, presents + 1, played));
        }
    };
    machine.Schedule(3000, kWmDestroy);
    EXPECT_TRUE(WinMain(*app, nullptr) == 0 && checked);
    EXPECT_GT(machine.audio->played.size(), played) << "the countdown's last calls, caught up";
}

// The line of the status band on the picture shown, among those given; "" for no band, "?" for another.
// Above the band the picture is the frame itself, unless paused (dimmed).
std::string ShownLine(const Surface& back, const Surface& shown, const std::vector<std::string>& lines,
                      bool paused) {
    const Rect above{0, 0, 640, 444};
    auto band = Surface::Create(640, 480);
    for (int y = 0; y < 480; ++y) std::copy_n(back.Row(y), 640, band->Row(y));
    if (!paused && CountPixels(shown, above, 0) != CountPixels(back, above, 0))
        return "?";
    if (std::equal(back.Row(450), back.Row(450) + 640, shown.Row(450)))
        return "";
    for (const std::string& line : lines) {
        Rect strip{0, 444, 640, 472};
        band->ColourFill(&strip, static_cast<uint8_t>(MatchColor(band.get(), 0)));
        ZAscii letters;
        letters.SetSurface(band.get());
        letters.DrawLabels((640 - 11 * ZAscii::CountCells(line)) / 2, 449, line);
        bool same = true;
        for (int y = 444; y < 472 && same; ++y)
            same = std::equal(band->Row(y), band->Row(y) + 640, shown.Row(y));
        if (same)
            return line;
    }
    return "?";
}

TEST_F(ShellTest, OnlineTheBackgroundHoldsNobodyPPausesEveryoneAndTheBandSaysWhoWhyAndWhatTheMatchWaitsFor) {
    FakeLink* link = Online();
    link->started = true;
    const std::vector<std::string> lines = {"WAITING FOR PLAYER 3", "PLAYER 2 LEFT: THE COMPUTER PLAYS",
                                            "PLAYER 1 PAUSED", "PLAYER 3 PAUSED",
                                            "MATCH STOPPED: THE HOST HAS LEFT"};
    // The others: a stall for player 3, player 2 leaving, player 3 pausing after this one, a stop.
    using Change = std::function<void()>;
    std::vector<std::pair<uint32_t, Change>> script = {
        {2000, [&] { std::tie(link->ready, link->status.waitingFor) = std::pair(false, 4); }},
        {2600, [&] { std::tie(link->ready, link->status.waitingFor) = std::pair(true, 0); }},
        {2700, [&] { link->status.leftSeats = 2; }}, {4000, [&] { link->status.pausedBy = 2; }},
        {4400, [&] { link->status.pausedBy = -1; }}, {5000, [&] { link->stop = "the host has left"; }}};
    std::vector<std::pair<uint32_t, std::string>> seen = {{0, ""}};
    link->onWait = [&](uint32_t now) {
        while (!script.empty() && script.front().first <= now) {
            script.front().second();
            script.erase(script.begin());
        }
        std::string line =
            machine.shown ? ShownLine(*GetBackSurface(), *machine.shown, lines, app->paused) : "";
        if (line != seen.back().second)
            seen.push_back({now, line});
    };
    machine.Schedule(1300, kWmActivateApp, 0);
    machine.Schedule(3500, kWmKeyDown, kVirtualKeyP);
    machine.Schedule(6000, kWmDestroy);
    EXPECT_EQ(WinMain(*app, nullptr), 0);
    // In the background the frames went on, 25 a second.
    EXPECT_NEAR(std::count_if(machine.presents.begin(), machine.presents.end(),
                              [](uint32_t t) { return t >= 1300 && t < 2000; }), 700 / 40, 1);
    // Each line shows about when it should (a quarter second into the stall, while paused, for 4 s after
    // a seat was left or the match stopped) and nothing else ever does.
    const std::pair<uint32_t, std::string> expected[] = {{2290, lines[0]}, {2600, ""},       {2700, lines[1]},
                                                         {3500, lines[2]}, {4000, lines[3]}, {4400, lines[1]},
                                                         {5000, lines[4]}};
    ASSERT_EQ(seen.size(), std::size(expected) + 1) << seen.back().second << " at " << seen.back().first;
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(seen[i + 1].second, expected[i].second);
        EXPECT_NEAR(seen[i + 1].first, expected[i].first, 80) << expected[i].second;
    }
    EXPECT_EQ(std::count_if(machine.presents.begin(), machine.presents.end(),
                            [](uint32_t t) { return t > 3560 && t < 4400; }),
              1) << "paused, only the change of who paused is shown";
}

TEST_F(ShellTest, EachStartFailureShowsItsTextOnceAndRunsNoFrame) {
    using Fault = void (*)(FakeMachine&);
    const std::tuple<const char*, Fault, int> cases[] = {
        {"Failed to register Window class.", [](FakeMachine& m) { m.classRegisters = false; }, 0},
        {"Failed to create application window.", [](FakeMachine& m) { m.windowCreates = false; }, 0},
        {"Failed to create DirectDraw object.", [](FakeMachine& m) { m.deviceCreates = false; }, 1},
        {"Failed to create DirectDraw surfaces.", [](FakeMachine& m) { m.modeSets = false; }, 1},
        {"Failed to initialise palette.",
         [](FakeMachine&) { OverrideResource(ResourceType::Bitmap, 102, {}); }, 1},
        {"Failed to create DirectInput object.", [](FakeMachine& m) { m.keyboardCreates = false; }, 1},
        {"Failed to restore surfaces.", [](FakeMachine& m) { m.lost = !(m.restores = false); }, 1},
        {"", [](FakeMachine& m) { m.instance = InstanceClaim::OtherCopy; }, 0}};
    for (const auto& [text, fault, windows] : cases) {
        machine.shownTexts.clear();
        machine.presents.clear();
        machine.script.clear();
        machine.windowsCreated = 0;
        machine.seed = 5000 + windows;
        SeedRandomWith(0);
        fault(machine);
        machine.Schedule(machine.now + 5000, kWmDestroy);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunWinMain(), 0);
        // A second copy also says why it ends, where a terminal sees it.
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  *text ? "" : "tintorix: Tintorix is already running\n");
        std::vector<std::string> shown;
        if (*text)
            shown.push_back(std::string("Tintorix Message: ") + text);
        EXPECT_EQ(machine.shownTexts, shown);
        EXPECT_TRUE(machine.presents.empty()) << text;
        EXPECT_EQ(machine.windowsCreated, windows) << text;
        EXPECT_EQ(GetRandomState(), *text ? machine.seed : 0) << "seeded from the platform's clock";
        EXPECT_TRUE(machine.cursorShown && !IsQuitPosted() && !app->GetLogoScene()) << text;
        EXPECT_EQ(machine.script.size(), 1u) << "the game ended before the destroy request";
        machine.classRegisters = machine.windowCreates = machine.deviceCreates = machine.modeSets = true;
        machine.keyboardCreates = machine.restores = true;
        machine.lost = false;
        machine.instance = InstanceClaim::Held;
        ClearResourceOverrides();
    }
}
