#pragma once

#include <array>
#include <memory>

#include "gfx/ZSprite256.h"
#include "round/XEffectBase.h"

// Five sparkles: four drift out along the diagonals, one stays on the centre.
class XEffectMagic : public XEffectBase {
public:
    static constexpr int kSparkleCount = 5;

    XEffectMagic(XAppData* app, int x, int y);
    ~XEffectMagic() override;

    void Update() override;
    void Draw(Surface* target) override;
    void SaveState(ZStateStream* out) const override;
    void LoadState(ZStateStream* in) override;

    const ZSprite256* GetSparkle(int i) const { return sparkles[i].get(); }

private:
    std::array<std::unique_ptr<ZSprite256>, kSparkleCount> sparkles;
};
