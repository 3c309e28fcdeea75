#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "base/Resources.h"
#include "gfx/Display.h"
#include "gfx/ZDib256.h"

namespace {

struct Size {
    int width;
    int height;
};

// Every picture of the game with its size.
const std::map<int, Size> kBitmaps = {
    {102, {6, 6}},      {104, {14, 264}},   {105, {11, 684}},   {106, {11, 684}},   {107, {640, 448}},
    {109, {38, 160}},   {110, {32, 32}},    {111, {38, 160}},   {112, {32, 32}},    {113, {32, 32}},
    {114, {38, 160}},   {115, {38, 160}},   {116, {32, 32}},    {117, {15, 480}},   {118, {15, 480}},
    {119, {38, 40}},    {120, {32, 21}},    {121, {22, 22}},    {126, {38, 41}},    {127, {38, 41}},
    {128, {38, 41}},    {129, {38, 41}},    {131, {16, 32}},    {135, {17, 56}},    {136, {17, 56}},
    {137, {55, 29}},    {138, {120, 30}},   {139, {82, 30}},    {140, {185, 35}},   {141, {140, 140}},
    {143, {22, 408}},   {144, {172, 105}},  {145, {38, 164}},   {146, {50, 200}},   {148, {278, 51}},
    {149, {32, 38}},    {150, {231, 47}},   {151, {31, 35}},    {153, {422, 54}},   {155, {297, 195}},
    {156, {114, 582}},  {157, {44, 44}},    {158, {44, 264}},   {159, {38, 40}},    {160, {220, 220}},
    {161, {220, 220}},  {162, {220, 220}},  {163, {220, 220}},  {164, {40, 26}},    {165, {500, 332}},
    {166, {186, 445}},  {167, {204, 462}},  {168, {212, 244}},  {169, {212, 243}},  {170, {60, 780}},
    {171, {38, 160}},   {172, {46, 368}},   {173, {20, 180}},   {186, {640, 1216}}, {187, {640, 1216}},
    {188, {640, 1216}}, {189, {640, 1216}}, {190, {398, 297}},  {191, {354, 298}},  {192, {260, 298}},
    {193, {260, 298}},  {199, {374, 174}},  {200, {640, 238}},  {201, {374, 174}},  {202, {640, 32}},
    {203, {71, 29}},    {205, {128, 54}},   {206, {12, 216}},   {207, {16, 32}},    {210, {63, 132}},
    {211, {120, 480}},  {212, {100, 100}},  {213, {63, 132}},   {214, {259, 48}},   {216, {60, 60}},
    {217, {11, 204}},   {218, {16, 17}},    {219, {19, 48}},    {221, {471, 52}},   {225, {50, 46}},
    {226, {288, 17}},   {227, {320, 128}},  {229, {166, 29}},   {230, {191, 29}},   {231, {110, 70}},
    {232, {193, 35}},   {233, {23, 84}},    {234, {52, 1008}},  {235, {60, 74}},    {236, {11, 75}},
    {237, {11, 25}},    {238, {6, 25}},     {239, {11, 36}},    {240, {20, 75}},    {241, {6, 25}},
    {242, {20, 75}},    {243, {180, 25}},   {244, {24, 300}},   {245, {284, 46}},   {246, {44, 44}},
    {247, {44, 44}},    {248, {44, 44}},    {249, {44, 44}},    {250, {36, 252}},   {252, {172, 35}},
};

// The picture's pixel at (x, y) counted from the top.
uint8_t PixelAt(const ZDib256& bitmap, int x, int y) {
    return bitmap.GetBits()[static_cast<size_t>(bitmap.GetHeight() - 1 - y) * bitmap.GetPitch() + x];
}

std::set<uint8_t> IndicesOf(const ZDib256& bitmap) {
    std::set<uint8_t> used;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            used.insert(PixelAt(bitmap, x, y));
        }
    }
    return used;
}

