#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"

// A software mixer standing in for the sound hardware: it keeps each channel's samples and play
// position, mixes the playing channels on demand and logs every call.
class OldFakeAudioDevice : public AudioDevice {
public:
    struct Channel {
        std::vector<uint8_t> samples;
        size_t position = 0;
        bool playing = false;
        bool loop = false;
        bool destroyed = false;
    };

    int CreateChannel(const uint8_t* samples, size_t size) override {
        if (failCreate) {
            return -1;
        }
        channels.push_back(Channel{std::vector<uint8_t>(samples, samples + size)});
        return static_cast<int>(channels.size()) - 1;
    }
    void DestroyChannel(int channel) override { channels.at(channel).destroyed = true; }
    bool Play(int channel, bool loop) override {
        Channel& c = channels.at(channel);
        c.position = 0;
        c.playing = true;
        c.loop = loop;
        log.push_back("play " + std::to_string(channel) + (loop ? " loop" : ""));
        return true;
    }
    void Stop(int channel) override {
        Channel& c = channels.at(channel);
        c.playing = false;
        c.position = 0;
        log.push_back("stop " + std::to_string(channel));
    }

    // Mixes the next frames of every playing channel, as signed levels around the 8-bit midpoint.
    std::vector<int> Render(size_t frames) {
        std::vector<int> out(frames, 0);
        for (Channel& c : channels) {
            for (size_t i = 0; i < frames && c.playing && !c.destroyed; ++i) {
                out[i] += static_cast<int>(c.samples[c.position]) - 128;
                if (++c.position == c.samples.size()) {
                    c.position = 0;
                    c.playing = c.loop;
                }
            }
        }
        return out;
    }

    std::vector<Channel> channels;
    std::vector<std::string> log;
    bool failCreate = false;
};

// Registers a factory handing out one OldFakeAudioDevice, which the test can then inspect.
class FakeAudioInstall {
public:
    FakeAudioInstall();
    ~FakeAudioInstall();
    // The device the last sound list opened (owned by that list), or null.
    static OldFakeAudioDevice* Current();
    // When false, the factory answers null: no sound device.
    static void SetAvailable(bool available);
};
