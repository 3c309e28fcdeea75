#include "input/Controllers.h"
#include "scenes/ScenePicture.h"
#include "scenes/XTitle.h"
#include "scenes/ZembraLogo.h"

using XTitleTest = GameTest;

// The painters risen 2 pixels a frame under shadow, logo, caption and entries; markers beside the first.
static std::vector<Layer> TitlePicture(uint32_t frameCounter, int risen, int markerFrame) {
    // clang-format off
    std::vector<Layer> layers = Band(frameCounter, {
        {166, 1, 0, 7, 505 - 2 * risen}, {167, 1, 0, 433, 488 - 2 * risen}, {168, 1, 0, 342, 709 - 2 * risen},
        {169, 1, 0, 86, 709 - 2 * risen}, Centred(201, 1, 0, 314, 96), Centred(199, 1, 0, 310, 92),
        Centred(226, 1, 0, 320, 190), Centred(229, 1, 0, 320, 330), Centred(230, 1, 0, 320, 368),
        Centred(137, 1, 0, 320, 406), Centred(254, 1, 0, 320, 444)});
    // clang-format on
    AddMarkers(layers, Centred(229, 1, 0, 320, 330), markerFrame);  // frame -1: none
    return layers;
}

TEST_F(XTitleTest, LogoOverItsShadowCaptionAndEntriesWhilePaintersRiseFor240ActiveFrames) {
    XTitle title(app.get());
    Frames(title, 21);
    EXPECT_EQ(Misses(TitlePicture(20, 0, -1)), 0) << "the last frame of the fade-in, without markers";
    Frames(title, 250);
    EXPECT_EQ(Misses(TitlePicture(270, 240, 1)), 0) << "the painters at rest; markers blink every 9 frames";
    Press(kKeyReturn);
    title.UpdateFrame();
    EXPECT_EQ(Misses(TitlePicture(271, 240, 0)), 0) << "chosen: the markers hold their first frame";
}

using ZembraLogoTest = GameTest;

TEST_F(ZembraLogoTest, LogoCentredOnWhiteWithItsJingleFromTheSixthFrame) {
    ZembraLogo logo(app.get());
    for (int frame = 1; frame <= 230; ++frame) {
        logo.UpdateFrame();
        EXPECT_EQ(machine.audio->played, std::vector<int32_t>(frame < 6 ? 0 : 1, 228)) << frame;
    }
    EXPECT_EQ(std::pair(Looping(), Misses({Centred(227, 1, 0, 320, 240, false)}, 255)), std::pair(0, 0));
}

TEST_F(ZembraLogoTest, ConfirmOrCancelSkipsItAfterHalfASecondAndAnEarlierPressActsNowhere) {
    ControllerAdded(7);
    // Keys, and pad buttons A and B as -1 and -2; the last one is no skip key.
    const int keys[] = {kKeyReturn, kKeySpace, kKeyEscape, kKeyPadEnter, -1, -2, kKeyDown};
    auto hold = [](int key, bool down) {
        key > 0 ? KeyboardEvent(key, down)
                : ControllerButtonEvent(7, key == -1 ? PadButton::A : PadButton::B, down);
    };
    // Pressed for the logo's frame: the frames the logo then runs when the key skips it.
    const int taps[][2] = {{12, 226}, {13, 14}, {200, 201}};
    for (size_t k = 0; k < std::size(keys); ++k) {
        bool skipping = k + 1 < std::size(keys);
        for (const auto& [tapFrame, frames] : taps) {
            app->sceneState = XAppData::kRunLogo;
            auto stops = std::count(machine.audio->stopped.begin(), machine.audio->stopped.end(), 228);
            ZembraLogo logo(app.get());
            int frame = 0;
            for (; app->sceneState == XAppData::kRunLogo && frame < 300; ++frame) {
                hold(keys[k], frame == tapFrame);
                logo.UpdateFrame();
            }
            hold(keys[k], false);
            EXPECT_EQ(frame, skipping ? frames : 226) << k << " " << tapFrame;
            stops = std::count(machine.audio->stopped.begin(), machine.audio->stopped.end(), 228) - stops;
            EXPECT_EQ(stops, skipping && frames < 226) << "a skip silences the jingle";
        }
    }
}
