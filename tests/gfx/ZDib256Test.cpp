#include <tuple>

#include "gfx/Display.h"
#include "gfx/ZDib256.h"
#include "support/TestSupport.h"

static std::tuple<int, int, int> Size(const ZDib256& bitmap) {
    return {bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPitch()};
}

TEST(ZDib256, LoadsHeaderColourTableAndRowsAsStoredRowsPaddedToFourBytes) {
    auto picture = MakeBitmapResource(6, 3, [](int x, int y) { return static_cast<uint8_t>(10 * y + x); });
    auto tall = MakeBitmapResource(2, 9, [](int, int) { return 4; });
    ZDib256 bitmap(102);
    EXPECT_EQ(Size(bitmap), std::tuple(6, 6, 8));
    ASSERT_TRUE(bitmap.LoadFromBytes(picture.data(), picture.size()));
    PaletteEntry entries[3];
    bitmap.GetPaletteEntries(9, 3,
                             entries);  // the test table holds blue i / 2, green 255 - i, red i at index i
    EXPECT_EQ(std::tuple(Size(bitmap), bitmap.GetBits()[0], bitmap.GetBits()[8 * 2 + 5], entries[1].red,
                         entries[1].green, entries[1].blue, entries[1].flags),
              std::tuple(std::tuple(6, 3, 8), 20, 5, 10, 245, 5, 0))
        << "the first stored row is the bottom row";
    ASSERT_TRUE(bitmap.LoadFromBytes(tall.data(), tall.size()));
    EXPECT_EQ(Size(bitmap), std::tuple(2, 9, 4)) << "a second load replaces the first";
    for (const auto& [width, pitch] :
         {std::pair(11, 12), std::pair(1, 4), std::pair(640, 640), std::pair(13, 16)}) {
        EXPECT_EQ(ZDib256::ComputePitch(8, width), pitch) << width;
    }
}

TEST(ZDib256, RefusesOtherFormatsAndCutResourcesAndIsEmptyAfterwards) {
    auto good = MakeBitmapResource(4, 4, [](int, int) { return 1; });
    // byte offset and the value that spoils the header there
    const int spoilers[][2] = {{14, 4}, {15, 1}, {16, 1}, {0, 108}, {4, 0}, {7, 0x80}, {8, 0}};
    for (const auto& [offset, value] : spoilers) {
        auto bytes = good;
        bytes[offset] = static_cast<uint8_t>(value);
        ZDib256 bitmap(102);
        EXPECT_FALSE(bitmap.LoadFromBytes(bytes.data(), bytes.size()) || bitmap.IsLoaded())
            << offset << " = " << value;
        EXPECT_EQ(Size(bitmap), std::tuple(0, 0, 0));
    }
    ZDib256 bitmap(0);
    EXPECT_FALSE(bitmap.LoadFromBytes(good.data(), good.size() - 1) || bitmap.LoadFromResource(65000) ||
                 bitmap.IsLoaded());
}
