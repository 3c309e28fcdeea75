#pragma once

#include <cstdint>

#include "shell/WindowPlacement.h"

// What the game remembers beside the high scores, in a registry key of its own: full screen or a window
// (its size and place), the volumes of the music and the effects, and each player's two steering keys by
// scan code. A value that is missing or out of its range reads as its default.
class XSettings {
public:
    static constexpr const char* kRegistryKey = "Software\\KovraGames\\Tintorix\\Settings";

    XSettings();
    virtual ~XSettings();

    void SetDefaults();
    void Load();
    void Save() const;

    WindowPlacement window;
    // Per cent of the loudness the game was made with.
    int musicVolume = 100;
    int effectsVolume = 100;
    // Left, then right, for players 1 to 4.
    int steeringKeys[4][2] = {};
};
