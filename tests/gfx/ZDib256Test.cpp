#include <gtest/gtest.h>

#include "base/Resources.h"
#include "gfx/Display.h"
#include "gfx/ZDib256.h"
#include "support/TestSupport.h"

TEST(ZDib256, PitchRoundsRowsUpToFourBytes) {
    EXPECT_EQ(ZDib256::ComputePitch(8, 11), 12);
    EXPECT_EQ(ZDib256::ComputePitch(8, 6), 8);
    EXPECT_EQ(ZDib256::ComputePitch(8, 640), 640);
    EXPECT_EQ(ZDib256::ComputePitch(4, 11), 8);
}

TEST(ZDib256, LoadsHeaderTableAndRowsAsStored) {
    InstallBitmap(9001, 6, 3, [](int x, int y) { return static_cast<uint8_t>(10 * y + x); });
    ZDib256 bitmap(9001);
    ASSERT_TRUE(bitmap.IsLoaded());
    EXPECT_EQ(bitmap.GetWidth(), 6);
    EXPECT_EQ(bitmap.GetHeight(), 3);
    EXPECT_EQ(bitmap.GetPitch(), 8);
    EXPECT_TRUE(bitmap.IsBottomUp());
    EXPECT_EQ(bitmap.GetBits()[0], 20);  // the first stored row is the bottom row
    EXPECT_EQ(bitmap.GetBits()[8 * 2 + 5], 5);
    PaletteEntry entries[256];
    bitmap.GetPaletteEntries(0, 256, entries);
    EXPECT_EQ(entries[0].red, 0);
    EXPECT_EQ(entries[255].green, 255);
    EXPECT_EQ(entries[10].red, 10);  // blue, green, red in the table turned round
    EXPECT_EQ(entries[10].green, 245);
    EXPECT_EQ(entries[10].blue, 5);
    EXPECT_EQ(entries[10].flags, 0);
    ClearResourceOverrides();
}

TEST(ZDib256, RefusesOtherFormatsAndTruncatedResourcesAndStaysEmpty) {
    auto good = MakeBitmapResource(4, 4, [](int, int) { return 1; });
    ZDib256 bitmap(0);
    EXPECT_FALSE(bitmap.IsLoaded());
    ASSERT_TRUE(bitmap.LoadFromBytes(good.data(), good.size()));

    auto fourBit = good;
    fourBit[14] = 4;
    EXPECT_FALSE(bitmap.LoadFromBytes(fourBit.data(), fourBit.size()));
    EXPECT_FALSE(bitmap.IsLoaded());
    EXPECT_EQ(bitmap.GetWidth(), 0);

    auto compressed = good;
    compressed[16] = 1;
    EXPECT_FALSE(bitmap.LoadFromBytes(compressed.data(), compressed.size()));
    auto otherHeader = good;
    otherHeader[0] = 108;
    EXPECT_FALSE(bitmap.LoadFromBytes(otherHeader.data(), otherHeader.size()));
    EXPECT_FALSE(bitmap.LoadFromBytes(good.data(), good.size() - 1));
    EXPECT_FALSE(bitmap.LoadFromBytes(good.data(), 100));
    auto huge = good;
    huge[7] = 0x7F;  // width in the billions
    EXPECT_FALSE(bitmap.LoadFromBytes(huge.data(), huge.size()));
    auto negativeWidth = good;
    negativeWidth[7] = 0xFF;
    EXPECT_FALSE(bitmap.LoadFromBytes(negativeWidth.data(), negativeWidth.size()));
    EXPECT_FALSE(bitmap.LoadFromResource(65000));
    EXPECT_FALSE(bitmap.IsLoaded());
}

TEST(ZDib256, ASecondLoadReplacesTheFirst) {
    auto wide = MakeBitmapResource(8, 2, [](int, int) { return 3; });
    auto tall = MakeBitmapResource(2, 9, [](int, int) { return 4; });
    ZDib256 bitmap(0);
    ASSERT_TRUE(bitmap.LoadFromBytes(wide.data(), wide.size()));
    ASSERT_TRUE(bitmap.LoadFromBytes(tall.data(), tall.size()));
    EXPECT_EQ(bitmap.GetWidth(), 2);
    EXPECT_EQ(bitmap.GetHeight(), 9);
    EXPECT_EQ(bitmap.GetPitch(), 4);
    EXPECT_EQ(bitmap.GetBits()[0], 4);
}
