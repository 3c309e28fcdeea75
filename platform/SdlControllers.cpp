#include "platform/SdlControllers.h"

#include <SDL.h>

#include <map>

#include "input/Controllers.h"
#include "platform/SdlJoystick.h"

namespace {

// By joystick instance id, the id the input layer knows the controller by.
std::map<SDL_JoystickID, SDL_GameController*> openControllers;

void Open(int deviceIndex) {
    SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    // Joystick 0 is player 1's under its own rules; SDL may also announce a device twice.
    if (instance < 0 || instance == OpenJoystickInstance() || openControllers.count(instance)) {
        return;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        return;
    }
    instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    openControllers[instance] = controller;
    ControllerAdded(instance);
}

void Close(SDL_JoystickID instance) {
    auto found = openControllers.find(instance);
    if (found == openControllers.end()) {
        return;
    }
    SDL_GameControllerClose(found->second);
    openControllers.erase(found);
    ControllerRemoved(instance);
}

bool ButtonOf(Uint8 sdlButton, PadButton* button) {
    switch (sdlButton) {
        case SDL_CONTROLLER_BUTTON_A:
            *button = PadButton::A;
            return true;
        case SDL_CONTROLLER_BUTTON_B:
            *button = PadButton::B;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            *button = PadButton::Up;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            *button = PadButton::Down;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            *button = PadButton::Left;
            return true;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            *button = PadButton::Right;
            return true;
        default:
            return false;
    }
}

}  // namespace

bool HandleControllerEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Open(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            PadButton button;
            if (openControllers.count(event.cbutton.which) && ButtonOf(event.cbutton.button, &button)) {
                ControllerButtonEvent(event.cbutton.which, button, event.type == SDL_CONTROLLERBUTTONDOWN);
            }
            return true;
        }
        case SDL_CONTROLLERAXISMOTION:
            if (openControllers.count(event.caxis.which)) {
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                    ControllerAxisEvent(event.caxis.which, PadAxis::LeftX, event.caxis.value);
                } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                    ControllerAxisEvent(event.caxis.which, PadAxis::LeftY, event.caxis.value);
                }
            }
            return true;
        default:
            return false;
    }
}

void CloseControllers() {
    for (auto& [instance, controller] : openControllers) {
        SDL_GameControllerClose(controller);
        ControllerRemoved(instance);
    }
    openControllers.clear();
}
