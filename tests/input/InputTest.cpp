#include <gtest/gtest.h>

#include <string>

#include "input/Input.h"
#include "support/TestSupport.h"

namespace {

JoystickReading stick{32768, 32768, 0, 0};
bool stickAnswers = true;

InputPlatform FakeJoystick() {
    InputPlatform platform;
    platform.createKeyboard = [] { return true; };
    platform.joyNumDevs = [] { return 1; };
    platform.joyGetPos = [](JoystickReading* reading) {
        *reading = stick;
        return stickAnswers;
    };
    platform.joyGetCaps = [](uint32_t* xMin, uint32_t* xMax, uint32_t* yMin, uint32_t* yMax) {
        *xMin = 0;
        *xMax = 65535;
        *yMin = 0;
        *yMax = 65535;
        return true;
    };
    return platform;
}

class InputTest : public HeadlessTest {
protected:
    void UseJoystick() {
        stick = {32768, 32768, 0, 0};
        stickAnswers = true;
        ReleaseInput();
        SetInputPlatform(FakeJoystick());
        ASSERT_TRUE(CreateInput(nullptr, nullptr));
    }
    static std::string Typed() {
        ZString text;
        ReadTypedKeys(text);
        return text.GetBuffer();
    }
};

TEST_F(InputTest, SnapshotsGiveDownForEveryUpdateAndPressedOnlyForTheFirst) {
    Press(kKeyReturn);
    UpdateInput();
    EXPECT_EQ(IsKeyDown(kKeyReturn), 0x80);
    EXPECT_TRUE(IsKeyPressed(kKeyReturn));
    UpdateInput();
    EXPECT_EQ(IsKeyDown(kKeyReturn), 0x80);
    EXPECT_FALSE(IsKeyPressed(kKeyReturn));
    Release(kKeyReturn);
    UpdateInput();
    EXPECT_EQ(IsKeyDown(kKeyReturn), 0);
    EXPECT_FALSE(IsKeyPressed(kKeyReturn));

    // Two updates in one frame use up the edge.
    Press(kKeySpace);
    UpdateInput();
    UpdateInput();
    EXPECT_FALSE(IsKeyPressed(kKeySpace));
    EXPECT_FALSE(IsConfirmPressed());

    // The snapshot is the keys' state of the moment: a tap between two updates leaves no edge
    // (it only types), so typed Return in the name entry does not confirm a second time.
    Press(kKeyDown);
    Release(kKeyDown);
    UpdateInput();
    EXPECT_FALSE(IsKeyPressed(kKeyDown));

    EXPECT_EQ(IsKeyDown(-1), 0);
    EXPECT_EQ(IsKeyDown(256), 0);
    EXPECT_FALSE(IsKeyPressed(1000));
}

TEST_F(InputTest, ConfirmAndHorizontalKeysWithoutAJoystick) {
    for (int key : {kKeyPadEnter, kKeyReturn, kKeySpace}) {
        Press(key);
        UpdateInput();
        EXPECT_TRUE(IsConfirmPressed()) << key;
        Release(key);
        UpdateInput();
    }
    Press(kKeyEscape);
    UpdateInput();
    EXPECT_FALSE(IsConfirmPressed());
    EXPECT_FALSE(IsJoyButtonPressed(0));
    EXPECT_EQ(GetJoyHorizontal(1), -1);
    EXPECT_EQ(GetJoyDirection(1), kJoyNone);

    Press(kKeyLeft);
    UpdateInput();
    EXPECT_EQ(GetKeyHorizontal(), kJoyLeft);
    Press(kKeyRight);
    UpdateInput();
    EXPECT_EQ(GetKeyHorizontal(), -1) << "both cursor keys cancel out";
    Release(kKeyLeft);
    UpdateInput();
    EXPECT_EQ(GetKeyHorizontal(), kJoyRight);
}

TEST_F(InputTest, TypedKeysAreCappedAndOnlyPressesCount) {
    for (int key : {30, 48, kKeyBackspace, kKeyReturn}) {
        Press(key);
        Release(key);
    }
    EXPECT_EQ(Typed(), std::string("AB\b\n"));
    EXPECT_EQ(Typed(), "") << "events are taken from the device";

    const char* twelve = "QWERTYUIOPAS";
    const int codes[] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31};
    for (int code : codes) {
        Press(code);
    }
    EXPECT_EQ(Typed(), std::string(twelve, 10));
    EXPECT_EQ(Typed(), "") << "the two behind the tenth are lost";

    // The device keeps 160 events; a flood beyond that is dropped, not overrun.
    for (int i = 0; i < 200; ++i) {
        Press(30);
        Release(30);
    }
    int characters = 0;
    for (int i = 0; i < 20; ++i) {
        characters += static_cast<int>(Typed().size());
    }
    EXPECT_EQ(characters, 10) << "one call reads everything waiting, at most ten characters of it";

    Press(kKeyZ);
    FlushTypedKeys();
    EXPECT_EQ(Typed(), "");
}

