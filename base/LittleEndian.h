#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Numbers in files and packets are little-endian, whatever the machine's order.
inline void PutLittleEndian(std::string& out, uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<char>(value >> (8 * i)));
    }
}

// Bytes past the end read as zeros.
inline uint64_t GetLittleEndian(std::string_view bytes, size_t at, int size) {
    uint64_t value = 0;
    for (int i = 0; i < size && at + i < bytes.size(); ++i) {
        value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    }
    return value;
}
