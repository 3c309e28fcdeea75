#include <gtest/gtest.h>

#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "gfx/ZSprite256.h"
#include "support/TestSupport.h"

namespace {

// A 4-frame sheet of 38 x 40 frames: frame f filled with index 10 + f on a key of 200 in the corner.
void InstallSheet(uint32_t id) {
    InstallBitmap(id, 38, 160, [](int x, int y) {
        if (x == 0 && y % 40 == 0) {
            return static_cast<uint8_t>(200);
        }
        return static_cast<uint8_t>(10 + y / 40);
    });
}

class SpriteTest : public HeadlessTest {};

class Marker : public ZSprite256 {
public:
    using ZSprite256::ZSprite256;
    void Draw(Surface* target) override {
        ++draws;
        ZSprite256::Draw(target);
    }
    int draws = 0;
};

}  // namespace

TEST_F(SpriteTest, SheetIsCutIntoFramesWithTheTopLeftKey) {
    InstallSheet(9100);
    ZSprite256 sprite(9100, 4);
    EXPECT_EQ(sprite.GetWidth(), 38);
    EXPECT_EQ(sprite.GetHeight(), 40);
    EXPECT_EQ(sprite.GetColourKey(), 200);
    sprite.SetFrame(3);
    sprite.SetPosition(100, 100);
    sprite.Draw(Back());
    EXPECT_EQ(Back()->GetPixel(100, 100), 0);  // frame 3's corner is keyed
    EXPECT_EQ(Back()->GetPixel(101, 100), 13);
    EXPECT_EQ(Back()->GetPixel(137, 139), 13);
    EXPECT_EQ(Back()->GetPixel(138, 139), 0);
    sprite.SetTransparent(false);
    sprite.Draw(Back());
    EXPECT_EQ(Back()->GetPixel(100, 100), 200);
}

TEST_F(SpriteTest, AnimationCountsWaitPlusOneUpdatesPerFrame) {
    InstallSheet(9100);
    ZSprite256 sprite(9100, 4);
    sprite.SetAnimationWait(2);
    sprite.RestartAnimation();
    const int expected[12] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0};
    for (int i = 0; i < 12; ++i) {
        sprite.Animate();
        EXPECT_EQ(sprite.GetFrame(), expected[i]) << i;
        EXPECT_EQ(sprite.IsCycleRunning(), i < 11) << i;
    }
    sprite.SetFrame(2);
    sprite.SetAnimationWait(5);
    EXPECT_EQ(sprite.GetFrame(), 2);  // a new wait restarts the counter, not the frame
}

TEST_F(SpriteTest, MovementRoundingAndCentring) {
    InstallSheet(9100);
    ZSprite256 sprite(9100, 4);
    sprite.SetPosition(10, 10);
    sprite.SetSpeed(5.0f);
    sprite.Move();  // direction -1 stays
    EXPECT_EQ(sprite.GetX(), 10);
    sprite.SetDirection(64);
    sprite.Move();
    EXPECT_EQ(sprite.GetY(), 5);
    sprite.SetDirection(0);
    sprite.SetSpeed(2.5f);
    sprite.SetPosition(0, 0);
    sprite.Move();
    EXPECT_EQ(sprite.GetX(), 3);
    sprite.SetDirection(128);
    sprite.Move();
    sprite.Move();
    EXPECT_EQ(sprite.GetX(), -3);
    sprite.SetCentre(100, 200);
    EXPECT_EQ(sprite.GetX(), 81);
    EXPECT_EQ(sprite.GetY(), 180);
    EXPECT_EQ(sprite.GetCentreX(), 100);
    InstallBitmap(9101, 15, 15, [](int, int) { return 1; });
    ZSprite256 narrow(9101, 1);
    narrow.SetPosition(0, 0);
    EXPECT_EQ(narrow.GetCentreX(), 7);
}

TEST_F(SpriteTest, CollisionNeedsOpaquePixelsOfBothInTheOverlap) {
    // Left half opaque, right half keyed.
    InstallBitmap(9102, 10, 10, [](int x, int y) { return static_cast<uint8_t>((x == 0 && y == 0) || x >= 5 ? 0 : 1); });
    InstallBitmap(9103, 10, 10, [](int x, int y) { return static_cast<uint8_t>(x == 0 && y == 0 ? 0 : 2); });
    ZSprite256 a(9102, 1);
    ZSprite256 b(9103, 1);
    a.SetPosition(0, 0);
    b.SetPosition(6, 0);  // overlaps only a's keyed half
    EXPECT_FALSE(a.CollidesWith(b));
    b.SetPosition(4, 0);  // shares column 4, opaque in a
    EXPECT_TRUE(a.CollidesWith(b));
    EXPECT_TRUE(b.CollidesWith(a));
    b.SetPosition(10, 0);  // boxes touch but do not overlap
    EXPECT_FALSE(a.CollidesWith(b));
    a.SetTransparent(false);  // the test uses the key whatever the flag
    b.SetPosition(6, 0);
    EXPECT_FALSE(a.CollidesWith(b));
}

TEST_F(SpriteTest, ScaledDrawingKeepsTheCentreAndFullScaleUsesTheSubclassDraw) {
    InstallBitmap(9104, 10, 10, [](int, int) { return 5; });
    Marker sprite(9104, 1);
    sprite.SetPosition(100, 100);
    sprite.SetTransparent(false);
    sprite.DrawScaled(Back(), 100, 100);
    EXPECT_EQ(sprite.draws, 1);
    Back()->ColourFill(nullptr, 0);
    sprite.DrawScaled(Back(), 300);
    EXPECT_EQ(sprite.draws, 1);
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 5), 900);
    EXPECT_EQ(Back()->GetPixel(90, 90), 5);
    EXPECT_EQ(Back()->GetPixel(119, 119), 5);
    Back()->ColourFill(nullptr, 0);
    sprite.DrawScaledVertical(Back(), 0);
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 5), 0);
}

TEST_F(SpriteTest, DrawingOffTheTargetOrWithABadFrameIsHarmless) {
    InstallSheet(9100);
    ZSprite256 sprite(9100, 4);
    auto plain = Surface::Create(50, 50);
    sprite.SetPosition(13, 11);  // one pixel past the unclipped target
    sprite.Draw(plain.get());
    EXPECT_EQ(CountPixels(*plain, Rect{0, 0, 50, 50}, 0), 2500);
    sprite.Draw(Back());
    EXPECT_EQ(Back()->GetPixel(14, 11), 10);
    Back()->ColourFill(nullptr, 0);
    for (int frame : {-3, 4, 1000}) {
        sprite.SetFrame(frame);
        sprite.Draw(Back());
    }
    sprite.SetFrame(0);
    sprite.SetPosition(2000000000, -2000000000);
    sprite.Draw(Back());
    sprite.DrawScaled(Back(), 4000000000u);
    sprite.Draw(nullptr);
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);
    ZSprite256 missing(65001, 3);
    missing.Draw(Back());
    EXPECT_FALSE(missing.CollidesWith(sprite));
}
