#include <algorithm>
#include <tuple>

#include "gfx/Display.h"
#include "support/TestSupport.h"

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
        Back()->ColourFill(nullptr, 7);
        EXPECT_TRUE(WipeTopBottom(Back(), percent)) << percent;
        EXPECT_EQ(Black({0, 0, 640, band}) + Black({0, 480 - band, 640, 480}), 2 * 640 * band);
        EXPECT_EQ(Black({0, 0, 640, 480}), std::min(2 * 640 * band, 640 * 480));
        Back()->ColourFill(nullptr, 7);
        // A stripe of no width is an empty fill.
        EXPECT_EQ(WipeColumns(Back(), percent), stripe > 0 || percent <= 0);
        EXPECT_EQ(
            Black({offset, 0, offset + stripe, 480}) + Black({600 + offset, 0, 600 + offset + stripe, 480}),
            960 * stripe);
        EXPECT_EQ(Black({0, 0, 640, 480}), 16 * stripe * 480);
    }
    auto narrow = Surface::Create(39, 10);
    narrow->ColourFill(nullptr, 7);
    EXPECT_TRUE(WipeColumns(narrow.get(), 95) && CountPixels(*narrow, {0, 0, 39, 10}, 0) == 0);
    EXPECT_TRUE(WipeColumns(narrow.get(), 100) && CountPixels(*narrow, {0, 0, 39, 10}, 0) == 390);
    EXPECT_FALSE(WipeColumns(nullptr, 50) || WipeTopBottom(nullptr, 50) ||
                 FillSurfaceColor(nullptr, nullptr, 0));
}

TEST_F(DisplayTest, ColoursMatchTheNearestEntryOfThePaletteFromBitmap102AndPresentShowsTheBackSurface) {
    // RGB and index; 0x130A0E lies as near to entry 10 as to black, and the first entry wins
    const uint32_t colours[][2] = {{0xFFFFFF, 255}, {0xFEFFFD, 255}, {0x000000, 0},   {0x0000FF, 249},
                                   {0x00FF00, 250}, {0xFF0000, 252}, {0x0101FE, 249}, {0x130A0E, 0}};
    for (const auto& [rgb, index] : colours) EXPECT_EQ(MatchColor(Back(), rgb), index) << std::hex << rgb;
    Rect area{10, 20, 30, 25};
    EXPECT_TRUE(FillSurfaceColor(Back(), nullptr, 0x0000FF) && FillSurfaceColor(Back(), &area, 0xFFFFFF));
    EXPECT_TRUE(PresentBackBuffer() && machine.presents.size() == 1 &&
                CountPixels(*Back(), area, 255) == 100);
    EXPECT_EQ(CountPixels(*Back(), {0, 0, 640, 480}, 249), 640 * 480 - 100);
}

TEST_F(DisplayTest, ALostBackSurfaceIsRestoredAndSurfacesNeverCreatedCountAsLost) {
    Back()->SetLost(true);
    EXPECT_EQ((std::tuple{SurfacesLost(), RestoreSurfaces(), SurfacesLost()}), std::tuple(true, true, false));
    ReleaseDisplaySurfaces();
    EXPECT_EQ((std::tuple{SurfacesLost(), RestoreSurfaces(), PresentBackBuffer(), GetBackSurface(),
                          InitPalette(102)}),
              std::tuple(true, false, false, nullptr, false))
        << "without a primary surface there is nothing to attach a palette to";
    EXPECT_TRUE(CreateDisplay(nullptr) == GetDisplayDevice() && CreateDisplaySurfaces() &&
                GetScreenHeight() == 480);
    ReleaseDisplay();
    EXPECT_FALSE(GetDisplayDevice() || CreateDisplaySurfaces() || InitPalette(102) || GetScreenWidth() ||
                 PresentBackBuffer() || !SurfacesLost());
}

