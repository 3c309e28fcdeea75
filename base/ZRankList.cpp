#include "base/ZRankList.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/ZWinReg.h"

ZRankList::ZRankList(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        entries.Add(new ZRankItem());
    }
}

ZRankList::~ZRankList() {
    for (uint32_t i = 0; i < entries.GetCount(); ++i) {
        delete static_cast<ZRankItem*>(entries.GetAt(i));
    }
    entries.Clear();
}

ZRankItem& ZRankList::GetItem(uint32_t index) const { return *static_cast<ZRankItem*>(entries.GetAt(index)); }

void ZRankList::FillDefaults(const ZString& name, uint32_t firstScore, uint32_t step) {
    uint32_t score = firstScore;
    for (uint32_t i = 0; i < GetCount(); ++i) {
        if (i > 0) {
            score = score > step ? score - step : 0;
        }
        GetItem(i).SetName(name);
        GetItem(i).SetScore(score);
    }
}

int ZRankList::FindRank(const ZRankItem& item) const {
    for (uint32_t i = 0; i < GetCount(); ++i) {
        if (GetItem(i).GetScore() < item.GetScore()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ZRankList::Insert(const ZRankItem& item) {
    int rank = FindRank(item);
    if (rank < 0) {
        return;
    }
    // A copy first: the item may be one of the entries that the shift overwrites.
    ZRankItem entry(item);
    for (int i = static_cast<int>(GetCount()) - 2; i >= rank; --i) {
        GetItem(i + 1) = GetItem(i);
    }
    GetItem(rank) = entry;
}

void ZRankList::ToStringList(ZStringList& lines) const {
    lines.Clear();
    for (uint32_t i = 0; i < GetCount(); ++i) {
        char score[16];
        int digits = std::snprintf(score, sizeof score, "%u", GetItem(i).GetScore());
        ZString line = GetItem(i).GetName();
        // A stored line must stay under 255 characters, or the next start refuses the whole table: a
        // name that only a hand edit can make that long is cut to fit.
        int room = 254 - 1 - digits;
        if (line.GetLength() > room) {
            line = line.Mid(0, room - 1);
        }
        line.Append(',');
        line.Append(ZString(score));
        lines.Add(line);
    }
}

void ZRankList::FromStringList(const ZStringList& lines) {
    if (lines.GetCount() != GetCount()) {
        return;
    }
    for (uint32_t i = 0; i < GetCount(); ++i) {
        const ZString& line = lines.GetAt(i);
        int comma = line.Find(',', 0);
        if (comma >= 0) {
            GetItem(i).SetName(comma == 0 ? ZString() : line.Mid(0, comma - 1));
            // atol's rules (blanks, a sign, digits), stored as unsigned; numbers beyond what a score can
            // hold saturate instead of wrapping round to small ones.
            const char* text = line.GetBuffer() + comma + 1;
            long long value = std::strtoll(text, nullptr, 10);
            value = std::clamp<long long>(value, INT32_MIN, UINT32_MAX);
            GetItem(i).SetScore(static_cast<uint32_t>(value));
        } else {
            GetItem(i).SetName(ZString("ERROR"));
            GetItem(i).SetScore(0);
        }
    }
}

void ZRankList::SaveToRegistry(const char* keyPath) {
    ZStringList lines;
    ToStringList(lines);
    ZWinReg key;
    if (!key.Create(RegistryRoot::CurrentUser, keyPath)) {
        return;
    }
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Rank%02lu", static_cast<unsigned long>(i + 1));
        key.SetString(name, lines.GetAt(i));
    }
    // Values past the table would make every later load refuse the set, and the table could never
    // be kept again: they go.
    for (unsigned long i = lines.GetCount() + 1;; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Rank%02lu", i);
        if (!key.DeleteValue(name)) {
            break;
        }
    }
    key.Close();
}

void ZRankList::LoadFromRegistry(const char* keyPath) {
    ZWinReg key;
    if (!key.Create(RegistryRoot::CurrentUser, keyPath)) {
        return;
    }
    ZStringList lines;
    // Reads on past the table's length, so that an extra value is noticed and the set refused.
    for (unsigned long i = 0; i < 100000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Rank%02lu", i + 1);
        ZString value;
        if (!key.GetString(name, value)) {
            break;
        }
        lines.Add(value);
    }
    FromStringList(lines);
}
