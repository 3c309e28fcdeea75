#pragma once

// Registers the SDL2_mixer sound effect device and the FluidSynth music player; the soundfont
// starts loading at once.
void InstallAudioPlatform();
// Closes the music before the audio device goes away.
void ShutdownAudioPlatform();
