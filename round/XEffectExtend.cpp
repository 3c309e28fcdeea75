#include "round/XEffectExtend.h"

XEffectExtend::XEffectExtend(XAppData* app, int x, int y)
    : XEffectBase(app), sprite(std::make_unique<ZSprite256>(250, 7)) {
    sprite->SetAnimationWait(2);
    sprite->SetCentre(x, y);
}

XEffectExtend::~XEffectExtend() = default;

void XEffectExtend::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    sprite->Animate();
    if (!sprite->IsCycleRunning()) {
        alive = false;
    }
}

void XEffectExtend::Draw(Surface* target) {
    if (alive) {
        sprite->Draw(target);
    }
}
