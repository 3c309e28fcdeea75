#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "base/Resources.h"

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint32_t BigU32(const uint8_t* p) { return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// Seconds each effect should last.
const std::map<int, double> kLengths = {
    {174, 2.63}, {175, 0.55}, {176, 0.19}, {177, 11.13}, {178, 0.48}, {179, 2.53}, {180, 0.06}, {181, 0.49},
    {182, 0.49}, {183, 0.51}, {184, 1.82}, {185, 0.55},  {194, 0.97}, {195, 1.01}, {196, 1.07}, {197, 0.90},
    {198, 0.56}, {220, 0.25}, {222, 0.68}, {223, 1.50},  {224, 1.66}, {228, 8.97}};

}  // namespace

TEST(SoundAssets, EveryEffectIsEightBitMonoPcmOfItsLength) {
    EXPECT_EQ(ListResources(ResourceType::Wave).size(), kLengths.size());
    for (const auto& [id, seconds] : kLengths) {
        ResourceData data;
        ASSERT_TRUE(FindResource(ResourceType::Wave, id, &data)) << id;
        ASSERT_GE(data.size, 12u);
        ASSERT_EQ(std::memcmp(data.bytes, "RIFF", 4), 0) << id;
        ASSERT_EQ(std::memcmp(data.bytes + 8, "WAVE", 4), 0) << id;
        EXPECT_EQ(U32(data.bytes + 4) + 8, data.size) << id;
        const uint8_t* format = nullptr;
        uint32_t samples = 0;
        int loud = 0;
        for (size_t at = 12; at + 8 <= data.size;) {
            uint32_t size = U32(data.bytes + at + 4);
            ASSERT_LE(at + 8 + size, data.size) << id;
            if (std::memcmp(data.bytes + at, "fmt ", 4) == 0) {
                format = data.bytes + at + 8;
            } else if (std::memcmp(data.bytes + at, "data", 4) == 0) {
                samples = size;
                for (uint32_t i = 0; i < size; ++i) {
                    loud += std::abs(data.bytes[at + 8 + i] - 128) > 32;
                }
            }
            at += 8 + size + (size & 1);
        }
        ASSERT_NE(format, nullptr) << id;
        EXPECT_EQ(format[0] | (format[1] << 8), 1) << id;       // PCM
        EXPECT_EQ(format[2] | (format[3] << 8), 1) << id;       // mono
        EXPECT_EQ(U32(format + 4), 22050u) << id;
        EXPECT_EQ(format[14] | (format[15] << 8), 8) << id;     // bits per sample
        EXPECT_NEAR(samples / 22050.0, seconds, seconds * 0.25) << id;
        EXPECT_GT(loud, 0) << id << " is silent";
    }
}

TEST(MusicAssets, EveryPieceIsAStandardMidiFileThatLasts) {
    for (const char* name : {"Music01.mid", "Music02.mid", "Music03.mid"}) {
        std::ifstream file(std::string(TINTORIX_SOURCE_DIR) + "/assets/music/" + name, std::ios::binary);
        ASSERT_TRUE(file) << name;
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_GE(bytes.size(), 14u);
        ASSERT_EQ(std::memcmp(bytes.data(), "MThd", 4), 0) << name;
        uint16_t tracks = static_cast<uint16_t>(bytes[10] << 8 | bytes[11]);
        uint16_t division = static_cast<uint16_t>(bytes[12] << 8 | bytes[13]);
        ASSERT_GT(tracks, 0);
        ASSERT_GT(division, 0);
        ASSERT_EQ(division & 0x8000, 0) << "ticks per quarter expected";
        size_t at = 8 + BigU32(bytes.data() + 4);
        uint64_t longest = 0;
        int found = 0;
        while (at + 8 <= bytes.size()) {
            ASSERT_EQ(std::memcmp(bytes.data() + at, "MTrk", 4), 0) << name;
            uint32_t length = BigU32(bytes.data() + at + 4);
            size_t p = at + 8;
            size_t end = p + length;
            ASSERT_LE(end, bytes.size());
            uint64_t ticks = 0;
            bool endOfTrack = false;
            uint8_t status = 0;
            while (p < end && !endOfTrack) {
                uint32_t delta = 0;
                do {
                    delta = (delta << 7) | (bytes[p] & 0x7F);
                } while (bytes[p++] & 0x80 && p < end);
                ticks += delta;
                uint8_t byte = bytes[p];
                if (byte == 0xFF) {
                    uint8_t type = bytes[p + 1];
                    p += 2;
                    uint32_t size = 0;
                    do {
                        size = (size << 7) | (bytes[p] & 0x7F);
                    } while (bytes[p++] & 0x80);
                    endOfTrack = type == 0x2F;
                    p += size;
                } else if (byte == 0xF0 || byte == 0xF7) {
                    ++p;
                    uint32_t size = 0;
                    do {
                        size = (size << 7) | (bytes[p] & 0x7F);
                    } while (bytes[p++] & 0x80);
                    p += size;
                } else {
                    if (byte & 0x80) {
                        status = byte;
                        ++p;
                    }
                    uint8_t kind = status & 0xF0;
                    p += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                }
            }
            EXPECT_TRUE(endOfTrack) << name << " track " << found;
            longest = std::max(longest, ticks);
            ++found;
            at = end;
        }
        EXPECT_EQ(found, tracks) << name;
        EXPECT_GT(longest, static_cast<uint64_t>(division) * 4 * 16) << name << " lasts at least 16 bars";
    }
}
