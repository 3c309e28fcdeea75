#pragma once

#include <cstdint>

#include "base/ZString.h"

// One high-score entry.
class ZRankItem {
public:
    ZRankItem() = default;
    ZRankItem(const ZString& name, uint32_t score) : score(score), name(name) {}
    ZRankItem(const ZRankItem&) = default;
    ZRankItem& operator=(const ZRankItem&) = default;
    virtual ~ZRankItem() = default;

    uint32_t& GetScore() { return score; }
    const uint32_t& GetScore() const { return score; }
    void SetScore(uint32_t value) { score = value; }
    ZString& GetName() { return name; }
    const ZString& GetName() const { return name; }
    void SetName(const ZString& value) { name = value; }

private:
    uint32_t score = 0;
    ZString name;
};
