#pragma once

#include "base/ZBaseList.h"
#include "base/ZString.h"

// A list of owned strings, in insertion order.
class ZStringList {
public:
    ZStringList() = default;
    ZStringList(const ZStringList&) = delete;
    ZStringList& operator=(const ZStringList&) = delete;
    virtual ~ZStringList();

    void Add(const ZString& text);
    ZString& GetAt(uint32_t index) const;
    uint32_t GetCount() const { return strings.GetCount(); }
    void Clear();

private:
    ZBaseList strings;
};
