#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "input/Input.h"
#include "platform/SdlJoystick.h"
#include "platform/SdlShell.h"
#include "shell/Shell.h"

// SDL's dummy video driver with the input module on the SDL keyboard and joystick, as at start-up.
class SdlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SetInputPlatform(MakeSdlInputPlatform());
        ASSERT_TRUE(CreateInput(nullptr, nullptr));
        platform = MakeSdlShellPlatform();
        Drain();
    }
    void TearDown() override {
        CloseJoystick();
        ReleaseInput();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_VIDEO);
    }
    static void PushKey(Uint32 type, SDL_Scancode scancode, bool repeat = false) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = scancode;
        event.key.repeat = repeat ? 1 : 0;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
    // Every waiting event through the shell's message pump.
    std::vector<ShellMessage> Drain() {
        std::vector<ShellMessage> messages;
        ShellMessage message;
        while (platform.peekMessage(&message)) {
            messages.push_back(message);
        }
        return messages;
    }

    ShellPlatform platform;
};
