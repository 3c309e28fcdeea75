#include "base/ZBaseList.h"

ZBaseList::~ZBaseList() { Clear(); }

void ZBaseList::Add(void* value) {
    Node* node = new Node{value, nullptr};
    if (!head) {
        head = node;
    } else {
        Node* last = head;
        while (last->next) {
            last = last->next;
        }
        last->next = node;
    }
    ++count;
}

void* ZBaseList::GetAt(uint32_t index) const {
    Node* node = head;
    for (uint32_t i = 0; i < index && node; ++i) {
        node = node->next;
    }
    return node ? node->value : nullptr;
}

void ZBaseList::Clear() {
    while (head) {
        Node* next = head->next;
        delete head;
        head = next;
    }
    count = 0;
}
