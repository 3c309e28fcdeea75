#include <functional>

#include "gfx/ZAscii.h"
#include "input/Controllers.h"
#include "scenes/ScenePicture.h"
#include "scenes/XOptions.h"
#include "scenes/XTitle.h"
#include "shell/Shell.h"
#include "shell/XSettings.h"

// The options as a player meets them: from the title, through the frame loop, with keys.
class XOptionsTest : public GameTest {
protected:
    bool RunUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) Frame();
        return done();
    }
    // A key, or a controller's right (kPadRight), down for a frame and up for the next.
    void Push(int key) {
        for (bool down : {true, false}) {
            key > 0 ? KeyboardEvent(key, down) : ControllerButtonEvent(7, PadButton::Right, down);
            Frame();
        }
    }
    static constexpr int kPadRight = -1;
    XOptions& Options() { return *app->GetOptionsScene(); }
    // The title's OPTIONS line, one up from BATTLE MODE.
    void SetUp() override {
        GameTest::SetUp();
        ControllerAdded(7);
        app->sceneState = XAppData::kCreateTitle;
        auto active = [](const auto* scene) {
            return scene && scene->GetFrame().GetPhase() == XFrontEnd::kActive;
        };
        ASSERT_TRUE(RunUntil([&] { return active(app->GetTitleScene()); }));
        Push(kKeyUp);
        Push(kKeyReturn);
        ASSERT_TRUE(RunUntil([&] { return active(app->GetOptionsScene()); }));
    }
    // A line's top edge.
    int LineY(int line) { return Options().GetLine(line).GetY(); }
    // BACK, and the settings as the file written then holds them.
    XSettings Leave() {
        Push(kKeyEscape);
        EXPECT_TRUE(RunUntil([&] { return app->GetTitleScene() != nullptr; }));
        XSettings saved;
        saved.Load();
        return saved;
    }
};

TEST_F(XOptionsTest, VolumesScreenAndColoursChangeAtOnceShowAndAreKeptWhenLeaving) {
    // The key pushed, then the music and effects volumes as set and as playing, full screen, the colours,
    // and the sound of the push. Confirm steps up and wraps; left and right stop at the ends.
    const std::vector<std::tuple<int, std::array<int, 4>, bool, int, int32_t>> steps = {
        {kKeyLeft, {90, 90, 100, 100}, true, 0, 176},    {kKeyReturn, {100, 100, 100, 100}, true, 0, 176},
        {kKeyRight, {100, 100, 100, 100}, true, 0, 176}, {kKeyReturn, {0, 0, 100, 100}, true, 0, 176},
        {kKeyDown, {0, 0, 100, 100}, true, 0, 180},      {kKeyLeft, {0, 0, 90, 90}, true, 0, 185},
        {kKeyDown, {0, 0, 90, 90}, true, 0, 180},        {kPadRight, {0, 0, 90, 90}, false, 0, 176},
        {kKeyDown, {0, 0, 90, 90}, false, 0, 180},       {kKeyReturn, {0, 0, 90, 90}, false, 1, 176}};
    XSettings& settings = *app->GetSettings();
    for (const auto& [key, volumes, fullScreen, colours, sound] : steps) {
        Push(key);
        EXPECT_EQ(std::tuple(std::array{settings.musicVolume, machine.musicVolume, settings.effectsVolume,
                                        machine.audio->volume},
                             machine.window.fullScreen, settings.playerColours, machine.audio->played.back()),
                  std::tuple(volumes, fullScreen, colours, sound)) << key;
    }
    EXPECT_EQ(std::tuple(machine.OpenMusic(), machine.musicPlaying), std::tuple("Music01.mid", true));
    // The labels from (170, 76) 40 apart and BACK centred at y 400; the screen and colour words; ten lamps
    // a volume, the lit ones first, and its number; each player's icon at x 110.
    std::vector<Layer> shown = {{256, 4, 0, 170, 76},       {256, 4, 3, 170, 196},
                                {257, 4, 0, 340, LineY(2)}, {257, 4, 3, 340, LineY(3)},
                                {203, 1, 0, 320 - ZSprite256(203, 1).GetWidth() / 2, 400}};
    for (int lamp = 0; lamp < 10; ++lamp) {
        shown.push_back({131, 2, 1, 340 + 17 * lamp, LineY(0) + 10});
        shown.push_back({131, 2, lamp < 9 ? 0 : 1, 340 + 17 * lamp, LineY(1) + 10});
    }
    for (int player = 0; player < 4; ++player) shown.push_back({145, 4, player, 110, LineY(4 + player) - 4});
    AddText(shown, {105, 38, 0, 518 + 22, LineY(0) + 9}, "0", ZAscii::CellOf);
    AddText(shown, {105, 38, 0, 518 + 11, LineY(1) + 9}, "90", ZAscii::CellOf);
    EXPECT_EQ(Covers(shown), 0);
    EXPECT_EQ(GetPalette()[192].green, 66) << "player 1's pink from the colour-blind table";
    // Leaving writes the file and the title comes back.
    XSettings saved = Leave();
    EXPECT_EQ(
        std::tuple(saved.musicVolume, saved.effectsVolume, saved.window.fullScreen, saved.playerColours),
        std::tuple(0, 90, false, 1));
}

