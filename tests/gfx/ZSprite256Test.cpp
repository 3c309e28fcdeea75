#include <tuple>
#include <vector>

#include "gfx/ZSprite256.h"
#include "support/TestSupport.h"

namespace {

class SpriteTest : public GameTest {
protected:
    // A 4-frame sheet of 38 x 40 frames (two rows left over): frame f is index 10 + f, its corner the key
    // 200.
    void SetUp() override {
        GameTest::SetUp();
        InstallBitmap(9100, 38, 162, [](int x, int y) { return x == 0 && y % 40 == 0 ? 200 : 10 + y / 40; });
    }
    int Drawn(uint8_t index) const { return CountPixels(*Back(), {0, 0, 640, 480}, index); }
};

struct Marker : ZSprite256 {
    using ZSprite256::ZSprite256;
    void Draw(Surface* target) override {
        ++draws;
        ZSprite256::Draw(target);
    }
    int draws = 0;
};

TEST_F(SpriteTest, TheCurrentFrameIsDrawnAtTheRoundedPositionWithoutItsKey) {
    ZSprite256 sprite(9100, 4);
    EXPECT_EQ(std::tuple(sprite.GetWidth(), sprite.GetHeight(), sprite.GetColourKey()),
              std::tuple(38, 40, 200));
    sprite.SetFrame(3);
    sprite.SetPosition(100, 100);
    sprite.Draw(Back());
    EXPECT_EQ(std::tuple(Back()->GetPixel(100, 100), Back()->GetPixel(101, 100), Back()->GetPixel(137, 139)),
              std::tuple(0, 13, 13));
    EXPECT_EQ(Drawn(13), 38 * 40 - 1);
    sprite.SetTransparent(false);
    sprite.DrawAt(200, 300, Back());
    EXPECT_EQ(Back()->GetPixel(200, 300), 200);
    // Draw, move and centre through the rounded position: halves away from zero.
    const std::tuple<int, float, int, int> moves[] = {
        {-1, 5.0f, 10, 10}, {64, 5.0f, 10, 5}, {0, 2.5f, 13, 10}, {128, 12.5f, -3, 10}, {192, 1.4f, 10, 11}};
    for (const auto& [direction, speed, x, y] : moves) {
        sprite.SetPosition(10, 10);
        sprite.SetDirection(direction);
        sprite.SetSpeed(speed);
        sprite.Move();
        EXPECT_EQ(std::tuple(sprite.GetX(), sprite.GetY()), std::tuple(x, y)) << direction << " at " << speed;
    }
    sprite.SetCentre(100, 200);
    EXPECT_EQ(std::tuple(sprite.GetX(), sprite.GetY(), sprite.GetCentreX(), sprite.GetCentreY()),
              std::tuple(81, 180, 100, 200));
    InstallBitmap(9101, 15, 15, [](int, int) { return 1; });
    EXPECT_EQ(ZSprite256(9101, 1).GetCentreX(), 7);
}

TEST_F(SpriteTest, AnimationShowsEachFrameWaitPlusOneUpdatesAndRestartsFromFrameZero) {
    ZSprite256 sprite(9100, 4);
    sprite.SetAnimationWait(2);
    std::vector<int> frames;
    for (int i = 0; i < 12; ++i) {
        sprite.Animate();
        frames.push_back(sprite.GetFrame());
        EXPECT_EQ(sprite.IsCycleRunning(), i < 11) << i;
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0}));
    for (int i = 0; i < 5; ++i) {
        sprite.Animate();
    }
    sprite.RestartAnimation();
    EXPECT_EQ(std::tuple(sprite.GetFrame(), sprite.IsCycleRunning()), std::tuple(0, true));
    sprite.Animate();
    sprite.Animate();
    EXPECT_EQ(sprite.GetFrame(), 0) << "the counter starts again too";
    sprite.Animate();
    EXPECT_EQ(sprite.GetFrame(), 1);
    sprite.SetAnimationWait(5);
    EXPECT_EQ(sprite.GetFrame(), 1) << "a new wait restarts the counter, not the frame";
    sprite.Animate();
    EXPECT_EQ(sprite.GetFrame(), 0);
}

