#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A 64-bit FNV-1a hash: the same bytes in the same order always give the same value, on every machine.
class ZChecksum {
public:
    void Add(const uint8_t* bytes, size_t count);
    void Add(std::string_view bytes) { Add(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()); }
    // Many bytes eight at a time, read little-endian: several times quicker than Add, and a different value
    // for the same bytes. One differing eight-byte word always changes the value.
    void AddWords(const uint8_t* bytes, size_t count);
    // Little-endian, whatever the machine's order.
    void AddInt(int32_t value);
    uint64_t Get() const { return hash; }

private:
    uint64_t hash = 0xcbf29ce484222325ULL;
};
