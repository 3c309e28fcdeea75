#include "platform/PlatformAudioMixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <mutex>

namespace {

std::mutex mixerLock;
int mixerUsers = 0;
// Without a device each attempt can take a tenth of a second (ALSA's hotplug wait): one per run.
bool openFailed = false;

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
