#include "platform/PlatformAudioMixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

namespace {

std::mutex mixerLock;
int mixerUsers = 0;
// Without a device each attempt can take a tenth of a second (ALSA's hotplug wait): one per run.
bool openFailed = false;
// Read by the audio thread while the main thread makes channels; the game has a few dozen.
std::array<std::atomic<MusicDuck>, 256> ducking{};

}  // namespace

bool AcquireMixer() {
    std::lock_guard<std::mutex> guard(mixerLock);
    if (mixerUsers > 0) {
        ++mixerUsers;
        return true;
    }
    if (openFailed) {
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        openFailed = true;
        return false;
    }
    // No allowed changes: SDL converts for the hardware, so sample data and the synthesiser can rely on it.
    if (Mix_OpenAudioDevice(kMixerRate, AUDIO_S16SYS, kMixerChannels, kMixerChunkFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        openFailed = true;
        return false;
    }
    ++mixerUsers;
    return true;
}

void ReleaseMixer() {
    std::lock_guard<std::mutex> guard(mixerLock);
    if (mixerUsers == 0 || --mixerUsers > 0) {
        return;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SetDucksMusic(int mixerChannel, MusicDuck duck) {
    if (mixerChannel >= 0 && static_cast<size_t>(mixerChannel) < ducking.size()) {
        ducking[mixerChannel] = duck;
    }
}

MusicDuck MusicDucked() {
    MusicDuck most = MusicDuck::None;
    const int channels = std::min(Mix_AllocateChannels(-1), static_cast<int>(ducking.size()));
    for (int channel = 0; channel < channels; ++channel) {
        const MusicDuck duck = ducking[channel];
        if (duck > most && Mix_Playing(channel)) {
            most = duck;
        }
    }
    return most;
}
