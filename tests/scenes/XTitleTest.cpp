#include "scenes/XTitle.h"

#include "input/Input.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint8_t kBandColour = 40;
constexpr uint8_t kLeftMarkerColour = 60;
constexpr uint8_t kRightMarkerColour = 61;

class XTitleTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        // A band with one colour per row, so the scroll shows in row 0; markers in colours of their own.
        InstallBitmap(200, 640, 238, [](int, int y) { return static_cast<uint8_t>(1 + y % 200); });
        InstallKeyedSheet(135, 17, 28, 2, kLeftMarkerColour);
        InstallKeyedSheet(136, 17, 28, 2, kRightMarkerColour);
        InstallKeyedPlain(229, 166, 29, 90);
        InstallKeyedPlain(230, 191, 29, 91);
        InstallKeyedPlain(137, 55, 29, 92);
        // Nothing else covers the band in these tests.
        for (uint32_t id : {199u, 201u, 226u, 166u, 167u, 168u, 169u}) {
            OverrideResource(ResourceType::Bitmap, id, {});
        }
    }
    std::unique_ptr<XTitle> MakeActiveTitle() {
        auto title = std::make_unique<XTitle>(app.get());
        RunFrames(*title, 21);
        return title;
    }
};

TEST_F(XTitleTest, FadesInOverTwentyOneFramesAndIgnoresKeysMeanwhile) {
    XTitle title(app.get());
    EXPECT_EQ(title.GetFrame().GetPhase(), XFrontEnd::kFadingIn);
    Rect screen{0, 0, 640, 480};

    title.UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), screen, 0), 640 * 480) << "first fade frame is black";
    RunFrames(title, 9);
    // Level 50 at the eleventh frame: a 20-pixel stripe of every 40-pixel column.
    title.UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 40, 480}, 0), 20 * 480);
    PressFor(title, kKeyReturn);
    PressFor(title, kKeyDown);
    RunFrames(title, 5);
    EXPECT_EQ(title.GetFrame().GetPhase(), XFrontEnd::kFadingIn);
    // The 21st frame shows level 0 and makes the scene active.
    title.UpdateFrame();
    EXPECT_EQ(CountPixels(*Back(), screen, 0), 0);
    EXPECT_EQ(title.GetFrame().GetPhase(), XFrontEnd::kActive);
    EXPECT_EQ(title.GetCursor(), XTitle::kEntryBattle);
    EXPECT_EQ(app->sceneState, XAppData::kBeforeStart);
}

TEST_F(XTitleTest, CursorWrapsDoesNotRepeatAndUpWinsOverDown) {
    auto title = MakeActiveTitle();
    PressFor(*title, kKeyUp);
    EXPECT_EQ(title->GetCursor(), XTitle::kEntryExit);
    PressFor(*title, kKeyDown);
    EXPECT_EQ(title->GetCursor(), XTitle::kEntryBattle);

    // Held down for many frames it moves once.
    Press(kKeyDown);
    RunFrames(*title, 10);
    Release(kKeyDown);
    title->UpdateFrame();
    EXPECT_EQ(title->GetCursor(), XTitle::kEntryRanking);
    // A press in the frame after a release counts again.
    PressFor(*title, kKeyDown);
    PressFor(*title, kKeyUp);
    EXPECT_EQ(title->GetCursor(), XTitle::kEntryRanking);

    Press(kKeyUp);
    Press(kKeyDown);
    title->UpdateFrame();
    Release(kKeyUp);
    Release(kKeyDown);
    EXPECT_EQ(title->GetCursor(), XTitle::kEntryBattle);
    EXPECT_EQ(title->GetFrame().GetPhase(), XFrontEnd::kActive);
}

