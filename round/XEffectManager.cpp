#include "round/XEffectManager.h"

#include "round/XEffectBigBomb.h"
#include "round/XEffectBomb.h"
#include "round/XEffectExtend.h"
#include "round/XEffectItem.h"
#include "round/XEffectMagic.h"
#include "round/XEffectSpeed.h"

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
    for (auto& slot : slots) {
        if (slot) {
            continue;
        }
        switch (kind) {
            case kItemRings:
                slot = std::make_unique<XEffectItem>(app, x, y);
                break;
            case kBomb:
                slot = std::make_unique<XEffectBomb>(app, x, y);
                break;
            case kBigBomb:
                slot = std::make_unique<XEffectBigBomb>(app, x, y);
                break;
            case kSpeed:
                slot = std::make_unique<XEffectSpeed>(app, x, y);
                break;
            case kMagic:
                slot = std::make_unique<XEffectMagic>(app, x, y);
                break;
            default:
                slot = std::make_unique<XEffectExtend>(app, x, y);
                break;
        }
        return;
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
