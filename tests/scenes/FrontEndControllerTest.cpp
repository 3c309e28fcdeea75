#include <memory>

#include "input/Controllers.h"
#include "input/Input.h"
#include "scenes/SceneTestSupport.h"
#include "scenes/XInputText.h"
#include "scenes/XMenu.h"
#include "scenes/XTitle.h"
#include "scenes/XWinner.h"
#include "shell/XMenuData.h"

namespace {

constexpr int kPad = 7;
constexpr int kOtherPad = 8;

class FrontEndControllerTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        ControllerAdded(kPad);
        ControllerAdded(kOtherPad);
    }
    // Down for one frame of the scene and up again for the next.
    template <typename Scene>
    static void PushFor(Scene& scene, int id, PadButton button) {
        ControllerButtonEvent(id, button, true);
        scene.UpdateFrame();
        ControllerButtonEvent(id, button, false);
        scene.UpdateFrame();
    }
    template <typename Scene>
    static void RunFrames(Scene& scene, int count) {
        for (int i = 0; i < count; ++i) {
            scene.UpdateFrame();
        }
    }
};

TEST_F(FrontEndControllerTest, TitleCursorFollowsDpadAndStickOneStepPerPush) {
    XTitle title(app.get());
    RunFrames(title, 21);
    ASSERT_EQ(title.GetCursor(), XTitle::kEntryBattle);
    PushFor(title, kPad, PadButton::Down);
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryRanking);
    PushFor(title, kOtherPad, PadButton::Up);
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryBattle);
    PushFor(title, kPad, PadButton::Up);
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryExit) << "wraps like the keys";

    // Held for many frames, one step.
    ControllerButtonEvent(kPad, PadButton::Down, true);
    RunFrames(title, 10);
    ControllerButtonEvent(kPad, PadButton::Down, false);
    title.UpdateFrame();
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryBattle);

    ControllerAxisEvent(kOtherPad, PadAxis::LeftY, 25000);
    RunFrames(title, 5);
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryRanking);
    ControllerAxisEvent(kOtherPad, PadAxis::LeftY, -25000);
    title.UpdateFrame();
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryBattle);
    ControllerAxisEvent(kOtherPad, PadAxis::LeftY, 0);
    title.UpdateFrame();
    EXPECT_EQ(title.GetFrame().GetPhase(), XFrontEnd::kActive);
    EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
}

TEST_F(FrontEndControllerTest, TitleConfirmsWithAAndLeavesTheGameWithB) {
    {
        XTitle title(app.get());
        RunFrames(title, 21);
        PushFor(title, kPad, PadButton::Down);
        PushFor(title, kPad, PadButton::A);
        EXPECT_EQ(title.GetFrame().GetPhase(), XFrontEnd::kFadingOut);
        RunFrames(title, 30);
        EXPECT_EQ(app->sceneState, XAppData::kCreateRanking);
    }
    app->sceneState = XAppData::kBeforeStart;
    app->GetMenuSettings()->SetBattleMode(1);
    XTitle title(app.get());
    RunFrames(title, 21);
    ASSERT_EQ(title.GetCursor(), XTitle::kEntryBattle);
    PushFor(title, kOtherPad, PadButton::B);
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryExit);
    RunFrames(title, 30);
    EXPECT_EQ(app->sceneState, XAppData::kQuit);
}

TEST_F(FrontEndControllerTest, MenuTakesOneDecisionPerPressOfA) {
    XMenu menu(app.get());
    RunFrames(menu, 21);
    ASSERT_EQ(menu.GetCursor(), XMenu::kItemStart);
    PushFor(menu, kPad, PadButton::Down);
    PushFor(menu, kPad, PadButton::Down);
    ASSERT_EQ(menu.GetCursor(), XMenu::kItemWins);

    // Wins needed cycles 1, 2, 3: held for ten frames, A steps it once.
    XMenuData& settings = *app->GetMenuSettings();
    while (settings.GetWinsNeeded() != 1) {
        settings.CycleWinsNeeded();
    }
    ControllerButtonEvent(kPad, PadButton::A, true);
    RunFrames(menu, 10);
    ControllerButtonEvent(kPad, PadButton::A, false);
    menu.UpdateFrame();
    EXPECT_EQ(settings.GetWinsNeeded(), 2);
    PushFor(menu, kOtherPad, PadButton::A);
    EXPECT_EQ(settings.GetWinsNeeded(), 3);

    PushFor(menu, kOtherPad, PadButton::B);
    EXPECT_EQ(menu.GetCursor(), XMenu::kItemBack);
    RunFrames(menu, 30);
    EXPECT_EQ(app->sceneState, XAppData::kCreateTitle);
}

TEST_F(FrontEndControllerTest, NameEntryTakesNoCharactersFromAController) {
    XInputText entry(app.get());
    entry.SetSurface(Back());
    entry.SetText(ZString(""), 10);
    entry.Begin();
    for (PadButton button : {PadButton::A, PadButton::B, PadButton::Left, PadButton::Up}) {
        ControllerButtonEvent(kPad, button, true);
        UpdateInput();
        entry.Update();
        ControllerButtonEvent(kPad, button, false);
        UpdateInput();
        entry.Update();
    }
    EXPECT_EQ(entry.GetText().GetLength(), 0);
    EXPECT_FALSE(entry.IsDone()) << "A does not end the entry";
    Tap(kKeyReturn);
    entry.Update();
    EXPECT_TRUE(entry.IsDone());
}

}  // namespace
