#include "scenes/XMenu.h"

#include "input/Input.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint8_t kBandColour = 3;
constexpr uint8_t kPortraitColour = 20;  // frames 20 to 23
constexpr uint8_t kVersusColour = 30;
constexpr uint8_t kCrossColour = 31;
constexpr uint8_t kHumanBadgeColour = 32;
constexpr uint8_t kOtherBadgeColour = 36;

class XMenuTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        InstallBitmap(200, 640, 238, [](int, int) { return kBandColour; });
        InstallKeyedSheet(135, 17, 28, 2, 60);
        InstallKeyedSheet(136, 17, 28, 2, 62);
        InstallKeyedPlain(216, 60, 60, kVersusColour);
        InstallKeyedPlain(140, 185, 35, 70);
        InstallKeyedPlain(232, 193, 35, 71);
        InstallKeyedSheet(141, 140, 35, 4, 72);
        InstallKeyedSheet(145, 38, 41, 4, 76);
        InstallBitmap(211, 120, 480, [](int, int y) { return static_cast<uint8_t>(kPortraitColour + y / 120); });
        InstallKeyedSheet(210, 63, 33, 4, kHumanBadgeColour);
        InstallKeyedSheet(213, 63, 33, 4, kOtherBadgeColour);
        InstallKeyedPlain(212, 100, 100, kCrossColour);
        InstallKeyedSheet(143, 22, 34, 12, 100);
        InstallKeyedSheet(231, 110, 35, 2, 112);
        InstallKeyedSheet(144, 172, 35, 3, 114);
        InstallKeyedPlain(139, 82, 30, 117);
        InstallKeyedPlain(203, 71, 29, 118);
    }
    std::unique_ptr<XMenu> MakeActiveMenu() {
        auto menu = std::make_unique<XMenu>(app.get());
        RunFrames(*menu, 21);
        return menu;
    }
    void MoveTo(XMenu& menu, int32_t item) {
        while (menu.GetCursor() != item) {
            PressFor(menu, kKeyDown);
        }
    }
    XMenuData& Settings() { return *app->GetMenuSettings(); }
};

TEST_F(XMenuTest, ConfirmCyclesEachSettingInPlace) {
    auto menu = MakeActiveMenu();
    EXPECT_EQ(menu->GetCursor(), XMenu::kItemStart);
    PressFor(*menu, kKeyDown);
    PressFor(*menu, kKeyDown);
    EXPECT_EQ(menu->GetCursor(), XMenu::kItemWins) << "back wraps to wins needed";
    PressFor(*menu, kKeyUp);
    EXPECT_EQ(menu->GetCursor(), XMenu::kItemBack) << "and wins needed to back";
    PressFor(*menu, kKeyDown);

    const int32_t wins[] = {3, 1, 2};
    for (int32_t expected : wins) {
        PressFor(*menu, kKeyReturn);
        EXPECT_EQ(Settings().GetWinsNeeded(), expected);
        EXPECT_EQ(menu->GetItem(XMenu::kItemWins).GetFrame(), expected) << "the digit shown";
    }
    EXPECT_EQ(menu->GetCursor(), XMenu::kItemWins);
    EXPECT_EQ(menu->GetFrame().GetPhase(), XFrontEnd::kActive);

    PressFor(*menu, kKeyDown);
    PressFor(*menu, kKeySpace);
    EXPECT_EQ(Settings().IsSingleBattle(), 0);
    EXPECT_EQ(menu->GetItem(XMenu::kItemBattleType).GetFrame(), 1);
    PressFor(*menu, kKeySpace);
    EXPECT_EQ(Settings().IsSingleBattle(), 1);

    // Player 3's line: COMPUTER, DISABLED, HUMAN, COMPUTER.
    MoveTo(*menu, XMenu::kItemFirstPlayer + 2);
    const int32_t controls[] = {2, 0, 1};
    for (int32_t expected : controls) {
        PressFor(*menu, kKeyReturn);
        EXPECT_EQ(Settings().GetControlType(2), expected);
        EXPECT_EQ(menu->GetItem(XMenu::kItemFirstPlayer + 2).GetFrame(), expected);
    }
    EXPECT_EQ(Settings().GetControlType(0), 0);
    EXPECT_EQ(Settings().GetControlType(1), 1);
    EXPECT_EQ(menu->GetFrame().GetPhase(), XFrontEnd::kActive);
    EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
}

