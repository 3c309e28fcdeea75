#pragma once

#include "input/Input.h"

// Joystick 0 through SDL beneath the input module: axes as 0..65535, the first four buttons.
InputPlatform MakeSdlInputPlatform();
void CloseJoystick();
// The SDL instance id of joystick 0, or -1 when none is open.
int OpenJoystickInstance();