TEST_F(XTitleTest, ExitActionsAfterTwentyOneFramesOfFadeOut) {
    struct Case {
        int moves;
        int key;
        int32_t state;
        int32_t battleMode;
    };
    const Case cases[] = {
        {0, kKeyReturn, XAppData::kCreateMenu, 1},
        {1, kKeySpace, XAppData::kCreateRanking, 0},
        {2, kKeyPadEnter, XAppData::kQuit, 1},
        // Escape leaves the game whichever entry is selected.
        {0, kKeyEscape, XAppData::kQuit, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moves * 1000 + c.key);
        app->sceneState = XAppData::kRunTitle;
        app->GetMenuSettings()->SetBattleMode(1);
        auto title = MakeActiveTitle();
        for (int i = 0; i < c.moves; ++i) {
            PressFor(*title, kKeyDown);
        }
        PressFor(*title, c.key);
        EXPECT_EQ(title->GetFrame().GetPhase(), XFrontEnd::kFadingOut);
        EXPECT_EQ(title->GetCursor(), c.key == kKeyEscape ? XTitle::kEntryExit : c.moves);
        RunFrames(*title, 18);
        EXPECT_EQ(app->sceneState, XAppData::kRunTitle);
        EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 40, 480}, 0), 38 * 480 - 0) << "level 95 on the 20th frame";
        title->UpdateFrame();
        EXPECT_EQ(app->sceneState, c.state);
        EXPECT_EQ(app->GetMenuSettings()->IsBattleMode(), c.battleMode);
        EXPECT_EQ(title->GetFrame().GetPhase(), XFrontEnd::kFinished);
        title->UpdateFrame();
        EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);
    }
}

TEST_F(XTitleTest, CursorStartsOnTheModeLastPlayed) {
    app->GetMenuSettings()->SetBattleMode(0);
    EXPECT_EQ(XTitle(app.get()).GetCursor(), XTitle::kEntryRanking);
    app->GetMenuSettings()->SetBattleMode(1);
    EXPECT_EQ(XTitle(app.get()).GetCursor(), XTitle::kEntryBattle);
}

TEST_F(XTitleTest, PaintersRiseForTwoHundredFortyActiveFramesThenStay) {
    const int rest[4][2] = {{7, 25}, {433, 8}, {342, 229}, {86, 229}};
    auto title = MakeActiveTitle();
    EXPECT_EQ(title->GetCharacter(0).GetY(), 505);
    RunFrames(*title, 100);
    EXPECT_EQ(title->GetCharacter(0).GetY(), 305);
    RunFrames(*title, 160);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(title->GetCharacter(i).GetX(), rest[i][0]);
        EXPECT_EQ(title->GetCharacter(i).GetY(), rest[i][1]);
    }
    // A new title starts them from the bottom again.
    XTitle again(app.get());
    EXPECT_EQ(again.GetCharacter(2).GetY(), 709);
}

TEST_F(XTitleTest, MarkersFrameTheSelectedEntryAndHoldStillWhenChosen) {
    auto title = MakeActiveTitle();
    // Entry 1 (191 x 29) is centred at (320, 368): x 225 to 415, centre y 368.
    PressFor(*title, kKeyDown);
    EXPECT_EQ(Back()->GetPixel(225 - 12, 368), kLeftMarkerColour);
    EXPECT_EQ(Back()->GetPixel(225 + 191 + 11, 368), kRightMarkerColour);
    EXPECT_NE(Back()->GetPixel(225 - 12, 330), kLeftMarkerColour) << "no marker beside entry 0";

    RunFrames(*title, 12);
    PressFor(*title, kKeyReturn);
    EXPECT_EQ(title->GetFrame().GetLeftMarker().GetFrame(), 0);
    RunFrames(*title, 10);
    EXPECT_EQ(title->GetFrame().GetLeftMarker().GetFrame(), 0);
    EXPECT_EQ(title->GetFrame().GetRightMarker().GetFrame(), 0);
}

TEST_F(XTitleTest, BackgroundScrollsOnePixelPerFrameAndWraps) {
    XFrontEnd frame(app.get());
    for (int i = 0; i < 240; ++i) {
        frame.CountFrame();
    }
    frame.DrawBackground(Back());
    // 240 mod 238 = 2: screen row 0 shows band row 2, row 236 band row 0 of the next copy.
    EXPECT_EQ(Back()->GetPixel(0, 0), 1 + 2);
    EXPECT_EQ(Back()->GetPixel(639, 235), 1 + 237 % 200);
    EXPECT_EQ(Back()->GetPixel(0, 236), 1);
    EXPECT_EQ(Back()->GetPixel(5, 479), 1 + (479 + 2) % 238 % 200);
}

TEST_F(XTitleTest, MoveAndDecisionSounds) {
    if (!SoundsLoaded()) {
        GTEST_SKIP() << "the sound list loads no waves yet";
    }
    auto title = MakeActiveTitle();
    PressFor(*title, kKeyDown);
    PressFor(*title, kKeyUp);
    EXPECT_EQ(SoundLog::Get().CountPlayed(180), 2);
    EXPECT_EQ(SoundLog::Get().CountPlayed(176), 0);
    PressFor(*title, kKeyEscape);
    EXPECT_EQ(SoundLog::Get().CountPlayed(176), 1);
}

}  // namespace
