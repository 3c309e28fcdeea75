#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/AudioDevice.h"

struct Mix_Chunk;

// Sound effect channels on the shared mixer: each channel is a mixer channel of its own holding one
// converted copy of the samples, so a play restarts it and different channels mix.
class PlatformAudioDevice : public AudioDevice {
public:
    // Null when there is no audio device.
    static std::unique_ptr<AudioDevice> Open();

    PlatformAudioDevice(const PlatformAudioDevice&) = delete;
    PlatformAudioDevice& operator=(const PlatformAudioDevice&) = delete;
    ~PlatformAudioDevice() override;

    int CreateChannel(const uint8_t* samples, size_t size) override;
    void DestroyChannel(int channel) override;
    bool Play(int channel, bool loop) override;
    void Stop(int channel) override;
    void SetVolume(int percent) override;
    void SetDucksMusic(int channel, bool speech) override;

    // Speech starts this much after it is played: the music is already down for its first word.
    static constexpr double kSpeechLeadSeconds = 0.12;

private:
    PlatformAudioDevice();

    struct Channel {
        std::vector<int16_t> converted;  // the chunk points into this; the mixer does not own it
        Mix_Chunk* chunk = nullptr;
        int mixerChannel = -1;
        bool leads = false;  // speech: silence in front
    };
    std::vector<Channel> channels;
    std::vector<uint8_t> lastSource;  // the samples of the last channel made
    int volume;
};
