#include <string>
#include <tuple>
#include <vector>

#include "input/Input.h"
#include "support/TestSupport.h"

namespace {

class InputTest : public GameTest {
protected:
    void UseJoystick() {
        ReleaseInput();
        machine.joystick = true;
        ASSERT_TRUE(CreateInput(nullptr, nullptr));
    }
    // What each read types, joined by "|".
    static std::string Typed(int reads = 1) {
        std::string typed;
        for (int i = 0; i < reads; ++i) {
            ZString text;
            ReadTypedKeys(text);
            typed += (i ? "|" : "") + std::string(text.GetBuffer());
        }
        return typed;
    }
    // Down and newly pressed for one key after each update: "dp", "d-" or "--", joined by "|".
    static std::string Update(int key, int updates = 1) {
        std::string states;
        for (int i = 0; i < updates; ++i) {
            UpdateInput();
            states +=
                std::string(i ? "|" : "") + (IsKeyDown(key) ? "d" : "-") + (IsKeyPressed(key) ? "p" : "-");
        }
        return states;
    }
};

TEST_F(InputTest, AHeldKeyIsDownInEverySnapshotAndPressedOnlyInTheFirst) {
    Press(kKeyReturn);
    EXPECT_EQ(Update(kKeyReturn, 2), "dp|d-");
    EXPECT_EQ(IsKeyDown(kKeyReturn), 0x80);
    Release(kKeyReturn);
    EXPECT_EQ(Update(kKeyReturn), "--");
    Press(kKeySpace);
    UpdateInput();
    EXPECT_EQ(Update(kKeySpace), "d-") << "two updates in one frame use the edge up";
    EXPECT_FALSE(IsKeyDown(-1) || IsKeyDown(256) || IsKeyPressed(1000));
    // cursor left, cursor right, the horizontal direction they give
    const int horizontals[][3] = {{1, 0, 16}, {0, 1, 0}, {1, 1, -1}, {0, 0, -1}};
    for (const auto& [left, right, direction] : horizontals) {
        KeyboardEvent(kKeyLeft, left);
        KeyboardEvent(kKeyRight, right);
        UpdateInput();
        EXPECT_EQ(GetKeyHorizontal(), direction) << left << right;
    }
    ReleaseInput();
    Press(30);
    Press(kKeyLeft);
    EXPECT_EQ(Update(30), "--") << "no keyboard, no keys";
    EXPECT_EQ(GetKeyHorizontal(), -1);
    EXPECT_FALSE(IsKeyboardAcquired());
}

TEST_F(InputTest, ConfirmIsEnterReturnSpaceOrEitherOfTheFirstTwoJoystickButtonsNewlyDown) {
    UseJoystick();
    // a key or a joystick button bit, and whether it confirms
    const int inputs[][3] = {
        {kKeyPadEnter, 0, 1}, {kKeyReturn, 0, 1}, {kKeySpace, 0, 1}, {0, 1, 1}, {0, 2, 1},
        {kKeyEscape, 0, 0},   {30, 0, 0},         {0, 4, 0},         {0, 8, 0}};
    for (const auto& [key, button, confirms] : inputs) {
        KeyboardEvent(key, true);
        machine.stick.buttons = button;
        UpdateInput();
        EXPECT_EQ(IsConfirmPressed(), confirms != 0) << key << " " << button;
        EXPECT_EQ(IsCancelPressed(), key == kKeyEscape);
        for (int index = -1; index < 5; ++index) {
            EXPECT_EQ(IsJoyButtonPressed(index), index >= 0 && button == 1 << index) << index;
        }
        UpdateInput();
        EXPECT_FALSE(IsConfirmPressed() || IsCancelPressed()) << "held, it does not repeat";
        KeyboardEvent(key, false);
        machine.stick.buttons = 0;
    }
}

TEST_F(InputTest, TheJoystickLeavesTheMiddleEightyPercentOfEachAxisAsTheCentre) {
    EXPECT_EQ(std::tuple(GetJoyDirection(1), GetJoyHorizontal(1), IsJoyDirectionEntered(-1)),
              std::tuple(-1, -1, false));
    UseJoystick();
    uint32_t left, right, up, down;
    GetJoyThresholds(&left, &right, &up, &down);
    EXPECT_EQ(std::vector<uint32_t>({left, right, up, down}),
              std::vector<uint32_t>({6553, 58982, 6553, 58982}));
    // x, y, direction, horizontal direction
    const int positions[][4] = {{6553, 32768, -1, -1},  {6552, 32768, 16, 16}, {58983, 32768, 0, 0},
                                {58982, 58982, -1, -1}, {32768, 0, 8, -1},     {65535, 0, 4, 0},
                                {0, 0, 12, 16},         {0, 65535, 20, 16},    {32768, 65535, 24, -1},
                                {65535, 65535, 28, 0}};
    for (const auto& [x, y, direction, horizontal] : positions) {
        machine.stick = {static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0, 0};
        UpdateInput();
        EXPECT_EQ(std::tuple(GetJoyDirection(1), GetJoyHorizontal(1)), std::tuple(direction, horizontal))
            << x << "," << y;
    }
    machine.stick = {32768, 0, 0, 0};
    UpdateInput();
    EXPECT_EQ(std::tuple(GetJoyDirection(0), IsJoyDirectionEntered(8), GetJoyHorizontal(0)),
              std::tuple(28, true, 0));
    UpdateInput();
    EXPECT_FALSE(IsJoyDirectionEntered(8)) << "held, it enters once";
    machine.joystickReads = false;
    machine.stick = {0, 0, 0, 15};
    UpdateInput();
    EXPECT_EQ(std::tuple(GetJoyDirection(1), IsJoyButtonPressed(0)), std::tuple(-1, false))
        << "unplugged reads centred";
}

TEST_F(InputTest, KeyPressesTypeTheirCharactersTenAtMostPerRead) {
    const std::pair<int, const char*> rows[] = {
        {2, "1234567890-"}, {14, "\b"}, {16, "QWERTYUIOP"}, {28, "\n"},    {30, "ASDFGHJKL"}, {44, "ZXCVBNM"},
        {52, "."},          {57, " "},  {71, "789-456"},    {79, "1230."}, {156, "\n"},       {203, "\b"}};
    std::string expected(300, '\0');
    for (const auto& [first, characters] : rows) {
        expected.replace(first, std::string(characters).size(), characters);
    }
    for (int code = -5; code < 300; ++code) {
        EXPECT_EQ(ScanCodeToChar(code), code < 0 ? 0 : expected[code]) << code;
    }
    for (int key : {30, 48, kKeyBackspace, kKeyReturn}) {
        Tap(key);
    }
    EXPECT_EQ(Typed(2), "AB\b\n|") << "releases type nothing; a read takes the events";
    for (int code : {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31}) {
        Press(code);
    }
    EXPECT_EQ(Typed(2), "QWERTYUIOP|") << "the two behind the tenth are lost";
    for (int i = 0; i < 79; ++i) {
        Tap(kKeyEscape);
    }
    Tap(30);
    Tap(31);
    EXPECT_EQ(Typed(), "A") << "the device keeps 160 events, releases and untyped keys too";
    Press(kKeyZ);
    FlushTypedKeys();
    EXPECT_EQ(Typed(), "");
}

TEST_F(InputTest, WhileTheKeyboardIsAwayKeysReadUpAndTheNextReadTakesItBack) {
    Press(kKeyLeft);
    UpdateInput();
    UnacquireKeyboard();
    EXPECT_FALSE(IsKeyboardAcquired());
    Press(30);
    EXPECT_EQ(Update(kKeyLeft), "--");
    EXPECT_EQ(Update(30), "--");
    EXPECT_TRUE(IsKeyboardAcquired()) << "the failed read acquires again";
    EXPECT_EQ(Typed(), "") << "nothing typed while away is delivered";
    EXPECT_EQ(Update(kKeyLeft), "--") << "a key held from before counts as up until pressed again";
    Press(kKeyLeft);
    EXPECT_EQ(Update(kKeyLeft), "dp");
    UnacquireKeyboard();
    EXPECT_EQ(Typed(), "");
    EXPECT_TRUE(IsKeyboardAcquired());
    Tap(30);
    EXPECT_EQ(Typed(), "A");
}

}  // namespace