TEST_F(SpriteTest, SpritesCollideWhereTheirCurrentFramesAreBothOpaque) {
    // Frame 0 is opaque in its left half, frame 1 and a row left over in their right half; the other sprite
    // is opaque throughout.
    InstallBitmap(9102, 10, 21,
                  [](int x, int y) { return (x == 0 && y == 0) || (x < 5) != (y < 10) ? 0 : 1; });
    InstallBitmap(9103, 10, 10, [](int x, int y) { return x == 0 && y == 0 ? 0 : 2; });
    ZSprite256 halves(9102, 2);
    ZSprite256 block(9103, 1);
    const int cases[][4] = {{0, 6, 0, false}, {1, 6, 0, true},   {0, 4, 0, true},   {1, -6, 0, false},
                            {0, -6, 0, true}, {0, -9, 3, true},  {1, -9, 3, false}, {0, 10, 0, false},
                            {0, 0, 9, true},  {0, 0, 10, false}, {0, 0, -9, true},  {0, 0, -10, false},
                            {2, 0, -9, false}};
    for (const auto& [frame, x, y, collide] : cases) {
        halves.SetFrame(frame);
        block.SetPosition(x, y);
        EXPECT_EQ(halves.CollidesWith(block), collide) << "frame " << frame << ", other at " << x << "," << y;
        EXPECT_EQ(block.CollidesWith(halves), collide);
    }
    halves.SetFrame(0);
    halves.SetTransparent(false);
    block.SetPosition(6, 0);
    EXPECT_FALSE(halves.CollidesWith(block)) << "the key counts whatever the transparent flag";
}

TEST_F(SpriteTest, ScaledDrawingRoundsTheSizeKeepsTheCentreAndAtFullScaleDrawsAsTheSubclass) {
    InstallBitmap(9104, 10, 10, [](int, int) { return 5; });
    Marker sprite(9104, 1);
    sprite.SetPosition(100, 100);
    sprite.SetTransparent(false);
    sprite.DrawScaled(Back(), 100);
    EXPECT_EQ(std::tuple(sprite.draws, Drawn(5)), std::tuple(1, 100));
    // horizontal and vertical percent, and the rectangle drawn around the centre (105, 105)
    const int cases[][6] = {{25, 300, 104, 90, 107, 120},
                            {15, 100, 104, 100, 106, 110},
                            {200, 5, 95, 105, 115, 106},
                            {100, 0, 0, 0, 0, 0},
                            {4, 100, 0, 0, 0, 0}};
    for (const auto& [across, down, left, top, right, bottom] : cases) {
        Back()->ColourFill(nullptr, 0);
        sprite.DrawScaled(Back(), across, down);
        EXPECT_EQ(Drawn(5), (right - left) * (bottom - top)) << across << "/" << down;
        EXPECT_EQ(CountPixels(*Back(), {left, top, right, bottom}, 5), Drawn(5)) << across << "/" << down;
    }
    sprite.DrawScaledVertical(Back(), 100);
    EXPECT_EQ(sprite.draws, 2);
}

TEST_F(SpriteTest, DrawingOffTheTargetOrFromOutsideTheSheetLeavesTheTargetAlone) {
    ZSprite256 sprite(9100, 4);
    auto plain = Surface::Create(50, 50);
    sprite.SetPosition(13, 11);  // one pixel past the right and bottom of an unclipped target
    sprite.Draw(plain.get());
    EXPECT_EQ(CountPixels(*plain, {0, 0, 50, 50}, 0), 2500);
    sprite.SetPosition(-1, -1);
    sprite.Draw(Back());
    EXPECT_EQ(Drawn(10), 37 * 39);
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
    EXPECT_EQ(Drawn(0), 640 * 480);
    ZSprite256 missing(65001, 3);
    missing.Draw(Back());
    EXPECT_FALSE(missing.CollidesWith(sprite) || sprite.CollidesWith(missing));
}

}  // namespace
