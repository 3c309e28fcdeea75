#include "round/RoundTest.h"
#include "round/XEffectBigBomb.h"
#include "round/XEffectMagic.h"

namespace {

class XEffectManagerTest : public RoundTest {};

TEST_F(XEffectManagerTest, EachKindLivesItsOwnNumberOfUpdatesWithItsSounds) {
    InstallBlocks(173, 20, 20, 9, 120);  // sparkles 120 + frame
    XEffectManager effects(app.get());
    std::vector<int> lifetimes;
    int most = 0;  // explosions of the big bomb alive at once
    for (int kind = -1; kind <= 6; ++kind) {
        effects.AddEffect(kind, 300, 200);
        int updates = 0;
        for (; effects.GetEffect(0) && updates < 100; ++updates) {
            effects.Update();
            auto* bomb = dynamic_cast<XEffectBigBomb*>(effects.GetEffect(0));
            most = std::max(most, bomb ? bomb->CountChildren() : 0);
            if (auto* magic = dynamic_cast<XEffectMagic*>(effects.GetEffect(0)); magic && updates == 16) {
                // 17 steps of 1.6 pixels along the diagonals; the fifth sparkle stays in the middle.
                std::vector<int> centres;
                for (int i = 0; i < 5; ++i) {
                    centres.insert(centres.end(),
                                   {magic->GetSparkle(i)->GetCentreX(), magic->GetSparkle(i)->GetCentreY()});
                }
                EXPECT_EQ(centres, (std::vector<int>{281, 181, 319, 181, 281, 219, 319, 219, 300, 200}));
                effects.Draw(Back());
                EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 128), 5 * 18 * 18);
            }
        }
        lifetimes.push_back(updates);
    }
    EXPECT_EQ(std::tuple(lifetimes, most), std::tuple(std::vector<int>{0, 26, 8, 48, 18, 18, 21, 0}, 16));
    std::vector<int32_t> sounds(11, 185);  // a new item's rings, then the big bomb's bangs
    sounds[0] = 174;
    EXPECT_EQ(Heard(), sounds);
}

TEST_F(XEffectManagerTest, AFullTableDropsNewEffectsAndAFreedSlotIsReusedAndDrawnInItsOrder) {
    InstallBlocks(172, 46, 46, 8, 100);  // explosions 100 + frame
    InstallBlocks(173, 20, 20, 9, 120);
    XEffectManager effects(app.get());
    effects.AddEffect(XEffectManager::kBomb, 200, 150);
    for (int i = 1; i < 51; ++i) effects.AddEffect(XEffectManager::kSpeed, 200, 150);
    EXPECT_EQ(effects.CountEffects(), 50);
    // The explosion shows its eight frames centred on its point, then is gone.
    for (int frame = 0; frame < 8; ++frame) {
        Back()->ColourFill(nullptr, 0);
        effects.Draw(Back());
        ExpectCorner(177, 127, 100 + frame, "explosion");
        effects.Update();
    }
    EXPECT_EQ(effects.CountEffects(), 49);
    // A new explosion in the freed first slot lies under the sparkles (frame 4 by now) of the later ones.
    effects.AddEffect(XEffectManager::kBomb, 200, 150);
    effects.Draw(Back());
    EXPECT_EQ(std::tuple(effects.CountEffects(), Back()->GetPixel(200, 150), Back()->GetPixel(180, 150)),
              std::tuple(50, 124, 100));
    effects.ClearAll();
    EXPECT_EQ(effects.CountEffects(), 0);
}

}  // namespace
