#include "round/XEffectBomb.h"

XEffectBomb::XEffectBomb(XAppData* app, int x, int y)
    : XEffectBase(app), sprite(std::make_unique<ZSprite256>(172, 8)) {
    sprite->SetAnimationWait(0);
    sprite->SetCentre(x, y);
}

XEffectBomb::~XEffectBomb() = default;

void XEffectBomb::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    sprite->Animate();
    if (!sprite->IsCycleRunning()) {
        alive = false;
    }
}

void XEffectBomb::Draw(Surface* target) {
    if (alive) {
        sprite->Draw(target);
    }
}
