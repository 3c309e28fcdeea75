#pragma once

// Background music through the five command strings of the media control layer:
// "open %s type sequencer alias MUSIC", "play MUSIC from 0 notify", "play MUSIC notify",
// "stop MUSIC" and "close all".
bool MciPlayMusicFile(void* window, const char* path);
bool MciStopMusic();
bool MciResumeMusic(void* window);
bool MciReplayMusic(void* window);
bool MciCloseAll();
