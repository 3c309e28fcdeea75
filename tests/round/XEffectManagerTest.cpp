#include <algorithm>

#include "gfx/Maths.h"
#include "round/RoundTest.h"
#include "round/XEffectBigBomb.h"
#include "round/XEffectMagic.h"
#include "round/XEffectManager.h"

namespace {

// Explosions in colours 100 + frame, sparkles 120 + frame.
class XEffectManagerTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        InstallBlocks(172, 46, 46, 8, 100);
        InstallBlocks(173, 20, 20, 9, 120);
        manager = std::make_unique<XEffectManager>(app.get());
    }
    void TearDown() override {
        manager.reset();
        RoundTest::TearDown();
    }
    std::unique_ptr<XEffectManager> manager;
};

TEST_F(XEffectManagerTest, EachKindLivesItsOwnNumberOfUpdatesAndUnknownKindsNone) {
    const int lifetimes[6] = {26, 8, 48, 18, 18, 21};
    for (int kind = 0; kind < 6; ++kind) {
        manager->AddEffect(kind, 300, 200);
        int updates = 0;
        for (; manager->GetEffect(0) && updates < 200; ++updates) {
            manager->Update();
        }
        EXPECT_EQ(updates, lifetimes[kind]) << "kind " << kind;
    }
    manager->AddEffect(6, 300, 200);
    manager->AddEffect(-1, 300, 200);
    EXPECT_EQ(manager->CountEffects(), 0);
}

TEST_F(XEffectManagerTest, AFullTableDropsNewEffectsAndAFreedSlotIsReusedAndDrawnInItsOrder) {
    manager->AddEffect(XEffectManager::kBomb, 100, 100);
    for (int i = 1; i < 51; ++i) {
        manager->AddEffect(XEffectManager::kSpeed, 100, 100);
    }
    EXPECT_EQ(manager->CountEffects(), 50);
    for (int i = 0; i < 8; ++i) {
        manager->Update();
    }
    EXPECT_EQ(manager->CountEffects(), 49);
    manager->AddEffect(XEffectManager::kBomb, 100, 100);
    EXPECT_EQ(manager->CountEffects(), 50);
    // The sparkles (frame 4 by now) in the later slots cover the new explosion in slot 0.
    Back()->ColourFill(nullptr, 0);
    manager->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(100, 100), 124);
    EXPECT_EQ(Back()->GetPixel(100 - 20, 100), 100);
    manager->ClearAll();
    EXPECT_EQ(manager->CountEffects(), 0);
}

TEST_F(XEffectManagerTest, AnExplosionShowsItsEightFramesCentredThenIsGone) {
    manager->AddEffect(XEffectManager::kBomb, 200, 150);
    for (int frame = 0; frame < 9; ++frame) {
        Back()->ColourFill(nullptr, 0);
        manager->Draw(Back());
        if (frame < 8) {
            ExpectCorner(177, 127, 100 + frame, "explosion");
        } else {
            EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);
        }
        manager->Update();
    }
}

TEST_F(XEffectManagerTest, MagicSparklesDriftOutAlongTheDiagonals) {
    manager->AddEffect(XEffectManager::kMagic, 300, 200);
    auto* magic = dynamic_cast<XEffectMagic*>(manager->GetEffect(0));
    ASSERT_NE(magic, nullptr);
    for (int i = 0; i < 17; ++i) {
        manager->Update();
    }
    // 17 steps of 1.6 pixels; the fifth stays in the middle.
    const int centres[5][2] = {{281, 181}, {319, 181}, {281, 219}, {319, 219}, {300, 200}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(magic->GetSparkle(i)->GetCentreX(), centres[i][0]) << i;
        EXPECT_EQ(magic->GetSparkle(i)->GetCentreY(), centres[i][1]) << i;
    }
    Back()->ColourFill(nullptr, 0);
    manager->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 128), 5 * 18 * 18);
}

TEST_F(XEffectManagerTest, ABigBombThrowsEightyExplosionsAroundItsCentreWithTenBangs) {
    manager->AddEffect(XEffectManager::kItemRings, 100, 100);
    EXPECT_EQ(Heard(), std::vector<int32_t>{174}) << "a new item's rings ring once";
    XEffectBigBomb bomb(app.get(), 320, 224);
    int updates = 0;
    int most = 0;
    int thrown = 0;
    double nearest = 1000.0;
    double farthest = 0.0;
    std::vector<int> bangs;
    for (; bomb.IsAlive() && updates < 200; ++updates) {
        bomb.Update();
        if (!Heard().empty()) {
            bangs.push_back(updates + 1);
        }
        most = std::max(most, bomb.CountChildren());
        for (int slot = 0; slot < XEffectBigBomb::kChildSlots; ++slot) {
            const XEffectBomb* child = bomb.GetChild(slot);
            if (child && child->GetFrameCounter() == 0) {  // thrown in this update
                ++thrown;
                const ZSprite256* sprite = child->GetSprite();
                double d = Distance(sprite->GetCentreX(), sprite->GetCentreY(), 320, 224);
                nearest = std::min(nearest, d);
                farthest = std::max(farthest, d);
            }
        }
    }
    EXPECT_EQ(updates, 48);
    EXPECT_EQ(thrown, 80);
    EXPECT_EQ(most, 16);
    EXPECT_EQ(bangs, (std::vector<int>{1, 5, 9, 13, 17, 21, 25, 29, 33, 37}));
    EXPECT_GE(nearest, 14.5);
    EXPECT_LT(nearest, 20.0);
    EXPECT_LE(farthest, 104.5);
    EXPECT_GT(farthest, 98.0);
}

}  // namespace
