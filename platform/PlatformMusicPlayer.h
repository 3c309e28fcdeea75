#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include <fluidsynth.h>

#include "audio/MusicPlayer.h"

// MIDI files rendered by FluidSynth into the shared mixer's music hook. The soundfont loads on a
// thread of its own from construction on, so the first piece need not wait for it.
class PlatformMusicPlayer : public MusicPlayer {
public:
    PlatformMusicPlayer();
    PlatformMusicPlayer(const PlatformMusicPlayer&) = delete;
    PlatformMusicPlayer& operator=(const PlatformMusicPlayer&) = delete;
    ~PlatformMusicPlayer() override;

    bool Open(const std::string& path) override;
    bool Play(bool fromStart) override;
    void Stop() override;
    void Close() override;
    void SetVolume(int percent) override;

    // SDL_SOUNDFONTS when set, else the first General MIDI soundfont installed; empty when none.
    static std::string FindSoundFont();
    // The synthesiser's output gain for that soundfont file.
    static double SynthGain(const std::string& font);

private:
    static void MusicHook(void* self, uint8_t* stream, int length);
    void Render(uint8_t* stream, int length);
    bool WaitForSynth();
    void LoadSynth();
    void ClosePiece();

    std::thread loader;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    double synthGain = 0;  // for the soundfont loaded, at full volume
    bool mixerHeld = false;
    bool hooked = false;
    int volume = 100;

    // Shared with the audio thread's hook.
    std::mutex lock;
    fluid_player_t* player = nullptr;
    int totalTicks = 0;
    bool playing = false;
    bool endReported = false;
};
