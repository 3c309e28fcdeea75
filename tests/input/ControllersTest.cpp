#include "input/Controllers.h"
#include "input/Input.h"
#include "support/TestSupport.h"

namespace {

class ControllersTest : public HeadlessTest {
protected:
    // A controller's button going down or up, as the platform reports it.
    static void Hold(int id, PadButton button) { ControllerButtonEvent(id, button, true); }
    static void Let(int id, PadButton button) { ControllerButtonEvent(id, button, false); }
};

TEST_F(ControllersTest, PlayersTwoToFourInOrderOfConnectionAndTheLowestFreeOnReplug) {
    for (int id : {10, 11, 12, 13}) {
        ControllerAdded(id);
    }
    EXPECT_EQ(GetControllerPlayer(10), 1);
    EXPECT_EQ(GetControllerPlayer(11), 2);
    EXPECT_EQ(GetControllerPlayer(12), 3);
    EXPECT_EQ(GetControllerPlayer(13), -1) << "a fourth extra controller steers nobody";
    EXPECT_EQ(GetControllerPlayer(99), -1);

    // Unplugging player 3's pad frees player 3 only; the spare keeps steering nobody.
    ControllerRemoved(11);
    EXPECT_EQ(GetControllerPlayer(11), -1);
    EXPECT_EQ(GetControllerPlayer(13), -1);
    EXPECT_EQ(GetControllerPlayer(10), 1);
    EXPECT_EQ(GetControllerPlayer(12), 3);
    ControllerRemoved(10);
    ControllerAdded(20);
    EXPECT_EQ(GetControllerPlayer(20), 1) << "lowest free player first";
    ControllerAdded(11);
    EXPECT_EQ(GetControllerPlayer(11), 2);
    // Announced twice: still one controller with its player.
    ControllerAdded(12);
    EXPECT_EQ(GetControllerPlayer(12), 3);
    ControllerAdded(30);
    EXPECT_EQ(GetControllerPlayer(30), -1);

    // An unplugged pad stops steering at once, also when it was held over.
    Hold(20, PadButton::Left);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyLeft);
    ControllerRemoved(20);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
    ControllerAdded(21);
    UpdateInput();
    EXPECT_EQ(GetControllerPlayer(21), 1);
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone) << "the new pad does not inherit the old one's button";

    // Creating the input again starts without controllers.
    ReleaseInput();
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    EXPECT_EQ(GetControllerPlayer(11), -1);
    ControllerAdded(40);
    EXPECT_EQ(GetControllerPlayer(40), 1);
}

TEST_F(ControllersTest, SteeringFromDpadOrStickBeyondTheDeadZoneOnTheNextSnapshot) {
    ControllerAdded(5);
    ControllerAdded(6);
    Hold(5, PadButton::Left);
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone) << "read from the snapshot, not the live state";
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyLeft);
    EXPECT_EQ(GetControllerHorizontal(2), kJoyNone);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyLeft) << "a level, not an edge";
    Hold(5, PadButton::Right);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone) << "both ways at once is no way";
    Let(5, PadButton::Left);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyRight);
    Let(5, PadButton::Right);

    struct Case {
        int x;
        int horizontal;
    };
    const Case cases[] = {{-kPadDeadZone, kJoyNone},
                          {-kPadDeadZone - 1, kJoyLeft},
                          {kPadDeadZone, kJoyNone},
                          {kPadDeadZone + 1, kJoyRight},
                          {-32768, kJoyLeft},
                          {32767, kJoyRight},
                          {0, kJoyNone}};
    for (const Case& c : cases) {
        ControllerAxisEvent(6, PadAxis::LeftX, c.x);
        UpdateInput();
        EXPECT_EQ(GetControllerHorizontal(2), c.horizontal) << "x " << c.x;
    }
    // The stick's y does not steer; the stick one way and the d-pad the other cancel out.
    ControllerAxisEvent(6, PadAxis::LeftY, -30000);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(2), kJoyNone);
    ControllerAxisEvent(6, PadAxis::LeftX, 30000);
    Hold(6, PadButton::Left);
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(2), kJoyNone);

    // Player 1 and players without a pad never read one; events of unknown pads change nothing.
    Hold(7, PadButton::Left);
    UpdateInput();
    for (int player : {-1, 0, 3, 4}) {
        EXPECT_EQ(GetControllerHorizontal(player), kJoyNone) << player;
    }
}

