#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

// A round's state as bytes: written field by field, read back in the same order. Its buffer is kept, at
// its largest, when it is written again, so a snapshot a frame costs a copy of each field and nothing more.
class ZStateStream {
public:
    void StartWriting() {
        size = 0;
        readAt = 0;
    }
    void StartReading() { readAt = 0; }
    size_t GetSize() const { return size; }

    void PutBytes(const void* data, size_t count) {
        if (count == 0) {
            return;
        }
        if (bytes.size() - size < count) {
            bytes.resize(size + count);
        }
        std::memcpy(bytes.data() + size, data, count);
        size += count;
    }
    // False, with nothing read, when fewer bytes are left.
    bool GetBytes(void* data, size_t count) {
        if (size - readAt < count) {
            return false;
        }
        std::memcpy(data, bytes.data() + readAt, count);
        readAt += count;
        return true;
    }
    void Skip(size_t count) { readAt += std::min(count, size - readAt); }
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
    // The bytes written since StartWriting; the buffer beyond them holds an older, longer state.
    size_t size = 0;
    size_t readAt = 0;
};
