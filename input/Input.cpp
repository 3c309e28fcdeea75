#include "input/Input.h"

#include <cstring>
#include <deque>
#include <string_view>

#include "base/Letters.h"
#include "input/Controllers.h"

namespace {

constexpr size_t kEventBufferSize = 160;
constexpr int kTypedLimit = 10;

// A key press or release, or a character the layout typed (scan code 0).
struct KeyEvent {
    uint8_t scanCode;
    bool pressed;
    char character;
};

InputPlatform platform;
InputState current{};
InputState previous{};
int joystickId = -1;
uint32_t leftThreshold = 0;
uint32_t rightThreshold = 0;
uint32_t upThreshold = 0;
uint32_t downThreshold = 0;

bool keyboardPresent = false;
bool acquired = false;
// The keys physically down, kept also while the device is away, and those that went down since the last
// snapshot, so that a tap between two snapshots is still seen.
uint8_t liveKeys[256];
uint8_t pressedSince[256];
std::deque<KeyEvent> eventBuffer;

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ' ';
}

void Buffer(const KeyEvent& event) {
    if (keyboardPresent && acquired && eventBuffer.size() < kEventBufferSize) {
        eventBuffer.push_back(event);
    }
}

void SetUpJoystick() {
    joystickId = -1;
    if (platform.joyNumDevs() == 0) {
        return;
    }
    JoystickReading reading{};
    if (!platform.joyGetPos(&reading)) {
        return;
    }
    uint32_t xMin = 0;
    uint32_t xMax = 0;
    uint32_t yMin = 0;
    uint32_t yMax = 0;
    if (!platform.joyGetCaps(&xMin, &xMax, &yMin, &yMax)) {
        return;
    }
    uint32_t dx = (xMax - xMin) / 10;
    uint32_t dy = (yMax - yMin) / 10;
    leftThreshold = xMin + dx;
    rightThreshold = xMax - dx;
    upThreshold = yMin + dy;
    downThreshold = yMax - dy;
    joystickId = 0;
}

int DirectionOf(const InputState& state) {
    bool right = state.joyX > rightThreshold;
    bool left = state.joyX < leftThreshold;
    bool down = state.joyY > downThreshold;
    bool up = state.joyY < upThreshold;
    if (right) {
        return down ? 28 : up ? 4 : 0;
    }
    if (left) {
        return down ? 20 : up ? 12 : 16;
    }
    return down ? 24 : up ? 8 : -1;
}

}  // namespace

void SetInputPlatform(const InputPlatform& newPlatform) { platform = newPlatform; }

InputPlatform HeadlessInputPlatform() {
    InputPlatform input;
    input.createKeyboard = [] { return true; };
    input.joyNumDevs = [] { return 0; };
    input.joyGetPos = [](JoystickReading*) { return false; };
    input.joyGetCaps = [](uint32_t*, uint32_t*, uint32_t*, uint32_t*) { return false; };
    input.keyLabel = [](int) { return 0u; };
    return input;
}

bool CreateInput(void*, void*) {
    std::memset(&current, 0, sizeof current);
    std::memset(&previous, 0, sizeof previous);
    ResetControllers();
    SetUpJoystick();
    if (!platform.createKeyboard()) {
        keyboardPresent = false;
        return false;
    }
    keyboardPresent = true;
    eventBuffer.clear();
    std::memset(liveKeys, 0, sizeof liveKeys);
    std::memset(pressedSince, 0, sizeof pressedSince);
    acquired = true;
    return true;
}

void ReleaseInput() {
    ResetControllers();
    keyboardPresent = false;
    acquired = false;
    eventBuffer.clear();
    std::memset(liveKeys, 0, sizeof liveKeys);
    std::memset(pressedSince, 0, sizeof pressedSince);
}

void AcquireKeyboard() {
    if (keyboardPresent) {
        acquired = true;
    }
}

void UnacquireKeyboard() {
    if (!keyboardPresent) {
        return;
    }
    // The keys held go on being tracked; what is pressed or typed while away is not delivered.
    acquired = false;
    std::memset(pressedSince, 0, sizeof pressedSince);
    eventBuffer.clear();
}

bool IsKeyboardAcquired() { return acquired; }

void KeyboardEvent(int scanCode, bool pressed) {
    if (!keyboardPresent || scanCode <= 0 || scanCode > 255) {
        return;
    }
    liveKeys[scanCode] = pressed ? 0x80 : 0;
    if (pressed && acquired) {
        pressedSince[scanCode] = 0x80;
    }
    Buffer(KeyEvent{static_cast<uint8_t>(scanCode), pressed, 0});
}

void TextEvent(const char* text) {
    while (text && *text) {
        uint32_t c = NextCodePoint(&text);
        char plain[2] = {c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : static_cast<char>(c), 0};
        // An accented letter is typed as its plain letters, which the fonts have.
        std::string_view letters = c < 0x80 ? std::string_view(plain) : PlainLetters(c);
        for (char letter : letters) {
            if (IsNameCharacter(letter)) {
                Buffer(KeyEvent{0, true, letter});
            }
        }
    }
}

