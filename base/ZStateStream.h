#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

// A round's state as bytes: written field by field, read back in the same order. Its buffer is kept when
// it is written again, so a snapshot a frame costs copies, not allocations.
class ZStateStream {
public:
    void StartWriting() {
        bytes.clear();
        readAt = 0;
    }
    void StartReading() { readAt = 0; }
    size_t GetSize() const { return bytes.size(); }

    void PutBytes(const void* data, size_t count) {
        const auto* from = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), from, from + count);
    }
    // False, with nothing read, when fewer bytes are left.
    bool GetBytes(void* data, size_t count) {
        if (bytes.size() - readAt < count) {
            return false;
        }
        std::memcpy(data, bytes.data() + readAt, count);
        readAt += count;
        return true;
    }
    void Skip(size_t count) { readAt += std::min(count, bytes.size() - readAt); }
    template <typename... T>
    void Put(const T&... values) {
        static_assert((std::is_trivially_copyable_v<T> && ...));
        (PutBytes(&values, sizeof(T)), ...);
    }
    template <typename... T>
    void Get(T&... values) {
        static_assert((std::is_trivially_copyable_v<T> && ...));
        (GetBytes(&values, sizeof(T)), ...);
    }

private:
    std::vector<uint8_t> bytes;
    size_t readAt = 0;
};
