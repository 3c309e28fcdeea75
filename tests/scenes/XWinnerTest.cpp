#include "scenes/XWinner.h"

#include "input/Input.h"
#include "scenes/SceneTestSupport.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint8_t kBandColour = 3;
constexpr uint8_t kAnimationColour = 10;  // bitmaps 186 to 189: 10 to 13
constexpr uint8_t kPictureColour = 20;    // bitmaps 190 to 193: 20 to 23
constexpr uint8_t kDigitColour = 30;      // digit frames 0 to 3: 30 to 33
constexpr uint8_t kAmpersandColour = 40;
constexpr uint8_t kLabelColour = 41;

class XWinnerTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        InstallBitmap(200, 640, 238, [](int, int) { return kBandColour; });
        for (int i = 0; i < 4; ++i) {
            uint8_t colour = static_cast<uint8_t>(kAnimationColour + i);
            InstallBitmap(186 + i, 640, 1216, [colour](int, int) { return colour; });
        }
        const int pictureSize[4][2] = {{398, 297}, {354, 298}, {260, 298}, {260, 298}};
        for (int i = 0; i < 4; ++i) {
            InstallKeyedPlain(190 + i, pictureSize[i][0], pictureSize[i][1], static_cast<uint8_t>(kPictureColour + i));
        }
        InstallKeyedPlain(148, 278, 51, 50);
        InstallKeyedPlain(150, 231, 47, kLabelColour);
        InstallKeyedSheet(146, 50, 50, 4, kDigitColour);
        InstallKeyedPlain(225, 50, 46, kAmpersandColour);
    }
    void SetBattle(bool single, int32_t winner) {
        if ((app->GetMenuSettings()->IsSingleBattle() != 0) != single) {
            app->GetMenuSettings()->ToggleBattleType();
        }
        app->matchWinner = winner;
    }
};

TEST_F(XWinnerTest, EachOutcomeShowsItsAnimationPicturesVoiceAndLine) {
    struct Outcome {
        bool single;
        int32_t winner;
        int32_t voice;
        int animation;
        int first;
        int firstX;
        int second;  // -1: none
        int secondX;
        int secondY;
    };
    const Outcome outcomes[] = {
        {true, 0, 197, 0, 0, 280, -1, 0, 0},       {true, 1, 195, 1, 1, 360, -1, 0, 0},
        {true, 2, 196, 2, 2, 340, -1, 0, 0},       {true, 3, 194, 3, 3, 340, -1, 0, 0},
        {false, 0, 223, 0, 1, 210, 0, 420 + 180, 241}, {false, 2, 224, 2, 2, 420, 3, 230 - 110, 240},
    };
    for (const Outcome& o : outcomes) {
        SCOPED_TRACE(o.winner + (o.single ? 0 : 10));
        SetBattle(o.single, o.winner);
        XWinner winner(app.get());
        RunFrames(winner, 22);
        EXPECT_EQ(winner.GetVoice(), o.voice);
        EXPECT_EQ(Back()->GetPixel(2, 240), kAnimationColour + o.animation);
        EXPECT_EQ(Back()->GetPixel(o.firstX, 240), kPictureColour + o.first);
        if (o.second >= 0) {
            // The second picture lies under the first, showing where the first does not reach.
            EXPECT_EQ(Back()->GetPixel(o.secondX, o.secondY), kPictureColour + o.second);
        }
        // Label centre y 432; the first digit right behind the label, 3 pixels higher.
        const ZSprite256& label = winner.GetPlayerLabel();
        EXPECT_EQ(label.GetCentreX(), o.single ? 295 : 245);
        EXPECT_EQ(label.GetCentreY(), 432);
        int digitX = label.GetX() + label.GetWidth();
        EXPECT_EQ(Back()->GetPixel(digitX + 25, label.GetY() - 3 + 25), kDigitColour + o.winner);
        if (o.single) {
            EXPECT_EQ(Back()->GetPixel(digitX + 75, label.GetY() + 20), kBandColour);
            EXPECT_EQ((label.GetX() + digitX + 50) / 2, 320) << "the whole line centred on 320";
        } else {
            EXPECT_EQ(Back()->GetPixel(digitX + 75, label.GetY() + 1 + 20), kAmpersandColour);
            EXPECT_EQ(Back()->GetPixel(digitX + 125, label.GetY() - 3 + 25), kDigitColour + o.winner + 1);
            EXPECT_EQ((label.GetX() + digitX + 150) / 2, 320) << "the whole line centred on 320";
        }
    }
}

