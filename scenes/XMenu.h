#pragma once

#include <cstdint>
#include <memory>

#include "gfx/ZAscii.h"
#include "gfx/ZSprite256.h"
#include "scenes/XFrontEnd.h"

class XAppData;
class XMenuData;

// The match settings screen: portraits of the four painters, wins needed, single or team battle,
// each player's control type, START and BACK.
class XMenu {
public:
    static constexpr int32_t kItemWins = 0;
    static constexpr int32_t kItemBattleType = 1;
    static constexpr int32_t kItemFirstPlayer = 2;
    static constexpr int32_t kItemStart = 6;
    static constexpr int32_t kItemBack = 7;
    static constexpr int32_t kItemCount = 8;
    static constexpr int kPlayerCount = 4;

    explicit XMenu(XAppData* app);
    XMenu(const XMenu&) = delete;
    XMenu& operator=(const XMenu&) = delete;
    virtual ~XMenu();

    void UpdateFrame();

    int32_t GetCursor() const { return cursor; }
    const XFrontEnd& GetFrame() const { return *frontEnd; }
    const ZSprite256& GetItem(int i) const { return *items[i]; }

private:
    void DrawFrame();
    void DrawPlayers(Surface* back);
    void DrawSettings(Surface* back);
    // Hosting an online match: which player seats other computers play, and who has joined.
    void DrawRemoteSeats(Surface* back);
    void RunExitAction();

    XAppData* app;
    std::unique_ptr<XFrontEnd> frontEnd;
    std::unique_ptr<ZSprite256> versusSign;
    std::unique_ptr<ZSprite256> winsLabel;
    std::unique_ptr<ZSprite256> battleTypeLabel;
    std::unique_ptr<ZSprite256> playerLabels;
    std::unique_ptr<ZSprite256> playerIcons;
    std::unique_ptr<ZSprite256> portraits;
    std::unique_ptr<ZSprite256> humanBadge;
    std::unique_ptr<ZSprite256> nonHumanBadge;
    std::unique_ptr<ZSprite256> cross;
    std::unique_ptr<ZSprite256> items[kItemCount];
    // Players' steering keys as the keyboard layout labels them, drawn on the badges' blank caps.
    std::unique_ptr<ZAscii> keyNames = std::make_unique<ZAscii>();
    // Each player's badge and the labels on its caps, from the keys the player steers with.
    int badgeFrames[kPlayerCount] = {};
    uint32_t keyLabels[kPlayerCount][2] = {};
    XMenuData* settings;
    int32_t cursor = kItemStart;
};
