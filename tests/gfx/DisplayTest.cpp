#include <gtest/gtest.h>

#include "gfx/Display.h"
#include "support/TestSupport.h"

namespace {

class DisplayTest : public HeadlessTest {
protected:
    void Paint(uint8_t index) { Back()->ColourFill(nullptr, index); }
    int Black(const Rect& area) { return CountPixels(*Back(), area, 0); }
};

}  // namespace

TEST_F(DisplayTest, WipeTopBottomBlackensBandsOfTwoPointFourLinesPerCent) {
    Paint(7);
    ASSERT_TRUE(WipeTopBottom(Back(), 5));
    EXPECT_EQ(Black(Rect{0, 0, 640, 12}), 640 * 12);
    EXPECT_EQ(Black(Rect{0, 468, 640, 480}), 640 * 12);
    EXPECT_EQ(Black(Rect{0, 12, 640, 468}), 0);
    Paint(7);
    EXPECT_TRUE(WipeTopBottom(Back(), 0));
    EXPECT_TRUE(WipeTopBottom(Back(), -20));
    EXPECT_EQ(Black(Rect{0, 0, 640, 480}), 0);
    EXPECT_TRUE(WipeTopBottom(Back(), 150));
    EXPECT_EQ(Black(Rect{0, 0, 640, 480}), 640 * 480);
    EXPECT_FALSE(WipeTopBottom(nullptr, 100));
}

TEST_F(DisplayTest, WipeColumnsBlackensACentredStripeOfEveryColumn) {
    Paint(7);
    ASSERT_TRUE(WipeColumns(Back(), 50));
    for (int column = 0; column < 16; ++column) {
        int left = column * 40 + 10;
        EXPECT_EQ(Black(Rect{left, 0, left + 20, 480}), 20 * 480) << column;
        EXPECT_EQ(Back()->GetPixel(left - 1, 100), 7);
        EXPECT_EQ(Back()->GetPixel(left + 20, 100), 7);
    }
    EXPECT_EQ(Black(Rect{0, 0, 640, 480}), 16 * 20 * 480);
    Paint(7);
    WipeColumns(Back(), 2);
    EXPECT_EQ(Black(Rect{0, 0, 640, 480}), 0);
    WipeColumns(Back(), 95);
    EXPECT_EQ(Black(Rect{0, 0, 40, 1}), 38);
    auto narrow = Surface::Create(30, 10);
    narrow->ColourFill(nullptr, 7);
    WipeColumns(narrow.get(), 95);
    EXPECT_EQ(CountPixels(*narrow, Rect{0, 0, 30, 10}, 0), 0);
    WipeColumns(narrow.get(), 100);
    EXPECT_EQ(CountPixels(*narrow, Rect{0, 0, 30, 10}, 0), 300);
}

TEST_F(DisplayTest, MatchColorFindsWhiteAndLeavesThePictureAlone) {
    Back()->Row(0)[0] = 42;
    EXPECT_EQ(MatchColor(Back(), 0xFFFFFF), 255u);
    EXPECT_EQ(MatchColor(Back(), 0x000000), 0u);
    EXPECT_EQ(Back()->GetPixel(0, 0), 42);
    ASSERT_TRUE(FillSurfaceColor(Back(), nullptr, 0xFFFFFF));
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 255), 640 * 480);
}

TEST_F(DisplayTest, PresentCopiesTheBackSurfaceAndLostSurfacesNeedTheRecord) {
    EXPECT_EQ(GetScreenWidth(), 640);
    EXPECT_EQ(GetScreenHeight(), 480);
    EXPECT_FALSE(SurfacesLost());
    EXPECT_TRUE(PresentBackBuffer());
    Back()->SetLost(true);
    EXPECT_TRUE(SurfacesLost());
    EXPECT_TRUE(RestoreSurfaces());
    EXPECT_FALSE(SurfacesLost());
    ReleaseDisplaySurfaces();
    EXPECT_TRUE(SurfacesLost());  // never created counts as lost
    EXPECT_FALSE(RestoreSurfaces());
    EXPECT_EQ(GetBackSurface(), nullptr);
    ReleaseDisplay();
    EXPECT_EQ(GetScreenWidth(), 0);
    EXPECT_EQ(GetBackSurface(), nullptr);
    EXPECT_FALSE(PresentBackBuffer());
}

TEST(Display, CreatingTwiceReplacesTheDeviceAndAFailingFactoryLeavesNoRecord) {
    DisplayDevice* first = CreateDisplay(nullptr);
    ASSERT_NE(first, nullptr);
    DisplayDevice* second = CreateDisplay(nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetDisplayDevice(), second);
    SetDisplayDeviceFactory([](void*) { return std::unique_ptr<DisplayDevice>(); });
    EXPECT_EQ(CreateDisplay(nullptr), nullptr);
    EXPECT_EQ(GetDisplayDevice(), nullptr);
    EXPECT_FALSE(CreateDisplaySurfaces());
    EXPECT_FALSE(InitPalette(102));
    SetDisplayDeviceFactory(nullptr);
}
