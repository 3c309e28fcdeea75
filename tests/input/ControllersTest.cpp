#include <string>

#include "input/Controllers.h"
#include "input/Input.h"
#include "support/TestSupport.h"

namespace {

class ControllersTest : public GameTest {
protected:
    static void Hold(int id, PadButton button, bool down = true) { ControllerButtonEvent(id, button, down); }
    // After each update, joined by "|": the steering of players 1 to 3 ("L", "R" or "-" each), then the
    // newly pressed A (confirm), B (cancel), u (up) and d (down).
    static std::string Frames(int count = 1) {
        std::string frames;
        for (int i = 0; i < count; ++i) {
            UpdateInput();
            frames += i ? "|" : "";
            for (int player = 1; player <= 3; ++player) {
                int direction = GetControllerHorizontal(player);
                frames += direction == kJoyLeft ? 'L' : direction == kJoyRight ? 'R' : '-';
            }
            frames += std::string(IsConfirmPressed() ? "A" : "") + (IsCancelPressed() ? "B" : "") +
                      (IsControllerDirectionEntered(kJoyUp) ? "u" : "") +
                      (IsControllerDirectionEntered(kJoyDown) ? "d" : "");
        }
        return frames;
    }
};

TEST_F(ControllersTest, PadsTakePlayersTwoToFourInOrderOfConnectionAndTheLowestFreeOnReplug) {
    for (int id : {10, 11, 12, 13, 12}) {
        ControllerAdded(id);
    }
    auto players = [] {
        std::string text;
        for (int id : {10, 11, 12, 13, 20, 21, 99}) {
            text += std::to_string(GetControllerPlayer(id));
        }
        return text;
    };
    EXPECT_EQ(players(), "123-1-1-1-1");
    ControllerRemoved(11);
    ControllerRemoved(10);
    ControllerAdded(20);
    ControllerAdded(21);
    EXPECT_EQ(players(), "-1-13-112-1") << "the spare keeps steering nobody";
    // An unplugged pad stops steering at once; the next one does not inherit its button.
    Hold(20, PadButton::Left);
    EXPECT_EQ(Frames(), "L--");
    ControllerRemoved(20);
    EXPECT_EQ(Frames(), "---");
    ControllerAdded(30);
    EXPECT_EQ(GetControllerPlayer(30), 1);
    EXPECT_EQ(Frames(), "---");
    ReleaseInput();
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    EXPECT_EQ(GetControllerPlayer(12), -1) << "creating the input again starts without pads";
    for (int id = 100; id < 120; ++id) {
        ControllerAdded(id);
    }
    Hold(116, PadButton::A);
    EXPECT_EQ(Frames(), "---") << "sixteen pads at most, the rest ignored";
    Hold(115, PadButton::A);
    EXPECT_EQ(Frames(), "---A");
}

TEST_F(ControllersTest, PadsSteerFromTheirSnapshotByDpadOrByTheStickBeyondTheDeadZone) {
    ControllerAdded(5);
    ControllerAdded(6);
    Hold(5, PadButton::Left);
    EXPECT_EQ(GetControllerHorizontal(1), kJoyNone) << "read from the snapshot, not the live state";
    EXPECT_EQ(Frames(2), "L--|L--") << "a level, not an edge";
    Hold(5, PadButton::Right);
    Hold(5, PadButton::Left, false);
    EXPECT_EQ(Frames(), "R--");
    Hold(5, PadButton::Left);
    EXPECT_EQ(Frames(), "---") << "both ways at once is no way";
    const std::pair<int, const char*> sticks[] = {{-kPadDeadZone, "---"}, {-kPadDeadZone - 1, "-L-"},
                                                  {kPadDeadZone, "---"},  {kPadDeadZone + 1, "-R-"},
                                                  {-32768, "-L-"},        {32767, "-R-"}};
    Hold(5, PadButton::Left, false);
    Hold(5, PadButton::Right, false);
    for (const auto& [x, steering] : sticks) {
        ControllerAxisEvent(6, PadAxis::LeftX, x);
        EXPECT_EQ(Frames(), steering) << x;
    }
    ControllerAxisEvent(6, PadAxis::LeftX, 0);
    ControllerAxisEvent(6, PadAxis::LeftY, -30000);
    EXPECT_EQ(Frames(), "---u") << "the stick's y does not steer";
    ControllerAxisEvent(6, PadAxis::LeftX, 30000);
    Hold(6, PadButton::Left);
    EXPECT_EQ(Frames(), "---") << "stick one way, d-pad the other";
    Hold(7, PadButton::Left);
    Hold(6, PadButton::Left, false);
    UpdateInput();
    for (int player : {-1, 0, 4}) {
        EXPECT_EQ(GetControllerHorizontal(player), kJoyNone) << player;
    }
}

TEST_F(ControllersTest, AnyPadConfirmsCancelsAndStepsOncePerPressButNeverTypes) {
    for (int id : {1, 2, 3, 4}) {
        ControllerAdded(id);
    }
    Hold(4, PadButton::A);
    EXPECT_EQ(Frames(2), "---A|---") << "the spare pad works in the screens too; held, it does not repeat";
    Hold(2, PadButton::A);
    EXPECT_EQ(Frames(), "---A") << "another pad pressing while the first holds is a new press";
    Hold(1, PadButton::B);
    Hold(3, PadButton::Up);
    EXPECT_EQ(Frames(2), "---Bu|---");
    EXPECT_FALSE(IsKeyPressed(kKeyEscape)) << "B is not a key";
    Hold(3, PadButton::Up, false);
    Hold(3, PadButton::Down);
    EXPECT_EQ(Frames(), "---d");
    Hold(3, PadButton::Down, false);
    // stick y and the steps it makes: a push past the dead zone steps, moving further does not
    const std::pair<int, const char*> pushes[] = {{0, ""},     {20000, "d"}, {32767, ""},
                                                  {10000, ""}, {20000, "d"}, {-20000, "u"}};
    for (const auto& [y, steps] : pushes) {
        ControllerAxisEvent(3, PadAxis::LeftY, y);
        EXPECT_EQ(Frames(), std::string("---") + steps) << y;
    }
    EXPECT_FALSE(IsControllerDirectionEntered(kJoyLeft));
    ZString typed;
    ReadTypedKeys(typed);
    EXPECT_EQ(typed.GetLength(), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(GetCurrentInputState().keys), 256),
              std::string(256, '\0'));
}

TEST_F(ControllersTest, WhileTheGameIsAwayPadsReadReleasedAndMustBePressedAgain) {
    ControllerAdded(8);
    Hold(8, PadButton::Left);
    ASSERT_EQ(Frames(), "L--");
    UnacquireKeyboard();
    Hold(8, PadButton::A);  // dropped, as key presses are
    EXPECT_EQ(Frames(2), "---|---") << "acquired again by the first update, still nothing until a new press";
    Hold(8, PadButton::A);
    Hold(8, PadButton::Right);
    EXPECT_EQ(Frames(), "R--A");
}

}  // namespace
