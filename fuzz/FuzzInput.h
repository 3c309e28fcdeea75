#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/ZChecksum.h"

// The fuzzer's bytes as the targets read them: chunks each behind a head byte whose low bits give its
// length, words split at NUL bytes, or a file sealed with the hash a writer would give it.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    // The next chunk, at most lengthMask bytes long; false at the end.
    bool Next(uint8_t lengthMask, uint8_t* head, std::string* bytes) {
        if (at + 1 >= size) {
            return false;
        }
        *head = data[at++];
        size_t length = *head & lengthMask;
        length = length < size - at ? length : size - at;
        bytes->assign(reinterpret_cast<const char*>(data + at), length);
        at += length;
        return true;
    }

    // A program's name and then up to 23 words.
    std::vector<std::string> Words() const {
        std::vector<std::string> words = {"program"};
        for (size_t from = 0; from < size && words.size() < 24;) {
            const void* end = std::memchr(data + from, 0, size - from);
            size_t length =
                end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - (data + from)) : size - from;
            words.emplace_back(reinterpret_cast<const char*>(data + from), length);
            from += length + 1;
        }
        return words;
    }

    // What main takes, the last one null.
    static std::vector<char*> Pointers(std::vector<std::string>& words) {
        std::vector<char*> pointers;
        for (std::string& word : words) {
            pointers.push_back(word.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    static std::string Sealed(const std::string& bytes) {
        ZChecksum hash;
        hash.Add(bytes);
        std::string sealed = bytes;
        for (int i = 0; i < 8; ++i) {
            sealed.push_back(static_cast<char>(hash.Get() >> (8 * i)));
        }
        return sealed;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};
