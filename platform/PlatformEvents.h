#pragma once

#include <cstdint>

// Music end notification codes, as the main loop's music message carries them.
constexpr int kMusicNotifySuccessful = 1;
constexpr int kMusicNotifyAborted = 4;

// Posts the music layer's end notification to the main loop. Safe to call from any thread
// (the audio callback included); the event pump turns it into the music message for WindowProc.
void PostMusicNotification(int code);

// The SDL user event type carrying the notification (0 when SDL has no event types left).
std::uint32_t MusicEventType();