TEST_F(InputTest, ScanCodesTurnIntoTheirCharacters) {
    EXPECT_EQ(ScanCodeToChar(2), '1');
    EXPECT_EQ(ScanCodeToChar(10), '9');
    EXPECT_EQ(ScanCodeToChar(11), '0');
    EXPECT_EQ(ScanCodeToChar(12), '-');
    EXPECT_EQ(ScanCodeToChar(14), 8);
    EXPECT_EQ(ScanCodeToChar(16), 'Q');
    EXPECT_EQ(ScanCodeToChar(25), 'P');
    EXPECT_EQ(ScanCodeToChar(28), 10);
    EXPECT_EQ(ScanCodeToChar(30), 'A');
    EXPECT_EQ(ScanCodeToChar(38), 'L');
    EXPECT_EQ(ScanCodeToChar(44), 'Z');
    EXPECT_EQ(ScanCodeToChar(50), 'M');
    EXPECT_EQ(ScanCodeToChar(52), '.');
    EXPECT_EQ(ScanCodeToChar(57), ' ');
    EXPECT_EQ(ScanCodeToChar(71), '7');
    EXPECT_EQ(ScanCodeToChar(74), '-');
    EXPECT_EQ(ScanCodeToChar(76), '5');
    EXPECT_EQ(ScanCodeToChar(81), '3');
    EXPECT_EQ(ScanCodeToChar(82), '0');
    EXPECT_EQ(ScanCodeToChar(83), '.');
    EXPECT_EQ(ScanCodeToChar(156), 10);
    EXPECT_EQ(ScanCodeToChar(203), 8);
    for (int code : {0, 1, 13, 15, 26, 29, 39, 51, 53, 70, 78, 84, 200, 205, 255, -5, 1000}) {
        EXPECT_EQ(ScanCodeToChar(code), 0) << code;
    }
}

TEST_F(InputTest, JoystickThresholdsLeaveTheMiddleEightyPercent) {
    UseJoystick();
    uint32_t left = 0;
    uint32_t right = 0;
    uint32_t up = 0;
    uint32_t down = 0;
    GetJoyThresholds(&left, &right, &up, &down);
    EXPECT_EQ(left, 6553u);
    EXPECT_EQ(right, 58982u);
    EXPECT_EQ(up, 6553u);
    EXPECT_EQ(down, 58982u);

    auto directionAt = [](uint32_t x, uint32_t y) {
        stick.x = x;
        stick.y = y;
        UpdateInput();
        return GetJoyDirection(1);
    };
    EXPECT_EQ(directionAt(6553, 32768), kJoyNone) << "the threshold itself is still the middle";
    EXPECT_EQ(GetJoyHorizontal(1), -1);
    EXPECT_EQ(directionAt(6552, 32768), kJoyLeft);
    EXPECT_EQ(GetJoyHorizontal(1), 16);
    EXPECT_EQ(directionAt(58983, 32768), kJoyRight);
    EXPECT_EQ(directionAt(58982, 58982), kJoyNone);
    EXPECT_EQ(directionAt(32768, 0), kJoyUp);
    EXPECT_EQ(directionAt(65535, 0), 4);
    EXPECT_EQ(directionAt(0, 0), 12);
    EXPECT_EQ(directionAt(0, 65535), 20);
    EXPECT_EQ(directionAt(32768, 65535), kJoyDown);
    EXPECT_EQ(directionAt(65535, 65535), 28);

    // Entering a direction fires once while the stick is held.
    directionAt(32768, 32768);
    EXPECT_EQ(directionAt(32768, 0), kJoyUp);
    EXPECT_TRUE(IsJoyDirectionEntered(kJoyUp));
    directionAt(32768, 0);
    EXPECT_FALSE(IsJoyDirectionEntered(kJoyUp));

    stick.buttons = 2;
    UpdateInput();
    EXPECT_TRUE(IsJoyButtonPressed(1));
    EXPECT_TRUE(IsConfirmPressed());
    UpdateInput();
    EXPECT_FALSE(IsConfirmPressed());
    stick.buttons = 4;
    UpdateInput();
    EXPECT_TRUE(IsJoyButtonPressed(2));
    EXPECT_FALSE(IsConfirmPressed()) << "only the first two buttons confirm";
    EXPECT_FALSE(IsJoyButtonPressed(4));

    // A stick that stops answering reads as centred with no buttons.
    stickAnswers = false;
    stick = {0, 0, 0, 15};
    UpdateInput();
    EXPECT_EQ(GetJoyDirection(1), kJoyNone);
    EXPECT_FALSE(IsJoyButtonPressed(0));
}

TEST_F(InputTest, AnUnacquiredKeyboardReadsAllUpAndComesBackOnTheNextRead) {
    Press(kKeyLeft);
    Press(30);
    UnacquireKeyboard();
    EXPECT_FALSE(IsKeyboardAcquired());
    Press(31);
    UpdateInput();
    EXPECT_EQ(IsKeyDown(kKeyLeft), 0);
    EXPECT_TRUE(IsKeyboardAcquired()) << "the failed read acquires again";
    EXPECT_EQ(Typed(), "") << "nothing typed while away is delivered";

    // A key still held from before counts as up until it is pressed again.
    UpdateInput();
    EXPECT_EQ(IsKeyDown(kKeyLeft), 0);
    Press(kKeyLeft);
    UpdateInput();
    EXPECT_TRUE(IsKeyPressed(kKeyLeft));

    UnacquireKeyboard();
    ZString text;
    ReadTypedKeys(text);
    EXPECT_TRUE(IsKeyboardAcquired());
    EXPECT_EQ(text.GetLength(), 0);

    ReleaseInput();
    Press(30);
    UpdateInput();
    EXPECT_EQ(IsKeyDown(30), 0);
    EXPECT_EQ(GetKeyHorizontal(), -1);
}

}  // namespace
