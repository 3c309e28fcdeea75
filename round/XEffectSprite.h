#pragma once

#include <cstdint>
#include <memory>

#include "gfx/ZSprite256.h"
#include "round/XEffectBase.h"

// One animation cycle of a sprite centred on a point, then gone: the pattern of the new-item rings,
// the explosions, the speed sparkles and the wide-brush rings.
class XEffectSprite : public XEffectBase {
public:
    XEffectSprite(XAppData* app, uint16_t bitmapId, int frameCount, int wait, int x, int y);
    ~XEffectSprite() override;

    void Update() override;
    void Draw(Surface* target) override;
    void SaveState(ZStateStream* out) const override;
    void LoadState(ZStateStream* in) override;

    const ZSprite256* GetSprite() const { return sprite.get(); }

private:
    std::unique_ptr<ZSprite256> sprite;
};
