#pragma once

#include <cstdint>
#include <memory>

#include "gfx/ZSprite256.h"
#include "scenes/XFrontEnd.h"

class XAppData;

// The title: logo over the scrolling band, four painters rising into view, and the entries battle mode,
// ranking mode and exit, with options on a line of its own below them.
class XTitle {
public:
    static constexpr int32_t kEntryBattle = 0;
    static constexpr int32_t kEntryRanking = 1;
    static constexpr int32_t kEntryExit = 2;
    static constexpr int32_t kEntryOptions = 3;
    static constexpr int32_t kEntryCount = 4;
    static constexpr int kCharacterCount = 4;

    explicit XTitle(XAppData* app);
    XTitle(const XTitle&) = delete;
    XTitle& operator=(const XTitle&) = delete;
    virtual ~XTitle();

    void UpdateFrame();

    int32_t GetCursor() const { return cursor; }
    const XFrontEnd& GetFrame() const { return *frontEnd; }
    const ZSprite256& GetEntry(int i) const { return *entries[i]; }
    const ZSprite256& GetCharacter(int i) const { return *characters[i]; }

private:
    void DrawFrame();
    void RunExitAction();

    XAppData* app;
    std::unique_ptr<XFrontEnd> frontEnd;
    std::unique_ptr<ZSprite256> titleLogo;
    std::unique_ptr<ZSprite256> logoShadow;
    std::unique_ptr<ZSprite256> entries[kEntryCount];
    std::unique_ptr<ZSprite256> characters[kCharacterCount];
    std::unique_ptr<ZSprite256> caption;
    int32_t cursor = kEntryBattle;
};
