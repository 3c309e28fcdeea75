#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include <fluidsynth.h>

#include "audio/MusicPlayer.h"

// MIDI files rendered by FluidSynth into the shared mixer's music hook. The soundfont loads on a
// thread of its own from construction on, so the first piece need not wait for it. Every change fades
// the old piece out before the next starts; a piece that ends starts again on the beat by itself.
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

    // Whether the instrument stays loaded for good: every piece's do from when it opens, so that the
    // audio thread never renders a sample whose data has been given back.
    bool IsPinned(int bank, int program) const {
        return bank >= 0 && bank <= 128 && program >= 0 && program <= 127 && pinned[bank * 128 + program];
    }

    // SDL_SOUNDFONTS when set, else the first General MIDI soundfont installed; empty when none.
    static std::string FindSoundFont();
    // The synthesiser's output gain for that soundfont file.
    static double SynthGain(const std::string& font);

    static constexpr double kFadeSeconds = 0.15;
    // While a jingle plays the music steps back by this much; while a voice speaks, further: a
    // recogniser hears the words right only with the music this far down around them. It stays down a
    // little after each, so a count-down's words share one dip.
    static constexpr double kDuckDecibels = -20.0;
    static constexpr double kSpeechDuckDecibels = -40.0;
    static constexpr double kDuckHoldSeconds = 0.5;
    // A piece that started again by itself and is not asked to play on within this time stops.
    static constexpr double kLoopClaimSeconds = 1.0;

private:
    struct Piece {
        std::string path;
        fluid_player_t* player = nullptr;
        fluid_player_t* spare = nullptr;  // the same file, ready to take over at the end on the beat
        bool plays = false;
    };

    static void MusicHook(void* self, uint8_t* stream, int length);
    static int PlayEvent(void* self, fluid_midi_event_t* event);
    void Render(uint8_t* stream, int length);
    void RenderBlock(int16_t* out, int count, float duckTarget);
    void SettleFade();
    void LoopIfEnded(int count);
    bool WaitForSynth();
    void LoadSynth();
    fluid_player_t* NewPlayer(const std::string& file);
    void Pin(int bank, int program);
    void Discard(Piece& piece);
    void Reset();

    std::thread loader;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    int fontId = -1;
    std::string heldFont;  // the name the soundfont held open is loaded by
    double synthGain = 0;  // for the soundfont loaded, at full volume
    bool mixerHeld = false;
    bool hooked = false;
    int volume = 100;

    // Shared with the audio thread's hook.
    std::mutex lock;
    Piece sounding;  // what the synthesiser plays or last played
    Piece queued;    // opened while the sounding piece still fades out
    bool retiring = false;  // the sounding piece closes when faded out
    bool pausing = false;   // the sounding piece stops when faded out
    float fade = 1;         // the fade's level, 0 to 1
    float duck = 1;
    float heldDuck = 1;      // the lowest level asked for within the hold
    long duckHeldFrames = 0;
    int totalTicks = 0;
    long framesSinceLoop = -1;  // since the piece started again by itself; -1 once claimed
    int banks[16] = {};
    // Instruments loaded for good, by bank (0-128) and program; set by the audio thread only for one
    // a piece selects that its file did not show.
    std::array<std::atomic<bool>, 129 * 128> pinned{};
};
