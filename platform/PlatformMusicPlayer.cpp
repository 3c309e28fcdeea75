#include "platform/PlatformMusicPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/PlatformAudioMixer.h"

namespace {

constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

// The same pieces play louder on one soundfont than on another: these gains bring them to about
// -20 LUFS, under the effects (measured with tools/music/measure_music.py, which reads this table).
constexpr struct {
    const char* name;
    double gain;
} kSynthGains[] = {{"FluidR3_GM.sf2", 0.36}, {"TimGM6mb.sf2", 0.40}};
constexpr double kDefaultSynthGain = 0.4;

bool Readable(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }

void SilenceFluidLog(int, const char*, void*) {}

}  // namespace

std::string PlatformMusicPlayer::FindSoundFont() {
    if (const char* fonts = SDL_getenv("SDL_SOUNDFONTS"); fonts && *fonts) {
        std::string list = fonts;
        for (size_t start = 0; start <= list.size();) {
            size_t end = list.find(':', start);
            std::string candidate = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (Readable(candidate)) {
                return candidate;
            }
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
        return {};
    }
    for (const char* candidate : kSoundFonts) {
        if (Readable(candidate)) {
            return candidate;
        }
    }
    return {};
}

double PlatformMusicPlayer::SynthGain(const std::string& font) {
    // default-GM.sf3 and the like are links to one of the known fonts.
    std::error_code error;
    std::string name = std::filesystem::canonical(font, error).filename().string();
    for (const auto& known : kSynthGains) {
        if (name == known.name) {
            return known.gain;
        }
    }
    return kDefaultSynthGain;
}

PlatformMusicPlayer::PlatformMusicPlayer() {
    // FluidSynth reports a missing file or soundfont on the terminal; the game stays quietly silent.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, SilenceFluidLog, nullptr);
    }
    loader = std::thread([this] { LoadSynth(); });
}

PlatformMusicPlayer::~PlatformMusicPlayer() {
    if (loader.joinable()) {
        loader.join();
    }
    if (hooked) {
        Mix_HookMusic(nullptr, nullptr);
    }
    ClosePiece();
    if (synth) {
        delete_fluid_synth(synth);
    }
    if (settings) {
        delete_fluid_settings(settings);
    }
    if (mixerHeld) {
        ReleaseMixer();
    }
}

void PlatformMusicPlayer::LoadSynth() {
    std::string font = FindSoundFont();
    if (font.empty()) {
        return;
    }
    settings = new_fluid_settings();
    if (!settings) {
        return;
    }
    // Samples load with the instruments a piece asks for, not the whole soundfont: FluidR3 would take
    // 148 MB, locked in memory. Reverb and chorus stay on, as the pieces were balanced: together they
    // cost under a third of a point of one core.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setnum(settings, "synth.sample-rate", kMixerRate);
    synthGain = SynthGain(font);
    fluid_settings_setnum(settings, "synth.gain", synthGain);
    synth = new_fluid_synth(settings);
    if (synth && fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(synth);
        synth = nullptr;
    }
}

bool PlatformMusicPlayer::WaitForSynth() {
    if (loader.joinable()) {
        loader.join();
    }
    if (!synth) {
        return false;
    }
    if (!mixerHeld) {
        mixerHeld = AcquireMixer();
        if (!mixerHeld) {
            return false;
        }
    }
    fluid_synth_set_gain(synth, static_cast<float>(synthGain * volume / 100));
    if (!hooked) {
        Mix_HookMusic(MusicHook, this);
        hooked = true;
    }
    return true;
}

bool PlatformMusicPlayer::Open(const std::string& path) {
    Close();
    if (!Readable(path) || !fluid_is_midifile(path.c_str()) || !WaitForSynth()) {
        return false;
    }
    fluid_player_t* piece = new_fluid_player(synth);
    if (!piece) {
        return false;
    }
    if (fluid_player_add(piece, path.c_str()) != FLUID_OK) {
        delete_fluid_player(piece);
        return false;
    }
    std::lock_guard<std::mutex> guard(lock);
    player = piece;
    totalTicks = 0;
    playing = false;
    endReported = false;
    return true;
}

bool PlatformMusicPlayer::Play(bool fromStart) {
    std::lock_guard<std::mutex> guard(lock);
    if (!player) {
        return false;
    }
    if (fromStart && fluid_player_seek(player, 0) != FLUID_OK) {
        return false;
    }
    if (fluid_player_play(player) != FLUID_OK) {
        return false;
    }
    playing = true;
    endReported = false;
    return true;
}

void PlatformMusicPlayer::Stop() {
    std::lock_guard<std::mutex> guard(lock);
    if (player) {
        fluid_player_stop(player);
        fluid_synth_all_sounds_off(synth, -1);
    }
    playing = false;
}

void PlatformMusicPlayer::Close() { ClosePiece(); }

void PlatformMusicPlayer::ClosePiece() {
    std::lock_guard<std::mutex> guard(lock);
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
        player = nullptr;
        fluid_synth_all_sounds_off(synth, -1);
        fluid_synth_system_reset(synth);
    }
    playing = false;
}

void PlatformMusicPlayer::MusicHook(void* self, uint8_t* stream, int length) {
    static_cast<PlatformMusicPlayer*>(self)->Render(stream, length);
}

void PlatformMusicPlayer::Render(uint8_t* stream, int length) {
    std::lock_guard<std::mutex> guard(lock);
    // Stopped means silent at once: the reverb tail waits for the resume instead of trailing on.
    if (!player || !playing) {
        return;
    }
    // Rendering drives the player: its events are timed by the samples written.
    fluid_synth_write_s16(synth, length / 4, stream, 0, 2, stream, 1, 2);
    // FluidSynth itself calls a piece done only seconds after its last event; the end of the track
    // is the end of the piece, so the next pass can start without a gap.
    // Walks every event of the piece: asked once, when the player has loaded the file.
    if (totalTicks <= 0) {
        totalTicks = fluid_player_get_total_ticks(player);
    }
    if (playing && !endReported && totalTicks > 0 && fluid_player_get_current_tick(player) >= totalTicks) {
        endReported = true;
        ReportEnd();
    }
}

void PlatformMusicPlayer::SetVolume(int percent) {
    volume = std::clamp(percent, 0, 100);
    // The synthesiser may still be loading; the next piece applies the level then.
    if (!loader.joinable() && synth) {
        fluid_synth_set_gain(synth, static_cast<float>(synthGain * volume / 100));
    }
}
