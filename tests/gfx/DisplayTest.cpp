#include <algorithm>
#include <tuple>

#include "gfx/Display.h"
#include "support/TestSupport.h"

namespace {

class DisplayTest : public GameTest {
protected:
    int Black(const Rect& area) const { return CountPixels(*Back(), area, 0); }
};

TEST_F(DisplayTest, WipesBlackenTopAndBottomBandsOrCentredColumnStripesForTheirPercentage) {
    // percent, band lines of the top-bottom wipe, stripe width and offset of the column wipe
    const int cases[][4] = {{5, 12, 2, 19}, {50, 120, 20, 10}, {95, 228, 38, 1},  {1, 2, 0, 20},
                            {3, 7, 1, 19},  {99, 237, 39, 0},  {100, 240, 40, 0}, {150, 240, 40, 0},
                            {0, 0, 0, 20},  {-20, 0, 0, 20}};
    for (const auto& [percent, band, stripe, offset] : cases) {
        SCOPED_TRACE(percent);
        Back()->ColourFill(nullptr, 7);
        EXPECT_TRUE(WipeTopBottom(Back(), percent));
        EXPECT_EQ(Black({0, 0, 640, band}) + Black({0, 480 - band, 640, 480}), 2 * 640 * band);
        EXPECT_EQ(Black({0, 0, 640, 480}), std::min(2 * 640 * band, 640 * 480));
        Back()->ColourFill(nullptr, 7);
        EXPECT_EQ(WipeColumns(Back(), percent), stripe > 0 || percent <= 0)
            << "a stripe of no width is an empty fill";
        for (int column = 0; column < 16; ++column) {
            EXPECT_EQ(Black({column * 40 + offset, 0, column * 40 + offset + stripe, 480}), stripe * 480);
        }
        EXPECT_EQ(Black({0, 0, 640, 480}), 16 * stripe * 480);
    }
    auto narrow = Surface::Create(39, 10);
    narrow->ColourFill(nullptr, 7);
    EXPECT_TRUE(WipeColumns(narrow.get(), 95));
    EXPECT_EQ(CountPixels(*narrow, {0, 0, 39, 10}, 0), 0);
    EXPECT_TRUE(WipeColumns(narrow.get(), 100));
    EXPECT_EQ(CountPixels(*narrow, {0, 0, 39, 10}, 0), 390);
    EXPECT_FALSE(WipeColumns(nullptr, 50) || WipeTopBottom(nullptr, 50) || WipeColumns(nullptr, 100));
}

TEST_F(DisplayTest, ThePaletteComesFromBitmap102AndColoursMatchTheirNearestEntry) {
    const PaletteEntry* palette = GetPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette[249].red + palette[249].green * 256 + palette[249].blue * 65536, 255);
    EXPECT_EQ(palette[249].flags, 4);
    const uint32_t colours[][2] = {{0xFFFFFF, 255}, {0xFEFFFD, 255}, {0x000000, 0},  {0x0000FF, 249},
                                   {0x00FF00, 250}, {0xFF0000, 252}, {0x0101FE, 249}};
    Back()->Row(0)[0] = 42;
    for (const auto& [rgb, index] : colours) {
        EXPECT_EQ(MatchColor(Back(), rgb), index) << std::hex << rgb;
    }
    EXPECT_EQ(Back()->GetPixel(0, 0), 42);
    Rect area{10, 20, 30, 25};
    ASSERT_TRUE(FillSurfaceColor(Back(), &area, 0xFFFFFF));
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 255), 100);
    EXPECT_EQ(CountPixels(*Back(), area, 255), 100);
    EXPECT_TRUE(FillSurfaceColor(Back(), nullptr, 0x0000FF));
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 249), 640 * 480);
    EXPECT_FALSE(FillSurfaceColor(nullptr, nullptr, 0));
}

TEST_F(DisplayTest, PresentShowsTheBackSurfaceAndLostSurfacesAreRestoredWhileTheRecordLives) {
    EXPECT_EQ(std::tuple(GetScreenWidth(), GetScreenHeight()), std::tuple(640, 480));
    Back()->ColourFill(nullptr, 255);
    EXPECT_TRUE(PresentBackBuffer());
    EXPECT_EQ(machine.presents.back().whitePixels, 640 * 480);
    EXPECT_FALSE(SurfacesLost());
    Back()->SetLost(true);
    EXPECT_TRUE(SurfacesLost());
    EXPECT_TRUE(RestoreSurfaces());
    EXPECT_FALSE(SurfacesLost());
    machine.lost = true;
    EXPECT_TRUE(SurfacesLost());
    machine.restores = false;
    EXPECT_FALSE(RestoreSurfaces());
    machine.lost = false;
    ReleaseDisplaySurfaces();
    EXPECT_TRUE(SurfacesLost()) << "never created counts as lost";
    EXPECT_FALSE(RestoreSurfaces() || PresentBackBuffer() || CreateOffscreenSurface(0, 5, true));
    EXPECT_EQ(GetBackSurface(), nullptr);
    EXPECT_NE(GetDisplayDevice(), nullptr);
    ReleaseDisplay();
    EXPECT_EQ(GetScreenWidth() + GetScreenHeight(), 0);
    EXPECT_EQ(GetDisplayDevice(), nullptr);

    DisplayDevice* first = CreateDisplay(nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(CreateDisplaySurfaces());
    EXPECT_EQ(GetBackSurface()->GetClipRect()->right, 640) << "the back surface clips to the screen";
    EXPECT_EQ(CreateDisplay(nullptr), GetDisplayDevice());
    EXPECT_EQ(GetBackSurface(), nullptr) << "a new device starts without surfaces";
    machine.deviceCreates = false;
    EXPECT_EQ(CreateDisplay(nullptr), nullptr);
    EXPECT_EQ(GetDisplayDevice(), nullptr);
    EXPECT_FALSE(CreateDisplaySurfaces() || InitPalette(102));
}

}  // namespace