TEST_F(XMenuTest, StartBackEscapeAndTheEmptyMatch) {
    {
        auto menu = MakeActiveMenu();
        PressFor(*menu, kKeyReturn);
        RunFrames(*menu, 19);
        EXPECT_EQ(menu->GetFrame().GetPhase(), XFrontEnd::kFinished);
        EXPECT_EQ(app->sceneState, XAppData::kCreateRound);
    }
    {
        app->sceneState = XAppData::kRunMenu;
        auto menu = MakeActiveMenu();
        PressFor(*menu, kKeyDown);
        PressFor(*menu, kKeyReturn);
        RunFrames(*menu, 19);
        EXPECT_EQ(app->sceneState, XAppData::kCreateTitle);
    }
    {
        // Escape from a settings item: back to the title, the change kept.
        app->sceneState = XAppData::kRunMenu;
        auto menu = MakeActiveMenu();
        MoveTo(*menu, XMenu::kItemBattleType);
        PressFor(*menu, kKeyReturn);
        PressFor(*menu, kKeyEscape);
        EXPECT_EQ(menu->GetCursor(), XMenu::kItemBack);
        RunFrames(*menu, 19);
        EXPECT_EQ(app->sceneState, XAppData::kCreateTitle);
        EXPECT_EQ(Settings().IsSingleBattle(), 0);
    }
    {
        // Every seat empty: the menu is built again rather than a round with nobody in it.
        app->sceneState = XAppData::kRunMenu;
        auto menu = MakeActiveMenu();
        for (int player = 0; player < 4; ++player) {
            MoveTo(*menu, XMenu::kItemFirstPlayer + player);
            while (Settings().GetControlType(player) != 2) {
                PressFor(*menu, kKeyReturn);
            }
        }
        MoveTo(*menu, XMenu::kItemStart);
        PressFor(*menu, kKeyReturn);
        RunFrames(*menu, 19);
        EXPECT_EQ(app->sceneState, XAppData::kCreateMenu);
    }
}

TEST_F(XMenuTest, ItemPositions) {
    auto menu = MakeActiveMenu();
    menu->UpdateFrame();
    const int expected[XMenu::kItemCount][2] = {{202, 146}, {376, 188}, {347, 230}, {347, 272},
                                                {347, 314}, {347, 356}, {279, 402}, {284, 440}};
    for (int i = 0; i < XMenu::kItemCount; ++i) {
        EXPECT_EQ(menu->GetItem(i).GetX(), expected[i][0]) << i;
        EXPECT_EQ(menu->GetItem(i).GetY(), expected[i][1]) << i;
    }
    // The wins label behind the digit, the player labels behind their icons.
    EXPECT_EQ(Back()->GetPixel(252 + 1, 146 + 10), 70);
    EXPECT_EQ(Back()->GetPixel(251, 146 + 10), kBandColour);
    EXPECT_EQ(Back()->GetPixel(121 + 5, 272 - 4 + 5), 77) << "player 2's icon";
    EXPECT_EQ(Back()->GetPixel(179 + 5, 314 + 5), 74) << "player 3's label";
    // Markers around START (82 wide at x 279, centre y 417).
    EXPECT_EQ(menu->GetFrame().GetLeftMarker().GetCentreX(), 279 - 12);
    EXPECT_EQ(menu->GetFrame().GetRightMarker().GetCentreX(), 279 + 82 + 11);
    EXPECT_EQ(menu->GetFrame().GetLeftMarker().GetCentreY(), 417);
}

TEST_F(XMenuTest, PortraitsBadgesCrossAndTeamGap) {
    auto menu = MakeActiveMenu();
    const int singleX[4] = {41, 187, 333, 479};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Back()->GetPixel(singleX[i] + 1, 100), kPortraitColour + i) << i;
    }
    // Player 1 is human (green plate), player 2 the computer: badges 2 pixels inside the top-right corner.
    EXPECT_EQ(Back()->GetPixel(41 + 55 + 5, 15 + 5), kHumanBadgeColour);
    EXPECT_EQ(Back()->GetPixel(187 + 55 + 5, 15 + 5), kOtherBadgeColour + 1);
    EXPECT_EQ(Back()->GetPixel(187 + 55 - 1, 15 + 5), kPortraitColour + 1);
    EXPECT_EQ(Back()->GetPixel(320, 73), kBandColour) << "no versus sign in single battle";

    // Team battle opens a gap in the middle and shows the versus sign there.
    MoveTo(*menu, XMenu::kItemBattleType);
    PressFor(*menu, kKeyReturn);
    EXPECT_EQ(Back()->GetPixel(167 + 1, 100), kPortraitColour + 1);
    EXPECT_EQ(Back()->GetPixel(166, 100), kBandColour);
    EXPECT_EQ(Back()->GetPixel(353 + 118, 100), kPortraitColour + 2);
    EXPECT_EQ(Back()->GetPixel(353 + 120, 100), kBandColour);
    EXPECT_EQ(Back()->GetPixel(320, 73), kVersusColour);

    // The cross lies over an empty seat's portrait only.
    PressFor(*menu, kKeyReturn);
    MoveTo(*menu, XMenu::kItemFirstPlayer + 3);
    PressFor(*menu, kKeyReturn);
    EXPECT_EQ(Settings().GetControlType(3), 2);
    EXPECT_EQ(Back()->GetPixel(479 + 60, 13 + 60), kCrossColour);
    EXPECT_EQ(Back()->GetPixel(333 + 60, 13 + 60), kPortraitColour + 2);
    EXPECT_EQ(Back()->GetPixel(479 + 1, 100), kPortraitColour + 3) << "the cross is 100 wide, inside the portrait";
}

}  // namespace
