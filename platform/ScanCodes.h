#pragma once

// The DirectInput scan code of an SDL scancode (key position, not the layout's letter);
// 0 for keys the game's keyboard state has no byte for.
int DirectInputScanCode(int sdlScancode);
