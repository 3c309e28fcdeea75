#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "round/XEffectBase.h"

class XAppData;
class ZStateStream;

// The running effects of the round in a fixed table; a full table drops new effects.
class XEffectManager {
public:
    static constexpr int kSlotCount = 50;

    static constexpr int32_t kItemRings = 0;
    static constexpr int32_t kBomb = 1;
    static constexpr int32_t kBigBomb = 2;
    static constexpr int32_t kSpeed = 3;
    static constexpr int32_t kMagic = 4;
    static constexpr int32_t kExtend = 5;

    explicit XEffectManager(XAppData* app);
    XEffectManager(const XEffectManager&) = delete;
    XEffectManager& operator=(const XEffectManager&) = delete;
    virtual ~XEffectManager();

    void ClearAll();
    void AddEffect(int32_t kind, int x, int y);
    void Update();
    void Draw(Surface* target);
    // Every running effect, for a snapshot of the round; loading makes the effects it misses.
    void SaveState(ZStateStream* out) const;
    void LoadState(ZStateStream* in);

    int CountEffects() const;
    XEffectBase* GetEffect(int slot) const { return slots[slot].get(); }

private:
    std::unique_ptr<XEffectBase> Make(int32_t kind, int x, int y) const;

    XAppData* app;
    std::array<std::unique_ptr<XEffectBase>, kSlotCount> slots;
    std::array<int32_t, kSlotCount> kinds{};
};
