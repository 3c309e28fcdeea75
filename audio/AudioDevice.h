#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The sound output beneath the sound list: channels of 8-bit unsigned mono samples at 22050 Hz.
// The platform registers a factory; without one (or when it answers null) the game is silent.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // A channel holding a copy of the samples; -1 when none can be made.
    virtual int CreateChannel(const uint8_t* samples, size_t size) = 0;
    virtual void DestroyChannel(int channel) = 0;
    // Starts the channel from its first sample, once or looping.
    virtual bool Play(int channel, bool loop) = 0;
    // Stops the channel and rewinds it.
    virtual void Stop(int channel) = 0;
    // The level of every channel, in per cent of the level the sounds were made for.
    virtual void SetVolume(int percent) = 0;
    // Marks a channel whose sound the music steps back for while it plays: further, and from a moment
    // before the first word, for speech.
    virtual void SetDucksMusic(int /*channel*/, bool /*speech*/) {}
};

using AudioDeviceFactory = std::unique_ptr<AudioDevice> (*)();
void SetAudioDeviceFactory(AudioDeviceFactory factory);
std::unique_ptr<AudioDevice> OpenAudioDevice();
