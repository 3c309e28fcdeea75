#include "audio/ZSound.h"

#include "base/Resources.h"

ZSound::ZSound(AudioDevice* device, uint16_t resourceId, uint32_t copies)
    : id(resourceId), device(device), copies(copies < 1 ? 1 : copies) {
    ResourceData resource;
    const uint8_t* samples = nullptr;
    uint32_t length = 0;
    if (!FindResource(ResourceType::Wave, resourceId, &resource) ||
        !FindWaveData(resource.bytes, resource.size, &samples, &length)) {
        return;
    }
    data.assign(samples, samples + length);
    for (uint32_t i = 0; i < this->copies; ++i) {
        channels.push_back(device ? device->CreateChannel(data.data(), data.size()) : -1);
    }
}

ZSound::~ZSound() {
    for (int channel : channels) {
        if (channel >= 0 && device) {
            device->DestroyChannel(channel);
        }
    }
}

bool ZSound::FindWaveData(const uint8_t*, size_t, const uint8_t**, uint32_t*) { return false; }

void ZSound::Play(int32_t loop) {
    if (nextCopy < channels.size() && channels[nextCopy] >= 0 && device) {
        device->Play(channels[nextCopy], loop == 1);
    }
    nextCopy = (nextCopy + 1) % copies;
}

void ZSound::Stop() {
    for (int channel : channels) {
        if (channel >= 0 && device) {
            device->Stop(channel);
        }
    }
}
