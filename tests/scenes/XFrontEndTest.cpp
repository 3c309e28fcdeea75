#include "input/Controllers.h"
#include "scenes/ScenePicture.h"
#include "scenes/XFrontEnd.h"
#include "scenes/XMenu.h"
#include "scenes/XOptions.h"
#include "scenes/XRanking.h"
#include "scenes/XTitle.h"
#include "scenes/XWinner.h"
#include "shell/XMenuData.h"

// A controller's up and down, beside the keys.
constexpr int kPadUp = -1, kPadDown = -2;

class XFrontEndTest : public GameTest {
protected:
    static void Hold(int code, bool down) {
        code > 0 ? KeyboardEvent(code, down)
                 : ControllerButtonEvent(7, code == kPadUp ? PadButton::Up : PadButton::Down, down);
    }
    // A new screen given the pushes once active (held together for a frame, let go for one): the scene
    // state it writes with the last frame of its fade-out, fadeOut frames after the choice (the winner
    // counts the frame before it reads the keys, so its fade-out ends one frame later).
    template <typename Scene>
    int32_t Leave(const std::vector<std::vector<int>>& pushes, int fadeOut) {
        app->sceneState = XAppData::kBeforeStart;
        Scene scene(app.get());
        Hold(kKeyReturn, true);  // fading in: not read
        scene.UpdateFrame();
        EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480) << "the fade-in starts black";
        Hold(kKeyReturn, false);
        Frames(scene, 21);
        for (const auto& push : pushes) {
            for (int code : push) Hold(code, true);
            scene.UpdateFrame();
            for (int code : push) Hold(code, false);
            scene.UpdateFrame();
        }
        Frames(scene, fadeOut - 2);
        EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
        scene.UpdateFrame();
        return app->sceneState;
    }
};

TEST_F(XFrontEndTest, EachFadeShowsTwentyOneLevelsTwoPixelsPerColumnAtATime) {
    XFrontEnd frame(app.get());
    for (int i = 0; i < 43; ++i) {
        if (i == 22)
            frame.BeginFadeOut();
        Back()->ColourFill(nullptr, 9);
        frame.DrawFade(Back());
        // Black pixels of each 40-pixel column: 40, 38 .. 0 fading in, none while active, 0, 2 .. 40 out.
        int black = i < 21 ? 40 - 2 * i : i == 21 ? 0 : 2 * (i - 22);
        EXPECT_EQ(CountPixels(*Back(), Rect{0, 240, 640, 241}, 0), 16 * black) << i;
        EXPECT_EQ(frame.Advance(), i == 42) << "the exit action comes with the last fade-out frame";
    }
}

TEST_F(XFrontEndTest, EachScreenLeavesForTheChosenEntryWithOneSoundPerMoveAndPerChoice) {
    using A = XAppData;
    const int up = kKeyUp, down = kKeyDown, enter = kKeyReturn, space = kKeySpace, esc = kKeyEscape;
    // The title's cursor starts on the mode last played; every push but the last moves the cursor.
    // clang-format off
    const struct {
        char screen;
        int32_t battleMode;
        int emptySeats;
        std::vector<std::vector<int>> pushes;
        int32_t state;
    } cases[] = {
        {'T', 0, 0, {{up}, {enter}}, A::kCreateMenu},    {'T', 1, 0, {{down}, {space}}, A::kCreateRanking},
        {'T', 1, 0, {{esc}}, A::kQuit},                  {'T', 1, 0, {{up}, {up}, {enter}}, A::kQuit},
        {'T', 1, 0, {{up, down}, {enter}}, A::kCreateOptions},
        {'O', 1, 0, {{up}, {enter}}, A::kCreateTitle},   {'O', 1, 0, {{esc}}, A::kCreateTitle},
        {'T', 1, 0, {{enter, esc}}, A::kCreateMenu},
        {'T', 1, 0, {{kPadDown}, {kPadDown}, {kPadUp}, {enter}}, A::kCreateRanking},
        {'M', 1, 0, {{enter}}, A::kCreateRound},         {'M', 1, 3, {{enter}}, A::kCreateRound},
        {'M', 1, 4, {{enter}}, A::kCreateMenu},          {'M', 1, 0, {{down}, {enter}}, A::kCreateTitle},
        {'M', 1, 0, {{esc}}, A::kCreateTitle},           {'R', 0, 0, {{enter}}, A::kCreateRound},
        {'R', 0, 0, {{up}, {enter}}, A::kCreateTitle},   {'R', 0, 0, {{esc}}, A::kCreateTitle},
        {'W', 1, 0, {{enter}}, A::kCreateMenu},          {'W', 1, 0, {{esc}}, A::kCreateMenu}};
    // clang-format on
    XMenuData& settings = *app->GetMenuSettings();
    ControllerAdded(7);
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        settings.SetDefaults();
        settings.SetBattleMode(c.battleMode);
        for (int i = 4 - c.emptySeats; i < 4; ++i) {  // the last seats: 3 leaves player 1 alone
            for (int step = 0; step < 2 && settings.GetControlType(i) != 2; ++step)
                settings.CycleControlType(i);
        }
        machine.audio->played.clear();
        machine.audio->stopped.clear();
        int32_t state = c.screen == 'T'   ? Leave<XTitle>(c.pushes, 20)
                        : c.screen == 'M' ? Leave<XMenu>(c.pushes, 20)
                        : c.screen == 'R' ? Leave<XRanking>(c.pushes, 20)
                        : c.screen == 'O' ? Leave<XOptions>(c.pushes, 20) : Leave<XWinner>(c.pushes, 21);
        EXPECT_EQ(state, c.state);
        // The title sets battle mode (1) or ranking (0) for what follows.
        EXPECT_EQ(settings.IsBattleMode(),
                  c.state == A::kCreateMenu || (c.state != A::kCreateRanking && c.battleMode));
        EXPECT_EQ(Played(XFrontEnd::kSoundMove), c.pushes.size() - 1);
        EXPECT_EQ(machine.audio->played.size(), c.pushes.size()) << "and sound 176 for the choice";
        // The winner leaves in silence: no jingle, voice or closing sound before, music and sounds stopped.
        EXPECT_EQ(machine.OpenMusic(), c.screen == 'W' ? "" : "Music01.mid");
        EXPECT_EQ(machine.audio->stopped.size(), c.screen == 'W' ? machine.audio->channels.size() : 0u);
        EXPECT_EQ(Looping(), 0);
    }
}
