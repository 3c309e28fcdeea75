#include "round/RoundTest.h"

namespace {

class XEffectManagerTest : public RoundTest {};

TEST_F(XEffectManagerTest, EachKindLivesItsNumberOfUpdatesWithItsSoundsAndAFullTableDropsNewOnes) {
    const std::vector<std::array<int, 5>> pictures = {{172, 46, 46, 8, 100}, {173, 20, 20, 9, 120}};
    InstallBlocks(pictures);  // explosions and sparkles, 100 and 120 + frame
    XEffectManager effects(app.get());
    std::vector<int> lifetimes;
    int outside =
        0;  // pixels drawn farther from the point than the big bomb's 104 pixels plus half an explosion
    for (int kind = -1; kind <= 6; ++kind) {
        effects.AddEffect(kind, 300, 200);
        int updates = 0;
        for (; effects.GetEffect(0) && updates < 100; ++updates) {
            effects.Update();
            Back()->ColourFill(nullptr, 0);
            effects.Draw(Back());
            outside += 640 * 480 - CountPixels(*Back(), {0, 0, 640, 480}, 0) -
                       (254 * 254 - CountPixels(*Back(), {173, 73, 427, 327}, 0));
        }
        lifetimes.push_back(updates);
    }
    std::vector<int32_t> sounds(11, 185);  // a new item's rings, then the big bomb's ten bangs
    sounds[0] = 174;
    EXPECT_EQ(std::tuple(lifetimes, outside, Heard()),
              std::tuple(std::vector<int>{0, 26, 8, 48, 18, 18, 21, 0}, 0, sounds));
    effects.AddEffect(XEffectManager::kBomb, 200, 150);
    for (int i = 1; i < 51; ++i) effects.AddEffect(XEffectManager::kSpeed, 200, 150);
    for (int i = 0; i < 8; ++i) effects.Update();
    int full = effects.CountEffects();
    // A new explosion in the freed first slot lies centred under the sparkles (frame 4 by now) of later
    // slots.
    effects.AddEffect(XEffectManager::kBomb, 200, 150);
    effects.Draw(Back());
    EXPECT_EQ(std::tuple(full, effects.CountEffects(), Back()->GetPixel(200, 150), Back()->GetPixel(178, 128),
                         Back()->GetPixel(177, 128)),
              std::tuple(49, 50, 124, 100, 0));
    effects.ClearAll();
    EXPECT_EQ(effects.CountEffects(), 0);
}

}  // namespace
