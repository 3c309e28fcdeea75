#include <tuple>

#include "input/Controllers.h"
#include "input/Input.h"
#include "support/TestSupport.h"

class InputTest : public GameTest {
protected:
    // After an update: whether a key is down and newly pressed, as "dp", "d-" or "--".
    static std::string Key(int key) {
        UpdateInput();
        return std::string(IsKeyDown(key) ? "d" : "-") + (IsKeyPressed(key) ? "p" : "-");
    }
    // After an update: how the pads steer players 2 to 4 (R, L or -), then what any input newly pressed: A
    // confirm, B cancel, u and d a step up or down by a pad.
    static std::string Pads() {
        UpdateInput();
        std::string seen;
        for (int player = 1; player <= 3; ++player)
            seen += "R-L"[GetControllerHorizontal(player) < 0 ? 1 : GetControllerHorizontal(player) ? 2 : 0];
        return seen + (IsConfirmPressed() ? "A" : "") + (IsCancelPressed() ? "B" : "") +
               (IsControllerDirectionEntered(kJoyUp) ? "u" : "") +
               (IsControllerDirectionEntered(kJoyDown) ? "d" : "");
    }
    static std::string Typed() {
        ZString text;
        ReadTypedKeys(text);
        return text.GetBuffer();
    }
};

TEST_F(InputTest, AHeldKeyIsDownInEverySnapshotButPressedOnlyInTheFirstAndTheCursorKeysSteer) {
    Press(kKeyReturn);
    EXPECT_EQ((std::tuple{Key(kKeyReturn), Key(kKeyReturn)}), std::tuple("dp", "d-"));
    Press(kKeySpace);
    UpdateInput();  // two updates in one frame use the edge up
    EXPECT_EQ(Key(kKeySpace), "d-");
    // A tap between two snapshots is one press, however often; a pad's quick press too.
    Release(kKeySpace);
    Tap(kKeyEscape);
    Tap(kKeyEscape);
    ControllerAdded(3);
    ControllerButtonEvent(3, PadButton::B, true);
    ControllerButtonEvent(3, PadButton::B, false);
    EXPECT_EQ((std::tuple{Key(kKeyEscape), IsCancelPressed(), Key(kKeyEscape)}),
              std::tuple("dp", true, "--"));
    for (int key : {-1, 256, INT32_MIN, INT32_MAX}) EXPECT_FALSE(IsKeyDown(key) || IsKeyPressed(key)) << key;
    for (const auto& [left, right, direction] : {std::tuple(1, 0, 16), {0, 1, 0}, {1, 1, -1}, {0, 0, -1}}) {
        KeyboardEvent(kKeyLeft, left);
        KeyboardEvent(kKeyRight, right);
        UpdateInput();
        EXPECT_EQ(GetKeyHorizontal(), direction) << left << right;
    }
    ReleaseInput();
    AcquireKeyboard();  // there is no keyboard to acquire any more
    Press(kKeyLeft);
    EXPECT_EQ(std::tuple(Key(kKeyLeft), GetKeyHorizontal(), IsKeyboardAcquired()),
              std::tuple("--", -1, false));
}

