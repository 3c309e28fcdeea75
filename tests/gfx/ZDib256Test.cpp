#include <tuple>

#include "gfx/Display.h"
#include "gfx/ZDib256.h"
#include "support/TestSupport.h"

namespace {

TEST(ZDib256, LoadsHeaderColourTableAndRowsAsStoredAndASecondLoadReplacesTheFirst) {
    const int pitches[][3] = {{8, 11, 12}, {8, 6, 8}, {8, 640, 640}, {8, 1, 4}, {4, 11, 8}, {8, 13, 16}};
    for (const auto& [bits, width, pitch] : pitches) {
        EXPECT_EQ(ZDib256::ComputePitch(bits, width), pitch) << bits << " bits, " << width << " wide";
    }
    auto wide = MakeBitmapResource(6, 3, [](int x, int y) { return static_cast<uint8_t>(10 * y + x); });
    auto tall = MakeBitmapResource(2, 9, [](int, int) { return 4; });
    ZDib256 bitmap(0);
    ASSERT_TRUE(bitmap.LoadFromBytes(wide.data(), wide.size()));
    EXPECT_EQ(std::tuple(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPitch()), std::tuple(6, 3, 8));
    EXPECT_EQ(bitmap.GetBits()[0], 20) << "the first stored row is the bottom row";
    EXPECT_EQ(bitmap.GetBits()[8 * 2 + 5], 5);
    PaletteEntry entries[3];
    bitmap.GetPaletteEntries(9, 3, entries);
    // The table's blue, green, red turned round; the test table holds (i, 255 - i, i / 2) at index i.
    EXPECT_EQ(std::tuple(entries[1].red, entries[1].green, entries[1].blue), std::tuple(10, 245, 5));
    EXPECT_EQ(entries[2].flags, 0);
    ASSERT_TRUE(bitmap.LoadFromBytes(tall.data(), tall.size()));
    EXPECT_EQ(std::tuple(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPitch()), std::tuple(2, 9, 4));
    EXPECT_EQ(bitmap.GetBits()[4 * 8 + 1], 4);
}

TEST(ZDib256, RefusesOtherFormatsAndCutOrImpossibleResourcesAndIsEmptyAfterwards) {
    auto good = MakeBitmapResource(4, 4, [](int, int) { return 1; });
    // byte offset and the value that spoils the header there
    const int spoilers[][2] = {{14, 4}, {15, 1}, {16, 1}, {0, 108}, {7, 0x7F}, {7, 0xFF}, {4, 0}, {8, 0}};
    for (const auto& [offset, value] : spoilers) {
        auto bytes = good;
        bytes[offset] = static_cast<uint8_t>(value);
        ZDib256 bitmap(0);
        ASSERT_TRUE(bitmap.LoadFromBytes(good.data(), good.size()));
        EXPECT_FALSE(bitmap.LoadFromBytes(bytes.data(), bytes.size())) << offset << " = " << value;
        EXPECT_FALSE(bitmap.IsLoaded());
        EXPECT_EQ(std::tuple(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPitch()), std::tuple(0, 0, 0));
    }
    ZDib256 bitmap(0);
    EXPECT_FALSE(bitmap.LoadFromBytes(good.data(), good.size() - 1) ||
                 bitmap.LoadFromBytes(good.data(), 1063) || bitmap.LoadFromResource(65000) ||
                 bitmap.IsLoaded());
    ZDib256 palette(102);
    EXPECT_EQ(std::tuple(palette.GetWidth(), palette.GetHeight(), palette.GetPitch()), std::tuple(6, 6, 8));
}

}  // namespace
