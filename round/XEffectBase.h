#pragma once

#include <cstdint>

#include "base/ZStateStream.h"
#include "gfx/Surface.h"

class XAppData;

// A short decoration of the round; it updates once per frame and says when it has finished.
class XEffectBase {
public:
    explicit XEffectBase(XAppData* app) : app(app) {}
    XEffectBase(const XEffectBase&) = delete;
    XEffectBase& operator=(const XEffectBase&) = delete;
    virtual ~XEffectBase() = default;

    virtual void Update() {
        if (alive) {
            ++frameCounter;
        }
    }
    virtual void Draw(Surface* target) = 0;
    // How far it has gone, for a snapshot of the round.
    virtual void SaveState(ZStateStream* out) const { out->Put(frameCounter, alive); }
    virtual void LoadState(ZStateStream* in) { in->Get(frameCounter, alive); }

    bool IsAlive() const { return alive; }
    uint32_t GetFrameCounter() const { return frameCounter; }

protected:
    XAppData* app;
    uint32_t frameCounter = 0;
    bool alive = true;
};
