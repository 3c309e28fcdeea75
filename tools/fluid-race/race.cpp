// Drives libfluidsynth the way the music player did (or does) from two threads, as fast as the machine
// allows, to find the sequence that left a voice rendering a sample whose data was given back.
//
//   race MODE FONT POLYPHONY SECONDS SEED MIDI...
//
// MODE
//   prefix  the player before pinning: one fluid_player per piece made outside the lock, the synth
//           rendered only while playing, Stop = stop + all sounds off, Close = stop + delete + all sounds
//           off + system reset; the volume set without the lock.
//   today   the same with every preset of the soundfont pinned and players made under the lock.
//   churn   prefix, and the playback callback also changes programs on a random channel before events
//           (many more preset selections and releases while voices sound).
//   direct  no player: the control thread plays notes, changes programs, turns sounds off and resets
//           while the render thread renders, with no lock of our own (FluidSynth's API lock only).
//   locked  direct, but each control step under the render lock (what the game's lock gave).
// RACE_FAILOPEN=N makes every Nth opening of the soundfont after the first fail, as it would on a process
// out of descriptors or memory: the instrument's samples are then not read.
#include <fluidsynth.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

fluid_synth_t* synth;
std::mutex lock;
fluid_player_t* player;
bool playing;
int totalTicks;
std::atomic<bool> ended{false};
std::atomic<bool> quit{false};
std::atomic<long> frames{0};
std::string mode;
int fontId;

void Quiet(int, const char*, void*) {}

std::atomic<long> opens{0};
long failEvery;
long burst;

void* OpenFont(const char* path) {
    if (failEvery > 0 && opens++ > 0 && opens % failEvery == 0) return nullptr;
    return std::fopen(path, "rb");
}
int ReadFont(void* buffer, fluid_long_long_t count, void* file) {
    return std::fread(buffer, 1, static_cast<size_t>(count), static_cast<FILE*>(file)) == static_cast<size_t>(count) ? FLUID_OK : FLUID_FAILED;
}
int SeekFont(void* file, fluid_long_long_t offset, int origin) {
    return std::fseek(static_cast<FILE*>(file), static_cast<long>(offset), origin) == 0 ? FLUID_OK : FLUID_FAILED;
}
int CloseFont(void* file) { return std::fclose(static_cast<FILE*>(file)) == 0 ? FLUID_OK : FLUID_FAILED; }
fluid_long_long_t TellFont(void* file) { return std::ftell(static_cast<FILE*>(file)); }

int Churn(void* data, fluid_midi_event_t* event) {
    static thread_local std::mt19937 random(7);
    if (random() % 4 == 0) {
        const int channel = static_cast<int>(random() % 16);
        fluid_synth_program_change(synth, channel, static_cast<int>(random() % 128));
    }
    return fluid_synth_handle_midi_event(data, event);
}

fluid_player_t* NewPlayer(const std::string& file) {
    fluid_player_t* made = new_fluid_player(synth);
    if (mode == "churn") fluid_player_set_playback_callback(made, Churn, synth);
    if (fluid_player_add(made, file.c_str()) != FLUID_OK) {
        delete_fluid_player(made);
        return nullptr;
    }
    return made;
}

