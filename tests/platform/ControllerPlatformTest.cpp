#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "input/Controllers.h"
#include "input/Input.h"
#include "platform/SdlControllers.h"
#include "platform/SdlJoystick.h"
#include "platform/SdlShell.h"

namespace {

class ControllerPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // As at start-up: the input module opens the joystick side of SDL.
        SetInputPlatform(MakeSdlInputPlatform());
        ASSERT_TRUE(CreateInput(nullptr, nullptr));
        platform = MakeSdlShellPlatform();
        Drain();
    }
    void TearDown() override {
        if (virtualIndex >= 0) {
            SDL_JoystickDetachVirtual(virtualIndex);
        }
        CloseControllers();
        CloseJoystick();
        ReleaseInput();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_VIDEO);
    }
    void Drain() {
        ShellMessage message;
        while (platform.peekMessage(&message)) {
        }
    }

    // A virtual game controller, or -1 where SDL cannot make one that opens as a game controller.
    int AttachPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "test pad";
        virtualIndex = SDL_JoystickAttachVirtualEx(&desc);
        if (virtualIndex >= 0 && !SDL_IsGameController(virtualIndex)) {
            SDL_JoystickDetachVirtual(virtualIndex);
            virtualIndex = -1;
        }
        return virtualIndex;
    }

    ShellPlatform platform;
    int virtualIndex = -1;
};

TEST_F(ControllerPlatformTest, APluggedInControllersDpadSteersPlayerTwoUntilUnplugged) {
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER)) << "the game controller events must be on";
    if (AttachPad() < 0) {
        GTEST_SKIP() << "no virtual game controller here: " << SDL_GetError();
    }
    SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(virtualIndex);
    Drain();
    if (SDL_JoystickID(OpenJoystickInstance()) == instance) {
        GTEST_SKIP() << "the virtual device became joystick 0";
    }
    ASSERT_EQ(GetControllerPlayer(instance), 1) << "the first extra controller steers player 2";

    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(instance);
    ASSERT_NE(joystick, nullptr);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_PRESSED), 0);
    Drain();
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyLeft);
    EXPECT_EQ(GetKeyHorizontal(), kJoyNone);

    ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_RELEASED), 0);
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, 30000), 0);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED), 0);
    Drain();
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyRight);
    EXPECT_TRUE(IsConfirmPressed());

    ASSERT_EQ(SDL_JoystickDetachVirtual(virtualIndex), 0);
    virtualIndex = -1;
    Drain();
    EXPECT_EQ(GetControllerPlayer(instance), -1);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
}

TEST_F(ControllerPlatformTest, TheControllerFoundAtStartUpAsJoystickZeroStaysPlayerOnesOnly) {
    if (SDL_NumJoysticks() > 0) {
        GTEST_SKIP() << "a real joystick is connected";
    }
    ReleaseInput();
    if (AttachPad() < 0) {
        GTEST_SKIP() << "no virtual game controller here: " << SDL_GetError();
    }
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    Drain();
    SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(virtualIndex);
    ASSERT_EQ(SDL_JoystickID(OpenJoystickInstance()), instance);
    EXPECT_EQ(GetControllerPlayer(instance), -1) << "joystick 0 is no extra controller";

    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(instance);
    ASSERT_NE(joystick, nullptr);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_PRESSED);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    Drain();
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
    EXPECT_EQ(GetJoyHorizontal(1), kJoyLeft) << "its stick is player 1's joystick";
}

}  // namespace
