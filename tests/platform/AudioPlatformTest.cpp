#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/ZSoundList.h"
#include "platform/PlatformAudioDevice.h"
#include "platform/PlatformAudioMixer.h"

namespace {

// Interleaved 16-bit stereo, as SDL's disk driver wrote what the mixer played.
std::vector<int16_t> ReadSamples(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(AudioPlatform, TheLogoSoundIsHeardWithHeadroomAndEachPlayRestartsItFromItsFirstSample) {
    const std::string file = "/tmp/tintorix-audio-" + std::to_string(getpid()) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    {
        ZSoundList list(nullptr);
        SetAudioDeviceFactory(nullptr);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!list.HasDevice()) {
            GTEST_SKIP() << "no disk audio driver";
        }
        list.AddFromResource(228, 1);
        SDL_Delay(100);
        for (int i = 0; i < 4; ++i) {
            list.Play(228, 0);
            SDL_Delay(250);
        }
    }
    std::vector<int16_t> samples = ReadSamples(file);
    std::remove(file.c_str());
    size_t onset =
        std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; }) - samples.begin();
    ASSERT_LT(onset, samples.size());
    EXPECT_GT(onset, 44100u * 2 / 20) << "silence before the first play";
    int peak = 0;
    for (size_t i = onset; i < std::min(samples.size(), onset + 44100 * 2 / 4); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    EXPECT_GT(peak, 3000);
    EXPECT_LT(peak, 32767);
    // A play begins at a mixer pass; each later play starts the same samples again.
    const size_t passSamples = kMixerChunkFrames * kMixerChannels;
    const auto head = samples.begin() + static_cast<long>(onset - onset % passSamples);
    int restarts = 0;
    for (auto at = head + 1; at + static_cast<long>(passSamples) <= samples.end(); ++at) {
        restarts += std::equal(head, head + static_cast<long>(passSamples), at);
    }
    EXPECT_EQ(restarts, 3);
}

TEST(AudioPlatform, WithoutAnAudioDeviceTheSoundListIsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    {
        ZSoundList list(nullptr);
        EXPECT_FALSE(list.HasDevice());
        list.AddFromResource(228, 1);
        list.Play(228, 0);
    }
    SetAudioDeviceFactory(nullptr);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