TEST_F(XOptionsTest, KeysAreSetByPressingThemRefusingOthersKeysAndEscapeKeepsTheOldOnes) {
    // On player 2's line (up from BACK), then player 3's below it: each key pressed and what the help says.
    // Player 3's M key types a comma, as on a French keyboard.
    const int a = 30;
    machine.layout = {{kKeyM, ','}};
    // clang-format off
    const std::pair<int, std::string> steps[] = {
        {kKeyReturn, "PRESS THE KEY TO TURN LEFT"}, {kKeyLeft, "PLAYER 1 TURNS WITH LEFT"},
        {kKeyP, "P PAUSES THE GAME"},               {kKey4, "PLAYER 4 TURNS WITH 4"},
        {kKeyM, "PLAYER 3 TURNS WITH ,"},
        {a, "PRESS THE KEY TO TURN RIGHT"},         {a, "ONE KEY CANNOT TURN BOTH WAYS"},
        {kKeyZ, "RETURN TO PRESS NEW KEYS"},        {kKeyDown, "RETURN TO PRESS NEW KEYS"},
        {kKeyReturn, "PRESS THE KEY TO TURN LEFT"}, {kKeyX, "PRESS THE KEY TO TURN RIGHT"},
        {kKeyEscape, "RETURN TO PRESS NEW KEYS"}};
    // clang-format on
    for (int i = 0; i < 4; ++i) Push(kKeyUp);
    for (const auto& [key, help] : steps) {
        Push(key);
        EXPECT_EQ(Options().GetHelp(0), help) << key;
        // The pause key is a key like any other while one is asked for.
        EXPECT_EQ(app->hotKeysEnabled, Options().GetKeyPlayer() < 0);
    }
    EXPECT_EQ(Played(XOptions::kSoundRefused), 5);
    // Keys with no character of their own by name, function and keypad keys by number, others by character.
    for (auto [code, name] : {std::pair{205, "RIGHT"}, {203, "LEFT"}, {1, "ESCAPE"}, {68, "F10"}, {87, "F11"},
                              {71, "PAD 7"}, {30, "A"}, {84, "KEY 84"}})
        EXPECT_EQ(XOptions::KeyName(code), name);
    // Each name on its plate.
    std::vector<Layer> names;
    for (auto [line, side, name] : {std::tuple{5, 0, "A"}, {5, 1, "Z"}, {6, 0, "N"}, {7, 1, "PAD 6"}}) {
        names.push_back({258, 1, 0, 340 + 140 * side, LineY(line) + 5, false});
        AddText(names, {106, 38, 0, 344 + 140 * side, LineY(line) + 9}, name, ZAscii::CellOf);
    }
    names.push_back({261, KeyGlyphCells(), ZAscii::KeyCellOf(','), 344 + 140, LineY(6) + 9});
    EXPECT_EQ(Covers(names), 0);
    XSettings saved = Leave();
    EXPECT_EQ(std::tuple(saved.steeringKeys[1][0], saved.steeringKeys[1][1]), std::tuple(a, kKeyZ));
}
