#include "platform/PlatformMusicPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

#include "audio/MidiPresets.h"
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

// FluidSynth renders in blocks of 64 frames: the end of a piece is seen within one of them.
constexpr int kBlockFrames = 64;
constexpr int kDrumChannel = MidiPresets::kDrumChannel;
constexpr int kDrumBank = MidiPresets::kDrumBank;
constexpr float kFadeStep = static_cast<float>(1.0 / (PlatformMusicPlayer::kFadeSeconds * kMixerRate));
// Down in 40 ms, so that a word's first syllable is clear; back up in 400 ms, unnoticed.
constexpr float kDuckStepDown = static_cast<float>(1.0 / (0.04 * kMixerRate));
constexpr float kDuckStepUp = static_cast<float>(1.0 / (0.4 * kMixerRate));

float MoveToward(float value, float target, float down, float up) {
    return value > target ? std::max(target, value - down) : std::min(target, value + up);
}

// FluidSynth reads an instrument's samples from the soundfont file whenever a piece first selects it. A
// file gone or replaced by then (a package removed or upgraded, an alternative re-pointed), or a process
// short of descriptors, leaves the instrument counted as loaded with no data, and its first note reads
// through a null pointer on the audio thread. So the file is opened once, when the synthesiser loads it,
// and every later reading goes through that descriptor. FluidSynth's file callbacks carry no data of
// their own: the descriptors are found by name in a table.
std::mutex heldLock;
std::map<std::string, int> heldFonts;  // by the name FluidSynth knows the file by: its descriptor
int heldCount = 0;

// A reading position over the held descriptor. FluidSynth reads a soundfont's headers a few bytes at a
// time: they come from a window read at once.
struct FontReader {
    FontReader(int descriptor, off_t bytes) : fd(descriptor), size(bytes) {}
    int fd;
    off_t size;
    off_t at = 0;
    off_t windowAt = 0;
    size_t windowSize = 0;
    char window[1 << 16];
};

// The name to load the soundfont by, one of its own for each synthesiser; empty when unreadable.
std::string HoldFont(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    std::lock_guard<std::mutex> guard(heldLock);
    std::string name = path + "#" + std::to_string(++heldCount);
    heldFonts[name] = fd;
    return name;
}

void ReleaseFont(const std::string& name) {
    std::lock_guard<std::mutex> guard(heldLock);
    if (auto held = heldFonts.find(name); held != heldFonts.end()) {
        close(held->second);
        heldFonts.erase(held);
    }
}

void* OpenFont(const char* name) {
    std::lock_guard<std::mutex> guard(heldLock);
    auto held = heldFonts.find(name);
    struct stat status {};
    if (held == heldFonts.end() || fstat(held->second, &status) != 0) {
        return nullptr;
    }
    return new FontReader(held->second, status.st_size);
}

int ReadFont(void* buffer, fluid_long_long_t count, void* handle) {
    auto* reader = static_cast<FontReader*>(handle);
    auto* to = static_cast<char*>(buffer);
    while (count > 0) {
        const off_t inWindow = reader->at - reader->windowAt;
        if (inWindow < 0 || inWindow >= static_cast<off_t>(reader->windowSize)) {
            // Sample data comes in large pieces: straight through.
            const bool large = count >= static_cast<fluid_long_long_t>(sizeof reader->window);
            const ssize_t got = large ? pread(reader->fd, to, static_cast<size_t>(count), reader->at)
                                      : pread(reader->fd, reader->window, sizeof reader->window, reader->at);
            if (got <= 0) {
                return FLUID_FAILED;
            }
            if (large) {
                to += got;
                count -= got;
                reader->at += got;
                continue;
            }
            reader->windowAt = reader->at;
            reader->windowSize = static_cast<size_t>(got);
        }
        const size_t from = static_cast<size_t>(reader->at - reader->windowAt);
        const size_t part = std::min(static_cast<size_t>(count), reader->windowSize - from);
        std::memcpy(to, reader->window + from, part);
        to += part;
        count -= static_cast<fluid_long_long_t>(part);
        reader->at += static_cast<off_t>(part);
    }
    return FLUID_OK;
}

