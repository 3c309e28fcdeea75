#include "audio/ZSound.h"

#include <algorithm>
#include <cstring>
#include <iterator>

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
    if (data.empty()) {
        return;
    }
    for (uint32_t i = 0; i < this->copies; ++i) {
        channels.push_back(device ? device->CreateChannel(data.data(), data.size()) : -1);
        if (channels.back() >= 0 && DucksMusic(resourceId)) {
            device->SetDucksMusic(channels.back(), resourceId != kClosingJingle && resourceId != kLabelJingle);
        }
    }
}

ZSound::~ZSound() {
    for (int channel : channels) {
        if (channel >= 0 && device) {
            device->DestroyChannel(channel);
        }
    }
}

bool ZSound::DucksMusic(uint16_t resourceId) {
    // The count-down words, the winners' cheers, the team cheers and the two jingles.
    static constexpr uint16_t kDucking[] = {175, kClosingJingle, 181, 182, 183, 194, 195, 196, 197, 223, 224, kLabelJingle};
    return std::find(std::begin(kDucking), std::end(kDucking), resourceId) != std::end(kDucking);
}

namespace {

uint32_t ReadLittle32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

bool ZSound::FindWaveData(const uint8_t* bytes, size_t size, const uint8_t** samples, uint32_t* length) {
    constexpr size_t kRiffHeader = 12;
    constexpr size_t kChunkHeader = 8;
    if (!bytes || size < kRiffHeader) {
        return false;
    }
    // The stored RIFF size is trusted only as far as the resource really reaches.
    const uint64_t areaEnd = std::min<uint64_t>(uint64_t{8} + ReadLittle32(bytes + 4), size);
    // Every sound of the game has the same format, so only the samples are looked for.
    uint64_t position = kRiffHeader;
    while (position + kChunkHeader <= areaEnd) {
        const uint8_t* header = bytes + position;
        const uint64_t chunkSize = ReadLittle32(header + 4);
        position += kChunkHeader;
        if (std::memcmp(header, "data", 4) == 0) {
            // A size running past the end keeps the samples that are there.
            *samples = bytes + position;
            *length = static_cast<uint32_t>(std::min(chunkSize, areaEnd - position));
            return true;
        }
        position += chunkSize + (chunkSize & 1);
    }
    return false;
}

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
