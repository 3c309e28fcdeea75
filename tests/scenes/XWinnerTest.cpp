#include "scenes/ScenePicture.h"
#include "scenes/XWinner.h"
#include "shell/XMenuData.h"

using XWinnerTest = GameTest;

TEST_F(XWinnerTest, EachOutcomeShowsItsAnimationPicturesAndPlayerLineAndSoundsItsVoice) {
    // Winners the round never reports (the last four) fall back to player 1, or to the player's team.
    // clang-format off
    const struct {
        int team;
        int32_t reported, shown, voice;
        int animation, first, firstX, firstY, second, secondX, secondY;
    } outcomes[] = {
        {0, 0, 0, 197, 186, 190, 280, 241, 0, 0, 0},       {0, 1, 1, 195, 187, 191, 360, 241, 0, 0, 0},
        {0, 2, 2, 196, 188, 192, 340, 240, 0, 0, 0},       {0, 3, 3, 194, 189, 193, 340, 240, 0, 0, 0},
        {1, 0, 0, 223, 186, 191, 210, 241, 190, 420, 241}, {1, 2, 2, 224, 188, 192, 420, 240, 193, 230, 240},
        {0, 4, 0, 197, 186, 190, 280, 241, 0, 0, 0},       {0, -1, 0, 197, 186, 190, 280, 241, 0, 0, 0},
        {1, 1, 0, 223, 186, 191, 210, 241, 190, 420, 241}, {1, 3, 2, 224, 188, 192, 420, 240, 193, 230, 240}};
    // clang-format on
    for (const auto& o : outcomes) {
        SCOPED_TRACE(&o - outcomes);
        if (app->GetMenuSettings()->IsSingleBattle() == o.team)
            app->GetMenuSettings()->ToggleBattleType();
        app->matchWinner = o.reported;
        machine.audio->played.clear();
        XWinner winner(app.get());
        Frames(winner, 30);
        // 29 animation steps of 3 frames each: its second frame. PLAYER n (& m) is centred on x = 320.
        int x = o.team ? 130 : 180;
        // clang-format off
        EXPECT_EQ(Misses(Band(29, {
            Centred(o.animation, 4, 1, 320, 240, false),
            o.second ? Centred(o.second, 1, 0, o.secondX, o.secondY) : kNoLayer,
            Centred(o.first, 1, 0, o.firstX, o.firstY), Centred(148, 1, 0, 320, 45), {150, 1, 0, x, 409},
            {146, 4, o.shown, x + 231, 406}, o.team ? Layer{225, 1, 0, x + 281, 410} : kNoLayer,
            o.team ? Layer{146, 4, o.shown + 1, x + 331, 406} : kNoLayer})), 0);
        // clang-format on
        // Jingle, voice and closing sound on the 10th, 45th and 80th active frame, each once; no time-out.
        for (int frame : {30, 31, 65, 66, 100, 101, 300}) {
            Frames(winner, frame - static_cast<int>(winner.GetFrame().GetFrameCounter()));
            EXPECT_EQ(machine.audio->played.size(), (frame > 30) + (frame > 65) + (frame > 100)) << frame;
        }
        EXPECT_EQ(machine.audio->played, (std::vector<int32_t>{198, o.voice, 177}));
        EXPECT_EQ(winner.GetFrame().GetPhase(), XFrontEnd::kActive);
    }
}