TEST_F(DisplayTest, CopiesCutToTheClipKeepTheVisiblePartInPlaceAndSkipTheSourceKey) {
    auto source = Surface::Create(4, 2), target = Surface::Create(8, 8);
    std::copy_n("\x05\x01\x05\x02\x03\x04\x03\x04", 8, source->Row(0));
    const Rect stretched{-4, 3, 4, 7}, outside{30, 2, 40, 4};  // beside the clip, not below it
    target->SetClipRect({-5, -5, 50, 6});  // a clip rectangle never reaches past its surface
    ASSERT_TRUE(target->Blt(&stretched, *source, nullptr, false) &&
                target->Blt(&outside, *source, nullptr, false));
    // The source is cut by the scaled amount that the clip took off the destination.
    EXPECT_EQ(
        std::string(target->Row(3), target->Row(3) + 8) + std::string(target->Row(5), target->Row(6) + 8),
        std::string("\x05\x05\x02\x02\0\0\0\0\x03\x03\x04\x04\0\0\0\0\0\0\0\0\0\0\0\0", 24));
    source->SetColourKey(5);
    target->ClearClipRect();
    ASSERT_TRUE(target->Blt(nullptr, *source, nullptr, true));
    EXPECT_EQ(std::string(target->Row(0), target->Row(0) + 8), std::string("\0\0\x01\x01\0\0\x02\x02", 8));
    // A copy of the same size cut on the left starts with the source's second column.
    const Rect shifted{-1, 7, 3, 8};
    target->SetClipRect({0, 0, 8, 8});
    ASSERT_TRUE(target->Blt(&shifted, *source, nullptr, false));
    target->ClearClipRect();
    EXPECT_EQ(std::string(target->Row(7), target->Row(7) + 3), "\x01\x05\x02");
    EXPECT_FALSE(Surface::Create(0, 10) || Surface::Create(10, 0) || Surface::Create(10, -1) || Surface::Create(1 << 20, 1 << 20));
    const Rect empty{2, 0, 2, 2}, flat{0, 2, 2, 2};  // a source of no width, a fill of no height
    EXPECT_FALSE(target->Blt(&stretched, *source, nullptr, false) || target->ColourFill(&stretched, 9) ||
                 target->ColourFill(&flat, 9) ||
                 target->Blt(nullptr, *source, &outside, false) || target->Blt(nullptr, *source, &empty, false));
}

TEST_F(DisplayTest, KeyedCopiesOfAnyWidthAtOddOffsetsKeepTheDestinationUnderTheKeyAndStayInTheClip) {
    // width, destination x, source x, clip left and right
    const int cases[][5] = {{1, 3, 1, 0, 64},    {15, 5, 3, 0, 64},   {16, 7, 1, 0, 64},  {17, 1, 5, 0, 64},
                            {33, 9, 3, 0, 64},   {33, -7, 1, 0, 64},  {33, 45, 9, 0, 64}, {17, 3, 0, 11, 19},
                            {33, 13, 7, 17, 31}, {16, 21, 15, 0, 29}, {7, 30, 3, 0, 64}};
    auto source = Surface::Create(48, 1);
    for (int x = 0; x < 48; ++x) source->Row(0)[x] = x % 3 ? 100 + x : 9;  // every third pixel the key
    source->SetColourKey(9);
    for (auto [width, dstX, srcX, clipLeft, clipRight] : cases) {
        auto target = Surface::Create(64, 3);
        target->ColourFill(nullptr, 7);
        target->SetClipRect({clipLeft, 0, clipRight, 3});
        const Rect to{dstX, 1, dstX + width, 2}, from{srcX, 0, srcX + width, 1};
        ASSERT_TRUE(target->Blt(&to, *source, &from, true));
        for (int x = 0; x < 64; ++x) {
            bool inside = x >= std::max(dstX, clipLeft) && x < std::min(dstX + width, clipRight);
            uint8_t value = inside ? source->GetPixel(x - dstX + srcX, 0) : 7;
            EXPECT_EQ(target->GetPixel(x, 1), value == 9 ? 7 : value) << width << "->" << dstX << ", x " << x;
        }
        EXPECT_EQ(CountPixels(*target, {0, 0, 64, 3}, 7) - CountPixels(*target, {0, 1, 64, 2}, 7), 128);
    }
}