TEST_F(InputTest, ConfirmIsEnterReturnSpaceOrEitherOfTheFirstTwoJoystickButtonsNewlyDown) {
    ReleaseInput();
    machine.joystick = true;
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    // a key or a joystick button bit, and what it gives: A confirm, B cancel
    const int inputs[][3] = {
        {kKeyPadEnter, 0, 'A'}, {kKeyReturn, 0, 'A'}, {kKeySpace, 0, 'A'}, {0, 1, 'A'}, {0, 2, 'A'},
        {kKeyEscape, 0, 'B'},   {30, 0, 0},           {0, 4, 0},           {0, 8, 0}};
    for (const auto& [key, button, seen] : inputs) {
        KeyboardEvent(key, true);
        machine.stick.buttons = static_cast<uint32_t>(button);
        EXPECT_EQ(
            (std::tuple{Pads(), IsJoyButtonPressed((button > 1) + (button > 2) + (button > 4)), Pads()}),
            std::tuple("---" + std::string(seen != 0, char(seen)), button > 0, "---"))
            << key << " " << button << ": held, it does not repeat";
        KeyboardEvent(key, false);
        machine.stick.buttons = 0;
    }
    // x, y, direction, horizontal direction: the middle 80 per cent of each axis, thresholds included, is the
    // centre
    const int positions[][4] = {{6553, 32768, -1, -1},  {6552, 32768, 16, 16}, {58983, 32768, 0, 0},
                                {58982, 58982, -1, -1}, {32768, 6553, -1, -1}, {32768, 6552, 8, -1},
                                {65535, 0, 4, 0},       {0, 0, 12, 16},        {0, 65535, 20, 16},
                                {32768, 65535, 24, -1}, {65535, 65535, 28, 0}, {32768, 0, 8, -1}};
    for (const auto& [x, y, direction, horizontal] : positions) {
        machine.stick = {static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0, 0};
        UpdateInput();
        EXPECT_EQ(std::tuple(GetJoyDirection(1), GetJoyHorizontal(1)), std::tuple(direction, horizontal))
            << x << "," << y;
    }
    EXPECT_EQ(std::tuple(GetJoyDirection(0), IsJoyDirectionEntered(8), GetJoyHorizontal(0)),
              std::tuple(28, true, 0));
    UpdateInput();
    EXPECT_FALSE(IsJoyDirectionEntered(8)) << "held, it enters once";
    machine.joystickReads = false;
    machine.stick = {0, 0, 0, 15};
    UpdateInput();
    // Unplugged reads centred.
    EXPECT_EQ(std::tuple(GetJoyDirection(1), IsJoyButtonPressed(0)), std::tuple(-1, false));
    ReleaseInput();
    machine.joystick = false;
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    UpdateInput();
    EXPECT_EQ(
        std::tuple(GetJoyDirection(1), GetJoyHorizontal(1), IsJoyDirectionEntered(-1), IsJoyButtonPressed(0)),
        std::tuple(-1, -1, false, false)) << "no joystick";
}

TEST_F(InputTest, TextTypesWhatTheFontsHaveKeysOnlyEditTenCharactersAtMostPerReadFromABufferOf160Events) {
    // The US names of the keys, the editing keys' characters, nothing for keys without either.
    const std::pair<int, char> keys[] = {
        {kKeyZ, 'Z'}, {kKeyM, 'M'}, {kKey4, '4'}, {kKeyPad6, '6'}, {2, '1'},  {11, '0'},
        {12, '-'},    {16, 'Q'},    {25, 'P'},    {30, 'A'},       {38, 'L'}, {14, '\b'},
        {28, '\n'},   {156, '\n'},  {203, '\b'},  {1, 0},          {300, 0}};
    for (const auto& [code, character] : keys) EXPECT_EQ(ScanCodeToChar(code), character) << code;
    // A French and a German layout type what their keys say; the keys give only backspace and enter.
    for (int key : {16, 17, kKeyBackspace, kKeyReturn, 156, 203}) Tap(key);
    TextEvent("azerty");
    TextEvent("qwertz\xC3\xA9! -.");
    EXPECT_EQ((std::tuple{Typed(), Typed()}), std::tuple("\b\n\n\bAZERTY", "")) << "more than ten are lost";
    for (int i = 0; i < 80; ++i) Tap(i < 79 ? kKeyEscape : 30);
    TextEvent("b");
    EXPECT_EQ(Typed(), "") << "the device keeps 160 events, releases and untyped keys too";
    TextEvent("z");
    FlushTypedKeys();
    TextEvent("y");
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    EXPECT_EQ(Typed(), "") << "flushed, and input created again, deliver nothing typed before";
}

