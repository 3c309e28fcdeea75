#include "audio/Music.h"

// Placeholder until the sequencer lands: nothing opens, so the game stays silent.
bool MciPlayMusicFile(void*, const char*) { return false; }
bool MciStopMusic() { return false; }
bool MciResumeMusic(void*) { return false; }
bool MciReplayMusic(void*) { return false; }
bool MciCloseAll() { return true; }
