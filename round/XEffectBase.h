#pragma once

#include <cstdint>

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

    bool IsAlive() const { return alive; }
    uint32_t GetFrameCounter() const { return frameCounter; }

protected:
    XAppData* app;
    uint32_t frameCounter = 0;
    bool alive = true;
};