TEST_F(InputTest, KeysHeldThroughAPauseStayDownAndNothingIsDeliveredWhileAway) {
    Press(kKeyLeft);
    ControllerAdded(8);
    ControllerButtonEvent(8, PadButton::Left, true);
    ControllerButtonEvent(8, PadButton::A, true);
    // A pad's first snapshot has nothing before.
    EXPECT_EQ((std::tuple{Pads(), Key(kKeyLeft)}), std::tuple("L--A", "d-"));
    UnacquireKeyboard();
    Tap(30);
    Press(31);
    TextEvent("x");
    ControllerButtonEvent(8, PadButton::B, true);
    ControllerButtonEvent(8, PadButton::B, false);
    // The read while away finds everything up and acquires again; the next shows the keys held, a key
    // pressed while away as a new press, a tap or text while away never.
    UpdateInput();
    const bool acquired = IsKeyboardAcquired();  // before reading text, which would acquire it too
    EXPECT_EQ(std::tuple(IsKeyDown(kKeyLeft), IsKeyDown(31), GetControllerHorizontal(1), acquired, Typed()),
              std::tuple(0, 0, kJoyNone, true, ""));
    UpdateInput();
    EXPECT_EQ(std::tuple(IsKeyDown(kKeyLeft) != 0, IsKeyPressed(31), IsKeyDown(30),
                         GetControllerHorizontal(1), IsCancelPressed()),
              std::tuple(true, true, 0, kJoyLeft, false));
    // Paused and resumed between two frames: the held key just stays down.
    UnacquireKeyboard();
    AcquireKeyboard();
    EXPECT_EQ((std::tuple{Key(kKeyLeft), Pads()}), std::tuple("d-", "L--"));
}

TEST_F(InputTest, PadsTakeTheLowestFreePlayerSixteenAtMostAndSteerOnlyBeyondTheDeadZone) {
    for (int id : {10, 11, 12, 13, 12}) ControllerAdded(id);
    ControllerRemoved(11);
    ControllerAdded(20);
    EXPECT_EQ(std::tuple(GetControllerPlayer(10), GetControllerPlayer(12), GetControllerPlayer(13),
                         GetControllerPlayer(20), GetControllerPlayer(99)),
              std::tuple(1, 3, -1, 2, -1));  // the spare steers nobody; a new pad takes the lowest free
    // Idle pads press nothing, in play or away.
    for (int i = 0; i < 3; ++i) UpdateInput();
    UnacquireKeyboard();
    UpdateInput();
    EXPECT_FALSE(IsControllerButtonPressed(PadButton::A) || IsControllerButtonPressed(PadButton::B));
    // the stick's x and y on the pad of player 3, how it steers and the step it makes
    static_assert(kPadDeadZone == 16000);
    const int sticks[][4] = {{-16000, 0, '-', 0},   {-16001, 0, 'L', 0}, {16001, 0, 'R', 0},
                             {0, -30000, '-', 'u'}, {0, -30000, '-', 0}, {0, 20000, '-', 'd'},
                             {0, 10000, '-', 0},    {0, 16000, '-', 0},  {0, 16001, '-', 'd'}};
    for (const auto& [x, y, steers, step] : sticks) {
        ControllerAxisEvent(12, PadAxis::LeftX, x);
        ControllerAxisEvent(12, PadAxis::LeftY, y);
        EXPECT_EQ(Pads(), "--" + std::string(1, char(steers)) + std::string(step != 0, char(step)))
            << x << "," << y;
    }
    for (int id = 100; id < 113; ++id) ControllerAdded(id);
    ControllerButtonEvent(111, PadButton::A, true);
    ControllerButtonEvent(112, PadButton::B, true);  // the seventeenth pad
    ControllerButtonEvent(12, PadButton::Left, true);
    ControllerButtonEvent(10, PadButton::Left, true);
    ControllerAxisEvent(12, PadAxis::LeftX, 30000);
    // Stick and d-pad the other way; pads type nothing and never steer player 1.
    EXPECT_EQ((std::tuple{Pads(), Typed(), GetControllerHorizontal(0)}), std::tuple("L--A", "", kJoyNone));
}
