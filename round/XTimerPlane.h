#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "gfx/ZNumber.h"
#include "gfx/ZSprite256.h"

class XAppData;
class ZStateStream;

// The round's clock in frames of play, the item signal, and the bar at the bottom of the screen.
class XTimerPlane {
public:
    static constexpr uint32_t kBattleTicks = 2200;
    static constexpr uint32_t kRankingTicks = 1650;
    static constexpr uint32_t kSegmentTicks = 110;
    static constexpr int32_t kLampCount = 20;

    explicit XTimerPlane(XAppData* app);
    XTimerPlane(const XTimerPlane&) = delete;
    XTimerPlane& operator=(const XTimerPlane&) = delete;
    virtual ~XTimerPlane();

    void Reset();
    void SetRoundNumber(uint32_t number) { roundNumber = number; }
    uint32_t GetRoundNumber() const { return roundNumber; }
    void Tick();
    bool IsItemDue() const { return itemDue; }
    uint32_t GetRemaining() const { return remainingTicks; }
    int32_t GetItemTimes() const { return itemTimes; }
    int32_t GetElapsedSegments() const { return elapsedSegments; }
    // 0 single battle, 1 team battle, 2 ranking mode.
    int32_t GetModeCell() const { return modeCell; }
    void Draw(Surface* target);
    // What changes during a round, for a snapshot of it.
    void SaveState(ZStateStream* out) const;
    void LoadState(ZStateStream* in);

private:
    XAppData* app;
    std::unique_ptr<ZSprite256> yellowLamp;
    std::unique_ptr<ZSprite256> blueLamp;
    std::unique_ptr<ZSprite256> barBackground;
    std::unique_ptr<ZSprite256> modeLabel;
    std::unique_ptr<ZNumber> roundDisplay;
    uint32_t remainingTicks = 0;
    bool itemDue = false;
    int32_t elapsedSegments = 0;
    int32_t previousElapsedSegments = 0;
    int32_t itemTimes = 0;
    uint32_t roundNumber = 0;
    int32_t modeCell = 0;
};
