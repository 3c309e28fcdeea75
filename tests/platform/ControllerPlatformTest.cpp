#include "input/Controllers.h"
#include "platform/SdlControllers.h"
#include "platform/SdlTestSupport.h"

namespace {

class ControllerPlatformTest : public SdlFixture {
protected:
    void TearDown() override {
        if (virtualIndex >= 0) {
            SDL_JoystickDetachVirtual(virtualIndex);
        }
        CloseControllers();
        SdlFixture::TearDown();
    }
    // A virtual game controller's instance, or -1 where SDL cannot make one that opens as a controller.
    SDL_JoystickID AttachPad() {
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
        return virtualIndex < 0 ? -1 : SDL_JoystickGetDeviceInstanceID(virtualIndex);
    }
    void Set(SDL_JoystickID pad, SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(pad), button,
                                     down ? SDL_PRESSED : SDL_RELEASED);
    }
    void Stick(SDL_JoystickID pad, int x) {
        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(pad), SDL_CONTROLLER_AXIS_LEFTX,
                                   static_cast<Sint16>(x));
    }
    void Pump() {
        Drain();
        UpdateInput();
    }

    int virtualIndex = -1;
};

TEST_F(ControllerPlatformTest, APluggedInControllerSteersPlayerTwoUntilUnplugged) {
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER)) << "the game controller events must be on";
    SDL_JoystickID pad = AttachPad();
    if (pad < 0 || SDL_JoystickID(OpenJoystickInstance()) == pad) {
        GTEST_SKIP() << "no virtual game controller beside joystick 0 here";
    }
    Drain();
    ASSERT_EQ(GetControllerPlayer(pad), 1);
    Set(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Pump();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyLeft);
    EXPECT_EQ(GetKeyHorizontal(), kJoyNone);
    Set(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    Stick(pad, 30000);
    Set(pad, SDL_CONTROLLER_BUTTON_A, true);
    Pump();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyRight);
    EXPECT_TRUE(IsConfirmPressed());
    SDL_JoystickDetachVirtual(virtualIndex);
    virtualIndex = -1;
    Pump();
    EXPECT_EQ(GetControllerPlayer(pad), -1);
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
}

TEST_F(ControllerPlatformTest, TheControllerFoundAtStartUpIsJoystickZeroAndPlayerOnesOnly) {
    if (SDL_NumJoysticks() > 0) {
        GTEST_SKIP() << "a real joystick is connected";
    }
    ReleaseInput();
    SDL_JoystickID pad = AttachPad();
    if (pad < 0) {
        GTEST_SKIP() << "no virtual game controller here";
    }
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    Drain();
    ASSERT_EQ(SDL_JoystickID(OpenJoystickInstance()), pad);
    EXPECT_EQ(GetControllerPlayer(pad), -1);
    Set(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Stick(pad, -30000);
    Pump();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
    EXPECT_EQ(GetJoyHorizontal(1), kJoyLeft) << "its stick is player 1's joystick";
}

}  // namespace
