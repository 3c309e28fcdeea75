#include "base/ZChecksum.h"

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
