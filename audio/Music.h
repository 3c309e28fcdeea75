#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "audio/MusicPlayer.h"

// Background music through the five command strings of the media control layer:
// "open %s type sequencer alias MUSIC", "play MUSIC from 0 notify", "play MUSIC notify",
// "stop MUSIC" and "close all". Each answers true when every command it sent succeeded.
bool MciPlayMusicFile(void* window, const char* path);
bool MciStopMusic();
bool MciResumeMusic(void* window);
bool MciReplayMusic(void* window);
bool MciCloseAll();
// The music's level in per cent, for every piece from now on.
void SetMusicVolume(int percent);

// Sends one command string; 0 on success. Notifications go to the main loop, whatever the window.
uint32_t MciSendString(const char* command, void* window);

// The platform's player and where end notifications go (the code of the music message). Replaces
// the one before, closing its piece; a null player leaves the game silent.
void InstallMusicPlayer(std::unique_ptr<MusicPlayer> player, std::function<void(int code)> notifier);
// Closes the piece and releases the player, before the audio device goes away.
void ShutdownMusic();
