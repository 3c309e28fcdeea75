#pragma once

// The DirectInput scan code of an SDL scancode (key position, not the layout's letter);
// 0 for keys the game's keyboard state has no byte for.
int DirectInputScanCode(int sdlScancode);
// The character the user's keyboard layout puts on the key at a DirectInput scan code, when it is an ASCII
// letter or digit; 0 otherwise.
char LayoutCharacter(int directInputCode);
