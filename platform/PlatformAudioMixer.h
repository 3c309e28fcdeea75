#pragma once

#include <cstdint>

// The one SDL2_mixer output shared by the sound effects and the music, opened by its first user and
// closed by its last. Fixed format: the effects are converted to it once, the synthesiser renders in it.
constexpr int kMixerRate = 44100;
constexpr int kMixerChannels = 2;
constexpr int kMixerChunkFrames = 1024;

// False when there is no audio device: the caller stays silent.
bool AcquireMixer();
void ReleaseMixer();

// Mixer channels whose sound the music steps back for (voices, jingles), and the most any playing one
// asks for now.
enum class MusicDuck : int8_t { None, Jingle, Speech };
void SetDucksMusic(int mixerChannel, MusicDuck duck);
MusicDuck MusicDucked();
