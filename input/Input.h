#pragma once

#include <cstdint>

#include "base/ZString.h"

// DirectInput scan codes the game reads.
constexpr int kKeyEscape = 1;
constexpr int kKey4 = 5;
constexpr int kKey6 = 7;
constexpr int kKeyBackspace = 14;
constexpr int kKeyP = 25;
constexpr int kKeyReturn = 28;
constexpr int kKeyZ = 44;
constexpr int kKeyX = 45;
constexpr int kKeyN = 49;
constexpr int kKeyM = 50;
constexpr int kKeySpace = 57;
constexpr int kKeyPad4 = 75;
constexpr int kKeyPad6 = 77;
constexpr int kKeyPadEnter = 156;
constexpr int kKeyUp = 200;
constexpr int kKeyLeft = 203;
constexpr int kKeyRight = 205;
constexpr int kKeyDown = 208;

// Joystick direction codes on a 32-step circle.
constexpr int kJoyRight = 0;
constexpr int kJoyUp = 8;
constexpr int kJoyLeft = 16;
constexpr int kJoyDown = 24;
constexpr int kJoyNone = -1;

// One snapshot: the joystick and the 256 key bytes (bit 0x80: down).
struct InputState {
    uint32_t joyX;
    uint32_t joyY;
    uint32_t joyZ;
    uint32_t joyButtons;
    uint8_t keys[256];
};

struct JoystickReading {
    uint32_t x;
    uint32_t y;
    uint32_t z;
    uint32_t buttons;
};

// What the platform provides beneath the input module; every member must be set. Without a joystick
// joyNumDevs answers 0.
struct InputPlatform {
    bool (*createKeyboard)() = nullptr;
    int (*joyNumDevs)() = nullptr;
    bool (*joyGetPos)(JoystickReading* reading) = nullptr;
    bool (*joyGetCaps)(uint32_t* xMin, uint32_t* xMax, uint32_t* yMin, uint32_t* yMax) = nullptr;
    // The character (Unicode) the user's keyboard layout puts on the key at a scan code, 0 for none.
    uint32_t (*keyLabel)(int scanCode) = nullptr;
};
void SetInputPlatform(const InputPlatform& platform);
// A keyboard nobody types on and no joystick, for the headless runs of the bench and the fuzzers.
InputPlatform HeadlessInputPlatform();

bool CreateInput(void* instance, void* window);
void ReleaseInput();
void AcquireKeyboard();
void UnacquireKeyboard();
bool IsKeyboardAcquired();

void UpdateInput();
int IsKeyDown(int scanCode);
bool IsKeyPressed(int scanCode);
bool IsJoyButtonPressed(int index);
int GetJoyDirection(int current);
bool IsJoyDirectionEntered(int code);
int GetJoyHorizontal(int current);
int GetKeyHorizontal();
// Appends the characters of the buffered key presses; stops once the text holds 10 or more.
void ReadTypedKeys(ZString& text);
void FlushTypedKeys();
char ScanCodeToChar(int scanCode);
// Confirm and cancel of the front-end screens: keys, joystick 0, and any game controller's A or B.
bool IsConfirmPressed();
bool IsCancelPressed();

// The keyboard device: the platform reports every key press and release (never auto-repeats) by position,
// and the text the user's layout types. While the device is not acquired, the keys held are still tracked
// but nothing is delivered: snapshots read all keys up and nothing is typed.
void KeyboardEvent(int scanCode, bool pressed);
// UTF-8 text. Only what the fonts have is typed (A-Z, 0-9, minus, full stop, blank), letters upper-cased
// and accented Latin letters as their plain letters.
void TextEvent(const char* text);
// The character the user's layout puts on the key at a scan code, a letter as its capital; 0 for a key
// without one (cursor and keypad keys, Escape).
uint32_t KeyLabel(int scanCode);

// Test access to the snapshots and joystick thresholds.
const InputState& GetCurrentInputState();
const InputState& GetPreviousInputState();
void GetJoyThresholds(uint32_t* left, uint32_t* right, uint32_t* up, uint32_t* down);
