#include <algorithm>

#include "audio/FakeAudioDevice.h"
#include "gfx/Maths.h"
#include "round/FieldTestArt.h"
#include "round/XEffectBigBomb.h"
#include "round/XEffectMagic.h"

namespace {

class XEffectManagerTest : public FieldTest {
protected:
    // Updates until the slot is empty; returns how many updates that took (0 when it never ends).
    int UpdatesUntilGone(XEffectManager& manager, int slot) {
        for (int n = 1; n <= 200; ++n) {
            manager.Update();
            if (!manager.GetEffect(slot)) {
                return n;
            }
        }
        return 0;
    }

    int Plays() {
        OldFakeAudioDevice* device = FakeAudioInstall::Current();
        if (!device) {
            return -1;
        }
        int plays = 0;
        for (const std::string& entry : device->log) {
            plays += entry.rfind("play", 0) == 0 ? 1 : 0;
        }
        return plays;
    }
};

TEST_F(XEffectManagerTest, EachKindLivesItsOwnNumberOfUpdates) {
    XEffectManager manager(app.get());
    const int lifetimes[6] = {26, 8, 48, 18, 18, 21};
    for (int kind = 0; kind < 6; ++kind) {
        manager.AddEffect(kind, 300, 200);
        ASSERT_NE(manager.GetEffect(0), nullptr) << "kind " << kind;
        EXPECT_EQ(UpdatesUntilGone(manager, 0), lifetimes[kind]) << "kind " << kind;
    }
    manager.AddEffect(6, 300, 200);
    manager.AddEffect(-1, 300, 200);
    EXPECT_EQ(manager.CountEffects(), 0);
}

TEST_F(XEffectManagerTest, FullTableDropsTheFiftyFirstAndReusesAFreedSlot) {
    XEffectManager manager(app.get());
    manager.AddEffect(XEffectManager::kBomb, 100, 100);
    for (int i = 1; i < 51; ++i) {
        manager.AddEffect(XEffectManager::kExtend, 100 + i, 100);
    }
    EXPECT_EQ(manager.CountEffects(), 50);
    for (int i = 0; i < 8; ++i) {
        manager.Update();
    }
    EXPECT_EQ(manager.GetEffect(0), nullptr);
    EXPECT_EQ(manager.CountEffects(), 49);
    XEffectBase* survivor = manager.GetEffect(1);
    manager.AddEffect(XEffectManager::kMagic, 50, 50);
    ASSERT_NE(manager.GetEffect(0), nullptr);
    EXPECT_NE(dynamic_cast<XEffectMagic*>(manager.GetEffect(0)), nullptr);
    EXPECT_EQ(manager.GetEffect(1), survivor);
    EXPECT_EQ(manager.CountEffects(), 50);

    manager.ClearAll();
    EXPECT_EQ(manager.CountEffects(), 0);
}

TEST_F(XEffectManagerTest, BombShowsItsEightFramesThenIsGone) {
    XEffectManager manager(app.get());
    manager.AddEffect(XEffectManager::kBomb, 200, 150);
    for (int frame = 0; frame < 9; ++frame) {
        Back()->ColourFill(nullptr, 0);
        manager.Draw(Back());
        uint8_t expected = frame < 8 ? static_cast<uint8_t>(art::kBomb + frame) : 0;
        EXPECT_EQ(Back()->GetPixel(200, 150), expected) << "drawn frame " << frame;
        // The 46-pixel cell is centred on the point.
        EXPECT_EQ(Back()->GetPixel(200 - 23 + 1, 150), expected);
        EXPECT_EQ(Back()->GetPixel(200 - 23, 150), 0);
        manager.Update();
    }
}

TEST_F(XEffectManagerTest, MagicSparklesDriftAlongTheDiagonals) {
    XEffectManager manager(app.get());
    manager.AddEffect(XEffectManager::kMagic, 300, 200);
    auto* magic = dynamic_cast<XEffectMagic*>(manager.GetEffect(0));
    ASSERT_NE(magic, nullptr);
    for (int i = 0; i < 17; ++i) {
        manager.Update();
    }
    ASSERT_EQ(manager.GetEffect(0), magic);
    // 17 steps of 1.6 along direction 96 (up-left) and 224 (down-right); the fifth stays.
    EXPECT_NEAR(magic->GetSparkle(0)->GetCentreX(), 300 - 19, 1);
    EXPECT_NEAR(magic->GetSparkle(0)->GetCentreY(), 200 - 19, 1);
    EXPECT_NEAR(magic->GetSparkle(3)->GetCentreX(), 300 + 19, 1);
    EXPECT_NEAR(magic->GetSparkle(3)->GetCentreY(), 200 + 19, 1);
    EXPECT_EQ(magic->GetSparkle(4)->GetCentreX(), 300);
    EXPECT_EQ(magic->GetSparkle(4)->GetCentreY(), 200);
}

TEST_F(XEffectManagerTest, BigBombThrowsEightyBlastsAroundItsCentreWithTenSounds) {
    FakeAudioInstall audio;
    app->LoadSounds();
    int before = Plays();
    ASSERT_GE(before, 0) << "no sound device";
    XEffectBigBomb bomb(app.get(), 320, 224);
    int updates = 0;
    int most = 0;
    while (bomb.IsAlive() && updates < 200) {
        bomb.Update();
        ++updates;
        most = std::max(most, bomb.CountChildren());
        for (int slot = 0; slot < XEffectBigBomb::kChildSlots; ++slot) {
            if (const XEffectBomb* child = bomb.GetChild(slot)) {
                const ZSprite256* sprite = child->GetSprite();
                double d = Distance(sprite->GetCentreX(), sprite->GetCentreY(), 320, 224);
                EXPECT_GE(d, 13.5);
                EXPECT_LE(d, 105.5);
            }
        }
    }
    EXPECT_EQ(updates, 48);
    EXPECT_EQ(most, 16);
    EXPECT_EQ(Plays() - before, 10);

    // A new item's rings call once.
    XEffectManager manager(app.get());
    before = Plays();
    manager.AddEffect(XEffectManager::kItemRings, 100, 100);
    EXPECT_EQ(Plays() - before, 1);
}

TEST_F(XEffectManagerTest, LaterEffectInALowSlotIsDrawnUnderOlderOnes) {
    XEffectManager manager(app.get());
    manager.AddEffect(XEffectManager::kBomb, 100, 100);
    manager.AddEffect(XEffectManager::kSpeed, 100, 100);
    for (int i = 0; i < 8; ++i) {
        manager.Update();
    }
    manager.AddEffect(XEffectManager::kBomb, 100, 100);
    Back()->ColourFill(nullptr, 0);
    manager.Draw(Back());
    // The sparkle (slot 1, frame 4 by now) lies over the new blast in slot 0.
    EXPECT_EQ(Back()->GetPixel(100, 100), 220 + 4);
    EXPECT_EQ(Back()->GetPixel(100 - 20, 100), art::kBomb);
}

}  // namespace
