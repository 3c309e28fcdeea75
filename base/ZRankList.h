#pragma once

#include <cstdint>

#include "base/ZBaseList.h"
#include "base/ZRankItem.h"
#include "base/ZStringList.h"

// The high-score table, best first; its length is fixed at construction.
class ZRankList {
public:
    explicit ZRankList(uint32_t count);
    ZRankList(const ZRankList&) = delete;
    ZRankList& operator=(const ZRankList&) = delete;
    virtual ~ZRankList();

    uint32_t GetCount() const { return entries.GetCount(); }
    ZRankItem& GetItem(uint32_t index) const;

    void FillDefaults(const ZString& name, uint32_t firstScore, uint32_t step);
    // The rank the item's score would take, or -1: equal scores rank below the existing one.
    int FindRank(const ZRankItem& item) const;
    void Insert(const ZRankItem& item);
    void ToStringList(ZStringList& lines) const;
    void FromStringList(const ZStringList& lines);
    void SaveToRegistry(const char* keyPath);
    void LoadFromRegistry(const char* keyPath);

private:
    ZBaseList entries;
};
