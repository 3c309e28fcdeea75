#include "base/ZChecksum.h"

#include <bit>
#include <cstring>

void ZChecksum::Add(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
    }
}

void ZChecksum::AddInt(int32_t value) {
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    }
    Add(bytes, 4);
}

void ZChecksum::AddWords(const uint8_t* bytes, size_t count) {
    size_t whole = count - count % 8;
    for (size_t i = 0; i < whole; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        if constexpr (std::endian::native == std::endian::big) {
            word = __builtin_bswap64(word);
        }
        // Each step is one-to-one in the hash, so a single different word is never lost; the turn spreads
        // its high bits into the low ones.
        hash = std::rotl(hash ^ word, 23) * 0x100000001b3ULL;
    }
    Add(bytes + whole, count - whole);
}
