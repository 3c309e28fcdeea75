#include <tuple>

#include "base/Resources.h"
#include "gfx/Display.h"
#include "gfx/ZDib256.h"
#include "gfx/ZSprite256.h"
#include "support/TestSupport.h"

class SpriteTest : public GameTest {
protected:
    // 4 frames of 38 x 40 and two rows left over: frame f is index 10 + f, its corner the key 200.
    void SetUp() override {
        GameTest::SetUp();
        InstallBitmap(9100, 38, 162, [](int x, int y) { return x == 0 && y % 40 == 0 ? 200 : 10 + y / 40; });
    }
    int Drawn(uint8_t index) const { return CountPixels(*Back(), {0, 0, 640, 480}, index); }
};

struct Counted : ZSprite256 {
    using ZSprite256::ZSprite256;
    void Draw(Surface* target) override { ZSprite256::Draw(target), ++draws; }
    int draws = 0;
};

TEST_F(SpriteTest, TheCurrentFrameIsDrawnWithoutItsKeyAtThePositionRoundedHalfAwayFromZero) {
    ZSprite256 sprite(9100, 4);
    sprite.SetFrame(3);
    sprite.SetPosition(100, 100);
    sprite.Draw(Back());
    sprite.SetTransparent(false);
    sprite.DrawAt(200, 300, Back());
    EXPECT_EQ(std::tuple(Back()->GetPixel(100, 100), Back()->GetPixel(137, 139), Drawn(13),
                         Back()->GetPixel(200, 300)), std::tuple(0, 13, 2 * (38 * 40 - 1), 200));
    // direction, speed and the position after one move from (10, 10)
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
    InstallBitmap(9101, 15, 15, [](int, int) { return 1; });
    EXPECT_EQ(std::tuple(sprite.GetX(), sprite.GetY(), sprite.GetCentreY(), ZSprite256(9101, 1).GetCentreX()),
              std::tuple(81, 180, 200, 7));
}

TEST_F(SpriteTest, AnimationShowsEachFrameWaitPlusOneUpdatesAndRestartsFromFrameZero) {
    ZSprite256 sprite(9100, 4);
    sprite.SetAnimationWait(2);
    auto run = [&](int updates) {
        std::string frames;
        for (int i = 0; i < updates; ++i, sprite.Animate())
            frames += std::to_string(sprite.GetFrame()) + (sprite.IsCycleRunning() ? "" : "!");
        return frames;
    };
    EXPECT_EQ(run(18), "0001112223330!0!0!1!1!1!") << "the cycle ends when the counter wraps";
    sprite.RestartAnimation();
    EXPECT_EQ(run(4), "0001") << "the counter and the cycle start again too";
    sprite.SetAnimationWait(5);
    EXPECT_EQ(run(3), "100") << "a new wait restarts the counter, not the frame";
}

TEST_F(SpriteTest, SpritesCollideWhereTheirCurrentFramesAreBothOpaque) {
    // Frame 0 is opaque in its left half, frame 1 and a row left over in their right half; the other sprite
    // is opaque throughout.
    InstallBitmap(9102, 10, 21,
                  [](int x, int y) { return (x == 0 && y == 0) || (x < 5) != (y < 10) ? 0 : 1; });
    InstallBitmap(9103, 10, 10, [](int x, int y) { return x == 0 && y == 0 ? 0 : 2; });
    ZSprite256 halves(9102, 2), block(9103, 1);
    const int cases[][4] = {{0, 6, 0, false},  {1, 6, 0, true},   {0, 4, 0, true},   {1, -6, 0, false},
                            {0, -6, 0, true},  {0, -9, 3, true},  {1, -9, 3, false}, {0, 10, 0, false},
                            {0, 0, 9, true},   {0, 0, 10, false}, {0, 0, -9, true},  {0, 0, -10, false},
                            {2, 0, -9, false}, {-1, 0, 0, false}};
    for (const auto& [frame, x, y, collide] : cases) {
        halves.SetFrame(frame);
        block.SetPosition(x, y);
        EXPECT_EQ(std::tuple(halves.CollidesWith(block), block.CollidesWith(halves)),
                  std::tuple(collide, collide)) << "frame " << frame << ", other at " << x << "," << y;
    }
    halves.SetFrame(0);
    halves.SetTransparent(false);
    block.SetPosition(6, 0);
    EXPECT_FALSE(halves.CollidesWith(block)) << "the key counts whatever the transparent flag";
}

TEST_F(SpriteTest, ScaledDrawingRoundsTheSizeKeepsTheCentreAndAtFullScaleDrawsAsTheSubclass) {
    InstallBitmap(9104, 10, 10, [](int, int) { return 5; });
    Counted sprite(9104, 1);
    sprite.SetPosition(100, 100);
    sprite.SetTransparent(false);
    // horizontal and vertical percent, and the rectangle drawn around the centre (105, 105)
    const int cases[][6] = {{100, 100, 100, 100, 110, 110}, {25, 300, 104, 90, 107, 120},
                            {15, 100, 104, 100, 106, 110},  {200, 5, 95, 105, 115, 106},
                            {100, 0, 0, 0, 0, 0},           {4, 100, 0, 0, 0, 0}};
    for (const auto& [across, down, left, top, right, bottom] : cases) {
        Back()->ColourFill(nullptr, 0);
        across == down ? sprite.DrawScaled(Back(), across) : sprite.DrawScaled(Back(), across, down);
        EXPECT_EQ(std::tuple(Drawn(5), CountPixels(*Back(), {left, top, right, bottom}, 5)),
                  std::tuple((right - left) * (bottom - top), (right - left) * (bottom - top)))
            << across << "/" << down;
    }
    sprite.DrawScaledVertical(Back(), 100);
    EXPECT_EQ(sprite.draws, 2);
}

TEST(ZDib256, RefusesOtherFormatsAndCutResourcesAndIsEmptyAfterwards) {
    auto good = MakeBitmapResource(4, 4, [](int, int) { return 1; });
    ResourceData none;
    EXPECT_FALSE(FindResource(ResourceType::Bitmap, 103, &none) ||
                 FindResource(ResourceType::Wave, 102, &none));
    // byte offset and the value that spoils the header there: bits, compression, header size, width, height
    for (const auto& [offset, value] :
         {std::pair(14, 4), {15, 1}, {16, 1}, {0, 108}, {4, 0}, {7, 0x80}, {8, 0}}) {
        auto bytes = good;
        bytes[offset] = static_cast<uint8_t>(value);
        ZDib256 bitmap(102);
        EXPECT_FALSE(bitmap.LoadFromBytes(bytes.data(), bytes.size()) || bitmap.IsLoaded())
            << offset << " = " << value;
        EXPECT_EQ(std::tuple(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPitch()), std::tuple(0, 0, 0));
    }
    ZDib256 bitmap(0);
    EXPECT_FALSE(bitmap.LoadFromBytes(good.data(), good.size() - 1) || bitmap.LoadFromResource(65000) ||
                 bitmap.IsLoaded());
    EXPECT_TRUE(bitmap.LoadFromBytes(good.data(), good.size()) && bitmap.GetPitch() == 4 &&
                ZDib256::ComputePitch(8, 13) == 16);
    PaletteEntry entries[256]{};
    int sum = 0;
    for (auto [first, count] : {std::pair(255, 2), {1, 256}}) {
        bitmap.GetPaletteEntries(first, count, entries);  // reaches past the table: nothing
        for (const PaletteEntry& entry : entries) sum += entry.red + entry.green + entry.blue;
    }
    EXPECT_EQ(sum, 0);
}