// Opaque exactly inside the rectangle (inclusive), the key elsewhere.
void ExpectMask(int id, int left, int top, int right, int bottom) {
    ZDib256 mask(static_cast<uint16_t>(id));
    ASSERT_TRUE(mask.IsLoaded());
    uint8_t key = PixelAt(mask, 0, 0);
    for (int y = 0; y < mask.GetHeight(); ++y) {
        for (int x = 0; x < mask.GetWidth(); ++x) {
            bool inside = x >= left && x <= right && y >= top && y <= bottom;
            ASSERT_EQ(PixelAt(mask, x, y) != key, inside) << id << " at " << x << "," << y;
        }
    }
}

}  // namespace

TEST(BitmapAssets, EveryPictureIsEmbeddedWithItsSizeFormatAndTheSharedTable) {
    EXPECT_EQ(ListResources(ResourceType::Bitmap).size(), kBitmaps.size());
    ResourceData first;
    ASSERT_TRUE(FindResource(ResourceType::Bitmap, 102, &first));
    ASSERT_GE(first.size, 1064u);
    for (const auto& [id, size] : kBitmaps) {
        ResourceData data;
        ASSERT_TRUE(FindResource(ResourceType::Bitmap, id, &data)) << id;
        ZDib256 bitmap(static_cast<uint16_t>(id));
        ASSERT_TRUE(bitmap.IsLoaded()) << id;
        EXPECT_EQ(bitmap.GetWidth(), size.width) << id;
        EXPECT_EQ(bitmap.GetHeight(), size.height) << id;
        EXPECT_TRUE(bitmap.IsBottomUp()) << id;
        EXPECT_EQ(std::memcmp(data.bytes + 40, first.bytes + 40, 1024), 0) << id << " has another colour table";
    }
    PaletteEntry palette[256];
    ZDib256(102).GetPaletteEntries(0, 256, palette);
    const uint8_t system[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                   {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                   {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                                   {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                                   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (int i = 0; i < 20; ++i) {
        int index = i < 10 ? i : 236 + i;
        EXPECT_EQ(palette[index].red, system[i][0]) << index;
        EXPECT_EQ(palette[index].green, system[i][1]) << index;
        EXPECT_EQ(palette[index].blue, system[i][2]) << index;
    }
}

TEST(BitmapAssets, PaintStampsHoldExactlyTheirPaintIndexAndKey) {
    const int paint[4] = {192, 23, 203, 65};
    const int brushes[4] = {110, 116, 112, 113};
    const int wide[4] = {246, 247, 248, 249};
    const int blots[4] = {160, 161, 162, 163};
    for (int player = 0; player < 4; ++player) {
        for (int id : {brushes[player], wide[player], blots[player]}) {
            ZDib256 stamp(static_cast<uint16_t>(id));
            ASSERT_TRUE(stamp.IsLoaded()) << id;
            uint8_t key = PixelAt(stamp, 0, 0);
            EXPECT_EQ(PixelAt(stamp, stamp.GetWidth() / 2, stamp.GetHeight() / 2), paint[player]) << id;
            EXPECT_EQ(IndicesOf(stamp), (std::set<uint8_t>{key, static_cast<uint8_t>(paint[player])})) << id;
        }
    }
}

TEST(BitmapAssets, TheFieldUsesSeventeenIndicesAndNoPaint) {
    ZDib256 field(107);
    ASSERT_TRUE(field.IsLoaded());
    std::set<uint8_t> used = IndicesOf(field);
    EXPECT_EQ(used.size(), 17u);
    for (uint8_t paint : {192, 23, 203, 65}) {
        EXPECT_EQ(used.count(paint), 0u) << int(paint);
    }
}

TEST(BitmapAssets, FootprintMasksAndFontKeysAreExact) {
    ExpectMask(119, 4, 16, 33, 37);
    ExpectMask(157, 3, 19, 40, 41);
    for (int font : {105, 106}) {
        ZDib256 sheet(static_cast<uint16_t>(font));
        ASSERT_TRUE(sheet.IsLoaded());
        EXPECT_EQ(PixelAt(sheet, 0, 0), 249) << font;
        // Every glyph cell draws something.
        for (int cell = 0; cell < 38; ++cell) {
            int opaque = 0;
            for (int y = cell * 18; y < cell * 18 + 18; ++y) {
                for (int x = 0; x < 11; ++x) {
                    opaque += PixelAt(sheet, x, y) != 249;
                }
            }
            EXPECT_GT(opaque, 4) << font << " cell " << cell;
        }
    }
}
