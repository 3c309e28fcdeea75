#include "base/ZString.h"

#include <cstring>

ZString::ZString() : buffer(new char[1]{0}) {}

ZString::ZString(char c) : buffer(new char[2]{c, 0}) {}

ZString::ZString(const char* text) : buffer(nullptr) {
    Assign(text ? text : "", text ? static_cast<int>(std::strlen(text)) : 0);
}

ZString::ZString(const ZString& other) : buffer(nullptr) { Assign(other.buffer, other.GetLength()); }

ZString& ZString::operator=(const ZString& other) {
    if (this != &other) {
        Assign(other.buffer, other.GetLength());
    }
    return *this;
}

ZString::~ZString() { delete[] buffer; }

void ZString::Assign(const char* text, int length) {
    char* fresh = new char[length + 1];
    std::memcpy(fresh, text, length);
    fresh[length] = 0;
    delete[] buffer;
    buffer = fresh;
}

int ZString::GetLength() const { return static_cast<int>(std::strlen(buffer)); }

void ZString::Append(char c) {
    if (c == 0) {
        return;  // a zero byte would end the text
    }
    int length = GetLength();
    char* fresh = new char[length + 2];
    std::memcpy(fresh, buffer, length);
    fresh[length] = c;
    fresh[length + 1] = 0;
    delete[] buffer;
    buffer = fresh;
}

void ZString::Append(const ZString& other) {
    int length = GetLength();
    int extra = other.GetLength();
    char* fresh = new char[length + extra + 1];
    std::memcpy(fresh, buffer, length);
    std::memcpy(fresh + length, other.buffer, extra + 1);
    delete[] buffer;
    buffer = fresh;
}

ZString ZString::operator+(const ZString& other) const {
    ZString result(*this);
    result.Append(other);
    return result;
}

int ZString::Find(char c, int start) const {
    int length = GetLength();
    if (start < 0 || start >= length || c == 0) {
        return -1;
    }
    const char* hit = std::strchr(buffer + start, c);
    return hit ? static_cast<int>(hit - buffer) : -1;
}

ZString ZString::Mid(int first, int last) const {
    int length = GetLength();
    ZString result;
    if (first < 0 || first >= length || first > last) {
        return result;
    }
    int end = last >= length ? length - 1 : last;
    result.Assign(buffer + first, end - first + 1);
    return result;
}

void ZString::Trim(int mode, char c) {
    int length = GetLength();
    if (length > 0 && (mode == 0 || mode == 2)) {
        int count = 0;
        while (count < length && buffer[count] == c) {
            ++count;
        }
        if (count == length) {
            Assign("", 0);
        } else if (count > 0) {
            *this = Mid(count, length - 1);
        }
    }
    length = GetLength();
    if (length > 0 && (mode == 1 || mode == 2)) {
        int index = length - 1;
        while (index >= 0 && buffer[index] == c) {
            --index;
        }
        if (index < 0) {
            Assign("", 0);
        } else if (index < length - 1) {
            *this = Mid(0, index);
        }
    }
}

bool ZString::operator==(const ZString& other) const { return std::strcmp(buffer, other.buffer) == 0; }
