#include "input/Controllers.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "input/Input.h"

namespace {

constexpr int kFirstPadPlayer = 1;
constexpr int kPlayerCount = 4;

// Snapshot bits: the buttons, with up/down/left/right already merged from d-pad and stick.
constexpr uint8_t kBitA = 1;
constexpr uint8_t kBitB = 2;
constexpr uint8_t kBitUp = 4;
constexpr uint8_t kBitDown = 8;
constexpr uint8_t kBitLeft = 16;
constexpr uint8_t kBitRight = 32;

struct Controller {
    int id = 0;
    int player = -1;
    uint8_t heldButtons = 0;
    // Buttons that went down since the last snapshot: a quick press is never lost.
    uint8_t pressedSince = 0;
    int stickX = 0;
    int stickY = 0;
    uint8_t current = 0;
    uint8_t previous = 0;
};

// In order of connection.
std::vector<Controller> controllers;

uint8_t BitOf(PadButton button) {
    switch (button) {
        case PadButton::A:
            return kBitA;
        case PadButton::B:
            return kBitB;
        case PadButton::Up:
            return kBitUp;
        case PadButton::Down:
            return kBitDown;
        case PadButton::Left:
            return kBitLeft;
        case PadButton::Right:
            return kBitRight;
    }
    return 0;
}

Controller* Find(int id) {
    auto found = std::find_if(controllers.begin(), controllers.end(),
                              [id](const Controller& c) { return c.id == id; });
    return found == controllers.end() ? nullptr : &*found;
}

int LowestFreePlayer() {
    for (int player = kFirstPadPlayer; player < kPlayerCount; ++player) {
        if (std::none_of(controllers.begin(), controllers.end(),
                         [player](const Controller& c) { return c.player == player; })) {
            return player;
        }
    }
    return -1;
}

uint8_t Reading(const Controller& controller) {
    uint8_t bits = controller.heldButtons;
    if (controller.stickX < -kPadDeadZone) {
        bits |= kBitLeft;
    } else if (controller.stickX > kPadDeadZone) {
        bits |= kBitRight;
    }
    if (controller.stickY < -kPadDeadZone) {
        bits |= kBitUp;
    } else if (controller.stickY > kPadDeadZone) {
        bits |= kBitDown;
    }
    return bits;
}

bool AnyNewlyDown(uint8_t bit) {
    return std::any_of(controllers.begin(), controllers.end(),
                       [bit](const Controller& c) { return (c.current & bit) && !(c.previous & bit); });
}

}  // namespace

void ControllerAdded(int id) {
    if (Find(id) || static_cast<int>(controllers.size()) >= kMaxControllers) {
        return;
    }
    Controller controller;
    controller.id = id;
    controller.player = LowestFreePlayer();
    controllers.push_back(controller);
}

void ControllerRemoved(int id) {
    controllers.erase(std::remove_if(controllers.begin(), controllers.end(),
                                     [id](const Controller& c) { return c.id == id; }),
                      controllers.end());
}

void ControllerButtonEvent(int id, PadButton button, bool pressed) {
    Controller* controller = Find(id);
    if (!controller) {
        return;
    }
    uint8_t bit = BitOf(button);
    controller->heldButtons = pressed ? controller->heldButtons | bit : controller->heldButtons & ~bit;
    if (pressed && IsKeyboardAcquired()) {
        controller->pressedSince |= bit;
    }
}

void ControllerAxisEvent(int id, PadAxis axis, int value) {
    Controller* controller = Find(id);
    if (!controller) {
        return;
    }
    (axis == PadAxis::LeftX ? controller->stickX : controller->stickY) = value;
}

int GetControllerPlayer(int id) {
    const Controller* controller = Find(id);
    return controller ? controller->player : -1;
}

int GetControllerHorizontal(int playerIndex) {
    for (const Controller& controller : controllers) {
        if (controller.player != playerIndex || playerIndex < kFirstPadPlayer) {
            continue;
        }
        bool left = controller.current & kBitLeft;
        bool right = controller.current & kBitRight;
        if (left && !right) {
            return kJoyLeft;
        }
        if (right && !left) {
            return kJoyRight;
        }
        return kJoyNone;
    }
    return kJoyNone;
}

bool IsControllerButtonPressed(PadButton button) {
    return AnyNewlyDown(BitOf(button));
}

bool IsControllerDirectionEntered(int code) {
    switch (code) {
        case kJoyUp: return AnyNewlyDown(kBitUp);
        case kJoyDown: return AnyNewlyDown(kBitDown);
        case kJoyLeft: return AnyNewlyDown(kBitLeft);
        case kJoyRight: return AnyNewlyDown(kBitRight);
        default: return false;
    }
}

void SampleControllers(bool delivering) {
    for (Controller& controller : controllers) {
        controller.previous = controller.current;
        controller.current = delivering ? Reading(controller) | controller.pressedSince : 0;
        controller.pressedSince = 0;
    }
}

void ResetControllers() {
    controllers.clear();
}