TEST_F(XWinnerTest, WinnerOutsideTheTableFallsBackToPlayerOneOrTheirTeam) {
    const struct {
        bool single;
        int32_t reported;
        int32_t shown;
        int32_t voice;
    } cases[] = {{true, -1, 0, 197}, {true, 4, 0, 197}, {true, 1000000, 0, 197},
                 {false, 1, 0, 223}, {false, 3, 2, 224}, {false, -7, 0, 223}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reported);
        SetBattle(c.single, c.reported);
        XWinner winner(app.get());
        RunFrames(winner, 25);
        EXPECT_EQ(winner.GetWinner(), c.shown);
        EXPECT_EQ(winner.GetVoice(), c.voice);
        EXPECT_EQ(app->matchWinner, c.reported) << "the scene leaves the match winner alone";
    }
}

TEST_F(XWinnerTest, SoundsFallOnActiveFramesTenFortyFiveAndEighty) {
    if (!SoundsLoaded()) {
        GTEST_SKIP() << "the sound list loads no waves yet";
    }
    SetBattle(true, 1);
    XWinner winner(app.get());
    RunFrames(winner, 21 + 9);
    EXPECT_EQ(SoundLog::Get().CountPlayed(198), 0);
    winner.UpdateFrame();
    EXPECT_EQ(SoundLog::Get().CountPlayed(198), 1);
    RunFrames(winner, 34);
    EXPECT_EQ(SoundLog::Get().CountPlayed(195), 0);
    winner.UpdateFrame();
    EXPECT_EQ(SoundLog::Get().CountPlayed(195), 1);
    RunFrames(winner, 35);
    EXPECT_EQ(SoundLog::Get().CountPlayed(177), 1);
    RunFrames(winner, 200);
    EXPECT_EQ(SoundLog::Get().played.size(), 3u) << "each only once, and no time-out";
    EXPECT_EQ(winner.GetFrame().GetPhase(), XFrontEnd::kActive);
}

TEST_F(XWinnerTest, ConfirmAtOnceSkipsTheSoundsAndReturnsToTheMenuInSilence) {
    for (int key : {kKeyReturn, kKeyEscape}) {
        SCOPED_TRACE(key);
        SoundLog::Get().ClearEvents();
        app->sceneState = XAppData::kRunWinner;
        SetBattle(true, 2);
        XWinner winner(app.get());
        RunFrames(winner, 21);
        Press(key);
        winner.UpdateFrame();
        Release(key);
        EXPECT_EQ(winner.GetFrame().GetPhase(), XFrontEnd::kFadingOut);
        for (int i = 0; i < 20; ++i) {
            winner.UpdateFrame();
            EXPECT_EQ(app->sceneState, XAppData::kRunWinner);
        }
        winner.UpdateFrame();
        EXPECT_EQ(winner.GetFrame().GetPhase(), XFrontEnd::kFinished);
        EXPECT_EQ(app->sceneState, XAppData::kCreateMenu);
        EXPECT_EQ(app->currentMusic, 0u);
        if (SoundsLoaded()) {
            EXPECT_EQ(SoundLog::Get().CountPlayed(176), 1);
            EXPECT_EQ(SoundLog::Get().CountPlayed(198), 0);
            EXPECT_EQ(SoundLog::Get().CountPlayed(196), 0);
            EXPECT_EQ(SoundLog::Get().CountPlayed(177), 0);
            EXPECT_EQ(SoundLog::Get().StoppedChannelCount(), SoundLog::Get().ChannelCount()) << "every sound stops";
        }
    }
}

}  // namespace