int SeekFont(void* handle, fluid_long_long_t offset, int origin) {
    auto* reader = static_cast<FontReader*>(handle);
    const off_t base = origin == SEEK_CUR ? reader->at : origin == SEEK_END ? reader->size : 0;
    if ((origin != SEEK_SET && origin != SEEK_CUR && origin != SEEK_END) || base + offset < 0) {
        return FLUID_FAILED;
    }
    reader->at = static_cast<off_t>(base + offset);
    return FLUID_OK;
}

fluid_long_long_t TellFont(void* handle) { return static_cast<FontReader*>(handle)->at; }

int CloseFont(void* handle) {
    delete static_cast<FontReader*>(handle);
    return FLUID_OK;
}

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
    Discard(queued);
    Discard(sounding);
    if (synth) {
        delete_fluid_synth(synth);
    }
    if (!heldFont.empty()) {
        ReleaseFont(heldFont);
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
    // Samples load with the instruments the pieces ask for, not the whole soundfont: FluidR3 would take
    // 148 MB, locked in memory. Each instrument is loaded when its piece opens, from the file held open
    // (HoldFont), and stays (Pin). Reverb and chorus stay on, as the pieces were balanced: together they
    // cost under a third of a point of one core.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    // A piece going round again keeps its notes ringing into the downbeat; changes reset by hand.
    fluid_settings_setint(settings, "player.reset-synth", 0);
    fluid_settings_setnum(settings, "synth.sample-rate", kMixerRate);
    synthGain = SynthGain(font);
    fluid_settings_setnum(settings, "synth.gain", synthGain);
    synth = new_fluid_synth(settings);
    if (!synth) {
        return;
    }
    heldFont = HoldFont(font);
    if (!heldFont.empty()) {
        fluid_sfloader_t* reader = new_fluid_defsfloader(settings);
        fluid_sfloader_set_callbacks(reader, OpenFont, ReadFont, SeekFont, TellFont, CloseFont);
        fluid_synth_add_sfloader(synth, reader);
    }
    fontId = fluid_synth_sfload(synth, (heldFont.empty() ? font : heldFont).c_str(), 1);
    if (fontId == FLUID_FAILED) {
        delete_fluid_synth(synth);
        synth = nullptr;
        return;
    }
    // What a reset selects on every channel.
    Pin(0, 0);
    Pin(kDrumBank, 0);
}

void PlatformMusicPlayer::Pin(int bank, int program) {
    if (bank < 0 || bank > kDrumBank || program < 0 || program > 127 || pinned[bank * 128 + program].exchange(true)) {
        return;
    }
    // A preset the soundfont lacks falls back to the first bank's (or the standard drum kit).
    if (fluid_synth_pin_preset(synth, fontId, bank, program) != FLUID_OK) {
        Pin(bank == kDrumBank ? kDrumBank : 0, bank == kDrumBank ? 0 : program);
    }
}

int PlatformMusicPlayer::PlayEvent(void* data, fluid_midi_event_t* event) {
    auto* self = static_cast<PlatformMusicPlayer*>(data);
    const int channel = fluid_midi_event_get_channel(event) & 15;
    const int type = fluid_midi_event_get_type(event);
    if (type == 0xB0 && fluid_midi_event_get_control(event) == 0) {
        self->banks[channel] = fluid_midi_event_get_value(event);
    } else if (type == 0xC0) {
        // Already loaded when the piece opened; this only catches what its file did not show.
        self->Pin(channel == kDrumChannel ? kDrumBank : self->banks[channel], fluid_midi_event_get_program(event));
    }
    return fluid_synth_handle_midi_event(self->synth, event);
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

fluid_player_t* PlatformMusicPlayer::NewPlayer(const std::string& file) {
    fluid_player_t* player = new_fluid_player(synth);
    if (!player) {
        return nullptr;
    }
    fluid_player_set_playback_callback(player, PlayEvent, this);
    if (fluid_player_add(player, file.c_str()) != FLUID_OK) {
        delete_fluid_player(player);
        return nullptr;
    }
    return player;
}

void PlatformMusicPlayer::Discard(Piece& piece) {
    for (fluid_player_t* player : {piece.player, piece.spare}) {
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
        }
    }
    piece = Piece();
}

