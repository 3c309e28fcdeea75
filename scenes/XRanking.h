#pragma once

#include <cstdint>
#include <memory>

#include "gfx/ZAscii.h"
#include "gfx/ZNumber.h"
#include "gfx/ZSprite256.h"
#include "scenes/XFrontEnd.h"

class XAppData;

// The high-score table with START (a ranking round) and BACK (the title).
class XRanking {
public:
    static constexpr int32_t kEntryStart = 0;
    static constexpr int32_t kEntryBack = 1;
    static constexpr int32_t kEntryCount = 2;
    static constexpr int kRankX = 146;
    // The table starts this far below the title.
    static constexpr int kTableGap = 19;
    static constexpr int kRowStep = 30;

    explicit XRanking(XAppData* app);
    XRanking(const XRanking&) = delete;
    XRanking& operator=(const XRanking&) = delete;
    virtual ~XRanking();

    void UpdateFrame();

    int32_t GetCursor() const { return cursor; }
    const XFrontEnd& GetFrame() const { return *frontEnd; }
    const ZSprite256& GetEntry(int i) const { return *entries[i]; }

private:
    void DrawFrame();
    void DrawTable(Surface* back);

    XAppData* app;
    std::unique_ptr<XFrontEnd> frontEnd;
    std::unique_ptr<ZSprite256> entries[kEntryCount];
    std::unique_ptr<ZSprite256> title;
    std::unique_ptr<ZSprite256> namePlate;
    std::unique_ptr<ZSprite256> percentSign;
    std::unique_ptr<ZAscii> text;
    std::unique_ptr<ZNumber> rankDigits;
    std::unique_ptr<ZNumber> scoreDigits;
    int32_t cursor = kEntryStart;
};
