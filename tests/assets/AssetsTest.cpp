#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "audio/ZSound.h"
#include "base/Resources.h"
#include "gfx/Display.h"
#include "gfx/ZDib256.h"

namespace {

// Every picture of the game: number, width and height.
const char* const kBitmaps =
    "102 6 6 104 14 264 105 11 684 106 11 684 107 640 448 109 38 160 110 32 32 111 38 160 112 32 32 113 32 "
    "32 "
    "114 38 160 115 38 160 116 32 32 117 15 480 118 15 480 119 38 40 120 32 21 121 22 22 126 38 41 127 38 41 "
    "128 38 41 129 38 41 131 16 32 135 17 56 136 17 56 137 55 29 138 120 30 139 82 30 140 185 35 141 140 140 "
    "143 22 408 144 172 105 145 38 164 146 50 200 148 278 51 149 32 38 150 231 47 151 31 35 153 422 54 "
    "155 297 195 156 114 582 157 44 44 158 44 264 159 38 40 160 220 220 161 220 220 162 220 220 163 220 220 "
    "164 40 26 165 500 332 166 186 445 167 204 462 168 212 244 169 212 243 170 60 780 171 38 160 172 46 368 "
    "173 20 180 186 640 1216 187 640 1216 188 640 1216 189 640 1216 190 398 297 191 354 298 192 260 298 "
    "193 260 298 199 374 174 200 640 238 201 374 174 202 640 32 203 71 29 205 128 54 206 12 216 207 16 32 "
    "210 63 132 211 120 480 212 100 100 213 63 132 214 259 48 216 60 60 217 11 204 218 16 17 219 19 48 "
    "221 471 52 225 50 46 226 288 17 227 320 128 229 166 29 230 191 29 231 110 70 232 193 35 233 23 84 "
    "234 52 1008 235 60 74 236 11 75 237 11 25 238 6 25 239 11 36 240 20 75 241 6 25 242 20 75 243 180 25 "
    "244 24 300 245 284 46 246 44 44 247 44 44 248 44 44 249 44 44 250 36 252 252 172 35";

// Every effect of the game with its length in hundredths of a second.
const char* const kSounds =
    "174 263 175 55 176 19 177 1113 178 48 179 253 180 6 181 49 182 49 183 51 184 182 185 55 194 97 195 101 "
    "196 107 197 90 198 56 220 25 222 68 223 150 224 166 228 897";

// The picture's pixels row by row from the top, one character each.
std::string Pixels(const ZDib256& bitmap) {
    std::string pixels;
    for (int y = bitmap.GetHeight() - 1; y >= 0; --y) {
        pixels.append(reinterpret_cast<const char*>(bitmap.GetBits()) + y * bitmap.GetPitch(),
                      bitmap.GetWidth());
    }
    return pixels;
}

uint32_t Read(const uint8_t* bytes, int count, bool bigEndian = false) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value |= static_cast<uint32_t>(bytes[i]) << 8 * (bigEndian ? count - 1 - i : i);
    }
    return value;
}

TEST(Assets, EveryPictureHasItsSizeAndTheSharedColourTableWithTheSystemColours) {
    std::istringstream table(kBitmaps);
    std::vector<uint32_t> ids;
    ResourceData first;
    ASSERT_TRUE(FindResource(ResourceType::Bitmap, 102, &first));
    for (int id, width, height; table >> id >> width >> height;) {
        ids.push_back(id);
        ZDib256 bitmap(static_cast<uint16_t>(id));
        ResourceData data;
        ASSERT_TRUE(bitmap.IsLoaded() && FindResource(ResourceType::Bitmap, id, &data)) << id;
        EXPECT_EQ(std::tuple(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.IsBottomUp()),
                  std::tuple(width, height, true))
            << id;
        EXPECT_EQ(std::memcmp(data.bytes + 40, first.bytes + 40, 1024), 0)
            << id << " has another colour table";
    }
    EXPECT_EQ(ListResources(ResourceType::Bitmap), ids);
    PaletteEntry palette[256];
    ZDib256(102).GetPaletteEntries(0, 256, palette);
    std::string system;
    for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255}) {
        system += std::to_string(palette[index].red) + "," + std::to_string(palette[index].green) + "," +
                  std::to_string(palette[index].blue) + " ";
    }
    EXPECT_EQ(
        system,
        "0,0,0 128,0,0 0,128,0 128,128,0 0,0,128 128,0,128 0,128,128 192,192,192 192,220,192 166,202,240 "
        "255,251,240 160,160,164 128,128,128 255,0,0 0,255,0 255,255,0 0,0,255 255,0,255 0,255,255 "
        "255,255,255 ");
}

