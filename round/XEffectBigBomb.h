#pragma once

#include <array>
#include <memory>

#include "round/XEffectBase.h"
#include "round/XEffectBomb.h"

// A burst of small explosions thrown around a centre over 40 frames.
class XEffectBigBomb : public XEffectBase {
public:
    static constexpr int kChildSlots = 20;

    XEffectBigBomb(XAppData* app, int x, int y);
    ~XEffectBigBomb() override;

    void Update() override;
    void Draw(Surface* target) override;
    void SaveState(ZStateStream* out) const override;
    void LoadState(ZStateStream* in) override;

    int CountChildren() const;
    const XEffectBomb* GetChild(int slot) const { return children[slot].get(); }

private:
    void SpawnChild();

    int centreX;
    int centreY;
    std::array<std::unique_ptr<XEffectBomb>, kChildSlots> children;
};
