#include "round/XEffectBigBomb.h"

#include "gfx/Maths.h"
#include "shell/XAppData.h"

namespace {

constexpr uint32_t kThrowFrames = 40;
constexpr int32_t kBlastSound = 185;

}  // namespace

XEffectBigBomb::XEffectBigBomb(XAppData* app, int x, int y) : XEffectBase(app), centreX(x), centreY(y) {}

XEffectBigBomb::~XEffectBigBomb() = default;

void XEffectBigBomb::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    for (auto& child : children) {
        if (child) {
            child->Update();
            if (!child->IsAlive()) {
                child.reset();
            }
        }
    }
    if (frameCounter <= kThrowFrames) {
        SpawnChild();
        SpawnChild();
        if (frameCounter % 4 == 1 && app) {
            app->PlaySoundEffect(kBlastSound, 0);
        }
    }
    if (CountChildren() == 0) {
        alive = false;
    }
}

void XEffectBigBomb::Draw(Surface* target) {
    if (!alive) {
        return;
    }
    for (auto& child : children) {
        if (child) {
            child->Draw(target);
        }
    }
}

int XEffectBigBomb::CountChildren() const {
    int count = 0;
    for (const auto& child : children) {
        count += child ? 1 : 0;
    }
    return count;
}

void XEffectBigBomb::SpawnChild() {
    for (auto& child : children) {
        if (child) {
            continue;
        }
        int angle = Random(256);
        float radius = static_cast<float>(Random(90)) + 15.0f;
        int x = RoundToInt(Cos256(angle) * radius) + centreX;
        int y = centreY - RoundToInt(Sin256(angle) * radius);
        child = std::make_unique<XEffectBomb>(app, x, y);
        return;
    }
}

void XEffectBigBomb::SaveState(ZStateStream* out) const {
    XEffectBase::SaveState(out);
    out->Put(centreX, centreY);
    for (const auto& child : children) {
        out->Put(child != nullptr);
        if (child) {
            child->SaveState(out);
        }
    }
}

void XEffectBigBomb::LoadState(ZStateStream* in) {
    XEffectBase::LoadState(in);
    in->Get(centreX, centreY);
    for (auto& child : children) {
        bool present = false;
        in->Get(present);
        if (!present) {
            child.reset();
            continue;
        }
        if (!child) {
            child = std::make_unique<XEffectBomb>(app, 0, 0);
        }
        child->LoadState(in);
    }
}