void UpdateInput() {
    std::memcpy(&previous, &current, sizeof current);
    std::memset(&current, 0, sizeof current);
    if (joystickId != -1) {
        JoystickReading reading{};
        if (platform.joyGetPos(&reading)) {
            current.joyX = reading.x;
            current.joyY = reading.y;
            current.joyZ = reading.z;
            current.joyButtons = reading.buttons;
        } else {
            // A stick unplugged during play reads as centred: a zero position would steer up-left.
            current.joyX = leftThreshold + (rightThreshold - leftThreshold) / 2;
            current.joyY = upThreshold + (downThreshold - upThreshold) / 2;
        }
    }
    SampleControllers(keyboardPresent && acquired);
    if (keyboardPresent) {
        if (!acquired) {
            AcquireKeyboard();  // this update reads all keys up
        } else {
            for (int i = 0; i < 256; ++i) {
                current.keys[i] = liveKeys[i] | pressedSince[i];
            }
            std::memset(pressedSince, 0, sizeof pressedSince);
        }
    }
}

int IsKeyDown(int scanCode) {
    if (!keyboardPresent || scanCode < 0 || scanCode > 255) {
        return 0;
    }
    return current.keys[scanCode] & 0x80;
}

bool IsKeyPressed(int scanCode) {
    if (!keyboardPresent || scanCode < 0 || scanCode > 255) {
        return false;
    }
    return (current.keys[scanCode] & 0x80) && !(previous.keys[scanCode] & 0x80);
}

bool IsJoyButtonPressed(int index) {
    if (joystickId == -1 || index < 0 || index > 3) {
        return false;
    }
    uint32_t bit = 1u << index;
    return (current.joyButtons & bit) && !(previous.joyButtons & bit);
}

int GetJoyDirection(int which) {
    if (joystickId == -1) {
        return -1;
    }
    return DirectionOf(which ? current : previous);
}

bool IsJoyDirectionEntered(int code) {
    if (joystickId == -1) {
        return false;
    }
    return GetJoyDirection(0) != code && GetJoyDirection(1) == code;
}

int GetJoyHorizontal(int which) {
    if (joystickId == -1) {
        return -1;
    }
    const InputState& state = which ? current : previous;
    if (state.joyX > rightThreshold) {
        return 0;
    }
    if (state.joyX < leftThreshold) {
        return 16;
    }
    return -1;
}

int GetKeyHorizontal() {
    if (!keyboardPresent) {
        return -1;
    }
    bool right = IsKeyDown(kKeyRight);
    bool left = IsKeyDown(kKeyLeft);
    if (right && !left) {
        return 0;
    }
    if (left && !right) {
        return 16;
    }
    return -1;
}

void ReadTypedKeys(ZString& text) {
    if (!keyboardPresent) {
        return;
    }
    if (!acquired) {
        AcquireKeyboard();
        return;
    }
    // Every waiting event is taken from the device, also those behind the tenth character.
    std::deque<KeyEvent> events;
    events.swap(eventBuffer);
    for (const KeyEvent& event : events) {
        if (!event.pressed) {
            continue;
        }
        // Characters come from the layout's text; from the keys only the editing ones (backspace, enter).
        char c = event.character ? event.character : ScanCodeToChar(event.scanCode);
        if (event.character || c == 8 || c == 10) {
            text.Append(c);
            if (text.GetLength() >= kTypedLimit) {
                break;
            }
        }
    }
}

void FlushTypedKeys() {
    for (int i = 0; i < 10; ++i) {
        ZString scratch;
        ReadTypedKeys(scratch);
    }
}

char ScanCodeToChar(int code) {
    static const char kTopRow[] = "1234567890";
    static const char kQRow[] = "QWERTYUIOP";
    static const char kARow[] = "ASDFGHJKL";
    static const char kZRow[] = "ZXCVBNM";
    if (code >= 2 && code <= 11) {
        return kTopRow[code - 2];
    }
    if (code >= 16 && code <= 25) {
        return kQRow[code - 16];
    }
    if (code >= 30 && code <= 38) {
        return kARow[code - 30];
    }
    if (code >= 44 && code <= 50) {
        return kZRow[code - 44];
    }
    switch (code) {
        case 12: return '-';
        case 14: return 8;
        case 28: return 10;
        case 52: return '.';
        case 57: return ' ';
        case 71: return '7';
        case 72: return '8';
        case 73: return '9';
        case 74: return '-';
        case 75: return '4';
        case 76: return '5';
        case 77: return '6';
        case 79: return '1';
        case 80: return '2';
        case 81: return '3';
        case 82: return '0';
        case 83: return '.';
        case 156: return 10;
        case 203: return 8;
        default: return 0;
    }
}

uint32_t KeyLabel(int scanCode) {
    uint32_t c = platform.keyLabel(scanCode);
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

bool IsConfirmPressed() {
    return IsKeyPressed(kKeyPadEnter) || IsKeyPressed(kKeyReturn) || IsKeyPressed(kKeySpace) ||
           IsJoyButtonPressed(0) || IsJoyButtonPressed(1) || IsControllerButtonPressed(PadButton::A);
}

bool IsCancelPressed() { return IsKeyPressed(kKeyEscape) || IsControllerButtonPressed(PadButton::B); }

const InputState& GetCurrentInputState() { return current; }

const InputState& GetPreviousInputState() { return previous; }

void GetJoyThresholds(uint32_t* left, uint32_t* right, uint32_t* up, uint32_t* down) {
    *left = leftThreshold;
    *right = rightThreshold;
    *up = upThreshold;
    *down = downThreshold;
}
