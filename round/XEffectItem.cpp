#include "round/XEffectItem.h"

#include "shell/XAppData.h"

XEffectItem::XEffectItem(XAppData* app, int x, int y)
    : XEffectBase(app), sprite(std::make_unique<ZSprite256>(170, 13)) {
    sprite->SetAnimationWait(1);
    sprite->SetCentre(x, y);
    if (app) {
        app->PlaySoundEffect(174, 0);
    }
}

XEffectItem::~XEffectItem() = default;

void XEffectItem::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    sprite->Animate();
    if (!sprite->IsCycleRunning()) {
        alive = false;
    }
}

void XEffectItem::Draw(Surface* target) {
    if (alive) {
        sprite->Draw(target);
    }
}
