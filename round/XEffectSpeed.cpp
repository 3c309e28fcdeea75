#include "round/XEffectSpeed.h"

XEffectSpeed::XEffectSpeed(XAppData* app, int x, int y)
    : XEffectBase(app), sprite(std::make_unique<ZSprite256>(173, 9)) {
    sprite->SetAnimationWait(1);
    sprite->SetCentre(x, y);
}

XEffectSpeed::~XEffectSpeed() = default;

void XEffectSpeed::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    sprite->Animate();
    if (!sprite->IsCycleRunning()) {
        alive = false;
    }
}

void XEffectSpeed::Draw(Surface* target) {
    if (alive) {
        sprite->Draw(target);
    }
}
