#include "platform/SdlJoystick.h"

#include <SDL.h>

#include "platform/ScanCodes.h"

namespace {

SDL_Joystick* joystick = nullptr;

bool CreateKeyboard() {
    // The keyboard arrives as the window's key events; it exists whenever the window does.
    return true;
}

int JoyNumDevs() {
    // Further controllers are an extra: joystick 0 works without them. Their connection events wait
    // in the queue until the event pump, by which time joystick 0 is open and can be told apart.
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) {
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return 0;
    }
    if (!joystick && SDL_NumJoysticks() > 0) {
        joystick = SDL_JoystickOpen(0);
    }
    return joystick ? 1 : 0;
}

uint32_t AxisPosition(int axis) {
    if (axis >= SDL_JoystickNumAxes(joystick)) {
        return 32768;
    }
    return static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + 32768);
}

bool JoyGetPos(JoystickReading* reading) {
    if (!joystick || !SDL_JoystickGetAttached(joystick)) {
        return false;
    }
    reading->x = AxisPosition(0);
    reading->y = AxisPosition(1);
    reading->z = AxisPosition(2);
    reading->buttons = 0;
    int buttons = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < 4 && i < buttons; ++i) {
        if (SDL_JoystickGetButton(joystick, i)) {
            reading->buttons |= 1u << i;
        }
    }
    return true;
}

bool JoyGetCaps(uint32_t* xMin, uint32_t* xMax, uint32_t* yMin, uint32_t* yMax) {
    if (!joystick) {
        return false;
    }
    *xMin = 0;
    *xMax = 65535;
    *yMin = 0;
    *yMax = 65535;
    return true;
}

}  // namespace

InputPlatform MakeSdlInputPlatform() {
    InputPlatform platform;
    platform.createKeyboard = CreateKeyboard;
    platform.joyNumDevs = JoyNumDevs;
    platform.joyGetPos = JoyGetPos;
    platform.joyGetCaps = JoyGetCaps;
    platform.keyLabel = LayoutCharacter;
    return platform;
}

int OpenJoystickInstance() { return joystick ? SDL_JoystickInstanceID(joystick) : -1; }

void CloseJoystick() {
    if (joystick) {
        SDL_JoystickClose(joystick);
        joystick = nullptr;
    }
}
