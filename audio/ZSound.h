#pragma once

#include <cstdint>
#include <vector>

#include "audio/AudioDevice.h"

// One sound effect: its samples and a fixed number of playback copies used in turn.
class ZSound {
public:
    ZSound(AudioDevice* device, uint16_t resourceId, uint32_t copies);
    ZSound(const ZSound&) = delete;
    ZSound& operator=(const ZSound&) = delete;
    virtual ~ZSound();

    void Play(int32_t loop);
    void Stop();
    uint32_t GetId() const { return id; }
    uint32_t GetDataSize() const { return static_cast<uint32_t>(data.size()); }

    // Voices and jingles: the music steps back while they play, so that they are heard.
    static bool DucksMusic(uint16_t resourceId);
    static constexpr uint16_t kClosingJingle = 177;
    static constexpr uint16_t kLabelJingle = 228;
    // Finds the data chunk of a RIFF/WAVE image; false when there is none.
    static bool FindWaveData(const uint8_t* bytes, size_t size, const uint8_t** samples, uint32_t* length);

private:
    uint32_t id;
    AudioDevice* device;
    uint32_t copies;
    std::vector<uint8_t> data;
    uint32_t nextCopy = 0;
    std::vector<int> channels;
};
