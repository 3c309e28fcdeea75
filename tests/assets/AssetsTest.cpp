#include <array>
#include <cstring>
#include <set>
#include <sstream>

#include "audio/ZSound.h"
#include "base/Resources.h"
#include "gfx/ZDib256.h"
#include "support/TestSupport.h"

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
std::string Pixels(int id) {
    ZDib256 bitmap(static_cast<uint16_t>(id));
    std::string pixels;
    for (int y = bitmap.GetHeight() - 1; y >= 0; --y) {
        pixels.append(reinterpret_cast<const char*>(bitmap.GetBits()) + y * bitmap.GetPitch(),
                      bitmap.GetWidth());
    }
    return pixels;
}

TEST(Assets, EveryPictureHasItsSizeAndTheSharedColourTable) {
    std::istringstream table(kBitmaps);
    std::vector<uint32_t> ids;
    ResourceData first, data;
    ASSERT_TRUE(FindResource(ResourceType::Bitmap, 102, &first));
    for (int id, width, height; table >> id >> width >> height; ids.push_back(id)) {
        ZDib256 bitmap(static_cast<uint16_t>(id));
        ASSERT_TRUE(bitmap.IsLoaded() && FindResource(ResourceType::Bitmap, id, &data)) << id;
        EXPECT_EQ(std::tuple(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.IsBottomUp(),
                             std::memcmp(data.bytes + 40, first.bytes + 40, 1024)),
                  std::tuple(width, height, true, 0))
            << id;
    }
    EXPECT_EQ(ListResources(ResourceType::Bitmap), ids);
    EXPECT_FALSE(FindResource(ResourceType::Bitmap, 103, &data) ||
                 FindResource(ResourceType::Wave, 102, &data));
}

TEST(Assets, StampsHoldOnlyTheirPlayersPaintFootprintsFillTheirRectangleAndTheFieldHoldsNoPaint) {
    const char paint[4] = {char(192), char(23), char(203), char(65)};
    for (int player = 0; player < 4; ++player) {
        for (int id : {std::vector{110, 116, 112, 113}[player], 246 + player, 160 + player}) {
            std::string pixels = Pixels(id);
            EXPECT_EQ(std::set<char>(pixels.begin(), pixels.end()),
                      (std::set<char>{pixels[0], paint[player]}))
                << id;
        }
    }
    std::string field = Pixels(107);
    EXPECT_EQ(std::set<char>(field.begin(), field.end()).size(), 17u);
    // Counting starts from a field without paint.
    EXPECT_EQ(field.find_first_of(paint, 0, 4), std::string::npos);
    // Footprints are opaque exactly inside their rectangle.
    for (const auto& [id, width, left, top, right, bottom] :
         {std::array{119, 38, 4, 16, 33, 37}, {157, 44, 3, 19, 40, 41}}) {
        std::string pixels = Pixels(id), wrong;
        for (int i = 0, x = 0, y = 0; i < static_cast<int>(pixels.size()); x = ++i % width, y = i / width) {
            wrong +=
                (x >= left && x <= right && y >= top && y <= bottom) == (pixels[i] != pixels[0]) ? "" : "x";
        }
        EXPECT_EQ(wrong, "") << id;
    }
    EXPECT_EQ(Pixels(105)[0] + Pixels(106)[0], 2 * char(249)) << "both fonts are keyed with pure red";
}

TEST(Assets, EveryEffectIsAudibleAndLastsItsLengthAsEightBitSamplesAt22050Hz) {
    std::istringstream table(kSounds);
    std::vector<uint32_t> ids;
    for (int id, hundredths; table >> id >> hundredths; ids.push_back(id)) {
        ResourceData data;
        const uint8_t* samples = nullptr;
        uint32_t length = 0;
        ASSERT_TRUE(FindResource(ResourceType::Wave, id, &data) &&
                    ZSound::FindWaveData(data.bytes, data.size, &samples, &length));
        EXPECT_NEAR(length / 220.5, hundredths, hundredths * 0.25) << id;
        EXPECT_GT(std::count_if(samples, samples + length, [](uint8_t s) { return s < 96 || s > 160; }), 0)
            << id;
    }
    EXPECT_EQ(ListResources(ResourceType::Wave), ids);
}

}  // namespace