void Close() {
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

void Open(const std::string& file) {
    Close();
    fluid_player_t* made = nullptr;
    if (mode == "today") {
        std::lock_guard<std::mutex> guard(lock);
        made = NewPlayer(file);
    } else {
        made = NewPlayer(file);
    }
    std::lock_guard<std::mutex> guard(lock);
    player = made;
    totalTicks = 0;
    playing = false;
}

void Play(bool fromStart) {
    std::lock_guard<std::mutex> guard(lock);
    if (!player) return;
    if (fromStart) fluid_player_seek(player, 0);
    fluid_player_play(player);
    playing = true;
}

void Stop() {
    std::lock_guard<std::mutex> guard(lock);
    if (player) {
        fluid_player_stop(player);
        fluid_synth_all_sounds_off(synth, -1);
    }
    playing = false;
}

void Render(std::mt19937& random) {
    int16_t out[2 * 1024];
    const bool direct = mode == "direct" || mode == "locked";
    std::unique_lock<std::mutex> guard(lock, std::defer_lock);
    if (!direct || mode == "locked") guard.lock();
    if (!direct && (!player || !playing)) return;
    const int count = 1 + static_cast<int>(random() % 1024);
    fluid_synth_write_s16(synth, count, out, 0, 2, out, 1, 2);
    frames += count;
    if (direct) return;
    if (totalTicks <= 0) totalTicks = fluid_player_get_total_ticks(player);
    if (totalTicks > 0 && fluid_player_get_current_tick(player) >= totalTicks) ended = true;
}

void ControlPlayer(std::mt19937& random, const std::vector<std::string>& files) {
    switch (random() % 8) {
        case 0: case 1: Open(files[random() % files.size()]); Play(true); break;
        case 2: Stop(); break;
        case 3: Play(false); break;
        case 4: Play(true); break;
        case 5: Close(); break;
        case 6: fluid_synth_set_gain(synth, static_cast<float>(random() % 100) / 100.0f); break;
        default: break;
    }
    if (ended.exchange(false)) Play(true);
}

void ControlDirect(std::mt19937& random) {
    std::unique_lock<std::mutex> guard(lock, std::defer_lock);
    if (mode == "locked") guard.lock();
    const int channel = static_cast<int>(random() % 16);
    switch (random() % 10) {
        case 0: case 1: case 2: case 3:
            // RACE_BURST notes at once fill FluidSynth's event queue faster than rendering empties it.
            for (long n = burst; n-- > 0;) {
                fluid_synth_noteon(synth, static_cast<int>(random() % 16), 30 + static_cast<int>(random() % 60),
                                   1 + static_cast<int>(random() % 127));
            }
            fluid_synth_noteon(synth, channel, 30 + static_cast<int>(random() % 60), 1 + static_cast<int>(random() % 127));
            break;
        case 4: fluid_synth_noteoff(synth, channel, 30 + static_cast<int>(random() % 60)); break;
        case 5: case 6: fluid_synth_program_change(synth, channel, static_cast<int>(random() % 128)); break;
        case 7: fluid_synth_all_sounds_off(synth, -1); break;
        case 8: fluid_synth_system_reset(synth); break;
        default: fluid_synth_set_gain(synth, static_cast<float>(random() % 100) / 100.0f); break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: race MODE FONT POLYPHONY SECONDS SEED MIDI...\n");
        return 2;
    }
    mode = argv[1];
    const std::string font = argv[2];
    const int polyphony = std::atoi(argv[3]);
    const int seconds = std::atoi(argv[4]);
    const unsigned seed = static_cast<unsigned>(std::atoi(argv[5]));
    std::vector<std::string> files(argv + 6, argv + argc);
    if (!std::getenv("RACE_LOG")) {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, Quiet, nullptr);
    }
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setnum(settings, "synth.sample-rate", 44100);
    fluid_settings_setint(settings, "synth.polyphony", polyphony);
    synth = new_fluid_synth(settings);
    if (const char* notes = std::getenv("RACE_BURST")) burst = std::atol(notes);
    if (const char* every = std::getenv("RACE_FAILOPEN")) {
        failEvery = std::atol(every);
        fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
        fluid_sfloader_set_callbacks(loader, OpenFont, ReadFont, SeekFont, TellFont, CloseFont);
        fluid_synth_add_sfloader(synth, loader);
    }
    fontId = fluid_synth_sfload(synth, font.c_str(), 1);
    if (fontId == FLUID_FAILED) return 2;
    if (mode == "today") {
        for (int bank : {0, 128})
            for (int program = 0; program < 128; ++program) fluid_synth_pin_preset(synth, fontId, bank, program);
    }
    std::thread render([seed] {
        std::mt19937 random(seed * 2 + 1);
        while (!quit) {
            Render(random);
            if (random() % 8 == 0) std::this_thread::yield();
        }
    });
    std::mt19937 random(seed);
    long steps = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (mode == "direct" || mode == "locked") {
            ControlDirect(random);
        } else {
            ControlPlayer(random, files);
        }
        ++steps;
        // From nothing to a few hundred microseconds between steps, so they land in every part of a pass.
        const unsigned wait = random() % 16;
        if (wait < 8) {
            for (unsigned spin = 0; spin < wait * 1000; ++spin) std::atomic_signal_fence(std::memory_order_seq_cst);
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
        }
    }
    quit = true;
    render.join();
    Close();
    std::printf("%s %s poly=%d steps=%ld frames=%ld seconds=%.1f\n", mode.c_str(), font.c_str(), polyphony, steps,
                frames.load(), frames.load() / 44100.0);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return 0;
}
