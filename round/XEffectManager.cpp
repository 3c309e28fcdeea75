#include "round/XEffectManager.h"

#include "base/ZStateStream.h"
#include "round/XEffectBigBomb.h"
#include "round/XEffectBomb.h"
#include "round/XEffectExtend.h"
#include "round/XEffectItem.h"
#include "round/XEffectMagic.h"
#include "round/XEffectSpeed.h"
#include "shell/XAppData.h"

namespace {

constexpr int32_t kItemSound = 174;

}  // namespace

XEffectManager::XEffectManager(XAppData* app) : app(app) {}

XEffectManager::~XEffectManager() = default;

void XEffectManager::ClearAll() {
    for (auto& slot : slots) {
        slot.reset();
    }
}

void XEffectManager::AddEffect(int32_t kind, int x, int y) {
    if (kind < kItemRings || kind > kExtend) {
        return;
    }
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        if (slots[slot]) {
            continue;
        }
        slots[slot] = Make(kind, x, y);
        kinds[slot] = kind;
        // The sound is the new item's, not the rings': a snapshot's rings made again are not heard.
        if (kind == kItemRings && app) {
            app->PlaySoundEffect(kItemSound, 0);
        }
        return;
    }
}

std::unique_ptr<XEffectBase> XEffectManager::Make(int32_t kind, int x, int y) const {
    switch (kind) {
        case kItemRings: return std::make_unique<XEffectItem>(app, x, y);
        case kBomb: return std::make_unique<XEffectBomb>(app, x, y);
        case kBigBomb: return std::make_unique<XEffectBigBomb>(app, x, y);
        case kSpeed: return std::make_unique<XEffectSpeed>(app, x, y);
        case kMagic: return std::make_unique<XEffectMagic>(app, x, y);
        default: return std::make_unique<XEffectExtend>(app, x, y);
    }
}

void XEffectManager::SaveState(ZStateStream* out) const {
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        out->Put(slots[slot] ? kinds[slot] : -1);
        if (slots[slot]) {
            slots[slot]->SaveState(out);
        }
    }
}

void XEffectManager::LoadState(ZStateStream* in) {
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        int32_t kind = -1;
        in->Get(kind);
        if (kind < kItemRings || kind > kExtend) {
            slots[slot].reset();
            continue;
        }
        if (!slots[slot] || kinds[slot] != kind) {
            slots[slot] = Make(kind, 0, 0);
            kinds[slot] = kind;
        }
        slots[slot]->LoadState(in);
    }
}

void XEffectManager::Update() {
    for (auto& slot : slots) {
        if (slot) {
            slot->Update();
            if (!slot->IsAlive()) {
                slot.reset();
            }
        }
    }
}

void XEffectManager::Draw(Surface* target) {
    for (auto& slot : slots) {
        if (slot) {
            slot->Draw(target);
        }
    }
}

int XEffectManager::CountEffects() const {
    int count = 0;
    for (const auto& slot : slots) {
        count += slot ? 1 : 0;
    }
    return count;
}