TEST(Assets, PaintStampsFootprintsAndFontsUseExactlyTheirIndices) {
    const int paint[4] = {192, 23, 203, 65};
    for (int player = 0; player < 4; ++player) {
        for (int id : {std::vector{110, 116, 112, 113}[player], 246 + player, 160 + player}) {
            ZDib256 stamp(static_cast<uint16_t>(id));
            std::string pixels = Pixels(stamp);
            EXPECT_EQ(std::set<char>(pixels.begin(), pixels.end()),
                      (std::set<char>{pixels[0], char(paint[player])}))
                << "brush, wide brush and blot " << id << " hold their player's paint and the key";
            EXPECT_EQ(pixels[stamp.GetHeight() / 2 * stamp.GetWidth() + stamp.GetWidth() / 2],
                      char(paint[player]))
                << id;
        }
    }
    std::string field = Pixels(ZDib256(107));
    std::set<char> used(field.begin(), field.end());
    EXPECT_EQ(used.size(), 17u);
    for (int index : paint) {
        EXPECT_EQ(used.count(char(index)), 0u) << "the field holds no paint, so counting starts at zero";
    }
    // Footprints: opaque exactly inside their rectangle (inclusive).
    const std::array<int, 6> footprints[] = {{119, 38, 4, 16, 33, 37}, {157, 44, 3, 19, 40, 41}};
    for (const auto& [id, width, left, top, right, bottom] : footprints) {
        std::string pixels = Pixels(ZDib256(static_cast<uint16_t>(id)));
        for (size_t i = 0; i < pixels.size(); ++i) {
            int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
            ASSERT_EQ(pixels[i] != pixels[0], x >= left && x <= right && y >= top && y <= bottom)
                << id << " " << x << "," << y;
        }
    }
    for (int font : {105, 106}) {
        std::string pixels = Pixels(ZDib256(static_cast<uint16_t>(font)));
        EXPECT_EQ(pixels[0], char(249));
        for (int cell = 0; cell < 38; ++cell) {
            EXPECT_GT(std::count_if(pixels.begin() + cell * 198, pixels.begin() + cell * 198 + 198,
                                    [](char c) { return c != char(249); }),
                      4)
                << font << " cell " << cell << " draws something";
        }
    }
}

TEST(Assets, EveryEffectIsAudibleEightBitMonoPcmOfItsLength) {
    std::istringstream table(kSounds);
    std::vector<uint32_t> ids;
    for (int id, hundredths; table >> id >> hundredths;) {
        ids.push_back(id);
        ResourceData data;
        const uint8_t* samples = nullptr;
        uint32_t length = 0;
        ASSERT_TRUE(FindResource(ResourceType::Wave, id, &data) &&
                    ZSound::FindWaveData(data.bytes, data.size, &samples, &length));
        EXPECT_EQ(Read(data.bytes + 4, 4) + 8, data.size) << id;
        const uint8_t* format = std::search(data.bytes, data.bytes + data.size, "fmt ", "fmt " + 4) + 8;
        EXPECT_EQ(std::tuple(Read(format, 2), Read(format + 2, 2), Read(format + 4, 4), Read(format + 14, 2)),
                  std::tuple(1u, 1u, 22050u, 8u))
            << id << " is not 8-bit mono PCM at 22050 Hz";
        EXPECT_NEAR(length / 220.5, hundredths, hundredths * 0.25) << id;
        EXPECT_GT(std::count_if(samples, samples + length, [](uint8_t s) { return s < 96 || s > 160; }), 0)
            << id;
    }
    EXPECT_EQ(ListResources(ResourceType::Wave), ids);
}

TEST(Assets, EveryPieceIsAStandardMidiFileOfSixteenBarsOrMore) {
    for (const char* name : {"Music01.mid", "Music02.mid", "Music03.mid"}) {
        std::ifstream file(std::string(TINTORIX_SOURCE_DIR) + "/assets/music/" + name, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_TRUE(bytes.size() > 22 && std::memcmp(bytes.data(), "MThd", 4) == 0) << name;
        const uint32_t tracks = Read(&bytes[10], 2, true), division = Read(&bytes[12], 2, true);
        ASSERT_TRUE(tracks > 0 && division > 0 && division < 0x8000)
            << name << ": ticks per quarter expected";
        uint64_t longest = 0;
        size_t at = 8 + Read(&bytes[4], 4, true), found = 0;
        for (; at + 8 <= bytes.size(); ++found) {
            ASSERT_EQ(std::memcmp(&bytes[at], "MTrk", 4), 0) << name;
            const size_t end = at + 8 + Read(&bytes[at + 4], 4, true);
            ASSERT_LE(end, bytes.size()) << name;
            auto number = [&](size_t& p) {  // a variable-length quantity
                uint32_t value = 0;
                do {
                    value = value << 7 | (bytes[p] & 0x7F);
                } while (bytes[p++] & 0x80 && p < end);
                return value;
            };
            uint64_t ticks = 0;
            bool ended = false;
            for (size_t p = at + 8, status = 0; p < end && !ended;) {
                ticks += number(p);
                if (bytes[p] == 0xFF) {
                    ended = bytes[p + 1] == 0x2F;
                    p += 2;
                    p += number(p);
                } else if (bytes[p] == 0xF0 || bytes[p] == 0xF7) {
                    ++p;
                    p += number(p);
                } else {
                    status = bytes[p] & 0x80 ? bytes[p++] : status;
                    p +=
                        (status & 0xE0) == 0xC0 ? 1 : 2;  // program change and channel pressure take one byte
                }
            }
            EXPECT_TRUE(ended) << name << " track " << found << " has no end";
            longest = std::max(longest, ticks);
            at = end;
        }
        EXPECT_EQ(found, tracks) << name;
        EXPECT_GT(longest, uint64_t{division} * 4 * 16) << name;
    }
}

}  // namespace
