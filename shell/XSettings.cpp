#include "shell/XSettings.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/ZWinReg.h"
#include "input/Input.h"

namespace {

constexpr int kDefaultKeys[4][2] = {
    {kKeyLeft, kKeyRight}, {kKeyZ, kKeyX}, {kKeyN, kKeyM}, {kKeyPad4, kKeyPad6}};
constexpr uint16_t kPaletteBitmaps[2] = {102, 253};

// A value of the key as a whole number within [low, high]; unchanged when it is missing or anything else.
void Read(ZWinReg& key, const char* name, int low, int high, int& value) {
    ZString text;
    if (!key.GetString(name, text) || text.GetLength() == 0 || text.GetLength() > 9) {
        return;
    }
    char* end = nullptr;
    long number = std::strtol(text.GetBuffer(), &end, 10);
    if (*end == '\0' && number >= low && number <= high) {
        value = static_cast<int>(number);
    }
}

// An unset size or place is written empty, so that it reads back as unset.
void Write(ZWinReg& key, const char* name, int value) {
    key.SetString(name, ZString(value == WindowPlacement::kUnset ? "" : std::to_string(value).c_str()));
}

std::string KeyName(int player, int side) {
    return "Player" + std::to_string(player + 1) + (side == 0 ? "Left" : "Right");
}

}  // namespace

XSettings::XSettings() {
    SetDefaults();
}

XSettings::~XSettings() = default;

void XSettings::SetDefaults() {
    window = WindowPlacement();
    musicVolume = effectsVolume = 100;
    playerColours = kColoursOriginal;
    for (int player = 0; player < 4; ++player) {
        steeringKeys[player][0] = kDefaultKeys[player][0];
        steeringKeys[player][1] = kDefaultKeys[player][1];
    }
}

void XSettings::Load() {
    ZWinReg key;
    if (!key.Create(RegistryRoot::CurrentUser, kRegistryKey)) {
        return;
    }
    int full = window.fullScreen;
    Read(key, "FullScreen", 0, 1, full);
    window.fullScreen = full != 0;
    // A window never smaller than the game's picture.
    Read(key, "WindowWidth", WindowPlacement::kMinWidth, 16384, window.width);
    Read(key, "WindowHeight", WindowPlacement::kMinHeight, 16384, window.height);
    Read(key, "WindowX", -32768, 32767, window.x);
    Read(key, "WindowY", -32768, 32767, window.y);
    Read(key, "MusicVolume", 0, 100, musicVolume);
    Read(key, "EffectsVolume", 0, 100, effectsVolume);
    Read(key, "PlayerColours", kColoursOriginal, kColoursTellApart, playerColours);
    for (int player = 0; player < 4; ++player) {
        int keys[2] = {steeringKeys[player][0], steeringKeys[player][1]};
        Read(key, KeyName(player, 0).c_str(), 1, 255, keys[0]);
        Read(key, KeyName(player, 1).c_str(), 1, 255, keys[1]);
        // One key for both ways could never turn: the pair stays as it was.
        if (keys[0] != keys[1]) {
            steeringKeys[player][0] = keys[0];
            steeringKeys[player][1] = keys[1];
        }
    }
}

bool XSettings::Save() const {
    ZWinReg key;
    if (!key.Create(RegistryRoot::CurrentUser, kRegistryKey)) {
        return false;
    }
    Write(key, "FullScreen", window.fullScreen);
    Write(key, "WindowWidth", window.width);
    Write(key, "WindowHeight", window.height);
    Write(key, "WindowX", window.x);
    Write(key, "WindowY", window.y);
    Write(key, "MusicVolume", musicVolume);
    Write(key, "EffectsVolume", effectsVolume);
    for (int player = 0; player < 4; ++player) {
        Write(key, KeyName(player, 0).c_str(), steeringKeys[player][0]);
        Write(key, KeyName(player, 1).c_str(), steeringKeys[player][1]);
    }
    Write(key, "PlayerColours", playerColours);
    return key.Close();
}

uint16_t XSettings::PaletteBitmap() const { return kPaletteBitmaps[playerColours == kColoursTellApart]; }

int XSettings::KeyOwner(int scanCode, int except) const {
    for (int player = 0; player < 4; ++player) {
        const int* keys = steeringKeys[player];
        // Player 4 on the keypad's 4 and 6 turns with the number row's too.
        bool numberRow = player == 3 && keys[0] == kKeyPad4 && keys[1] == kKeyPad6 &&
                         (scanCode == kKey4 || scanCode == kKey6);
        if (player != except && (keys[0] == scanCode || keys[1] == scanCode || numberRow)) {
            return player;
        }
    }
    return -1;
}
