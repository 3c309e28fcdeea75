#include "round/XEffectMagic.h"

namespace {

// The four outer sparkles drift along the diagonals; the last stays put.
constexpr int kSparkleDirections[XEffectMagic::kSparkleCount] = {96, 32, 160, 224, -1};

}  // namespace

XEffectMagic::XEffectMagic(XAppData* app, int x, int y) : XEffectBase(app) {
    for (int i = 0; i < kSparkleCount; ++i) {
        sparkles[i] = std::make_unique<ZSprite256>(173, 9);
        sparkles[i]->SetAnimationWait(1);
        sparkles[i]->SetCentre(x, y);
        sparkles[i]->SetSpeed(1.6f);
        sparkles[i]->SetDirection(kSparkleDirections[i]);
    }
}

XEffectMagic::~XEffectMagic() = default;

void XEffectMagic::Update() {
    if (!alive) {
        return;
    }
    XEffectBase::Update();
    for (auto& sparkle : sparkles) {
        sparkle->Move();
        sparkle->Animate();
    }
    alive = sparkles[0]->IsCycleRunning();
}

void XEffectMagic::Draw(Surface* target) {
    if (!alive) {
        return;
    }
    for (auto& sparkle : sparkles) {
        sparkle->Draw(target);
    }
}

void XEffectMagic::SaveState(ZStateStream* out) const {
    XEffectBase::SaveState(out);
    for (const auto& sparkle : sparkles) {
        sparkle->SaveMotion(out);
    }
}

void XEffectMagic::LoadState(ZStateStream* in) {
    XEffectBase::LoadState(in);
    for (auto& sparkle : sparkles) {
        sparkle->LoadMotion(in);
    }
}