void PlatformMusicPlayer::Reset() {
    fluid_synth_all_sounds_off(synth, -1);
    fluid_synth_system_reset(synth);
    std::fill(std::begin(banks), std::end(banks), 0);
    retiring = pausing = false;
    fade = 1;
    totalTicks = 0;
    framesSinceLoop = -1;
}

bool PlatformMusicPlayer::Open(const std::string& path) {
    Close();
    if (!Readable(path) || !fluid_is_midifile(path.c_str()) || !WaitForSynth()) {
        return false;
    }
    // Every instrument of the piece is loaded here, on this thread, before it plays, and kept: the
    // audio thread then never reads the soundfont nor sees sample data come or go.
    std::ifstream file(path, std::ios::binary);
    for (const auto& [bank, program] : MidiPresets::Read({std::istreambuf_iterator<char>(file), {}})) {
        Pin(bank, program);
    }
    // Made under the lock: a new player joins the synthesiser's timers, which the audio thread walks.
    std::lock_guard<std::mutex> guard(lock);
    Piece piece{path, NewPlayer(path), NewPlayer(path), false};
    if (!piece.player) {
        Discard(piece);
        return false;
    }
    // The old piece may still be fading out; this one waits for the silence.
    (sounding.player ? queued : sounding) = piece;
    return true;
}

bool PlatformMusicPlayer::Play(bool fromStart) {
    std::lock_guard<std::mutex> guard(lock);
    Piece& piece = queued.player ? queued : sounding;
    if (!piece.player) {
        return false;
    }
    if (&piece == &sounding) {
        // The replay asked for at the end: the piece already went on from its start, on the beat.
        if (fromStart && framesSinceLoop >= 0 && piece.plays && !pausing) {
            framesSinceLoop = -1;
            return true;
        }
        pausing = false;
        framesSinceLoop = -1;
    }
    if (fromStart && fluid_player_seek(piece.player, 0) != FLUID_OK) {
        return false;
    }
    // A queued piece starts when the old one has faded out.
    if (&piece == &sounding && fluid_player_play(piece.player) != FLUID_OK) {
        return false;
    }
    piece.plays = true;
    return true;
}

void PlatformMusicPlayer::Stop() {
    std::lock_guard<std::mutex> guard(lock);
    Piece& piece = queued.player ? queued : sounding;
    if (piece.player && piece.plays) {
        if (&piece == &queued) {
            piece.plays = false;
        } else {
            pausing = true;
            framesSinceLoop = -1;
        }
    }
}

void PlatformMusicPlayer::Close() {
    std::lock_guard<std::mutex> guard(lock);
    Discard(queued);
    if (sounding.plays) {
        retiring = true;
        framesSinceLoop = -1;
    } else if (sounding.player) {
        Discard(sounding);
        Reset();
    }
}

void PlatformMusicPlayer::MusicHook(void* self, uint8_t* stream, int length) {
    static_cast<PlatformMusicPlayer*>(self)->Render(stream, length);
}

