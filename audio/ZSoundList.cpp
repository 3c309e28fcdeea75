#include "audio/ZSoundList.h"

ZSoundList::ZSoundList(void* window) : window(window), device(OpenAudioDevice()) {}

ZSoundList::~ZSoundList() {
    StopAll();
    for (auto& slot : slots) {
        slot.reset();
    }
}

void ZSoundList::AddFromResource(uint16_t resourceId, uint32_t copies) {
    if (!device) {
        return;
    }
    for (auto& slot : slots) {
        if (!slot) {
            slot = std::make_unique<ZSound>(device.get(), resourceId, copies < 1 ? 1 : copies);
            return;
        }
    }
}

ZSound* ZSoundList::FindSound(int32_t id) const {
    for (const auto& slot : slots) {
        if (slot && static_cast<int64_t>(slot->GetId()) == id) {
            return slot.get();
        }
    }
    return nullptr;
}

void ZSoundList::Play(int32_t id, int32_t loop) {
    if (!device) {
        return;
    }
    if (ZSound* sound = FindSound(id)) {
        sound->Play(loop);
    }
}

void ZSoundList::Stop(int32_t id) {
    if (ZSound* sound = FindSound(id)) {
        sound->Stop();
    }
}

void ZSoundList::StopAll() {
    for (auto& slot : slots) {
        if (slot) {
            slot->Stop();
        }
    }
}
