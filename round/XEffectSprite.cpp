#include "round/XEffectSprite.h"

XEffectSprite::XEffectSprite(XAppData* app, uint16_t bitmapId, int frameCount, int wait, int x, int y)
    : XEffectBase(app), sprite(std::make_unique<ZSprite256>(bitmapId, frameCount)) {
    sprite->SetAnimationWait(wait);
    sprite->SetCentre(x, y);
}

XEffectSprite::~XEffectSprite() = default;

void XEffectSprite::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    sprite->Animate();
    if (!sprite->IsCycleRunning()) {
        alive = false;
    }
}

void XEffectSprite::Draw(Surface* target) {
    if (alive) {
        sprite->Draw(target);
    }
}

void XEffectSprite::SaveState(ZStateStream* out) const {
    XEffectBase::SaveState(out);
    sprite->SaveMotion(out);
}

void XEffectSprite::LoadState(ZStateStream* in) {
    XEffectBase::LoadState(in);
    sprite->LoadMotion(in);
}
