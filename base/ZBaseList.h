#pragma once

#include <cstdint>

// Singly linked list of pointer-sized values; it owns its nodes, never what the values point to.
class ZBaseList {
public:
    ZBaseList() = default;
    ZBaseList(const ZBaseList&) = delete;
    ZBaseList& operator=(const ZBaseList&) = delete;
    virtual ~ZBaseList();

    void Add(void* value);
    // The caller keeps index below the count.
    void* GetAt(uint32_t index) const;
    uint32_t GetCount() const { return count; }
    void Clear();

private:
    struct Node {
        void* value;
        Node* next;
    };
    uint32_t count = 0;
    Node* head = nullptr;
};
