#include <map>

#include "gfx/ZAscii.h"
#include "scenes/ScenePicture.h"
#include "scenes/XMenu.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XSettings.h"
#include "support/FakeLink.h"

using XMenuTest = GameTest;

// The menu showing the settings s, markers beside the cursor's item, and players 2 to 4's keys so named, or
// all players' when player 1 does not steer with the arrows.
static std::vector<Layer> MenuPicture(const XMenuData& s, uint32_t frameCounter, int cursor, int markerFrame,
                                      const std::u32string& keys = U"ZXNM46") {
    int named = 4 - static_cast<int>(keys.size()) / 2;
    std::vector<Layer> layers = Band(frameCounter);
    int team = s.IsSingleBattle() == 0;
    const int portraitX[2][4] = {{41, 187, 333, 479}, {41, 167, 353, 479}};  // team battle opens a gap
    for (int i = 0; i < 4; ++i) {
        int x = portraitX[team][i];
        layers.push_back({211, 4, i, x, 13, false});
        layers.push_back({s.GetControlType(i) == 0 ? 210 : 213, 4, std::max(i, 1 - named), x + 55, 15});
        for (int k = 0; i >= named && k < 2; ++k) {
            char32_t c = keys[2 * (i - named) + k];
            int cell = c < 0x80 ? ZAscii::CellOf(static_cast<unsigned char>(c)) : -1;
            Layer own{105, 38, cell, x + 66 + 28 * k, 22},
                sheet{260, KeyGlyphCells(), ZAscii::KeyCellOf(c), own.x, 22};
            layers.push_back(cell >= 0 ? own : sheet.frame >= 0 ? sheet : kNoLayer);
        }
        layers.push_back(s.GetControlType(i) == 2 ? Centred(212, 1, 0, x + 60, 73) : kNoLayer);
    }
    layers.push_back(team ? Centred(216, 1, 0, 320, 73) : kNoLayer);
    // clang-format off
    const Layer items[8] = {
        {143, 12, s.GetWinsNeeded(), 202, 146},       {231, 2, team, 376, 188},
        {144, 3, s.GetControlType(0), 347, 230},      {144, 3, s.GetControlType(1), 347, 272},
        {144, 3, s.GetControlType(2), 347, 314},      {144, 3, s.GetControlType(3), 347, 356},
        {139, 1, 0, 279, 402},                        {203, 1, 0, 284, 440}};
    // clang-format on
    layers.insert(layers.end(), items, items + 8);
    layers.insert(layers.end(), {{140, 1, 0, 252, 146}, {232, 1, 0, 155, 188}});
    for (int i = 0; i < 4; ++i)
        layers.insert(layers.end(), {{145, 4, i, 121, 226 + 42 * i}, {141, 4, i, 179, 230 + 42 * i}});
    AddMarkers(layers, items[cursor], markerFrame);
    return layers;
}

