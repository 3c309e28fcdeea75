#pragma once

#include <cstdint>

// The DirectInput scan code of an SDL scancode (key position, not the layout's letter);
// 0 for keys the game's keyboard state has no byte for.
int DirectInputScanCode(int sdlScancode);
// The character (Unicode) the user's keyboard layout puts on the key at a DirectInput scan code; 0 for a key
// that types none, or only a blank or a control character.
uint32_t LayoutCharacter(int directInputCode);
