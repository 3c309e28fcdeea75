#include "platform/Platform.h"

#include <SDL.h>

#include "gfx/Display.h"
#include "input/Input.h"
#include "platform/PlatformAudio.h"
#include "platform/SdlControllers.h"
#include "platform/SdlDisplayDevice.h"
#include "platform/SdlJoystick.h"
#include "platform/SdlShell.h"
#include "shell/Shell.h"

void InstallPlatform() {
    SetShellPlatform(MakeSdlShellPlatform());
    SetDisplayDeviceFactory(SdlDisplayDevice::Create);
    SetInputPlatform(MakeSdlInputPlatform());
    InstallAudioPlatform();
}

void ShutdownPlatform() {
    ShutdownAudioPlatform();
    CloseControllers();
    CloseJoystick();
    DestroyMainWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK);
}