void PlatformMusicPlayer::Render(uint8_t* stream, int length) {
    const MusicDuck asked = MusicDucked();
    const double decibels = asked == MusicDuck::Speech ? kSpeechDuckDecibels : asked == MusicDuck::Jingle ? kDuckDecibels : 0;
    const float target = static_cast<float>(std::pow(10.0, decibels / 20));
    std::lock_guard<std::mutex> guard(lock);
    if (target <= heldDuck || (duckHeldFrames -= length / 4) <= 0) {
        heldDuck = target;
        duckHeldFrames = static_cast<long>(kDuckHoldSeconds * kMixerRate);
    }
    const float duckTarget = heldDuck;
    auto* frames = reinterpret_cast<int16_t*>(stream);
    for (int done = 0, count = length / 4; done < count; done += kBlockFrames) {
        RenderBlock(frames + 2 * done, std::min(kBlockFrames, count - done), duckTarget);
    }
}

void PlatformMusicPlayer::RenderBlock(int16_t* out, int count, float duckTarget) {
    // Stopped means silent; the reverb tail was faded out with the rest.
    if (!sounding.player || !sounding.plays) {
        std::memset(out, 0, static_cast<size_t>(count) * 4);
        return;
    }
    float left[kBlockFrames];
    float right[kBlockFrames];
    fluid_synth_write_float(synth, count, left, 0, 1, right, 0, 1);
    const float fadeTarget = retiring || pausing ? 0.0f : 1.0f;
    for (int i = 0; i < count; ++i) {
        fade = MoveToward(fade, fadeTarget, kFadeStep, kFadeStep);
        duck = MoveToward(duck, duckTarget, kDuckStepDown, kDuckStepUp);
        const float gain = fade * duck * 32767.0f;
        out[2 * i] = static_cast<int16_t>(std::clamp(std::lrint(left[i] * gain), -32768L, 32767L));
        out[2 * i + 1] = static_cast<int16_t>(std::clamp(std::lrint(right[i] * gain), -32768L, 32767L));
    }
    if (fade <= 0 && (retiring || pausing)) {
        SettleFade();
    } else {
        LoopIfEnded(count);
    }
}

void PlatformMusicPlayer::SettleFade() {
    if (retiring) {
        Discard(sounding);
        Reset();
        // The next piece starts on silence.
        sounding = std::exchange(queued, Piece());
        if (sounding.plays) {
            fluid_player_play(sounding.player);
        }
        return;
    }
    fluid_player_stop(sounding.player);
    fluid_synth_all_sounds_off(synth, -1);
    sounding.plays = false;
    pausing = false;
    fade = 1;
}

void PlatformMusicPlayer::LoopIfEnded(int count) {
    if (framesSinceLoop >= 0 && (framesSinceLoop += count) > kLoopClaimSeconds * kMixerRate) {
        // Nobody wanted the piece again: it goes quiet as if it had ended.
        pausing = true;
        framesSinceLoop = -1;
    }
    // Walks every event of the piece: asked once the player has loaded the file.
    if (totalTicks <= 0) {
        totalTicks = fluid_player_get_total_ticks(sounding.player);
    }
    // FluidSynth itself calls a piece done only seconds after its last event; the end of the track is
    // the end of the piece, and the spare player takes over on the next block, so the repeat is on the
    // beat while the last notes ring on.
    if (totalTicks <= 0 || fluid_player_get_current_tick(sounding.player) < totalTicks) {
        return;
    }
    if (sounding.spare) {
        // The player gone, notes it still holds at its last tick would hang: they ring out instead.
        delete_fluid_player(sounding.player);
        fluid_synth_all_notes_off(synth, -1);
        sounding.player = std::exchange(sounding.spare, NewPlayer(sounding.path));
        fluid_player_play(sounding.player);
    } else {
        fluid_player_seek(sounding.player, 0);
    }
    framesSinceLoop = 0;
    ReportEnd();
}

void PlatformMusicPlayer::SetVolume(int percent) {
    volume = std::clamp(percent, 0, 100);
    // The synthesiser may still be loading; the next piece applies the level then.
    if (!loader.joinable() && synth) {
        fluid_synth_set_gain(synth, static_cast<float>(synthGain * volume / 100));
    }
}
