#include "base/ZStateStream.h"
#include "round/RoundTest.h"
#include "round/XEffectBigBomb.h"

class XEffectManagerTest : public RoundTest {};

TEST_F(XEffectManagerTest, EachKindLivesItsNumberOfUpdatesWithItsSoundsAndStaysCloseToItsPoint) {
    const std::vector<std::array<int, 5>> pictures = {{172, 46, 46, 8, 100}, {173, 20, 20, 9, 120}};
    InstallBlocks(pictures);  // explosions and sparkles, 100 and 120 + frame
    XEffectManager effects(app.get()), copy(app.get());
    ZStateStream state;
    std::vector<int> lifetimes;
    // Pixels drawn farther from the point than the big bomb's 104 pixels and half an explosion, and pixels
    // drawn more than 50 pixels above it; pictures a copy restored from the effects draws otherwise.
    int outside = 0, above = 0, unlike = 0;
    for (int kind = -1; kind <= 6; ++kind) {
        effects.AddEffect(kind, 300, 200);
        int updates = 0;
        for (; effects.GetEffect(0) && updates < 100; ++updates) {
            effects.Update();
            state.StartWriting();
            effects.SaveState(&state);
            state.StartReading();
            copy.LoadState(&state);
            Back()->ColourFill(nullptr, 0);
            effects.Draw(Back());
            const std::vector<uint8_t> drawn(Back()->Row(0), Back()->Row(480));
            Back()->ColourFill(nullptr, 0);
            copy.Draw(Back());
            unlike += !std::equal(drawn.begin(), drawn.end(), Back()->Row(0));
            outside += 640 * 480 - CountPixels(*Back(), {0, 0, 640, 480}, 0) -
                       (254 * 254 - CountPixels(*Back(), {173, 73, 427, 327}, 0));
            above += 640 * 150 - CountPixels(*Back(), {0, 0, 640, 150}, 0);
        }
        lifetimes.push_back(updates);
    }
    // The magic's outer sparkles drift along the diagonals: its picture is the same mirrored either way.
    effects.AddEffect(XEffectManager::kMagic, 300, 200);
    for (int i = 0; i < 17; ++i) effects.Update();
    Back()->ColourFill(nullptr, 0);
    effects.Draw(Back());
    int asymmetric = Back()->GetPixel(319, 181) == 0;  // the upper right sparkle has drifted there
    for (int y = 140; y < 260; ++y)
        for (int x = 240; x < 360; ++x)
            asymmetric += Back()->GetPixel(x, y) != Back()->GetPixel(599 - x, y) ||
                          Back()->GetPixel(x, y) != Back()->GetPixel(x, 399 - y);
    // The big bomb throws two explosions a frame for 40 frames, each lasting 8.
    XEffectBigBomb bomb(app.get(), 300, 200);
    int most = 0;
    for (int i = 0; i < 48; ++i, most = std::max(most, bomb.CountChildren())) bomb.Update();
    // A new item's rings ring once; the big bomb bangs ten times.
    std::vector<int32_t> sounds(21, 185);
    sounds[0] = 174;
    EXPECT_EQ(std::tuple(lifetimes, outside, above > 0, Heard(), most, asymmetric, unlike),
              std::tuple(std::vector<int>{0, 26, 8, 48, 18, 18, 21, 0}, 0, true, sounds, 16, 0, 0));
}
