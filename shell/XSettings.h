#pragma once

#include <cstdint>

#include "shell/WindowPlacement.h"

// What the game remembers beside the high scores, in a registry key of its own: full screen or a window
// (its size and place), the volumes of the music and the effects, each player's two steering keys by
// scan code, and which player colours show. A value that is missing or out of its range reads as its
// default.
class XSettings {
public:
    static constexpr const char* kRegistryKey = "Software\\KovraGames\\Tintorix\\Settings";
    static constexpr int kColoursOriginal = 0;
    // Colours that players with any kind of colour blindness tell apart.
    static constexpr int kColoursTellApart = 1;

    XSettings();
    virtual ~XSettings();

    void SetDefaults();
    void Load();
    // False when the file could not be written.
    bool Save() const;

    // The bitmap whose colour table the display shows for the player colours chosen.
    uint16_t PaletteBitmap() const;
    // The player other than except who turns with a key, or -1.
    int KeyOwner(int scanCode, int except) const;

    WindowPlacement window;
    // Per cent of the loudness the game was made with.
    int musicVolume = 100;
    int effectsVolume = 100;
    // Left, then right, for players 1 to 4.
    int steeringKeys[4][2] = {};
    int playerColours = kColoursOriginal;
};