TEST_F(XMenuTest, ConfirmChangesTheSelectedSettingInPlaceWithSound176AndTheScreenFollows) {
    XMenuData& s = *app->GetMenuSettings();
    // Two wins needed, single battle, player 1 a person and the others the computer.
    EXPECT_EQ(
        (std::vector<int32_t>{s.GetWinsNeeded(), s.IsSingleBattle(), s.IsBattleMode(), s.GetControlType(0),
                              s.GetControlType(1), s.GetControlType(2), s.GetControlType(3)}),
        (std::vector<int32_t>{2, 1, 1, 0, 1, 1, 1}));
    // The badges name the keys as a French, a German and a Russian keyboard label them: punctuation and
    // accented letters too, the US name only where no other key bears it, else nothing.
    const std::map<int, uint32_t> french = {
        {kKeyZ, 'w'}, {kKeyM, ','}, {51, ';'}, {39, 'm'}, {40, U'\u00F9'}};
    const std::map<int, uint32_t> german = {{kKeyZ, 'y'}, {21, 'z'}, {26, U'\u00FC'}, {12, U'\u00DF'}};
    const std::tuple<std::map<int, uint32_t>, int, int, std::u32string> layouts[] = {
        {french, kKeyLeft, kKeyRight, U"WXN,46"}, {french, 51, 40, U";\u00F9WXN,46"},
        {german, kKeyLeft, kKeyRight, U"YXNM46"}, {german, 26, 12, U"\u00FC\u00DFYXNM46"},
        {{{kKeyZ, U'\u044F'}}, kKeyLeft, kKeyRight, U"ZXNM46"},
        {{{kKeyZ, U'\u044F'}, {21, 'z'}}, kKeyP, kKeyX, U"PX XNM46"}, {{}, kKeyP, kKeyX, U"PXZXNM46"}};
    for (const auto& entry : layouts) {
        const auto& [layout, left, right, keys] = entry;
        machine.layout = layout;
        std::tie(app->GetSettings()->steeringKeys[0][0], app->GetSettings()->steeringKeys[0][1]) =
            std::tuple(left, right);
        XMenu named(app.get());
        Frames(named, 31);
        EXPECT_EQ(Misses(MenuPicture(s, 30, XMenu::kItemStart, 1, keys)), 0) << &entry - layouts;
    }
    machine.layout.clear();
    app->GetSettings()->SetDefaults();
    s.CycleControlType(2);
    s.SetDefaults();  // puts every seat back
    XMenu menu(app.get());
    Frames(menu, 31);
    EXPECT_EQ(Misses(MenuPicture(s, 30, XMenu::kItemStart, 1)), 0) << "defaults, cursor on START";
    // Back wraps to wins needed and back; wins needed 3, 1; team battle; players 1 to 3 step on.
    const int steps[][2] = {{kKeyDown, 7}, {kKeyDown, 0},   {kKeyReturn, 0}, {kKeyReturn, 0},
                            {kKeyUp, 7},   {kKeyDown, 0},   {kKeyDown, 1},   {kKeySpace, 1},
                            {kKeyDown, 2}, {kKeyReturn, 2}, {kKeyDown, 3},   {kKeyReturn, 3},
                            {kKeyDown, 4}, {kKeyReturn, 4}, {kKeyReturn, 4}};
    for (const auto& step : steps) {
        PressFor(menu, step[0]);
        EXPECT_EQ(menu.GetCursor(), step[1]);
    }
    EXPECT_EQ((std::vector<int32_t>{s.GetWinsNeeded(), s.IsSingleBattle(), s.GetControlType(0),
                                    s.GetControlType(1), s.GetControlType(2), s.GetControlType(3)}),
              (std::vector<int32_t>{1, 0, 1, 2, 0, 1}));
    EXPECT_EQ(std::pair(Played(180), Played(176)), std::pair(8, 7));
    EXPECT_EQ(Misses(MenuPicture(s, 60, 4, 0)), 0) << "team battle, an empty seat";
    // A host names its port, says which seats other computers have taken, and why the last match stopped.
    FakeLink* link = GiveLink(*app->GetMatchInput());
    link->lobby = {true, false, -1, 0b1100, 0b0100, 7000, "", 0};
    for (uint32_t outOfStep : {0u, 4321u}) {
        link->lobby.outOfStepFrame = outOfStep;
        XMenu hosting(app.get());
        Frames(hosting, 31);
        std::vector<Layer> layers = MenuPicture(s, 30, XMenu::kItemStart, 1);
        std::vector<std::pair<Layer, std::string>> lines = {
            {{105, 38, 0, 347 + ZSprite256(144, 3).GetWidth() + 4, 314 + 9}, "JOINED"},
            {{105, 38, 0, 347 + ZSprite256(144, 3).GetWidth() + 4, 356 + 9}, "OPEN"},
            {{105, 38, 0, 8, 422}, "HOST PORT 7000"}};
        if (outOfStep)
            lines.insert(lines.end(), {{{105, 38, 0, 8, 440}, "THE MATCH STOPPED"},
                                       {{105, 38, 0, 8, 458}, "OUT OF STEP AT FRAME 4321"}});
        for (const auto& [cell, text] : lines) AddText(layers, cell, text, ZAscii::CellOf);
        EXPECT_EQ(Misses(layers), 0) << outOfStep;
    }
}
