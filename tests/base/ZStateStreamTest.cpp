#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "base/ZStateStream.h"

// A snapshot written again into the same stream keeps the longer one's buffer: reading it gives back exactly
// what the last writing put, and nothing of the older state beyond it.
TEST(ZStateStream, WrittenAgainItReadsBackOnlyTheLatestState) {
    ZStateStream stream;
    const uint8_t longer[12] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    stream.StartWriting();
    stream.PutBytes(longer, sizeof longer);
    for (int32_t value : {7, -3}) {
        stream.StartWriting();
        stream.Put(value, static_cast<uint8_t>(value + 1));
        stream.StartReading();
        int32_t read = 0;
        uint8_t next = 0;
        stream.Get(read, next);
        uint8_t beyond = 0;
        EXPECT_EQ(std::tuple(stream.GetSize(), read, int(next), stream.GetBytes(&beyond, 1)),
                  std::tuple(size_t{5}, value, int(uint8_t(value + 1)), false));
        stream.StartReading();
        stream.Skip(100);
        EXPECT_FALSE(stream.GetBytes(&beyond, 1)) << "a skip stops at the end of what was written";
    }
}