TEST_F(ControllersTest, FrontEndEdgesComeFromAnyControllerOncePerPress) {
    for (int id : {1, 2, 3, 4}) {
        ControllerAdded(id);
    }
    // The spare pad (no player) works in the screens too.
    Hold(4, PadButton::A);
    UpdateInput();
    EXPECT_TRUE(IsConfirmPressed());
    EXPECT_FALSE(IsCancelPressed());
    UpdateInput();
    EXPECT_FALSE(IsConfirmPressed()) << "held, it does not repeat";
    // Another pad pressing while the first still holds is a new press.
    Hold(2, PadButton::A);
    UpdateInput();
    EXPECT_TRUE(IsConfirmPressed());
    Let(2, PadButton::A);
    Let(4, PadButton::A);

    Hold(1, PadButton::B);
    UpdateInput();
    EXPECT_TRUE(IsCancelPressed());
    EXPECT_FALSE(IsConfirmPressed());
    EXPECT_FALSE(IsKeyPressed(kKeyEscape)) << "B is not a key";
    UpdateInput();
    EXPECT_FALSE(IsCancelPressed());
    Let(1, PadButton::B);
    Press(kKeyEscape);
    UpdateInput();
    EXPECT_TRUE(IsCancelPressed()) << "Escape cancels as before";
    Release(kKeyEscape);

    // D-pad and stick: one step per push; moving further along the same way is no new step.
    Hold(3, PadButton::Up);
    UpdateInput();
    EXPECT_TRUE(IsControllerDirectionEntered(kJoyUp));
    EXPECT_FALSE(IsControllerDirectionEntered(kJoyDown));
    UpdateInput();
    EXPECT_FALSE(IsControllerDirectionEntered(kJoyUp));
    Let(3, PadButton::Up);
    ControllerAxisEvent(3, PadAxis::LeftY, 20000);
    UpdateInput();
    EXPECT_TRUE(IsControllerDirectionEntered(kJoyDown));
    ControllerAxisEvent(3, PadAxis::LeftY, 32767);
    UpdateInput();
    EXPECT_FALSE(IsControllerDirectionEntered(kJoyDown));
    ControllerAxisEvent(3, PadAxis::LeftY, 10000);
    UpdateInput();
    ControllerAxisEvent(3, PadAxis::LeftY, 20000);
    UpdateInput();
    EXPECT_TRUE(IsControllerDirectionEntered(kJoyDown)) << "back inside the dead zone and out again";
    ControllerAxisEvent(3, PadAxis::LeftY, -20000);
    UpdateInput();
    EXPECT_TRUE(IsControllerDirectionEntered(kJoyUp));
    EXPECT_FALSE(IsControllerDirectionEntered(kJoyLeft)) << "only up and down are asked";
    ControllerAxisEvent(3, PadAxis::LeftY, 0);

    // Pad buttons are no keys: they type nothing and leave the key snapshot alone.
    Hold(1, PadButton::A);
    UpdateInput();
    ZString typed;
    ReadTypedKeys(typed);
    EXPECT_EQ(typed.GetLength(), 0);
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(GetCurrentInputState().keys[code], 0) << code;
    }
}

TEST_F(ControllersTest, WhileTheGameIsAwayControllersReadReleasedAndMustBePressedAgain) {
    ControllerAdded(8);
    Hold(8, PadButton::Left);
    UpdateInput();
    ASSERT_EQ(GetControllerHorizontal(1), kJoyLeft);

    UnacquireKeyboard();
    Hold(8, PadButton::A);  // dropped, as key presses are
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
    EXPECT_FALSE(IsConfirmPressed());
    // Acquired again by that update: still nothing until a new press.
    UpdateInput();
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone);
    EXPECT_FALSE(IsConfirmPressed());
    Hold(8, PadButton::A);
    Hold(8, PadButton::Right);
    UpdateInput();
    EXPECT_TRUE(IsConfirmPressed());
    EXPECT_EQ(GetControllerHorizontal(1), kJoyRight);
}

}  // namespace
