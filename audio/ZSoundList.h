#pragma once

#include <cstdint>
#include <memory>

#include "audio/AudioDevice.h"
#include "audio/ZSound.h"

// All sound effects, played and stopped by their WAVE resource number. Without a device every
// operation does nothing.
class ZSoundList {
public:
    static constexpr int kSlots = 30;

    explicit ZSoundList(void* window);
    ZSoundList(const ZSoundList&) = delete;
    ZSoundList& operator=(const ZSoundList&) = delete;
    virtual ~ZSoundList();

    void AddFromResource(uint16_t resourceId, uint32_t copies);
    void Play(int32_t id, int32_t loop);
    void Stop(int32_t id);
    void StopAll();
    bool HasDevice() const { return device != nullptr; }
    // The level of every sound, in per cent.
    void SetVolume(int percent) {
        if (device) {
            device->SetVolume(percent);
        }
    }

private:
    ZSound* FindSound(int32_t id) const;

    void* window;
    std::unique_ptr<AudioDevice> device;
    std::unique_ptr<ZSound> slots[kSlots];
};
