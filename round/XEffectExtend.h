#pragma once

#include <memory>

#include "gfx/ZSprite256.h"
#include "round/XEffectBase.h"

// One animation cycle of a sprite centred on a point, then gone.
class XEffectExtend : public XEffectBase {
public:
    XEffectExtend(XAppData* app, int x, int y);
    ~XEffectExtend() override;

    void Update() override;
    void Draw(Surface* target) override;

    const ZSprite256* GetSprite() const { return sprite.get(); }

private:
    std::unique_ptr<ZSprite256> sprite;
};
