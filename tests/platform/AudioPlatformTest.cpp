#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "audio/AudioDevice.h"
#include "audio/ZSoundList.h"
#include "platform/PlatformAudioDevice.h"
#include "platform/PlatformAudioMixer.h"

namespace {

// SDL's disk driver writes what the mixer plays to a file, in real time.
class DiskAudio {
public:
    DiskAudio() : file("/tmp/tintorix-audio-" + std::to_string(getpid()) + ".raw") {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    }
    ~DiskAudio() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::remove(file.c_str());
    }
    // Interleaved 16-bit stereo, as the mixer was opened.
    std::vector<int16_t> Samples() const {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

private:
    std::string file;
};

int Peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < std::min(to, samples.size()); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    return peak;
}

// Each mixer pass: when it ran and how its buffer began.
struct Pass {
    Uint64 time;
    int16_t head[8];
};
std::mutex passLock;
std::vector<Pass> passes;

void RecordPass(void*, Uint8* stream, int length) {
    Pass pass{SDL_GetPerformanceCounter(), {}};
    std::memcpy(pass.head, stream, std::min<size_t>(sizeof pass.head, static_cast<size_t>(length)));
    std::lock_guard<std::mutex> guard(passLock);
    passes.push_back(pass);
}

}  // namespace

TEST(AudioPlatform, TheLogoSoundIsHeardAndAReplayRestartsItFromItsFirstSample) {
    DiskAudio disk;
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    std::vector<Uint64> playTimes;
    {
        ZSoundList list(nullptr);
        if (!list.HasDevice()) {
            SetAudioDeviceFactory(nullptr);
            GTEST_SKIP() << "no disk audio driver";
        }
        list.AddFromResource(228, 1);
        Mix_SetPostMix(RecordPass, nullptr);
        SDL_Delay(100);
        for (int i = 0; i < 4; ++i) {
            playTimes.push_back(SDL_GetPerformanceCounter());
            list.Play(228, 0);
            SDL_Delay(250);
        }
        Mix_SetPostMix(nullptr, nullptr);
        list.StopAll();
    }
    SetAudioDeviceFactory(nullptr);

    std::vector<int16_t> samples = disk.Samples();
    size_t onset = std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; }) - samples.begin();
    ASSERT_LT(onset, samples.size());
    // Silence before the first play; an audible sound after it, with headroom left below full scale.
    EXPECT_GT(onset, 44100u * 2 / 20);
    int peak = Peak(samples, onset, onset + 44100 * 2 / 4);
    std::printf("sound 228 in the mix: peak %d of 32767\n", peak);
    EXPECT_GT(peak, 3000);
    EXPECT_LT(peak, 32767);

    // A play begins at a mixer pass (the sound may open with a few silent samples).
    const size_t passSamples = kMixerChunkFrames * kMixerChannels;
    const size_t start = onset - onset % passSamples;
    // Each later play starts the same samples again: one instance, from the start.
    const std::vector<int16_t> head(samples.begin() + start, samples.begin() + start + passSamples);
    int restarts = 0;
    for (size_t at = start + 1; at + head.size() <= samples.size(); ++at) {
        if (std::equal(head.begin(), head.end(), samples.begin() + at)) {
            ++restarts;
        }
    }
    EXPECT_EQ(restarts, 3);

    // Latency of a (re)start: from the call to the first mixer pass that begins with the sound.
    std::vector<double> latencies;
    for (Uint64 call : playTimes) {
        for (const Pass& pass : passes) {
            if (pass.time > call && std::equal(pass.head, pass.head + 8, head.begin())) {
                latencies.push_back(1000.0 * static_cast<double>(pass.time - call) /
                                    static_cast<double>(SDL_GetPerformanceFrequency()));
                break;
            }
        }
    }
    ASSERT_EQ(latencies.size(), playTimes.size());
    double worst = *std::max_element(latencies.begin(), latencies.end());
    std::printf("restart latency to the mixer, ms:");
    for (double ms : latencies) {
        std::printf(" %.1f", ms);
    }
    std::printf(" (a mixer pass is %.1f ms)\n", 1000.0 * kMixerChunkFrames / kMixerRate);
    EXPECT_LT(worst, 3 * 1000.0 * kMixerChunkFrames / kMixerRate);
}

TEST(AudioPlatform, WithoutAnAudioDeviceTheSoundListIsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    {
        ZSoundList list(nullptr);
        EXPECT_FALSE(list.HasDevice());
        list.AddFromResource(228, 1);
        list.Play(228, 0);
        list.StopAll();
    }
    SetAudioDeviceFactory(nullptr);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
